// The keyboard setup's choices as kept in "Zavlin.ini", read and written without a window.
#include "platform/IniFile.h"
#include "screens/KeyboardChoices.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestKeyboardChoices : public QObject
{
    Q_OBJECT

private slots:
    void storedChoicesAreRead_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("speakerOff");
        QTest::addColumn<bool>("keyGuideOff");
        QTest::newRow("first run") << QByteArray() << 0 << 0 << true << false;
        QTest::newRow("all stored") << QByteArray("[keyboard]\nlanguage=3\nposition=13\nspeaker off=0\n"
                                                  "[keyguide]\noff=1\n")
                                    << 3 << 13 << false << true;
        QTest::newRow("names in another case")
            << QByteArray("[KEYBOARD]\nLanguage=2\nPOSITION=10\n") << 2 << 10 << true << false;
        QTest::newRow("language past the layouts")
            << QByteArray("[keyboard]\nlanguage=4\nposition=2\n") << 0 << 2 << true << false;
        QTest::newRow("language -1") << QByteArray("[keyboard]\nlanguage=-1\n") << 0 << 0 << true << false;
        QTest::newRow("position past the boxes") << QByteArray("[keyboard]\nposition=15\n") << 0 << -1 << true << false;
        QTest::newRow("position -1") << QByteArray("[keyboard]\nposition=-1\n") << 0 << -1 << true << false;
        QTest::newRow("not a number") << QByteArray("[keyboard]\nlanguage=x\nposition=y\nspeaker off=z\n") << 0 << 0
                                      << true << false;
    }
    void storedChoicesAreRead()
    {
        QFETCH(QByteArray, ini);
        QTemporaryDir dir;
        const QString path = ini.isNull() ? dir.filePath(QStringLiteral("Zavlin.ini")) : WriteIniFixture(dir, ini);
        const TIniFile file(path);
        const TKeyboardChoices c = ReadKeyboardChoices(file);
        QTEST(c.Language, "language");
        QTEST(c.Position ? int(*c.Position) : -1, "position");
        QTEST(c.SpeakerOff, "speakerOff");
        QTEST(c.KeyGuideOff, "keyGuideOff");
    }

    void choicesAreWrittenBesideOtherLinesAndReadBack()
    {
        QTemporaryDir dir;
        const QString path = WriteIniFixture(dir, "; mine\n[keyboard]\nlanguage=0\nother=x\n");
        {
            TIniFile file(path);
            WriteKeyboardChoices(file, TKeyboardChoices{2, KeyArray::TPracticePosition::FinalShiftRow1, false, true});
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("; mine\n[keyboard]\nlanguage=2\nother=x\nposition=11\nspeaker off=0\n\n"
                                         "[keyguide]\noff=1\n"));
        const TIniFile again(path);
        const TKeyboardChoices c = ReadKeyboardChoices(again);
        QCOMPARE(c.Language, 2);
        QVERIFY(c.Position == KeyArray::TPracticePosition::FinalShiftRow1);
        QCOMPARE(c.SpeakerOff, false);
        QCOMPARE(c.KeyGuideOff, true);
    }
};

QTEST_GUILESS_MAIN(TestKeyboardChoices)
#include "tst_keyboardchoices.moc"
