// The packed form the program's own pictures are compiled in: what goes in comes out, pixel for pixel,
// and a damaged block is refused instead of read past its end.
#include "platform/PictureFile.h"

#include <QtTest>

#include <cstring>
#include <sys/stat.h>

namespace {
QImage Sample(QImage::Format format, int width, int height)
{
    QImage img(width, height, format);
    if (format == QImage::Format_Indexed8) img.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(1, 2, 3)});
    if (format == QImage::Format_Mono) img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono)
                img.setPixel(x, y, uint((x + y) % img.colorCount()));
            else
                img.setPixel(x, y,
                             qRgba(x * 40, y * 60, (x * y) % 256, format == QImage::Format_ARGB32 ? x * 50 : 255));
        }
    return img;
}

// Header fields, at their offsets in the block.
enum : int { kWidth = 4, kHeight = 8, kFormat = 12, kBytesPerLine = 16, kColorCount = 20 };

void Put(QByteArray& block, int offset, quint32 value)
{
    std::memcpy(block.data() + offset, &value, sizeof value);
}
} // namespace

class TestPictureFile : public QObject
{
    Q_OBJECT

private slots:
    void packedPictureComesBackUnchanged_data()
    {
        QTest::addColumn<QImage>("picture");
        // 24-bit rows of an odd width are padded; the padding must not shift the next row.
        QTest::newRow("24-bit, odd width") << Sample(QImage::Format_BGR888, 5, 3);
        QTest::newRow("32-bit with alpha") << Sample(QImage::Format_ARGB32, 4, 4);
        QTest::newRow("32-bit") << Sample(QImage::Format_RGB32, 3, 2);
        QTest::newRow("palette") << Sample(QImage::Format_Indexed8, 7, 2);
        QTest::newRow("one bit") << Sample(QImage::Format_Mono, 9, 3);
    }
    void packedPictureComesBackUnchanged()
    {
        QFETCH(QImage, picture);
        const QByteArray block = PackPicture(picture);
        QVERIFY(!block.isEmpty());
        const QImage back = UnpackPicture(reinterpret_cast<const uchar*>(block.constData()), block.size());
        QCOMPARE(back.format(), picture.format());
        QCOMPARE(back.colorTable(), picture.colorTable());
        QCOMPARE(back, picture);
    }

    void blockAtAnyAlignmentReads()
    {
        const QImage picture = Sample(QImage::Format_BGR888, 5, 3);
        const QByteArray block = PackPicture(picture);
        QByteArray buffer(block.size() + 4, '\0');
        for (int offset = 0; offset < 4; ++offset) {
            std::memcpy(buffer.data() + offset, block.constData(), size_t(block.size()));
            const auto* data = reinterpret_cast<const uchar*>(buffer.constData()) + offset;
            QCOMPARE(UnpackPicture(data, block.size()), picture);
        }
    }

    void paintingOnTheUnpackedPictureLeavesTheBlockAlone()
    {
        // The program's blocks live in read-only memory: a change must go to a copy.
        const QByteArray block = PackPicture(Sample(QImage::Format_RGB32, 4, 4));
        const QByteArray before = block;
        QImage img = UnpackPicture(reinterpret_cast<const uchar*>(block.constData()), block.size());
        img.setPixel(0, 0, qRgb(9, 9, 9));
        img.fill(Qt::green);
        QCOMPARE(block, before);
        QCOMPARE(img.pixel(3, 3), qRgb(0, 255, 0));
    }

    void damagedBlockIsRefused_data()
    {
        QTest::addColumn<QByteArray>("block");
        const QByteArray good = PackPicture(Sample(QImage::Format_BGR888, 5, 3));
        QByteArray b;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut short") << good.left(10);
        QTest::newRow("last byte missing") << good.left(good.size() - 1);
        QTest::newRow("a byte too many") << good + '\0';
        b = good, b[0] = 'P';
        QTest::newRow("not a packed picture") << b;
        b = good, Put(b, kWidth, 0);
        QTest::newRow("no width") << b;
        b = good, Put(b, kHeight, 4);
        QTest::newRow("taller than the block") << b;
        b = good, Put(b, kWidth, 7);
        QTest::newRow("rows too short for the width") << b;
        b = good, Put(b, kBytesPerLine, 15);
        QTest::newRow("rows not 32-bit aligned") << b;
        b = good, Put(b, kFormat, quint32(QImage::Format_RGB16));
        QTest::newRow("format never packed") << b;
        b = good, Put(b, kFormat, 9999);
        QTest::newRow("no such format") << b;
        b = good, Put(b, kColorCount, 0x40000000);
        QTest::newRow("colour count past the end") << b;
    }
    void damagedBlockIsRefused()
    {
        QFETCH(QByteArray, block);
        QVERIFY(UnpackPicture(reinterpret_cast<const uchar*>(block.constData()), block.size()).isNull());
    }

    void unpackableFormatPacksToNothing()
    {
        QImage img(2, 2, QImage::Format_RGB16);
        img.fill(Qt::red);
        QVERIFY(PackPicture(img).isEmpty());
        QVERIFY(PackPicture(QImage()).isEmpty());
    }

    void fifoIsRefusedWithoutWaiting()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe.bmp"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QImage picture;
        QString error;
        QVERIFY(!ReadPicture(pipe, picture, error)); // opening it would wait for a writer
        QVERIFY2(error.contains(pipe), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
