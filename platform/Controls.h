#pragma once
// Base classes for owner-drawn controls in the shape of the class library's TGraphicControl and
// TCustomControl, over QWidget.
//
// - TGraphicControl: a child widget that never takes the focus and does not fill its background, so the
//   parent shows wherever Paint draws nothing.
// - TCustomControl: the same with a window of its own: it can take the focus and gets keys.
// - Invalidate() is update(); Repaint() paints at once (repaint(), or update() while already painting).
//   Canvas() is valid inside Paint(); outside it the canvas still measures text in Font.
// - Mouse order as the platform delivers it: press -> MouseDown (OnMouseDown); left release over the control
//   after a left press -> Click (OnClick) and then MouseUp (OnMouseUp), so a click handler still sees the
//   pressed state; a double click -> DblClick (OnDblClick) then MouseDown, and its release clicks nothing.
//   A handler may close or delete the form: the control checks that it still exists after every event it
//   fires and touches nothing when it is gone.
// - Keys (TCustomControl): KeyDown/KeyUp get the platform's virtual-key code; auto-repeat releases are not
//   reported (only the repeated presses).
// - DialogChar: the accelerator dispatcher (Accelerators.h) offers typed characters to every control of the
//   window; a control that answers true has handled it.

#include "platform/Events.h"
#include "platform/Graphics.h"

#include <QPointer>
#include <QWidget>
#include <functional>

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state as a bit set.
enum TShiftStateFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

enum TCursor { crDefault, crArrow, crHandPoint, crIBeam, crCross, crHourGlass };

using TMouseEvent = std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(QObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;

class TControl : public QWidget
{
    Q_OBJECT
public:
    explicit TControl(QWidget* parent = nullptr);
    ~TControl() override;

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect ClientRect() const { return Rect(0, 0, Width(), Height()); }

    // The control's own flags (not whether a parent hides or disables it).
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);

    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& value);

    TColor Color() const { return FColorValue; }
    void SetColor(TColor value);

    QString Hint() const { return FHint; }
    void SetHint(const QString& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    int Tag = 0;

    // Design time never happens in the program; tests switch it on to check design-time rules.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value) { FDesigning = value; }

    TCanvas* Canvas() { return &FCanvas; }
    // The shift state of an input event.
    static TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
    void Invalidate();
    void Repaint();
    bool Painting() const { return FPainting; }

    // Called by the code that built the control from its form table, after all properties are set.
    virtual void Loaded() {}

    // An accelerator character offered by the window; true when handled.
    virtual bool DialogChar(QChar ch);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    // Fire the events in the class library's order (public so owners can click a control from code).
    virtual void Click();
    virtual void DblClick();

protected:
    virtual void Paint() {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // The mouse-enter and mouse-leave notifications; the defaults fire OnMouseEnter / OnMouseLeave.
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Notifications after a property changed (each fired only on a real change).
    virtual void EnabledChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void VisibleChanged() {}
    // After the size changed; the default fires OnResize.
    virtual void Resize();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    TCanvas FCanvas;

private:
    bool FEnabled = true;
    bool FVisible = true;
    bool FDesigning = false;
    bool FPainting = false;
    bool FClicked = false; // a left press started here; its release may click
    bool FHeld = false;    // a press reached MouseDown and its release has not come yet
    // The platform turns the second press of a double click into the double-click message; Qt sends the
    // press and then a double-click event. The press is recognised by Qt's own rule and handled as the
    // double click; the event that follows is then dropped.
    void DoublePress(QMouseEvent* event, bool withMouseDown);
    ulong FLastPressTime = 0;
    Qt::MouseButton FLastPressButton = Qt::NoButton;
    QPointF FLastPressPos;
    bool FPressWasDouble = false;
    QString FCaption;
    TFont FFont;
    TColor FColorValue = clBtnFace;
    QString FHint;
    bool FShowHint = false;
    TCursor FCursor = crDefault;
};

class TGraphicControl : public TControl
{
    Q_OBJECT
public:
    explicit TGraphicControl(QWidget* parent = nullptr);
};

class TCustomControl : public TControl
{
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* parent = nullptr);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    bool Focused() const { return hasFocus(); }
    // Takes the keyboard focus (the platform's SetFocus on the control's window).
    void SetFocus();
    // Whether the control takes typed characters itself (then plain letters are not accelerators).
    virtual bool WantsChars() const { return false; }
    // Whether the control uses this key itself; other keys go on to its parents (a dialog's Escape).
    virtual bool WantsKey(uint16_t key) const
    {
        Q_UNUSED(key);
        return false;
    }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(QChar& key);

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool FTabStop = false;
    bool FEntered = false; // DoEnter ran and DoExit has not yet
};
