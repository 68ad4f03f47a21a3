// The clock game's rules: board geometry, timing per level, ageing and lives, word placement and the
// special draw, judging of typed words, score and levels, the special effects and the choices kept in
// the settings.
#include "engine/VornixMisc.h"
#include "game/GameChoices.h"
#include "game/GameModel.h"
#include "game/GameWords.h"
#include "platform/IniFile.h"
#include "platform/Random.h"

#include <QtTest>
#include <deque>

namespace {

// Records what the model asks of its window.
class TFakeHost : public TGameHost
{
public:
    QStringList Sounds;

    void PlayGameSound(const QString& name) override { Sounds << name; }
};

int EnglishIndex(const QString& word)
{
    for (size_t i = 0; i < kEnglishWords.size(); ++i)
        if (QString::fromUtf16(kEnglishWords[i]) == word) return int(i);
    return -1;
}

int KoreanIndex(const QString& word)
{
    for (size_t i = 0; i < kKoreanWords.size(); ++i)
        if (QString::fromUtf16(kKoreanWords[i]) == word) return int(i);
    return -1;
}

// A game whose generator answers from a script and whose clock stands at 09:05:03.
struct TGame
{
    TFakeHost Host;
    std::deque<int> Draws;
    TGameModel Model;
    // The level-up notices the window would show, and the clocks while each is up.
    QList<int> Notices;
    TGameTimers TimersAtNotice;

    explicit TGame(int level = 1, TRotation rot = TRotation::clockwise, bool english = true)
        : Model(
              &Host,
              [this](int n) {
                  int v = 0;
                  if (!Draws.empty()) {
                      v = Draws.front();
                      Draws.pop_front();
                  }
                  if (v >= n) qFatal("scripted draw %d out of range %d", v, n);
                  return v;
              },
              [] { return QTime(9, 5, 3); })
    {
        Model.GameLevel = level;
        Model.EnglishGame = english;
        Model.SetRotation(rot);
        Model.SetTimerInterval();
        Model.Start();
    }

    // One ProblemClock tick that places `word` at the first free slot from `slot`; `draw` is the
    // special draw (16: no special word).
    void Place(const QString& word, int slot, int draw = 16)
    {
        const int w = Model.EnglishGame ? EnglishIndex(word) : KoreanIndex(word);
        QVERIFY2(w >= 0, qPrintable(word));
        Draws.insert(Draws.end(), {draw, w, slot - 1});
        Model.ProblemClockTimer();
    }
    // Judges a word as the window does: each level reached is noticed, then judging goes on.
    TGameEvent Judge(const QString& typed)
    {
        TGameEvent event = Model.JudgeWord(typed);
        while (event == TGameEvent::LevelReached) {
            Notices << Model.GameLevel;
            TimersAtNotice = Model.Timers();
            event = Model.ResumeJudging();
        }
        return event;
    }
    void Ticks(int n)
    {
        for (int k = 0; k < n; ++k)
            Model.ShowClockTimer();
    }
    // Slot of the yellow word, 0 when none.
    int YellowSlot() const
    {
        for (int i = 1; i <= kSlotCount; ++i)
            if (Model.Slot(i).Color == clYellow) return i;
        return 0;
    }
};

} // namespace

class TestGameModel : public QObject
{
    Q_OBJECT

private slots:
    void boardGeometry_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QPoint>("p");
        QTest::addColumn<QPoint>("pp");
        QTest::addColumn<QString>("number");
        struct Row
        {
            QPoint p, pp;
        };
        const Row cw[12] = {{{86, -149}, {280, 113}},  {{149, -86}, {317, 150}},  {{172, 0}, {330, 200}},
                            {{149, 86}, {317, 250}},   {{86, 149}, {280, 287}},   {{0, 179}, {230, 300}},
                            {{-86, 149}, {180, 287}},  {{-149, 86}, {143, 250}},  {{-172, 0}, {130, 200}},
                            {{-149, -86}, {143, 150}}, {{-86, -149}, {180, 113}}, {{0, -179}, {230, 100}}};
        for (int i = 1; i <= 12; ++i)
            QTest::addRow("clockwise %d", i)
                << int(TRotation::clockwise) << i << cw[i - 1].p << cw[i - 1].pp << QString::number(i);
        // Counter-clockwise, slot i stands where the clockwise board has 14 - i; 13 shows as 1.
        for (int i = 1; i <= 12; ++i) {
            const int m = i == 1 ? 1 : 14 - i;
            QTest::addRow("counter-clockwise %d", i)
                << int(TRotation::CounterClockWise) << i << cw[m - 1].p << cw[m - 1].pp << QString::number(m);
        }
        QTest::addRow("no rotation 6") << int(TRotation::NoRotation) << 6 << cw[5].p << cw[5].pp << "6";
    }
    void boardGeometry()
    {
        QFETCH(int, rotation);
        QFETCH(int, slot);
        QFETCH(QPoint, p);
        QFETCH(QPoint, pp);
        QFETCH(QString, number);
        TGame g(1, TRotation(rotation));
        QCOMPARE(g.Model.P(slot), p);
        QCOMPARE(g.Model.PP(slot), pp);
        QCOMPARE(g.Model.Slot(slot).Caption, number);
        QCOMPARE(g.Model.SlotPosition(slot), slot);
    }

    void faceTurnsOnePositionPerTickUnlessRotationIsOff_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("positionOfSlot1");
        QTest::addRow("clockwise 1") << int(TRotation::clockwise) << 1 << 2;
        QTest::addRow("clockwise 11") << int(TRotation::clockwise) << 11 << 12;
        QTest::addRow("clockwise 12") << int(TRotation::clockwise) << 12 << 1;
        QTest::addRow("clockwise 13") << int(TRotation::clockwise) << 13 << 2;
        QTest::addRow("counter 3") << int(TRotation::CounterClockWise) << 3 << 4;
        QTest::addRow("no rotation") << int(TRotation::NoRotation) << 5 << 1;
    }
    void faceTurnsOnePositionPerTickUnlessRotationIsOff()
    {
        QFETCH(int, rotation);
        QFETCH(int, ticks);
        QFETCH(int, positionOfSlot1);
        TGame g(1, TRotation(rotation));
        g.Ticks(ticks);
        QCOMPARE(g.Model.SlotPosition(1), positionOfSlot1);
        // The numbers stay with their slots.
        QCOMPARE(g.Model.Slot(1).Caption, QStringLiteral("1"));
    }

    void handsTurnWithTheDirectionAndCarryOver_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QPoint>("longHandAfterOneTurn");
        // Up is (230, 130); one sixtieth of a turn to either side after twelve ticks.
        QTest::addRow("clockwise") << int(TRotation::clockwise) << QPoint(237, 130);
        QTest::addRow("counter-clockwise") << int(TRotation::CounterClockWise) << QPoint(223, 130);
    }
    void handsTurnWithTheDirectionAndCarryOver()
    {
        QFETCH(int, rotation);
        QFETCH(QPoint, longHandAfterOneTurn);
        TGame g(1, TRotation(rotation));
        QCOMPARE(g.Model.LongHandEnd(), QPoint(230, 130));
        QCOMPARE(g.Model.ShortHandEnd(), g.Model.PP(1));
        QCOMPARE(g.Model.FigureFrame(), 1);
        g.Ticks(1);
        QCOMPARE(g.Model.ShortHandEnd(), g.Model.PP(2));
        QCOMPARE(g.Model.FigureFrame(), 2);
        g.Ticks(10); // the short hand has drawn position 12; the long hand stays until the turn ends
        QCOMPARE(g.Model.ShortHandEnd(), g.Model.PP(12));
        QCOMPARE(g.Model.LongHandEnd(), QPoint(230, 130));
        g.Ticks(1);
        QCOMPARE(g.Model.ShortHandEnd(), g.Model.PP(1));
        g.Ticks(1);
        QCOMPARE(g.Model.LongHandEnd(), longHandAfterOneTurn);

        // The next game of the run goes on from there.
        TGame next(1, TRotation(rotation));
        next.Model.Face = g.Model.Face;
        QCOMPARE(next.Model.LongHandEnd(), longHandAfterOneTurn);
    }

    void levelTiming_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("showClock");
        QTest::addColumn<int>("problemClock");
        QTest::addColumn<int>("lifetime");
        QTest::addColumn<int>("quota");
        QTest::newRow("1") << 1 << 2065 << 2160 << 32 << 22;
        QTest::newRow("2") << 2 << 1930 << 1920 << 28 << 22;
        QTest::newRow("3") << 3 << 1795 << 1680 << 24 << 30;
        QTest::newRow("4") << 4 << 1660 << 1440 << 20 << 30;
        QTest::newRow("5") << 5 << 1525 << 1200 << 18 << 35;
        QTest::newRow("6") << 6 << 1390 << 960 << 15 << 35;
        QTest::newRow("7") << 7 << 1255 << 720 << 13 << 35;
        QTest::newRow("8") << 8 << 1120 << 480 << 11 << 100;
    }
    void levelTiming()
    {
        QFETCH(int, level);
        TGame g(level);
        QTEST(g.Model.Timers().ShowClockInterval, "showClock");
        QTEST(g.Model.Timers().ProblemClockInterval, "problemClock");
        QTEST(g.Model.WordLifetime(), "lifetime");
        QTEST(g.Model.LevelQuota(), "quota");
        QVERIFY(g.Model.Timers().ShowClock && g.Model.Timers().ProblemClock && !g.Model.Timers().PauseTimer);
    }

    void levelOutsideTheTableChangesNothing()
    {
        TGame g(3);
        const TGameTimers before = g.Model.Timers();
        for (int level : {0, 9, -1}) {
            g.Model.GameLevel = level;
            g.Model.SetTimerInterval();
            QCOMPARE(g.Model.Timers(), before);
            QCOMPARE(g.Model.WordLifetime(), 24);
        }
    }

    void wordAgesFromWhiteThroughBlueToRed_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("age");
        QTest::addColumn<int>("color");
        QTest::addColumn<int>("fontColor");
        QTest::newRow("1: 0") << 1 << 0 << clWhite << clBlack;
        QTest::newRow("1: 25") << 1 << 25 << clWhite << clBlack;
        QTest::newRow("1: 26") << 1 << 26 << clBlue << clWhite;
        QTest::newRow("1: 28") << 1 << 28 << clBlue << clWhite;
        QTest::newRow("1: 29") << 1 << 29 << clRed << clWhite;
        QTest::newRow("1: 32") << 1 << 32 << clRed << clWhite;
        QTest::newRow("8: 4") << 8 << 4 << clWhite << clBlack;
        QTest::newRow("8: 5") << 8 << 5 << clBlue << clWhite;
        QTest::newRow("8: 8") << 8 << 8 << clRed << clWhite;
    }
    void wordAgesFromWhiteThroughBlueToRed()
    {
        QFETCH(int, level);
        QFETCH(int, age);
        TGame g(level);
        g.Place("water", 4);
        g.Ticks(age);
        QCOMPARE(g.Model.Slot(4).Age, age);
        QCOMPARE(g.Model.Slot(4).Caption, QStringLiteral("water"));
        QTEST(g.Model.Slot(4).Color, "color");
        QTEST(g.Model.Slot(4).FontColor, "fontColor");
    }

    void wordExpiresOneTickAfterItsLifetimeAndCostsALife()
    {
        TGame g(1);
        g.Place("water", 4);
        g.Ticks(32);
        QCOMPARE(g.Model.Lives(), 9);
        QVERIFY(g.Host.Sounds.isEmpty());
        g.Ticks(1);
        QCOMPARE(g.Model.Lives(), 8);
        QCOMPARE(g.Model.Slot(4).Age, -1);
        QCOMPARE(g.Model.Slot(4).Caption, QStringLiteral("4"));
        QCOMPARE(g.Model.Slot(4).Color, clWhite);
        QCOMPARE(g.Host.Sounds, QStringList{"WRONGKEY"});
        QVERIFY(!g.Model.Over());
    }

    void lastLifeEndsTheGameAndLaterSlotsAreNotAged()
    {
        TGame g(8);
        for (int k = 0; k < 8; ++k) {
            g.Place("water", 1);
            g.Ticks(12);
        }
        QCOMPARE(g.Model.Lives(), 1);
        g.Place("clock", 3);
        g.Ticks(1);
        g.Place("green", 5);
        g.Ticks(10); // clock is 11 ticks old, green 10
        const int handIndex = g.Model.HandIndex();
        const int frame = g.Model.FigureFrame();
        g.Host.Sounds.clear();
        g.Ticks(1);
        QCOMPARE(g.Model.Lives(), 0);
        QCOMPARE(g.Model.End(), TGameEnd::LivesOut);
        QCOMPARE(g.Model.Slot(5).Age, 10);
        QVERIFY(g.Host.Sounds.isEmpty());
        QCOMPARE(g.Model.Timers().ShowClock || g.Model.Timers().ProblemClock || g.Model.Timers().PauseTimer, false);
        // The tick that ended the game moves neither the hands nor the figure.
        QCOMPARE(g.Model.HandIndex(), handIndex);
        QCOMPARE(g.Model.FigureFrame(), frame);
        // A tick or a word arriving late changes nothing.
        g.Ticks(1);
        g.Judge("green");
        QCOMPARE(g.Model.Slot(5).Age, 10);
        QCOMPARE(g.Model.GameScore(), 0);
    }

    void wordGoesToTheFirstFreeSlotFromTheDrawnOne()
    {
        TGame g(1);
        g.Place("water", 11);
        g.Place("clock", 11);
        g.Place("green", 11);
        QCOMPARE(g.Model.Slot(11).Caption, QStringLiteral("water"));
        QCOMPARE(g.Model.Slot(12).Caption, QStringLiteral("clock"));
        QCOMPARE(g.Model.Slot(1).Caption, QStringLiteral("green")); // wraps around to the start
    }

    void specialDraw_data()
    {
        QTest::addColumn<TRotation>("rotation");
        QTest::addColumn<int>("draw");
        QTest::addColumn<TSpecialKind>("kind");
        QTest::newRow("0") << TRotation::clockwise << 0 << TSpecialKind::HideWords;
        QTest::newRow("1 turning") << TRotation::CounterClockWise << 1 << TSpecialKind::Dizzy;
        QTest::newRow("1 standing") << TRotation::NoRotation << 1 << TSpecialKind::None;
        QTest::newRow("3 standing") << TRotation::NoRotation << 3 << TSpecialKind::StopClock;
        QTest::newRow("4") << TRotation::clockwise << 4 << TSpecialKind::Tease;
        QTest::newRow("5") << TRotation::clockwise << 5 << TSpecialKind::None;
        QTest::newRow("16") << TRotation::clockwise << 16 << TSpecialKind::None;
    }
    void specialDraw()
    {
        QFETCH(TRotation, rotation);
        QFETCH(int, draw);
        QFETCH(TSpecialKind, kind);
        TGame g(1, rotation);
        g.Place("water", 2, draw);
        QCOMPARE(g.Model.SpecialKind(), kind);
        QCOMPARE(g.YellowSlot(), kind == TSpecialKind::None ? 0 : 2);
        QCOMPARE(g.Model.Slot(2).FontColor, clBlack);
        // While one is pending no other special word comes.
        g.Place("clock", 3, 0);
        QCOMPARE(g.Model.Slot(3).Color, kind == TSpecialKind::None ? clYellow : clWhite);
    }

    void seededDrawGivesEveryKindButDizzinessOnAStandingClock()
    {
        RandSeed(20261210);
        TFakeHost host;
        TGameModel model(&host); // the program's own generator
        model.SetRotation(TRotation::NoRotation);
        model.SetTimerInterval();
        model.Start();
        QSet<TSpecialKind> kinds;
        for (int k = 0; k < 2000; ++k) {
            model.ProblemClockTimer();
            if (model.SpecialKind() != TSpecialKind::None) kinds << model.SpecialKind();
            model.SetRotation(TRotation::NoRotation); // clear the board for the next draw
        }
        QCOMPARE(kinds, (QSet<TSpecialKind>{TSpecialKind::HideWords, TSpecialKind::Sweep, TSpecialKind::StopClock,
                                            TSpecialKind::Tease}));
    }

    void fullBoardPlacesNothingAndDropsTheSpecialWord()
    {
        TGame g(1);
        for (int i = 1; i <= 12; ++i)
            g.Place("water", i);
        g.Place("clock", 5, 2);
        QCOMPARE(g.Model.SpecialKind(), TSpecialKind::None);
        QCOMPARE(g.YellowSlot(), 0);
        QCOMPARE(g.Model.Slot(5).Caption, QStringLiteral("water"));
        QCOMPARE(g.Model.Slot(5).Age, 0);
    }

    void judging_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("clearedWords"); // words gone from the board
        QTest::addColumn<QStringList>("sounds");
        QTest::addColumn<int>("score");
        const QStringList none;
        QTest::newRow("word") << "water" << QStringList{"water"} << QStringList{"CORRECTKEY"} << 6;
        QTest::newRow("blanks around") << "  water   " << QStringList{"water"} << QStringList{"CORRECTKEY"} << 6;
        QTest::newRow("capital") << "Water" << none << QStringList{"WRONGKEY"} << 0;
        QTest::newRow("tab is no blank") << "water\t" << none << QStringList{"WRONGKEY"} << 0;
        QTest::newRow("two of a kind") << "glass" << QStringList{"glass", "glass"}
                                       << QStringList{"CORRECTKEY", "CORRECTKEY"} << 12;
        QTest::newRow("not shown") << "cheese" << none << QStringList{"WRONGKEY"} << 0;
        QTest::newRow("number") << "3" << none << none << 0;
        QTest::newRow("number in blanks") << " 12 " << none << none << 0;
        QTest::newRow("hexadecimal") << "$1F" << none << none << 0;
        QTest::newRow("minus one is a word") << "-1" << none << QStringList{"WRONGKEY"} << 0;
        QTest::newRow("blanks only") << "   " << none << none << 0;
        QTest::newRow("empty") << "" << none << none << 0;
    }
    void judging()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, clearedWords);
        TGame g(1);
        g.Place("glass", 2);
        g.Place("water", 3);
        g.Place("glass", 7);
        g.Judge(typed);
        QStringList left;
        for (int i = 1; i <= 12; ++i)
            if (g.Model.Slot(i).Age >= 0) left << g.Model.Slot(i).Caption;
        QStringList expectedLeft{"glass", "water", "glass"};
        for (const QString& w : clearedWords)
            expectedLeft.removeOne(w);
        QCOMPARE(left, expectedLeft);
        QCOMPARE(g.Model.ClearedCount(), int(clearedWords.size()));
        QTEST(g.Host.Sounds, "sounds");
        QTEST(g.Model.GameScore(), "score");
    }

    void clearedSlotShowsItsNumberAndTheHistoryLine()
    {
        TGame g(1, TRotation::CounterClockWise);
        QCOMPARE(g.Model.History()[0], QStringLiteral("09:05:03   버그수정 시작!!"));
        g.Place("water", 3);
        g.Place("clock", 1);
        g.Judge("water");
        g.Judge("clock");
        QCOMPARE(g.Model.Slot(3).Caption, QStringLiteral("11"));
        QCOMPARE(g.Model.Slot(3).Color, clWhite);
        const auto& h = g.Model.History();
        QCOMPARE(h[5], QStringLiteral("09:05:03  water->11"));
        QCOMPARE(h[6], QStringLiteral("09:05:03  clock->1"));
        QVERIFY(h[0].isEmpty()); // the start line has scrolled up and out of the first line
        QCOMPARE(h[4], QString());
    }

    void historyKeepsTheLastSevenLines()
    {
        TGame g(1);
        for (int k = 0; k < 9; ++k) {
            g.Place("water", 3);
            g.Judge("water");
        }
        for (const QString& line : g.Model.History())
            QCOMPARE(line, QStringLiteral("09:05:03  water->3"));
    }

    void scoreIsLevelBonusPlusLength_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("score");
        QTest::newRow("1 water") << 1 << true << "water" << 6;
        QTest::newRow("5 water") << 5 << true << "water" << 11;
        QTest::newRow("2 쌀") << 2 << false << "쌀" << 4;
        QTest::newRow("3 말썽꾸러기") << 3 << false << "말썽꾸러기" << 9;
        QTest::newRow("6 tremendous") << 6 << true << "tremendous" << 18;
        QTest::newRow("7 kiss") << 7 << true << "kiss" << 13;
        QTest::newRow("8 love") << 8 << true << "love" << 14;
    }
    void scoreIsLevelBonusPlusLength()
    {
        QFETCH(int, level);
        QFETCH(bool, english);
        QFETCH(QString, word);
        TGame g(level, TRotation::clockwise, english);
        g.Place(word, 6);
        g.Judge(word);
        QTEST(g.Model.GameScore(), "score");
    }

    void levelRisesWithTheWordAfterTheQuota()
    {
        TGame g(1);
        for (int k = 0; k < 22; ++k) {
            g.Place("water", 1);
            g.Judge("water");
        }
        QVERIFY(g.Notices.isEmpty());
        g.Place("water", 1);
        g.Place("strange", 1);
        g.Ticks(5);
        g.Judge("water");
        QCOMPARE(g.Notices, QList<int>{2});
        QCOMPARE(g.TimersAtNotice.ShowClock || g.TimersAtNotice.ProblemClock, false);
        QCOMPARE(g.Model.GameLevel, 2);
        QCOMPARE(g.Model.ClearedCount(), 0);
        QCOMPARE(g.Model.Timers().ShowClockInterval, 1930);
        QCOMPARE(g.Model.WordLifetime(), 28);
        QVERIFY(g.Model.Timers().ShowClock && g.Model.Timers().ProblemClock && !g.Model.Timers().PauseTimer);
        QCOMPARE(g.Model.Slot(2).Age, 5); // the words on the board keep their ages
        QCOMPARE(g.Model.GameScore(), 23 * 6);
    }

    void judgingWaitsForTheNoticeThenClearsTheOtherSlots()
    {
        TGame g(1);
        for (int k = 0; k < 22; ++k) {
            g.Place("water", 1);
            g.Judge("water");
        }
        g.Place("glass", 3);
        g.Place("glass", 3);
        g.Host.Sounds.clear();
        // The first "glass" reaches level 2: the model returns before the second is judged.
        QCOMPARE(g.Model.JudgeWord("glass"), TGameEvent::LevelReached);
        QCOMPARE(g.Model.GameLevel, 2);
        QCOMPARE(g.Host.Sounds, QStringList{"CORRECTKEY"});
        QCOMPARE(g.Model.Slot(3).Age, -1);
        QCOMPARE(g.Model.Slot(4).Caption, QStringLiteral("glass"));
        QCOMPARE(g.Model.Timers().ShowClock || g.Model.Timers().ProblemClock, false);
        QCOMPARE(g.Model.GameScore(), 23 * 6);
        // Nothing is judged while the notice is up.
        QCOMPARE(g.Model.JudgeWord("water"), TGameEvent::None);
        QCOMPARE(g.Host.Sounds.size(), 1);
        // After it the new level starts and the second slot scores at its bonus.
        QCOMPARE(g.Model.ResumeJudging(), TGameEvent::None);
        QCOMPARE(g.Model.Slot(4).Age, -1);
        QCOMPARE(g.Model.ClearedCount(), 1);
        QCOMPARE(g.Model.GameScore(), 23 * 6 + 3 + 5);
        QCOMPARE(g.Host.Sounds, (QStringList{"CORRECTKEY", "CORRECTKEY"}));
        QVERIFY(g.Model.Timers().ShowClock && g.Model.Timers().ProblemClock);
        QCOMPARE(g.Model.ResumeJudging(), TGameEvent::None); // nothing waits any more
        QCOMPARE(g.Model.GameScore(), 23 * 6 + 3 + 5);
    }

    void lastLifeLostIsTheTicksGameOver()
    {
        TGame g(8);
        g.Place("water", 1);
        TGameEvent last = TGameEvent::None;
        for (int life = 0; life < kStartLives && last == TGameEvent::None; ++life) {
            for (int t = 0; t <= g.Model.WordLifetime() && last == TGameEvent::None; ++t)
                last = g.Model.ShowClockTimer();
            g.Place("water", 1);
        }
        QCOMPARE(last, TGameEvent::GameOver);
        QCOMPARE(g.Model.End(), TGameEnd::LivesOut);
        QCOMPARE(g.Model.Lives(), 0);
        QCOMPARE(g.Model.ShowClockTimer(), TGameEvent::None); // it ends once
    }

    void passingLevelEightEndsTheGameWithoutANotice()
    {
        TGame g(8);
        for (int k = 0; k < 100; ++k) {
            g.Place("water", 1);
            g.Judge("water");
        }
        QVERIFY(!g.Model.Over());
        g.Place("glass", 1);
        g.Place("glass", 1);
        g.Host.Sounds.clear();
        QCOMPARE(g.Judge("glass"), TGameEvent::GameOver);
        QCOMPARE(g.Model.End(), TGameEnd::AllLevels);
        QCOMPARE(g.Model.GameLevel, 9);
        QVERIFY(g.Notices.isEmpty());
        QCOMPARE(g.Model.Slot(2).Caption, QStringLiteral("glass")); // judging stopped at the first
        QCOMPARE(g.Host.Sounds, QStringList{"CORRECTKEY"});
        QCOMPARE(g.Model.Timers().ShowClock || g.Model.Timers().ProblemClock, false);
    }

    void specialWordAnnouncesItsEffect_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind < kSpecialKindCount; ++kind)
            QTest::addRow("%d", kind) << kind;
    }
    void specialWordAnnouncesItsEffect()
    {
        QFETCH(int, kind);
        TGame g(1);
        g.Place("water", 4, kind);
        QVERIFY(g.Model.StatusText().isEmpty());
        g.Judge("water");
        QCOMPARE(g.Model.StatusText(), QString::fromUtf16(kSpecialTexts[size_t(kind)]));
        QVERIFY(g.Model.EffectActive());
        QCOMPARE(g.Model.Slot(4).Color, clWhite);
        QCOMPARE(g.Model.GameScore(), 6);
        // Six ticks of the clock that runs during the effect end it.
        for (int t = 0; t < 6; ++t) {
            QVERIFY(g.Model.EffectActive());
            if (TSpecialKind(kind) == TSpecialKind::StopClock)
                g.Model.PauseTimerTimer();
            else
                g.Model.ShowClockTimer();
        }
        QVERIFY(!g.Model.EffectActive());
        QCOMPARE(g.Model.SpecialKind(), TSpecialKind::None);
        QVERIFY(g.Model.StatusText().isEmpty());
        QCOMPARE(g.Model.Timers().ShowClockInterval, 2065);
        QVERIFY(g.Model.Timers().ShowClock && g.Model.Timers().ProblemClock && !g.Model.Timers().PauseTimer);
    }

    void hiddenWordsCannotBeReadButNumbersCan()
    {
        TGame g(8);
        g.Place("clock", 2);
        g.Ticks(3);
        g.Place("water", 4, 0);
        g.Judge("water");
        QCOMPARE(g.Model.Slot(2).FontColor, clWhite);
        QCOMPARE(g.Model.Slot(4).FontColor, clBlack);
        g.Ticks(2); // the hidden word turns blue underneath and stays unreadable
        QCOMPARE(g.Model.Slot(2).Color, clBlue);
        QCOMPARE(g.Model.Slot(2).FontColor, clBlue);
        g.Place("green", 7); // placed during the effect: hidden too
        QCOMPARE(g.Model.Slot(7).FontColor, clWhite);
        g.Ticks(4);
        QVERIFY(!g.Model.EffectActive());
        QCOMPARE(g.Model.Slot(2).Color, clRed);
        QCOMPARE(g.Model.Slot(2).FontColor, clWhite);
        QCOMPARE(g.Model.Slot(7).FontColor, clBlack);
    }

    void dizzinessSpinsTheClockAndLevelUpSlowsItAtOnce()
    {
        TGame g(1);
        g.Place("water", 4, 1);
        g.Judge("water");
        QCOMPARE(g.Model.Timers().ShowClockInterval, 300);
        QCOMPARE(g.Model.Timers().ProblemClockInterval, 2160);
        for (int k = 0; k < 22; ++k) {
            g.Place("clock", 1);
            g.Judge("clock");
        }
        QCOMPARE(g.Model.GameLevel, 2);
        QCOMPARE(g.Model.Timers().ShowClockInterval, 1930);
        g.Ticks(5);
        QVERIFY(g.Model.EffectActive());
        g.Ticks(1);
        QVERIFY(!g.Model.EffectActive());
    }

    void sweepClearsTheBoardWithoutCostOrGain()
    {
        TGame g(1);
        for (int i = 1; i <= 11; ++i)
            g.Place("clock", i);
        g.Place("water", 12, 2);
        g.Ticks(3);
        g.Judge("water");
        for (int i = 1; i <= 12; ++i) {
            QCOMPARE(g.Model.Slot(i).Age, -1);
            QCOMPARE(g.Model.Slot(i).Caption, QString::number(i));
            QCOMPARE(g.Model.Slot(i).Color, clWhite);
        }
        QCOMPARE(g.Model.Lives(), 9);
        QCOMPARE(g.Model.ClearedCount(), 1);
        QCOMPARE(g.Model.GameScore(), 6);
    }

    void pauseStopsTheClockButNotTheTyping()
    {
        TGame g(1);
        g.Place("clock", 2);
        g.Place("water", 4, 3);
        g.Judge("water");
        QCOMPARE(g.Model.Timers().ShowClock || g.Model.Timers().ProblemClock, false);
        QVERIFY(g.Model.Timers().PauseTimer);
        g.Judge("clock");
        QCOMPARE(g.Model.GameScore(), 12);
        for (int t = 0; t < 5; ++t)
            g.Model.PauseTimerTimer();
        QVERIFY(g.Model.Timers().PauseTimer);
        g.Model.PauseTimerTimer();
        QVERIFY(!g.Model.Timers().PauseTimer && g.Model.Timers().ShowClock && g.Model.Timers().ProblemClock);
    }

    void levelUpDuringThePauseRestartsTheClockAndBothTimersCount()
    {
        TGame g(1);
        for (int k = 0; k < 21; ++k) {
            g.Place("clock", 1);
            g.Judge("clock");
        }
        g.Place("water", 4, 3);
        g.Judge("water"); // the 22nd word starts the pause
        g.Model.PauseTimerTimer();
        g.Place("clock", 1);
        g.Judge("clock"); // the 23rd raises the level
        QCOMPARE(g.Model.GameLevel, 2);
        QVERIFY(g.Model.Timers().ShowClock && g.Model.Timers().ProblemClock && g.Model.Timers().PauseTimer);
        g.Model.ShowClockTimer();
        g.Model.PauseTimerTimer();
        g.Model.ShowClockTimer();
        g.Model.PauseTimerTimer();
        QVERIFY(g.Model.EffectActive());
        g.Model.ShowClockTimer();
        QVERIFY(!g.Model.EffectActive());
        QVERIFY(!g.Model.Timers().PauseTimer);
    }

    void expiredSpecialWordIsLostWithALife()
    {
        TGame g(8);
        g.Place("water", 4, 3);
        g.Ticks(11);
        QCOMPARE(g.YellowSlot(), 4); // a yellow word keeps its colour as it ages
        g.Ticks(1);
        QCOMPARE(g.Model.Lives(), 8);
        QCOMPARE(g.Model.SpecialKind(), TSpecialKind::None);
        QCOMPARE(g.YellowSlot(), 0);
        QVERIFY(!g.Model.EffectActive());
        QVERIFY(g.Model.StatusText().isEmpty());
        QVERIFY(g.Model.Timers().ShowClock && !g.Model.Timers().PauseTimer);
    }

    void soundOffPlaysNothing()
    {
        TGame g(1);
        g.Model.SoundOff = true;
        g.Place("water", 4);
        g.Judge("water");
        g.Judge("cheese");
        g.Place("clock", 5);
        g.Ticks(33);
        QCOMPARE(g.Model.Lives(), 8);
        QVERIFY(g.Host.Sounds.isEmpty());
    }

    void storedChoices_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("speakerOff");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("rotation");
        QTest::newRow("no file") << QString() << false << 0 << 0 << 0;
        QTest::newRow("stored") << "[clock]\nspeaker_off=1\nstart_level=4\nLanguage=1\nrotation=2\n"
                                << true << 4 << 1 << 2;
        QTest::newRow("out of range") << "[clock]\nstart_level=8\nLanguage=2\nrotation=3\n" << false << 0 << 0 << 0;
        QTest::newRow("negative") << "[Clock]\nSTART_LEVEL=-1\nlanguage=-1\nRotation=-1\n" << false << 0 << 0 << 0;
        QTest::newRow("not numbers") << "[clock]\nstart_level=two\nrotation=\nLanguage=1\n" << false << 0 << 1 << 0;
        QTest::newRow("last items") << "[clock]\nstart_level=7\nLanguage=1\nrotation=2\n" << false << 7 << 1 << 2;
    }
    void storedChoices()
    {
        QFETCH(QString, ini);
        QTemporaryDir dir;
        const QString path = dir.filePath("Zavlin.ini");
        if (!ini.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ini.toUtf8());
        }
        TIniFile file(path);
        const TGameChoices c = ReadGameChoices(file);
        QTEST(c.SpeakerOff, "speakerOff");
        QTEST(c.StartLevel, "level");
        QTEST(c.Language, "language");
        QTEST(c.Rotation, "rotation");
    }

    void choicesAreWrittenInTheirOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Zavlin.ini");
        {
            TIniFile file(path);
            WriteGameChoices(file, TGameChoices{true, 4, 1, 2});
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"[clock]", "speaker_off=1", "start_level=4", "Language=1", "rotation=2"}));
    }
};

QTEST_GUILESS_MAIN(TestGameModel)
#include "tst_gamemodel.moc"
