// The speed meter control: the series collection and its sorting, custom blocks, property writers and
// their messages, frames per tick, the mouse with its page buttons, PrintImage and failures while painting.

#include "tests/widgets/zavadumeter_fixture.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"

#include <QtTest>

#include <cmath>

using namespace Zavadu;

namespace {
// A shown meter (a control only renders while visible).
struct TMeterHost
{
    QWidget host;
    TZavaduMeter* m;
    explicit TMeterHost(int w = 300, int h = 200)
    {
        host.resize(w, h);
        m = new TZavaduMeter(&host);
        m->SetBounds(0, 0, w, h);
        host.show();
        (void)QTest::qWaitForWindowExposed(&host);
    }
    ~TMeterHost()
    {
        m->SetActive(false);
        QTest::qWait(5); // lets a worker blocked on a tick see that it was stopped
    }
};

QStringList Names(TZavaduSerieses* s, bool display = false)
{
    QStringList names;
    for (int i = 0; i < s->Count(); ++i)
        names << (display ? s->Items(i)->DisplayName() : s->Items(i)->Name());
    return names;
}

int gMessageBoxes = 0;
QString gLastMessage;
int CountingHook(const QString& text, const QString&, unsigned)
{
    ++gMessageBoxes;
    gLastMessage = text;
    return IDOK;
}

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QString();
}

TColor PixelAt(TBitmap* b, int x, int y)
{
    const uint8_t* p = b->ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}
} // namespace

class TestZavaduMeter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void addInsertsByDisplayName();
    void addFindsExistingIgnoringCase();
    void addItemExactSearchThenSortsAsNew();
    void addItemAddsAndKeepsLiftOfDownSeries();
    void sortOrders_data();
    void sortOrders();
    void sortIsNotStable();
    void inconsistentComparerStaysInTheList_data();
    void inconsistentComparerStaysInTheList();
    void resetValuesKeepsTheRest();
    void blockListBounds();
    void customBlocksAndLegend();
    void extractLegendAndClear();
    void blockColourEventAnswersStay();
    void focusedSeries();

    void writersRepaint_data();
    void writersRepaint();
    void validationMessages_data();
    void validationMessages();
    void writersThatClamp();

    void countsStepOneBlockPerTick();
    void noRenderAfterActiveOff();
    void exposeOnlyCopiesTheFrame();
    void paintErrorIsReportedOnceAndFrameCopied();
    void valueWithoutWholeNumberStopsTheFrame_data();
    void valueWithoutWholeNumberStopsTheFrame();
    void backgroundWithoutHandlerIsCleared();
    void disconnectedTextRestoresFontColour();
    void noRoomForABarDrawsNoBars();
    void noSeriesStillDrawsTheChart();
    void maxChangeFollowsTheTotals_data();
    void maxChangeFollowsTheTotals();

    void pagingAndHitTest();
    void hitTestIgnoresStalePages();
    void failedFrameAnswersNoHits();
    void pressOnButtonSilencesTheClick();
    void emptyMeterNeverWalksFromMinusOne();
    void doubleClickOnBarOrText_data();
    void doubleClickOnBarOrText();
    void doubleClickJudgedWhereTheSecondPressIs();
    void printImageRendersAtItsOwnSize();
    void printImageLeavesTheControlsPage();

private:
    QImage FPicture;
};

void TestZavaduMeter::initTestCase()
{
    TApplication::InstallFontSubstitutions();
    FPicture = MakeBackgroundPicture(256, 192);
}

void TestZavaduMeter::addInsertsByDisplayName()
{
    TZavaduMeter m;
    TZavaduSerieses* s = m.Serieses();
    s->Add(QStringLiteral("b"), QStringLiteral("B"));
    s->Add(QStringLiteral("a"), QStringLiteral("A"));
    s->Add(QStringLiteral("c"), QStringLiteral("C"));
    s->Add(QStringLiteral("a2"), QStringLiteral("A"));
    QCOMPARE(Names(s), (QStringList{"a", "a2", "b", "c"}));
    // Without SortWhenAdd the order is the order of adding.
    m.SetSortWhenAdd(false);
    s->Add(QStringLiteral("0"), QStringLiteral("0"));
    QCOMPARE(Names(s).last(), QStringLiteral("0"));
}

void TestZavaduMeter::addFindsExistingIgnoringCase()
{
    TZavaduMeter m;
    TZavaduSeries* a = m.Serieses()->Add(QStringLiteral("MaxBar"), QStringLiteral("최고"));
    TZavaduSeries* b = m.Serieses()->Add(QStringLiteral("MAXBAR"), QStringLiteral("other"));
    QCOMPARE(b, a);
    QCOMPARE(a->DisplayName(), QStringLiteral("최고"));
    QCOMPARE(m.Serieses()->Count(), 1);
    QCOMPARE(m.Serieses()->FindItem(QStringLiteral("maxbar")), a);
    QCOMPARE(m.Serieses()->FindItem(QStringLiteral("none")), nullptr);
}

void TestZavaduMeter::addItemExactSearchThenSortsAsNew()
{
    TMeterHost h;
    h.m->SetSortDirection(ssdAscending);
    TZavaduSerieses* s = h.m->Serieses();
    s->AddItem(QStringLiteral("b"), 1, 0, 0, false, false, false, QString());
    TZavaduSeries* a = s->AddItem(QStringLiteral("a"), 1, 0, 0, false, false, false, QString());
    QCOMPARE(Names(s), (QStringList{"a", "b"}));
    QCOMPARE(a->DisplayName(), QStringLiteral("a")); // empty display name takes the name
    int before = h.m->RenderCount();
    s->AddItem(QStringLiteral("a"), 5, 0, 0, false, false, false, QString());
    QCOMPARE(h.m->RenderCount() - before, 1); // found: one repaint, no sort
    before = h.m->RenderCount();
    TZavaduSeries* same = s->AddItem(QStringLiteral("A"), 7, 0, 0, false, false, false, QString());
    QCOMPARE(same, a);
    QCOMPARE(a->BlueValue(), 7.0);
    QCOMPARE(s->Count(), 2);
    QCOMPARE(h.m->RenderCount() - before, 2); // counted as new: repaint, then sort and repaint
}

void TestZavaduMeter::addItemAddsAndKeepsLiftOfDownSeries()
{
    TZavaduMeter m;
    TZavaduSerieses* s = m.Serieses();
    TZavaduSeries* x = s->AddItem(QStringLiteral("x"), 1, 2, 3, false, false, true, QString());
    QVERIFY(x->DrawBorder());
    s->AddItem(QStringLiteral("x"), 1, 1, 1, true, false, false, QString());
    QCOMPARE(x->BlueValue(), 2.0);
    QCOMPARE(x->OrangeValue(), 3.0);
    QCOMPARE(x->RedValue(), 4.0);
    QVERIFY(!x->DrawBorder());
    s->AddItem(QStringLiteral("x"), 0, 0, 0, false, true, false, QString());
    QCOMPARE(x->Bounce().YPos, 2);
    const_cast<TDropBounce&>(x->Bounce()).YPos = 4;
    s->AddItem(QStringLiteral("x"), 0, 0, 0, false, true, false, QString());
    QCOMPARE(x->Bounce().YPos, 4); // already down: the lift stays
}

void TestZavaduMeter::sortOrders_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QStringList>("order");
    // Ordinal and case-sensitive: capitals first.
    QTest::newRow("ascending") << int(ssdAscending) << false << QStringList{"Zed", "apple", "banana", "cherry"};
    QTest::newRow("descending") << int(ssdDescending) << false << QStringList{"cherry", "banana", "apple", "Zed"};
    // Equal lengths (cherry, banana) end up swapped: the partition sort is not stable.
    QTest::newRow("own comparer by length")
        << int(ssdAscending) << true << QStringList{"Zed", "apple", "cherry", "banana"};
}

void TestZavaduMeter::sortOrders()
{
    QFETCH(int, direction);
    QFETCH(bool, custom);
    TZavaduMeter m;
    m.SetSortWhenAdd(false);
    for (const char* n : {"cherry", "apple", "banana", "Zed"})
        m.Serieses()->Add(QString::fromLatin1(n), QString());
    if (custom)
        m.OnSeriesCompare = [](TZavaduSeries* a, TZavaduSeries* b) { return int(a->Name().size() - b->Name().size()); };
    m.SetSortDirection(TSeriesSortDirection(direction));
    QTEST(Names(m.Serieses()), "order");
    // Back to none: stored, not sorted again.
    m.Serieses()->Add(QStringLiteral("aaa"), QString());
    m.SetSortDirection(ssdNone);
    QCOMPARE(Names(m.Serieses()).last(), QStringLiteral("aaa"));
}

void TestZavaduMeter::sortIsNotStable()
{
    TZavaduMeter m;
    m.SetSortWhenAdd(false);
    for (const char* d : {"1", "2", "3"}) {
        TZavaduSeries* s = m.Serieses()->Add(QString::fromLatin1(d), QString::fromLatin1(d));
        s->SetName(QStringLiteral("same"));
    }
    m.Serieses()->Sort();
    QCOMPARE(Names(m.Serieses(), true), (QStringList{"3", "2", "1"}));
}

void TestZavaduMeter::inconsistentComparerStaysInTheList_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("always less") << -1;
    QTest::newRow("always greater") << 1;
}

void TestZavaduMeter::inconsistentComparerStaysInTheList()
{
    QFETCH(int, answer);
    TZavaduMeter m;
    m.SetSortWhenAdd(false);
    for (int i = 0; i < 7; ++i)
        m.Serieses()->Add(QString::number(i), QString());
    m.OnSeriesCompare = [answer](TZavaduSeries*, TZavaduSeries*) { return answer; };
    m.Serieses()->Sort();
    QStringList names = Names(m.Serieses());
    names.sort();
    QCOMPARE(names, (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
}

void TestZavaduMeter::resetValuesKeepsTheRest()
{
    TZavaduMeter m;
    TZavaduSeries* s = m.Serieses()->AddItem(QStringLiteral("x"), 1, 2, 3, false, true, false, QStringLiteral("X"));
    s->AddBlockItem(QStringLiteral("k"), 4, clLime, false);
    s->SetBlockRedColor(clTeal);
    m.Serieses()->ResetValues();
    QCOMPARE(s->BlueValue() + s->OrangeValue() + s->RedValue(), 0.0);
    QCOMPARE(s->DisplayName(), QStringLiteral("X"));
    QCOMPARE(s->BlockRedColor(), clTeal);
    QVERIFY(s->IsDown());
    QCOMPARE(s->BlockList()->TotalBlockValue(), 4.0);
}

void TestZavaduMeter::blockListBounds()
{
    TSeriesBlockList list;
    QCOMPARE(list.TotalBlockValue(), 0.0);
    list.Add(QStringLiteral("One"))->Value = 2;
    list.Add(QStringLiteral("two"))->Value = 3;
    QCOMPARE(list.Items(-1), nullptr);
    QCOMPARE(list.Items(2), nullptr);
    list.Delete(-1);
    list.Delete(2);
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.FindBlock(QStringLiteral("ONE")), list.Items(0));
    QCOMPARE(list.TotalBlockValue(), 5.0);
    list.Delete(0);
    QCOMPARE(list.Items(0)->BlockName, QStringLiteral("two"));
}

void TestZavaduMeter::customBlocksAndLegend()
{
    TZavaduMeter m;
    TZavaduSeries* s = m.Serieses()->Add(QStringLiteral("x"), QStringLiteral("x"));
    s->AddBlockItem(QStringLiteral("오타"), 2, 0x0000FF, false);
    s->AddBlockItem(QStringLiteral("오타"), 3, 0x00FF00, true); // keeps its first colour
    QCOMPARE(s->BlockList()->Count(), 1);
    QCOMPARE(s->BlockList()->Items(0)->Value, 5.0);
    QCOMPARE(s->BlockList()->Items(0)->Color, 0x0000FF);
    QCOMPARE(m.Legend(), (QStringList{"$000000FF;오타"}));
    s->AddBlockItem(QStringLiteral("Key"), 1, 0x00FF00, false);
    s->AddBlockItem(QStringLiteral("KEY"), 1, 0x00FF00, false); // another case: another block
    QCOMPARE(s->BlockList()->Count(), 3);
    QCOMPARE(m.Legend().size(), 2); // the legend's search ignores case
}

void TestZavaduMeter::extractLegendAndClear()
{
    TZavaduMeter m;
    TZavaduSeries* a = m.Serieses()->Add(QStringLiteral("a"), QStringLiteral("a"));
    TZavaduSeries* b = m.Serieses()->Add(QStringLiteral("b"), QStringLiteral("b"));
    a->AddBlockItem(QStringLiteral("k"), 1, 0x112233, false);
    b->AddBlockItem(QStringLiteral("k"), 1, 0x112233, false);
    b->AddBlockItem(QStringLiteral("m"), 1, 0x445566, false);
    m.Legend().clear();
    m.ExtractLegend();
    QCOMPARE(m.Legend(), (QStringList{"$00112233;k", "$00445566;m"}));
    m.Serieses()->Clear();
    QCOMPARE(m.Serieses()->Count(), 0);
    QVERIFY(m.Legend().isEmpty());
}

void TestZavaduMeter::blockColourEventAnswersStay()
{
    TMeterHost h;
    TZavaduSeries* blue = h.m->Serieses()->AddItem(QStringLiteral("b"), 5, 0, 0, false, false, false, QString());
    h.m->Serieses()->AddItem(QStringLiteral("r"), 5, 0, 3, false, false, false, QString());
    QStringList asked;
    h.m->OnGetBlockColor = [&](TZavaduSeries* s, char type, TColor& color) {
        asked << s->Name() + QLatin1Char(type);
        if (type == 'B') color = clLime;
    };
    QCOMPARE(blue->BlockBlueColor(), clLime);
    h.m->OnGetBlockColor = nullptr;
    QCOMPARE(blue->BlockBlueColor(), clLime); // the answer was kept in the series
    asked.clear();
    h.m->OnGetBlockColor = [&](TZavaduSeries* s, char type, TColor&) { asked << s->Name() + QLatin1Char(type); };
    h.m->Paint();
    // Each stack reads its colour through the accessor; the drop block asks with its drop type.
    QVERIFY(asked.contains(QStringLiteral("bB")));
    QVERIFY(asked.contains(QStringLiteral("rR")));
    QCOMPARE(asked.count(QStringLiteral("rR")), 2);
}

void TestZavaduMeter::focusedSeries()
{
    TMeterHost h;
    TZavaduSeries* a = h.m->Serieses()->Add(QStringLiteral("a"), QStringLiteral("a"));
    TZavaduSeries* b = h.m->Serieses()->Add(QStringLiteral("b"), QStringLiteral("b"));
    QCOMPARE(h.m->GetFocusedSeries(), nullptr);
    b->SetIsFocus(true);
    a->SetIsFocus(true);
    QCOMPARE(h.m->GetFocusedSeries(), a); // the first in collection order
}

// Writers and whether they render at once, with the meter idle and active.
enum TWriter {
    wLegendVisible,
    wShowOnlyXYAxis,
    wSortDirection,
    wSortDirectionNone,
    wShowGrid,
    wVertLabelsPos,
    wZeroValueString,
    wZeroValueStringSame,
    wBlockRedLegendShown,
    wBlockRedLegendHidden,
    wBlendAlpha,
    wBlendAlphaSame,
    wIsFocus,
    wAddBlockItem,
    wEndUpdate,
    wLegendText,
    wMaxBlockCount,
    wBlueValue,
};

void TestZavaduMeter::writersRepaint_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("idle");
    QTest::addColumn<int>("active");
    QTest::newRow("LegendVisible") << int(wLegendVisible) << 1 << 0;
    QTest::newRow("ShowOnlyXYAxis") << int(wShowOnlyXYAxis) << 1 << 1;
    QTest::newRow("SortDirection") << int(wSortDirection) << 1 << 1;
    QTest::newRow("SortDirection none") << int(wSortDirectionNone) << 0 << 0;
    QTest::newRow("ShowGrid") << int(wShowGrid) << 1 << 1;
    QTest::newRow("VertLabelsPos") << int(wVertLabelsPos) << 1 << 1;
    QTest::newRow("ZeroValueString") << int(wZeroValueString) << 1 << 0;
    QTest::newRow("ZeroValueString same") << int(wZeroValueStringSame) << 0 << 0;
    QTest::newRow("BlockRedLegend, legend shown") << int(wBlockRedLegendShown) << 1 << 1;
    QTest::newRow("BlockRedLegend, legend hidden") << int(wBlockRedLegendHidden) << 0 << 0;
    QTest::newRow("BlendAlpha") << int(wBlendAlpha) << 1 << 0;
    QTest::newRow("BlendAlpha same") << int(wBlendAlphaSame) << 0 << 0;
    QTest::newRow("IsFocus") << int(wIsFocus) << 1 << 0;
    QTest::newRow("AddBlockItem") << int(wAddBlockItem) << 1 << 0;
    QTest::newRow("EndUpdate") << int(wEndUpdate) << 1 << 0;
    QTest::newRow("Legend") << int(wLegendText) << 1 << 0;
    QTest::newRow("MaxBlockCount") << int(wMaxBlockCount) << 0 << 0;
    QTest::newRow("BlueValue") << int(wBlueValue) << 0 << 0;
}

void TestZavaduMeter::writersRepaint()
{
    QFETCH(int, writer);
    QFETCH(int, idle);
    QFETCH(int, active);
    const int idleRenders = idle, activeRenders = active;
    for (const bool active : {false, true}) {
        QTest::qWait(1);
        TMeterHost h;
        TZavaduMeter* m = h.m;
        TZavaduSeries* s = m->Serieses()->Add(QStringLiteral("b"), QStringLiteral("b"));
        m->Serieses()->Add(QStringLiteral("a"), QStringLiteral("a"));
        if (writer == wBlockRedLegendShown || writer == wLegendText) m->SetLegendVisible(true);
        m->Paint();
        // No events are processed here, so the refresh timer's ticks do not count.
        m->SetActive(active);
        const int before = m->RenderCount();
        switch (TWriter(writer)) {
        case wLegendVisible:
            m->SetLegendVisible(true);
            break;
        case wShowOnlyXYAxis:
            m->SetShowOnlyXYAxis(true);
            break;
        case wSortDirection:
            m->SetSortDirection(ssdDescending);
            break;
        case wSortDirectionNone:
            m->SetSortDirection(ssdNone);
            break;
        case wShowGrid:
            m->SetShowGrid(false);
            break;
        case wVertLabelsPos:
            m->SetVertLabelsPos(alpLeft);
            break;
        case wZeroValueString:
            m->SetZeroValueString(QStringLiteral("-"));
            break;
        case wZeroValueStringSame:
            m->SetZeroValueString(QStringLiteral("0"));
            break;
        case wBlockRedLegendShown:
        case wBlockRedLegendHidden:
            m->SetBlockRedLegend(QStringLiteral("빠름"));
            break;
        case wBlendAlpha:
            m->SetBlendAlpha(0.5f);
            break;
        case wBlendAlphaSame:
            m->SetBlendAlpha(1.0f);
            break;
        case wIsFocus:
            s->SetIsFocus(true);
            break;
        case wAddBlockItem:
            s->AddBlockItem(QStringLiteral("k"), 1, clRed, false);
            break;
        case wEndUpdate:
            m->BeginUpdate();
            m->EndUpdate();
            break;
        case wLegendText:
            m->SetLegend(QStringList{QStringLiteral("$000000FF;x")});
            break;
        case wMaxBlockCount:
            m->SetMaxBlockCount(50);
            break;
        case wBlueValue:
            s->SetBlueValue(9);
            break;
        }
        QCOMPARE(m->RenderCount() - before, active ? activeRenders : idleRenders);
    }
}

void TestZavaduMeter::validationMessages_data()
{
    QTest::addColumn<int>("property"); // 0 BlendAlpha, 1 FlowBlockPortion
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("alpha above 1") << 0 << 1.5f << "BlendAlpha value must be in 0..1";
    QTest::newRow("alpha below 0") << 0 << -0.1f << "BlendAlpha value must be in 0..1";
    QTest::newRow("alpha 0 is fine") << 0 << 0.0f << "";
    QTest::newRow("portion 0") << 1 << 0.0f << "FlowBlockPortion must be larger than 0";
    QTest::newRow("portion above 1") << 1 << 1.01f << "FlowBlockPortion must be less than 1 or equal with 1";
    QTest::newRow("portion 1 is fine") << 1 << 1.0f << "";
    QTest::newRow("alpha not a number") << 0 << float(NAN) << "BlendAlpha value must be in 0..1";
    QTest::newRow("portion not a number") << 1 << float(NAN) << "FlowBlockPortion must be larger than 0";
}

void TestZavaduMeter::validationMessages()
{
    QFETCH(int, property);
    QFETCH(float, value);
    QFETCH(QString, message);
    TZavaduMeter m;
    const float before = property == 0 ? m.BlendAlpha() : m.FlowBlockPortion();
    const QString got = ErrorOf([&] {
        if (property == 0)
            m.SetBlendAlpha(value);
        else
            m.SetFlowBlockPortion(value);
    });
    QCOMPARE(got, message);
    const float after = property == 0 ? m.BlendAlpha() : m.FlowBlockPortion();
    QCOMPARE(after, message.isEmpty() ? value : before);
}

void TestZavaduMeter::writersThatClamp()
{
    TZavaduMeter m;
    TZavaduSeries* s = m.Serieses()->Add(QStringLiteral("x"), QStringLiteral("x"));
    m.SetBlockHeight(7);
    QCOMPARE(s->BlockHeight(), 7);
    m.SetBlockHeight(0);
    QCOMPARE(m.BlockHeight(), 7);
    QCOMPARE(s->BlockHeight(), 7);
    m.SetFlowBlockSize(2);
    QCOMPARE(m.FlowBlockSize(), 5);
    m.SetVertLabelsIncrement(0);
    QCOMPARE(m.VertLabelsIncrement(), 1);
    m.SetMaxBlockCount(123);
    QCOMPARE(s->MaxBlock(), 123);
    m.SetBlockBlueColor(clNavy);
    QCOMPARE(s->BlockBlueColor(), clNavy);
    QCOMPARE(m.TimerInterval(), 90);
}

void TestZavaduMeter::countsStepOneBlockPerTick()
{
    TMeterHost h(176, 500);
    ConfigureSentenceMeter(h.m);
    TZavaduSeries* curr = h.m->Serieses()->Items(2);
    h.m->Paint();
    QCOMPARE(curr->CurrentBlueValue(), 0);
    curr->SetBlueValue(400);
    h.m->SetActive(true);
    QList<int> counts;
    for (int i = 0; i < 3; ++i) {
        h.m->RefreshTimerTimer();
        counts << curr->CurrentBlueValue();
    }
    QCOMPARE(counts, (QList<int>{1, 2, 3}));
    // A quick render shows the final count but the drawn count still steps by one.
    TBitmap print;
    print.SetPixelFormat(pf24bit);
    print.SetSize(176, 500);
    h.m->PrintImage(print.Canvas(), 0, 0, 176, 500, false, true);
    QCOMPARE(curr->CurrentBlueValue(), 4);
    h.m->SetActive(false);
    h.m->Paint();
    QVERIFY(curr->CurrentBlueValue() > 40); // idle: at the target at once
}

void TestZavaduMeter::noRenderAfterActiveOff()
{
    TMeterHost h(176, 500);
    ConfigureSentenceMeter(h.m);
    QTest::qWait(20);
    const int idle = h.m->RenderCount();
    h.m->SetActive(true);
    QTRY_VERIFY_WITH_TIMEOUT(h.m->RenderCount() >= idle + 3, 2000);
    // A tick already queued when the meter is switched off is dropped.
    QMetaObject::invokeMethod(
        h.m, [m = h.m] { m->RefreshTimerTimer(); }, Qt::QueuedConnection);
    h.m->SetActive(false);
    const int stopped = h.m->RenderCount();
    QTest::qWait(300);
    QCOMPARE(h.m->RenderCount(), stopped);
}

void TestZavaduMeter::exposeOnlyCopiesTheFrame()
{
    TMeterHost h(176, 500);
    ConfigureSentenceMeter(h.m);
    h.m->Paint();
    QTest::qWait(5);
    const int count = h.m->RenderCount();
    h.host.repaint();
    h.m->update();
    QTest::qWait(5);
    QCOMPARE(h.m->RenderCount(), count);
    h.m->Repaint(); // owner code asks for a fresh picture
    QCOMPARE(h.m->RenderCount(), count + 1);
    h.m->SetBounds(0, 0, 176, 520); // a new size has no frame yet
    QTest::qWait(5);
    h.host.repaint();
    QCOMPARE(h.m->RenderCount(), count + 2);
    QCOMPARE(h.m->BackgroundBitmap()->Height(), 520);
    // Active: only ticks render; an expose after a stale frame still just copies it (no event processing
    // here, so no tick runs).
    h.m->SetActive(true);
    h.m->Invalidate();
    h.host.repaint();
    QCOMPARE(h.m->RenderCount(), count + 2);
}

void TestZavaduMeter::paintErrorIsReportedOnceAndFrameCopied()
{
    gMessageBoxes = 0;
    SetMessageBoxHook(CountingHook);
    TMeterHost h(120, 100);
    h.m->SetUseBackGroundImage(true);
    h.m->OnPaintBackGroundImage = [](QObject*, TBitmap* img, bool) {
        img->Canvas()->Brush.Color = clRed;
        img->Canvas()->FillRect(Rect(0, 0, img->Width(), img->Height()));
        throw Exception(QStringLiteral("그림을 그릴 수 없습니다"));
    };
    for (int i = 0; i < 3; ++i)
        h.m->Paint();
    h.host.repaint();
    QTest::qWait(20);
    SetMessageBoxHook(nullptr);
    QCOMPARE(gMessageBoxes, 1);
    QVERIFY(gLastMessage.startsWith(QStringLiteral("그림을 그릴 수 없습니다")));
    QCOMPARE(PixelAt(h.m->BackgroundBitmap(), 60, 50), clRed); // what was drawn still reaches the screen
}

void TestZavaduMeter::valueWithoutWholeNumberStopsTheFrame_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("not a number") << double(NAN);
    QTest::newRow("infinite") << double(INFINITY);
    QTest::newRow("minus infinite") << -double(INFINITY);
    QTest::newRow("beyond a whole number") << 1e12;
}

void TestZavaduMeter::valueWithoutWholeNumberStopsTheFrame()
{
    QFETCH(double, value);
    gMessageBoxes = 0;
    SetMessageBoxHook(CountingHook);
    TMeterHost h(176, 500);
    ConfigureSentenceMeter(h.m);
    h.m->Serieses()->Items(1)->SetOrangeValue(value);
    h.m->Paint();
    h.m->Paint();
    QTest::qWait(20);
    QCOMPARE(gMessageBoxes, 1);
    QCOMPARE(gLastMessage, QStringLiteral("Invalid floating point operation."));
    // A sound value draws again.
    h.m->Serieses()->Items(1)->SetOrangeValue(300);
    h.m->Paint();
    QTest::qWait(20);
    SetMessageBoxHook(nullptr);
    QCOMPARE(gMessageBoxes, 1);
    QVERIFY(h.m->Serieses()->Items(1)->CurrentOrangeValue() > 0);
}

void TestZavaduMeter::backgroundWithoutHandlerIsCleared()
{
    TMeterHost h(120, 100);
    h.m->SetUseBackGroundImage(true);
    h.m->SetBlendAlpha(0.5f);
    h.m->SetShowAxis(false);
    h.m->SetShowGrid(false);
    h.m->Paint();
    TBitmap* back = h.m->BackgroundBitmap();
    back->Canvas()->Brush.Color = clRed;
    back->Canvas()->FillRect(Rect(0, 0, 120, 100)); // what the last frame left
    h.m->Paint();
    QCOMPARE(PixelAt(back, 60, 50), TColor(0xFFFFFF));
}

void TestZavaduMeter::disconnectedTextRestoresFontColour()
{
    TMeterHost h(120, 200);
    TZavaduSeries* s = h.m->Serieses()->AddItem(QStringLiteral("x"), 5, 0, 0, false, false, false, QString());
    h.m->Serieses()->AddItem(QStringLiteral("y"), 5, 0, 0, false, false, false, QString());
    s->SetConnected(false);
    h.m->Paint();
    QCOMPARE(h.m->BackgroundBitmap()->Canvas()->Font.Color, h.m->Font().Color);
    // The second name is drawn in the font's colour, not in the red of "-x-".
    const QImage img = h.m->BackgroundBitmap()->ToImage();
    bool red = false;
    for (int y = 150; y < 200; ++y)
        for (int x = 60; x < 120; ++x)
            red = red || (img.pixelColor(x, y).red() > 200 && img.pixelColor(x, y).green() < 80);
    QVERIFY(!red);
}

void TestZavaduMeter::noRoomForABarDrawsNoBars()
{
    TMeterHost h(40, 100); // chart width 8 < 0.8 x 22
    for (int i = 0; i < 3; ++i)
        h.m->Serieses()->AddItem(QString::number(i), 5, 0, 0, false, false, false, QString());
    h.m->Paint();
    QCOMPARE(h.m->VisibleBlockCount(), 0);
    QCOMPARE(h.m->GetSeriesFromXY(30, 50), nullptr);
}

void TestZavaduMeter::noSeriesStillDrawsTheChart()
{
    TMeterHost h(200, 150);
    h.m->SetVertLabelsPos(alpLeft);
    h.m->Serieses()->Add(QStringLiteral("a"), QStringLiteral("a much longer name than the bar"));
    h.m->Paint();
    QCOMPARE(h.m->NameRowCount(), 2);
    h.m->Serieses()->Clear();
    h.m->Paint();
    QCOMPARE(h.m->VisibleBlockCount(), 0);
    QCOMPARE(h.m->NameRowCount(), 2); // kept from before
    const TRect r = h.m->GetChartRect();
    QCOMPARE(PixelAt(h.m->BackgroundBitmap(), r.Left, r.Top + 5), clBlack); // the axis
}

void TestZavaduMeter::maxChangeFollowsTheTotals_data()
{
    QTest::addColumn<bool>("autoMax");
    QTest::addColumn<QList<int>>("fired");
    QTest::addColumn<int>("maxBlockCount");
    // Without AutoMaxBlockCount the scale stays at 800; the old maximum counted the totals, so the second
    // render fires with 800.
    QTest::newRow("fixed") << false << QList<int>{800} << 800;
    QTest::newRow("auto") << true << QList<int>{807} << 807;
}

void TestZavaduMeter::maxChangeFollowsTheTotals()
{
    QFETCH(bool, autoMax);
    TMeterHost h(176, 500);
    ConfigureSentenceMeter(h.m);
    h.m->SetAutoMaxBlockCount(autoMax);
    QList<int> fired;
    h.m->OnMaxChange = [&](QObject*, int max) { fired << max; };
    h.m->Serieses()->Items(0)->SetRedValue(805.4);
    h.m->Paint();
    QCOMPARE(h.m->MaxSeriesValue(), 807);
    h.m->Paint();
    QTEST(fired, "fired");
    QTEST(h.m->MaxBlockCount(), "maxBlockCount");
}

namespace {
// 20 series in a 300 px meter: 12 to a page, 22.33 px apart from x = 30.
void AddTwenty(TZavaduMeter* m)
{
    m->SetSortWhenAdd(false);
    for (int i = 0; i < 20; ++i)
        m->Serieses()->AddItem(QString::number(i), 10, 0, 0, false, false, false, QString());
}
int SlotX(int k)
{
    return int(30 + k * 22.333f) + 5;
}
} // namespace

void TestZavaduMeter::pagingAndHitTest()
{
    TMeterHost h;
    AddTwenty(h.m);
    h.m->Paint();
    QCOMPARE(h.m->VisibleBlockCount(), 12);
    TZavaduSerieses* s = h.m->Serieses();
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(0), 100), s->Items(0));
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(3), 100), s->Items(3));
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(3) - 7, 100), nullptr); // the gap
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(290, 8)); // next
    QCOMPARE(h.m->FirstBlockIndex(), 12);
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(290, 8)); // next on the last page
    QCOMPARE(h.m->FirstBlockIndex(), 12);
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(0), 100), s->Items(12));
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(275, 8)); // prev
    QCOMPARE(h.m->FirstBlockIndex(), 0);
}

void TestZavaduMeter::hitTestIgnoresStalePages()
{
    TMeterHost h;
    AddTwenty(h.m);
    h.m->Paint();
    h.m->SetFirstBlockIndex(12);
    h.m->Paint();               // page 2: eight bars
    h.m->SetFirstBlockIndex(0); // not drawn yet
    // Slot 10 shows nothing on page 2; series 10's area from page 1 must not answer.
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(10), 100), nullptr);
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(1), 100), h.m->Serieses()->Items(13));
}

void TestZavaduMeter::failedFrameAnswersNoHits()
{
    SetMessageBoxHook(CountingHook);
    TMeterHost h;
    AddTwenty(h.m);
    h.m->Paint();
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(0), 100), h.m->Serieses()->Items(0));
    h.m->SetUseBackGroundImage(true);
    h.m->OnPaintBackGroundImage = [](QObject*, TBitmap*, bool) { throw Exception(QStringLiteral("no picture")); };
    h.m->Paint(); // the frame on the screen shows no bars
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(0), 100), nullptr);
    QTest::qWait(20);
    SetMessageBoxHook(nullptr);
}

void TestZavaduMeter::pressOnButtonSilencesTheClick()
{
    TMeterHost h;
    AddTwenty(h.m);
    h.m->Paint();
    int clicks = 0, downs = 0, series = 0, out = 0;
    h.m->OnClick = [&](QObject*) { ++clicks; };
    h.m->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    h.m->OnSeriesClick = [&](QObject*, TZavaduSeries*) { ++series; };
    h.m->OnSeriesOutClick = [&](QObject*, TZavaduSeries* s) { out += s == nullptr; };
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(290, 8));
    QCOMPARE(QList<int>({clicks, downs, series, out}), QList<int>({1, 0, 0, 0}));
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(SlotX(0), 100));
    QCOMPARE(QList<int>({clicks, downs, series, out}), QList<int>({2, 1, 1, 0}));
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(SlotX(0) - 6, 100));
    QCOMPARE(QList<int>({clicks, downs, series, out}), QList<int>({3, 2, 1, 1}));
}

void TestZavaduMeter::emptyMeterNeverWalksFromMinusOne()
{
    TMeterHost h;
    h.m->Paint();
    int outside = 0;
    h.m->OnOutOfSeriesMouseMove = [&](QObject*, TShiftState, int, int) { ++outside; };
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(290, 8));
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(275, 8));
    QCOMPARE(h.m->FirstBlockIndex(), 0);
    QTest::mouseMove(h.m, QPoint(100, 100));
    QTest::mouseMove(h.m, QPoint(101, 100));
    QVERIFY(outside >= 1);
    h.m->SetFirstBlockIndex(-5);
    QCOMPARE(h.m->FirstBlockIndex(), 0);
    h.m->Paint();
}

void TestZavaduMeter::doubleClickOnBarOrText_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("text");
    // Height 200, margins 0 + 40: the names start below y = 160.
    QTest::newRow("at the edge: the bar") << 160 << 1 << 0;
    QTest::newRow("one lower: the text") << 161 << 0 << 1;
}

void TestZavaduMeter::doubleClickOnBarOrText()
{
    QFETCH(int, y);
    TMeterHost h;
    h.m->SetMarginbotton(40);
    AddTwenty(h.m);
    h.m->Paint();
    int bar = 0, text = 0;
    h.m->OnSeriesDblClick = [&](QObject*, TZavaduSeries*) { ++bar; };
    h.m->OnSeriesTextDblClick = [&](QObject*, TZavaduSeries*) { ++text; };
    QTest::mouseDClick(h.m, Qt::LeftButton, {}, QPoint(SlotX(2), y));
    QTEST(bar, "bar");
    QTEST(text, "text");
    QTest::mouseDClick(h.m, Qt::LeftButton, {}, QPoint(SlotX(2) - 6, y)); // off the bars: nothing
    QTEST(bar, "bar");
    QTEST(text, "text");
}

void TestZavaduMeter::doubleClickJudgedWhereTheSecondPressIs()
{
    TMeterHost h;
    h.m->SetMarginbotton(40);
    AddTwenty(h.m);
    h.m->Paint();
    int bar = 0, text = 0;
    h.m->OnSeriesDblClick = [&](QObject*, TZavaduSeries*) { ++bar; };
    h.m->OnSeriesTextDblClick = [&](QObject*, TZavaduSeries*) { ++text; };
    // The hand moves a little between the two clicks: the second press, below y = 160, is on the names.
    const int x = SlotX(2);
    const struct
    {
        QEvent::Type Type;
        int Y;
        ulong Time;
    } events[] = {{QEvent::MouseButtonPress, 158, 1000},
                  {QEvent::MouseButtonRelease, 158, 1010},
                  {QEvent::MouseButtonPress, 161, 1100},
                  {QEvent::MouseButtonDblClick, 161, 1100},
                  {QEvent::MouseButtonRelease, 161, 1110}};
    for (const auto& e : events) {
        const QPointF pos(x, e.Y);
        const Qt::MouseButtons held = e.Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(e.Type, pos, h.m->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
        event.setTimestamp(e.Time);
        QApplication::sendEvent(h.m, &event);
    }
    QCOMPARE(QList<int>({bar, text}), QList<int>({0, 1}));
}

void TestZavaduMeter::printImageRendersAtItsOwnSize()
{
    TMeterHost h(200, 150);
    AddTwenty(h.m);
    h.m->SetShowTitle(true);
    h.m->SetMarginTop(20);
    h.m->SetUseBackGroundImage(true);
    h.m->SetBlendAlpha(0.5f);
    h.m->Paint();
    TBitmap print;
    print.SetPixelFormat(pf24bit);
    print.SetSize(400, 150);
    h.m->PrintImage(print.Canvas(), 0, 0, 400, 150, true, false);
    QCOMPARE(h.m->BlendAlpha(), 0.5f);
    QVERIFY(!h.m->LegendVisible());
    // The page buttons stand at the print's right edge, left of the legend (65 px with no entries).
    const int navLeft = 400 - 65 - 28;
    QCOMPARE(PixelAt(&print, navLeft + 1, 8), TColor(0xFFF5D8)); // one step into the gradient
    // The title is centred in the print: its text reaches beyond the control's own width's centre.
    const QImage img = print.ToImage();
    int left = 400, right = -1;
    for (int x = 0; x < navLeft; ++x)
        for (int y = 0; y < 20; ++y)
            if (img.pixelColor(x, y).lightness() < 100) left = std::min(left, x), right = std::max(right, x);
    QVERIFY(right > left);
    QVERIFY(std::abs((left + right) / 2 - 200) <= 3);
    // The control's buttons still answer where the control shows them.
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(200 - 28 + 18, 8));
    QVERIFY(h.m->FirstBlockIndex() > 0);
}

void TestZavaduMeter::printImageLeavesTheControlsPage()
{
    TMeterHost h;
    AddTwenty(h.m);
    h.m->Paint();
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(290, 8)); // next: the second page
    QCOMPARE(h.m->FirstBlockIndex(), 12);
    TBitmap print;
    print.SetPixelFormat(pf24bit);
    print.SetSize(1200, 200);
    h.m->PrintImage(print.Canvas(), 0, 0, 1200, 200, false, false); // all twenty fit the print
    // The control still shows its second page, and its bars answer where it shows them.
    QCOMPARE(h.m->FirstBlockIndex(), 12);
    QCOMPARE(h.m->VisibleBlockCount(), 12);
    QCOMPARE(h.m->GetSeriesFromXY(SlotX(1), 100), h.m->Serieses()->Items(13));
    QTest::mouseClick(h.m, Qt::LeftButton, {}, QPoint(275, 8)); // prev
    QCOMPARE(h.m->FirstBlockIndex(), 0);
}

QTEST_MAIN(TestZavaduMeter)
#include "tst_zavadumeter.moc"
