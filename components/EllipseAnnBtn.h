#pragma once
// The push button of every window: a rectangle, pill or ellipse with a 3-D edge, an optional icon and a
// caption with an accelerator underline. It never takes the focus. Owners paint picture faces underneath
// (OnPrevDrawBtnFace) or on top (OnDrawBtnFace) and read FBtnDowned and MouseIn to choose them.

#include "components/ControlUtils.h"
#include "platform/Controls.h"

#include <functional>

class TEllipseAnnBtn;

namespace EllipseAnnBtn {
enum class TBtnShape : uint8_t { bsRectangle, bsRoundRect, bsEllipse };
// 0..2 centred vertically, 3..5 at the top, 6..8 at the bottom; left, centre, right within each.
enum class TTextAlign : uint8_t {
    taLeft,
    taCenter,
    taRight,
    taTopLeft,
    taTopCenter,
    taTopRight,
    taBottomLeft,
    taBottomCenter,
    taBottomRight
};
using TDrawBtnFaceEvent = std::function<void(QObject* Sender, TCanvas* ACanvas)>;
} // namespace EllipseAnnBtn

using TGetDisplayTextEvent =
    std::function<void(QObject* Sender, const QString& DefaultCaption, QString& DisplayCaption)>;

class TEllipseAnnBtn : public TGraphicControl
{
    Q_OBJECT
public:
    using TBtnShape = EllipseAnnBtn::TBtnShape;
    using TTextAlign = EllipseAnnBtn::TTextAlign;
    using TDrawBtnFaceEvent = EllipseAnnBtn::TDrawBtnFaceEvent;

    explicit TEllipseAnnBtn(QWidget* parent = nullptr);

    // Pressed by the mouse right now; owner code reads it.
    bool FBtnDowned = false;

    void CallPaintProc();
    TPoint GetCaptionPos();
    bool IsAccel(QChar ch) const;
    void Loaded() override { CallPaintProc(); }
    void Click() override;
    void DblClick() override;
    bool DialogChar(QChar ch) override;

    bool AutoBorderColor() const { return FAutoBorderColor; }
    void SetAutoBorderColor(bool v);
    int BmpOffSetX() const { return FBmpOffSetX; }
    void SetBmpOffSetX(int v);
    int BmpOffSetY() const { return FBmpOffSetY; }
    void SetBmpOffSetY(int v);
    int IconWidth() const { return FIconWidth; }
    void SetIconWidth(int v);
    int IconHeight() const { return FIconHeight; }
    void SetIconHeight(int v);
    bool DrawBorder() const { return FDrawBorder; }
    void SetDrawBorder(bool v);
    bool FillBrush() const { return FFillBrush; }
    void SetFillBrush(bool v) { FFillBrush = v; }
    int TextOffSetX() const { return FTextOffSetX; }
    void SetTextOffSetX(int v);
    int TextOffSetY() const { return FTextOffSetY; }
    void SetTextOffSetY(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool DrawFrameWhenMouseIn() const { return FDrawFrameWhenMouseIn; }
    void SetDrawFrameWhenMouseIn(bool v) { FDrawFrameWhenMouseIn = v; }
    bool Special() const { return FSpecial; }
    void SetSpecial(bool v);
    TIconHandle IconHandle() const { return FIconHandle; }
    void SetIconHandle(TIconHandle v);
    TIconHandle DisabledIconHandle() const { return FDisabledIconHandle; }
    void SetDisabledIconHandle(TIconHandle v);
    bool MouseIn() const { return FMouseIn; }
    void SetMouseIn(bool v);
    TColor MouseInColor() const { return FMouseInColor; }
    void SetMouseInColor(TColor v) { FMouseInColor = v; }
    TColor TopColor() const { return FTopColor; }
    void SetTopColor(TColor v);
    bool TransParent() const { return FTransParent; }
    void SetTransParent(bool v);
    TColor BottomColor() const { return FBottomColor; }
    void SetBottomColor(TColor v);
    TBtnShape BtnShape() const { return FBtnShape; }
    void SetBtnShape(TBtnShape v);
    bool RespondToMouse() const { return FRespondToMouse; }
    void SetRespondToMouse(bool v) { FRespondToMouse = v; }
    TTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TTextAlign v);
    bool UseInvalidate() const { return FUseInvalidate; }
    void SetUseInvalidate(bool v) { FUseInvalidate = v; }

    TDrawBtnFaceEvent OnPrevDrawBtnFace;
    TDrawBtnFaceEvent OnDrawBtnFace;
    TGetDisplayTextEvent OnGetDisplayText;

protected:
    void Paint() override { PaintProc(); }
    void PaintProc();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void TextChanged() override { CallPaintProc(); }

private:
    bool Pressed() const { return FDown || FBtnDowned; }
    bool Active() const { return Pressed() || !FRespondToMouse || FMouseIn || Designing(); }
    int Inset() const;
    int IconLeft() const;
    TPoint CaptionPos(int textW, int textH, int iconLeft, int inset) const;
    void DrawIcon(int iconLeft);

    bool FDown = false;
    TColor FColor = 0xE0E0E0;
    TColor FMouseInColor = 0xFFFFFF;
    int FBmpOffSetX = 0;
    int FBmpOffSetY = 0;
    int FIconWidth = 16;
    int FIconHeight = 16;
    int FTextOffSetX = 0;
    int FTextOffSetY = 0;
    TIconHandle FIconHandle = nullptr;
    TIconHandle FDisabledIconHandle = nullptr;
    bool FAutoBorderColor = true;
    bool FTransParent = false;
    TColor FTopColor = 0xFFFFFF;
    TColor FBottomColor = 0;
    bool FMouseIn = false;
    TBtnShape FBtnShape = TBtnShape::bsEllipse;
    bool FFillBrush = true;
    bool FRespondToMouse = false;
    bool FDrawFrameWhenMouseIn = false;
    TTextAlign FTextAlign = TTextAlign::taCenter;
    bool FUseInvalidate = true;
    bool FDrawBorder = true;
    bool FSpecial = false;
};
