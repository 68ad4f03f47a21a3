// The game's setup dialog and window: choices read and stored, a failed save, Esc, typing a word through
// the input box, the level-up notice, the end of a game, the timers after closing, the board's picture.
#include "tests/support/TestSupport.h"

#include "components/BorderLabel.h"
#include "components/EllipseAnnBtn.h"
#include "engine/VornixMisc.h"
#include "game/GameSetUpUnit.h"
#include "game/GameUnit.h"
#include "game/NameUnit.h"
#include "game/ScoreUnit.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Edit.h"
#include "platform/ListCtrls.h"
#include "platform/PracticeWindows.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/StdCtrls.h"
#include "platform/Timer.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

namespace {
struct TShownBox
{
    QString Text, Caption;
};
QList<TShownBox> gBoxes;
// The modal windows of the end of a game, in the order they came.
QStringList gSeen;
// Run inside the next message box, as if the user did it while the box is up.
std::function<void()> gDuringBox;

int AnswerBox(const QString& text, const QString& caption, unsigned)
{
    gBoxes << TShownBox{text, caption};
    gSeen << QStringLiteral("notice");
    if (gDuringBox) {
        auto action = std::move(gDuringBox);
        gDuringBox = nullptr;
        action();
    }
    return IDOK;
}

// The first word on the board that stands in one slot only, and that slot.
int SingleWordSlot(TGameForm* game)
{
    const QStringList words = game->BoardWords();
    for (int i = 0; i < words.size(); ++i)
        if (!words[i].isEmpty() && words.count(words[i]) == 1) return i + 1;
    return 0;
}

// Places words until one stands alone on the board; returns it.
QString PlaceSingleWord(TGameForm* game)
{
    for (int k = 0; k < 50; ++k) {
        if (const int slot = SingleWordSlot(game)) return game->BoardWords()[slot - 1];
        game->ProblemClockTimer(nullptr);
    }
    return QString();
}
} // namespace

class TestGame : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FTemp;
    QStringList FSounds;
    // Answers the name dialog with "Tester" and closes the high-score window, as a player would.
    QTimer FModalWatcher;
    QString IniPath() const { return ProgramFolder + QStringLiteral("Zavlin.ini"); }

    // A game started from the setup dialog with these choices.
    TGameForm* StartGame(int level, bool english, int rotation = 0)
    {
        auto* setup = new TGameSetUpForm();
        setup->LevelGroup->SetItemIndex(level - 1);
        setup->LanguageGroup->SetItemIndex(english ? 1 : 0);
        setup->RotGroup->SetItemIndex(rotation);
        setup->OkBtnClick(setup->OkBtn);
        return GameForm;
    }

private slots:
    void initTestCase()
    {
        // Answers the end-of-game dialogs as a player would; connected once, started per test.
        FModalWatcher.setInterval(20);
        FModalWatcher.callOnTimeout([] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* name = qobject_cast<TNameForm*>(modal)) {
                gSeen << QStringLiteral("name");
                name->NameEdit->SetText(QStringLiteral("Tester"));
                name->OKBtnClick(name->OkBtn);
            } else if (auto* score = qobject_cast<TScoreForm*>(modal)) {
                gSeen << QStringLiteral("score");
                score->Close();
            }
        });
    }

    void init()
    {
        CloseSettings();
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = FTemp->path() + u'/';
        gBoxes.clear();
        gSeen.clear();
        gDuringBox = nullptr;
        FModalWatcher.start();
        SetMessageBoxHook(AnswerBox);
        FSounds.clear();
        SetSoundHook([this](const QString& name) { FSounds << name; });
        RandSeed(7);
    }
    void cleanup()
    {
        FModalWatcher.stop();
        if (GameForm) delete GameForm.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetMessageBoxHook(nullptr);
        SetSoundHook(nullptr);
        CloseSettings();
    }

    void firstStartShowsTheDefaultsAndStoresThem()
    {
        auto* setup = new TGameSetUpForm();
        QCOMPARE(setup->RotGroup->ItemIndex(), 0);
        QCOMPARE(setup->LevelGroup->ItemIndex(), 0);
        QCOMPARE(setup->LanguageGroup->ItemIndex(), 0);
        QCOMPARE(setup->SpeakerCheckBox->Checked(), false);
        setup->OkBtnClick(setup->OkBtn);
        QVERIFY(GameForm);
        QVERIFY(GameForm->isVisible());
        QCOMPARE(GameForm->Memo1->ConversionMode(), IME_CMODE_NATIVE);
        QCOMPARE(GameForm->Model().GameLevel, 1);
        QCOMPARE(GameForm->ex[0]->Font().Name, QStringLiteral("굴림"));
        QCOMPARE(QString::fromUtf8(ReadAll(IniPath())).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"[clock]", "speaker_off=0", "start_level=0", "Language=0", "rotation=0"}));
        QVERIFY(!SettingsFile);
    }

    void storedChoicesStartTheirGame()
    {
        WriteAll(IniPath(), "[clock]\nspeaker_off=1\nstart_level=4\nLanguage=1\nrotation=2\n");
        auto* setup = new TGameSetUpForm();
        QCOMPARE(setup->LevelGroup->ItemIndex(), 4);
        QCOMPARE(setup->SpeakerCheckBox->Checked(), true);
        setup->OkBtnClick(setup->OkBtn);
        TGameForm* game = GameForm;
        QVERIFY(game);
        QCOMPARE(game->Model().GameLevel, 5);
        QVERIFY(game->Model().EnglishGame);
        QVERIFY(game->Model().SoundOff);
        QCOMPARE(game->Model().Rotation(), TRotation::NoRotation);
        QCOMPARE(game->Memo1->ConversionMode(), IME_CMODE_ALPHANUMERIC);
        QCOMPARE(game->ex[0]->Font().Name, QStringLiteral("MS Sans Serif"));
        QCOMPARE(game->ShowClock->Interval(), 1525);
        QVERIFY(game->ShowClock->Enabled() && game->ProblemClock->Enabled() && !game->PauseTimer->Enabled());
    }

    void storedChoiceThatSelectsNoItemShowsTheDefault()
    {
        WriteAll(IniPath(), "[clock]\nstart_level=12\nLanguage=5\nrotation=-3\n");
        auto* setup = new TGameSetUpForm();
        QCOMPARE(setup->LevelGroup->ItemIndex(), 0);
        QCOMPARE(setup->LanguageGroup->ItemIndex(), 0);
        QCOMPARE(setup->RotGroup->ItemIndex(), 0);
        setup->OkBtnClick(setup->OkBtn);
        QCOMPARE(GameForm->Model().GameLevel, 1);
        QCOMPARE(GameForm->Model().WordLifetime(), 32);
        QCOMPARE(GameForm->Model().P(12), QPoint(0, -179)); // the board is laid out
    }

    void escapeClosesWithoutSavingOrStarting_data()
    {
        QTest::addColumn<bool>("onCheckBox");
        QTest::newRow("dialog") << false;
        QTest::newRow("check box") << true;
    }
    void escapeClosesWithoutSavingOrStarting()
    {
        QFETCH(bool, onCheckBox);
        WriteAll(IniPath(), "[clock]\nstart_level=2\n");
        QPointer<TGameSetUpForm> setup = new TGameSetUpForm();
        setup->Show();
        QVERIFY(QTest::qWaitForWindowExposed(setup));
        QWidget* target = setup;
        if (onCheckBox) {
            setup->SpeakerCheckBox->SetFocus();
            target = setup->SpeakerCheckBox;
        }
        QTest::keyClick(target, Qt::Key_Escape);
        QTRY_VERIFY(!setup);
        QVERIFY(!GameForm);
        QCOMPARE(ReadAll(IniPath()), QByteArray("[clock]\nstart_level=2\n"));
    }

    void failedSettingsWriteIsReportedAndTheGameStarts()
    {
        // A folder where the settings file should be: it reads as empty and refuses every write.
        QVERIFY(QDir().mkdir(IniPath()));
        auto* setup = new TGameSetUpForm();
        setup->OkBtnClick(setup->OkBtn);
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY2(gBoxes[0].Text.contains(QStringLiteral("Zavlin.ini")), qPrintable(gBoxes[0].Text));
        QVERIFY(!SettingsFile);
        QVERIFY(GameForm);
        QVERIFY(GameForm->isVisible());
        QVERIFY(GameForm->ShowClock->Enabled());
    }

    void typedWordClearsItsSlotAndScores()
    {
        TGameForm* game = StartGame(1, true);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        const QString word = PlaceSingleWord(game);
        QVERIFY(!word.isEmpty());
        game->Memo1->SetFocus();
        QTest::keyClicks(game->Memo1, QStringLiteral(" ") + word);
        QTest::keyClick(game->Memo1, Qt::Key_Space);
        QCOMPARE(game->Model().GameScore(), 1 + int(word.size()));
        QCOMPARE(game->ScoreLabel->text(), QString::number(1 + word.size()));
        QVERIFY(!game->BoardWords().contains(word));
        QVERIFY(game->Memo1->Text().isEmpty());
        QCOMPARE(FSounds, QStringList{"CORRECTKEY"});
        // Enter judges too; a word not on the board is wrong.
        QTest::keyClicks(game->Memo1, QStringLiteral("zzz"));
        QTest::keyClick(game->Memo1, Qt::Key_Return);
        QCOMPARE(FSounds, (QStringList{"CORRECTKEY", "WRONGKEY"}));
        QVERIFY(game->Memo1->Text().isEmpty());
    }

    void levelUpDropsTheCompositionAndEmptiesTheBox()
    {
        TGameForm* game = StartGame(1, false);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        while (game->Model().ClearedCount() < 22)
            game->Model().JudgeWord(PlaceSingleWord(game));
        QCOMPARE(game->Model().GameLevel, 1);
        const QString word = PlaceSingleWord(game);
        game->Memo1->SetFocus();
        game->Memo1->SetText(word);
        gDuringBox = [game] {
            // The clocks stand still while the notice is up.
            QVERIFY(!game->ShowClock->Enabled() && !game->ProblemClock->Enabled());
        };
        // A fast typist starts the next syllable before Space is released.
        QTest::keyPress(game->Memo1, Qt::Key_Space);
        QTest::keyClick(game->Memo1, Qt::Key_G);
        QVERIFY(game->Memo1->IsComposing());
        QTest::keyRelease(game->Memo1, Qt::Key_Space);
        QCOMPARE(gBoxes.size(), 1);
        QCOMPARE(gBoxes[0].Text, QStringLiteral("Level - 2"));
        QCOMPARE(gBoxes[0].Caption, QStringLiteral("Level Up"));
        QCOMPARE(game->Model().GameLevel, 2);
        QCOMPARE(game->LevelLabel->text(), QStringLiteral("2"));
        QVERIFY(!game->Memo1->IsComposing());
        QVERIFY(game->Memo1->Text().isEmpty());
        QVERIFY(game->ShowClock->Enabled() && game->ProblemClock->Enabled());
        QCOMPARE(game->ShowClock->Interval(), 1930);
    }

    void windowClosedDuringTheLevelUpNoticeIsLeftAlone()
    {
        QPointer<TGameForm> game = StartGame(1, true);
        while (game->Model().ClearedCount() < 22)
            game->Model().JudgeWord(PlaceSingleWord(game));
        game->Memo1->SetText(PlaceSingleWord(game));
        gDuringBox = [game] {
            game->Close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        QTest::keyClick(game->Memo1, Qt::Key_Space);
        QCOMPARE(gBoxes.size(), 1);
        QTRY_VERIFY(!game);
        QVERIFY(!GameForm);
    }

    void lastLifeEndsWithNoticeNameAndListThenCloses()
    {
        QPointer<TGameForm> game = StartGame(8, true);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        const QString word = PlaceSingleWord(game);
        game->Model().JudgeWord(word);
        QCOMPARE(game->Model().GameScore(), 10 + int(word.size()));
        // A tick that was already on its way while the notice is up ends nothing a second time.
        gDuringBox = [game] {
            game->ShowClockTimer(nullptr);
            game->PauseTimerTimer(nullptr);
        };
        for (int life = 0; life < 9 && gBoxes.isEmpty(); ++life) {
            game->ProblemClockTimer(nullptr);
            for (int t = 0; t < 12 && gBoxes.isEmpty(); ++t)
                game->ShowClockTimer(nullptr);
        }
        QCOMPARE(gBoxes.size(), 1);
        QCOMPARE(gBoxes[0].Text, QStringLiteral("Game Over!!!\n\nGame Over!!!"));
        QCOMPARE(gBoxes[0].Caption, TApplication::Title());
        QCOMPARE(gSeen, (QStringList{"notice", "name", "score"}));
        QTRY_VERIFY(!game);
        QVERIFY(!GameForm);
        QCOMPARE(ReadAll(ProgramFolder + QStringLiteral("cscore.dat")).size(), 91);
    }

    void passingTheLastLevelEndsWithItsNotice()
    {
        QPointer<TGameForm> game = StartGame(8, true);
        while (game->Model().ClearedCount() < 100)
            game->Model().JudgeWord(PlaceSingleWord(game));
        game->Memo1->SetText(PlaceSingleWord(game));
        // Behind the final notice the lives bar still shows the lives left.
        int livesShown = -1, livesLeft = -1;
        gDuringBox = [game, &livesShown, &livesLeft] {
            livesShown = game->ProgressBar1->Position();
            livesLeft = game->Model().Lives();
        };
        QTest::keyClick(game->Memo1, Qt::Key_Space);
        QVERIFY(livesLeft > 0);
        QCOMPARE(livesShown, livesLeft);
        QCOMPARE(gBoxes.size(), 1);
        QCOMPARE(gBoxes[0].Text, QStringLiteral("마지막 레벨까지 해결했습니다.\n'Zorbit'를 완전히 수정했습니다."));
        QCOMPARE(gSeen, (QStringList{"notice", "name", "score"}));
        QTRY_VERIFY(!game);
    }

    void windowReportsItsOpeningAndClosingToTheMenu()
    {
        QSignalSpy opened(&TPracticeWindows::Instance(), &TPracticeWindows::Opened);
        QSignalSpy closed(&TPracticeWindows::Instance(), &TPracticeWindows::Closed);
        QPointer<TGameForm> game = StartGame(1, true);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(closed.size(), 0);
        game->Close();
        QCOMPARE(closed.size(), 1);
        QTRY_VERIFY(!game);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(closed.size(), 1);
    }

    void timersStopWhenTheWindowCloses()
    {
        QPointer<TGameForm> game = StartGame(3, true);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        game->ProblemClockTimer(nullptr);
        QVERIFY(game->ShowClock->Enabled());
        QPointer<TTimer> timers[] = {game->ShowClock, game->ProblemClock, game->PauseTimer};
        game->Close();
        for (const auto& t : timers)
            QVERIFY(!t || !t->Enabled());
        // A tick already on its way finds a closed window and does nothing.
        if (game) {
            for (int k = 0; k < 40; ++k)
                game->ShowClockTimer(nullptr);
            QVERIFY(gBoxes.isEmpty());
        }
        QTRY_VERIFY(!game);
    }

    void statusBarAnnouncesTheSpecialWord()
    {
        TGameForm* game = StartGame(1, true);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        // Yellowish (smoothed) text beyond the two icons at the left.
        const auto yellowText = [game] {
            const QImage bar = game->StatusBar1->grab().toImage();
            int n = 0;
            for (int y = 0; y < bar.height(); ++y)
                for (int x = 40; x < 400; ++x) {
                    const QColor c(bar.pixel(x, y));
                    n += c.red() > 180 && c.green() > 180 && c.blue() < 120;
                }
            return n;
        };
        QCOMPARE(yellowText(), 0);
        for (int k = 0; k < 200 && game->Model().SpecialKind() == TSpecialKind::None; ++k) {
            game->ProblemClockTimer(nullptr);
            if (!game->BoardWords().contains(QString())) game->SetRotation(TRotation::clockwise);
        }
        const TSpecialKind kind = game->Model().SpecialKind();
        QVERIFY(kind != TSpecialKind::None);
        int yellow = 0;
        for (int i = 1; i <= kSlotCount; ++i)
            if (game->Model().Slot(i).Color == clYellow) yellow = i;
        QVERIFY(yellow);
        QCOMPARE(game->ex[yellow - 1]->Color(), clYellow);
        game->Memo1->SetText(game->Model().Slot(yellow).Caption);
        QTest::keyClick(game->Memo1, Qt::Key_Space);
        QCOMPARE(game->StatusBar1->Panel(0)->Text(), SpecialText(kind));
        game->StatusBar1->grab().save(TestOutputFolder() + QStringLiteral("/game_status.png"));
        QVERIFY(yellowText() > 20);
    }

    void boardPictureShowsFigureHandsAndHub()
    {
        TGameForm* game = StartGame(1, true);
        QVERIFY(QTest::qWaitForWindowExposed(game));
        game->Model().Face = TClockFace(); // as at the program's start, whatever earlier games did
        QImage image(game->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            TCanvas canvas;
            canvas.AttachPainter(&painter);
            game->PaintBoard(&canvas);
            canvas.Detach();
        }
        image.save(TestOutputFolder() + QStringLiteral("/game_board.png"));
        QCOMPARE(QColor(image.pixel(230, 160)), QColor(0, 255, 0));   // long hand, pointing up
        QCOMPARE(QColor(image.pixel(255, 157)), QColor(0, 0, 255));   // short hand, toward one o'clock
        QCOMPARE(QColor(image.pixel(222, 200)), QColor(255, 255, 0)); // hub
        // The figure stands at (200, 250) on the window's colour.
        QCOMPARE(QColor(image.pixel(201, 251)), QColor(240, 240, 240));
        int figure = 0;
        for (int y = 250; y < 334; ++y)
            for (int x = 200; x < 270; ++x)
                if (QColor(image.pixel(x, y)) != QColor(240, 240, 240)) ++figure;
        QVERIFY2(figure > 800, qPrintable(QString::number(figure)));
    }
};

QTEST_MAIN(TestGame)
#include "tst_game.moc"
