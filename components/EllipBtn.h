#pragma once
// The focusable sibling of TEllipseAnnBtn: a button with a window of its own that takes the keyboard
// focus, shows it with its own face colour and an optional dotted outline, and is worked by the mouse, by
// Space, by Enter while focused and by its accelerator.

#include "components/ControlUtils.h"
#include "platform/Controls.h"

#include <functional>
#include <memory>

namespace EllipBtn {
enum class TBtnShape : uint8_t { bsRectangle, bsRoundRect, bsEllipse };
enum class TTextAlign : uint8_t { taLeft, taCenter, taRight };
using TDrawBtnFaceEvent = std::function<void(QObject* Sender, TCanvas* ACanvas)>;
} // namespace EllipBtn

class TEllipBtn : public TCustomControl
{
    Q_OBJECT
public:
    using TBtnShape = EllipBtn::TBtnShape;
    using TTextAlign = EllipBtn::TTextAlign;
    using TDrawBtnFaceEvent = EllipBtn::TDrawBtnFaceEvent;

    explicit TEllipBtn(QWidget* parent = nullptr);
    ~TEllipBtn() override;

    // Pressed right now by the mouse or by Space.
    bool FBtnDowned = false;
    // Has the input focus (set on entering, cleared on leaving and when disabled).
    bool FFocused = false;

    void CallPaintProc();
    bool IsAccel(QChar ch) const;
    void Loaded() override { Invalidate(); }
    void DblClick() override;
    bool DialogChar(QChar ch) override;

    bool AutoBorderColor() const { return FAutoBorderColor; }
    void SetAutoBorderColor(bool v);
    int BmpOffSetX() const { return FBmpOffSetX; }
    void SetBmpOffSetX(int v);
    int BmpOffSetY() const { return FBmpOffSetY; }
    void SetBmpOffSetY(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool DrawFocus() const { return FDrawFocus; }
    void SetDrawFocus(bool v) { FDrawFocus = v; }
    TColor FocusedColor() const { return FFocusedColor; }
    void SetFocusedColor(TColor v);
    bool ShowBitmap() const { return FShowBitmap; }
    void SetShowBitmap(bool v);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    // Copies the picture into the button's own bitmap; the caller keeps its object (null empties).
    void SetBitmap(TBitmap* v);
    bool MouseIn() const { return FMouseIn; }
    void SetMouseIn(bool v);
    TColor TopColor() const { return FTopColor; }
    void SetTopColor(TColor v);
    TColor BottomColor() const { return FBottomColor; }
    void SetBottomColor(TColor v);
    int RoundDegree() const { return FRoundDegree; }
    void SetRoundDegree(int v);
    TBtnShape BtnShape() const { return FBtnShape; }
    void SetBtnShape(TBtnShape v);
    int TextOffSetX() const { return FTextOffSetX; }
    void SetTextOffSetX(int v);
    TTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TTextAlign v);
    bool UseInvalidate() const { return FUseInvalidate; }
    void SetUseInvalidate(bool v) { FUseInvalidate = v; }

    TDrawBtnFaceEvent OnPrevDrawBtnFace;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    bool WantsKey(uint16_t key) const override { return key == 32; }
    void EnabledChanged() override;
    void FontChanged() override;
    void TextChanged() override { Invalidate(); }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool Pressed() const { return FDown || FBtnDowned; }
    // A left press first takes the focus; false when it could not (the press is then dropped).
    bool TakeFocusForPress();

    bool FDown = false;
    TColor FColor = 0xE0E0E0;
    TColor FFocusedColor = clLime;
    std::unique_ptr<TBitmap> FBitmap;
    int FBmpOffSetX = 0;
    int FBmpOffSetY = 0;
    int FTextOffSetX = 0;
    bool FDrawFocus = false;
    bool FAutoBorderColor = true;
    TColor FTopColor = 0xFFFFFF;
    TColor FBottomColor = 0;
    bool FMouseIn = false;
    bool FShowBitmap = false;
    int FRoundDegree = 8;
    TBtnShape FBtnShape = TBtnShape::bsEllipse;
    TTextAlign FTextAlign = TTextAlign::taCenter;
    bool FUseInvalidate = false;
};
