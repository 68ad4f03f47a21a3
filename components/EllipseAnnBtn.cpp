#include "components/EllipseAnnBtn.h"

#include <QIcon>

TEllipseAnnBtn::TEllipseAnnBtn(QWidget* parent) : TGraphicControl(parent)
{
    SetBounds(Left(), Top(), 50, 25);
    FCanvas.Font = Font();
}

void TEllipseAnnBtn::CallPaintProc()
{
    if (FUseInvalidate)
        Invalidate();
    else
        Repaint();
}

#define VORNIX_REPAINTING_SETTER(Name, Type, Field)                                                                    \
    void TEllipseAnnBtn::Set##Name(Type v)                                                                             \
    {                                                                                                                  \
        if (ChangeField(Field, v)) CallPaintProc();                                                                    \
    }
VORNIX_REPAINTING_SETTER(AutoBorderColor, bool, FAutoBorderColor)
VORNIX_REPAINTING_SETTER(BmpOffSetX, int, FBmpOffSetX)
VORNIX_REPAINTING_SETTER(BmpOffSetY, int, FBmpOffSetY)
VORNIX_REPAINTING_SETTER(IconWidth, int, FIconWidth)
VORNIX_REPAINTING_SETTER(IconHeight, int, FIconHeight)
VORNIX_REPAINTING_SETTER(DrawBorder, bool, FDrawBorder)
VORNIX_REPAINTING_SETTER(TextOffSetX, int, FTextOffSetX)
VORNIX_REPAINTING_SETTER(TextOffSetY, int, FTextOffSetY)
VORNIX_REPAINTING_SETTER(Color, TColor, FColor)
VORNIX_REPAINTING_SETTER(Down, bool, FDown)
VORNIX_REPAINTING_SETTER(Special, bool, FSpecial)
VORNIX_REPAINTING_SETTER(IconHandle, TIconHandle, FIconHandle)
VORNIX_REPAINTING_SETTER(DisabledIconHandle, TIconHandle, FDisabledIconHandle)
VORNIX_REPAINTING_SETTER(TopColor, TColor, FTopColor)
VORNIX_REPAINTING_SETTER(TransParent, bool, FTransParent)
VORNIX_REPAINTING_SETTER(BottomColor, TColor, FBottomColor)
VORNIX_REPAINTING_SETTER(BtnShape, TBtnShape, FBtnShape)
VORNIX_REPAINTING_SETTER(TextAlign, TTextAlign, FTextAlign)
#undef VORNIX_REPAINTING_SETTER

void TEllipseAnnBtn::SetMouseIn(bool v)
{
    if (!Designing()) FMouseIn = v;
}

bool TEllipseAnnBtn::IsAccel(QChar ch) const
{
    return ::IsAccel(ch, Caption());
}

void TEllipseAnnBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TEllipseAnnBtn> self(this);
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!self || !Enabled()) return;
    FBtnDowned = true;
    CallPaintProc();
}

void TEllipseAnnBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TEllipseAnnBtn> self(this);
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!self || !Enabled()) return;
    FBtnDowned = false;
    CallPaintProc();
}

void TEllipseAnnBtn::Click()
{
    QPointer<TEllipseAnnBtn> self(this);
    TGraphicControl::Click();
    if (!self) return;
    // After a mouse click the button shows its not-hovered look until the mouse enters again.
    if (FBtnDowned) FMouseIn = false;
}

void TEllipseAnnBtn::DblClick()
{
    QPointer<TEllipseAnnBtn> self(this);
    TGraphicControl::DblClick();
    if (self) Click();
}

bool TEllipseAnnBtn::DialogChar(QChar ch)
{
    if (IsAccel(ch) && Enabled() && Visible()) {
        Click();
        return true;
    }
    return false;
}

void TEllipseAnnBtn::MouseEnter()
{
    if (Designing()) return;
    FMouseIn = true;
    if (FRespondToMouse) CallPaintProc();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TEllipseAnnBtn::MouseLeave()
{
    if (Designing()) return;
    FMouseIn = false;
    if (FRespondToMouse) CallPaintProc();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TEllipseAnnBtn::EnabledChanged()
{
    FDown = false;
    FBtnDowned = false;
    CallPaintProc();
}

void TEllipseAnnBtn::FontChanged()
{
    FCanvas.Font = Font();
    CallPaintProc();
}

int TEllipseAnnBtn::Inset() const
{
    if (!Active()) return 0;
    return FBtnShape == TBtnShape::bsEllipse ? 2 : 1;
}

int TEllipseAnnBtn::IconLeft() const
{
    int left = 0;
    if (FIconHandle) left = (Width() - FIconWidth) / 2;
    if (!Caption().isEmpty()) left = FBtnShape == TBtnShape::bsRectangle ? 3 : Height() / 2;
    return left;
}

TPoint TEllipseAnnBtn::CaptionPos(int textW, int textH, int iconLeft, int inset) const
{
    const int column = int(FTextAlign) % 3; // 0 left, 1 centre, 2 right
    const int row = int(FTextAlign) / 3;    // 0 middle, 1 top, 2 bottom
    int x = 2;
    if (column == 1)
        x = Width() - textW > 0 ? (Width() - textW) / 2 : 2;
    else if (column == 2)
        x = Width() - textW - 3;
    if (FIconHandle) {
        const int r = iconLeft + FBmpOffSetX + FIconWidth + 5;
        if (column == 0 || x < r) x += r;
    }
    x += FTextOffSetX;
    const int room = Height() - textH - 2 * inset;
    int y = room > 0 ? room / 2 : inset + 2;
    if (room > 0 && row == 2)
        y = Height() - textH - inset - 1;
    else if (room > 0 && row == 1)
        y = inset + 1;
    y += FTextOffSetY;
    return Point(x, y);
}

TPoint TEllipseAnnBtn::GetCaptionPos()
{
    HDC dc = Canvas()->Handle();
    const QString text = Caption();
    return CaptionPos(TextWidthOf(dc, text), TextHeightOf(dc, text), IconLeft(), Inset());
}

void TEllipseAnnBtn::DrawIcon(int iconLeft)
{
    if (!FIconHandle) return;
    const QIcon* icon = (!Enabled() && FDisabledIconHandle) ? FDisabledIconHandle : FIconHandle;
    if (icon->isNull() || FIconWidth <= 0 || FIconHeight <= 0) return;
    const QImage image = icon->pixmap(QSize(FIconWidth, FIconHeight)).toImage();
    const int x = iconLeft + FBmpOffSetX, y = (Height() - FIconHeight) / 2 + FBmpOffSetY;
    Canvas()->DrawImage(Bounds(x, y, FIconWidth, FIconHeight), image);
}

void TEllipseAnnBtn::PaintProc()
{
    if (!Visible()) return;
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    QPointer<TEllipseAnnBtn> self(this);
    if (OnPrevDrawBtnFace) {
        OnPrevDrawBtnFace(this, c);
        if (!self) return;
    }
    const bool pressed = Pressed();
    const bool enabled = Enabled();
    TColor first, second;
    if (FAutoBorderColor) {
        first = pressed && enabled ? Darker(FColor) : Lighter(FColor);
        second = pressed && enabled ? Lighter(FColor) : Darker(FColor);
    } else {
        first = pressed && enabled ? FBottomColor : FTopColor;
        second = pressed && enabled ? FTopColor : FBottomColor;
    }
    c->Brush.Style = bsSolid;
    c->Brush.Color = FColor;
    const bool active = Active();
    const bool flat = !FDrawBorder || !active;
    const int inset = Inset();
    const bool edges = !flat || Designing();
    if (!pressed && FMouseIn && FRespondToMouse) {
        if (FDrawFrameWhenMouseIn) {
            first = FTopColor;
            second = FBottomColor;
        } else {
            first = second = FMouseInColor;
        }
    }
    if (FRespondToMouse && !enabled) first = second = FColor;
    c->Pen.Style = psSolid;
    c->Pen.Width = 1;
    c->Pen.Color = FColor;
    if (FTransParent) c->Brush.Style = bsClear;

    switch (FBtnShape) {
    case TBtnShape::bsEllipse:
        if (FFillBrush) c->Ellipse(0, 0, w, h);
        break;
    case TBtnShape::bsRoundRect:
        if (FFillBrush) {
            c->Rectangle(h / 2 + 1, 0, w - (h - 2) / 2 - 1, h);
            c->Ellipse(0, 0, h, h);
            c->Ellipse(w - h, 0, w, h);
        }
        break;
    case TBtnShape::bsRectangle:
        if (FFillBrush) c->Rectangle(0, 0, w, h);
        if (edges) {
            c->Pen.Color = first;
            c->MoveTo(0, h);
            c->LineTo(0, 0);
            c->LineTo(w, 0);
            c->Pen.Color = second;
            c->MoveTo(w - 1, 0);
            c->LineTo(w - 1, h - inset);
            c->LineTo(0, h - inset);
        }
        break;
    }

    if (edges && FBtnShape != TBtnShape::bsRectangle) {
        c->Pen.Color = second;
        if (FBtnShape == TBtnShape::bsRoundRect) {
            // Right end: its upper-left half in the first colour, its lower-right half in the second.
            c->Pen.Color = first;
            c->Arc(w, h, w - h, 0, w, 0, w - h, h);
            c->Pen.Color = second;
            c->Arc(w, h, w - h, 0, w - h, h, w, 0);
            c->MoveTo(h / 2, h - 1);
            c->LineTo(w - h / 2, h - 1);
        } else {
            c->Arc(0, 0, w, h, 0, h, w, 0);
        }
        c->Pen.Color = first;
        if (FBtnShape == TBtnShape::bsRoundRect) {
            c->Pen.Color = second;
            c->Arc(0, 0, h, h, 0, h, h, 0);
            c->Pen.Color = first;
            c->Arc(0, 0, h, h, h, 0, 0, h);
            c->MoveTo(h / 2, 0);
            c->LineTo(w - h / 2, 0);
            c->Pen.Color = c->Brush.Color;
            c->Arc(1, 1, h - 2, h - 1, h / 2, 0, h / 2, h);
            c->Arc(w - 1, h - 1, w - h - 2, 1, w - h / 2, h, w - h / 2, 1);
            // The middle of the pill over the inner halves of the end arcs.
            c->Rectangle(h / 2, 1, w - h / 2 + 1, h - 1);
        } else {
            c->Arc(0, 0, w, h, w, 0, 0, h);
        }
    }

    const int iconLeft = IconLeft();
    DrawIcon(iconLeft);

    QString text = Caption();
    if (OnGetDisplayText) {
        OnGetDisplayText(this, Caption(), text);
        if (!self) return;
    }
    const int accel = StripAccel(text);
    const int tw = TextWidthOf(c->Handle(), text), th = TextHeightOf(c->Handle(), text);
    c->Brush.Style = bsClear;
    const TPoint pos = CaptionPos(tw, th, iconLeft, inset);
    DrawButtonCaption(c, pos.X, pos.Y, text, accel, enabled);

    if (OnDrawBtnFace) OnDrawBtnFace(this, c);
}
