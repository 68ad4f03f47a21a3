#include "platform/Edit.h"

#include "platform/Accelerators.h"
#include "platform/KeyDispatch.h"
#include "platform/VirtualKeys.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTextCharFormat>

namespace {
bool IsDialogKey(const QKeyEvent& event)
{
    const int k = event.key();
    return k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape;
}

// Keys that the composer never takes into a syllable: they end it before anyone sees them, so a handler
// of Enter reads the whole text (the platform's input method commits before it passes such a key on).
bool EndsComposition(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_Hangul:
    case Qt::Key_Backspace:
        return false;
    default:
        break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return true;
    const QString text = event.text();
    return text.isEmpty() || text.at(0).unicode() <= 32 || text.at(0).unicode() == 127;
}
} // namespace

class TEditImeBridge : public TImeClient
{
public:
    explicit TEditImeBridge(TEdit* edit) : Edit(edit), Context(*this) {}
    QPointer<TEdit> Edit;
    TInputContext Context;

    void ImeStartComposition() override
    {
        if (Edit) Edit->ImeStartComposition();
    }
    void ImeComposition(char16_t ch) override
    {
        if (Edit) Edit->ImeComposition(ch);
    }
    void ImeEndComposition() override
    {
        if (Edit) Edit->ImeEndComposition();
    }
    void ImeChar(char16_t ch) override
    {
        if (Edit) Edit->ImeChar(ch);
    }
    void ImeNotify(int command) override
    {
        if (Edit) Edit->ImeNotify(command);
    }
    void KeyChar(char16_t ch) override
    {
        if (Edit) Edit->KeyChar(ch);
    }
};

TEdit::TEdit(QWidget* parent) : QLineEdit(parent)
{
    TAccelerators::Install();
    setAttribute(Qt::WA_InputMethodEnabled, true);
    FBridge = std::make_shared<TEditImeBridge>(this);
    FHIMC = &FBridge->Context;
    SetFont(FFont);
    SetColor(FColor);
    SetMaxLength(0);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) {
            TNotifyEvent handler = OnChange;
            handler(this);
        }
    });
}

TEdit::~TEdit() = default;

void TEdit::Complete()
{
    const auto keep = FBridge;
    FHIMC->Complete();
}

void TEdit::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
}

void TEdit::SetFont(const TFont& value)
{
    FFont = value;
    setFont(value.ToQFont());
    // The colours of an enabled box; a disabled one keeps the style's greyed look.
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        pal.setColor(group, QPalette::Text, ToQColor(value.Color));
    setPalette(pal);
}

void TEdit::SetColor(TColor value)
{
    FColor = value;
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        pal.setColor(group, QPalette::Base, ToQColor(value));
    setPalette(pal);
}

void TEdit::SetMaxLength(int value)
{
    FMaxLength = value < 0 ? 0 : value;
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TEdit::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TEdit::SetText(const QString& value)
{
    if (value == text()) return;
    // QLineEdit::setText resets the system input method, which would commit or drop the syllable the
    // user already started. Replace the text by editing instead, with the syllable taken off the display
    // meanwhile, so nothing reaches the input method.
    const QString composing = FComposing;
    ShowComposition(QString());
    selectAll();
    if (value.isEmpty())
        del();
    else
        insert(value);
    ShowComposition(composing);
}

void TEdit::ShowComposition(const QString& shown)
{
    if (shown.isEmpty() && FComposing.isEmpty()) return;
    FComposing = shown;
    QList<QInputMethodEvent::Attribute> attributes;
    if (!shown.isEmpty()) {
        // The syllable shows as a block standing in for the caret, as the platform's Korean input does.
        QTextCharFormat block;
        block.setBackground(palette().color(QPalette::Highlight));
        block.setForeground(palette().color(QPalette::HighlightedText));
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, shown.size(), block)
                   << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, shown.size(), 0, QVariant());
    }
    QInputMethodEvent event(shown, attributes);
    QLineEdit::inputMethodEvent(&event);
}

bool TEdit::TypeChar(QChar ch)
{
    const QChar typed = ch;
    QPointer<TEdit> self(this);
    if (OnKeyPress) {
        TKeyPressEvent handler = OnKeyPress;
        handler(this, ch);
        if (!self) return false;
    }
    const ushort code = ch.unicode();
    if (code == 0 || code == 13 || code == 27 || code == 9) return true;
    // Ctrl with a key is an editing command (select all, copy, paste), whatever text the key carries.
    if (FKeyEvent && ch == typed && (FKeyEvent->modifiers() & Qt::ControlModifier)) {
        FPassKeyOn = true;
        return true;
    }
    if (code < 32 || code == 127) {
        // Backspace and the clipboard keys edit as the line edit does; other control characters type nothing.
        if (FKeyEvent && ch == typed)
            FPassKeyOn = true;
        else if (code == 8)
            backspace();
        return true;
    }
    // Whatever is shown as composing goes after the typed character.
    const QString composing = FComposing;
    if (!composing.isEmpty()) ShowComposition(QString());
    insert(QString(ch));
    if (!composing.isEmpty()) ShowComposition(composing);
    return true;
}

void TEdit::ImeStartComposition() {}

void TEdit::ImeComposition(char16_t ch)
{
    ShowComposition(QString(QChar(ch)));
}

void TEdit::ImeEndComposition()
{
    ShowComposition(QString());
}

void TEdit::ImeChar(char16_t ch)
{
    QPointer<TEdit> self(this);
    QChar key(ch);
    if (OnKeyPress) {
        TKeyPressEvent handler = OnKeyPress;
        handler(this, key);
        if (!self) return;
    }
    if (key.isNull() || key.unicode() < 32) return;
    // The commit replaces the syllable shown.
    QInputMethodEvent event;
    event.setCommitString(QString(key));
    FComposing.clear();
    QLineEdit::inputMethodEvent(&event);
}

void TEdit::ImeNotify(int) {}

void TEdit::KeyChar(char16_t ch)
{
    TypeChar(QChar(ch));
}

void TEdit::keyPressEvent(QKeyEvent* event)
{
    QPointer<TEdit> self(this);
    const auto keep = FBridge;
    if (!isReadOnly() && FHIMC->IsComposing() && EndsComposition(*event)) {
        FHIMC->Complete();
        if (!self) {
            event->accept();
            return;
        }
    }
    if (FireKey(OnKeyDown, this, *event) != TKeyOutcome::Pass) {
        event->accept();
        return;
    }
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    FKeyEvent = event;
    FPassKeyOn = false;
    const bool used = FHIMC->KeyPress(*event);
    if (!self) {
        event->accept();
        return;
    }
    FKeyEvent = nullptr;
    if (!used || FPassKeyOn) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Enter and Esc type nothing here; the window gets them (OK, Cancel).
    event->setAccepted(!IsDialogKey(*event));
}

void TEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    const auto keep = FBridge;
    if (FireKey(OnKeyUp, this, *event) != TKeyOutcome::Pass) {
        event->accept();
        return;
    }
    if (!isReadOnly() && FHIMC->KeyRelease(*event))
        event->accept();
    else
        QLineEdit::keyReleaseEvent(event);
}

void TEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const auto keep = FBridge;
    FHIMC->InputMethod(*event);
    event->accept();
}

QVariant TEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImHints) return int(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    return QLineEdit::inputMethodQuery(query);
}

void TEdit::focusInEvent(QFocusEvent* event)
{
    FHIMC->FocusIn();
    QLineEdit::focusInEvent(event);
    if (OnEnter && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        TNotifyEvent handler = OnEnter;
        handler(this);
    }
}

void TEdit::focusOutEvent(QFocusEvent* event)
{
    QPointer<TEdit> self(this);
    const auto keep = FBridge;
    FHIMC->FocusOut();
    if (!self) return;
    QLineEdit::focusOutEvent(event);
    if (OnExit && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        TNotifyEvent handler = OnExit;
        handler(this);
    }
}

void TEdit::mousePressEvent(QMouseEvent* event)
{
    // Moving the caret ends the syllable first, where it was typed.
    QPointer<TEdit> self(this);
    Complete();
    if (self) QLineEdit::mousePressEvent(event);
}
