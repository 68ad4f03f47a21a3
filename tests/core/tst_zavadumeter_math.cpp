// The meter's arithmetic: rounding at the knife edges, bar counts, the bounce, the layout of bars, the
// label scale, paging geometry and the value texts.

#include "components/ZavaduMeterMath.h"

#include "platform/Exception.h"

#include <QtTest>

using namespace Zavadu;

class TestZavaduMeterMath : public QObject
{
    Q_OBJECT
private slots:
    void colourMixing_data();
    void colourMixing();
    void barCounts_data();
    void barCounts();
    void countsStepOneBlockPerTick();
    void bounce_data();
    void bounce();
    void layout_data();
    void layout();
    void nameRows_data();
    void nameRows();
    void barLeftsAccumulateInSingle();
    void labelScale_data();
    void labelScale();
    void navigateButtons_data();
    void navigateButtons();
    void paging_data();
    void paging();
    void seriesHitArea_data();
    void seriesHitArea();
    void formatFloat_data();
    void formatFloat();
    void dropValueText_data();
    void dropValueText();
    void stringToColor_data();
    void stringToColor();
    void stringToColorRejectsText();
    void legendEntry();
};

void TestZavaduMeterMath::colourMixing_data()
{
    QTest::addColumn<int>("kind"); // 0 BlendColors, 1 MixColors
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("expected");
    QTest::newRow("blend loses one step") << 0 << 0x0000FF << 0xFF0000 << 255 << 0x0000FE;
    QTest::newRow("mix keeps full weight") << 1 << 0x0000FF << 0xFF0000 << 255 << 0x0000FF;
    QTest::newRow("blend zero weight") << 0 << 0xFFFFFF << 0x000000 << 0 << 0x000000;
    QTest::newRow("mix half") << 1 << 0xFFFFFF << 0x000000 << 128 << 0x808080;
    // The high byte of a system colour is not looked up: its low bytes count as they stand.
    QTest::newRow("system colour taken raw") << 1 << int(clWindow) << 0 << 255 << 0x000005;
}

void TestZavaduMeterMath::colourMixing()
{
    QFETCH(int, kind);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, w);
    QFETCH(int, expected);
    const TColor got = kind == 0 ? BlendColors(a, b, uint8_t(w)) : MixColors(a, b, uint8_t(w));
    QCOMPARE(got, expected);
}

void TestZavaduMeterMath::barCounts_data()
{
    QTest::addColumn<int>("areaHeight");
    QTest::addColumn<int>("blockHeight");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<double>("custom");
    QTest::addColumn<double>("blue");
    QTest::addColumn<double>("orange");
    QTest::addColumn<double>("red");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("barBlocks");
    QTest::addColumn<int>("nb");
    QTest::addColumn<int>("no");
    QTest::addColumn<int>("nr");
    // (65-15)/5 = 10 blocks of room.
    QTest::newRow("thirds raise blue") << 65 << 5 << 3 << 0.0 << 1.0 << 1.0 << 1.0 << 10 << 10 << 4 << 3 << 3;
    QTest::newRow("no room still one block") << 16 << 5 << 100 << 0.0 << 5.0 << 0.0 << 0.0 << 0 << 1 << 1 << 0 << 0;
    QTest::newRow("all zero") << 65 << 5 << 100 << 0.0 << 0.0 << 0.0 << 0.0 << 10 << 0 << 0 << 0 << 0;
    QTest::newRow("capacity 7.5 to even 8") << 30 << 2 << 100 << 0.0 << 100.0 << 0.0 << 0.0 << 8 << 8 << 8 << 0 << 0;
    QTest::newRow("capacity 8.5 to even 8") << 32 << 2 << 100 << 0.0 << 100.0 << 0.0 << 0.0 << 8 << 8 << 8 << 0 << 0;
    QTest::newRow("capacity 9.5 to even 10")
        << 34 << 2 << 100 << 0.0 << 100.0 << 0.0 << 0.0 << 10 << 10 << 10 << 0 << 0;
    // 10 blocks of room, maximum 4: total 1 gives 2.5 -> 2; total 3 gives 7.5 -> 8.
    QTest::newRow("bar 2.5 to even 2") << 65 << 5 << 4 << 0.0 << 1.0 << 0.0 << 0.0 << 10 << 2 << 2 << 0 << 0;
    QTest::newRow("bar 7.5 to even 8") << 65 << 5 << 4 << 0.0 << 3.0 << 0.0 << 0.0 << 10 << 8 << 8 << 0 << 0;
    // Colour shares of 8 blocks over a total of 16: 2.5 -> 2 and 5.5 -> 6.
    QTest::newRow("shares half to even") << 65 << 5 << 20 << 0.0 << 5.0 << 11.0 << 0.0 << 10 << 8 << 2 << 6 << 0;
    QTest::newRow("total half to even") << 65 << 5 << 10 << 0.0 << 2.25 << 0.25 << 0.0 << 10 << 2 << 2 << 0 << 0;
    QTest::newRow("over the maximum overflows")
        << 65 << 5 << 10 << 0.0 << 20.0 << 0.0 << 0.0 << 10 << 20 << 20 << 0 << 0;
    // Custom blocks take their share of the bar: the colours share what is left.
    QTest::newRow("custom share left out") << 65 << 5 << 10 << 5.0 << 3.0 << 2.0 << 0.0 << 10 << 10 << 3 << 2 << 0;
    QTest::newRow("custom share, sum cut") << 65 << 5 << 10 << 5.4 << 1.5 << 1.5 << 1.6 << 10 << 10 << 1 << 2 << 2;
}

void TestZavaduMeterMath::barCounts()
{
    QFETCH(int, areaHeight);
    QFETCH(int, blockHeight);
    QFETCH(int, maxValue);
    QFETCH(double, custom);
    QFETCH(double, blue);
    QFETCH(double, orange);
    QFETCH(double, red);
    const TBarCounts c = ComputeBarCounts(areaHeight, blockHeight, maxValue, custom, blue, orange, red);
    QTEST(c.Capacity, "capacity");
    QTEST(c.BarBlocks, "barBlocks");
    QTEST(c.Blue, "nb");
    QTEST(c.Orange, "no");
    QTEST(c.Red, "nr");
    if (custom > 0) QVERIFY(c.Custom + c.Blue + c.Orange + c.Red <= c.BarBlocks);
}

void TestZavaduMeterMath::countsStepOneBlockPerTick()
{
    int current = 0;
    QList<int> seen;
    for (int i = 0; i < 4; ++i)
        seen << (current = StepToward(current, 3));
    QCOMPARE(seen, (QList<int>{1, 2, 3, 3}));
    QCOMPARE(StepToward(5, 3), 4);
}

void TestZavaduMeterMath::bounce_data()
{
    QTest::addColumn<bool>("use3D");
    QTest::addColumn<bool>("isDown");
    QTest::addColumn<int>("calls");
    QTest::addColumn<QList<int>>("lifts");
    QTest::newRow("flat") << false << false << 14 << QList<int>{3, 4, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 4};
    QTest::newRow("3-D") << true << false << 13 << QList<int>{3, 4, 5, 6, 5, 4, 3, 2, 1, 2, 3, 4, 5};
    QTest::newRow("down moves every seventh")
        << false << true << 15 << QList<int>{2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 4, 4};
}

void TestZavaduMeterMath::bounce()
{
    QFETCH(bool, use3D);
    QFETCH(bool, isDown);
    QFETCH(int, calls);
    TDropBounce b;
    b.Reset(5);
    QList<int> lifts;
    for (int i = 0; i < calls; ++i) {
        b.Advance(isDown, 5, use3D);
        lifts << b.YPos;
    }
    QTEST(lifts, "lifts");
}

void TestZavaduMeterMath::layout_data()
{
    QTest::addColumn<int>("chartW");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("minW");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("resetFirst");
    QTest::newRow("20 in 200") << 200 << 20 << 22 << 9 << 5 << 17 << false;
    QTest::newRow("fraction .909 adds one") << 196 << 20 << 22 << 9 << 5 << 16 << false;
    QTest::newRow("one series gap 3") << 100 << 1 << 22 << 1 << 3 << 97 << true;
    QTest::newRow("three in 100") << 100 << 3 << 22 << 3 << 8 << 25 << true;
    QTest::newRow("sentence meter") << 149 << 3 << 22 << 3 << 12 << 37 << true;
    QTest::newRow("tiny slot gap 1") << 3 << 1 << 2 << 1 << 1 << 2 << true;
    QTest::newRow("no room for a bar") << 10 << 4 << 22 << 0 << 0 << 7 << false;
}

void TestZavaduMeterMath::layout()
{
    QFETCH(int, chartW);
    QFETCH(int, n);
    QFETCH(int, minW);
    const TBarLayout l = ComputeBarLayout(chartW, n, minW, 7);
    QTEST(l.VisibleCount, "visible");
    QTEST(l.Distance, "distance");
    QTEST(l.SeriesWidth, "width");
    QTEST(l.ResetFirst, "resetFirst");
}

void TestZavaduMeterMath::nameRows_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("rows");
    QTest::newRow("three names two rows") << 3 << QList<int>{30, 40, 50} << 2;
    QTest::newRow("one name one row") << 1 << QList<int>{40} << 1;
    QTest::newRow("one too wide name") << 3 << QList<int>{30, 10, 10} << 2;
    QTest::newRow("limited to three") << 3 << QList<int>{200, 200, 200} << 3;
}

void TestZavaduMeterMath::nameRows()
{
    QFETCH(int, n);
    QFETCH(QList<int>, widths);
    const TBarLayout l = ComputeBarLayout(100, n, 22, 0);
    std::vector<int> w(widths.begin(), widths.end());
    QTEST(ComputeNameRows(w, l, 100, 3), "rows");
}

void TestZavaduMeterMath::barLeftsAccumulateInSingle()
{
    const TBarLayout l = ComputeBarLayout(200, 20, 22, 0); // slot 22.22, gap 5, bar 17.22
    const std::vector<int> lefts = BarLefts(25, l);
    QCOMPARE(int(lefts.size()), 9);
    QCOMPARE(lefts[0], 30);
    QCOMPARE(lefts[1], 52);
    QCOMPARE(lefts[8], 30 + int(8 * 22.2222f));
}

void TestZavaduMeterMath::labelScale_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("increment");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<int>>("ys");
    // lineH 12, one name row, block 5, no margins: span = h - 14 - 5 - 12 - 5 = h - 36, base = h - 15.
    // Room for 11 labels (15 px each) in a span of 165.
    QTest::newRow("800 by 80") << 201 << 800 << 20 << 11
                               << QList<int>{0, 80, 160, 240, 320, 400, 480, 560, 640, 720, 800}
                               << QList<int>{186, 170, 153, 136, 120, 104, 87, 70, 54, 38, 21};
    QTest::newRow("one label fits, still two") << 50 << 800 << 20 << 2 << QList<int>{0, 800} << QList<int>{35, 21};
    // span 45, maximum 4: the middle label at 45*2/4 = 22.5 goes to 22 (halves to even).
    QTest::newRow("label y half to even") << 81 << 4 << 2 << 3 << QList<int>{0, 2, 4} << QList<int>{66, 44, 21};
    QTest::newRow("no room at all, still two") << 20 << 800 << 20 << 2 << QList<int>{0, 800} << QList<int>{5, 21};
    QTest::newRow("increment 0 counts as 1") << 66 << 2 << 0 << 2 << QList<int>{0, 2} << QList<int>{51, 21};
}

void TestZavaduMeterMath::labelScale()
{
    QFETCH(int, height);
    QFETCH(int, maxValue);
    QFETCH(int, increment);
    const TLabelScale s = ComputeLabelScale(height, 0, 0, 12, 1, 5, maxValue, increment);
    QTEST(s.Count, "count");
    QList<int> values, ys;
    for (const TLabelStop& st : s.Stops) {
        values << st.Value;
        ys << st.Y;
    }
    QTEST(values, "values");
    QTEST(ys, "ys");
}

void TestZavaduMeterMath::navigateButtons_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("button");
    // Width 176, no legend: the buttons span x 148..172, y 3..14.
    QTest::newRow("left edge prev") << 148 << 3 << int(nbPrev);
    QTest::newRow("left + 11 prev") << 159 << 8 << int(nbPrev);
    QTest::newRow("left + 12 next") << 160 << 8 << int(nbNext);
    QTest::newRow("right edge outside") << 173 << 8 << int(nbNone);
    QTest::newRow("bottom edge outside") << 150 << 15 << int(nbNone);
    QTest::newRow("above") << 150 << 2 << int(nbNone);
}

void TestZavaduMeterMath::navigateButtons()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QTEST(int(NavigateButtonAt(176, 0, x, y)), "button");
}

void TestZavaduMeterMath::paging_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("visible");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("prev on first page") << int(nbPrev) << 0 << 9 << 20 << 0;
    QTest::newRow("prev below 0 stops at 0") << int(nbPrev) << 4 << 9 << 20 << 0;
    QTest::newRow("next") << int(nbNext) << 0 << 9 << 20 << 9;
    QTest::newRow("next to last page") << int(nbNext) << 9 << 9 << 20 << 18;
    QTest::newRow("next on last page") << int(nbNext) << 18 << 9 << 20 << 18;
    QTest::newRow("no series stays 0") << int(nbNext) << 0 << 0 << 0 << 0;
    QTest::newRow("no series prev stays 0") << int(nbPrev) << 0 << 0 << 0 << 0;
    QTest::newRow("stale index clamped") << int(nbNone) << 25 << 9 << 20 << 19;
}

void TestZavaduMeterMath::paging()
{
    QFETCH(int, button);
    QFETCH(int, first);
    QFETCH(int, visible);
    QFETCH(int, count);
    QTEST(PagedFirstIndex(TNavigateButton(button), first, visible, count), "expected");
}

void TestZavaduMeterMath::seriesHitArea_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("hit");
    // Area left 10, top 20, bottom 100; bars wider than 150 are narrowed.
    QTest::newRow("inside") << 60 << 30 << 50 << true;
    QTest::newRow("right edge counts") << 60 << 60 << 50 << true;
    QTest::newRow("30 below for the name") << 60 << 30 << 130 << true;
    QTest::newRow("31 below misses") << 60 << 30 << 131 << false;
    QTest::newRow("narrowed left misses") << 165 << 11 << 50 << false; // 155 wide: 2 off each side
    QTest::newRow("narrowed left edge") << 165 << 12 << 50 << true;
    QTest::newRow("narrowed right edge") << 165 << 163 << 50 << true;
    QTest::newRow("narrowed right misses") << 165 << 164 << 50 << false;
}

void TestZavaduMeterMath::seriesHitArea()
{
    QFETCH(int, right);
    QFETCH(int, x);
    QFETCH(int, y);
    QTEST(SeriesAreaHit(10, 20, right, 100, 150, x, y), "hit");
}

void TestZavaduMeterMath::formatFloat_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << "#,##0.###" << 350.0 << "350";
    QTest::newRow("thousands") << "#,##0.###" << 1234567.0 << "1,234,567";
    QTest::newRow("three places") << "#,##0.###" << 1234.5678 << "1,234.568";
    QTest::newRow("half away from zero") << "#,##0.###" << 2.0005 << "2.001";
    QTest::newRow("trailing zeros dropped") << "#,##0.###" << 12.5 << "12.5";
    QTest::newRow("tiny is zero") << "#,##0.###" << 0.00001 << "0";
    QTest::newRow("zero") << "#,##0.###" << 0.0 << "0";
    QTest::newRow("negative") << "#,##0.###" << -1500.25 << "-1,500.25";
    QTest::newRow("negative rounds to zero") << "#,##0.#" << -0.01 << "0";
    QTest::newRow("two places") << "#,##0.##" << 999.999 << "1,000";
    QTest::newRow("one place") << "#,##0.#" << 349.96 << "350";
    QTest::newRow("none") << "#,##0" << 1234.5 << "1,235";
    QTest::newRow("fixed decimals") << "0.00" << 3.1 << "3.10";
    QTest::newRow("no grouping") << "0" << 12345.0 << "12345";
    QTest::newRow("literals") << "#,##0 타/분" << 350.4 << "350 타/분";
}

void TestZavaduMeterMath::formatFloat()
{
    QFETCH(QString, mask);
    QFETCH(double, value);
    QTEST(FormatFloat(mask, value), "text");
}

void TestZavaduMeterMath::dropValueText_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<int>("room"); // characters that fit
    QTest::addColumn<bool>("shorten");
    QTest::addColumn<QString>("text");
    QTest::newRow("fits") << 412.75 << 10 << true << "412.75";
    QTest::newRow("two places") << 1234.5678 << 8 << true << "1,234.57";
    QTest::newRow("one place") << 1234.5678 << 7 << true << "1,234.6";
    QTest::newRow("whole") << 1234.5678 << 5 << true << "1,235";
    QTest::newRow("still too wide, drawn anyway") << 1234.5678 << 2 << true << "1,235";
    QTest::newRow("not shortened when down") << 1234.5678 << 2 << false << "1,234.568";
    QTest::newRow("zero text") << 0.0 << 10 << true << "없음";
    QTest::newRow("tiny total shows the zero text") << 0.00001 << 10 << true << "없음";
    QTest::newRow("zero text too wide becomes a number") << 0.0 << 1 << true << "0";
}

void TestZavaduMeterMath::dropValueText()
{
    QFETCH(double, total);
    QFETCH(int, room);
    QFETCH(bool, shorten);
    const QString text = DropValueText(QStringLiteral("#,##0.###"), QStringLiteral("없음"), total, shorten,
                                       [room](const QString& t) { return t.size() > room; });
    QTEST(text, "text");
}

void TestZavaduMeterMath::stringToColor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("color");
    QTest::newRow("hex entry") << "$000000FF" << 0x0000FF;
    QTest::newRow("name") << "clRed" << int(clRed);
    QTest::newRow("name any case") << "CLBLUE" << int(clBlue);
    QTest::newRow("decimal") << "3947775" << 3947775;
    QTest::newRow("system colour") << "$FF000005" << int(clWindow);
}

void TestZavaduMeterMath::stringToColor()
{
    QFETCH(QString, text);
    QTEST(int(StringToColor(text)), "color");
}

void TestZavaduMeterMath::stringToColorRejectsText()
{
    try {
        StringToColor(QStringLiteral("bogus"));
        QFAIL("no error");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), QStringLiteral("'bogus' is not a valid integer value"));
    }
}

void TestZavaduMeterMath::legendEntry()
{
    QCOMPARE(LegendEntry(0x0000FF, QStringLiteral("오타")), QStringLiteral("$000000FF;오타"));
    QCOMPARE(LegendEntry(clWindow, QStringLiteral("x")), QStringLiteral("$FF000005;x"));
}

QTEST_APPLESS_MAIN(TestZavaduMeterMath)
#include "tst_zavadumeter_math.moc"
