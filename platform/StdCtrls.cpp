#include "platform/StdCtrls.h"

#include "platform/VirtualKeys.h"

#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <climits>

namespace StdDraw {
namespace {
void HLine(TCanvas* c, int x1, int x2, int y, TColor color)
{
    c->Brush.Style = bsSolid;
    c->Brush.Color = color;
    c->FillRect(Rect(x1, y, x2, y + 1));
}

void VLine(TCanvas* c, int x, int y1, int y2, TColor color)
{
    c->Brush.Style = bsSolid;
    c->Brush.Color = color;
    c->FillRect(Rect(x, y1, x + 1, y2));
}

// The caption without "&" markers and the position of its accelerator in that text (-1 for none).
QString Strip(const QString& caption, int* accel)
{
    QString out;
    int pos = -1;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            if (caption.at(i) != QLatin1Char('&') && pos < 0) pos = out.size();
        }
        out += caption.at(i);
    }
    if (accel) *accel = pos;
    return out;
}
} // namespace

void Edge(TCanvas* c, const TRect& r, TColor topLeft, TColor bottomRight)
{
    HLine(c, r.Left, r.Right - 1, r.Top, topLeft);
    VLine(c, r.Left, r.Top, r.Bottom - 1, topLeft);
    HLine(c, r.Left, r.Right, r.Bottom - 1, bottomRight);
    VLine(c, r.Right - 1, r.Top, r.Bottom - 1, bottomRight);
}

void SunkenBorder(TCanvas* c, const TRect& r)
{
    Edge(c, r, clBtnShadow, clBtnHighlight);
    Edge(c, Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), cl3DDkShadow, cl3DLight);
}

void RaisedBorder(TCanvas* c, const TRect& r)
{
    Edge(c, r, cl3DLight, cl3DDkShadow);
    Edge(c, Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), clBtnHighlight, clBtnShadow);
}

void CheckBox(TCanvas* c, int x, int y, bool checked, bool enabled, bool pushed)
{
    const int s = kCheckSize;
    SunkenBorder(c, Rect(x, y, x + s, y + s));
    c->Brush.Style = bsSolid;
    c->Brush.Color = (pushed || !enabled) ? clBtnFace : clWindow;
    c->FillRect(Rect(x + 2, y + 2, x + s - 2, y + s - 2));
    if (!checked) return;
    // The classic mark: seven columns, each three pixels high.
    static const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    c->Brush.Color = enabled ? clWindowText : clGrayText;
    for (int i = 0; i < 7; ++i)
        c->FillRect(Rect(x + 3 + i, y + 3 + tops[i], x + 4 + i, y + 6 + tops[i]));
}

void RadioButton(TCanvas* c, int x, int y, bool checked, bool enabled, bool pushed)
{
    // Twelve pixels across: the rim is two arcs on each side, the light falling from the top left.
    const int r = x + 12, b = y + 12;
    c->Pen.Style = psClear;
    c->Brush.Style = bsSolid;
    c->Brush.Color = (pushed || !enabled) ? clBtnFace : clWindow;
    c->Ellipse(x + 1, y + 1, r, b);
    c->Pen.Style = psSolid;
    c->Pen.Width = 1;
    c->Pen.Color = clBtnShadow;
    c->Arc(x, y, r, b, r, y, x, b);
    c->Pen.Color = clBtnHighlight;
    c->Arc(x, y, r, b, x, b, r, y);
    c->Pen.Color = cl3DDkShadow;
    c->Arc(x + 1, y + 1, r - 1, b - 1, r - 1, y + 1, x + 1, b - 1);
    c->Pen.Color = cl3DLight;
    c->Arc(x + 1, y + 1, r - 1, b - 1, x + 1, b - 1, r - 1, y + 1);
    if (!checked) return;
    c->Brush.Color = enabled ? clWindowText : clGrayText;
    c->FillRect(Rect(x + 5, y + 4, x + 7, y + 8));
    c->FillRect(Rect(x + 4, y + 5, x + 8, y + 7));
}

QString StripAmpersands(const QString& caption)
{
    return Strip(caption, nullptr);
}

QChar AccelOf(const QString& caption)
{
    int pos = -1;
    const QString text = Strip(caption, &pos);
    return pos >= 0 ? text.at(pos) : QChar();
}

bool IsAccel(QChar ch, const QString& caption)
{
    const QChar accel = AccelOf(caption);
    return !accel.isNull() && !ch.isNull() && accel.toUpper() == ch.toUpper();
}

TPoint CaptionExtent(TCanvas* c, const QString& caption)
{
    return c->TextExtent(StripAmpersands(caption));
}

void Caption(TCanvas* c, int x, int y, const QString& caption, bool enabled)
{
    int accel = -1;
    const QString text = Strip(caption, &accel);
    if (text.isEmpty()) return;
    const QFontMetrics fm(c->Font.ToQFont());
    const TColor color = c->Font.Color;
    c->Brush.Style = bsClear;
    auto draw = [&](int dx, TColor textColor) {
        c->Font.Color = textColor;
        c->Brush.Style = bsClear;
        c->TextOut(x + dx, y + dx, text);
        if (accel >= 0) {
            const int ux = x + dx + fm.horizontalAdvance(text.left(accel));
            const int uw = fm.horizontalAdvance(text.mid(accel, 1));
            HLine(c, ux, ux + uw, y + dx + fm.ascent() + 1, textColor);
        }
    };
    if (enabled) {
        draw(0, color);
    } else {
        draw(1, clBtnHighlight);
        draw(0, clBtnShadow);
    }
    c->Font.Color = color;
    c->Brush.Style = bsSolid;
}

void FocusRect(TCanvas* c, const TRect& r)
{
    if (r.IsEmpty()) return;
    // Every other pixel of the outline inverted, as a dotted focus rectangle is drawn.
    QImage pattern(r.Width(), r.Height(), QImage::Format_RGB32);
    pattern.fill(Qt::black);
    auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0) pattern.setPixel(x, y, 0xFFFFFFFF);
    };
    for (int x = 0; x < r.Width(); ++x) {
        dot(x, 0);
        dot(x, r.Height() - 1);
    }
    for (int y = 0; y < r.Height(); ++y) {
        dot(0, y);
        dot(r.Width() - 1, y);
    }
    TBitmap bmp;
    bmp.Assign(pattern);
    BitBlt(c->Handle(), r.Left, r.Top, r.Width(), r.Height(), bmp.Canvas()->Handle(), 0, 0, SRCINVERT);
}
} // namespace StdDraw

namespace {
// Whether a control may answer its accelerator now.
bool CanAnswer(const QWidget* w)
{
    return w->isEnabled() && w->isVisibleTo(w->window());
}

// A check box or radio button with its caption, laid out in r: the square at the left, vertically centred,
// the caption 4 pixels right of it. Returns the caption's rectangle (for the focus rectangle).
TRect ButtonCaptionRect(TCanvas* c, const TRect& r, const QString& caption)
{
    const TPoint ext = StdDraw::CaptionExtent(c, caption);
    const int tx = r.Left + StdDraw::kCheckSize + 4;
    const int ty = r.Top + (r.Height() - ext.Y) / 2;
    return Rect(tx - 1, ty - 1, qMin(tx + ext.X + 1, r.Right), qMin(ty + ext.Y + 1, r.Bottom));
}
} // namespace

// ---- TPushControl ----

bool TPushControl::DialogChar(QChar ch)
{
    if (!StdDraw::IsAccel(ch, Caption()) || !CanAnswer(this)) return false;
    QPointer<TPushControl> self(this);
    SetFocus();
    if (self) Click();
    return true;
}

void TPushControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TPushControl> self(this);
    if (button == mbLeft && isEnabled()) {
        FMouseHeld = true;
        FDoublePress = (shift & ssDouble) != 0;
        FPushedLook = true;
        SetFocus();
        if (!self) return;
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TPushControl::MouseMove(TShiftState shift, int x, int y)
{
    if (FMouseHeld && FPushedLook != rect().contains(x, y)) {
        FPushedLook = !FPushedLook;
        Invalidate();
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TPushControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMouseHeld = false;
        FPushedLook = FSpaceHeld;
        Invalidate();
        // The second click of a double click is a click of its own, as the platform's buttons take it.
        if (FDoublePress && rect().contains(x, y) && isEnabled()) {
            FDoublePress = false;
            QPointer<TPushControl> self(this);
            Click();
            if (!self) return;
        }
        FDoublePress = false;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TPushControl::KeyDown(uint16_t& key, TShiftState shift)
{
    QPointer<TPushControl> self(this);
    TCustomControl::KeyDown(key, shift);
    if (!self) return;
    if (ClicksOnKeyDown(key)) {
        Click();
    } else if (key == VK_SPACE && !FSpaceHeld) {
        FSpaceHeld = true;
        FPushedLook = true;
        Invalidate();
    }
}

void TPushControl::KeyUp(uint16_t& key, TShiftState shift)
{
    QPointer<TPushControl> self(this);
    TCustomControl::KeyUp(key, shift);
    if (!self) return;
    if (key == VK_SPACE && FSpaceHeld) {
        FSpaceHeld = false;
        FPushedLook = FMouseHeld;
        Invalidate();
        Click();
    }
}

void TPushControl::DoEnter()
{
    Invalidate();
    TCustomControl::DoEnter();
}

void TPushControl::DoExit()
{
    // A Space let go after the focus left clicks nothing.
    FSpaceHeld = false;
    FPushedLook = FMouseHeld;
    Invalidate();
    TCustomControl::DoExit();
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(QWidget* parent) : TPushControl(parent)
{
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool value)
{
    if (FChecked == value) return;
    FChecked = value;
    Invalidate();
    TCustomControl::Click();
}

void TCheckBox::Click()
{
    SetChecked(!FChecked);
}

bool TCheckBox::WantsKey(uint16_t key) const
{
    return key == VK_SPACE;
}

void TCheckBox::Paint()
{
    TCanvas* c = Canvas();
    c->Font = Font();
    const bool enabled = isEnabled();
    StdDraw::CheckBox(c, 0, (Height() - StdDraw::kCheckSize) / 2, FChecked, enabled, PushedLook());
    const TRect text = ButtonCaptionRect(c, ClientRect(), Caption());
    StdDraw::Caption(c, text.Left + 1, text.Top + 1, Caption(), enabled);
    if (Focused() && !StdDraw::StripAmpersands(Caption()).isEmpty()) StdDraw::FocusRect(c, text);
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(QWidget* parent) : TCustomControl(parent)
{
    SetTabStop(true);
    SetBounds(0, 0, 185, 105);
}

void TRadioGroup::SetItems(const QStringList& items)
{
    FItems = items;
    // The selection stays while its item does.
    FItemIndex = qMin(FItemIndex, int(items.size()) - 1);
    FFocusItem = qMin(FFocusItem, int(items.size()) - 1);
    FPushedItem = -1;
    Invalidate();
}

void TRadioGroup::SetColumns(int value)
{
    value = qMax(1, value);
    if (FColumns == value) return;
    FColumns = value;
    Invalidate();
}

void TRadioGroup::SetItemIndex(int value)
{
    value = qBound(-1, value, int(FItems.size()) - 1);
    if (value == FItemIndex) return;
    FItemIndex = value;
    if (value >= 0) FFocusItem = value;
    Invalidate();
    // Checking a button fires the group's click; unchecking the last one does not.
    if (value >= 0) TCustomControl::Click();
}

TRect TRadioGroup::ItemRect(int index) const
{
    const int count = int(FItems.size());
    if (index < 0 || index >= count) return TRect();
    const int textHeight = QFontMetrics(Font().ToQFont()).height();
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int buttonWidth = (Width() - 10) / FColumns;
    const int space = Height() - textHeight - 5;
    const int buttonHeight = space / perColumn;
    const int topMargin = textHeight + 1 + (space % perColumn) / 2;
    return Bounds((index / perColumn) * buttonWidth + 8, (index % perColumn) * buttonHeight + topMargin, buttonWidth,
                  buttonHeight);
}

int TRadioGroup::ItemAt(int x, int y) const
{
    for (int i = 0; i < FItems.size(); ++i)
        if (PtInRect(ItemRect(i), Point(x, y))) return i;
    return -1;
}

bool TRadioGroup::DialogChar(QChar ch)
{
    if (!CanAnswer(this)) return false;
    for (int i = 0; i < FItems.size(); ++i) {
        if (StdDraw::IsAccel(ch, FItems.at(i))) {
            ChooseItem(i);
            return true;
        }
    }
    return false;
}

bool TRadioGroup::WantsKey(uint16_t key) const
{
    return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_SPACE;
}

void TRadioGroup::ChooseItem(int index)
{
    QPointer<TRadioGroup> self(this);
    FFocusItem = index;
    SetFocus();
    if (!self) return;
    Invalidate();
    SetItemIndex(index);
}

void TRadioGroup::Click()
{
    // A click with the mouse chooses the item under it (MouseDown noted it); elsewhere on the group it
    // does nothing. A click from the program fires OnClick.
    if (FMouseClick) {
        if (FPushedItem >= 0 && FPushedItem == ItemAt(FMouseX, FMouseY)) ChooseItem(FPushedItem);
        return;
    }
    TCustomControl::Click();
}

void TRadioGroup::Paint()
{
    TCanvas* c = Canvas();
    c->Font = Font();
    StdDraw::GroupFrame(c, ClientRect(), Caption(), clNone, isEnabled());
    const bool enabled = isEnabled();
    for (int i = 0; i < FItems.size(); ++i) {
        const TRect r = ItemRect(i);
        StdDraw::RadioButton(c, r.Left, r.Top + (r.Height() - 12) / 2, i == FItemIndex, enabled,
                             i == FPushedItem && FPushedLook);
        const TRect text = ButtonCaptionRect(c, r, FItems.at(i));
        StdDraw::Caption(c, text.Left + 1, text.Top + 1, FItems.at(i), enabled);
        if (Focused() && i == FFocusItem) StdDraw::FocusRect(c, text);
    }
}

void TRadioGroup::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TRadioGroup> self(this);
    if (button == mbLeft) {
        FMouseClick = true;
        FMouseX = x;
        FMouseY = y;
        FPushedItem = ItemAt(x, y);
        FPushedLook = FPushedItem >= 0;
        if (FPushedItem >= 0) {
            FFocusItem = FPushedItem;
            SetFocus();
            if (!self) return;
        }
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TRadioGroup::MouseMove(TShiftState shift, int x, int y)
{
    FMouseX = x;
    FMouseY = y;
    if (FMouseClick && FPushedItem >= 0) {
        const bool inside = ItemAt(x, y) == FPushedItem;
        if (inside != FPushedLook) {
            FPushedLook = inside;
            Invalidate();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TRadioGroup::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMouseClick = false;
        FPushedItem = -1;
        FPushedLook = false;
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TRadioGroup::KeyDown(uint16_t& key, TShiftState shift)
{
    QPointer<TRadioGroup> self(this);
    TCustomControl::KeyDown(key, shift);
    if (!self) return;
    const int count = int(FItems.size());
    if (count == 0) return;
    const int from = FFocusItem >= 0 ? FFocusItem : qMax(FItemIndex, 0);
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        ChooseItem((from + count - 1) % count);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        ChooseItem((from + 1) % count);
        break;
    case VK_SPACE:
        ChooseItem(from);
        break;
    default:
        break;
    }
}

void TRadioGroup::DoEnter()
{
    if (FFocusItem < 0 && !FItems.isEmpty()) FFocusItem = qMax(FItemIndex, 0);
    Invalidate();
    TCustomControl::DoEnter();
}

void TRadioGroup::DoExit()
{
    Invalidate();
    TCustomControl::DoExit();
}

void TRadioGroup::Resize()
{
    Invalidate();
    TCustomControl::Resize();
}

// ---- group frames ----

void StdDraw::GroupFrame(TCanvas* c, const TRect& r, const QString& caption, TColor color, bool enabled)
{
    if (color != clNone) {
        c->Brush.Style = bsSolid;
        c->Brush.Color = color;
        c->FillRect(r);
    }
    const int h = c->TextHeight(QStringLiteral("0"));
    const QString text = StdDraw::StripAmpersands(caption);
    // The top line leaves a gap for the caption.
    const int gapLeft = r.Left + 6;
    const int gapRight = text.isEmpty() ? gapLeft : qMin(r.Left + 8 + c->TextWidth(text) + 2, r.Right);
    // An etched line: highlight one pixel right and down of the shadow.
    TRect frame = Rect(r.Left + 1, r.Top + h / 2, r.Right, r.Bottom);
    for (TColor lineColor : {clBtnHighlight, clBtnShadow}) {
        c->Brush.Style = bsSolid;
        c->Brush.Color = lineColor;
        c->FillRect(Rect(frame.Left, frame.Top, gapLeft, frame.Top + 1));
        c->FillRect(Rect(gapRight, frame.Top, frame.Right - 1, frame.Top + 1));
        c->FillRect(Rect(frame.Left, frame.Top, frame.Left + 1, frame.Bottom - 1));
        c->FillRect(Rect(frame.Left, frame.Bottom - 1, frame.Right, frame.Bottom));
        c->FillRect(Rect(frame.Right - 1, frame.Top, frame.Right, frame.Bottom));
        OffsetRect(frame, -1, -1);
    }
    if (!text.isEmpty()) StdDraw::Caption(c, r.Left + 8, r.Top, caption, enabled);
}

TGroupBox::TGroupBox(QWidget* parent) : TCustomControl(parent)
{
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::Paint()
{
    TCanvas* c = Canvas();
    c->Font = Font();
    StdDraw::GroupFrame(c, ClientRect(), Caption(), clNone, isEnabled());
}

// ---- TBevel ----

TBevel::TBevel(QWidget* parent) : TGraphicControl(parent)
{
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value)
{
    if (FShape == value) return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    TColor first = clBtnShadow, second = clBtnHighlight;
    if (FStyle == TBevelStyle::bsRaised) std::swap(first, second);
    const int w = Width(), h = Height();
    auto line = [&](TColor color, const TRect& r) {
        c->Brush.Style = bsSolid;
        c->Brush.Color = color;
        c->FillRect(r);
    };
    switch (FShape) {
    case TBevelShape::bsBox:
        StdDraw::Edge(c, Rect(0, 0, w, h), first, second);
        break;
    case TBevelShape::bsFrame:
        StdDraw::Edge(c, Rect(1, 1, w, h), second, second);
        StdDraw::Edge(c, Rect(0, 0, w - 1, h - 1), first, first);
        break;
    case TBevelShape::bsTopLine:
        line(first, Rect(0, 0, w, 1));
        line(second, Rect(0, 1, w, 2));
        break;
    case TBevelShape::bsBottomLine:
        line(first, Rect(0, h - 2, w, h - 1));
        line(second, Rect(0, h - 1, w, h));
        break;
    case TBevelShape::bsLeftLine:
        line(first, Rect(0, 0, 1, h));
        line(second, Rect(1, 0, 2, h));
        break;
    case TBevelShape::bsRightLine:
        line(first, Rect(w - 2, 0, w - 1, h));
        line(second, Rect(w - 1, 0, w, h));
        break;
    case TBevelShape::bsSpacer:
        break;
    }
}

// ---- TButton ----

TButton::TButton(QWidget* parent) : TPushControl(parent)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::Click()
{
    QPointer<TButton> self(this);
    QPointer<QWidget> window(this->window());
    const int result = FModalResult;
    bool endDialog = false;
    if (result != 0 && window) {
        // A window with a "ModalResult" property ends its own run; a plain dialog is ended here.
        if (window->metaObject()->indexOfProperty("ModalResult") >= 0)
            window->setProperty("ModalResult", result);
        else
            endDialog = qobject_cast<QDialog*>(window.data()) != nullptr;
    }
    TCustomControl::Click();
    // Unless the handler closed the dialog itself.
    if (endDialog && self && window && window->isVisible()) static_cast<QDialog*>(window.data())->done(result);
}

bool TButton::WantsKey(uint16_t key) const
{
    return key == VK_SPACE || key == VK_RETURN;
}

void TButton::Paint()
{
    TCanvas* c = Canvas();
    c->Font = Font();
    TRect r = ClientRect();
    c->Brush.Style = bsSolid;
    c->Brush.Color = Color();
    c->FillRect(r);
    const bool focused = Focused();
    if (focused) {
        StdDraw::Edge(c, r, cl3DDkShadow, cl3DDkShadow);
        InflateRect(r, -1, -1);
    }
    if (PushedLook())
        StdDraw::Edge(c, r, clBtnShadow, clBtnShadow);
    else
        StdDraw::RaisedBorder(c, r);
    const TPoint ext = StdDraw::CaptionExtent(c, Caption());
    const int shift = PushedLook() ? 1 : 0;
    StdDraw::Caption(c, (Width() - ext.X) / 2 + shift, (Height() - ext.Y) / 2 + shift, Caption(), isEnabled());
    if (focused) {
        TRect focus = ClientRect();
        InflateRect(focus, -4, -4);
        StdDraw::FocusRect(c, focus);
    }
}

bool TButton::ClicksOnKeyDown(uint16_t key) const
{
    return key == VK_RETURN;
}

void TButton::EnabledChanged()
{
    ForgetPress();
    TCustomControl::EnabledChanged();
}

// ---- TSpinEdit ----

namespace {
constexpr int kSpinButtonWidth = 15;
constexpr int kRepeatDelay = 400;
constexpr int kRepeatInterval = 100;
} // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : TCustomControl(parent)
{
    FEdit = new QLineEdit(this);
    FEdit->setFrame(false);
    // Only what can make a number is typed; a pasted or cut-down text may still be none.
    FEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9]*")), FEdit));
    FEdit->installEventFilter(this);
    setFocusProxy(FEdit);
    FRepeat = new QTimer(this);
    connect(FRepeat, &QTimer::timeout, this, [this] {
        FRepeat->setInterval(kRepeatInterval);
        Step(FPressedButton);
    });
    connect(FEdit, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
    SetColor(clWindow);
    SetBounds(0, 0, 121, 22);
    FontChanged();
    FEdit->setText(QStringLiteral("0"));
}

void TSpinEdit::SetMinValue(int value)
{
    FMinValue = value;
}

void TSpinEdit::SetMaxValue(int value)
{
    FMaxValue = value;
}

int TSpinEdit::Clamp(int value) const
{
    if (FMaxValue == FMinValue) return value; // no range set
    return qBound(FMinValue, value, qMax(FMinValue, FMaxValue));
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const qlonglong typed = FEdit->text().trimmed().toLongLong(&ok);
    if (!ok) return FMinValue;
    return Clamp(int(qBound(qlonglong(INT_MIN), typed, qlonglong(INT_MAX))));
}

void TSpinEdit::SetValue(int value)
{
    FEdit->setText(QString::number(Clamp(value)));
}

QString TSpinEdit::Text() const
{
    return FEdit->text();
}

void TSpinEdit::SetText(const QString& text)
{
    FEdit->setText(text);
}

void TSpinEdit::Step(int delta)
{
    if (delta == 0) return;
    const qlonglong next = qlonglong(Value()) + qlonglong(delta) * FIncrement;
    SetValue(int(qBound(qlonglong(INT_MIN), next, qlonglong(INT_MAX))));
    FEdit->selectAll();
}

TRect TSpinEdit::ButtonRect(int direction) const
{
    const int left = Width() - 2 - kSpinButtonWidth;
    const int mid = Height() / 2;
    return direction > 0 ? Rect(left, 2, Width() - 2, mid) : Rect(left, mid, Width() - 2, Height() - 2);
}

void TSpinEdit::LayoutParts()
{
    FEdit->setGeometry(4, 2, qMax(0, Width() - 6 - kSpinButtonWidth - 1), qMax(0, Height() - 4));
}

void TSpinEdit::Paint()
{
    TCanvas* c = Canvas();
    c->Brush.Style = bsSolid;
    c->Brush.Color = isEnabled() ? Color() : clBtnFace;
    c->FillRect(ClientRect());
    StdDraw::SunkenBorder(c, ClientRect());
    for (int direction : {1, -1}) {
        const TRect r = ButtonRect(direction);
        const bool pushed = FPressedButton == direction && FButtonLook;
        c->Brush.Color = clBtnFace;
        c->FillRect(r);
        if (pushed)
            StdDraw::Edge(c, r, clBtnShadow, clBtnShadow);
        else
            StdDraw::RaisedBorder(c, r);
        // A small triangle, pointing up or down.
        c->Brush.Color = isEnabled() ? clBtnText : clGrayText;
        const int cx = (r.Left + r.Right) / 2 + (pushed ? 1 : 0);
        const int cy = (r.Top + r.Bottom) / 2 + (pushed ? 1 : 0);
        for (int row = 0; row < 3; ++row) {
            const int y = direction > 0 ? cy - 1 + row : cy + 1 - row;
            c->FillRect(Rect(cx - row, y, cx + row + 1, y + 1));
        }
    }
}

void TSpinEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TSpinEdit> self(this);
    if (button == mbLeft && isEnabled()) {
        FPressedButton = PtInRect(ButtonRect(1), Point(x, y)) ? 1 : PtInRect(ButtonRect(-1), Point(x, y)) ? -1 : 0;
        FEdit->setFocus();
        if (FPressedButton != 0) {
            FButtonLook = true;
            Step(FPressedButton);
            if (!self) return;
            FRepeat->start(kRepeatDelay);
            Invalidate();
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TSpinEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FRepeat->stop();
        FPressedButton = 0;
        FButtonLook = false;
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TSpinEdit::Resize()
{
    LayoutParts();
    TCustomControl::Resize();
}

void TSpinEdit::FontChanged()
{
    FEdit->setFont(Font().ToQFont());
    QPalette pal = FEdit->palette();
    pal.setColor(QPalette::Text, ToQColor(Font().Color));
    pal.setColor(QPalette::Base, ToQColor(Color()));
    FEdit->setPalette(pal);
    Invalidate();
}

void TSpinEdit::ColorChanged()
{
    FontChanged();
}

void TSpinEdit::EnabledChanged()
{
    FRepeat->stop();
    FPressedButton = 0;
    FButtonLook = false;
    Invalidate();
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FEdit) {
        if (event->type() == QEvent::FocusOut) {
            // The typed text takes the value it is read as.
            const QString canonical = QString::number(Value());
            if (FEdit->text() != canonical) FEdit->setText(canonical);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                Step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return TCustomControl::eventFilter(watched, event);
}
