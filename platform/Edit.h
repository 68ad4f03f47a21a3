#pragma once
// A one-line edit box with its own input context, the one the typing control uses: the built-in Hangul
// composer while the conversion mode is native, or a system input method through QInputMethodEvent. The
// syllable being composed shows as a block at the caret and is not part of Text until it is committed.
//
// Keys, in the platform's order: OnKeyDown (virtual-key code; a handler that sets it to 0 takes the key
// away), then the input context's messages, each typed or committed character passing OnKeyPress (a
// handler may change it or set it to 0 to drop it), and on release OnKeyUp (auto-repeat releases are not
// reported). Enter and Esc are never typed: after OnKeyDown they go on to the window, so a dialog still
// gets its OK and Cancel. Editing keys (arrows, Home, End, Delete, clipboard shortcuts) edit as usual.

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/InputContext.h"

#include <QLineEdit>
#include <memory>

class TEdit : public QLineEdit, public TImeClient
{
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);
    ~TEdit() override;

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    void SetBounds(int left, int top, int width, int height);

    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& value);
    // The box's background (clWindow at first).
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // The committed text; the syllable being composed is not part of it.
    QString Text() const { return text(); }
    // Replaces the committed text and leaves a composition already started alone: the syllable stays
    // shown and goes on being composed, and no input method is reset.
    void SetText(const QString& value);
    void Clear() { SetText(QString()); }
    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);

    bool Focused() const { return hasFocus(); }
    void SetFocus();

    // Conversion mode of the box's input context: IME_CMODE_NATIVE (Hangul) or IME_CMODE_ALPHANUMERIC.
    int ConversionMode() const { return FHIMC->ConversionMode(); }
    void SetConversionMode(int mode) { FHIMC->SetConversionMode(mode); }
    TInputContext& InputContext() { return *FHIMC; }
    bool IsComposing() const { return FHIMC->IsComposing(); }
    // The syllable being composed, or an empty string.
    QString ComposingText() const { return FComposing; }
    // Commits the syllable being composed (by the composer or the system input method) into the text.
    void Complete();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    // The committed text changed (typing, SetText, editing keys).
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Message-level input, as the input context delivers it.
    void ImeStartComposition() override;
    void ImeComposition(char16_t ch) override;
    void ImeEndComposition() override;
    void ImeChar(char16_t ch) override;
    void ImeNotify(int command) override;
    void KeyChar(char16_t ch) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Shows the composing syllable (empty: none) without touching the committed text.
    void ShowComposition(const QString& text);
    // Types ch at the caret after OnKeyPress; false when the box was destroyed by a handler.
    bool TypeChar(QChar ch);

    // The context and the client it talks to outlive the box while a message is being delivered, so a
    // handler may delete the box (or its window) in the middle of a key.
    std::shared_ptr<class TEditImeBridge> FBridge;
    TInputContext* FHIMC = nullptr;
    TFont FFont;
    TColor FColor = clWindow;
    int FMaxLength = 0;
    QString FComposing;
    // The key event being delivered through the input context, for keys it hands back (Backspace, Ctrl+C).
    QKeyEvent* FKeyEvent = nullptr;
    bool FPassKeyOn = false;
};
