#include "platform/StdCtrls.h"

#include <QLineEdit>
#include <QToolButton>

namespace StdDraw {
void CheckBox(TCanvas*, int, int, bool, bool, bool) {}
void RadioButton(TCanvas*, int, int, bool, bool, bool) {}
void Caption(TCanvas*, int, int, const QString&, bool) {}
TPoint CaptionExtent(TCanvas*, const QString&)
{
    return TPoint();
}
void FocusRect(TCanvas*, const TRect&) {}
QString StripAmpersands(const QString& caption)
{
    return caption;
}
QChar AccelOf(const QString&)
{
    return QChar();
}
bool IsAccel(QChar, const QString&)
{
    return false;
}
} // namespace StdDraw

TCheckBox::TCheckBox(QWidget* parent) : TCustomControl(parent) {}
void TCheckBox::SetChecked(bool value)
{
    FChecked = value;
}
void TCheckBox::Click() {}
bool TCheckBox::DialogChar(QChar)
{
    return false;
}
bool TCheckBox::WantsKey(uint16_t) const
{
    return false;
}
void TCheckBox::Paint() {}
void TCheckBox::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseDown(b, s, x, y);
}
void TCheckBox::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseUp(b, s, x, y);
}
void TCheckBox::MouseMove(TShiftState s, int x, int y)
{
    TCustomControl::MouseMove(s, x, y);
}
void TCheckBox::KeyDown(uint16_t& k, TShiftState s)
{
    TCustomControl::KeyDown(k, s);
}
void TCheckBox::KeyUp(uint16_t& k, TShiftState s)
{
    TCustomControl::KeyUp(k, s);
}
void TCheckBox::DoEnter()
{
    TCustomControl::DoEnter();
}
void TCheckBox::DoExit()
{
    TCustomControl::DoExit();
}

TRadioGroup::TRadioGroup(QWidget* parent) : TCustomControl(parent) {}
void TRadioGroup::SetItems(const QStringList& items)
{
    FItems = items;
}
void TRadioGroup::SetColumns(int value)
{
    FColumns = value;
}
void TRadioGroup::SetItemIndex(int value)
{
    FItemIndex = value;
}
TRect TRadioGroup::ItemRect(int) const
{
    return TRect();
}
int TRadioGroup::ItemAt(int, int) const
{
    return -1;
}
bool TRadioGroup::DialogChar(QChar)
{
    return false;
}
bool TRadioGroup::WantsKey(uint16_t) const
{
    return false;
}
void TRadioGroup::Paint() {}
void TRadioGroup::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseDown(b, s, x, y);
}
void TRadioGroup::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseUp(b, s, x, y);
}
void TRadioGroup::KeyDown(uint16_t& k, TShiftState s)
{
    TCustomControl::KeyDown(k, s);
}
void TRadioGroup::DoEnter()
{
    TCustomControl::DoEnter();
}
void TRadioGroup::DoExit()
{
    TCustomControl::DoExit();
}
void TRadioGroup::Resize()
{
    TCustomControl::Resize();
}
void TRadioGroup::ChooseItem(int) {}

TGroupBox::TGroupBox(QWidget* parent) : TCustomControl(parent) {}
void TGroupBox::Paint() {}

TBevel::TBevel(QWidget* parent) : TGraphicControl(parent) {}
void TBevel::SetShape(TBevelShape value)
{
    FShape = value;
}
void TBevel::SetStyle(TBevelStyle value)
{
    FStyle = value;
}
void TBevel::Paint() {}

TButton::TButton(QWidget* parent) : TCustomControl(parent) {}
void TButton::Click()
{
    TCustomControl::Click();
}
bool TButton::DialogChar(QChar)
{
    return false;
}
bool TButton::WantsKey(uint16_t) const
{
    return false;
}
void TButton::Paint() {}
void TButton::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseDown(b, s, x, y);
}
void TButton::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseUp(b, s, x, y);
}
void TButton::MouseMove(TShiftState s, int x, int y)
{
    TCustomControl::MouseMove(s, x, y);
}
void TButton::KeyDown(uint16_t& k, TShiftState s)
{
    TCustomControl::KeyDown(k, s);
}
void TButton::KeyUp(uint16_t& k, TShiftState s)
{
    TCustomControl::KeyUp(k, s);
}
void TButton::DoEnter()
{
    TCustomControl::DoEnter();
}
void TButton::DoExit()
{
    TCustomControl::DoExit();
}
void TButton::EnabledChanged()
{
    TCustomControl::EnabledChanged();
}

TSpinEdit::TSpinEdit(QWidget* parent) : TCustomControl(parent)
{
    FEdit = new QLineEdit(this);
    FUp = new QToolButton(this);
    FDown = new QToolButton(this);
}
void TSpinEdit::SetMinValue(int value)
{
    FMinValue = value;
}
void TSpinEdit::SetMaxValue(int value)
{
    FMaxValue = value;
}
int TSpinEdit::Value() const
{
    return FEdit->text().toInt();
}
void TSpinEdit::SetValue(int value)
{
    FEdit->setText(QString::number(value));
}
QString TSpinEdit::Text() const
{
    return FEdit->text();
}
void TSpinEdit::SetText(const QString& text)
{
    FEdit->setText(text);
}
void TSpinEdit::Paint() {}
void TSpinEdit::Resize()
{
    TCustomControl::Resize();
}
void TSpinEdit::FontChanged() {}
void TSpinEdit::EnabledChanged() {}
bool TSpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    return TCustomControl::eventFilter(watched, event);
}
int TSpinEdit::Clamp(int value) const
{
    return value;
}
void TSpinEdit::Step(int) {}
void TSpinEdit::LayoutParts() {}
