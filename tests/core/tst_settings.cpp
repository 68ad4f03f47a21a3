// The settings store: "Zavlin.ini" beside the program, the sentence settings record, the INI rules.
#include "engine/VornixMisc.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

class TestSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FTemp;
    std::unique_ptr<QTemporaryDir> FData;
    QString Folder() const { return FTemp->path(); }
    QString IniPath() const { return ProgramFolder + QStringLiteral("Zavlin.ini"); }

private slots:
    void init()
    {
        CloseSettings();
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = Folder() + u'/';
        FData = std::make_unique<QTemporaryDir>();
        DataFolderOverride = FData->path() + QStringLiteral("/share/vornix/"); // made by the first save
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
        QTest::newRow("highest") << "2147483647" << 2147483647 << true;
        QTest::newRow("one above int") << "2147483648" << 7 << true;
        QTest::newRow("one below int") << "-2147483649" << 7 << true;
        QTest::newRow("lowest 64-bit") << "-9223372036854775808" << 7 << true;
        QTest::newRow("beyond 64 bits") << "18446744073709551616" << 7 << true;
        QTest::newRow("many leading zeros") << "000000000000000000000000042" << 42 << true;
        QTest::newRow("hex all bits") << "$FFFFFFFF" << -1 << true;
        QTest::newRow("hex beyond 32 bits") << "$100000000" << 7 << true;
        QTest::newRow("0x prefix") << "0x7fffffff" << 2147483647 << true;
        QTest::newRow("negative hex") << "-$10" << -16 << true;
        QTest::newRow("negative hex lowest") << "-$80000000" << int(-2147483647 - 1) << true;
        QTest::newRow("negative hex beyond") << "-$80000001" << 7 << true;
        QTest::newRow("prefix alone") << "0x" << 7 << true;
        QTest::newRow("sign alone") << "-" << 7 << true;
        QTest::newRow("plus sign") << "+8" << 8 << true;
        QTest::newRow("blank inside") << "1 2" << 7 << true;
        QTest::newRow("blank after sign") << "- 5" << 7 << true;
        QTest::newRow("two signs") << "--5" << 7 << true;
        QTest::newRow("tabs around") << "\t12\t" << 12 << true;
        QTest::newRow("full-width digits") << "１２" << 7 << true;
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

    void namesThatWouldBreakTheFileAreRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << "a.txt"
                                             << "3\n[x]";
        QTest::newRow("carriage return in key") << "b\r.txt"
                                                << "1";
        QTest::newRow("equals sign in key") << "c=d"
                                            << "1";
        // Read back as a section header, which would hide every key after it.
        QTest::newRow("key like a section") << "[x]y"
                                            << "1";
        QTest::newRow("key like a section after blanks") << "  [x"
                                                         << "1";
        QTest::newRow("key like a comment") << ";note"
                                            << "1";
        QTest::newRow("key like a hash comment") << "#note"
                                                 << "1";
    }
    void namesThatWouldBreakTheFileAreRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        TIniFile ini(IniPath());
        ini.WriteString(QStringLiteral("FileHistory"), QStringLiteral("a.txt"), QStringLiteral("3"));
        ini.UpdateFile();
        const QByteArray before = ReadAll(IniPath());
        try {
            ini.WriteString(QStringLiteral("FileHistory"), key, value);
            QFAIL("a name or value that breaks the file was accepted");
        } catch (const Exception& e) {
            QVERIFY2(e.Message().contains(key), qPrintable(e.Message()));
        }
        QVERIFY(!ini.Modified());
        ini.UpdateFile();
        QCOMPARE(ReadAll(IniPath()), before);
        QCOMPARE(ini.ReadSection(QStringLiteral("FileHistory")), QStringList{QStringLiteral("a.txt")});
    }

    void refusedSaveRaisesAndLeavesTheOldFile()
    {
        const QByteArray before = "[keyboard]\nLayout=1\n";
        WriteAll(IniPath(), before);
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("keyboard"), QStringLiteral("Layout"), 2);
        SaveSentenceSetup(); // inside a caller's open and close: saved when the caller closes
        QCOMPARE(ReadAll(IniPath()), before);
        {
            TFailingSaves readOnly(EACCES);
            try {
                CloseSettings();
                QFAIL("a refused save was reported as success");
            } catch (const Exception& e) {
                QCOMPARE(e.Message(),
                         QStringLiteral("Unable to write to %1\r%2").arg(IniPath(), qt_error_string(EACCES)));
            }
            QVERIFY(!SettingsFile);
            CloseSettings(); // a caller's error path closes again: nothing more happens
        }
        QCOMPARE(ReadAll(IniPath()), before);
        QCOMPARE(QDir(Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Zavlin.ini")});
    }

    // A real "Zavlin.ini" is smaller than a write buffer: the disk's refusal shows only when the bytes go out.
    void fullDiskRaisesAndLeavesTheOldFile()
    {
        TSmallDisk disk;
        if (!disk.Mounted()) QSKIP("mounting a small tmpfs needs root; interruptedSaveLeavesTheOldFile covers it");
        ProgramFolder = QFileInfo(disk.Path(QStringLiteral("Zavlin.ini"))).path() + u'/';
        LoadSentenceSetup();
        SaveSentenceSetup();
        CloseSettings();
        const QByteArray before = ReadAll(IniPath());
        QVERIFY(before.size() > 100);
        disk.Fill();
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("keyboard"), QStringLiteral("language"), 1);
        try {
            CloseSettings();
            QFAIL("a save onto a full disk was reported as success");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QStringLiteral("Unable to write to %1\r%2").arg(IniPath(), qt_error_string(ENOSPC)));
        }
        QCOMPARE(ReadAll(IniPath()), before);
        QCOMPARE(QDir(ProgramFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{QStringLiteral("Zavlin.ini"), QStringLiteral("filler")}));
    }

    // Where "Zavlin.ini" and "cscore.dat" are written and read from: beside the program while its folder takes
    // new files, else in the user's data folder, read from the old copy beside the program until there is one.
    void userFilesLiveWhereTheyCanBeWritten_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("own");
        QTest::addColumn<bool>("writtenBeside");
        QTest::addColumn<bool>("readBeside");
        QTest::newRow("writable folder") << false << false << true << true << true;
        QTest::newRow("read-only, no file") << true << false << false << false << false;
        QTest::newRow("read-only, an old file beside") << true << true << false << false << true;
        QTest::newRow("read-only, both") << true << true << true << false << false;
    }
    void userFilesLiveWhereTheyCanBeWritten()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, beside);
        QFETCH(bool, own);
        QFETCH(bool, writtenBeside);
        QFETCH(bool, readBeside);
        const QString name = QStringLiteral("cscore.dat");
        if (beside) WriteAll(ProgramFolder + name, "old");
        if (own) {
            QDir().mkpath(UserDataFolder());
            WriteAll(UserDataFolder() + name, "own");
        }
        std::unique_ptr<TReadOnlyFolder> locked;
        if (readOnly) {
            locked = std::make_unique<TReadOnlyFolder>(Folder());
            if (locked->Writable()) QSKIP("the folder cannot be made read-only here");
        }
        const TUserFile file = UserFile(name);
        QCOMPARE(file.Path, (writtenBeside ? ProgramFolder : UserDataFolder()) + name);
        QCOMPARE(file.ReadFrom, (readBeside ? ProgramFolder : UserDataFolder()) + name);
        QVERIFY(QDir(Folder()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral("probe")).isEmpty());
    }

    void aReadOnlyProgramFolderKeepsTheSettingsInTheDataFolder()
    {
        const QByteArray old = "[SentenceSetup]\nSpeedLimit=300\n";
        WriteAll(IniPath(), old);
        TReadOnlyFolder readOnly(Folder());
        if (readOnly.Writable()) QSKIP("the folder cannot be made read-only here");
        const QString own = UserDataFolder() + QStringLiteral("Zavlin.ini");
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.SpeedLimit, 300);       // the old settings are not lost
        QVERIFY(!QFileInfo::exists(UserDataFolder())); // nothing is made before the first save
        SentenceSetup.SpeedLimit = 200;
        SaveSentenceSetup();
        CloseSettings();
        QCOMPARE(ReadAll(IniPath()), old);
        QVERIFY(ReadAll(own).startsWith("[SentenceSetup]\nSpeedLimit=200\nUseSpeedLimit=0\n"));
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.SpeedLimit, 200);
        QCOMPARE(SettingsFile->FileName(), own);
    }

    void unchangedWriteTouchesNothing()
    {
        // Closing a window with unchanged settings in a read-only folder must not raise.
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("mainform"), QStringLiteral("width"), 900);
        CloseSettings();
        OpenSettings();
        TReadOnlyFolder readOnly(Folder());
        SettingsFile->WriteInteger(QStringLiteral("mainform"), QStringLiteral("width"), 900);
        QVERIFY(!SettingsFile->Modified());
        CloseSettings();
    }

    void theFileIsReadOncePerOpen()
    {
        WriteAll(IniPath(), "[mainform]\nwidth=900\n");
        OpenSettings();
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 900);
        WriteAll(IniPath(), "[mainform]\nwidth=1000\n");
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 900);
        CloseSettings();
        OpenSettings();
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 1000);
    }

    void writesReachTheDiskTogetherWhenTheSaveEnds()
    {
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("mainform"), QStringLiteral("width"), 1300);
        SaveSentenceSetup();
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 1300);
        QVERIFY(!QFile::exists(IniPath()));
        CloseSettings();
        TIniFile saved(IniPath());
        QCOMPARE(saved.ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 1300);
        QCOMPARE(saved.ReadSection(QStringLiteral("SentenceSetup")).size(), 11);

        // On its own (the sentence setup dialog after LoadSentenceSetup) the save is at once.
        SentenceSetup.SpeedLimit = 320;
        LoadSentenceSetup();
        SentenceSetup.SpeedLimit = 330;
        SaveSentenceSetup();
        QVERIFY(SettingsFile);
        QCOMPARE(TIniFile(IniPath()).ReadInteger(QStringLiteral("SentenceSetup"), QStringLiteral("SpeedLimit"), 0),
                 330);
    }

    void interruptedSaveLeavesTheOldFile_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("temporary file opened") << int(TIniFile::TSaveStep::Opened);
        QTest::newRow("temporary file written") << int(TIniFile::TSaveStep::Written);
        QTest::newRow("flushed to the disk") << int(TIniFile::TSaveStep::Flushed);
        QTest::newRow("before the rename") << int(TIniFile::TSaveStep::Committing);
    }
    void interruptedSaveLeavesTheOldFile()
    {
        QFETCH(int, step);
        LoadSentenceSetup();
        SaveSentenceSetup();
        const QByteArray before = ReadAll(IniPath());
        int calls = 0;
        TIniFile::SetSaveHook([&](TIniFile::TSaveStep s) {
            ++calls;
            return int(s) != step;
        });
        SentenceSetup.SpeedLimit = 400;
        SentenceSetup.FontName = QStringLiteral("나눔명조");
        SentenceSetup.WrongMarkColor = clBlue;
        try {
            SaveSentenceSetup();
            TIniFile::SetSaveHook({});
            QFAIL("a failed save was reported as success");
        } catch (const Exception& e) {
            TIniFile::SetSaveHook({});
            QCOMPARE(e.Message(), QStringLiteral("Unable to write to %1\r%2").arg(IniPath(), qt_error_string(ENOSPC)));
        }
        QCOMPARE(calls, step + 1);
        QCOMPARE(ReadAll(IniPath()), before);
        QCOMPARE(QDir(Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Zavlin.ini")});
        // The writes are still pending: the next save takes them.
        CloseSettings();
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.SpeedLimit, 400);
        QCOMPARE(SentenceSetup.FontName, QStringLiteral("나눔명조"));
        QCOMPARE(SentenceSetup.WrongMarkColor, clBlue);
    }

    void killedSavesLeaveTheOldOrTheNewRecord()
    {
        // A child saves two records in turn and is killed at a random moment; the file always holds one
        // whole record, never a mix.
        const auto record = [](int n) {
            TSentenceSetupRec r;
            r.SpeedLimit = 100 * n;
            r.UseSpeedLimit = n % 2;
            r.BackImage = QStringLiteral("1/그림/%1.png").arg(n);
            r.FontSize = 10 + n;
            r.FontName = QStringLiteral("글꼴%1").arg(n);
            r.WrongMarkColor = RGB(n, n, n);
            return r;
        };
        SentenceSetup = record(0);
        SaveSentenceSetup();
        CloseSettings();
        std::mt19937 random(20261210);
        for (int round = 0; round < 25; ++round) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                try {
                    for (int n = 1;; n = 3 - n) {
                        SentenceSetup = record(n);
                        SaveSentenceSetup();
                    }
                } catch (...) {
                }
                _exit(1);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            QVERIFY(WIFSIGNALED(status));
            LoadSentenceSetup();
            CloseSettings();
            const TSentenceSetupRec& r = SentenceSetup;
            const int n = r.SpeedLimit / 100;
            QVERIFY2(n >= 0 && n <= 2, qPrintable(QString::number(r.SpeedLimit)));
            const TSentenceSetupRec e = record(n);
            QCOMPARE(r.UseSpeedLimit, e.UseSpeedLimit);
            QCOMPARE(r.BackImage, e.BackImage);
            QCOMPARE(r.FontSize, e.FontSize);
            QCOMPARE(r.FontName, e.FontName);
            QCOMPARE(r.WrongMarkColor, e.WrongMarkColor);
        }
    }

    void leftoverTemporariesGoAtTheNextSave()
    {
        // Left by saves killed between linking the temporary file and the rename.
        const QStringList leftovers = {QStringLiteral("Zavlin.ini.guTPnc"), QStringLiteral("Zavlin.ini.KabYAx")};
        const QStringList kept = {QStringLiteral("Zavlin.ini"), QStringLiteral("Zavlin.ini.Backup"),
                                  QStringLiteral("Zavlin.ini.backup"), QStringLiteral("Zavlin.ini.old"),
                                  QStringLiteral("Zavlin.ini.bak123")};
        for (const QString& name : leftovers + kept)
            WriteAll(Folder() + u'/' + name, "[SentenceSetup]\nSpeedLimit=1");
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("SentenceSetup"), QStringLiteral("SpeedLimit"), 1);
        CloseSettings(); // nothing changed: no save, nothing touched
        QCOMPARE(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), leftovers.size() + kept.size());
        LoadSentenceSetup();
        SaveSentenceSetup();
        QStringList expected = kept;
        expected.sort();
        QCOMPARE(QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    }

    void linesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("expected"); // after FontSize=30 is written
        QTest::addColumn<bool>("korean");         // FontName and BackImage are there to read
        const QString text = QStringLiteral("; 설정\n[SentenceSetup]\nFontName=굴림체\nFontSize=22\n"
                                            "BackImage=1/home/사용자/그림.png\n\n[Other]\nx=1\n");
        QString after = text;
        after.replace(QStringLiteral("FontSize=22"), QStringLiteral("FontSize=30"));
        const auto utf16 = [](const QString& t, bool little) {
            QByteArray out = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
            for (QChar c : t) {
                const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
                out.append(little ? lo : hi).append(little ? hi : lo);
            }
            return out;
        };
        QTest::newRow("UTF-8") << text.toUtf8() << after.toUtf8() << true;
        const QByteArray ansiComment = ToAnsi(QStringLiteral("; 메모장에서 고친 줄\r\n"));
        QTest::newRow("UTF-8 with a CP949 comment")
            << ansiComment + text.toUtf8() << ansiComment + after.toUtf8() << true;
        QString crlf = text;
        crlf.replace(u'\n', QStringLiteral("\r\n"));
        QByteArray ansi = ToAnsi(crlf);
        QTest::newRow("CP949 with CR LF") << ansi << ansi.replace("FontSize=22", "FontSize=30") << true;
        QTest::newRow("UTF-16LE") << utf16(text, true) << utf16(after, true) << true;
        QTest::newRow("UTF-16BE") << utf16(text, false) << utf16(after, false) << true;
        const QString lone = QStringLiteral("; ") + QChar(0xD800) + QStringLiteral("\n");
        QTest::newRow("UTF-16LE with an unpaired surrogate")
            << utf16(lone + text, true) << utf16(lone + after, true) << true;
        std::mt19937 random(7);
        QByteArray junk;
        while (junk.size() < 4096) {
            const char c = char(random() & 0xFF);
            if (c != '\r' && c != '[') junk += c;
        }
        junk += "x\n";
        QTest::newRow("random bytes") << junk << junk + "\n[SentenceSetup]\nFontSize=30\n" << false;
        QTest::newRow("empty") << QByteArray() << QByteArray("[SentenceSetup]\nFontSize=30\n") << false;
        QTest::newRow("byte-order mark only")
            << QByteArray("\xEF\xBB\xBF") << QByteArray("\xEF\xBB\xBF[SentenceSetup]\nFontSize=30\n") << false;
        QTest::newRow("last line without a break")
            << QByteArray("[Other]\nx=1") << QByteArray("[Other]\nx=1\n\n[SentenceSetup]\nFontSize=30\n") << false;
    }
    void linesKeepTheirBytes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        QFETCH(bool, korean);
        WriteAll(IniPath(), file);
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("SentenceSetup"), QStringLiteral("FontSize"), 30);
        CloseSettings();
        QCOMPARE(ReadAll(IniPath()), expected);
        LoadSentenceSetup();
        QCOMPARE(SentenceSetup.FontSize, 30);
        if (korean) {
            QCOMPARE(SentenceSetup.FontName, QStringLiteral("굴림체"));
            QCOMPARE(SentenceSetup.BackImage, QStringLiteral("1/home/사용자/그림.png"));
        }
    }

    // A UTF-16 file with a byte too many: new lines go before that byte, so they read back, and the byte stays.
    void utf16FileWithAnOddByteCountTakesNewSections_data()
    {
        QTest::addColumn<bool>("little");
        QTest::newRow("UTF-16LE") << true;
        QTest::newRow("UTF-16BE") << false;
    }
    void utf16FileWithAnOddByteCountTakesNewSections()
    {
        QFETCH(bool, little);
        QByteArray file = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (QChar c : QStringLiteral("[keyboard]\r\nlanguage=1\r\nposition=3\r\n")) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            file.append(little ? lo : hi).append(little ? hi : lo);
        }
        file += '\x0d';
        QCOMPARE(file.size(), 75);
        WriteAll(IniPath(), file);
        OpenSettings();
        SettingsFile->WriteInteger(QStringLiteral("clock"), QStringLiteral("level"), 8);
        CloseSettings();
        const QByteArray saved = ReadAll(IniPath());
        QVERIFY(saved.startsWith(file.left(74)));
        QVERIFY(saved.endsWith('\x0d'));
        QCOMPARE(saved.size() % 2, 1);
        OpenSettings();
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("clock"), QStringLiteral("level"), 1), 8);
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("keyboard"), QStringLiteral("position"), 0), 3);
        // Found again, so the next save changes the key in place instead of adding another section.
        SettingsFile->WriteInteger(QStringLiteral("clock"), QStringLiteral("level"), 5);
        CloseSettings();
        QCOMPARE(ReadAll(IniPath()).size(), saved.size());
        OpenSettings();
        QCOMPARE(SettingsFile->ReadInteger(QStringLiteral("clock"), QStringLiteral("level"), 1), 5);
        QCOMPARE(SettingsFile->ReadSection(QStringLiteral("clock")), QStringList{QStringLiteral("level")});
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
