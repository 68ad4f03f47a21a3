// The typing control: problems, navigation between lines, the typing events, speed and accuracy, and
// what it paints.
#include "engine/SentencePractice.h"
#include "platform/Clock.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtil.h"

#include <QPainter>
#include <QtTest>

namespace {
// Feeds characters as keys that reached the control as characters; \b is Backspace, \r Enter.
void Type(TSentencePractice& c, const QString& keys)
{
    for (QChar ch : keys)
        c.KeyChar(ch.unicode());
}

QStringList TypedLines(const TSentencePractice& c)
{
    QStringList lines;
    for (const auto& s : c.Sentences())
        lines << s->typed;
    return lines;
}

void SetProblems(TSentencePractice& c, const QStringList& problems)
{
    c.SetSentenceCount(int(problems.size()));
    for (int i = 0; i < problems.size(); ++i)
        c.SetProblem(i, problems[i]);
}

struct TEventLog
{
    int Started = 0, Ended = 0, Errors = 0, LangChanged = 0;
    void Attach(TSentencePractice& c)
    {
        c.SetOnTypingStarted([this](QObject*) { ++Started; });
        c.SetOnTypingEnded([this](QObject*) { ++Ended; });
        c.SetOnTypingError([this](QObject*) { ++Errors; });
        c.SetOnTypingLangChanged([this](QObject*) { ++LangChanged; });
    }
};

// Pixels close to a colour (anti-aliased text has few exact ones).
int CountNear(const QImage& image, const QRect& rect, QColor color)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - color.red()) + std::abs(p.green() - color.green()) +
                     std::abs(p.blue() - color.blue()) <
                 120;
        }
    return n;
}

int CountColor(const QImage& image, const QRect& rect, QRgb color)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return n;
}

// Fills its font and size the way the pictures are read.
void Prepare(TSentencePractice& c)
{
    QFont font(QStringLiteral("NanumGothicCoding"));
    font.setPixelSize(20);
    c.setFont(font);
    c.resize(500, 200);
}
} // namespace

class TestSentencePractice : public QObject
{
    Q_OBJECT
private slots:
    void newControlHasTwoDefaultSentences();
    void setProblemCleansText_data();
    void setProblemCleansText();
    void setProblemOutOfRangeStillResets();
    void sentenceCountZeroIgnoresTyping();
    void navigation_data();
    void navigation();
    void escIsNeitherTypedNorPassedOn();
    void readOnlyTakesNothing();
    void eventsFireInOrder();
    void keysAfterEndAddTheSetOnce();
    void charactersPastTheEndAreKeptAndMarked();
    void handlerMaySetNewProblemsOnEnd();
    void handlerMayRemoveSentences_data();
    void handlerMayRemoveSentences();
    void accuracy_data();
    void accuracy();
    void speed_data();
    void speed();
    void averageOverSets();
    void currentSpeedUsesTheClockNow();
    void wrongBlankIsABox();
    void backgroundHandlerReplacesColor();
    void composingBlockColouredByCheck();
    void readOnlyShowsNoCaret();
    void keystrokeRepaintsOnlyTheTypedLine();
    void blinkRepaintsOnlyTheCaretCell_data();
    void blinkRepaintsOnlyTheCaretCell();
};

void TestSentencePractice::newControlHasTwoDefaultSentences()
{
    TSentencePractice c;
    QCOMPARE(c.SentenceCount(), 2);
    QCOMPARE(c.Sentences()[1]->problem, QStringLiteral("우리나라 대한민국 테스트중.."));
    QCOMPARE(c.CurrentIndex(), 0);
    QCOMPARE(c.WrongMarkColor(), clRed);
    QCOMPARE(c.LineSpace(), 5);
    QCOMPARE(c.SentenceSpace(), 25);
    QVERIFY(!c.TypingStarted());
    QVERIFY(!c.ReadOnly());
    QVERIFY(!c.CheckComposingChar());
}

void TestSentencePractice::setProblemCleansText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("blanks collapsed, tab at the end dropped") << QStringLiteral("  a   b\t") << QStringLiteral("a b");
    QTest::newRow("inner tab stays") << QStringLiteral("a\t\tb") << QStringLiteral("a\t\tb");
    QTest::newRow("control characters at the ends") << QStringLiteral("\r\n\x01가 나\r\n") << QStringLiteral("가 나");
    QTest::newRow("only blanks") << QStringLiteral("   ") << QString();
    QTest::newRow("blank after tab kept") << QStringLiteral("a\t  b") << QStringLiteral("a\t b");
}

void TestSentencePractice::setProblemCleansText()
{
    QFETCH(QString, text);
    QFETCH(QString, problem);
    TSentencePractice c;
    Type(c, QStringLiteral("x"));
    c.SetProblem(0, text);
    QCOMPARE(c.Sentences()[0]->problem, problem);
    QCOMPARE(c.Sentences()[0]->typed, QString());
}

void TestSentencePractice::setProblemOutOfRangeStillResets()
{
    TSentencePractice c;
    SetProblems(c, {QStringLiteral("ab"), QStringLiteral("cd")});
    Type(c, QStringLiteral("abc"));
    QCOMPARE(c.CurrentIndex(), 1);
    QVERIFY(c.TypingStarted());
    c.SetProblem(5, QStringLiteral("zz"));
    QCOMPARE(c.Sentences()[0]->problem, QStringLiteral("ab"));
    QCOMPARE(c.Sentences()[1]->typed, QStringLiteral("c"));
    QVERIFY(!c.TypingStarted());
    QCOMPARE(c.CurrentIndex(), 0);
}

void TestSentencePractice::sentenceCountZeroIgnoresTyping()
{
    TSentencePractice c;
    TEventLog log;
    log.Attach(c);
    c.SetSentenceCount(0);
    QCOMPARE(c.CurrentIndex(), -1);
    Type(c, QStringLiteral("ab\r\b"));
    c.ImeStartComposition();
    c.ImeComposition(u'가');
    c.ImeChar(u'가');
    QCOMPARE(log.Started, 0);
    QVERIFY(!c.TypingStarted());
    c.SetSentenceCount(-1);
    QCOMPARE(c.SentenceCount(), 0);
    c.SetProblem(0, QStringLiteral("a")); // no sentence to change, no crash
}

void TestSentencePractice::navigation_data()
{
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("ended");

    const QStringList abcd{QStringLiteral("ab"), QStringLiteral("cd")};
    QTest::newRow("full line moves on") << abcd << QStringLiteral("abc") << QStringList{"ab", "c"} << 1 << 0;
    QTest::newRow("blank after full line dropped") << abcd << QStringLiteral("ab ") << QStringList{"ab", ""} << 1 << 0;
    QTest::newRow("enter on half line") << abcd << QStringLiteral("a\r") << QStringList{"a", ""} << 1 << 0;
    QTest::newRow("enter on last line ends") << abcd << QStringLiteral("a\rc\r") << QStringList{"a", "c"} << 1 << 1;
    QTest::newRow("backspace on empty second line")
        << abcd << QStringLiteral("ab \b") << QStringList{"ab", ""} << 0 << 0;
    QTest::newRow("backspace deletes") << abcd << QStringLiteral("ax\bb") << QStringList{"ab", ""} << 0 << 0;
    QTest::newRow("backspace across lines then deletes")
        << abcd << QStringLiteral("abc\b\b\b") << QStringList{"a", ""} << 0 << 0;
    QTest::newRow("backspace on first empty line") << abcd << QStringLiteral("\b\b") << QStringList{"", ""} << 0 << 0;
    QTest::newRow("empty problems at the end are skipped")
        << QStringList{"a", "b", "", ""} << QStringLiteral("abx") << QStringList{"a", "b", "", "x"} << 3 << 1;
    QTest::newRow("empty problem in the middle skipped")
        << QStringList{"a", "", "c"} << QStringLiteral("ac") << QStringList{"a", "", "c"} << 2 << 0;
    QTest::newRow("backspace enters an empty problem")
        << QStringList{"a", "", "c"} << QStringLiteral("ac\b\b") << QStringList{"a", "", ""} << 1 << 0;
    QTest::newRow("control characters are committed")
        << abcd << QString(QChar(1)) + QChar(9) << QStringList{QString(QChar(1)) + QChar(9), ""} << 0 << 0;
}

void TestSentencePractice::navigation()
{
    QFETCH(QStringList, problems);
    QFETCH(QString, keys);
    QFETCH(QStringList, typed);
    QFETCH(int, current);
    QFETCH(int, ended);
    TSentencePractice c;
    TEventLog log;
    log.Attach(c);
    SetProblems(c, problems);
    Type(c, keys);
    QCOMPARE(TypedLines(c), typed);
    QCOMPARE(c.CurrentIndex(), current);
    QCOMPARE(log.Ended, ended);
}

void TestSentencePractice::escIsNeitherTypedNorPassedOn()
{
    TSentencePractice c;
    SetProblems(c, {QStringLiteral("ab")});
    TEventLog log;
    log.Attach(c);
    int pressed = 0;
    c.SetOnKeyPress([&](QObject*, QChar&) { ++pressed; });
    c.KeyChar(27);
    QCOMPARE(c.Sentences()[0]->typed, QString());
    QCOMPARE(pressed, 0);
    QCOMPARE(log.Started, 0);
    c.KeyChar(u'a');
    QCOMPARE(pressed, 1);
}

void TestSentencePractice::readOnlyTakesNothing()
{
    QWidget window;
    auto* c = new TSentencePractice(&window);
    c->SetReadOnly(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    c->setFocus();
    QTRY_VERIFY(c->hasFocus());
    QVERIFY(!c->CaretVisible());
    const int phase = c->CaretTick();
    QTest::qWait(500);
    QCOMPARE(c->CaretTick(), phase); // no blink timer
    TEventLog log;
    log.Attach(*c);
    QTest::keyClicks(c, QStringLiteral("ab"));
    c->ImeStartComposition();
    c->ImeComposition(u'가');
    c->ImeChar(u'가');
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("나"));
    QApplication::sendEvent(c, &commit);
    QCOMPARE(TypedLines(*c), (QStringList{"", ""}));
    QVERIFY(!c->IsComposing());
    QCOMPARE(log.Started, 0);
    QVERIFY(!c->inputMethodQuery(Qt::ImEnabled).toBool());
}

void TestSentencePractice::eventsFireInOrder()
{
    TSentencePractice c;
    SetProblems(c, {QStringLiteral("ab")});
    QStringList order;
    c.SetOnTypingStarted([&](QObject* sender) {
        QCOMPARE(sender, &c);
        order << "started";
    });
    c.SetOnTypingError([&](QObject*) { order << "error"; });
    c.SetOnTypingEnded([&](QObject*) { order << "ended"; });
    Type(c, QStringLiteral("xb\r"));
    QCOMPARE(order, (QStringList{"started", "error", "ended"}));
    // A Backspace also starts a set.
    c.SetProblem(0, QStringLiteral("ab"));
    order.clear();
    Type(c, QStringLiteral("\b"));
    QCOMPARE(order, QStringList{"started"});
}

// Keys after the end fire the end again with a new stop tick, but the set counts in the totals once.
void TestSentencePractice::keysAfterEndAddTheSetOnce()
{
    TFakeClock clock(5000);
    TSentencePractice c;
    SetProblems(c, {QStringLiteral("abcde"), QStringLiteral("fghij")});
    TEventLog log;
    log.Attach(c);
    Type(c, QStringLiteral("a"));
    clock.Advance(6000);
    Type(c, QStringLiteral("bcdefghij"));
    Type(c, QStringLiteral("\r"));
    QCOMPARE(log.Ended, 1);
    QCOMPARE(c.GetAvgTypingSpeed(false), 100);
    const TTypingMeasure first = c.Measure();
    clock.Advance(6000);
    Type(c, QStringLiteral("\r"));
    QCOMPARE(log.Ended, 2);
    QCOMPARE(c.Measure().FStopTick, first.FStopTick + 6000);
    QCOMPARE(c.Measure().FTotalTypedLen, first.FTotalTypedLen);
    QCOMPARE(c.Measure().FTotalElapsedTime, first.FTotalElapsedTime);
    QCOMPARE(c.Measure().FTotalProblemLen, 10);
    QCOMPARE(c.GetAvgTypingSpeed(false), 100);
    // New problems make a new set, which is added.
    c.SetProblem(0, QStringLiteral("ab"));
    c.SetProblem(1, QString());
    Type(c, QStringLiteral("ab\r"));
    QCOMPARE(c.Measure().FTotalProblemLen, 12);
}

void TestSentencePractice::charactersPastTheEndAreKeptAndMarked()
{
    TSentencePractice c;
    Prepare(c);
    SetProblems(c, {QStringLiteral("ab")});
    TEventLog log;
    log.Attach(c);
    Type(c, QStringLiteral("abxy"));
    QCOMPARE(c.Sentences()[0]->typed, QStringLiteral("abxy"));
    QCOMPARE(log.Ended, 2);
    QCOMPARE(log.Errors, 0); // past the end nothing is compared
    int problemLen, typedLen, right;
    QCOMPARE(c.GetTypingAccuracy(problemLen, typedLen, right, false), 1.0f);
    QCOMPARE(typedLen, 4);
    QCOMPARE(right, 2);
    // Drawn in the wrong-mark colour.
    const QImage image = RenderWidget(&c);
    const QRect x = c.TypedCellRect(0, 2), a = c.TypedCellRect(0, 0);
    image.save(TestOutputFolder() + QStringLiteral("/sentence_past_the_end.png"));
    QVERIFY(CountNear(image, x, Qt::red) > 3);
    QCOMPARE(CountNear(image, a, Qt::red), 0);
    Type(c, QStringLiteral("\b\b"));
    QCOMPARE(c.Sentences()[0]->typed, QStringLiteral("ab"));
}

void TestSentencePractice::handlerMaySetNewProblemsOnEnd()
{
    TFakeClock clock;
    TSentencePractice c;
    SetProblems(c, {QStringLiteral("ab"), QStringLiteral("cd")});
    int ended = 0;
    c.SetOnTypingEnded([&](QObject*) {
        ++ended;
        c.SetSentenceCount(3);
        for (int i = 0; i < 3; ++i)
            c.SetProblem(i, QStringLiteral("xyz"));
    });
    Type(c, QStringLiteral("abcdx"));
    QCOMPARE(ended, 1);
    QCOMPARE(c.SentenceCount(), 3);
    QCOMPARE(TypedLines(c), (QStringList{"x", "", ""}));
    QVERIFY(!c.TypingStarted()); // the new set is timed from the next key
    Type(c, QStringLiteral("y"));
    QVERIFY(c.TypingStarted());
}

void TestSentencePractice::handlerMayRemoveSentences_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("count");
    for (const char* event : {"started", "error", "ended"})
        for (int count : {0, 1, 3})
            QTest::newRow(qPrintable(QStringLiteral("%1 to %2").arg(event).arg(count))) << QString(event) << count;
}

// Whatever a handler does to the sentences, the control goes on with the sentences it has then.
void TestSentencePractice::handlerMayRemoveSentences()
{
    QFETCH(QString, event);
    QFETCH(int, count);
    TSentencePractice c;
    c.resize(400, 200);
    SetProblems(c, {QStringLiteral("ab"), QStringLiteral("cd")});
    c.SetCheckComposingChar(true);
    const TNotifyEvent handler = [&](QObject*) { c.SetSentenceCount(count); };
    if (event == "started")
        c.SetOnTypingStarted(handler);
    else if (event == "error")
        c.SetOnTypingError(handler);
    else
        c.SetOnTypingEnded(handler);
    Type(c, QStringLiteral("xbcd"));
    Type(c, QStringLiteral("e\r\b"));
    c.ImeStartComposition();
    c.ImeComposition(u'가');
    c.ImeChar(u'가');
    c.ImeEndComposition();
    QCOMPARE(c.SentenceCount(), count);
    QCOMPARE(c.CurrentIndex() >= 0, count > 0);
    RenderWidget(&c);
}

void TestSentencePractice::accuracy_data()
{
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("isCurrent");
    QTest::addColumn<float>("accuracy");
    QTest::addColumn<int>("problemLen");
    QTest::addColumn<int>("typedLen");
    QTest::addColumn<int>("rightLen");
    QTest::newRow("nothing typed, current") << QStringList{"abcd"} << QStringList{""} << true << 0.0f << 0 << 0 << 0;
    QTest::newRow("nothing typed, ended") << QStringList{"abcd"} << QStringList{""} << false << 0.0f << 4 << 0 << 0;
    QTest::newRow("half typed, ended") << QStringList{"abcd", "efgh"} << QStringList{"ab", "ef"} << false << 0.5f << 8
                                       << 4 << 4;
    QTest::newRow("half typed, current") << QStringList{"abcd", "efgh"} << QStringList{"ab", "ef"} << true << 1.0f << 4
                                         << 4 << 4;
    QTest::newRow("one wrong of three") << QStringList{"abc"} << QStringList{"axc"} << true << float(2.0 / 3.0) << 3
                                        << 3 << 2;
    QTest::newRow("past the end never right")
        << QStringList{"ab"} << QStringList{"abab"} << true << 0.5f << 4 << 4 << 2;
    QTest::newRow("empty problems") << QStringList{"", ""} << QStringList{"", ""} << false << 0.0f << 0 << 0 << 0;
}

void TestSentencePractice::accuracy()
{
    QFETCH(QStringList, problems);
    QFETCH(QStringList, typed);
    QFETCH(bool, isCurrent);
    QFETCH(float, accuracy);
    TSentenceList sentences;
    for (int i = 0; i < problems.size(); ++i) {
        sentences.push_back(std::make_unique<TSentence>());
        sentences.back()->problem = problems[i];
        sentences.back()->typed = typed[i];
    }
    int problemLen = -1, typedLen = -1, rightLen = -1;
    QCOMPARE(TTypingMeasure::GetTypingAccuracy(sentences, problemLen, typedLen, rightLen, isCurrent), accuracy);
    QTEST(problemLen, "problemLen");
    QTEST(typedLen, "typedLen");
    QTEST(rightLen, "rightLen");
}

void TestSentencePractice::speed_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("average");
    QTest::newRow("10 right in 6 s") << "abcdefghij"
                                     << "abcdefghij" << 6000 << 100 << 100;
    // The accuracy in single precision cuts 90 to 89; the average keeps it in extended precision.
    QTest::newRow("9 of 10 right in 6 s") << "abcdefghij"
                                          << "abcdefghix" << 6000 << 89 << 90;
    QTest::newRow("0 ms") << "abc"
                          << "abc" << 0 << 0 << 0;
    QTest::newRow("clock went back") << "abc"
                                     << "abc" << -5 << 0 << 0;
    QTest::newRow("nothing typed") << "abc"
                                   << "" << 6000 << 0 << 0;
    QTest::newRow("half typed in 3 s") << "abcd"
                                       << "ab" << 3000 << 20 << 20;
}

void TestSentencePractice::speed()
{
    QFETCH(QString, problem);
    QFETCH(QString, typed);
    QFETCH(int, ms);
    TSentenceList sentences;
    sentences.push_back(std::make_unique<TSentence>());
    sentences[0]->problem = problem;
    sentences[0]->typed = typed;
    TTypingMeasure m;
    m.FStartTick = 0xFFFFF000u; // across the wrap of the counter
    m.FStopTick = m.FStartTick + uint32_t(ms);
    QTEST(m.GetTypingSpeed(sentences, false), "speed");
    m.AddTotals(sentences);
    QTEST(m.GetAvgTypingSpeed(sentences, false), "average");
}

void TestSentencePractice::averageOverSets()
{
    TSentenceList sentences;
    sentences.push_back(std::make_unique<TSentence>());
    sentences[0]->problem = QStringLiteral("abcdefghij");
    sentences[0]->typed = QStringLiteral("abcdefghij");
    TTypingMeasure m;
    m.FStartTick = 100;
    m.FStopTick = 6100;
    m.AddTotals(sentences); // 10 in 6 s
    m.AddTotals(sentences); // the same set again counts nothing
    QCOMPARE(m.FTotalTypedLen, 10);
    m.FSetAdded = false;
    sentences[0]->typed = QStringLiteral("abcde");
    m.FStartTick = 10000;
    m.FStopTick = 16000;
    m.AddTotals(sentences); // 5 of 10 in 6 s
    QCOMPARE(m.FTotalProblemLen, 20);
    QCOMPARE(m.FTotalElapsedTime, 12000);
    // 15 typed in 12 s, 15 of 20 right: 75 x 0.75
    QCOMPARE(m.GetAvgTypingSpeed(sentences, false), 56);
}

void TestSentencePractice::currentSpeedUsesTheClockNow()
{
    TFakeClock clock(1000);
    TSentencePractice c;
    SetProblems(c, {QStringLiteral("abcdefghij")});
    QCOMPARE(c.GetTypingSpeed(true), 0);
    QCOMPARE(c.GetAvgTypingSpeed(true), 0);
    Type(c, QStringLiteral("ab"));
    QCOMPARE(c.GetTypingSpeed(true), 0); // 0 ms since the first key
    clock.Advance(1200);
    Type(c, QStringLiteral("cx"));
    // 4 typed, 3 right: 4 / 1.2 s = 200 a minute, times 0.75
    QCOMPARE(c.GetTypingSpeed(true), 150);
    QCOMPARE(c.GetAvgTypingSpeed(true), 150);
}

void TestSentencePractice::wrongBlankIsABox()
{
    TSentencePractice c;
    Prepare(c);
    c.SetWrongMarkColor(RGB(0, 0, 255));
    SetProblems(c, {QStringLiteral("ab")});
    Type(c, QStringLiteral(" "));
    const QImage image = RenderWidget(&c);
    image.save(TestOutputFolder() + QStringLiteral("/sentence_wrong_blank.png"));
    const QRect cell = c.TypedCellRect(0, 0);
    // The outline's edges are in the mark colour, its inside is background.
    QCOMPARE(image.pixel(cell.left() + 1, cell.center().y()) & 0xFFFFFF, 0x0000FFu);
    QCOMPARE(image.pixel(cell.center().x(), cell.top() + 2) & 0xFFFFFF, 0x0000FFu);
    QCOMPARE(image.pixel(cell.center()) & 0xFFFFFF, 0xFFFFFFu);
}

void TestSentencePractice::backgroundHandlerReplacesColor()
{
    TSentencePractice c;
    Prepare(c);
    c.SetColor(RGB(0, 255, 0));
    int calls = 0;
    c.SetOnDrawBackGround([&](QObject* sender, QRect& rect) {
        QCOMPARE(sender, &c);
        ++calls;
        c.Canvas()->fillRect(rect, QColor(10, 20, 30));
    });
    const QImage image = RenderWidget(&c);
    QVERIFY(calls > 0);
    QCOMPARE(CountColor(image, image.rect(), qRgb(0, 255, 0)), 0);
    QCOMPARE(image.pixel(c.width() - 2, c.height() - 2) & 0xFFFFFF, 0x0A141Eu);
}

void TestSentencePractice::composingBlockColouredByCheck()
{
    TSentencePractice c;
    Prepare(c);
    c.SetCheckComposingChar(true);
    c.SetFontColor(RGB(0, 0, 0));
    SetProblems(c, {QStringLiteral("가나")});
    c.ImeStartComposition();
    c.ImeComposition(u'ㄱ');
    const QRect cell = c.TypedCellRect(0, 0);
    // The block is as wide as the syllable, two thirds of the caret's cell.
    const QRect inner = QRect(cell.topLeft(), QSize(cell.width() * 2 / 3, cell.height())).adjusted(1, 1, -1, -1);
    QImage image = RenderWidget(&c);
    image.save(TestOutputFolder() + QStringLiteral("/sentence_composing_right.png"));
    QVERIFY(CountColor(image, inner, qRgb(0, 0, 0)) > inner.width() * inner.height() / 2);
    c.ImeComposition(u'거');
    image = RenderWidget(&c);
    image.save(TestOutputFolder() + QStringLiteral("/sentence_composing_wrong.png"));
    QVERIFY(CountColor(image, inner, qRgb(255, 0, 0)) > inner.width() * inner.height() / 2);
}

void TestSentencePractice::readOnlyShowsNoCaret()
{
    QWidget window;
    auto* c = new TSentencePractice(&window);
    Prepare(*c);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    c->setFocus();
    QTRY_VERIFY(c->CaretVisible());
    const QRect caret = c->TypedCellRect(0, 0);
    auto bluePixels = [&] {
        const QImage image = RenderWidget(c);
        int n = 0;
        for (int y = caret.top(); y <= caret.bottom(); ++y)
            for (int x = caret.left(); x <= caret.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                n += p.blue() > 150 && p.red() < 120;
            }
        return n;
    };
    QVERIFY(bluePixels() > 10);
    c->SetReadOnly(true);
    QCOMPARE(bluePixels(), 0);
    // Nor does a composition blink in a read-only control.
    c->SetReadOnly(false);
    c->ImeStartComposition();
    c->ImeComposition(u'ㄱ');
    c->SetReadOnly(true);
    for (int i = 0; i < 2; ++i) {
        const QImage image = RenderWidget(c);
        QVERIFY(CountColor(image, caret.adjusted(1, 1, -1, -1), qRgb(0, 0, 0)) > 20);
        QTest::qWait(450);
    }
}

// A keystroke repaints the rest of the typed line, never the problem line or other sentences.
void TestSentencePractice::keystrokeRepaintsOnlyTheTypedLine()
{
    QWidget window;
    auto* c = new TSentencePractice(&window);
    Prepare(*c);
    SetProblems(*c, {QStringLiteral("abcdefghij"), QStringLiteral("klmnop")});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Type(*c, QStringLiteral("abcd"));
    QApplication::processEvents();
    TPaintCounter spy(c);
    Type(*c, QStringLiteral("e"));
    QTRY_VERIFY(!spy.Painted.isEmpty());
    const QRect painted = spy.Painted.boundingRect();
    QVERIFY(painted.top() >= c->TypedCellRect(0, 0).top());
    QVERIFY(painted.bottom() <= c->TypedCellRect(0, 0).bottom());
    QVERIFY(painted.left() >= c->TypedCellRect(0, 4).left());
}

void TestSentencePractice::blinkRepaintsOnlyTheCaretCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("composing");
    QTest::newRow("at the start") << QString() << false;
    QTest::newRow("mid-line") << QStringLiteral("abcd") << false;
    QTest::newRow("composing block") << QStringLiteral("abcd") << true;
}

// A window left alone blinks its caret: each blink repaints the caret's cell (or the composing block),
// nothing of the line around it.
void TestSentencePractice::blinkRepaintsOnlyTheCaretCell()
{
    QFETCH(QString, typed);
    QFETCH(bool, composing);
    QWidget window;
    auto* c = new TSentencePractice(&window);
    Prepare(*c);
    SetProblems(*c, {QStringLiteral("abcdefghij"), QStringLiteral("klmnop")});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    c->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(c->CaretVisible());
    Type(*c, typed);
    if (composing) {
        c->ImeStartComposition();
        c->ImeComposition(u'한');
    }
    QApplication::processEvents();
    const QRect cell = c->TypedCellRect(0, int(typed.size()));
    // The caret's icon is one line high and square: here it fits in the cell of three letters.
    QVERIFY(cell.width() >= cell.height());

    TPaintCounter spy(c);
    const int tick = c->CaretTick();
    QTRY_VERIFY(c->CaretTick() != tick);
    QTRY_COMPARE(c->CaretTick(), tick);
    QApplication::processEvents();
    QVERIFY(spy.Count >= 2);
    QCOMPARE(spy.Painted.boundingRect(), cell);
}

QTEST_MAIN(TestSentencePractice)
#include "tst_sentencepractice.moc"
