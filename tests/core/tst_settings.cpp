// The settings store: "Zavlin.ini" beside the program, the sentence settings record, the INI rules.
#include "engine/VornixMisc.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/ProgramPath.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FTemp;
    QString Folder() const { return FTemp->path(); }
    QString IniPath() const { return ProgramFolder + QStringLiteral("Zavlin.ini"); }

private slots:
    void init()
    {
        CloseSettings();
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = Folder() + u'/';
        SentenceSetup = TSentenceSetupRec();
    }
    void cleanup() { CloseSettings(); }

    void programFolderIsTheExecutablesWithOneSlash()
    {
        const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        QCOMPARE(ExecutableFolder(), exe + u'/');
        QVERIFY(!ExecutableFolder().endsWith(QStringLiteral("//")));
    }

    void defaultsWithoutFile()
    {
        SentenceSetup.SpeedLimit = 1; // must be overwritten by the defaults
        SentenceSetup.FontName = QStringLiteral("x");
        LoadSentenceSetup();
        const TSentenceSetupRec& r = SentenceSetup;
        QCOMPARE(r.SpeedLimit, 150);
        QCOMPARE(r.UseSpeedLimit, false);
        QCOMPARE(r.UseSound, true);
        QCOMPARE(r.ShowWrongJohap, true);
        QCOMPARE(r.BackImage, QString());
        QCOMPARE(r.FontColor, clWindowText);
        QCOMPARE(r.FontSize, 22);
        QCOMPARE(r.FontName, QStringLiteral("굴림체"));
        QCOMPARE(r.FontBold, true);
        QCOMPARE(r.FontItalic, false);
        QCOMPARE(r.WrongMarkColor, clRed);
        QVERIFY(SettingsFile); // left open
        QVERIFY(!QFile::exists(IniPath()));
    }

    void saveWritesTheElevenKeysInOrder()
    {
        LoadSentenceSetup();
        SaveSentenceSetup();
        QCOMPARE(QString::fromUtf8(ReadAll(IniPath())), QStringLiteral("[SentenceSetup]\n"
                                                                       "SpeedLimit=150\n"
                                                                       "UseSpeedLimit=0\n"
                                                                       "UseSound=1\n"
                                                                       "ShowWrongJohap=1\n"
                                                                       "BackImage=\n"
                                                                       "FontColor=-16777208\n"
                                                                       "FontSize=22\n"
                                                                       "FontName=굴림체\n"
                                                                       "FontBold=1\n"
                                                                       "FontItalic=0\n"
                                                                       "WrongMarkColor=255\n"));
    }

    void koreanNamesAndLongPathsRoundTrip()
    {
        QString images;
        for (int i = 0; i < 10; ++i)
            images += QStringLiteral("1/home/사용자/사진/바탕 그림 모음/%1 아주 긴 이름의 배경 그림 파일입니다 %2.png|")
                          .arg(i)
                          .arg(QString(200, u'가'));
        QVERIFY(images.size() > 2047);
        SentenceSetup.FontName = QStringLiteral("나눔고딕코딩");
        SentenceSetup.BackImage = images;
        SentenceSetup.FontColor = RGB(1, 2, 3);
        SentenceSetup.UseSpeedLimit = true;
        SaveSentenceSetup();
        CloseSettings();
        SentenceSetup = TSentenceSetupRec();
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.FontName, QStringLiteral("나눔고딕코딩"));
        QCOMPARE(SentenceSetup.BackImage, images);
        QCOMPARE(SentenceSetup.FontColor, RGB(1, 2, 3));
        QCOMPARE(SentenceSetup.UseSpeedLimit, true);
    }

    void openTwiceKeepsTheFirstObject()
    {
        OpenSettings();
        TIniFile* first = SettingsFile.get();
        OpenSettings();
        QCOMPARE(SettingsFile.get(), first);
        CloseSettings();
        QVERIFY(!SettingsFile);
        CloseSettings(); // nothing open: nothing happens
    }

    void lenientReads_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("boolean");
        // Default number 7, default Boolean true.
        QTest::newRow("plain") << "42" << 42 << true;
        QTest::newRow("blanks around") << "  -5  " << -5 << true;
        QTest::newRow("zero is false") << "0" << 0 << false;
        QTest::newRow("any non-zero is true") << "2" << 2 << true;
        QTest::newRow("negative colour") << "-16777208" << -16777208 << true;
        QTest::newRow("hex with dollar") << "$FF" << 255 << true;
        QTest::newRow("hex bit pattern") << "$FF000008" << int(0xFF000008u) << true;
        QTest::newRow("not a number") << "abc" << 7 << true;
        QTest::newRow("word true is no number") << "true" << 7 << true;
        QTest::newRow("trailing junk") << "12px" << 7 << true;
        QTest::newRow("empty") << "" << 7 << true;
        QTest::newRow("beyond 32 bits") << "99999999999" << 7 << true;
        QTest::newRow("lowest") << "-2147483648" << int(-2147483647 - 1) << true;
    }
    void lenientReads()
    {
        QFETCH(QString, stored);
        QFETCH(int, number);
        QFETCH(bool, boolean);
        WriteAll(IniPath(), ("[s]\nk=" + stored + "\n").toUtf8());
        TIniFile ini(IniPath());
        QCOMPARE(ini.ReadInteger(QStringLiteral("s"), QStringLiteral("k"), 7), number);
        QCOMPARE(ini.ReadBool(QStringLiteral("s"), QStringLiteral("k"), true), boolean);
    }

    void namesMatchRegardlessOfAsciiCase()
    {
        WriteAll(IniPath(), "[sentencesetup]\nspeedlimit = 300 \n");
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.SpeedLimit, 300);
        SentenceSetup.SpeedLimit = 310;
        SaveSentenceSetup();
        const QString text = QString::fromUtf8(ReadAll(IniPath()));
        QVERIFY(text.startsWith(QStringLiteral("[sentencesetup]\nSpeedLimit=310\n")));
        QVERIFY(!text.contains(QStringLiteral("speedlimit")));
        QCOMPARE(text.count(QStringLiteral("\nSpeedLimit=")), 1);
    }

    void writesKeepUnknownSectionsKeysAndComments()
    {
        const QByteArray before = "; kept comment\r\n"
                                  "[mainform]\r\n"
                                  "width=900\r\n"
                                  "\r\n"
                                  "[SentenceSetup]\r\n"
                                  "; about the speed\r\n"
                                  "SpeedLimit=200\r\n"
                                  "Unknown=yes\r\n"
                                  "\r\n"
                                  "[Other]\r\n"
                                  "x=1\r\n";
        WriteAll(IniPath(), before);
        LoadSentenceSetup();
        SaveSentenceSetup();
        const QString after = QString::fromUtf8(ReadAll(IniPath()));
        QVERIFY2(after.startsWith(
                     QStringLiteral("; kept comment\r\n[mainform]\r\nwidth=900\r\n\r\n[SentenceSetup]\r\n"
                                    "; about the speed\r\nSpeedLimit=200\r\nUnknown=yes\r\nUseSpeedLimit=0\r\n")),
                 qPrintable(after));
        QVERIFY(after.endsWith(QStringLiteral("WrongMarkColor=255\r\n\r\n[Other]\r\nx=1\r\n")));
    }

    void lineBreaksAreRefusedAndNothingChanges()
    {
        TIniFile ini(IniPath());
        ini.WriteString(QStringLiteral("FileHistory"), QStringLiteral("a.txt"), QStringLiteral("3"));
        const QByteArray before = ReadAll(IniPath());
        const struct
        {
            QString Key, Value;
        } cases[] = {{QStringLiteral("a.txt"), QStringLiteral("3\n[x]")},
                     {QStringLiteral("b\r.txt"), QStringLiteral("1")},
                     {QStringLiteral("c=d"), QStringLiteral("1")}};
        for (const auto& c : cases) {
            try {
                ini.WriteString(QStringLiteral("FileHistory"), c.Key, c.Value);
                QFAIL("a line break or '=' was accepted");
            } catch (const Exception& e) {
                QVERIFY2(e.Message().contains(c.Key), qPrintable(e.Message()));
            }
        }
        QCOMPARE(ReadAll(IniPath()), before);
    }

    void refusedWriteRaisesAndKeepsEarlierKeys()
    {
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("keyboard"), QStringLiteral("Layout"), 2);
        TReadOnlyFolder readOnly(Folder());
        if (readOnly.Writable()) QSKIP("this file system lets the test's user write into a read-only folder");
        try {
            SaveSentenceSetup();
            QFAIL("a refused write was reported as success");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QStringLiteral("Unable to write to %1").arg(IniPath()));
        }
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("keyboard"), QStringLiteral("Layout"), 0), 2);
        QVERIFY(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size() == 1); // no temporary left
    }

    void unchangedWriteTouchesNothing()
    {
        // Closing a window with unchanged settings in a read-only folder must not raise.
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("mainform"), QStringLiteral("width"), 900);
        TReadOnlyFolder readOnly(Folder());
        SettingsFile->WriteInteger(QStringLiteral("mainform"), QStringLiteral("width"), 900);
    }

    void cp949FileFromAnOldInstallationIsRead()
    {
        WriteAll(IniPath(), QByteArray("[SentenceSetup]\r\nFontName=") + QByteArray::fromHex("b1bcb8b2c3bc") + "\r\n");
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.FontName, QStringLiteral("굴림체"));
    }

    void trimming_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("both sides") << "  a b  "
                                    << "a b  "
                                    << "  a b";
        QTest::newRow("all blanks") << "   "
                                    << ""
                                    << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("tab stays") << "\ta \t"
                                   << "\ta \t"
                                   << "\ta \t";
        QTest::newRow("korean") << " 한글 "
                                << "한글 "
                                << " 한글";
    }
    void trimming()
    {
        QFETCH(QString, input);
        QFETCH(QString, left);
        QFETCH(QString, right);
        QCOMPARE(TrimLeftSpaces(input), left);
        QCOMPARE(TrimRightSpaces(input), right);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
