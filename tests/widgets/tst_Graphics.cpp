// The canvas and bitmap rules that drawing code relies on: exclusive edges, lines without their end point,
// text at its top-left corner, pixel formats kept, and the raster operations of the blits.
#include "components/ControlUtils.h"
#include "platform/Graphics.h"
#include "platform/RasterShapes.h"
#include "platform/WinUtil.h"

#include <QPainter>
#include <QtTest>

#include <functional>

namespace {
TBitmap* MakeBitmap(int w, int h, TColor fill, TPixelFormat format = pf24bit)
{
    auto* b = new TBitmap;
    b->SetPixelFormat(format);
    b->SetSize(w, h);
    b->Canvas()->Brush.Color = fill;
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// What a drawing leaves on a widget's painter at a device-pixel ratio: white where nothing was drawn.
QImage PaintedAt(qreal ratio, int w, int h, const std::function<void(TCanvas*)>& draw)
{
    QImage image(int(w * ratio), int(h * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas;
    canvas.AttachPainter(&painter);
    draw(&canvas);
    canvas.Detach();
    painter.end();
    return image;
}
} // namespace

class TestGraphics : public QObject
{
    Q_OBJECT
private slots:
    void fillRectLeavesRightAndBottomOut()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(12, 8, clWhite));
        b->Canvas()->Brush.Color = clRed;
        b->Canvas()->FillRect(Rect(2, 1, 10, 5));
        QCOMPARE(b->Canvas()->Pixel(2, 1), clRed);
        QCOMPARE(b->Canvas()->Pixel(9, 4), clRed);
        QCOMPARE(b->Canvas()->Pixel(10, 4), clWhite);
        QCOMPARE(b->Canvas()->Pixel(9, 5), clWhite);
        QCOMPARE(b->Canvas()->Pixel(1, 1), clWhite);
    }

    void rectangleOutlinesExactlyItsArea_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("top-left corner") << 1 << 1 << clBlue;
        QTest::newRow("right edge") << 8 << 3 << clBlue;
        QTest::newRow("bottom edge") << 4 << 5 << clBlue;
        QTest::newRow("inside") << 4 << 3 << clYellow;
        QTest::newRow("past right") << 9 << 3 << clWhite;
        QTest::newRow("past bottom") << 4 << 6 << clWhite;
    }
    void rectangleOutlinesExactlyItsArea()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(TColor, expected);
        std::unique_ptr<TBitmap> b(MakeBitmap(12, 8, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Color = clBlue;
        c->Brush.Color = clYellow;
        c->Rectangle(1, 1, 9, 6);
        QCOMPARE(c->Pixel(x, y), expected);
    }

    void rectangleWithClearPenFillsOneLess()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(10, 10, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Style = psClear;
        c->Brush.Color = clRed;
        c->Rectangle(0, 0, 5, 5);
        QCOMPARE(c->Pixel(3, 3), clRed);
        QCOMPARE(c->Pixel(4, 3), clWhite);
    }

    void lineToLeavesOutItsEndPoint_data()
    {
        QTest::addColumn<int>("x2");
        QTest::addColumn<int>("y2");
        QTest::newRow("horizontal") << 7 << 2;
        QTest::newRow("vertical") << 2 << 7;
        QTest::newRow("diagonal") << 7 << 7;
    }
    void lineToLeavesOutItsEndPoint()
    {
        QFETCH(int, x2);
        QFETCH(int, y2);
        std::unique_ptr<TBitmap> b(MakeBitmap(10, 10, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Color = clBlack;
        c->MoveTo(2, 2);
        c->LineTo(x2, y2);
        QCOMPARE(c->Pixel(2, 2), clBlack);
        QCOMPARE(c->Pixel(x2, y2), clWhite);
        QCOMPARE(c->Pixel((2 + x2) / 2, (2 + y2) / 2), clBlack);
        QCOMPARE(c->PenPos(), Point(x2, y2));
    }

    void ellipseStaysInsideItsBox()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(20, 12, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Color = clBlack;
        c->Brush.Color = clLime;
        c->Ellipse(0, 0, 20, 12);
        QCOMPARE(c->Pixel(10, 6), clLime);
        QCOMPARE(c->Pixel(10, 0), clBlack);  // top of the outline
        QCOMPARE(c->Pixel(10, 11), clBlack); // bottom row is the last one inside
        QCOMPARE(c->Pixel(19, 6), clBlack);
        QCOMPARE(c->Pixel(0, 0), clWhite); // corner outside the ellipse
    }

    void arcRunsCounterClockwiseBetweenTheRays()
    {
        // From the ray to the lower left to the ray to the upper right: the upper-left half.
        std::unique_ptr<TBitmap> b(MakeBitmap(21, 21, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Color = clRed;
        c->Arc(0, 0, 21, 21, 21, 0, 0, 21);
        QCOMPARE(c->Pixel(10, 0), clRed);    // top
        QCOMPARE(c->Pixel(0, 10), clRed);    // left
        QCOMPARE(c->Pixel(10, 20), clWhite); // bottom belongs to the other half
        QCOMPARE(c->Pixel(20, 10), clWhite);
        // Corners given in the other order draw the same arc.
        std::unique_ptr<TBitmap> d(MakeBitmap(21, 21, clWhite));
        d->Canvas()->Pen.Color = clRed;
        d->Canvas()->Arc(21, 21, 0, 0, 21, 0, 0, 21);
        QCOMPARE(d->ToImage(), b->ToImage());
    }

    void polygonCoversItsVertices()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(14, 14, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Color = clRed;
        c->Brush.Color = clRed;
        c->Polygon({Point(0, 0), Point(10, 0), Point(0, 10)});
        QCOMPARE(c->Pixel(0, 0), clRed);
        QCOMPARE(c->Pixel(10, 0), clRed);
        QCOMPARE(c->Pixel(0, 10), clRed);
        QCOMPARE(c->Pixel(3, 3), clRed);
        QCOMPARE(c->Pixel(7, 7), clWhite);
        QCOMPARE(c->Pixel(11, 0), clWhite);
    }

    // The brush never shows outside the pen: on every row the outermost pixels are the outline's.
    void polygonFillStaysInsideItsOutline()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(40, 40, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Color = clBlack;
        c->Brush.Color = clYellow;
        c->Polygon(
            {Point(20, 2), Point(3, 30), Point(12, 30), Point(5, 37), Point(35, 20), Point(22, 20), Point(30, 2)});
        for (int y = 0; y < 40; ++y) {
            int left = 0, right = 39;
            while (left < 40 && c->Pixel(left, y) == clWhite)
                ++left;
            while (right >= 0 && c->Pixel(right, y) == clWhite)
                --right;
            if (left > right) continue;
            QVERIFY2(c->Pixel(left, y) == clBlack && c->Pixel(right, y) == clBlack,
                     qPrintable(QStringLiteral("row %1: brush at the edge").arg(y)));
        }
    }

    void dottedPenLeavesGaps()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(30, 3, clWhite));
        TCanvas* c = b->Canvas();
        c->Pen.Style = psDot;
        c->MoveTo(0, 1);
        c->LineTo(30, 1);
        int ink = 0;
        for (int x = 0; x < 30; ++x)
            ink += c->Pixel(x, 1) == clBlack;
        QVERIFY(ink > 5 && ink < 25);
    }

    // On a HiDPI screen each logical pixel is 2 x 2 device pixels; a plotted line, point or outline must
    // fill all four, or one-pixel lines (the accelerator underlines) come out dotted.
    void plottedPixelsCoverTheWholeLogicalPixel_data()
    {
        QTest::addColumn<std::function<void(TCanvas*)>>("draw");
        QTest::newRow("accelerator underline") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Font.Color = clBlack;
            DrawAccelUnderline(c, 3, 2, QStringLiteral("About"), 1, true);
        });
        QTest::newRow("disabled underline") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Font.Color = clBlack;
            DrawAccelUnderline(c, 3, 2, QStringLiteral("About"), 2, false);
        });
        QTest::newRow("diagonal line") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->MoveTo(1, 1);
            c->LineTo(20, 13);
        });
        QTest::newRow("dotted line") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Pen.Style = psDot;
            c->Polyline({Point(0, 5), Point(24, 5), Point(24, 15)});
        });
        QTest::newRow("point") << std::function<void(TCanvas*)>([](TCanvas* c) { c->SetPixel(7, 9, clRed); });
        QTest::newRow("ellipse outline") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Brush.Style = bsClear;
            c->Ellipse(2, 2, 22, 16);
        });
        QTest::newRow("round rectangle outline") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Brush.Style = bsClear;
            c->RoundRect(1, 1, 25, 17, 8, 8);
        });
        QTest::newRow("dashed rectangle") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Pen.Style = psDash;
            c->Brush.Style = bsClear;
            c->Rectangle(1, 1, 25, 17);
        });
        QTest::newRow("polygon outline") << std::function<void(TCanvas*)>([](TCanvas* c) {
            c->Brush.Color = clYellow;
            c->Polygon({Point(12, 1), Point(3, 10), Point(9, 10), Point(5, 18), Point(20, 6), Point(12, 6)});
        });
        QTest::newRow("arc") << std::function<void(TCanvas*)>([](TCanvas* c) { c->Arc(0, 0, 21, 17, 21, 0, 0, 17); });
    }
    void plottedPixelsCoverTheWholeLogicalPixel()
    {
        QFETCH(std::function<void(TCanvas*)>, draw);
        const QImage one = PaintedAt(1, 28, 20, draw);
        const QImage two = PaintedAt(2, 28, 20, draw);
        int ink = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const QRgb want = one.pixel(x, y);
                ink += want != qRgb(255, 255, 255);
                for (int d = 0; d < 4; ++d)
                    if (two.pixel(2 * x + d % 2, 2 * y + d / 2) != want)
                        QFAIL(
                            qPrintable(QStringLiteral("logical pixel (%1, %2) is not whole at ratio 2").arg(x).arg(y)));
            }
        QVERIFY(ink > 0);
    }

    // Ellipses and rounded rectangles against their definition tested pixel by pixel: the shape's pixels
    // in the brush, those with a 4-neighbour outside it in the pen; each logical pixel whole at ratio 2.
    void shapesMatchTheirPixelDefinition_data()
    {
        QTest::addColumn<bool>("ellipse");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("round");
        QTest::addColumn<bool>("clearPen");
        QTest::newRow("circle 23") << true << QRect(1, 2, 23, 23) << 0 << false;
        QTest::newRow("circle 35") << true << QRect(0, 0, 35, 35) << 0 << false;
        QTest::newRow("flat ellipse") << true << QRect(2, 1, 30, 9) << 0 << false;
        QTest::newRow("thin ellipse") << true << QRect(1, 1, 2, 7) << 0 << false;
        QTest::newRow("one pixel") << true << QRect(3, 3, 1, 1) << 0 << false;
        QTest::newRow("ellipse, clear pen") << true << QRect(1, 1, 20, 15) << 0 << true;
        QTest::newRow("cap face") << false << QRect(4, 4, 28, 28) << 10 << false;
        QTest::newRow("odd corners") << false << QRect(1, 2, 31, 17) << 11 << false;
        QTest::newRow("corners wider than the box") << false << QRect(1, 1, 9, 30) << 20 << false;
        QTest::newRow("small corners") << false << QRect(0, 1, 40, 12) << 3 << false;
        QTest::newRow("corner of one pixel") << false << QRect(1, 1, 12, 8) << 1 << false;
        QTest::newRow("rounded, clear pen") << false << QRect(2, 2, 24, 18) << 8 << true;
    }
    void shapesMatchTheirPixelDefinition()
    {
        QFETCH(bool, ellipse);
        QFETCH(QRect, box);
        QFETCH(int, round);
        QFETCH(bool, clearPen);
        const int l = box.left(), t = box.top(), r = box.left() + box.width(), b = box.top() + box.height();
        const int w = r + 3, h = b + 3;
        // Without a pen the shape is one pixel smaller to the right and bottom.
        const TEllipseShape e(l, t, clearPen ? r - 1 : r, clearPen ? b - 1 : b);
        const TRoundRectShape rr{l, t, clearPen ? r - 1 : r, clearPen ? b - 1 : b, round, round};
        const auto inside = [&](int x, int y) { return ellipse ? e.Inside(x, y) : rr.Inside(x, y); };
        QImage expected(w, h, QImage::Format_RGB32);
        expected.fill(Qt::white);
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) {
                if (!inside(x, y)) continue;
                const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                expected.setPixel(x, y, edge && !clearPen ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
            }
        const auto draw = [&](TCanvas* c) {
            c->Pen.Color = clRed;
            c->Pen.Style = clearPen ? psClear : psSolid;
            c->Brush.Color = clBlue;
            if (ellipse)
                c->Ellipse(l, t, r, b);
            else
                c->RoundRect(l, t, r, b, round, round);
        };
        for (const int ratio : {1, 2}) {
            const QImage got = PaintedAt(ratio, w, h, draw);
            for (int y = 0; y < got.height(); ++y)
                for (int x = 0; x < got.width(); ++x)
                    if (got.pixel(x, y) != expected.pixel(x / ratio, y / ratio))
                        QFAIL(qPrintable(QStringLiteral("ratio %1: pixel (%2, %3)").arg(ratio).arg(x).arg(y)));
        }
    }

    // An arc is part of the ellipse's outline: a whole turn is all of it, two halves meet without a gap,
    // also when the same arc is drawn again.
    void arcsMakeUpTheEllipseOutline_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::newRow("finger") << QRect(0, 0, 35, 35);
        QTest::newRow("flat") << QRect(1, 2, 30, 11);
        QTest::newRow("tall, odd") << QRect(2, 1, 9, 26);
    }
    void arcsMakeUpTheEllipseOutline()
    {
        QFETCH(QRect, box);
        const int l = box.left(), t = box.top(), r = box.left() + box.width(), b = box.top() + box.height();
        const int cy = (t + b) / 2, w = r + 2, h = b + 2;
        const QImage outline = PaintedAt(1, w, h, [&](TCanvas* c) {
            c->Brush.Style = bsClear;
            c->Ellipse(l, t, r, b);
        });
        const auto whole = [&](TCanvas* c) { c->Arc(l, t, r, b, r, cy, r, cy); };
        const auto halves = [&](TCanvas* c) {
            c->Arc(l, t, r, b, r, cy, l, cy);
            c->Pen.Color = clRed;
            c->Arc(l, t, r, b, l, cy, r, cy);
        };
        QCOMPARE(PaintedAt(1, w, h, whole), outline);
        QCOMPARE(PaintedAt(1, w, h, whole), outline);
        const QImage split = PaintedAt(1, w, h, halves);
        int black = 0, red = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool ink = outline.pixel(x, y) != qRgb(255, 255, 255);
                QCOMPARE(split.pixel(x, y) != qRgb(255, 255, 255), ink);
                black += split.pixel(x, y) == qRgb(0, 0, 0);
                red += split.pixel(x, y) == qRgb(255, 0, 0);
            }
        QVERIFY(black > 0 && red > 0);
    }

    void textOutPlacesTheTopLeftCorner()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(60, 30, clWhite));
        TCanvas* c = b->Canvas();
        c->Font.Color = clBlack;
        c->Font.Height = -16;
        c->Brush.Color = clYellow; // opaque background in the brush colour
        c->TextOut(5, 4, QStringLiteral("H"));
        const TPoint ext = c->TextExtent(QStringLiteral("H"));
        QVERIFY(ext.X > 0 && ext.Y >= 16);
        QCOMPARE(c->TextExtent(QString()), Point(0, 0)); // as the platform measures an empty text
        QCOMPARE(c->Pixel(5, 4), clYellow);
        QCOMPARE(c->Pixel(4, 4), clWhite);
        QCOMPARE(c->Pixel(5 + ext.X, 4), clWhite);
        bool ink = false;
        for (int y = 4; y < 4 + ext.Y; ++y)
            for (int x = 5; x < 5 + ext.X; ++x)
                ink = ink || (c->Pixel(x, y) != clYellow);
        QVERIFY(ink);
        // Clear brush: the text alone.
        c->Brush.Style = bsClear;
        c->TextOut(30, 4, QStringLiteral("H"));
        QCOMPARE(c->Pixel(30, 4), clWhite);
    }

    void pixelFormatsKeepTheirLayout_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("depth");
        QTest::newRow("pf1bit") << int(pf1bit) << 1;
        QTest::newRow("pf4bit") << int(pf4bit) << 8;
        QTest::newRow("pf8bit") << int(pf8bit) << 8;
        QTest::newRow("pf15bit") << int(pf15bit) << 16;
        QTest::newRow("pf16bit") << int(pf16bit) << 16;
        QTest::newRow("pf24bit") << int(pf24bit) << 24;
        QTest::newRow("pf32bit") << int(pf32bit) << 32;
        QTest::newRow("pfDevice") << int(pfDevice) << 24;
    }
    void pixelFormatsKeepTheirLayout()
    {
        QFETCH(int, format);
        QFETCH(int, depth);
        std::unique_ptr<TBitmap> b(MakeBitmap(5, 3, clWhite, TPixelFormat(format)));
        b->Canvas()->Brush.Color = clBlack;
        b->Canvas()->FillRect(Rect(0, 0, 2, 3));
        QCOMPARE(b->PixelFormat(), TPixelFormat(format));
        QCOMPARE(b->ToImage().depth(), depth);
        QCOMPARE(b->Canvas()->Pixel(1, 1), clBlack);
        QCOMPARE(b->Canvas()->Pixel(2, 1), clWhite);
    }

    void twentyFourBitRowsAreBlueGreenRed()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(2, 1, RGB(10, 20, 30)));
        const uint8_t* row = b->ScanLine(0);
        QCOMPARE(int(row[0]), 30);
        QCOMPARE(int(row[1]), 20);
        QCOMPARE(int(row[2]), 10);
        uint8_t* w = b->ScanLine(0);
        w[3] = 200; // blue of pixel 1
        QCOMPARE(b->Canvas()->Pixel(1, 0), RGB(10, 20, 200));
    }

    void resizingKeepsThePicture()
    {
        std::unique_ptr<TBitmap> b(MakeBitmap(4, 4, clRed));
        b->SetSize(6, 5);
        QCOMPARE(b->Canvas()->Pixel(3, 3), clRed);
        QCOMPARE(b->Canvas()->Pixel(5, 4), clWhite);
    }

    void rasterOperations_data()
    {
        QTest::addColumn<uint>("rop");
        QTest::addColumn<TColor>("expected");
        const TColor s = RGB(0xF0, 0x0F, 0xAA), d = RGB(0x3C, 0x3C, 0x55);
        QTest::newRow("SRCCOPY") << uint(SRCCOPY) << s;
        QTest::newRow("SRCAND") << uint(SRCAND) << TColor(s & d);
        QTest::newRow("SRCINVERT") << uint(SRCINVERT) << TColor(s ^ d);
        QTest::newRow("SRCPAINT") << uint(SRCPAINT) << TColor(s | d);
        QTest::newRow("NOTSRCCOPY") << uint(NOTSRCCOPY) << TColor(~s & 0xFFFFFF);
    }
    void rasterOperations()
    {
        QFETCH(uint, rop);
        QFETCH(TColor, expected);
        std::unique_ptr<TBitmap> src(MakeBitmap(3, 3, RGB(0xF0, 0x0F, 0xAA)));
        std::unique_ptr<TBitmap> dst(MakeBitmap(5, 5, RGB(0x3C, 0x3C, 0x55)));
        QVERIFY(BitBlt(dst->Canvas()->Handle(), 1, 1, 3, 3, src->Canvas()->Handle(), 0, 0, rop));
        QCOMPARE(dst->Canvas()->Pixel(2, 2), expected);
        QCOMPARE(dst->Canvas()->Pixel(0, 0), RGB(0x3C, 0x3C, 0x55));
        QCOMPARE(dst->Canvas()->Pixel(4, 4), RGB(0x3C, 0x3C, 0x55));
    }

    void colourToMonoUsesTheBackgroundColour()
    {
        std::unique_ptr<TBitmap> src(MakeBitmap(4, 1, clRed));
        src->Canvas()->SetPixel(1, 0, clBlue);
        std::unique_ptr<TBitmap> mono(MakeBitmap(4, 1, clBlack, pf1bit));
        const TColor old = SetBkColor(src->Canvas()->Handle(), clBlue);
        BitBlt(mono->Canvas()->Handle(), 0, 0, 4, 1, src->Canvas()->Handle(), 0, 0, SRCCOPY);
        SetBkColor(src->Canvas()->Handle(), old);
        QCOMPARE(mono->Canvas()->Pixel(1, 0), clWhite);
        QCOMPARE(mono->Canvas()->Pixel(0, 0), clBlack);
        // And back: white becomes the destination's background colour, black its text colour.
        std::unique_ptr<TBitmap> colour(MakeBitmap(4, 1, clGreen));
        colour->Canvas()->Brush.Color = clYellow;
        colour->Canvas()->Font.Color = clNavy;
        BitBlt(colour->Canvas()->Handle(), 0, 0, 4, 1, mono->Canvas()->Handle(), 0, 0, SRCCOPY);
        QCOMPARE(colour->Canvas()->Pixel(1, 0), clYellow);
        QCOMPARE(colour->Canvas()->Pixel(0, 0), clNavy);
    }

    void stretchBltScalesTheWholeSource()
    {
        std::unique_ptr<TBitmap> src(MakeBitmap(2, 2, clRed));
        src->Canvas()->SetPixel(1, 1, clBlue);
        std::unique_ptr<TBitmap> dst(MakeBitmap(6, 6, clWhite));
        StretchBlt(dst->Canvas()->Handle(), 0, 0, 6, 6, src->Canvas()->Handle(), 0, 0, 2, 2, SRCCOPY);
        QCOMPARE(dst->Canvas()->Pixel(1, 1), clRed);
        QCOMPARE(dst->Canvas()->Pixel(4, 4), clBlue);
        QCOMPARE(dst->Canvas()->Pixel(5, 2), clRed);
    }

    void transparentDrawLeavesTheKeyColourOut()
    {
        std::unique_ptr<TBitmap> pic(MakeBitmap(3, 3, clFuchsia));
        pic->Canvas()->SetPixel(1, 1, clGreen);
        pic->Canvas()->SetPixel(0, 1, RGB(200, 20, 10)); // red and blue must not trade places
        pic->Transparent = true;                         // automatic: the bottom-left pixel's colour
        std::unique_ptr<TBitmap> dst(MakeBitmap(5, 5, clWhite));
        dst->Canvas()->Draw(1, 1, pic.get());
        QCOMPARE(dst->Canvas()->Pixel(2, 2), clGreen);
        QCOMPARE(dst->Canvas()->Pixel(1, 2), RGB(200, 20, 10));
        QCOMPARE(dst->Canvas()->Pixel(1, 1), clWhite);
        // A new key colour or new pixels count at the next draw, though the keyed picture is kept.
        pic->SetTransparentColor(clGreen);
        std::unique_ptr<TBitmap> second(MakeBitmap(5, 5, clWhite));
        second->Canvas()->Draw(1, 1, pic.get());
        QCOMPARE(second->Canvas()->Pixel(2, 2), clWhite); // green is left out now
        QCOMPARE(second->Canvas()->Pixel(1, 1), clFuchsia);
        pic->Canvas()->SetPixel(2, 2, clGreen);
        std::unique_ptr<TBitmap> third(MakeBitmap(5, 5, clWhite));
        third->Canvas()->Draw(1, 1, pic.get());
        QCOMPARE(third->Canvas()->Pixel(3, 3), clWhite);
        QCOMPARE(third->Canvas()->Pixel(2, 3), clFuchsia);
    }

    void assignCopiesSoChangesStayApart()
    {
        std::unique_ptr<TBitmap> a(MakeBitmap(3, 3, clRed));
        TBitmap b;
        b.Assign(a.get());
        b.Canvas()->SetPixel(0, 0, clBlue);
        QCOMPARE(a->Canvas()->Pixel(0, 0), clRed);
        QCOMPARE(b.Canvas()->Pixel(0, 0), clBlue);
        QCOMPARE(b.PixelFormat(), pf24bit);
    }

    void fontSizeAndHeight_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("height");
        QTest::newRow("8 pt") << 8 << -11;
        QTest::newRow("9 pt") << 9 << -12;
        QTest::newRow("10 pt") << 10 << -13;
        QTest::newRow("12 pt") << 12 << -16;
    }
    void fontSizeAndHeight()
    {
        QFETCH(int, points);
        QFETCH(int, height);
        TFont f;
        f.SetSize(points);
        QCOMPARE(f.Height, height);
        QCOMPARE(f.Size(), points);
        QCOMPARE(f.ToQFont().pixelSize(), -height);
    }

    void mulDivRoundsHalfAwayFromZero_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << 6 << 4 << 3 << 8;
        QTest::newRow("half up") << 1 << 1 << 2 << 1;
        QTest::newRow("negative half") << -1 << 1 << 2 << -1;
        QTest::newRow("negative divisor") << 3 << 1 << -2 << -2;
        QTest::newRow("below half") << 1 << 1 << 3 << 0;
        QTest::newRow("64-bit product") << 2000000000 << 3 << 4 << 1500000000;
        QTest::newRow("zero divisor") << 5 << 5 << 0 << -1;
        QTest::newRow("overflow") << 2000000000 << 2000000000 << 1 << -1;
        QTest::newRow("gradient step") << 9 << -255 << 18 << -128;
    }
    void mulDivRoundsHalfAwayFromZero()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, expected);
        QCOMPARE(MulDiv(a, b, c), expected);
    }

    void compareTextFoldsAsciiOnly_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("ascii case") << "k"
                                    << "K" << true;
        QTest::newRow("different") << "k"
                                   << "S" << false;
        QTest::newRow("hangul same") << "가"
                                     << "가" << true;
        QTest::newRow("latin-1 not folded") << QString(QChar(0xE9)) << QString(QChar(0xC9)) << false;
        QTest::newRow("lengths") << "ab"
                                 << "a" << false;
    }
    void compareTextFoldsAsciiOnly()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, equal);
        QCOMPARE(CompareText(a, b) == 0, equal);
    }
};

QTEST_MAIN(TestGraphics)
#include "tst_Graphics.moc"
