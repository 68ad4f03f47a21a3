#include "platform/Controls.h"

#include "platform/VirtualKeys.h"

#include "platform/Accelerators.h"
#include "platform/KeyDispatch.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleHints>
#include <QToolTip>

namespace {
TMouseButton ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

Qt::CursorShape ShapeOf(TCursor c)
{
    switch (c) {
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crCross:
        return Qt::CrossCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// Controls painting right now, across the program: a paint at once inside any paint event is unsafe in
// Qt, so it becomes an invalidation then.
int gPaintDepth = 0;

// Leaves the paint state straight also when Paint throws.
struct TPaintScope
{
    TCanvas& Canvas;
    bool& Flag;
    TPaintScope(TCanvas& canvas, QPainter* painter, bool& flag) : Canvas(canvas), Flag(flag)
    {
        Flag = true;
        ++gPaintDepth;
        Canvas.AttachPainter(painter);
    }
    ~TPaintScope()
    {
        Canvas.Detach();
        --gPaintDepth;
        Flag = false;
    }
};
} // namespace

TShiftState TControl::ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TControl::TControl(QWidget* parent) : QWidget(parent)
{
    TAccelerators::Install();
    setAttribute(Qt::WA_Hover, false);
    setAutoFillBackground(false);
    setMouseTracking(true); // mouse moves are reported without a button held, as the platform does
    FCanvas.Font = FFont;
}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, qMax(0, width), qMax(0, height));
}

void TControl::SetEnabled(bool value)
{
    if (FEnabled == value) return;
    FEnabled = value;
    setEnabled(value);
    EnabledChanged();
}

void TControl::SetVisible(bool value)
{
    if (FVisible == value) return;
    FVisible = value;
    setVisible(value);
    VisibleChanged();
}

void TControl::SetCaption(const QString& value)
{
    if (FCaption == value) return;
    FCaption = value;
    TextChanged();
}

void TControl::SetFont(const TFont& value)
{
    if (FFont == value) return;
    FFont = value;
    FontChanged();
}

void TControl::SetColor(TColor value)
{
    if (FColorValue == value) return;
    FColorValue = value;
    ColorChanged();
}

void TControl::SetHint(const QString& value)
{
    FHint = value;
    setToolTip(FShowHint ? FHint : QString());
}

void TControl::SetShowHint(bool value)
{
    FShowHint = value;
    setToolTip(FShowHint ? FHint : QString());
}

void TControl::SetCursor(TCursor value)
{
    FCursor = value;
    if (value == crDefault)
        unsetCursor();
    else
        setCursor(ShapeOf(value));
}

void TControl::Invalidate()
{
    update();
}

void TControl::Repaint()
{
    if (FPainting || gPaintDepth > 0)
        update();
    else
        repaint();
}

bool TControl::DialogChar(QChar)
{
    return false;
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseEnter()
{
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TPaintScope scope(FCanvas, &painter, FPainting);
    Paint();
}

void TControl::mousePressEvent(QMouseEvent* event)
{
    const QPointF global = event->globalPosition();
    const int distance = QGuiApplication::styleHints()->mouseDoubleClickDistance();
    const bool isDouble =
        FLastPressButton == event->button() &&
        event->timestamp() - FLastPressTime < ulong(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
        qAbs(global.x() - FLastPressPos.x()) <= distance && qAbs(global.y() - FLastPressPos.y()) <= distance;
    if (isDouble) {
        FLastPressButton = Qt::NoButton; // a third press starts afresh
        FPressWasDouble = true;
        DoublePress(event, true);
        return;
    }
    FLastPressButton = event->button();
    FLastPressTime = event->timestamp();
    FLastPressPos = global;
    FPressWasDouble = false;
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) FClicked = true;
    FHeld = true;
    MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TControl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    QPointer<TControl> self(this);
    FHeld = false;
    // The platform clicks before it reports the release: a click handler still sees the pressed state.
    if (event->button() == Qt::LeftButton && FClicked) {
        FClicked = false;
        if (rect().contains(pos)) {
            Click();
            if (!self) return;
        }
    }
    MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (FPressWasDouble) {
        FPressWasDouble = false; // already handled at its press
        return;
    }
    DoublePress(event, !FHeld);
}

void TControl::DoublePress(QMouseEvent* event, bool withMouseDown)
{
    const QPoint pos = event->position().toPoint();
    QPointer<TControl> self(this);
    // The release after a double click clicks nothing.
    FClicked = false;
    if (event->button() == Qt::LeftButton) {
        DblClick();
        if (!self) return;
    }
    if (!withMouseDown) return;
    FHeld = true;
    MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()) | ssDouble, pos.x(), pos.y());
}

void TControl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    MouseMove(ShiftOf(event->modifiers(), event->buttons()), pos.x(), pos.y());
}

void TControl::enterEvent(QEnterEvent*)
{
    MouseEnter();
}

void TControl::leaveEvent(QEvent*)
{
    MouseLeave();
}

void TControl::resizeEvent(QResizeEvent*)
{
    Resize();
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(QWidget* parent) : TControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(QWidget* parent) : TControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TCustomControl::SetTabStop(bool value)
{
    FTabStop = value;
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

void TCustomControl::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TCustomControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TCustomControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TCustomControl::KeyDown(uint16_t& key, TShiftState shift)
{
    FireKey(OnKeyDown, this, key, shift);
}

void TCustomControl::KeyUp(uint16_t& key, TShiftState shift)
{
    FireKey(OnKeyUp, this, key, shift);
}

void TCustomControl::KeyPress(QChar& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
}

void TCustomControl::focusInEvent(QFocusEvent* event)
{
    // Switching windows keeps the focus inside the form, as the platform does; but a control that was
    // handed the focus while its window was inactive is entered only now, when the window becomes active.
    const bool windowSwitch = event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (windowSwitch && FEntered) return;
    QPointer<TCustomControl> self(this);
    if (windowSwitch) {
        // Focus moved on while the window was inactive: the control left behind is left first.
        QList<QPointer<TCustomControl>> others;
        for (TCustomControl* other : window()->findChildren<TCustomControl*>())
            others << other;
        for (const QPointer<TCustomControl>& other : others) {
            if (other && other != this && other->FEntered && other->window() == window()) {
                other->FEntered = false;
                other->DoExit();
                if (!self) return;
            }
        }
    }
    FEntered = true;
    DoEnter();
}

void TCustomControl::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    if (!FEntered) return;
    FEntered = false;
    DoExit();
}

void TCustomControl::keyPressEvent(QKeyEvent* event)
{
    QPointer<TCustomControl> self(this);
    uint16_t key = uint16_t(VirtualKeyOf(*event));
    const uint16_t pressed = key;
    KeyDown(key, ShiftOf(event->modifiers(), Qt::NoButton));
    if (!self) {
        event->accept();
        return;
    }
    // Keys the control does not use travel on to its parents (a dialog's Escape, its default button).
    bool handled = WantsKey(pressed) || (pressed != 0 && key == 0) || WantsChars();
    const QString text = event->text();
    const bool isChar = text.size() == 1 && !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier));
    QChar ch = isChar ? text.at(0) : QChar();
    const ushort code = ch.unicode();
    if (isChar && code != 9 && (code >= 32 || code == 8 || code == 13 || code == 27)) {
        KeyPress(ch);
        if (!self) {
            event->accept();
            return;
        }
        if (ch.isNull()) {
            handled = true;
        } else if (!WantsChars() && !TAccelerators::TakesChars(window())) {
            // The character goes to the window's accelerators after the control's own key handling.
            if (TAccelerators::DialogChar(window(), ch) || !self) handled = true;
        }
    }
    event->setAccepted(handled);
}

void TCustomControl::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) return;
    uint16_t key = uint16_t(VirtualKeyOf(*event));
    event->setAccepted(WantsKey(key));
    KeyUp(key, ShiftOf(event->modifiers(), Qt::NoButton));
}
