// Background pictures of sentence practice: the stored list, loading, tiling, cycling, thumbnails and the
// practice texts offered by the setup dialog.
#include "platform/TextFile.h"
#include "screens/SentenceImageList.h"
#include "screens/SentenceSetupModel.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(QList<TBackImageItem>)

namespace {
// A picture whose pixel (x, y) has red x, green y and blue `tag`, so a sampled pixel tells where it came from.
QImage Coded(int w, int h, int tag)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x, y, tag));
    return img;
}

// The headers of a 24-bit BMP file declaring w x h pixels, followed by `pixelBytes` bytes.
QByteArray Bmp(int w, int h, int pixelBytes)
{
    QByteArray b(54, '\0');
    auto put32 = [&b](int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    auto put16 = [&b](int at, quint16 v) { qToLittleEndian(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(54 + pixelBytes));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, 24);
    return b + QByteArray(pixelBytes, '\x40');
}
} // namespace

class TestSentenceImages : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(Coded(100, 50, 1).save(Path("a.png")));
        QVERIFY(Coded(30, 20, 2).save(Path("b.bmp")));
        QVERIFY(Coded(40, 40, 3).save(Path("그림 c.png")));
        WriteAll(Path("broken.png"), QByteArray("\x89PNG\r\n\x1a\nnot really"));
        WriteAll(Path("zero.bmp"), Bmp(0, 10, 0));
        // 9 x 3.6 million pixels declared in a file of a few bytes.
        WriteAll(Path("huge.bmp"), Bmp(9, 3600000, 35));
    }

    void backImageString_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QList<TBackImageItem>>("items");
        QTest::addColumn<QString>("storedAgain");
        QTest::newRow("empty") << "" << QList<TBackImageItem>{} << "";
        QTest::newRow("checked then unchecked")
            << "1/pic/a.png|0/pic/b.bmp" << QList<TBackImageItem>{{true, "/pic/a.png"}, {false, "/pic/b.bmp"}}
            << "1/pic/a.png|0/pic/b.bmp";
        QTest::newRow("blanks never split")
            << "1/my pics/a b.png" << QList<TBackImageItem>{{true, "/my pics/a b.png"}} << "1/my pics/a b.png";
        QTest::newRow("empty items dropped")
            << "|1/a.png||0/b.png|" << QList<TBackImageItem>{{true, "/a.png"}, {false, "/b.png"}} << "1/a.png|0/b.png";
        QTest::newRow("odd flag lists unchecked") << "2/a.png" << QList<TBackImageItem>{{false, "/a.png"}} << "0/a.png";
        QTest::newRow("Korean path") << "1/그림/가.png" << QList<TBackImageItem>{{true, "/그림/가.png"}}
                                     << "1/그림/가.png";
    }
    void backImageString()
    {
        QFETCH(QString, stored);
        QFETCH(QList<TBackImageItem>, items);
        QFETCH(QString, storedAgain);
        QCOMPARE(DecodeBackImages(stored), items);
        QCOMPARE(EncodeBackImages(items), storedAgain);
    }

    void storablePaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("storable");
        QTest::newRow("plain") << "/home/u/a.png" << true;
        QTest::newRow("blank and Korean") << "/home/u/내 그림.png" << true;
        QTest::newRow("bar") << "/home/u/a|b.png" << false;
        QTest::newRow("line feed") << "/home/u/a\nb.png" << false;
        QTest::newRow("carriage return") << "/home/u/a\rb.png" << false;
    }
    void storablePaths()
    {
        QFETCH(QString, path);
        QFETCH(bool, storable);
        QCOMPARE(IsStorablePicturePath(path), storable);
        // What is storable comes back as it went in.
        if (storable) QCOMPARE(DecodeBackImages(EncodeBackImages({{true, path}})).value(0).Path, path);
    }

    void loadImages_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("names");
        const QString a = Path("a.png"), b = Path("b.bmp"), c = Path("그림 c.png");
        const QString def = TSentenceImageList::DefaultImageName;
        QTest::newRow("nothing stored") << "" << QStringList{def};
        QTest::newRow("only unchecked") << "0" + a + "|0" + b << QStringList{def};
        QTest::newRow("second broken") << "1" + a + "|1" + Path("broken.png") + "|1" + c << QStringList{a, c};
        QTest::newRow("missing and unchecked left out")
            << "1" + Path("gone.png") + "|0" + a + "|1" + b << QStringList{b};
        QTest::newRow("zero width is a failed load") << "1" + Path("zero.bmp") << QStringList{def};
        QTest::newRow("huge picture is a failed load") << "1" + Path("huge.bmp") + "|1" + a << QStringList{a};
        QTest::newRow("every broken one") << "1" + Path("broken.png") + "|1" + FDir.path() << QStringList{def};
    }
    void loadImages()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, names);
        TSentenceImageList list;
        list.LoadImages(stored, Coded(8, 8, 9));
        QStringList got;
        for (int i = 0; i < list.Count(); ++i) {
            got << list.Strings(i);
            QVERIFY(!list.Image(i).isNull());
        }
        QCOMPARE(got, names);
    }

    void hugePictureIsRefusedQuickly()
    {
        QElapsedTimer t;
        t.start();
        QImage picture;
        QVERIFY(!LoadPicture(Path("huge.bmp"), picture));
        QVERIFY(picture.isNull());
        QVERIFY2(t.elapsed() < 2000, "the declared size alone refuses it");
    }

    void nextImageCyclesTheLoadedPictures()
    {
        TSentenceImageList list;
        list.LoadImages("1" + Path("a.png") + "|1" + Path("broken.png") + "|1" + Path("b.bmp"), QImage());
        QList<int> blues;
        for (int i = 0; i < 5; ++i) {
            blues << qBlue(list.CurrentImage().pixel(0, 0));
            list.NextImage();
        }
        QCOMPARE(blues, (QList<int>{1, 2, 1, 2, 1}));
    }

    void tilePieces()
    {
        // A 100 x 50 picture over (0, 0)-(250, 120) behind a control that stands 176 pixels to the right.
        const QVector<TTilePiece> pieces = TilePieces(100, 50, QRect(0, 0, 250, 120), 176);
        QList<int> columns, rows;
        for (const TTilePiece& p : pieces) {
            if (p.Dest.y() == 0) columns << p.Dest.width();
            if (p.Dest.x() == 0) rows << p.Dest.height();
            QCOMPARE(p.Dest.size(), p.Source.size());
        }
        QCOMPARE(columns, (QList<int>{24, 100, 100, 26}));
        QCOMPARE(rows, (QList<int>{50, 50, 20}));
        QCOMPARE(pieces.first().Source.topLeft(), QPoint(76, 0));
        QVERIFY(TilePieces(0, 50, QRect(0, 0, 10, 10), 0).isEmpty());
    }

    void drawTiledPixels_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("xOffset");
        QTest::newRow("meter, no offset") << QRect(0, 0, 250, 120) << 0;
        QTest::newRow("typing control beside the meter") << QRect(0, 0, 250, 120) << 176;
        QTest::newRow("part of a line") << QRect(37, 61, 140, 33) << 176;
    }
    void drawTiledPixels()
    {
        QFETCH(QRect, rect);
        QFETCH(int, xOffset);
        TSentenceImageList list;
        list.LoadImages("1" + Path("a.png"), QImage());
        QImage target(260, 130, QImage::Format_RGB32);
        target.fill(Qt::black);
        {
            QPainter p(&target);
            list.DrawTiled(p, rect, xOffset);
        }
        const int r = rect.x() + rect.width(), b = rect.y() + rect.height();
        for (int y = rect.y(); y < b; y += 7)
            for (int x = rect.x(); x < r; x += 3) {
                const QRgb px = target.pixel(x, y);
                QCOMPARE(qRed(px), (x + xOffset) % 100);
                QCOMPARE(qGreen(px), y % 50);
                QCOMPARE(qBlue(px), 1);
            }
        QCOMPARE(target.pixel(r - 1, b - 1), qRgb((r - 1 + xOffset) % 100, (b - 1) % 50, 1));
        // Nothing outside the rectangle.
        QCOMPARE(target.pixel(r, b), qRgb(0, 0, 0));
        if (rect.x() > 0) QCOMPARE(target.pixel(rect.x() - 1, rect.y()), qRgb(0, 0, 0));
    }

    void indexPastTheEndFillsWithWindowColourUntilItWraps()
    {
        TSentenceImageList list;
        list.LoadImages("1" + Path("a.png") + "|1" + Path("b.bmp") + "|1" + Path("그림 c.png"), QImage());
        list.NextImage();
        list.NextImage();
        list.LoadImages("1" + Path("a.png"), QImage()); // the index stays 2
        QImage target(20, 20, QImage::Format_RGB32);
        target.fill(Qt::black);
        {
            QPainter p(&target);
            list.DrawTiled(p, QRect(0, 0, 20, 20), 0);
        }
        QCOMPARE(target.pixel(5, 5), qRgb(255, 255, 255));
        list.NextImage();
        QCOMPARE(list.CurrIndex(), 0);
        {
            QPainter p(&target);
            list.DrawTiled(p, QRect(0, 0, 20, 20), 0);
        }
        QCOMPARE(target.pixel(5, 5), qRgb(5, 5, 1));
    }

    void defaultPictureIsACopy()
    {
        TSentenceImageList list;
        QImage def = Coded(8, 8, 9);
        list.LoadImages(QString(), def);
        def.fill(Qt::red);
        QCOMPARE(list.Image(0).pixel(3, 4), qRgb(3, 4, 9));
    }

    void transparentPictureIsOpaqueOverWhite()
    {
        QImage clear(4, 4, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        clear.setPixel(1, 1, qRgba(0, 0, 255, 255));
        const QString file = Path("clear.png");
        QVERIFY(clear.save(file));
        QImage picture;
        QVERIFY(LoadPicture(file, picture));
        QVERIFY(!picture.hasAlphaChannel());
        QCOMPARE(picture.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(1, 1), qRgb(0, 0, 255));
    }

    void thumbnailSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("thumbnail");
        QTest::newRow("wide") << QSize(160, 40) << QSize(80, 20);
        QTest::newRow("tall") << QSize(40, 160) << QSize(20, 80);
        QTest::newRow("wide, cut not rounded") << QSize(2312, 1000) << QSize(80, 34);
        QTest::newRow("tall, cut not rounded") << QSize(1000, 2312) << QSize(34, 80);
        QTest::newRow("square") << QSize(7, 7) << QSize(80, 80);
        QTest::newRow("a line keeps one pixel") << QSize(10000, 1) << QSize(80, 1);
        QTest::newRow("no width") << QSize(0, 10) << QSize();
        QTest::newRow("no height") << QSize(10, 0) << QSize();
    }
    void thumbnailSize()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, thumbnail);
        QCOMPARE(ThumbnailSize(picture.width(), picture.height(), 80), thumbnail);
    }

    void thumbnailOfFiles()
    {
        QCOMPARE(MakeThumbnailImage(Path("a.png"), 80).size(), QSize(80, 40));
        QVERIFY(MakeThumbnailImage(Path("zero.bmp"), 80).isNull());
        QVERIFY(MakeThumbnailImage(Path("broken.png"), 80).isNull());
        QVERIFY(MakeThumbnailImage(Path("gone.png"), 80).isNull());
    }

    void practiceTexts()
    {
        QTemporaryDir dir;
        WriteAll(dir.filePath(QStringLiteral("[한글]문장.txt")), "가");
        WriteAll(dir.filePath(QStringLiteral("B.TXT")), "b");
        WriteAll(dir.filePath(QStringLiteral("a.txt")), "a");
        WriteAll(dir.filePath(QStringLiteral(".hidden.txt")), "h");
        WriteAll(dir.filePath(QStringLiteral("notes.md")), "n");
        QDir(dir.path()).mkdir(QStringLiteral("folder.txt"));
        const QList<TPracticeText> texts = ListPracticeTexts(dir.path());
        QStringList captions;
        for (const TPracticeText& t : texts) {
            captions << t.Caption;
            QVERIFY2(QFileInfo(t.Path).isFile(), qPrintable(t.Path));
        }
        QCOMPARE(captions, (QStringList{"[한글]문장", "a", "B"}));
        QCOMPARE(QFileInfo(texts[2].Path).fileName(), QStringLiteral("B.TXT"));
        QVERIFY(ListPracticeTexts(dir.filePath(QStringLiteral("none"))).isEmpty());
    }

    // Qt's directory listing leaves out names it cannot decode; old archives name their texts in CP949.
    void practiceTextsWhoseNamesAreNotUtf8()
    {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        const auto make = [&](const QByteArray& name, const QByteArray& text) {
            const int fd = ::open((folder + name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, text.constData(), size_t(text.size())), ssize_t(text.size()));
            ::close(fd);
        };
        make("\xbe\xd6\xb1\xb9\xb0\xa1.txt", "cp949 name"); // 애국가 in CP949
        make("\xff\xfe\xc3.TXT", "no encoding");
        make("plain.txt", "utf-8 name");
        QCOMPARE(::mkfifo((folder + "pipe.txt").constData(), 0600), 0);
        QCOMPARE(::symlink("plain.txt", (folder + "link.txt").constData()), 0);
        QCOMPARE(::symlink("gone", (folder + "dangling.txt").constData()), 0);
        const QList<TPracticeText> texts = ListPracticeTexts(dir.path());
        QStringList captions, contents;
        for (const TPracticeText& t : texts) {
            captions << t.Caption;
            contents << LoadTextLines(t.Path, t.NativePath).join(u'/');
        }
        QCOMPARE(captions, (QStringList{"\\xff\\xfe\\xc3", "link", "plain", "애국가"}));
        QCOMPARE(contents, (QStringList{"no encoding", "utf-8 name", "utf-8 name", "cp949 name"}));
        QCOMPARE(texts[3].Path, dir.filePath(QStringLiteral("애국가.txt")));
    }

    void refusedPicturesSayWhy_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << "gone.png"
                                 << "없습니다";
        QTest::newRow("FIFO") << "pipe.png"
                              << "장치나 폴더";
        QTest::newRow("folder") << "."
                                << "장치나 폴더";
        QTest::newRow("not a picture") << "broken.png"
                                       << "읽을 수 없습니다";
        QTest::newRow("declared too large") << "huge.bmp"
                                            << "너무 큽니다";
        QTest::newRow("too wide") << "wide.png"
                                  << "20000 x 1";
    }
    void refusedPicturesSayWhy()
    {
        QFETCH(QString, file);
        QFETCH(QString, why);
        const QString pipe = Path("pipe.png");
        if (!QFileInfo::exists(pipe)) QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QImage wide(20000, 1, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        if (!QFileInfo::exists(Path("wide.png"))) QVERIFY(wide.save(Path("wide.png")));
        const QString path = FDir.filePath(file);
        QImage picture;
        QString error;
        QVERIFY(!LoadPicture(path, picture, &error)); // a FIFO returns at once
        QVERIFY2(error.contains(why), qPrintable(error));
        QString thumbnailError;
        QVERIFY(MakeThumbnailImage(path, 80, &thumbnailError).isNull());
        QCOMPARE(thumbnailError, error);
    }

    // Decoded, it needs more memory than Qt allows a picture by default, but not more than this list allows.
    void pictureAboveQtsDefaultLimitLoads()
    {
        const QString file = Path("big.png");
        {
            QImage big(6000, 6000, QImage::Format_RGB888);
            big.fill(Qt::darkCyan);
            QVERIFY(big.save(file));
        }
        QImage picture;
        QString error;
        QVERIFY2(LoadPicture(file, picture, &error), qPrintable(error));
        QCOMPARE(picture.size(), QSize(6000, 6000));
    }

    void ownTextsJoinTheBundledOnes()
    {
        QTemporaryDir bundled, own;
        WriteAll(bundled.filePath(QStringLiteral("[한글]봄.txt")), "가");
        WriteAll(bundled.filePath(QStringLiteral("b.txt")), "b");
        WriteAll(bundled.filePath(QStringLiteral("d.txt")), "d");
        WriteAll(own.filePath(QStringLiteral("b.txt")), "own b"); // takes the bundled one's place
        WriteAll(own.filePath(QStringLiteral("c.txt")), "c");
        const auto listed = [](const QList<TPracticeText>& texts) {
            QStringList out;
            for (const TPracticeText& t : texts)
                out << QString::fromUtf8(ReadAll(t.Path));
            return out;
        };
        QCOMPARE(listed(ListAllPracticeTexts(bundled.path(), own.path())), (QStringList{"가", "own b", "c", "d"}));
        QCOMPARE(listed(ListAllPracticeTexts(bundled.path(), own.filePath(QStringLiteral("none")))),
                 (QStringList{"가", "b", "d"}));
        QCOMPARE(listed(ListAllPracticeTexts(own.path(), own.path() + QStringLiteral("/."))),
                 (QStringList{"own b", "c"}));
    }
};

QTEST_MAIN(TestSentenceImages)
#include "tst_sentenceimages.moc"
