#include "components/EllipBtn.h"

#include <QApplication>
#include <QMouseEvent>

TEllipBtn::TEllipBtn(QWidget* parent) : TCustomControl(parent), FBitmap(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 35, 25);
    FCanvas.Font = Font();
}

TEllipBtn::~TEllipBtn() = default;

void TEllipBtn::CallPaintProc()
{
    if (FUseInvalidate)
        Invalidate();
    else
        Repaint();
}

#define VORNIX_INVALIDATING_SETTER(Name, Type, Field)                                                                  \
    void TEllipBtn::Set##Name(Type v)                                                                                  \
    {                                                                                                                  \
        if (ChangeField(Field, v)) Invalidate();                                                                       \
    }
VORNIX_INVALIDATING_SETTER(AutoBorderColor, bool, FAutoBorderColor)
VORNIX_INVALIDATING_SETTER(BmpOffSetX, int, FBmpOffSetX)
VORNIX_INVALIDATING_SETTER(BmpOffSetY, int, FBmpOffSetY)
VORNIX_INVALIDATING_SETTER(Color, TColor, FColor)
VORNIX_INVALIDATING_SETTER(Down, bool, FDown)
VORNIX_INVALIDATING_SETTER(ShowBitmap, bool, FShowBitmap)
VORNIX_INVALIDATING_SETTER(TopColor, TColor, FTopColor)
VORNIX_INVALIDATING_SETTER(BottomColor, TColor, FBottomColor)
VORNIX_INVALIDATING_SETTER(TextOffSetX, int, FTextOffSetX)
VORNIX_INVALIDATING_SETTER(TextAlign, TTextAlign, FTextAlign)
#undef VORNIX_INVALIDATING_SETTER

void TEllipBtn::SetFocusedColor(TColor v)
{
    if (ChangeField(FFocusedColor, v) && Enabled()) Invalidate();
}

void TEllipBtn::SetRoundDegree(int v)
{
    if (ChangeField(FRoundDegree, v) && FBtnShape == TBtnShape::bsRoundRect) Invalidate();
}

void TEllipBtn::SetBtnShape(TBtnShape v)
{
    if (ChangeField(FBtnShape, v)) Invalidate(); // the platform recreates the window, which repaints it
}

void TEllipBtn::SetBitmap(TBitmap* v)
{
    if (v == FBitmap.get()) return;
    FBitmap->Assign(v);
    FBitmap->Dormant();
    Invalidate();
}

void TEllipBtn::SetMouseIn(bool v)
{
    if (!Designing()) FMouseIn = v;
}

bool TEllipBtn::IsAccel(QChar ch) const
{
    return ::IsAccel(ch, Caption());
}

bool TEllipBtn::TakeFocusForPress()
{
    if (Designing()) return true;
    QPointer<TEllipBtn> self(this);
    if (!hasFocus()) SetFocus();
    // The focus counts once it is this button's within its window, also while the window is not yet active.
    return self && (hasFocus() || window()->focusWidget() == this);
}

void TEllipBtn::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QPointer<TEllipBtn> self(this);
        const bool focused = TakeFocusForPress();
        if (!self || !focused) return;
    }
    TCustomControl::mousePressEvent(event);
}

void TEllipBtn::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QPointer<TEllipBtn> self(this);
        const bool focused = TakeFocusForPress();
        if (!self || !focused) return;
    }
    TCustomControl::mouseDoubleClickEvent(event);
}

void TEllipBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TEllipBtn> self(this);
    TCustomControl::MouseDown(button, shift, x, y);
    if (!self || !Enabled()) return;
    if (!Designing() && !hasFocus()) {
        SetFocus();
        if (!self) return;
    }
    FBtnDowned = true;
    CallPaintProc();
}

void TEllipBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TEllipBtn> self(this);
    TCustomControl::MouseUp(button, shift, x, y);
    if (!self || !Enabled()) return;
    FBtnDowned = false;
    CallPaintProc();
}

void TEllipBtn::DblClick()
{
    QPointer<TEllipBtn> self(this);
    TCustomControl::DblClick();
    if (self) Click();
}

void TEllipBtn::DoEnter()
{
    FFocused = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TEllipBtn::DoExit()
{
    FFocused = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TEllipBtn::MouseEnter()
{
    if (!Designing()) FMouseIn = true;
    if (OnMouseEnter) OnMouseEnter(this);
}

void TEllipBtn::MouseLeave()
{
    if (!Designing()) FMouseIn = false;
    if (OnMouseLeave) OnMouseLeave(this);
}

void TEllipBtn::KeyDown(uint16_t& key, TShiftState shift)
{
    QPointer<TEllipBtn> self(this);
    TCustomControl::KeyDown(key, shift);
    if (!self) return;
    // Held Space repeats the press; it is ignored while the button is down.
    if (Enabled() && FFocused && key == 32 && !FBtnDowned) {
        FBtnDowned = true;
        Invalidate();
    }
}

void TEllipBtn::KeyUp(uint16_t& key, TShiftState shift)
{
    QPointer<TEllipBtn> self(this);
    TCustomControl::KeyUp(key, shift);
    if (!self) return;
    if (Enabled() && FFocused && key == 32 && FBtnDowned) {
        FBtnDowned = false;
        Click();
        if (self) Invalidate();
    }
}

bool TEllipBtn::DialogChar(QChar ch)
{
    if ((IsAccel(ch) && Enabled() && Visible()) || (ch.unicode() == 13 && FFocused)) {
        Click();
        return true;
    }
    return false;
}

void TEllipBtn::EnabledChanged()
{
    if (!Enabled() && FFocused) FFocused = false;
    FDown = false;
    FBtnDowned = false;
    Invalidate();
}

void TEllipBtn::FontChanged()
{
    FCanvas.Font = Font();
    Invalidate();
}

void TEllipBtn::Paint()
{
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    c->Brush.Style = bsSolid;
    QPointer<TEllipBtn> self(this);
    if (OnPrevDrawBtnFace) {
        OnPrevDrawBtnFace(this, c);
        if (!self) return;
    }
    const bool pressed = Pressed(), enabled = Enabled();
    TColor first, second;
    if (FAutoBorderColor) {
        first = pressed && enabled ? Darker(FColor) : Lighter(FColor);
        second = pressed && enabled ? Lighter(FColor) : Darker(FColor);
    } else {
        first = pressed && enabled ? FBottomColor : FTopColor;
        second = pressed && enabled ? FTopColor : FBottomColor;
    }
    c->Brush.Style = bsSolid;
    c->Brush.Color = FFocused ? FFocusedColor : FColor;
    c->Pen.Style = psSolid;
    c->Pen.Width = 1;
    c->Pen.Color = c->Brush.Color;

    switch (FBtnShape) {
    case TBtnShape::bsEllipse:
        c->Ellipse(0, 0, w, h);
        break;
    case TBtnShape::bsRoundRect:
        c->Ellipse(0, 0, h, h);
        c->Ellipse(w - h, 0, w, h);
        break;
    case TBtnShape::bsRectangle:
        c->Rectangle(0, 0, w, h);
        c->Pen.Color = first;
        c->MoveTo(0, h);
        c->LineTo(0, 0);
        c->LineTo(w, 0);
        c->Pen.Color = second;
        c->MoveTo(w - 1, 0);
        c->LineTo(w - 1, h - 1);
        c->LineTo(0, h - 1);
        break;
    }

    c->Pen.Color = second;
    if (FBtnShape == TBtnShape::bsRoundRect) {
        c->Pen.Color = first;
        c->Arc(w, h, w - h, 0, w, 0, w - h, h);
        c->Pen.Color = second;
        c->Arc(w, h, w - h, 0, w - h, h, w, 0);
        c->MoveTo(h / 2, h - 1);
        c->LineTo(w - h / 2, h - 1);
    } else if (FBtnShape == TBtnShape::bsEllipse) {
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
        c->Rectangle(h / 2, 1, w - h / 2 + 1, h - 1);
    } else if (FBtnShape == TBtnShape::bsEllipse) {
        c->Arc(0, 0, w, h, w, 0, 0, h);
    }

    if (FFocused && FDrawFocus) {
        c->Pen.Width = 1;
        c->Brush.Style = bsClear;
        c->Pen.Style = psDot;
        c->Pen.Color = c->Font.Color;
        switch (FBtnShape) {
        case TBtnShape::bsRectangle:
            c->Rectangle(2, 2, w - 2, h - 2);
            break;
        case TBtnShape::bsRoundRect:
            c->Arc(2, 2, h - 2, h - 2, h / 2, 0, h / 2, h);
            c->Arc(w - 2, h - 2, w - h - 2, 2, w - h / 2, h, w - h / 2, 0);
            c->MoveTo(h / 2, 2);
            c->LineTo(w - h / 2, 2);
            c->MoveTo(h / 2, h - 3);
            c->LineTo(w - h / 2, h - 3);
            break;
        case TBtnShape::bsEllipse:
            c->Ellipse(2, 2, w - 2, h - 2);
            break;
        }
        c->Pen.Style = psSolid;
    }

    int bitmapLeft = 0;
    if (FShowBitmap) bitmapLeft = (w - FBitmap->Width()) / 2;
    if (!Caption().isEmpty()) bitmapLeft = FBtnShape == TBtnShape::bsRectangle ? 3 : h / 2;

    QString text = Caption();
    const int accel = StripAccel(text);
    const int tw = TextWidthOf(c->Handle(), text), th = TextHeightOf(c->Handle(), text);
    c->Brush.Style = bsClear;
    int x = 2;
    if (FTextAlign == TTextAlign::taCenter)
        x = w - tw > 0 ? (w - tw) / 2 : 2;
    else if (FTextAlign == TTextAlign::taRight)
        x = w - tw - 3;
    if (FShowBitmap) {
        const int r = bitmapLeft + FBmpOffSetX + FBitmap->Width() + 5;
        if (FTextAlign == TTextAlign::taLeft || x < r) x += r;
    }
    x += FTextOffSetX;
    const int y = h - th > 0 ? (h - th) / 2 : 2;
    // Caption first, then the picture over it, then the underline.
    DrawButtonText(c, x, y, text, enabled);
    if (FShowBitmap) {
        FBitmap->Transparent = true;
        FBitmap->TransparentMode = tmAuto;
        c->Draw(bitmapLeft + FBmpOffSetX, (h - FBitmap->Height()) / 2 + FBmpOffSetY, FBitmap.get());
    }
    DrawAccelUnderline(c, x, y, text, accel, enabled);
}
