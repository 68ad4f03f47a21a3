// The meter's drawing primitives on 24-bit bitmaps: gradients, 3-D boxes, the arrow and the keyed blend.

#include "components/ZavaduMeterDraw.h"
#include "components/ZavaduMeterMath.h"

#include <QtTest>

using namespace Zavadu;

namespace {
constexpr TColor kMarker = 0x123456;

struct TPicture
{
    TBitmap b;
    TPicture(int w, int h, TColor fill = kMarker, TPixelFormat format = pf24bit)
    {
        b.SetPixelFormat(format);
        b.SetSize(w, h);
        b.Canvas()->Brush.Color = fill;
        b.Canvas()->FillRect(Rect(0, 0, w, h));
    }
    TColor At(int x, int y)
    {
        const uint8_t* p = b.ScanLine(y) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }
};
} // namespace

class TestZavaduMeterDraw : public QObject
{
    Q_OBJECT
private slots:
    void gradientFill_data();
    void gradientFill();
    void plainBoxFaces();
    void bandedBoxOfFifteenPixels();
    void dropArrowReturnsTheStem();
    void gradientBoxSilhouette();
    void keyedBlend_data();
    void keyedBlend();
    void blendNeedsTwoEqualBitmaps();
};

void TestZavaduMeterDraw::gradientFill_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("grey"); // red channel per row; -1 = left as it was
    QTest::newRow("ten rows") << "v" << 10 << QList<int>{0, 25, 51, 76, 102, 127, 153, 178, 204, 229};
    QTest::newRow("no rows") << "v" << 0 << QList<int>{};
    QTest::newRow("mirrored five rows") << "vc" << 5 << QList<int>{0, 127, -1, 127, 0};
}

void TestZavaduMeterDraw::gradientFill()
{
    QFETCH(QString, mode);
    QFETCH(int, rows);
    QFETCH(QList<int>, grey);
    TPicture pic(4, 12);
    GradientFillRect(pic.b.Canvas(), Rect(0, 1, 4, 1 + rows), clBlack, clWhite, mode);
    QCOMPARE(pic.At(2, 0), kMarker);
    for (int i = 0; i < grey.size(); ++i)
        QCOMPARE(pic.At(2, 1 + i), grey[i] < 0 ? kMarker : RGB(grey[i], grey[i], grey[i]));
    QCOMPARE(pic.At(2, 1 + rows), kMarker);
}

void TestZavaduMeterDraw::plainBoxFaces()
{
    const TColor c = 0x3C3CFF;
    TPicture pic(60, 60, clWhite);
    Draw3DBox(pic.b.Canvas(), Rect(10, 10, 40, 40), 4, c, false);
    QCOMPARE(pic.At(20, 30), MixColors(c, clWhite, 225)); // front
    QCOMPARE(pic.At(25, 11), MixColors(c, clWhite, 170)); // top
    QCOMPARE(pic.At(15, 13), MixColors(c, clWhite, 165)); // edge highlight
    QCOMPARE(pic.At(39, 25), MixColors(c, clBlack, 205)); // right side
    QCOMPARE(pic.At(20, 40), clWhite);
}

void TestZavaduMeterDraw::bandedBoxOfFifteenPixels()
{
    const TColor c = 0xF1A70E;
    TPicture pic(30, 30, clWhite);
    Draw3DBox(pic.b.Canvas(), Rect(0, 0, 15, 20), 3, c, true);
    // Seven bands two pixels wide; the front ends at R - D + 1 = 13 where the right side begins.
    QList<TColor> bands;
    for (int x = 0; x <= 12; ++x)
        if (bands.isEmpty() || bands.last() != pic.At(x, 10)) bands << pic.At(x, 10);
    QCOMPARE(bands.size(), 7);
    QCOMPARE(bands.first(), MixColors(c, clWhite, 150));
    QCOMPARE(pic.At(1, 10), pic.At(0, 10));
    QCOMPARE(pic.At(13, 10), MixColors(c, clBlack, 205));
}

void TestZavaduMeterDraw::dropArrowReturnsTheStem()
{
    TPicture pic(80, 40, clWhite);
    TRect r = Rect(0, 0, 60, 30);
    DrawDropArrowBlock(pic.b.Canvas(), r, 0x8E8E8E, 3);
    // 57 x 27 without the depth: narrowed to S = 27; the head spans 15..45; the stem is a quarter in.
    QCOMPARE(r, Rect(22, 0, 38, 18));
    QCOMPARE(pic.At(28, 22), MixColors(0x8E8E8E, clWhite, 225)); // the head's front
    QCOMPARE(pic.At(5, 20), clWhite);
}

void TestZavaduMeterDraw::gradientBoxSilhouette()
{
    TPicture pic(12, 12);
    FillGradient3DBox(pic.b.Canvas(), Rect(0, 0, 10, 10), 3, clBlack, clWhite, QStringLiteral("h"));
    QCOMPARE(pic.At(0, 2), kMarker); // the leading corner cut by the slant
    QCOMPARE(pic.At(0, 3), clBlack);
    QCOMPARE(pic.At(9, 7), RGB(229, 229, 229));
    QCOMPARE(pic.At(9, 8), kMarker); // the trailing edge recedes
}

void TestZavaduMeterDraw::keyedBlend_data()
{
    QTest::addColumn<float>("alpha");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("src");
    QTest::addColumn<int>("dest");
    QTest::addColumn<int>("expected");
    QTest::newRow("alpha 1 copies") << 1.0f << int(clWhite) << 0x3C3CFF << 0x000000 << 0x3C3CFF;
    QTest::newRow("alpha 0 keeps") << 0.0f << int(clWhite) << 0x3C3CFF << 0x204060 << 0x204060;
    QTest::newRow("key skipped") << 1.0f << int(clWhite) << 0xFFFFFF << 0x204060 << 0x204060;
    QTest::newRow("system colour key resolved") << 0.7f << int(clWindow) << 0xFFFFFF << 0x204060 << 0x204060;
    QTest::newRow("system colour key, other pixel") << 0.7f << int(clWindow) << 0xFFFFFE << 0x000000 << 0xB2B2B1;
    // Trunc(255 * 0.7f) = 178 (0.7f is a little below 0.7); Trunc(255 * (1 - 0.7f)) = 76.
    QTest::newRow("0.7 truncates") << 0.7f << int(clWhite) << 0x0000FF << 0xFF0000 << 0x4C00B2;
}

void TestZavaduMeterDraw::keyedBlend()
{
    QFETCH(float, alpha);
    QFETCH(int, key);
    QFETCH(int, src);
    QFETCH(int, dest);
    TPicture d(3, 2, dest), s(3, 2, src);
    BlendBitmaps(&d.b, &s.b, key, alpha);
    QTEST(int(d.At(1, 1)), "expected");
}

void TestZavaduMeterDraw::blendNeedsTwoEqualBitmaps()
{
    TPicture d(3, 2, 0x204060), small(2, 2, 0x0000FF), wide(3, 2, 0x0000FF, pf32bit);
    BlendBitmaps(&d.b, &small.b, clWhite, 1.0f);
    QCOMPARE(d.At(0, 0), 0x204060);
    BlendBitmaps(&d.b, &wide.b, clWhite, 1.0f);
    QCOMPARE(d.At(0, 0), 0x204060);
}

QTEST_MAIN(TestZavaduMeterDraw)
#include "tst_zavadumeter_draw.moc"
