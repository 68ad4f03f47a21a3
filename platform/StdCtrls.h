#pragma once
// The standard controls of the dialogs: check box, radio group, group box, bevel, push button and spin
// edit. They draw themselves on their canvas in the platform's classic look, so they match the owner-drawn
// controls beside them whatever the desktop style is.
//
// - Captions carry their accelerator as "&K" ("&&" is a plain "&"). The window's accelerator dispatcher
//   (Accelerators.h) offers the typed character; Qt's mnemonics are not used.
// - A check change made by the program fires OnClick once, exactly as a user's click does; setting the
//   state a control already has fires nothing. Dialogs that keep a set of check boxes exclusive count on it.
// - Check boxes, radio groups and group boxes draw no background: the parent shows through, as the
//   parent's colour does on the platform. Buttons and edit boxes are opaque.
// - TButton is never a default button: Enter or Space clicks the focused button, and Enter pressed
//   elsewhere in the dialog clicks no button.

#include "platform/Controls.h"

#include <QStringList>

class QLineEdit;
class QTimer;

// The classic 3-D pieces the standard controls share (the list controls draw their check boxes with them).
namespace StdDraw {
// Size of a check box or radio button square.
constexpr int kCheckSize = 13;
// Two one-pixel lines: the top and left sides of r in topLeft, the bottom and right sides in bottomRight.
void Edge(TCanvas* canvas, const TRect& r, TColor topLeft, TColor bottomRight);
// The two-pixel borders of an edit box (sunken) and of a button (raised), inside r.
void SunkenBorder(TCanvas* canvas, const TRect& r);
void RaisedBorder(TCanvas* canvas, const TRect& r);
// A group box: etched frame and the caption in a gap of its top line; the background is filled with color
// unless it is clNone.
void GroupFrame(TCanvas* canvas, const TRect& r, const QString& caption, TColor color, bool enabled);
// A check box square with its top-left corner at (x, y); grey inside when pushed or disabled.
void CheckBox(TCanvas* canvas, int x, int y, bool checked, bool enabled, bool pushed);
// A radio button circle with its top-left corner at (x, y).
void RadioButton(TCanvas* canvas, int x, int y, bool checked, bool enabled, bool pushed);
// A caption with its "&" removed and its accelerator underlined, top-left corner at (x, y), clear brush;
// disabled text is engraved (white one pixel down-right, then grey).
void Caption(TCanvas* canvas, int x, int y, const QString& caption, bool enabled);
// Width and height of a caption without its "&".
TPoint CaptionExtent(TCanvas* canvas, const QString& caption);
// The dotted focus rectangle, drawn by inverting the pixels under it, as the platform does.
void FocusRect(TCanvas* canvas, const TRect& r);
// The text of a caption without its "&" markers.
QString StripAmpersands(const QString& caption);
// The accelerator character of a caption (the character after its first single "&"), or a null character.
QChar AccelOf(const QString& caption);
// Whether ch chooses the caption's accelerator (letters compare without case).
bool IsAccel(QChar ch, const QString& caption);
} // namespace StdDraw

// A control pushed in by the left button or by Space, as the platform's buttons are: it looks pushed while
// the button is held over it or Space is held, and Space let go clicks it.
class TPushControl : public TCustomControl
{
    Q_OBJECT
public:
    using TCustomControl::TCustomControl;

    // The accelerator focuses the control and clicks it.
    bool DialogChar(QChar ch) override;

protected:
    bool PushedLook() const { return FPushedLook; }
    // Keys other than Space that click the control when pressed.
    virtual bool ClicksOnKeyDown(uint16_t) const { return false; }
    // Forgets a press under way.
    void ForgetPress() { FSpaceHeld = FMouseHeld = FPushedLook = false; }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;

private:
    bool FMouseHeld = false; // left button pressed on the control and not yet released
    bool FDoublePress = false;
    bool FSpaceHeld = false;
    bool FPushedLook = false;
};

class TCheckBox : public TPushControl
{
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* parent = nullptr);

    bool Checked() const { return FChecked; }
    // Fires OnClick when the state changes, whoever changes it.
    void SetChecked(bool value);

    // What a click does: toggles the check, which fires OnClick.
    void Click() override;
    bool WantsKey(uint16_t key) const override;

protected:
    void Paint() override;

private:
    bool FChecked = false;
};

class TRadioGroup : public TCustomControl
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return FItems; }
    // The selected index stays while the new items reach it (no OnClick either way).
    void SetItems(const QStringList& items);
    int Columns() const { return FColumns; }
    void SetColumns(int value); // 1 or more

    int ItemIndex() const { return FItemIndex; }
    // -1 selects nothing; values past the ends are pulled to -1 and the last item. Choosing another item
    // fires OnClick, from the program as from the user; choosing none fires nothing.
    void SetItemIndex(int value);

    // Item i's radio button and caption, in the group's coordinates (items run down the first column, then
    // the next).
    TRect ItemRect(int index) const;
    // The item at (x, y), or -1.
    int ItemAt(int x, int y) const;

    // An item's accelerator focuses and selects it.
    bool DialogChar(QChar ch) override;
    bool WantsKey(uint16_t key) const override;
    // From the program: fires OnClick. The mouse chooses the item clicked instead; a click on the frame
    // does nothing.
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

private:
    // Selects item i as a user does: focus moves to it; OnClick when the selection changes.
    void ChooseItem(int index);
    QStringList FItems;
    int FColumns = 1;
    int FItemIndex = -1;
    int FFocusItem = -1; // the item the keyboard is on
    int FPushedItem = -1;
    bool FPushedLook = false;
    bool FMouseClick = false; // a left press has come and its release not yet
    int FMouseX = 0;
    int FMouseY = 0;
};

class TGroupBox : public TCustomControl
{
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* parent = nullptr);

protected:
    void Paint() override;
};

enum class TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle : uint8_t { bsLowered, bsRaised };

class TBevel : public TGraphicControl
{
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = TBevelShape::bsBox;
    TBevelStyle FStyle = TBevelStyle::bsLowered;
};

class TButton : public TPushControl
{
    Q_OBJECT
public:
    explicit TButton(QWidget* parent = nullptr);

    // A result other than 0 ends the modal run of the button's window with that result when the button is
    // clicked. A window with a "ModalResult" property is told before OnClick (which may still change it);
    // any other dialog (a TForm too) is ended with done() after OnClick, unless OnClick closed it.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }

    void Click() override;
    bool WantsKey(uint16_t key) const override;

protected:
    void Paint() override;
    bool ClicksOnKeyDown(uint16_t key) const override;
    void EnabledChanged() override;

private:
    int FModalResult = 0;
};

// A number box with up and down arrows. The value stays between MinValue and MaxValue (when they differ):
// a value set by the program is pulled to the nearer bound at once, a typed one when the box loses the
// focus; a text that is not a number reads as MinValue.
class TSpinEdit : public TCustomControl
{
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }

    // The typed number, clamped; MinValue for a text that is not a number.
    int Value() const;
    void SetValue(int value);
    QString Text() const;
    void SetText(const QString& text);

    // The edit box inside (tests type into it).
    QLineEdit* Editor() const { return FEdit; }

    // After every change of the text, typed or set.
    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Resize() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Clamp(int value) const;
    // Steps the value by delta increments (1 up, -1 down).
    void Step(int delta);
    void LayoutParts();
    // The up (1) or down (-1) arrow button.
    TRect ButtonRect(int direction) const;
    QLineEdit* FEdit = nullptr;
    QTimer* FRepeat = nullptr; // repeats a held arrow
    int FPressedButton = 0;
    bool FButtonLook = false;
    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
};
