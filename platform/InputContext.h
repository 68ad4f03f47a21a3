#pragma once
// A control's own input-method context. It composes Hangul from plain keys with libhangul while its
// conversion mode is native, toggles the mode with the Hangul key (or Right Alt pressed and released
// alone), and turns a system input method's preedit and commit strings into the same messages.
//
// Messages for one key come in this order: committed characters, then the start or update of the
// composition with the new syllable, the end of the composition when nothing is composed any more, and
// last the key itself as a character when the composer did not take it. A syllable is thus appended
// before the next one is compared, so a right syllable never counts as wrong.

#include <QString>

#include <memory>

class QKeyEvent;
class QInputMethodEvent;
struct _HangulInputContext;

// Conversion modes and the notification of a mode change.
constexpr int IME_CMODE_ALPHANUMERIC = 0;
constexpr int IME_CMODE_NATIVE = 1;
constexpr int IMN_SETCONVERSIONMODE = 6;

// What the context delivers to its control.
class TImeClient
{
public:
    virtual ~TImeClient() = default;
    virtual void ImeStartComposition() = 0;
    // The character being composed.
    virtual void ImeComposition(char16_t ch) = 0;
    virtual void ImeEndComposition() = 0;
    // A character the input method committed.
    virtual void ImeChar(char16_t ch) = 0;
    virtual void ImeNotify(int command) = 0;
    // A key that reached the control as a character (Backspace 8, Enter 13, Esc 27 included).
    virtual void KeyChar(char16_t ch) = 0;
};

// Whether a system input method (ibus, fcitx5) serves the program's controls. While it does, it owns
// composition and the Korean/English mode (it takes the Hangul key itself), so the keys it passes on are
// typed as they come. Asked for by the environment is not enough: Qt falls back to its plain composer
// when the daemon is not there, so it counts once it has shown itself (an input-method event reached a
// control, or it reported its language).
class TSystemInputMethod
{
public:
    static bool Serves();
    // Whether the platform and the environment (QT_IM_MODULE, QT_IM_MODULES) ask Qt for one.
    static bool Requested(const QString& platform, const QString& module, const QString& modules);
    // An input-method event reached a control.
    static void Noticed(const QInputMethodEvent& event);
    // Tests: start over as a program that did or did not ask for one.
    static void ResetForTesting(bool requested);
};

class TInputContext
{
public:
    // keyboard: a libhangul keyboard id ("2", "39", "3f").
    explicit TInputContext(TImeClient& client, const char* keyboard = "2");
    ~TInputContext();
    TInputContext(const TInputContext&) = delete;
    TInputContext& operator=(const TInputContext&) = delete;

    bool GetConversionStatus(int& conversion, int& sentence) const;
    // Changing the mode commits what is composed first and notifies the client.
    bool SetConversionStatus(int conversion, int sentence);
    int ConversionMode() const { return FConversion; }
    void SetConversionMode(int mode) { SetConversionStatus(mode, FSentence); }
    void SetKeyboard(const char* keyboard);

    bool IsComposing() const { return FOwnComposing || FSystemComposing; }
    // Commits the syllable being composed, by the composer or by the system input method.
    void Complete();

    // A key press or release of the control; true when the context used it (the control takes it).
    bool KeyPress(const QKeyEvent& event);
    bool KeyRelease(const QKeyEvent& event);
    void InputMethod(const QInputMethodEvent& event);
    void FocusIn();
    // Commits what is composed, so nothing typed is lost when the focus moves away.
    void FocusOut();

private:
    void DeliverOwn();
    void CompleteOwn();
    void CompleteSystem();
    // Commits a system preedit that is still shown, as typed text.
    void KeepSystemPreedit();
    void ToggleMode();

    TImeClient& FClient;
    _HangulInputContext* FHangul = nullptr;
    int FConversion = IME_CMODE_ALPHANUMERIC;
    int FSentence = 0;
    bool FOwnComposing = false;
    bool FSystemComposing = false;
    QString FSystemPreedit;
    bool FRightAltAlone = false;
    // Messages of the composer are being delivered; a focus loss meanwhile commits after them.
    bool FDelivering = false;
    bool FCompletePending = false;
    // Set at focus-in and after a commit that was asked for, until the next input: a commit then, with
    // nothing composed, repeats one that already went to this control or the one focused before.
    bool FCommitMayRepeat = false;
};
