// The main window on screens of any size: limits within the free area, the frame centred in it, and the
// size kept at close.
#include "platform/IniFile.h"
#include "screens/MainWindowPlacement.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestMainWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QPoint>("framePos");
        const QMargins openbox(1, 21, 1, 5); // a title bar and thin borders
        const QSize design(1286, 871);
        QTest::newRow("large screen: the design size, centred")
            << QRect(0, 0, 1920, 1200) << openbox << design << design << QPoint(316, 151);
        // The frame (1288 x 897) is centred, not the client alone.
        QTest::newRow("1366 x 768 with a panel at the bottom")
            << QRect(0, 0, 1366, 740) << openbox << design << QSize(1286, 714) << QPoint(39, 0);
        // Narrower than the minimum of 1200: the screen wins, About and Help stay on it.
        QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << openbox << design << QSize(1022, 742) << QPoint(0, 0);
        QTest::newRow("panels on the left and at the top")
            << QRect(48, 30, 1318, 738) << openbox << design << QSize(1286, 712) << QPoint(63, 30);
        QTest::newRow("second screen to the right")
            << QRect(1920, 0, 1366, 768) << openbox << QSize(1250, 700) << QSize(1250, 700) << QPoint(1977, 21);
        QTest::newRow("frame not known yet, 800 x 600")
            << QRect(0, 0, 800, 600) << QMargins() << design << QSize(800, 600) << QPoint(0, 0);
        QTest::newRow("stored size under the minimum grows to it")
            << QRect(0, 0, 1920, 1200) << openbox << QSize(900, 400) << QSize(1198, 674) << QPoint(360, 250);
    }
    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QMargins, frame);
        QFETCH(QSize, wanted);
        const TMainWindowPlacement p = PlaceMainWindow(available, frame, QSize(1200, 700), wanted);
        QTEST(p.Client, "client");
        QTEST(p.FramePos, "framePos");
        // Whatever the user does within the limits, the frame fits the free area.
        const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
        QVERIFY(p.MinClient.width() <= p.MaxClient.width() && p.MinClient.height() <= p.MaxClient.height());
        QVERIFY(QRect(p.FramePos, p.MaxClient + frameSize).width() <= available.width());
        QVERIFY(QRect(p.FramePos, p.MaxClient + frameSize).height() <= available.height());
        QVERIFY(available.contains(QRect(p.FramePos, p.Client + frameSize)));
    }

    void sizeToStore_data()
    {
        QTest::addColumn<QSize>("normal");
        QTest::addColumn<QSize>("placed");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("kept");
        QTest::newRow("resized by the user")
            << QSize(1100, 700) << QSize(1286, 871) << QSize(1286, 871) << QSize(1100, 700);
        // Clamped to a small screen and left so: a larger screen later shows the user's size again.
        QTest::newRow("clamped and not resized")
            << QSize(1022, 742) << QSize(1022, 742) << QSize(1286, 871) << QSize(1286, 871);
        // Maximized from the start, the window manager never showed a normal size.
        QTest::newRow("no normal size known") << QSize() << QSize(1286, 714) << QSize(1286, 871) << QSize(1286, 871);
    }
    void sizeToStore()
    {
        QFETCH(QSize, normal);
        QFETCH(QSize, placed);
        QFETCH(QSize, stored);
        QTEST(MainWindowSizeToStore(normal, placed, stored), "kept");
    }

    // Placed frameless at (40, 0); the frame arrives later with a 20 px title bar.
    void stillPlaced_data()
    {
        QTest::addColumn<QPoint>("client");
        QTest::addColumn<bool>("placed");
        QTest::newRow("framed on its way to the screen") << QPoint(41, 20) << true;
        QTest::newRow("framed round its place by a late window manager") << QPoint(40, 0) << true;
        QTest::newRow("moved by the user") << QPoint(300, 200) << false;
        QTest::newRow("moved down by the title bar's height only") << QPoint(40, 20) << false;
    }
    void stillPlaced()
    {
        QFETCH(QPoint, client);
        QTEST(MainWindowStillPlaced(QPoint(40, 0), client, QMargins(1, 20, 1, 5)), "placed");
    }

    void storedSizeIsRead_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QSize>("client");
        QTest::newRow("none stored: the design size") << QByteArray() << QSize(1286, 871);
        QTest::newRow("stored") << QByteArray("[mainform]\nwidth=900\nheight=600\n") << QSize(900, 600);
        QTest::newRow("only the width") << QByteArray("[MainForm]\nWidth=900\n") << QSize(900, 871);
        QTest::newRow("not a number") << QByteArray("[mainform]\nwidth=wide\nheight=$200\n") << QSize(1286, 512);
    }
    void storedSizeIsRead()
    {
        QFETCH(QByteArray, ini);
        QTemporaryDir dir;
        const TIniFile file(WriteIniFixture(dir, ini));
        QTEST(ReadMainWindowSize(file, QSize(1286, 871)), "client");
    }

    void sizeIsWrittenAndReadBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Zavlin.ini"));
        {
            TIniFile file(path);
            WriteMainWindowSize(file, QSize(1100, 700));
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[mainform]\nwidth=1100\nheight=700\n"));
        const TIniFile file(path);
        QCOMPARE(ReadMainWindowSize(file, QSize(1286, 871)), QSize(1100, 700));
    }
};

QTEST_GUILESS_MAIN(TestMainWindowPlacement)
#include "tst_mainwindowplacement.moc"
