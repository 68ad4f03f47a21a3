// Reading practice texts: byte-order marks, UTF-8, CP949 and the platform's line breaks.
#include "platform/Exception.h"
#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QStringList hangul{QStringLiteral("가나다"), QStringLiteral("abc")};
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("utf-8 without mark") << QByteArray("\xea\xb0\x80\xeb\x82\x98\xeb\x8b\xa4\nabc") << hangul;
        QTest::newRow("utf-8 mark") << QByteArray("\xef\xbb\xbf\xea\xb0\x80\xeb\x82\x98\xeb\x8b\xa4\r\nabc\r\n")
                                    << hangul;
        QTest::newRow("utf-16le mark") << QByteArray("\xff\xfe\x00\xac\x98\xb0\xe4\xb2\r\0\n\0a\0b\0c\0", 18) << hangul;
        QTest::newRow("utf-16be mark") << QByteArray("\xfe\xff\xac\x00\xb0\x98\xb2\xe4\0\n\0a\0b\0c", 16) << hangul;
        QTest::newRow("cp949") << QByteArray::fromHex("b0a1b3aab4d90d0a616263") << hangul;
        QTest::newRow("only a mark") << QByteArray("\xef\xbb\xbf") << QStringList();
        QTest::newRow("cr only") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed breaks keep blank lines")
            << QByteArray("a\r\n\nb\r\rc") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("one break") << QByteArray("\n") << QStringList{""};
        QTest::newRow("no final break") << QByteArray("x") << QStringList{"x"};
    }
    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("연습.txt"));
        WriteAll(path, bytes);
        QCOMPARE(LoadTextLines(path), lines);
    }

    void missingFileRaisesWithItsName()
    {
        try {
            LoadTextLines(QStringLiteral("/nonexistent/글.txt"));
            QFAIL("no error for a missing file");
        } catch (const Exception& e) {
            QVERIFY(e.Message().contains(QStringLiteral("/nonexistent/글.txt")));
        }
    }

    void cp949RoundTripAndCuts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("hangul") << QStringLiteral("가나") << -1 << QByteArray::fromHex("b0a1b3aa");
        QTest::newRow("beyond KS X 1001 (똠)") << QStringLiteral("똠") << -1 << QByteArray::fromHex("8c63");
        QTest::newRow("cut keeps whole characters") << QStringLiteral("a가나") << 4 << QByteArray::fromHex("61b0a1");
        QTest::newRow("exact fit") << QStringLiteral("a가나") << 5 << QByteArray::fromHex("61b0a1b3aa");
        QTest::newRow("unmappable becomes ?") << QStringLiteral("a😀b") << -1 << QByteArray("a?b");
    }
    void cp949RoundTripAndCuts()
    {
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ToAnsi(text, maxBytes), bytes);
        if (!bytes.contains('?')) QVERIFY(text.startsWith(FromAnsi(bytes)));
    }

    void invalidCp949CostsOneCharacterPerBadByte()
    {
        // A lone lead byte at the end, and a lead byte followed by a control character.
        QCOMPARE(FromAnsi(QByteArray::fromHex("b0a1b0")), QStringLiteral("가\uFFFD"));
        QCOMPARE(FromAnsi(QByteArray::fromHex("b00a41")), QStringLiteral("\uFFFD\nA"));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
