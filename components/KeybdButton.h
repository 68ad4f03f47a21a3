#pragma once
// One key cap of the on-screen keyboard: a bevelled rim, a rounded face and a caption. It takes no input;
// the practice window recolours caps from code.

#include "platform/Controls.h"

#include <QImage>
#include <array>

namespace KeybdButton {
enum class TAlignment : uint8_t { alMiddleCenter, alBottomCenter, alBottomRight };
enum class TButtonBevel : uint8_t { bbLowered, bbNone, bbRaised };
} // namespace KeybdButton

class TKeybdButton : public TGraphicControl
{
    Q_OBJECT
public:
    using TAlignment = KeybdButton::TAlignment;
    using TButtonBevel = KeybdButton::TButtonBevel;

    explicit TKeybdButton(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int BevelSize() const { return FBevelSize; }
    void SetBevelSize(int value);
    TButtonBevel BevelStyle() const { return FBevelStyle; }
    void SetBevelStyle(TButtonBevel value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor BevelBasicColor() const { return FBevelBasicColor; }
    void SetBevelBasicColor(TColor value);
    int RoundDegree() const { return FRoundDegree; }
    void SetRoundDegree(int value);
    TColor HighLightColor() const { return FHighLightColor; }
    TColor ShadowColor() const { return FShadowColor; }

    // Per channel (b * (100 - p) + a * p) div 100; p outside 0..100 counts as 50.
    static TColor GetBlendedColor(TColor aColor, TColor bColor, int aColorPercent);

    // A cap with a rim covers all its pixels, so its look is kept per state and copied on the next paint.
    // Off draws every paint afresh (to compare the two).
    static bool CacheLooks;
    // How many looks this cap keeps now.
    int KeptLooks() const;

protected:
    void Paint() override;
    void TextChanged() override { Repaint(); }
    void FontChanged() override { Repaint(); }

private:
    struct TLookKey
    {
        int W = 0, H = 0, Scale = 0;
        QImage::Format Format = QImage::Format_Invalid;
        TColor Color = 0, HighLight = 0, Shadow = 0, FontColor = 0;
        int BevelSize = 0, RoundDegree = 0;
        TButtonBevel BevelStyle = TButtonBevel::bbNone;
        TAlignment Alignment = TAlignment::alMiddleCenter;
        TFont Font;
        QString Caption;
        bool operator==(const TLookKey& o) const;
    };
    struct TLook
    {
        TLookKey Key;
        QImage Image;
    };
    void PaintLook(TCanvas* c);
    bool PaintCachedLook(TCanvas* c);

    // The last few looks: a cap mostly shows neutral, lit or lowered.
    std::array<TLook, 4> FLooks;
    int FNextLook = 0;

    TAlignment FAlignment = TAlignment::alMiddleCenter;
    TButtonBevel FBevelStyle = TButtonBevel::bbRaised;
    int FBevelSize = 2;
    TColor FHighLightColor = 0xFFFFFF;
    TColor FShadowColor = 0xA8A3A1;
    TColor FColor = 0xC0C0C0;
    TColor FBevelBasicColor = 0xE8E3E1;
    int FRoundDegree = 5;
};

// Draws width nested one-pixel frames inward from r: top and left edges in topColor, right and bottom in
// bottomColor (the class library's three-dimensional frame).
void Frame3D(TCanvas* canvas, TRect r, TColor topColor, TColor bottomColor, int width);
