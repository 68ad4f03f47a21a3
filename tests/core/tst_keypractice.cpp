// Keyboard practice without its window: problem pickers, what a problem lights, judging of key releases,
// the wrong-answer skip, sounds and the right/wrong lamp.
#include "platform/Clock.h"
#include "platform/Random.h"
#include "screens/KeyPractice.h"
#include "tests/support/UsKeys.h"

#include <QtTest>

#include <deque>
#include <set>

using namespace KeyArray;

namespace {
constexpr int VK_SPACE = 32, VK_RETURN = 13, VK_ESCAPE = 27, VK_LEFT = 37, VK_CONTROL = 17;

std::set<int> KeysOf(const QString& us)
{
    std::set<int> keys;
    for (QChar c : us)
        keys.insert(KeyOfUs(c));
    return keys;
}

// Types the problem as a person would: Shift down first when needed, released last.
TJudgement TypeProblem(TKeyPractice& p)
{
    const int key = p.ProblemKey;
    if (p.ShiftNeeded) p.KeyDown(16);
    p.KeyDown(key);
    const TJudgement j = p.KeyUp(key, p.ShiftNeeded ? unsigned(kmShift) : 0u);
    if (p.ShiftNeeded) p.KeyUp(16, 0);
    return j;
}

// A random source that answers from a script, then fails the test.
struct TScript
{
    std::deque<int> Answers;
    std::vector<int> Ranges;
    int operator()(int range)
    {
        Ranges.push_back(range);
        if (Answers.empty()) {
            qWarning("the script ran out");
            return 0;
        }
        const int a = Answers.front();
        Answers.pop_front();
        return a;
    }
};
} // namespace

class TestKeyPractice : public QObject
{
    Q_OBJECT
private slots:
    void init() { RandSeed(20261210); }

    // Setup items: 0 2-set, 1 English, 2 3-90, 3 final. "always": keys asked with Shift every time; "coin":
    // keys asked with and without Shift; the rest never with Shift.
    void pickersDrawTheirKeysAndShift_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<TPracticePosition>("position");
        QTest::addColumn<QString>("candidates");
        QTest::addColumn<QString>("always");
        QTest::addColumn<QString>("coin");
        QTest::newRow("home row 2-set") << 0 << TPracticePosition::HomeRow << "ASDFJKL"
                                        << ""
                                        << "";
        QTest::newRow("home row 3-90") << 2 << TPracticePosition::HomeRow << "ASDFJKL;"
                                       << ""
                                       << "";
        QTest::newRow("left upper 2-set") << 0 << TPracticePosition::LeftUpper << "QWER"
                                          << ""
                                          << "QWER";
        QTest::newRow("left upper English") << 1 << TPracticePosition::LeftUpper << "QWER"
                                            << ""
                                            << "";
        QTest::newRow("left upper final") << 3 << TPracticePosition::LeftUpper << "QWER"
                                          << ""
                                          << "";
        QTest::newRow("left lower") << 0 << TPracticePosition::LeftLower << "ZXCV"
                                    << ""
                                    << "";
        QTest::newRow("right upper 2-set") << 0 << TPracticePosition::RightUpper << "UIOP"
                                           << ""
                                           << "OP";
        QTest::newRow("right upper 3-90") << 2 << TPracticePosition::RightUpper << "UIOP"
                                          << ""
                                          << "";
        QTest::newRow("right lower 2-set") << 0 << TPracticePosition::RightLower << "BNM"
                                           << ""
                                           << "";
        QTest::newRow("right lower final") << 3 << TPracticePosition::RightLower << "BNM/"
                                           << ""
                                           << "";
        QTest::newRow("index rest 2-set") << 0 << TPracticePosition::IndexRest << "TGYH"
                                          << ""
                                          << "T";
        QTest::newRow("index rest 3-90") << 2 << TPracticePosition::IndexRest << "TGYH56'"
                                         << ""
                                         << "";
        QTest::newRow("all 2-set") << 0 << TPracticePosition::AllKeys << "ASDFJKLQWERZXCVUIOPBNMTGYH"
                                   << ""
                                   << "QWEROPT";
        QTest::newRow("all English") << 1 << TPracticePosition::AllKeys << "ASDFJKLQWERZXCVUIOPBNMTGYH"
                                     << ""
                                     << "";
        QTest::newRow("all 3-90") << 2 << TPracticePosition::AllKeys << "ASDFJKL;QWERZXCVUIOPBNM/TGYH56'90123478"
                                  << ""
                                  << "";
        QTest::newRow("numbers 2-set") << 0 << TPracticePosition::Numbers << "1234567890"
                                       << ""
                                       << "";
        QTest::newRow("numbers 3-90") << 2 << TPracticePosition::Numbers << "UIOJKLNM,."
                                      << "UIOJKLNM,."
                                      << "";
        QTest::newRow("numbers final") << 3 << TPracticePosition::Numbers << "YUIOPHJKL;"
                                       << "YUIOPHJKL;"
                                       << "";
        QTest::newRow("symbols 2-set") << 0 << TPracticePosition::Symbols << "1968./3'2],"
                                       << "196832"
                                       << "";
        QTest::newRow("symbols English") << 1 << TPracticePosition::Symbols << "1968./3'2],"
                                         << "196832"
                                         << "";
        QTest::newRow("symbols 3-90") << 2 << TPracticePosition::Symbols << "24590=TYP]GH;B"
                                      << "24590=TYP]GH;B"
                                      << "";
        QTest::newRow("symbols final") << 3 << TPracticePosition::Symbols << "6789-=\\[]'BNM/0"
                                       << "6789-=\\[]'BNM/0"
                                       << "";
        QTest::newRow("3-set top row") << 3 << TPracticePosition::ThreeSetTopRow << "90123478"
                                       << ""
                                       << "";
        QTest::newRow("3-90 Shift") << 2 << TPracticePosition::Shift390 << "1QWEASDFZXCV"
                                    << "1QWEASDFZXCV"
                                    << "";
        QTest::newRow("final group 1") << 3 << TPracticePosition::FinalShiftRow1 << "12345"
                                       << "12345"
                                       << "";
        QTest::newRow("final group 2") << 3 << TPracticePosition::FinalShiftRow2 << "QWERT"
                                       << "QWERT"
                                       << "";
        QTest::newRow("final group 3") << 3 << TPracticePosition::FinalShiftRow3 << "ASDFG"
                                       << "ASDFG"
                                       << "";
        QTest::newRow("final group 4") << 3 << TPracticePosition::FinalShiftRow4 << "ZXCVB"
                                       << "ZXCVB"
                                       << "";
    }
    void pickersDrawTheirKeysAndShift()
    {
        QFETCH(int, item);
        QFETCH(TPracticePosition, position);
        QFETCH(QString, candidates);
        QFETCH(QString, always);
        QFETCH(QString, coin);
        const std::set<int> keys = KeysOf(candidates), shifted = KeysOf(always), either = KeysOf(coin);
        TKeyPractice p;
        p.Configure(item, position, true, false);
        p.GoProblem();
        std::map<int, int> seen, seenShifted;
        int previous = -1;
        for (int i = 0; i < 3000; ++i) {
            const int key = p.ProblemKey;
            QVERIFY2(keys.count(key), qPrintable(QStringLiteral("key %1 is no candidate").arg(key)));
            QVERIFY(key != previous);
            ++seen[key];
            if (p.ShiftNeeded) ++seenShifted[key];
            if (shifted.count(key))
                QVERIFY(p.ShiftNeeded);
            else if (!either.count(key))
                QVERIFY(!p.ShiftNeeded);
            QCOMPARE(p.ShiftLabelVisible, p.ShiftNeeded);
            previous = key;
            QCOMPARE(TypeProblem(p), TJudgement::Right);
        }
        QCOMPARE(seen.size(), keys.size());
        for (int key : either) {
            QVERIFY(seenShifted[key] > 0);
            QVERIFY(seenShifted[key] < seen[key]);
        }
    }

    void theOtherKeysAreEquallyLikely()
    {
        TKeyPractice p;
        p.Configure(0, TPracticePosition::LeftLower, true, false); // left lower: Z X C V
        std::map<int, int> count;
        const int runs = 6000;
        for (int i = 0; i < runs; ++i) {
            p.PrevProblemKey = 'X';
            p.GoProblem();
            ++count[p.ProblemKey];
        }
        QCOMPARE(count.count('X'), size_t(0));
        for (int key : {'Z', 'C', 'V'})
            QVERIFY2(qAbs(count[key] - runs / 3) < runs / 30, qPrintable(QString::number(count[key])));
    }

    void onlyTheAcceptedAttemptsCoinCounts()
    {
        TKeyPractice p;
        p.Configure(0, TPracticePosition::LeftUpper, true, false); // 2-set left upper: Q W E R with a coin
        auto script = std::make_shared<TScript>();
        p.SetRandomSource([script](int range) { return (*script)(range); });
        p.PrevProblemKey = 'Q';
        script->Answers = {0, 1, 1, 0}; // Q (the last problem) with Shift, then W without
        p.GoProblem();
        QCOMPARE(p.ProblemKey, int('W'));
        QCOMPARE(p.ShiftNeeded, false);
        QCOMPARE(script->Ranges, (std::vector<int>{4, 2, 4, 2}));
    }

    void shiftedProblemShowsItsJamoAndTheOtherShift()
    {
        TKeyPractice p;
        p.Configure(0, TPracticePosition::LeftUpper, true, false);
        auto script = std::make_shared<TScript>();
        p.SetRandomSource([script](int range) { return (*script)(range); });
        script->Answers = {0, 1}; // Q with Shift
        p.GoProblem();
        QCOMPARE(p.ProblemKey, int('Q'));
        QVERIFY(p.ShiftNeeded);
        QCOMPARE(p.Caps.Cap('Q').Caption, QStringLiteral("ㅃ"));
        QCOMPARE(p.ExLabelCaption, QStringLiteral("ㅃ"));
        QCOMPARE(p.Caps.Cap('Q').Color, kProblemColor);
        QCOMPARE(p.Caps.RShift.Color, kProblemColor); // Q is a left-hand key
        QCOMPARE(p.Caps.LShift.Color, kNeutralColor);
        QVERIFY(p.ShiftLabelVisible);
        QCOMPARE(p.FingerName, QStringLiteral("Left4"));
        QVERIFY(p.Fingers[Left4].Down);
        QCOMPARE(p.Fingers[Left4].Color, kFingerLitColor);

        script->Answers = {1, 0}; // W plain: Q keeps its ㅃ until asked again
        QCOMPARE(TypeProblem(p), TJudgement::Right);
        QCOMPARE(p.ProblemKey, int('W'));
        QCOMPARE(p.Caps.Cap('Q').Caption, QStringLiteral("ㅃ"));
        QCOMPARE(p.Caps.Cap('Q').Color, kPracticeColor);
        QCOMPARE(p.Caps.RShift.Color, kNeutralColor);
        QVERIFY(!p.ShiftLabelVisible);
        QCOMPARE(p.FingerName, QStringLiteral("Left3"));
        QVERIFY(!p.Fingers[Left4].Down);
        QCOMPARE(p.Fingers[Left4].Color, kFingerColor);

        script->Answers = {0, 0}; // Q plain
        QCOMPARE(TypeProblem(p), TJudgement::Right);
        QCOMPARE(p.Caps.Cap('Q').Caption, QStringLiteral("ㅂ"));
        QCOMPARE(p.ExLabelCaption, QStringLiteral("ㅂ"));
    }

    void number7Of390IsUWithTheLeftShift()
    {
        TKeyPractice p;
        p.Configure(2, TPracticePosition::Numbers, true, false);
        auto script = std::make_shared<TScript>();
        p.SetRandomSource([script](int range) { return (*script)(range); });
        script->Answers = {0};
        p.GoProblem();
        QCOMPARE(p.ProblemKey, int('U'));
        QCOMPARE(p.ExLabelCaption, QStringLiteral("7"));
        QVERIFY(p.ShiftNeeded);
        QCOMPARE(p.Caps.LShift.Color, kProblemColor);
        QCOMPARE(p.Caps.RShift.Color, kNeutralColor);
        QCOMPARE(p.FingerName, QStringLiteral("Right1"));
    }

    void labelSitsLowForALowCaption_data()
    {
        QTest::addColumn<TPracticePosition>("position");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("bottom");
        QTest::newRow("group 3: A") << TPracticePosition::FinalShiftRow3 << 0 << "ㄷ" << true;
        QTest::newRow("group 3: G") << TPracticePosition::FinalShiftRow3 << 4 << "ㅒ" << false;
        QTest::newRow("group 4: Z") << TPracticePosition::FinalShiftRow4 << 0 << "ㅊ" << true;
        QTest::newRow("group 4: B") << TPracticePosition::FinalShiftRow4 << 4 << "?" << false;
    }
    void labelSitsLowForALowCaption()
    {
        QFETCH(TPracticePosition, position);
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(bool, bottom);
        TKeyPractice p;
        p.Configure(3, position, true, false);
        p.SetRandomSource([index](int) { return index; });
        p.GoProblem();
        QCOMPARE(p.ExLabelCaption, caption);
        QCOMPARE(p.ExLabelBottom, bottom);
    }

    void keyGuideOffLightsNothingButTheLabelsFollow()
    {
        TKeyPractice p;
        p.Configure(3, TPracticePosition::FinalShiftRow3, true, false);
        p.GoProblem(); // a finger is lit now
        p.Configure(3, TPracticePosition::FinalShiftRow3, true, true);
        for (int i = 0; i < 20; ++i) {
            p.GoProblem();
            QVERIFY(!p.ExLabelCaption.isEmpty());
            QCOMPARE(p.ExLabelCaption, p.Caps.Cap(p.ProblemKey).Caption);
            QVERIFY(p.ShiftLabelVisible);
            for (int key : CharKeys)
                QVERIFY(p.Caps.Cap(key).Color != kProblemColor);
            QCOMPARE(p.Caps.LShift.Color, kNeutralColor);
            QCOMPARE(p.Caps.RShift.Color, kNeutralColor);
            for (const TFingerState& f : p.Fingers) {
                QCOMPARE(f.Color, kFingerColor);
                QVERIFY(!f.Down);
            }
        }
    }

    void aNewSetupAsksAnotherKeyThanTheLast()
    {
        TKeyPractice p;
        p.Configure(0, TPracticePosition::LeftLower, true, false);
        p.GoProblem();
        const int last = p.ProblemKey;
        for (int i = 0; i < 50; ++i) {
            p.Configure(0, TPracticePosition::LeftLower, true, false);
            p.PrevProblemKey = last;
            p.GoProblem();
            QVERIFY(p.ProblemKey != last);
        }
    }

    // Scripts: "d" key down, "u" key up, "r" auto-repeated key up, "a" the window activated; a key is a US
    // character or a name; "+S", "+C", "+A", "+M" are the modifiers held at a release. The problem is A,
    // with or without Shift. Judgements: R right, W wrong, K wrong and skipped, - not judged.
    void judging_data()
    {
        QTest::addColumn<bool>("shiftNeeded");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("judgements");
        QTest::addColumn<int>("wrongCount");
        QTest::addColumn<bool>("moved"); // a new problem came

        QTest::newRow("plain right") << false << "dA uA"
                                     << "R" << 0 << true;
        QTest::newRow("plain with Ctrl is right, Ctrl's release wrong") << false << "dCtrl dA uA+C uCtrl"
                                                                        << "RW" << 1 << true;
        QTest::newRow("plain with Shift is wrong") << false << "dShift dA uA+S uShift"
                                                   << "W-" << 1 << false;
        QTest::newRow("Shift right") << true << "dShift dA uA+S uShift"
                                     << "R-" << 0 << true;
        QTest::newRow("Shift released first") << true << "dShift dA uShift uA"
                                              << "-W" << 1 << false;
        QTest::newRow("Shift with Ctrl is not Shift alone") << true << "dA uA+SC"
                                                            << "W" << 1 << false;
        QTest::newRow("Shift with Alt") << true << "dA uA+SA"
                                        << "W" << 1 << false;
        QTest::newRow("Shift with Meta") << true << "dA uA+SM"
                                         << "W" << 1 << false;
        QTest::newRow("wrong key") << false << "dS uS"
                                   << "W" << 1 << false;
        QTest::newRow("other keys count") << false << "dSpace uSpace dEnter uEnter dLeft uLeft"
                                          << "WWW" << 3 << false;
        QTest::newRow("fourth wrong skips") << false << "dS uS dS uS dS uS dEsc uEsc"
                                            << "WWWK" << 0 << true;
        QTest::newRow("right resets the count") << false << "dS uS dS uS dA uA dS uS"
                                                << "WWRW" << 1 << true;
        QTest::newRow("releases from another window") << false << "uEsc uA uAlt uY"
                                                      << "----" << 0 << false;
        QTest::newRow("pressed before the window was activated") << false << "dA a uA dA uA"
                                                                 << "-R" << 0 << true;
        QTest::newRow("held key repeats its press, is judged once") << false << "dA dA rA dA rA dA uA"
                                                                    << "--R" << 0 << true;
        QTest::newRow("input method key") << false << "dIme uIme"
                                          << "-" << 0 << false;
    }
    void judging()
    {
        QFETCH(bool, shiftNeeded);
        QFETCH(QString, script);
        QFETCH(QString, judgements);
        QFETCH(int, wrongCount);
        QFETCH(bool, moved);
        TFakeClock clock;
        TKeyPractice p;
        QStringList sounds;
        p.SetSoundOutput([&sounds](const QString& name) { sounds << name; });
        p.Configure(0, TPracticePosition::HomeRow, false, false);
        p.PrevProblemKey = 'A';
        p.GoProblem();
        p.ProblemKey = p.PrevProblemKey = 'A';
        p.ShiftNeeded = shiftNeeded;

        const QHash<QString, int> names = {{"Shift", 16},       {"Ctrl", VK_CONTROL},  {"Alt", 18},
                                           {"Space", VK_SPACE}, {"Enter", VK_RETURN},  {"Esc", VK_ESCAPE},
                                           {"Left", VK_LEFT},   {"Ime", VK_PROCESSKEY}};
        QString got;
        QStringList expectedSounds;
        for (const QString& step : script.split(u' ')) {
            if (step == QLatin1String("a")) {
                p.Activated();
                continue;
            }
            const QStringList parts = step.mid(1).split(u'+');
            const int key = names.value(parts[0], parts[0].size() == 1 ? KeyOfUs(parts[0][0]) : -1);
            unsigned mods = 0;
            if (parts.size() > 1) {
                for (QChar m : parts[1])
                    mods |= m == u'S' ? kmShift : m == u'C' ? kmCtrl : m == u'A' ? kmAlt : kmMeta;
            }
            if (step[0] == u'd') {
                p.KeyDown(key);
                continue;
            }
            const TJudgement j = p.KeyUp(key, mods, step[0] == u'r');
            got += QLatin1Char("-RWK"[int(j)]);
            if (j == TJudgement::Right) expectedSounds << QStringLiteral("CORRECTKEY");
            if (j == TJudgement::Wrong || j == TJudgement::WrongSkipped) expectedSounds << QStringLiteral("WRONGKEY");
        }
        QCOMPARE(got, judgements);
        QCOMPARE(sounds, expectedSounds);
        QCOMPARE(p.WrongCount, wrongCount);
        QCOMPARE(p.ProblemKey != 'A', moved);
    }

    void speakerOffPlaysNothingButJudges()
    {
        TKeyPractice p;
        int played = 0;
        p.SetSoundOutput([&played](const QString&) { ++played; });
        p.Configure(0, TPracticePosition::HomeRow, true, false);
        p.GoProblem();
        QCOMPARE(TypeProblem(p), TJudgement::Right);
        p.KeyDown(VK_SPACE);
        QCOMPARE(p.KeyUp(VK_SPACE, 0), TJudgement::Wrong);
        QCOMPARE(played, 0);
    }

    void capsGoDownAndUpWithTheKeys()
    {
        TKeyPractice p;
        p.Configure(0, TPracticePosition::HomeRow, true, false);
        p.GoProblem();
        p.KeyDown(16);
        QVERIFY(p.Caps.LShift.Lowered && p.Caps.RShift.Lowered);
        p.KeyDown('S');
        QVERIFY(p.Caps.Cap('S').Lowered);
        p.KeyUp('S', kmShift);
        QVERIFY(!p.Caps.Cap('S').Lowered);
        p.KeyDown('D');
        p.KeyUp(16, 0);
        QVERIFY(!p.Caps.LShift.Lowered && !p.Caps.RShift.Lowered);
        // A key still down when the window lost the keyboard does not stay drawn down.
        p.Activated();
        QVERIFY(!p.Caps.Cap('D').Lowered);
    }

    void skippedAndAnsweredCapsReturnToTheirPracticeColour_data()
    {
        QTest::addColumn<TPracticePosition>("position");
        QTest::addColumn<TColor>("colour");
        QTest::newRow("a practice") << TPracticePosition::HomeRow << kPracticeColor;
        QTest::newRow("all keys") << TPracticePosition::AllKeys << kNeutralColor;
    }
    void skippedAndAnsweredCapsReturnToTheirPracticeColour()
    {
        QFETCH(TPracticePosition, position);
        QFETCH(TColor, colour);
        TKeyPractice p;
        p.Configure(0, position, true, false);
        p.GoProblem();
        int key = p.ProblemKey;
        QCOMPARE(TypeProblem(p), TJudgement::Right);
        QCOMPARE(p.Caps.Cap(key).Color, colour);
        key = p.ProblemKey;
        const int wrong = key == VK_SPACE ? 'A' : VK_SPACE;
        for (int i = 0; i < 4; ++i) {
            p.KeyDown(wrong);
            p.KeyUp(wrong, 0);
        }
        QVERIFY(p.ProblemKey != key);
        QCOMPARE(p.Caps.Cap(key).Color, colour);
        // The problem cap is the one lit cap.
        int lit = 0;
        for (int k : CharKeys)
            lit += p.Caps.Cap(k).Color == kProblemColor;
        QCOMPARE(lit, 1);
    }

    void lampShowsEveryAnswerForItsPeriod()
    {
        TFakeClock clock;
        TKeyPractice p;
        p.Configure(0, TPracticePosition::HomeRow, true, false);
        p.GoProblem();
        QCOMPARE(p.Lamp(), TLamp::Yellow);
        p.KeyDown(VK_SPACE);
        p.KeyUp(VK_SPACE, 0);
        QCOMPARE(p.Lamp(), TLamp::Red);
        clock.Advance(299);
        QCOMPARE(p.Lamp(), TLamp::Red);
        QCOMPARE(p.LampRemaining(), 1);
        clock.Advance(1);
        QCOMPARE(p.Lamp(), TLamp::Yellow);
        QCOMPARE(p.LampRemaining(), 0);

        // A right answer 250 ms after a wrong one shows green, for a whole period.
        p.KeyDown(VK_SPACE);
        p.KeyUp(VK_SPACE, 0);
        clock.Advance(250);
        QCOMPARE(TypeProblem(p), TJudgement::Right);
        QCOMPARE(p.Lamp(), TLamp::Green);
        clock.Advance(299);
        QCOMPARE(p.Lamp(), TLamp::Green);
        clock.Advance(1);
        QCOMPARE(p.Lamp(), TLamp::Yellow);
    }

    void lampSurvivesTheClockWrapping()
    {
        TFakeClock clock(0xFFFFFF00u);
        TKeyPractice p;
        p.Configure(0, TPracticePosition::HomeRow, true, false);
        p.GoProblem();
        p.KeyDown(VK_SPACE);
        p.KeyUp(VK_SPACE, 0);
        clock.Advance(0x200);
        QCOMPARE(p.Lamp(), TLamp::Yellow);
        p.KeyDown(VK_SPACE);
        p.KeyUp(VK_SPACE, 0);
        QCOMPARE(p.Lamp(), TLamp::Red);
    }
};

QTEST_APPLESS_MAIN(TestKeyPractice)
#include "tst_keypractice.moc"
