#pragma once
// A caption inside a filled, outlined shape (rectangle, rounded rectangle, circle, ellipse) that can size
// itself to its caption plus margins.

#include "platform/Controls.h"

namespace BorderLabel {
enum class TBorderShape : uint8_t { bsRectangle, bsRoundRect, bsCircle, bsEllipse };
enum class TTextAlign : uint8_t { taCenter, taLeft, taTop, taBottom, taRight };
} // namespace BorderLabel

class TBorderLabel : public TGraphicControl
{
    Q_OBJECT
public:
    using TBorderShape = BorderLabel::TBorderShape;
    using TTextAlign = BorderLabel::TTextAlign;

    explicit TBorderLabel(QWidget* parent = nullptr);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TBorderShape BorderShape() const { return FBorderShape; }
    void SetBorderShape(TBorderShape value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int MoreHeight() const { return FMoreHeight; }
    void SetMoreHeight(int value);
    int MoreWidth() const { return FMoreWidth; }
    void SetMoreWidth(int value);
    bool MouseIn() const { return FMouseIn; }
    void SetMouseIn(bool value);
    int RoundDegree() const { return FRoundDegree; }
    void SetRoundDegree(int value);
    TTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TTextAlign value);
    int TextOffSetX() const { return FTextOffSetX; }
    void SetTextOffSetX(int value);
    int TextOffSetY() const { return FTextOffSetY; }
    void SetTextOffSetY(int value);

    void Loaded() override;

    // Measured caption size (at least 15 x 10).
    int TextW = 15;
    int TextH = 10;

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void FontChanged() override;
    void TextChanged() override;

private:
    void MeasureText();

    bool FAutoSize = true;
    TColor FBorderColor = 0;
    TBorderShape FBorderShape = TBorderShape::bsRectangle;
    int FBorderWidth = 3;
    TColor FColor = clBtnFace;
    int FMoreHeight = 8;
    int FMoreWidth = 20;
    bool FMouseIn = false;
    int FRoundDegree = 4;
    int FTextOffSetX = 0;
    int FTextOffSetY = 0;
    TTextAlign FTextAlign = TTextAlign::taCenter;
};
