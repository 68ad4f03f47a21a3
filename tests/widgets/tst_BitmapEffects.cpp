// Fade and tint arithmetic, the pixel formats they keep, and the transparent blit on small fixtures.
#include "components/BitmapEffects.h"
#include "platform/Exception.h"
#include "platform/PictureFile.h"
#include "tests/support/TestSupport.h"

#include <QPainter>
#include <QtTest>
#include <climits>

namespace {
std::unique_ptr<TBitmap> Solid(int w, int h, TColor fill, TPixelFormat format = pf24bit)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(format);
    b->SetSize(w, h);
    b->Canvas()->Brush.Color = fill;
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// A 4 x 3 picture on a magenta key colour with a green block and one key-coloured pixel inside it.
std::unique_ptr<TBitmap> Sprite()
{
    auto b = Solid(4, 3, clFuchsia);
    b->Canvas()->Brush.Color = clGreen;
    b->Canvas()->FillRect(Rect(1, 0, 4, 3));
    b->Canvas()->SetPixel(2, 1, clFuchsia);
    return b;
}
} // namespace

class TestBitmapEffects : public QObject
{
    Q_OBJECT
private slots:
    void fadeByteRule_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("expected");
        QTest::newRow("0 keeps") << 0 << 200 << 200;
        QTest::newRow("101 out of range") << 101 << 200 << 200;
        QTest::newRow("-101 out of range") << -101 << 200 << 200;
        QTest::newRow("INT_MIN out of range") << INT_MIN << 200 << 200;
        QTest::newRow("INT_MAX out of range") << INT_MAX << 200 << 200;
        QTest::newRow("100 to white") << 100 << 7 << 255;
        QTest::newRow("-100 to black") << -100 << 250 << 0;
        QTest::newRow("-20 toward black") << -20 << 200 << 160;
        QTest::newRow("20 toward white") << 20 << 200 << 211;
        QTest::newRow("truncates") << 33 << 1 << 84; // (67 + 8415) div 100
    }
    void fadeByteRule()
    {
        QFETCH(int, percent);
        QFETCH(int, byte);
        QFETCH(int, expected);
        for (TPixelFormat format : {pf24bit, pf32bit}) {
            auto b = Solid(3, 2, RGB(byte, byte, byte), format);
            FadeBitmap(b.get(), percent);
            QCOMPARE(b->PixelFormat(), format);
            const uint8_t* row = b->ScanLine(1);
            QCOMPARE(int(row[0]), expected);
            QCOMPARE(int(row[3 * 3 - 1]), expected); // last channel byte of the row's last 24-bit pixel
        }
    }

    void fadeTouchesOnlyTheRowsPixels()
    {
        // A 24-bit row of 3 pixels is padded to 12 bytes; the padding stays as it was.
        auto b = Solid(3, 2, RGB(100, 100, 100));
        uint8_t* row = b->ScanLine(0);
        QVERIFY(b->BytesPerLine() > 9);
        row[9] = 42;
        FadeBitmap(b.get(), 50);
        QCOMPARE(int(b->ScanLine(0)[8]), (50 * 100 + 255 * 50) / 100);
        QCOMPARE(int(b->ScanLine(0)[9]), 42);
    }

    void fadeOfPalettedAndWordFormatsFadesColours_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("tolerance");
        // Paletted pictures fade their palette exactly; 15/16-bit ones within a step of 5 or 6 bits.
        QTest::newRow("pf8bit white") << int(pf8bit) << 50 << 0;
        QTest::newRow("pf8bit black") << int(pf8bit) << -50 << 0;
        QTest::newRow("pf4bit white") << int(pf4bit) << 50 << 0;
        QTest::newRow("pf15bit white") << int(pf15bit) << 50 << 8;
        QTest::newRow("pf15bit black") << int(pf15bit) << -30 << 8;
        QTest::newRow("pf16bit black") << int(pf16bit) << -50 << 8;
        QTest::newRow("pf16bit full white") << int(pf16bit) << 100 << 0;
    }
    void fadeOfPalettedAndWordFormatsFadesColours()
    {
        QFETCH(int, format);
        QFETCH(int, percent);
        QFETCH(int, tolerance);
        auto b = Solid(5, 4, RGB(128, 128, 128), TPixelFormat(format));
        const TColor before = b->Canvas()->Pixel(4, 3);
        // The pixel bytes of each row (row padding is left out: it holds nothing).
        auto indices = [&] {
            QByteArray out;
            for (int y = 0; y < b->Height(); ++y)
                out += QByteArray(reinterpret_cast<const char*>(b->ToImage().constScanLine(y)), b->Width());
            return out;
        };
        const QByteArray bits = indices();
        FadeBitmap(b.get(), percent);
        QCOMPARE(b->PixelFormat(), TPixelFormat(format));
        const TColor after = b->Canvas()->Pixel(4, 3);
        const int p = qAbs(percent), t = percent > 0 ? 255 : 0;
        for (int shift : {0, 8, 16}) {
            const int v = (before >> shift) & 0xFF, got = (after >> shift) & 0xFF;
            const int want = ((100 - p) * v + t * p) / 100;
            QVERIFY2(qAbs(got - want) <= tolerance,
                     qPrintable(QStringLiteral("%1 -> %2, want %3").arg(v).arg(got).arg(want)));
        }
        if (format == pf8bit || format == pf4bit) // the indices stay; the palette changes
            QCOMPARE(indices(), bits);
    }

    void fadeOfMonochromeFadesItsPalette()
    {
        auto b = Solid(9, 2, clBlack, pf1bit);
        FadeBitmap(b.get(), 40);
        QCOMPARE(b->PixelFormat(), pf1bit);
        QCOMPARE(b->Canvas()->Pixel(8, 1), RGB(102, 102, 102));
    }

    void customFormatRaises()
    {
        TBitmap b;
        QImage grey(4, 4, QImage::Format_Grayscale8);
        grey.fill(100);
        b.Assign(grey);
        QCOMPARE(b.PixelFormat(), pfCustom);
        QVERIFY_THROWS_EXCEPTION(Exception, BytesPerPixel(&b));
        QVERIFY_THROWS_EXCEPTION(Exception, FadeBitmap(&b, 10));
        QVERIFY_THROWS_EXCEPTION(Exception, TintBitmap(&b, clRed, 10));
        try {
            BytesPerPixel(&b);
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QStringLiteral("Unknown Pixel-Format."));
        }
    }

    void bytesPerPixel_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("bytes");
        QTest::newRow("device (24-bit)") << int(pfDevice) << 3;
        QTest::newRow("1") << int(pf1bit) << 1;
        QTest::newRow("4") << int(pf4bit) << 1;
        QTest::newRow("8") << int(pf8bit) << 1;
        QTest::newRow("15") << int(pf15bit) << 2;
        QTest::newRow("16") << int(pf16bit) << 2;
        QTest::newRow("24") << int(pf24bit) << 3;
        QTest::newRow("32") << int(pf32bit) << 4;
    }
    void bytesPerPixel()
    {
        QFETCH(int, format);
        QFETCH(int, bytes);
        TBitmap b;
        b.SetPixelFormat(TPixelFormat(format));
        QCOMPARE(BytesPerPixel(&b), bytes);
    }

    void tint_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<TColor>("pixel");
        QTest::addColumn<TColor>("color");
        QTest::addColumn<int>("percent");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("white 20 % red") << int(pf24bit) << clWhite << TColor(0x0000FF) << 20 << RGB(255, 204, 204);
        QTest::newRow("device bitmap is 24-bit")
            << int(pfDevice) << clWhite << TColor(0x0000FF) << 20 << RGB(255, 204, 204);
        QTest::newRow("100 takes the colour") << int(pf24bit) << clBlack << clSkyBlue << 100 << clSkyBlue;
        QTest::newRow("0 keeps") << int(pf24bit) << RGB(1, 2, 3) << clRed << 0 << RGB(1, 2, 3);
        QTest::newRow("101 ignored") << int(pf24bit) << clWhite << clRed << 101 << clWhite;
        QTest::newRow("32-bit ignored") << int(pf32bit) << clWhite << clRed << 20 << clWhite;
        QTest::newRow("system colour resolved") << int(pf24bit) << clBlack << clBtnFace << 100 << ColorToRGB(clBtnFace);
        QTest::newRow("truncates") << int(pf24bit) << RGB(10, 10, 10) << RGB(255, 0, 0) << 30
                                   << RGB((10 * 70 + 255 * 30) / 100, 7, 7);
    }
    void tint()
    {
        QFETCH(int, format);
        QFETCH(TColor, pixel);
        QFETCH(TColor, color);
        QFETCH(int, percent);
        QFETCH(TColor, expected);
        auto b = Solid(3, 2, pixel, TPixelFormat(format));
        TintBitmap(b.get(), color, uint8_t(percent));
        QCOMPARE(b->Canvas()->Pixel(2, 1), expected);
        QCOMPARE(b->PixelFormat(), TPixelFormat(format));
    }

    void loadedTwentyFourBitPictureIsTinted()
    {
        // Pictures read from files keep their 24-bit layout, so the hover tint reaches them.
        QTemporaryDir dir;
        QImage img(4, 4, QImage::Format_RGB888);
        img.fill(Qt::white);
        const QString path = dir.filePath("cloud.bmp");
        QVERIFY(img.save(path));
        TBitmap b;
        QVERIFY(b.LoadFromFile(path));
        QCOMPARE(BytesPerPixel(&b), 3);
        TintBitmap(&b, clRed, 20);
        QCOMPARE(b.Canvas()->Pixel(0, 0), RGB(255, 204, 204));
        // A PNG without alpha is a 24-bit picture too; with alpha it is 32-bit.
        QVERIFY(img.save(dir.filePath("cloud.png")));
        QVERIFY(b.LoadFromFile(dir.filePath("cloud.png")));
        QCOMPARE(b.PixelFormat(), pf24bit);
        QImage alpha(4, 4, QImage::Format_ARGB32);
        alpha.fill(Qt::transparent);
        QVERIFY(alpha.save(dir.filePath("alpha.png")));
        QVERIFY(b.LoadFromFile(dir.filePath("alpha.png")));
        QCOMPARE(b.PixelFormat(), pf32bit);
        QVERIFY(!b.LoadFromFile(dir.filePath("missing.png")));
    }

    void compiledPicturesAreTheirSourceFiles()
    {
        // The window pictures go into the program decoded at build time; they must be what reading their
        // source files gives, or the program would look different from its pictures.
        const QDir sources(QStringLiteral(VORNIX_SOURCE_DIR "/resources/images"));
        const QStringList names = sources.entryList({QStringLiteral("*.png"), QStringLiteral("*.bmp")}, QDir::Files);
        QVERIFY(names.contains(QStringLiteral("Banner.bmp")));
        for (const QString& name : names) {
            TBitmap compiled, read;
            QVERIFY2(compiled.LoadFromResourceName(name), qPrintable(name));
            QVERIFY2(read.LoadFromFile(sources.filePath(name)), qPrintable(read.LoadError()));
            QCOMPARE(compiled.PixelFormat(), read.PixelFormat());
            QCOMPARE(compiled.ToImage(), read.ToImage());
            QVERIFY2(!ResourcePicture(name).isNull(), qPrintable(name));
        }
        QVERIFY(ResourcePicture(QStringLiteral("NoSuchPicture.png")).isNull());
    }

    void pictureDeclaringAHugeSizeIsRefused_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        // An 89-byte file that declares 32 million pixels.
        QTest::newRow("tall") << 9 << 3600000;
        QTest::newRow("wide") << 3600000 << 9;
    }
    void pictureDeclaringAHugeSizeIsRefused()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QByteArray bmp;
        QDataStream out(&bmp, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out.writeRawData("BM", 2);
        out << quint32(89) << quint32(0) << quint32(54);                                    // file header
        out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << quint16(24); // info header
        out << quint32(0) << quint32(0) << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
        bmp.append(QByteArray(89 - bmp.size(), '\x7f'));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.bmp"));
        WriteAll(path, bmp);
        TBitmap b;
        b.SetSize(3, 2);
        QVERIFY(!b.LoadFromFile(path));
        QVERIFY2(b.LoadError().contains(QStringLiteral("%1 x %2 pixels").arg(width).arg(height)),
                 qPrintable(b.LoadError()));
        QCOMPARE(b.Width(), 3); // the picture it had stays
        QVERIFY(!b.LoadFromFile(dir.filePath(QStringLiteral("missing.png"))));
        QVERIFY(b.LoadError().contains(QStringLiteral("missing.png")));
    }

    void transparentBlitAtNaturalSize()
    {
        auto dest = Solid(8, 6, clYellow);
        dest->Canvas()->SetPixel(4, 2, clNavy); // shows through the key-coloured hole
        auto sprite = Sprite();
        DrawBitmapTransparent(dest->Canvas()->Handle(), 2, 1, sprite.get(), 0, 0);
        const TCanvas* c = dest->Canvas();
        Q_UNUSED(c);
        QCOMPARE(dest->Canvas()->Pixel(2, 1), clYellow); // key colour at the top-left: transparent
        QCOMPARE(dest->Canvas()->Pixel(3, 1), clGreen);
        QCOMPARE(dest->Canvas()->Pixel(5, 3), clGreen);
        QCOMPARE(dest->Canvas()->Pixel(4, 2), clNavy);   // key colour inside the picture
        QCOMPARE(dest->Canvas()->Pixel(6, 2), clYellow); // outside the picture
        QCOMPARE(dest->Canvas()->Pixel(3, 4), clYellow);
        QCOMPARE(dest->PixelFormat(), pf24bit);
    }

    void transparentBlitFollowsAChangedPicture()
    {
        // What a picture's key colour leaves out is kept between paints; any change of the picture shows
        // at the next one.
        TBitmap pic;
        pic.SetSize(4, 2); // white: the key colour
        pic.Canvas()->SetPixel(1, 0, clRed);
        const auto draw = [&](bool faded) {
            auto dest = Solid(4, 2, clLime);
            if (faded)
                DrawBitmapTransparentFaded(dest->Canvas()->Handle(), 0, 0, 0, &pic, 0, 0);
            else
                DrawBitmapTransparent(dest->Canvas()->Handle(), 0, 0, &pic, 0, 0);
            return dest;
        };
        for (const bool faded : {false, true}) {
            QCOMPARE(draw(faded)->Canvas()->Pixel(1, 0), clRed);
            QCOMPARE(draw(faded)->Canvas()->Pixel(2, 0), clLime);
        }
        pic.Canvas()->SetPixel(2, 0, clBlue); // a pixel drawn on its canvas
        QCOMPARE(draw(false)->Canvas()->Pixel(2, 0), clBlue);
        QCOMPARE(draw(true)->Canvas()->Pixel(2, 0), clBlue);
        uint8_t* row = pic.ScanLine(1); // bytes written through a scan line
        row[3] = 0, row[4] = 0, row[5] = 0x80;
        QCOMPARE(draw(false)->Canvas()->Pixel(1, 1), clMaroon);
        pic.Canvas()->SetPixel(0, 0, clRed); // a new key colour: red goes, white shows
        QCOMPARE(draw(false)->Canvas()->Pixel(1, 0), clLime);
        QCOMPARE(draw(false)->Canvas()->Pixel(3, 0), clWhite);
        QCOMPARE(draw(true)->Canvas()->Pixel(3, 0), clWhite);
    }

    void transparentBlitLeavesThePicturesCanvasAlone()
    {
        // The key colour is set on the picture's canvas only for the mask; afterwards the canvas's
        // background follows its brush again, so opaque text drawn on the picture later is not boxed in white.
        auto dest = Solid(8, 6, clYellow);
        auto sprite = Sprite();
        DrawBitmapTransparent(dest->Canvas()->Handle(), 0, 0, sprite.get(), 0, 0);
        TCanvas* c = sprite->Canvas();
        c->Brush.Style = bsSolid;
        c->Brush.Color = clAqua;
        c->TextOut(0, 0, QStringLiteral(" "));
        QCOMPARE(c->Pixel(0, 0), clAqua);
    }

    void transparentBlitStretched()
    {
        auto dest = Solid(40, 30, clWhite);
        auto sprite = Sprite();
        DrawBitmapTransparent(dest->Canvas()->Handle(), 5, 5, sprite.get(), 30, 20);
        QCOMPARE(dest->Canvas()->Pixel(6, 6), clWhite);   // first source column, stretched
        QCOMPARE(dest->Canvas()->Pixel(34, 24), clGreen); // last pixel of the stretched area
        QCOMPARE(dest->Canvas()->Pixel(35, 24), clWhite);
        QCOMPARE(dest->Canvas()->Pixel(20, 14), clWhite); // the hole at source (2, 1)
        QCOMPARE(dest->Canvas()->Pixel(14, 20), clGreen);
    }

    void transparentBlitIgnoresNonPositiveSizes_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::newRow("both negative") << -30 << -20;
        QTest::newRow("width only") << 30 << 0;
        QTest::newRow("height negative") << 30 << -1;
    }
    void transparentBlitIgnoresNonPositiveSizes()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        auto dest = Solid(20, 20, clWhite);
        auto sprite = Sprite();
        DrawBitmapTransparent(dest->Canvas()->Handle(), 0, 0, sprite.get(), w, h);
        QCOMPARE(dest->Canvas()->Pixel(3, 2), clGreen); // natural size
        QCOMPARE(dest->Canvas()->Pixel(4, 2), clWhite);
    }

    void emptySourceDrawsNothing()
    {
        auto dest = Solid(5, 5, clWhite);
        TBitmap empty;
        DrawBitmapTransparent(dest->Canvas()->Handle(), 0, 0, &empty, 0, 0);
        DrawBitmapTransparent(dest->Canvas()->Handle(), 0, 0, &empty, 3, 3);
        DrawBitmapTransparentFaded(dest->Canvas()->Handle(), 0, 0, 20, &empty, 0, 0);
        QCOMPARE(dest->Canvas()->Pixel(0, 0), clWhite);
        QCOMPARE(dest->Canvas()->Pixel(2, 2), clWhite);
    }

    void fadedBlitLeavesTheOriginal()
    {
        auto dest = Solid(6, 4, clBlue);
        auto sprite = Sprite();
        DrawBitmapTransparentFaded(dest->Canvas()->Handle(), 0, 0, -50, sprite.get(), 0, 0);
        QCOMPARE(dest->Canvas()->Pixel(0, 0), clBlue);        // faded key colour still transparent
        QCOMPARE(dest->Canvas()->Pixel(1, 0), RGB(0, 64, 0)); // green 128 halved toward black
        QCOMPARE(sprite->Canvas()->Pixel(1, 0), clGreen);     // the original is untouched
    }

    void transparentBlitOnAWidgetCanvas()
    {
        // A widget cannot be read back; its painter combines the masks in place with the same result.
        QImage target(8, 6, QImage::Format_ARGB32_Premultiplied);
        target.fill(ToQColor(clYellow));
        auto sprite = Sprite();
        {
            QPainter painter(&target);
            TCanvas canvas;
            canvas.Brush.Color = clRed; // the widget canvas's own colours do not tint the masks
            canvas.Font.Color = clBlue;
            canvas.AttachPainter(&painter);
            DrawBitmapTransparent(canvas.Handle(), 2, 1, sprite.get(), 0, 0);
            canvas.Detach();
        }
        QCOMPARE(FromQColor(target.pixelColor(2, 1)), clYellow);
        QCOMPARE(FromQColor(target.pixelColor(3, 1)), clGreen);
        QCOMPARE(FromQColor(target.pixelColor(4, 2)), clYellow);
        QCOMPARE(FromQColor(target.pixelColor(7, 5)), clYellow);
    }
};

QTEST_MAIN(TestBitmapEffects)
#include "tst_BitmapEffects.moc"
