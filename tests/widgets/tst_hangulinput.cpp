// Keys and system input-method events through the input context into the typing control: the
// messages and their order, which errors sound, focus changes while composing, and mode switching.
#include "engine/SentencePractice.h"
#include "platform/InputContext.h"
#include "platform/VirtualKeys.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// Writes every message down: s(tart), c<ch>, e(nd), i<ch> (committed), k<ch> (key as character), n.
class TRecorder : public TImeClient
{
public:
    QString Log;
    void ImeStartComposition() override { Log += u's'; }
    void ImeComposition(char16_t ch) override { Log += u'c' + QString(QChar(ch)); }
    void ImeEndComposition() override { Log += u'e'; }
    void ImeChar(char16_t ch) override
    {
        Log += u'i' + QString(QChar(ch));
        // As a handler of the committed character might: take the focus away once.
        if (OnChar) std::exchange(OnChar, nullptr)();
    }
    std::function<void()> OnChar;
    void ImeNotify(int command) override { Log += command == IMN_SETCONVERSIONMODE ? u'n' : u'?'; }
    void KeyChar(char16_t ch) override { Log += u'k' + (ch <= 32 ? QString::number(int(ch)) : QString(QChar(ch))); }
};

QKeyEvent Key(QEvent::Type type, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier,
              quint32 scanCode = 0)
{
    return QKeyEvent(type, key, mods, scanCode, 0, 0, text);
}

// Presses the keys of a Latin string as a plain keyboard would, Shift for capitals.
void Press(TInputContext& ic, const QString& keys)
{
    for (QChar ch : keys) {
        int key = 0;
        QString text(ch);
        Qt::KeyboardModifiers mods;
        if (ch.isLetter()) {
            key = Qt::Key_A + (ch.toUpper().unicode() - 'A');
            if (ch.isUpper()) mods = Qt::ShiftModifier;
        } else if (ch == u'\b') {
            key = Qt::Key_Backspace;
        } else if (ch == u'\r') {
            key = Qt::Key_Return;
        } else if (ch == QChar(0x7F)) {
            key = Qt::Key_Delete; // X11 gives the Delete key the text DEL
        } else {
            key = ch.unicode(); // digits, blank and ASCII symbols share their Qt key code
        }
        ic.KeyPress(Key(QEvent::KeyPress, key, text, mods));
        ic.KeyRelease(Key(QEvent::KeyRelease, key, text, mods));
    }
}

std::unique_ptr<QInputMethodEvent> Preedit(const QString& text)
{
    return std::make_unique<QInputMethodEvent>(text, QList<QInputMethodEvent::Attribute>());
}

std::unique_ptr<QInputMethodEvent> Commit(const QString& text)
{
    auto e = std::make_unique<QInputMethodEvent>();
    e->setCommitString(text);
    return e;
}

// A typing control in a shown window beside a line edit that can take the focus away from it.
struct TFocusWindow
{
    QWidget Window;
    TSentencePractice* C = new TSentencePractice;
    QLineEdit* Other = new QLineEdit;
    explicit TFocusWindow(const QString& problem)
    {
        auto* layout = new QVBoxLayout(&Window);
        layout->addWidget(C);
        layout->addWidget(Other);
        C->SetSentenceCount(1);
        C->SetProblem(0, problem);
        C->SetTypingLang(tlNative);
    }
    // Shows the window with the focus in the control.
    bool Show()
    {
        Window.show();
        if (!QTest::qWaitForWindowExposed(&Window)) return false;
        C->setFocus();
        return QTest::qWaitFor([this] { return C->hasFocus(); });
    }
};

struct TPracticeFixture
{
    TSentencePractice C;
    int Errors = 0, Ended = 0, Lang = 0;
    explicit TPracticeFixture(const QString& problem, bool check = true)
    {
        C.SetSentenceCount(1);
        C.SetProblem(0, problem);
        C.SetCheckComposingChar(check);
        C.SetTypingLang(tlNative);
        C.SetOnTypingError([this](QObject*) { ++Errors; });
        C.SetOnTypingEnded([this](QObject*) { ++Ended; });
        C.SetOnTypingLangChanged([this](QObject*) { ++Lang; });
    }
    QString Typed() const { return C.Sentences()[0]->typed; }
};
} // namespace

class TestHangulInput : public QObject
{
    Q_OBJECT
private slots:
    void messageOrder_data();
    void messageOrder();
    void shiftFromModifiersNotCapsLock_data();
    void shiftFromModifiersNotCapsLock();
    void modeKeys_data();
    void modeKeys();
    void settingTheModeCommitsAndNotifies();
    void errorsWhileComposing_data();
    void errorsWhileComposing();
    void cleanup();
    void systemInputMethodRequested_data();
    void systemInputMethodRequested();
    void systemInputMethodShowsItself_data();
    void systemInputMethodShowsItself();
    void systemInputMethodOwnsTheModeKey();
    void systemInputMethodMessages();
    void systemInputMethodTypesIntoControl();
    void focusLossCommitsOwnComposition();
    void focusLossWithSystemPreeditKeepsIt();
    void repeatedCommitAfterFocusInIgnored();
    void systemCommitEchoes_data();
    void systemCommitEchoes();
    void completeCommitsWhatIsComposed();
    void clickIntoOtherControlTypesOnce();
    void focusTakenByEndHandler();
    void focusLostWhileCommitting_data();
    void focusLostWhileCommitting();
    void widgetTypesHangulFromKeys();
    void virtualKeys_data();
    void virtualKeys();
};

void TestHangulInput::messageOrder_data()
{
    QTest::addColumn<bool>("native");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("log");
    QTest::newRow("one syllable") << true << "gks"
                                  << "scㅎc하c한";
    QTest::newRow("commit before the next syllable") << true << "gksrmf"
                                                     << "scㅎc하c한i한cㄱc그c글";
    QTest::newRow("final moves on") << true << "gksk"
                                    << "scㅎc하c한i하c나";
    QTest::newRow("blank ends the syllable, then the key") << true << "gk "
                                                           << "scㅎc하i하ek32";
    QTest::newRow("digit ends the syllable") << true << "r1"
                                             << "scㄱiㄱek1";
    QTest::newRow("backspace inside the syllable") << true << "gks\b\b\b"
                                                   << "scㅎc하c한c하cㅎe";
    QTest::newRow("backspace with nothing composed") << true << "\b"
                                                     << "k8";
    QTest::newRow("enter ends the syllable") << true << "rk\r"
                                             << "scㄱc가i가ek13";
    QTest::newRow("english") << false << "Hi 1\r"
                             << "kHkik32k1k13";
    QTest::newRow("delete ends the syllable and types nothing") << true << "rk\x7f"
                                                                << "scㄱc가i가e";
    QTest::newRow("delete in english types nothing") << false << "a\x7f"
                                                     << "ka";
}

void TestHangulInput::messageOrder()
{
    QFETCH(bool, native);
    QFETCH(QString, keys);
    TRecorder r;
    TInputContext ic(r);
    ic.SetConversionMode(native ? IME_CMODE_NATIVE : IME_CMODE_ALPHANUMERIC);
    r.Log.clear();
    Press(ic, keys);
    QTEST(r.Log, "log");
}

void TestHangulInput::shiftFromModifiersNotCapsLock_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("composed");
    QTest::newRow("caps lock alone") << "R" << false << "ㄱ";
    QTest::newRow("shift") << "R" << true << "ㄲ";
    QTest::newRow("shift with caps lock") << "r" << true << "ㄲ";
    QTest::newRow("plain") << "r" << false << "ㄱ";
}

void TestHangulInput::shiftFromModifiersNotCapsLock()
{
    QFETCH(QString, text);
    QFETCH(bool, shift);
    TRecorder r;
    TInputContext ic(r);
    ic.SetConversionMode(IME_CMODE_NATIVE);
    r.Log.clear();
    ic.KeyPress(Key(QEvent::KeyPress, Qt::Key_R, text, shift ? Qt::ShiftModifier : Qt::NoModifier));
    QFETCH(QString, composed);
    QCOMPARE(r.Log, QStringLiteral("sc") + composed);
}

void TestHangulInput::modeKeys_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<int>("toggles");
    // h: Hangul key, H: its auto-repeat, a/A: Right Alt down/up, x: a letter.
    QTest::newRow("hangul key") << "h" << 1;
    QTest::newRow("hangul key twice") << "hh" << 2;
    QTest::newRow("hangul key held") << "hHHH" << 1;
    QTest::newRow("right alt alone") << "aA" << 1;
    QTest::newRow("right alt with a letter") << "axA" << 0;
    QTest::newRow("right alt held with repeats") << "aaaA" << 1;
}

void TestHangulInput::modeKeys()
{
    QFETCH(QString, sequence);
    QFETCH(int, toggles);
    TRecorder r;
    TInputContext ic(r);
    bool held = false;
    for (QChar step : sequence) {
        if (step == u'h' || step == u'H') {
            ic.KeyPress(QKeyEvent(QEvent::KeyPress, Qt::Key_Hangul, Qt::NoModifier, 0, 0, 0, QString(), step == u'H'));
        } else if (step == u'a') {
            QKeyEvent e(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier, 108, 0, 0, QString(), held);
            ic.KeyPress(e);
            held = true;
        } else if (step == u'A') {
            ic.KeyRelease(Key(QEvent::KeyRelease, Qt::Key_Alt, QString(), Qt::NoModifier, 108));
            held = false;
        } else {
            ic.KeyPress(Key(QEvent::KeyPress, Qt::Key_X, QStringLiteral("x"), Qt::AltModifier));
        }
    }
    QCOMPARE(int(r.Log.count(u'n')), toggles);
    QCOMPARE(ic.ConversionMode(), toggles % 2 ? IME_CMODE_NATIVE : IME_CMODE_ALPHANUMERIC);
    // Alt+x is a command: no character.
    QVERIFY(!r.Log.contains(u'k'));
}

void TestHangulInput::settingTheModeCommitsAndNotifies()
{
    TPracticeFixture t(QStringLiteral("가나다"));
    Press(t.C.InputContext(), QStringLiteral("rk"));
    QVERIFY(t.C.IsComposing());
    t.Lang = 0;
    t.C.SetTypingLang(tlEng);
    QCOMPARE(t.Typed(), QStringLiteral("가"));
    QVERIFY(!t.C.IsComposing());
    QCOMPARE(t.C.TypingLang(), tlEng);
    QCOMPARE(t.Lang, 1);
    t.C.SetTypingLang(tlEng); // no change, no notification
    QCOMPARE(t.Lang, 1);
    Press(t.C.InputContext(), QStringLiteral("sk"));
    QCOMPARE(t.Typed(), QStringLiteral("가sk"));
}

void TestHangulInput::errorsWhileComposing_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("typed");
    QTest::newRow("right word") << "한글" << true << "gksrmf" << 0 << "한";
    QTest::newRow("right once the next letter commits") << "가나" << true << "rksk" << 0 << "가";
    QTest::newRow("wrong vowel, then back inside the syllable") << "가" << true << "rj\b" << 1 << "";
    QTest::newRow("each letter added to a wrong syllable") << "가" << true << "rjs" << 2 << "";
    QTest::newRow("replaced letter sounds again") << "가" << true << "rj\bj" << 2 << "";
    QTest::newRow("wrong syllable committed sounds once more") << "가나" << true << "rjsk" << 3 << "거";
    QTest::newRow("check off: only the commit") << "가나" << false << "rjsk" << 1 << "거";
    QTest::newRow("check off, right") << "한글" << false << "gksrmf" << 0 << "한";
    QTest::newRow("lone vowel") << "아" << true << "k" << 1 << "";
}

void TestHangulInput::errorsWhileComposing()
{
    QFETCH(QString, problem);
    QFETCH(bool, check);
    QFETCH(QString, keys);
    TPracticeFixture t(problem, check);
    Press(t.C.InputContext(), keys);
    QTEST(t.Errors, "errors");
    QTEST(t.Typed(), "typed");
}

void TestHangulInput::cleanup()
{
    TSystemInputMethod::ResetForTesting(false);
}

void TestHangulInput::systemInputMethodRequested_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("modules");
    QTest::addColumn<bool>("requested");
    QTest::newRow("ibus on X11") << "xcb"
                                 << "ibus"
                                 << "" << true;
    QTest::newRow("fcitx5 on X11") << "xcb"
                                   << "fcitx5"
                                   << "" << true;
    QTest::newRow("nothing on X11: Qt's composer") << "xcb"
                                                   << ""
                                                   << "" << false;
    QTest::newRow("none") << "xcb"
                          << "none"
                          << "" << false;
    QTest::newRow("compose") << "xcb"
                             << "Compose"
                             << "" << false;
    QTest::newRow("list, first entry") << "xcb"
                                       << ""
                                       << ";fcitx;ibus" << true;
    QTest::newRow("list wins over the single module") << "xcb"
                                                      << "ibus"
                                                      << "none" << false;
    QTest::newRow("nothing on Wayland: the compositor's") << "wayland"
                                                          << ""
                                                          << "" << true;
    QTest::newRow("none on Wayland") << "wayland-egl"
                                     << "none"
                                     << "" << false;
    QTest::newRow("offscreen") << "offscreen"
                               << "ibus"
                               << "" << false;
}

void TestHangulInput::systemInputMethodRequested()
{
    QFETCH(QString, platform);
    QFETCH(QString, module);
    QFETCH(QString, modules);
    QTEST(TSystemInputMethod::Requested(platform, module, modules), "requested");
}

void TestHangulInput::systemInputMethodShowsItself_data()
{
    QTest::addColumn<bool>("requested");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<QString>("log");
    const QString own = QStringLiteral("scㅎc하c한");
    const QString passedOn = QStringLiteral("kgkkks");
    QTest::newRow("asked for, not seen yet") << true << "" << own;
    QTest::newRow("empty event at focus-in (ibus)") << true << "empty" << passedOn;
    QTest::newRow("a preedit") << true << "preedit" << passedOn;
    QTest::newRow("its language reported (fcitx5)") << true << "language" << passedOn;
    QTest::newRow("a commit alone (Qt's dead keys)") << true << "commit" << own;
    QTest::newRow("not asked for, a preedit") << false << "preedit" << own;
}

void TestHangulInput::systemInputMethodShowsItself()
{
    QFETCH(bool, requested);
    QFETCH(QString, sign);
    TSystemInputMethod::ResetForTesting(requested);
    TRecorder r;
    TInputContext ic(r);
    ic.SetConversionMode(IME_CMODE_NATIVE);
    if (sign == QLatin1String("empty")) {
        ic.InputMethod(QInputMethodEvent());
    } else if (sign == QLatin1String("preedit")) {
        ic.InputMethod(*Preedit(QStringLiteral("ㅎ")));
        ic.InputMethod(*Preedit(QString()));
    } else if (sign == QLatin1String("commit")) {
        ic.InputMethod(*Commit(QString(QChar(0xE9))));
    } else if (sign == QLatin1String("language")) {
        emit QGuiApplication::inputMethod()->localeChanged();
    }
    r.Log.clear();
    Press(ic, QStringLiteral("gks"));
    QTEST(r.Log, "log");
}

// ibus-hangul or fcitx5-hangul composes 한, takes the Hangul key to switch to Latin (committing the
// syllable) and passes the next keys on: they are typed as they are, not composed a second time.
void TestHangulInput::systemInputMethodOwnsTheModeKey()
{
    TSystemInputMethod::ResetForTesting(true);
    TPracticeFixture t(QStringLiteral("한abc 다"));
    QApplication::sendEvent(&t.C, std::make_unique<QInputMethodEvent>().get()); // focus-in
    for (const char16_t* p : {u"ㅎ", u"하", u"한"})
        QApplication::sendEvent(&t.C, Preedit(QString::fromUtf16(p)).get());
    QApplication::sendEvent(&t.C, Preedit(QString()).get());
    QApplication::sendEvent(&t.C, Commit(QStringLiteral("한")).get());
    QTest::keyClicks(&t.C, QStringLiteral("abc "));
    QCOMPARE(t.Typed(), QStringLiteral("한abc "));
    QVERIFY(!t.C.IsComposing());
    QCOMPARE(t.Errors, 0);
}

void TestHangulInput::systemInputMethodMessages()
{
    TRecorder r;
    TInputContext ic(r);
    // What ibus-hangul sends for "gksrmf".
    for (const char16_t* p : {u"ㅎ", u"하", u"한", u""})
        ic.InputMethod(*Preedit(QString::fromUtf16(p)));
    ic.InputMethod(*Commit(QStringLiteral("한")));
    for (const char16_t* p : {u"ㄱ", u"그", u"글"})
        ic.InputMethod(*Preedit(QString::fromUtf16(p)));
    QCOMPARE(r.Log, QStringLiteral("scㅎc하c한ei한scㄱc그c글"));
    // Commit and new preedit in one event: the commit first.
    r.Log.clear();
    QInputMethodEvent both(QStringLiteral("ㄴ"), {});
    both.setCommitString(QStringLiteral("글"));
    ic.InputMethod(both);
    QCOMPARE(r.Log, QStringLiteral("i글cㄴ"));
}

void TestHangulInput::systemInputMethodTypesIntoControl()
{
    TPracticeFixture t(QStringLiteral("한글"));
    for (const char16_t* p : {u"ㅎ", u"하", u"한", u""})
        QApplication::sendEvent(&t.C, Preedit(QString::fromUtf16(p)).get());
    QApplication::sendEvent(&t.C, Commit(QStringLiteral("한")).get());
    for (const char16_t* p : {u"ㄱ", u"그", u"글"})
        QApplication::sendEvent(&t.C, Preedit(QString::fromUtf16(p)).get());
    QCOMPARE(t.Typed(), QStringLiteral("한"));
    QVERIFY(t.C.IsComposing());
    QCOMPARE(t.C.ComposingChar(), u'글');
    QCOMPARE(t.Errors, 0);
}

void TestHangulInput::focusLossCommitsOwnComposition()
{
    TFocusWindow w(QStringLiteral("한글"));
    QVERIFY(w.Show());
    TSentencePractice* c = w.C;
    QLineEdit* other = w.Other;
    QTest::keyClicks(c, QStringLiteral("gksrmf"));
    QCOMPARE(c->Sentences()[0]->typed, QStringLiteral("한"));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(c->Sentences()[0]->typed, QStringLiteral("한글"));
    QVERIFY(!c->IsComposing());
    QVERIFY(other->text().isEmpty());
    c->setFocus();
    QTRY_VERIFY(c->hasFocus());
    QCOMPARE(c->Sentences()[0]->typed, QStringLiteral("한글"));
}

void TestHangulInput::focusLossWithSystemPreeditKeepsIt()
{
    TRecorder r;
    TInputContext ic(r);
    ic.FocusIn();
    ic.InputMethod(*Preedit(QStringLiteral("하")));
    ic.FocusOut();
    QCOMPARE(r.Log, QStringLiteral("sc하i하e"));
    QVERIFY(!ic.IsComposing());
}

// ibus commits the syllable to the control losing the focus and may deliver the same commit to the
// control that gains it.
void TestHangulInput::repeatedCommitAfterFocusInIgnored()
{
    TRecorder a, b;
    TInputContext first(a), second(b);
    first.FocusIn();
    first.InputMethod(*Preedit(QStringLiteral("한")));
    first.InputMethod(*Commit(QStringLiteral("한"))); // before the focus-out
    first.FocusOut();
    second.FocusIn();
    second.InputMethod(*Commit(QStringLiteral("한")));
    QCOMPARE(a.Log, QStringLiteral("sc한i한e"));
    QCOMPARE(b.Log, QString());
    // Typing goes on normally in the new control.
    second.InputMethod(*Preedit(QStringLiteral("ㄱ")));
    second.InputMethod(*Preedit(QString()));
    second.InputMethod(*Commit(QStringLiteral("ㄱ")));
    QCOMPARE(b.Log, QStringLiteral("scㄱeiㄱ"));
}

void TestHangulInput::systemCommitEchoes_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("logA");
    QTest::addColumn<QString>("logB");
    // Steps on two contexts A and B (upper case: B): f/F focus in, o/O focus out, pX preedit X, cX commit X,
    // z an event with neither, ! Complete(). The sequences are what ibus-hangul sends; after a commit that
    // was asked for (a focus change, Complete) it sends the same commit once more from its reset.
    QTest::newRow("complete, then the echo") << "f pㅎ p하 p한 ! z c한 z"
                                             << "scㅎc하c한i한e"
                                             << "";
    QTest::newRow("click into the other control") << "f pㄱ p가 c가 o F Z C가 Z"
                                                  << "scㄱc가i가e"
                                                  << "";
    QTest::newRow("and back again") << "f pㄱ p가 c가 o F Z C가 Z Pㄴ P나 C나 O f z c나 z"
                                    << "scㄱc가i가e"
                                    << "scㄴc나i나e";
    QTest::newRow("ordinary commit after focus-in is typed") << "f pㅎ p하 p한 z c한"
                                                             << "scㅎc하c한ei한"
                                                             << "";
    QTest::newRow("no echo: typing goes on") << "f p가 ! pㄴ p나 z c나"
                                             << "sc가i가escㄴc나ei나"
                                             << "";
}

void TestHangulInput::systemCommitEchoes()
{
    QFETCH(QString, script);
    TRecorder a, b;
    TInputContext first(a), second(b);
    for (const QString& step : script.split(u' ')) {
        const bool onB = step[0].isUpper();
        TInputContext& ic = onB ? second : first;
        const QString text = step.mid(1);
        switch (step[0].toLower().unicode()) {
        case u'f':
            ic.FocusIn();
            break;
        case u'o':
            ic.FocusOut();
            break;
        case u'p':
            ic.InputMethod(*Preedit(text));
            break;
        case u'c':
            ic.InputMethod(*Commit(text));
            break;
        case u'z':
            ic.InputMethod(QInputMethodEvent());
            break;
        case u'!':
            ic.Complete();
            break;
        }
    }
    QTEST(a.Log, "logA");
    QTEST(b.Log, "logB");
}

void TestHangulInput::completeCommitsWhatIsComposed()
{
    TRecorder r;
    TInputContext ic(r);
    ic.SetConversionMode(IME_CMODE_NATIVE);
    Press(ic, QStringLiteral("gks"));
    r.Log.clear();
    ic.Complete();
    QCOMPARE(r.Log, QStringLiteral("i한e"));
    ic.Complete();
    QCOMPARE(r.Log, QStringLiteral("i한e"));
    Press(ic, QStringLiteral("r"));
    QCOMPARE(r.Log, QStringLiteral("i한escㄱ"));
}

// The same through two controls of one window whose focus moves while a syllable is composed.
void TestHangulInput::clickIntoOtherControlTypesOnce()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* a = new TSentencePractice;
    auto* b = new TSentencePractice;
    layout->addWidget(a);
    layout->addWidget(b);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    a->setFocus();
    QTRY_VERIFY(a->hasFocus());
    QApplication::sendEvent(a, Preedit(QStringLiteral("우")).get());
    QApplication::sendEvent(a, Commit(QStringLiteral("우")).get());
    QTest::mouseClick(b, Qt::LeftButton);
    QTRY_VERIFY(b->hasFocus());
    QApplication::sendEvent(b, Commit(QStringLiteral("우")).get());
    QCOMPARE(a->Sentences()[0]->typed, QStringLiteral("우"));
    QCOMPARE(b->Sentences()[0]->typed, QString());
    QApplication::sendEvent(b, Preedit(QStringLiteral("ㄹ")).get());
    QApplication::sendEvent(b, Preedit(QStringLiteral("리")).get());
    QApplication::sendEvent(b, Commit(QStringLiteral("리")).get());
    QCOMPARE(b->Sentences()[0]->typed, QStringLiteral("리"));
}

// The key that ends a set also begins the next syllable; a handler that takes the focus (as a message
// box does) must not end the set a second time from inside the first end, nor lose that syllable.
void TestHangulInput::focusTakenByEndHandler()
{
    TFocusWindow w(QStringLiteral("가"));
    QVERIFY(w.Show());
    TSentencePractice* c = w.C;
    QLineEdit* other = w.Other;
    int ended = 0;
    c->SetOnTypingEnded([&](QObject*) {
        ++ended;
        other->setFocus();
        c->SetProblem(0, QStringLiteral("나다라"));
    });
    // 가 fills the line; 나 ends the set as 다 begins.
    QTest::keyClicks(c, QStringLiteral("rkskek"));
    QCOMPARE(ended, 1);
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(c->Sentences()[0]->typed, QStringLiteral("나다"));
    QVERIFY(!c->IsComposing());
    QVERIFY(other->text().isEmpty());
}

void TestHangulInput::focusLostWhileCommitting_data()
{
    QTest::addColumn<bool>("system");
    QTest::addColumn<QString>("log");
    // The focus goes while the first character is committed; everything is committed once, in order.
    QTest::newRow("own composer") << false << "scㄱc가c간i가c나i나e";
    QTest::newRow("system commit of the shown preedit") << true << "sc가i가e";
}

void TestHangulInput::focusLostWhileCommitting()
{
    QFETCH(bool, system);
    TRecorder r;
    TInputContext ic(r);
    ic.SetConversionMode(IME_CMODE_NATIVE);
    ic.FocusIn();
    r.Log.clear();
    r.OnChar = [&] { ic.FocusOut(); };
    if (system) {
        ic.InputMethod(*Preedit(QStringLiteral("가")));
        ic.InputMethod(*Commit(QStringLiteral("가")));
    } else {
        Press(ic, QStringLiteral("rksk"));
    }
    QTEST(r.Log, "log");
    QVERIFY(!ic.IsComposing());
}

void TestHangulInput::widgetTypesHangulFromKeys()
{
    TSentencePractice c;
    c.SetSentenceCount(1);
    c.SetProblem(0, QStringLiteral("한글"));
    c.SetCheckComposingChar(true);
    c.SetTypingLang(tlNative);
    int errors = 0;
    c.SetOnTypingError([&](QObject*) { ++errors; });
    QTest::keyClicks(&c, QStringLiteral("gksrmf"));
    QCOMPARE(c.Sentences()[0]->typed, QStringLiteral("한"));
    QCOMPARE(c.ComposingChar(), u'글');
    c.InputContext().Complete();
    QCOMPARE(c.Sentences()[0]->typed, QStringLiteral("한글"));
    QCOMPARE(errors, 0);
    // The Hangul key switches to English.
    QKeyEvent hangul(QEvent::KeyPress, Qt::Key_Hangul, Qt::NoModifier);
    QApplication::sendEvent(&c, &hangul);
    QCOMPARE(c.TypingLang(), tlEng);
}

void TestHangulInput::virtualKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<int>("vk");
    QTest::addColumn<int>("vkEx");
    QTest::newRow("letter by keycode") << int(Qt::Key_Q) << "a" << 0 << 38 << int('A') << int('A');
    QTest::newRow("letter by qt key") << int(Qt::Key_G) << "g" << 0 << 0 << int('G') << int('G');
    QTest::newRow("shifted digit") << int(Qt::Key_Exclam) << "!" << int(Qt::ShiftModifier) << 0 << int('1') << int('1');
    QTest::newRow("shifted symbol") << int(Qt::Key_Question) << "?" << int(Qt::ShiftModifier) << 0 << int(VK_OEM_2)
                                    << int(VK_OEM_2);
    QTest::newRow("keypad digit") << int(Qt::Key_5) << "5" << int(Qt::KeypadModifier) << 0 << int(VK_NUMPAD0 + 5)
                                  << int(VK_NUMPAD0 + 5);
    QTest::newRow("right shift") << int(Qt::Key_Shift) << "" << 0 << 62 << int(VK_SHIFT) << int(VK_RSHIFT);
    QTest::newRow("right alt") << int(Qt::Key_Alt) << "" << 0 << 108 << int(VK_MENU) << int(VK_RMENU);
    QTest::newRow("hangul key") << int(Qt::Key_Hangul) << "" << 0 << 108 << int(VK_HANGUL) << int(VK_HANGUL);
    QTest::newRow("escape") << int(Qt::Key_Escape) << "" << 0 << 0 << int(VK_ESCAPE) << int(VK_ESCAPE);
    QTest::newRow("space by keycode") << int(Qt::Key_Space) << " " << 0 << 65 << int(VK_SPACE) << int(VK_SPACE);
    QTest::newRow("unknown") << int(Qt::Key_Launch0) << "" << 0 << 0 << int(VK_UNKNOWN) << int(VK_UNKNOWN);
}

void TestHangulInput::virtualKeys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(int, scanCode);
    const QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), quint32(scanCode), 0, 0, text);
    QTEST(VirtualKeyOf(e), "vk");
    QTEST(VirtualKeyExOf(e), "vkEx");
    QVERIFY(VirtualKeyOf(e) != 0);
}

QTEST_MAIN(TestHangulInput)
#include "tst_hangulinput.moc"
