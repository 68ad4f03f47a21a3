// The platform layer's small pieces: colours, the application's default failure handler, fonts, timers.
#include "platform/Application.h"
#include "platform/Color.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Forms.h"
#include "platform/HtmlHelp.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/Timer.h"
#include "tests/support/MessageBoxLog.h"

#include <QDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>
#include <QtTest>

namespace {

class TThrowing : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) throw Exception(QStringLiteral("연습할 글을 선택하세요."));
        return QObject::event(e);
    }
};
} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    // A setup dialog runs modally; the help it opens must still scroll, or the learner reads one screen of it.
    // A dialog that stays on top (the game's) must not cover it either.
    void helpOpenedFromAModalDialogTakesInput_data()
    {
        QTest::addColumn<bool>("stayOnTop");
        QTest::newRow("plain dialog") << false;
        QTest::newRow("dialog that stays on top") << true;
    }
    void helpOpenedFromAModalDialogTakesInput()
    {
        QFETCH(bool, stayOnTop);
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/help"));
        QFile page(dir.path() + QStringLiteral("/help/t.htm"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        for (int i = 0; i < 300; ++i)
            page.write("<p>line</p>\n");
        page.close();

        TForm dialog;
        dialog.SetClientSize(200, 100);
        if (stayOnTop) dialog.SetFormStyle(TFormStyle::fsStayOnTop);
        int scrolled = -1;
        bool helpOnTop = false;
        QTimer::singleShot(0, &dialog, [&] {
            HtmlHelpDisplayTopic(&dialog, dir.path() + QStringLiteral("/zavlin.chm"), QStringLiteral("t.htm"));
            QTextBrowser* browser = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible()) browser = b;
            if (browser) {
                QVERIFY(QTest::qWaitForWindowExposed(browser));
                QTest::mouseClick(browser->windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
                QTest::keyClick(browser->windowHandle(), Qt::Key_End);
                scrolled = browser->verticalScrollBar()->value();
                helpOnTop = browser->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                browser->close();
            }
            dialog.Close();
        });
        dialog.ShowModal();
        QVERIFY(scrolled > 0);
        QCOMPARE(helpOnTop, stayOnTop);
    }
    void colorToRgb_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<TColor>("rgb");
        QTest::newRow("plain colour") << RGB(1, 2, 3) << RGB(1, 2, 3);
        QTest::newRow("window text") << clWindowText << RGB(0, 0, 0);
        QTest::newRow("button face") << clBtnFace << RGB(240, 240, 240);
        QTest::newRow("window") << clWindow << RGB(255, 255, 255);
        QTest::newRow("high byte other than $FF dropped") << TColor(0x02112233) << TColor(0x112233);
        QTest::newRow("unknown system index") << SystemColor(200) << clBlack;
    }
    void colorToRgb()
    {
        QFETCH(TColor, color);
        QFETCH(TColor, rgb);
        QCOMPARE(ColorToRGB(color), rgb);
    }

    void failureInAHandlerIsShownNotThrown()
    {
        SetMessageBoxHook(RecordBox);
        TApplication::SetTitle(QStringLiteral("Vornix 타자연습"));
        TThrowing target;
        QEvent event(QEvent::User);
        QVERIFY(QCoreApplication::sendEvent(&target, &event));
        QCOMPARE(gBoxes, QStringList{QStringLiteral("Vornix 타자연습:연습할 글을 선택하세요.")});
        SetMessageBoxHook(nullptr);
    }

    void messageBoxBreaksLinesAtCharacter13()
    {
        SetMessageBoxHook(RecordBox);
        gBoxes.clear();
        MessageBox(nullptr, QStringLiteral("첫 줄\r둘째 줄"), QStringLiteral("확인"), MB_OK | MB_ICONINFORMATION);
        QCOMPARE(gBoxes, QStringList{QStringLiteral("확인:첫 줄\n둘째 줄")});
        SetMessageBoxHook(nullptr);
    }

    // A short message ("Game Over!!!") must not make a box so narrow that the frame cuts its caption to "V...".
    void aShortMessageLeavesRoomForItsCaption()
    {
        const QString caption = QStringLiteral("Vornix 타자연습");
        int width = 0;
        QTimer::singleShot(0, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                width = box->width();
                box->close();
            }
        });
        MessageBox(nullptr, QStringLiteral("Game Over!!!\r\rGame Over!!!"), caption, MB_OK);
        // The frame puts an icon left of the caption and up to three buttons right of it.
        const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
        QVERIFY2(width >= fm.horizontalAdvance(caption) + 100, qPrintable(QString::number(width)));
    }

    void koreanFontNamesResolveToInstalledFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::newRow("굴림체") << "굴림체"
                                << "NanumGothicCoding";
        QTest::newRow("돋움") << "돋움"
                              << "NanumGothic";
        QTest::newRow("바탕") << "바탕"
                              << "NanumMyeongjo";
        QTest::newRow("Tahoma") << "Tahoma"
                                << "DejaVu Sans";
    }
    void koreanFontNamesResolveToInstalledFonts()
    {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFont font(name);
        QCOMPARE(QFontInfo(font).family(), family);
    }

    void timerKeepsRunningWhenEnabledAgainOrGivenTheSameInterval()
    {
        TTimer timer;
        timer.SetInterval(60);
        int ticks = 0;
        QElapsedTimer clock;
        clock.start();
        timer.SetOnTimer([&](QObject*) { ++ticks; });
        QTest::qWait(40);
        timer.SetEnabled(true); // already enabled: no restart
        timer.SetInterval(60);  // same interval: no restart
        QVERIFY(QTest::qWaitFor([&] { return ticks > 0; }, 1000));
        QVERIFY2(clock.elapsed() < 95, qPrintable(QString::number(clock.elapsed())));
        timer.SetEnabled(false);
        const int seen = ticks;
        QTest::qWait(100);
        QCOMPARE(ticks, seen);
    }

    void soundsAreInTheResources_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("click") << "CORRECTKEY" << 10 << 150;
        QTest::newRow("buzz") << "WRONGKEY" << 100 << 400;
        QTest::newRow("thunder") << "THUNDER" << 1200 << 2000;
    }
    void soundsAreInTheResources()
    {
        QFETCH(QString, name);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        QFile file(QStringLiteral(":/sounds/%1.wav").arg(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wav = file.readAll();
        QVERIFY(wav.size() >= 44 && wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE");
        const auto le32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        const int ms = int(qint64(le32(40)) * 1000 / le32(28)); // data size / byte rate
        QVERIFY2(ms >= minMs && ms <= maxMs, qPrintable(QString::number(ms)));
        PlaySoundResource(name); // silent without an audio device, and never blocks
    }

    // A window blocked by a modal dialog that the window system activates anyway hands the activation back to
    // the dialog; a window the dialog does not block keeps it.
    void modalBackToFrontOnActivation_data()
    {
        QTest::addColumn<Qt::WindowModality>("modality");
        QTest::addColumn<bool>("clickOwner");
        QTest::addColumn<bool>("dialogActive");
        QTest::newRow("application modal, its owner clicked") << Qt::ApplicationModal << true << true;
        QTest::newRow("application modal, another window clicked") << Qt::ApplicationModal << false << true;
        QTest::newRow("window modal, its owner clicked") << Qt::WindowModal << true << true;
        QTest::newRow("window modal, another window clicked") << Qt::WindowModal << false << false;
    }
    void modalBackToFrontOnActivation()
    {
        QFETCH(Qt::WindowModality, modality);
        QFETCH(bool, clickOwner);
        QWidget owner, other;
        owner.setWindowTitle(QStringLiteral("owner"));
        other.setWindowTitle(QStringLiteral("other"));
        owner.show();
        other.show();
        QDialog dialog(&owner);
        dialog.setWindowModality(modality);
        dialog.show();
        dialog.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        // The owner's own activation from its show may still come, and be handed back to the dialog: let it.
        QTest::qWait(100);
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        QWidget* clicked = clickOwner ? &owner : &other;
        // Counts the activations the dialog gets back after the click.
        struct TActivations : QObject
        {
            int Count = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::WindowActivate) ++Count;
                return false;
            }
        } back;
        dialog.installEventFilter(&back);
        // As a compositor does: the activation goes to the clicked window, past the modal dialog.
        clicked->windowHandle()->requestActivate();
        QTest::qWait(100);
        QFETCH(bool, dialogActive);
        if (dialogActive) {
            // Waited for: a busy machine may deliver the activation late.
            QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        } else {
            // A window the dialog does not block keeps what it was given (the platform may also refuse to
            // give it, but the dialog never takes the activation back).
            QTest::qWait(200);
            QCOMPARE(back.Count, 0);
        }
    }

    // Under Wayland a modal window is shown again when a window it blocks is activated, which maps it anew on
    // top: whether the compositor refused the activation (sway's default makes it an urgency hint) or gave it
    // the keys but left it under the window clicked. Its modal run goes on, its own show and hide handlers do
    // not run, and the activation its own hide hands to the blocked window does not show it again (no
    // flicker). Elsewhere nothing is shown again.
    void modalShownAgainUnderWayland_data()
    {
        QTest::addColumn<bool>("messageBox");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("wayland");
        QTest::newRow("form, refused") << false << true << true;
        QTest::newRow("message box, refused") << true << true << true;
        QTest::newRow("form, honoured") << false << false << true;
        QTest::newRow("form, not under Wayland") << false << false << false;
    }
    void modalShownAgainUnderWayland()
    {
        QFETCH(bool, messageBox);
        QFETCH(bool, refused);
        QFETCH(bool, wayland);
        auto* installed = qApp->findChild<TModalKeeper*>();
        QVERIFY(installed);
        qApp->removeEventFilter(installed);
        const auto restore = qScopeGuard([installed] { qApp->installEventFilter(installed); });
        TModalKeeper keeper(nullptr, wayland);
        keeper.ShowAgainAfterMs = 50;
        if (refused) keeper.Activate = [](QWidget*) {};
        qApp->installEventFilter(&keeper);

        QWidget owner;
        owner.setWindowTitle(QStringLiteral("owner"));
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        TForm form(&owner);
        int handlers = 0;
        form.OnShow = [&](QObject*) { ++handlers; };
        form.OnHide = [&](QObject*) { ++handlers; };
        // Counts the window's shows; as a compositor does, a hidden window's activation goes to the one below.
        struct TShows : QObject
        {
            QWidget* Below = nullptr;
            int Count = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Show) ++Count;
                if (e->type() == QEvent::Hide) Below->windowHandle()->requestActivate();
                return false;
            }
        } shows;
        shows.Below = &owner;
        // Driven from timers, not from inside the run: a run that ended at the hide must be seen to have ended.
        bool returned = false, stillRunning = false, done = false;
        QPointer<QWidget> modal;
        QTimer poll;
        int step = 0, ticks = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ++ticks;
            if (step == 0 && (modal = QApplication::activeModalWidget())) {
                modal->installEventFilter(&shows);
                modal->activateWindow();
                step = 1;
            } else if (step == 1 && modal && QApplication::activeWindow() == modal) {
                // As a compositor does: the click activates the blocked window, past the modal one.
                owner.windowHandle()->requestActivate();
                ticks = 0;
                step = 2;
            } else if (step == 2 && (shows.Count > 0 || ticks > (wayland ? 250 : 25))) {
                ticks = 0;
                step = 3;
            } else if (step == 3 && ticks > 40) { // long enough for a second show, were there one
                stillRunning = !returned && modal && modal->isVisible() && QApplication::activeModalWidget() == modal;
                if (auto* box = qobject_cast<QMessageBox*>(modal.data()))
                    box->buttons().first()->click();
                else if (modal)
                    form.SetModalResult(mrOk);
                done = true;
                poll.stop();
            }
        });
        poll.start(20);
        const int handlersBefore = handlers;
        const int result = messageBox
                               ? MessageBox(&owner, QStringLiteral("Game Over!!!"), QStringLiteral("확인"), MB_OK)
                               : form.ShowModal();
        returned = true;
        QTRY_VERIFY(done);
        QVERIFY(stillRunning);
        QCOMPARE(result, messageBox ? IDOK : int(mrOk));
        QCOMPARE(handlers, handlersBefore + (messageBox ? 0 : 2)); // the run's own show and hide only
        QCOMPARE(shows.Count, wayland ? 1 : 0);
    }

    void seededRandomRepeats()
    {
        RandSeed(42);
        QList<int> first;
        for (int i = 0; i < 10; ++i)
            first << Random(12);
        RandSeed(42);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(Random(12), first[i]);
        QCOMPARE(Random(0), 0);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_platform.moc"
