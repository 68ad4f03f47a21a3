#include "platform/InputContext.h"

#include "platform/VirtualKeys.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <hangul.h>

namespace {
bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

// The key as a character: Backspace, Enter and Esc as their control codes, otherwise the text. Keys
// with Alt or Meta are commands, not characters.
QString KeyText(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return QString(QChar(8));
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QString(QChar(13));
    case Qt::Key_Escape:
        return QString(QChar(27));
    case Qt::Key_Delete:
        return QString(); // X11 gives it the text DEL, but it types no character
    default:
        break;
    }
    if (event.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return QString();
    return event.text();
}
} // namespace

namespace {
struct TSystemInputMethodState
{
    bool Initialised = false;
    bool Requested = false;
    bool Seen = false;
    bool Listening = false;
};
TSystemInputMethodState gSystemIm;

void ListenForLanguage()
{
    if (gSystemIm.Listening || !qGuiApp) return;
    gSystemIm.Listening = true;
    // fcitx5 reports its language as soon as it is connected, before any key.
    QObject::connect(QGuiApplication::inputMethod(), &QInputMethod::localeChanged, qGuiApp, [] {
        if (gSystemIm.Requested) gSystemIm.Seen = true;
    });
}

void InitSystemInputMethod()
{
    if (gSystemIm.Initialised || !qGuiApp) return;
    gSystemIm.Initialised = true;
    gSystemIm.Requested = TSystemInputMethod::Requested(
        QGuiApplication::platformName(), qEnvironmentVariable("QT_IM_MODULE"), qEnvironmentVariable("QT_IM_MODULES"));
    if (gSystemIm.Requested) ListenForLanguage();
}
} // namespace

bool TSystemInputMethod::Requested(const QString& platform, const QString& module, const QString& modules)
{
    const bool wayland = platform.startsWith(QLatin1String("wayland"));
    if (platform != QLatin1String("xcb") && !wayland) return false;
    QString chosen;
    for (const QString& entry : modules.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!entry.trimmed().isEmpty()) {
            chosen = entry.trimmed();
            break;
        }
    if (chosen.isEmpty()) chosen = module.trimmed();
    chosen = chosen.toLower();
    // Without a module Wayland hands the keys to the compositor's input method; X11 to Qt's composer.
    if (chosen.isEmpty()) return wayland;
    return chosen != QLatin1String("none") && chosen != QLatin1String("compose");
}

bool TSystemInputMethod::Serves()
{
    InitSystemInputMethod();
    return gSystemIm.Requested && gSystemIm.Seen;
}

void TSystemInputMethod::Noticed(const QInputMethodEvent& event)
{
    InitSystemInputMethod();
    // Qt's own composer sends commits of dead-key sequences only; a preedit, or an event with no text
    // at all (ibus at focus-in), comes from a system input method.
    if (gSystemIm.Requested && (!event.preeditString().isEmpty() || event.commitString().isEmpty()))
        gSystemIm.Seen = true;
}

void TSystemInputMethod::ResetForTesting(bool requested)
{
    gSystemIm.Initialised = true;
    gSystemIm.Requested = requested;
    gSystemIm.Seen = false;
    ListenForLanguage();
}

TInputContext::TInputContext(TImeClient& client, const char* keyboard) : FClient(client)
{
    InitSystemInputMethod();
    FHangul = hangul_ic_new(keyboard);
}

TInputContext::~TInputContext()
{
    if (FHangul) hangul_ic_delete(FHangul);
}

bool TInputContext::GetConversionStatus(int& conversion, int& sentence) const
{
    conversion = FConversion;
    sentence = FSentence;
    return true;
}

bool TInputContext::SetConversionStatus(int conversion, int sentence)
{
    FSentence = sentence;
    if (conversion == FConversion) return true;
    CompleteOwn();
    FConversion = conversion;
    FClient.ImeNotify(IMN_SETCONVERSIONMODE);
    return true;
}

void TInputContext::SetKeyboard(const char* keyboard)
{
    CompleteOwn();
    if (FHangul) hangul_ic_select_keyboard(FHangul, keyboard);
}

void TInputContext::ToggleMode()
{
    SetConversionMode((FConversion & IME_CMODE_NATIVE) ? IME_CMODE_ALPHANUMERIC : IME_CMODE_NATIVE);
}

void TInputContext::DeliverOwn()
{
    const bool outer = FDelivering;
    FDelivering = true;
    const ucschar* commit = hangul_ic_get_commit_string(FHangul);
    for (; *commit; ++commit)
        FClient.ImeChar(char16_t(*commit));
    const ucschar* preedit = hangul_ic_get_preedit_string(FHangul);
    if (*preedit) {
        if (!FOwnComposing) {
            FOwnComposing = true;
            FClient.ImeStartComposition();
        }
        FClient.ImeComposition(char16_t(*preedit));
    } else if (FOwnComposing) {
        FOwnComposing = false;
        FClient.ImeEndComposition();
    }
    FDelivering = outer;
    if (!outer && FCompletePending) {
        FCompletePending = false;
        CompleteOwn();
    }
}

void TInputContext::CompleteOwn()
{
    if (!FHangul || hangul_ic_is_empty(FHangul)) return;
    const ucschar* flushed = hangul_ic_flush(FHangul);
    for (; *flushed; ++flushed)
        FClient.ImeChar(char16_t(*flushed));
    if (FOwnComposing) {
        FOwnComposing = false;
        FClient.ImeEndComposition();
    }
}

void TInputContext::CompleteSystem()
{
    if (!FSystemComposing) return;
    // Ask the system input method to commit (it answers at once with a commit event); where it does
    // not, keep the preedit ourselves.
    if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->commit();
    KeepSystemPreedit();
    // ibus commits the same text once more when it resets.
    FCommitMayRepeat = true;
}

void TInputContext::KeepSystemPreedit()
{
    if (!FSystemComposing) return;
    const QString text = FSystemPreedit;
    FSystemComposing = false;
    FSystemPreedit.clear();
    for (QChar ch : text)
        FClient.ImeChar(ch.unicode());
    FClient.ImeEndComposition();
}

void TInputContext::Complete()
{
    CompleteOwn();
    CompleteSystem();
}

bool TInputContext::KeyPress(const QKeyEvent& event)
{
    FCommitMayRepeat = false;
    const int vk = VirtualKeyExOf(event);
    if (vk == VK_RMENU && event.key() != Qt::Key_Hangul) {
        if (!event.isAutoRepeat()) FRightAltAlone = true;
        return false;
    }
    FRightAltAlone = false;
    if (vk == VK_HANGUL) {
        // Held down, the key repeats; the mode changes once per press.
        if (!event.isAutoRepeat()) ToggleMode();
        return true;
    }
    if (IsModifierKey(event.key())) return false;

    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool command = mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // A system input method composes itself; the keys it passes on are meant as they are.
    if ((FConversion & IME_CMODE_NATIVE) && FHangul && !command && !TSystemInputMethod::Serves()) {
        // The 2-set layout is positional and Shift picks the second letter of a key; Caps Lock plays no part.
        int ascii = 0;
        if (vk >= 'A' && vk <= 'Z')
            ascii = (mods & Qt::ShiftModifier) ? vk : vk - 'A' + 'a';
        else if (event.text().size() == 1 && event.text()[0].unicode() > 32 && event.text()[0].unicode() < 127)
            ascii = event.text()[0].unicode(); // the 3-set layouts put letters on digits and symbols too
        if (ascii) {
            // A key it does not take still ends the syllable: the flushed syllable comes as a commit.
            const bool consumed = hangul_ic_process(FHangul, ascii);
            DeliverOwn();
            if (consumed) return true;
        } else if (vk == VK_BACK && FOwnComposing) {
            hangul_ic_backspace(FHangul);
            DeliverOwn();
            return true;
        }
    }
    // Any other key ends the syllable before it acts.
    CompleteOwn();
    const QString text = KeyText(event);
    for (QChar ch : text)
        FClient.KeyChar(ch.unicode());
    return !text.isEmpty();
}

bool TInputContext::KeyRelease(const QKeyEvent& event)
{
    if (event.isAutoRepeat()) return false;
    if (VirtualKeyExOf(event) == VK_RMENU && event.key() != Qt::Key_Hangul && FRightAltAlone) {
        FRightAltAlone = false;
        ToggleMode();
        return true;
    }
    return false;
}

void TInputContext::InputMethod(const QInputMethodEvent& event)
{
    TSystemInputMethod::Noticed(event);
    const QString commit = event.commitString();
    const QString preedit = event.preeditString();
    // An event with neither text (ibus sends one at focus-in and on reset) is no input yet.
    if (commit.isEmpty() && preedit.isEmpty() && !FSystemComposing) return;
    const bool duplicate = FCommitMayRepeat && !IsComposing() && preedit.isEmpty();
    FCommitMayRepeat = false;
    if (!commit.isEmpty() && !duplicate) {
        // The commit replaces the preedit shown: a focus loss while it is delivered keeps nothing more.
        FSystemPreedit.clear();
        CompleteOwn();
        for (QChar ch : commit)
            FClient.ImeChar(ch.unicode());
    }
    if (!preedit.isEmpty()) {
        CompleteOwn();
        if (!FSystemComposing) {
            FSystemComposing = true;
            FClient.ImeStartComposition();
        }
        FSystemPreedit = preedit;
        // The composer works on one syllable; a longer preedit shows its newest character.
        FClient.ImeComposition(preedit.back().unicode());
    } else if (FSystemComposing) {
        FSystemComposing = false;
        FSystemPreedit.clear();
        FClient.ImeEndComposition();
    }
}

void TInputContext::FocusIn()
{
    FCompletePending = false;
    FCommitMayRepeat = true;
    FRightAltAlone = false;
}

void TInputContext::FocusOut()
{
    FCommitMayRepeat = false;
    FRightAltAlone = false;
    // A handler of a delivered message may take the focus (a message box); the syllable then commits
    // once the delivery is done, so the key's messages keep their order.
    if (FDelivering)
        FCompletePending = true;
    else
        CompleteOwn();
    // The system input method commits before the focus leaves; a preedit still shown is kept here.
    KeepSystemPreedit();
}
