// The score file: record bytes, damaged files, ranks and the way a finished game enters the list.
#include "game/HighScores.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QDateTime When(QDate(2009, 3, 7), QTime(14, 5, 9));

// One record written by hand: "김철수", 1234, level 3, a Korean game, each field scrambled with a key
// rising from 0 and stored in CP949.
const QByteArray KimRecord =
    QByteArray::fromHex("06b1e8ab4a99f8000000000000000000000000000004313331370000000000000000000000"
                        "143231323a2935352a383e2a2b3d39343f252b222a00000000000000000000000000000000"
                        "00000000013304c7d1b1dc000000000000");

TScoreRec Entry(const QString& name, int score, int level = 1, const QString& language = QStringLiteral("영어"))
{
    TScoreRec r;
    r.name = name;
    r.score = score;
    r.DateTime = ScoreDateTimeText(When);
    r.Level = uint16_t(level);
    r.GameLanguage = language;
    return r;
}

QByteArray FileOf(const QList<int>& scores)
{
    QByteArray bytes;
    for (int i = 0; i < scores.size(); ++i)
        bytes += EncodeScoreRecord(Entry(QStringLiteral("p%1").arg(i), scores[i]));
    return bytes;
}

QList<int> ScoresOf(const TScoreList& list)
{
    QList<int> out;
    for (const TScoreRec& r : list)
        out << r.score;
    return out;
}

QList<int> RanksOf(const TScoreList& list)
{
    QList<int> out;
    for (const TScoreRec& r : list)
        out << r.rank;
    return out;
}

QList<int> Range(int from, int step, int count)
{
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out << from + i * step;
    return out;
}

} // namespace

class TestHighScores : public QObject
{
    Q_OBJECT

private slots:
    void scramblingXorsARisingKey_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("scrambled");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("digits") << QStringLiteral("1234") << QStringLiteral("1317");
        QTest::newRow("hangul") << QStringLiteral("한글") << QStringLiteral("한긁");
    }
    void scramblingXorsARisingKey()
    {
        QFETCH(QString, plain);
        QFETCH(QString, scrambled);
        QCOMPARE(ScrambleScoreText(plain), scrambled);
        QCOMPARE(UnscrambleScoreText(scrambled), plain);
    }

    void recordBytesAsStored()
    {
        TScoreRec kim = Entry(QStringLiteral("김철수"), 1234, 3, QStringLiteral("한글"));
        kim.rank = 7;
        kim.You = true;
        QCOMPARE(EncodeScoreRecord(kim).toHex(), KimRecord.toHex());

        TScoreRec back;
        QCOMPARE(DecodeScoreRecord(KimRecord, back), QString());
        QCOMPARE(back.name, QStringLiteral("김철수"));
        QCOMPARE(back.score, 1234);
        QCOMPARE(back.DateTime, QStringLiteral("2009-03-07  14:05:09"));
        QCOMPARE(back.Level, uint16_t(3));
        QCOMPARE(back.GameLanguage, QStringLiteral("한글"));
        QCOMPARE(back.rank, 0);
        QCOMPARE(back.You, false);
    }

    void fieldsAtTheirLimitsRoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("nameBack");
        QTest::newRow("empty name") << QString() << 1 << 1 << QStringLiteral("영어") << QString();
        QTest::newRow("20 latin bytes") << QStringLiteral("abcdefghijklmnopqrst") << 0 << 9 << QStringLiteral("한글")
                                        << QStringLiteral("abcdefghijklmnopqrst");
        QTest::newRow("21 latin bytes cut") << QStringLiteral("abcdefghijklmnopqrstu") << 5 << 8
                                            << QStringLiteral("영어") << QStringLiteral("abcdefghijklmnopqrst");
        QTest::newRow("ten syllables") << QStringLiteral("가나다라마바사아자차") << 2147483647 << 2
                                       << QStringLiteral("한글") << QStringLiteral("가나다라마바사아자차");
        QTest::newRow("eleven syllables cut to ten")
            << QStringLiteral("가나다라마바사아자차카") << 77 << 4 << QStringLiteral("한글")
            << QStringLiteral("가나다라마바사아자차");
        QTest::newRow("cut never splits a syllable") << QStringLiteral("a가나다라마바사아자차") << -2147483647 - 1 << 1
                                                     << QStringLiteral("영어") << QStringLiteral("a가나다라마바사아자");
        QTest::newRow("blanks and symbols")
            << QStringLiteral(" a-b:c ") << 42 << 3 << QStringLiteral("영어") << QStringLiteral(" a-b:c ");
    }
    void fieldsAtTheirLimitsRoundTrip()
    {
        QFETCH(QString, name);
        QFETCH(int, score);
        QFETCH(int, level);
        QFETCH(QString, language);
        QFETCH(QString, nameBack);
        const QByteArray bytes = EncodeScoreRecord(Entry(name, score, level, language));
        QCOMPARE(bytes.size(), 91);
        QVERIFY(uint8_t(bytes[0]) <= 20);
        TScoreRec back;
        QCOMPARE(DecodeScoreRecord(bytes, back), QString());
        QCOMPARE(back.name, nameBack);
        QCOMPARE(back.score, score);
        QCOMPARE(back.Level, uint16_t(level));
        QCOMPARE(back.GameLanguage, language);
        QCOMPARE(back.DateTime, QStringLiteral("2009-03-07  14:05:09"));
    }

    // What the list shows for a new name is what the file gives back.
    void nameStoredAsShown_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lone letters") << QStringLiteral("ㅋㄱ") << QStringLiteral("ㅋ?");
        QTest::newRow("hanja kept") << QStringLiteral("李明") << QStringLiteral("李明");
        QTest::newRow("hanja lost") << QStringLiteral("金英國") << QStringLiteral("金??");
        QTest::newRow("last syllables late") << QStringLiteral("힣힣힣힣힣") << QStringLiteral("힣힣힣힣?");
        QTest::newRow("beyond the code page") << QStringLiteral("a😀b") << QStringLiteral("a?b");
        QTest::newRow("no code at all") << QStringLiteral("Zoë") << QStringLiteral("Zo?");
    }
    void nameStoredAsShown()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        THighScores scores(dir.filePath(QStringLiteral("cscore.dat")));
        scores.AddHighScore(typed, 10, 1, false, When);
        QCOMPARE(scores.List().first().name, shown);
        QVERIFY(scores.SaveScore());
        THighScores again(scores.FileName());
        QVERIFY(again.ReadScore());
        QCOMPARE(again.List().first().name, shown);
    }

    void readFromAnOldFileSavedToANewFolder()
    {
        // An installed copy reads the list it found beside the program and saves into the user's data folder.
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("cscore.dat"));
        WriteAll(old, KimRecord);
        const QString own = dir.filePath(QStringLiteral("share/vornix/cscore.dat"));
        THighScores scores(own, old);
        QVERIFY(scores.ReadScore());
        QCOMPARE(scores.List().size(), 1);
        scores.AddHighScore(QStringLiteral("Lee"), 2000, 2, true, When);
        QVERIFY2(scores.SaveScore(), qPrintable(scores.Error()));
        QCOMPARE(ReadAll(old), KimRecord);
        THighScores again(own);
        QVERIFY(again.ReadScore());
        QCOMPARE(again.List().size(), 2);
        QCOMPARE(again.List().first().name, QStringLiteral("Lee"));
    }

    void lengthByteBeyondItsFieldIsClamped()
    {
        QByteArray bytes = EncodeScoreRecord(Entry(QStringLiteral("abcdefghijklmnopqrst"), 99));
        bytes[0] = char(0xFF); // would reach into the score field
        bytes[78] = char(9);   // the level's one digit
        TScoreRec back;
        QCOMPARE(DecodeScoreRecord(bytes, back), QString());
        QCOMPARE(back.name, QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(back.score, 99);
        QCOMPARE(back.Level, uint16_t(1));
    }

    void fieldThatIsNoNumberDamagesTheFile_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("what");
        QTest::newRow("letters in the score") << 21
                                              << QByteArray("\x02"
                                                            "ab")
                                              << QStringLiteral("점수");
        QTest::newRow("empty score") << 21 << QByteArray("\x00", 1) << QStringLiteral("점수");
        QTest::newRow("score too large") << 21
                                         << QByteArray("\x0b"
                                                       "98765432109")
                                         << QStringLiteral("점수");
        QTest::newRow("letter as level") << 78
                                         << QByteArray("\x01"
                                                       "x")
                                         << QStringLiteral("단계");
    }
    void fieldThatIsNoNumberDamagesTheFile()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, field);
        QFETCH(QString, what);
        QByteArray bad = EncodeScoreRecord(Entry(QStringLiteral("bad"), 50));
        bad.replace(offset, field.size(), field);
        const QByteArray bytes = FileOf({300}) + bad + FileOf({100});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        WriteAll(path, bytes);

        THighScores scores(path);
        QVERIFY(!scores.ReadScore());
        QVERIFY(!scores.Readable());
        QVERIFY2(scores.Error().contains(path) && scores.Error().contains(QStringLiteral("2번째")) &&
                     scores.Error().contains(what),
                 qPrintable(scores.Error()));
        QCOMPARE(ScoresOf(scores.List()), (QList<int>{300, 100}));

        // A damaged file is never overwritten, not even by a game that would enter it.
        bool asked = false;
        const TScoreEntry entry = EnterScore(
            scores, 500, 2, true,
            [&](QString& name) {
                asked = true;
                name = QStringLiteral("x");
                return true;
            },
            [] { return When; });
        QVERIFY(!asked);
        QVERIFY(!entry.added);
        QVERIFY(!scores.SaveScore());
        QCOMPARE(ReadAll(path), bytes);
    }

    void garbageFileGivesAShortMessage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        WriteAll(path, QByteArray(10 * 91, 'x'));
        THighScores scores(path);
        QVERIFY(!scores.ReadScore());
        QVERIFY(scores.List().isEmpty());
        const QString error = scores.Error();
        QVERIFY2(error.contains(QStringLiteral("3번째")) && !error.contains(QStringLiteral("4번째")) &&
                     error.contains(QStringLiteral("7개")),
                 qPrintable(error));
    }

    void cutOffLastRecordIsReportedAndTheFileKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        const QByteArray bytes = FileOf({100, 300}) + FileOf({200}).left(50);
        WriteAll(path, bytes);
        THighScores scores(path);
        QVERIFY(!scores.ReadScore());
        QCOMPARE(ScoresOf(scores.List()), (QList<int>{300, 100}));
        QVERIFY2(scores.Error().contains(path) && scores.Error().contains(QStringLiteral("3번째 기록")) &&
                     scores.Error().contains(QStringLiteral("50바이트")),
                 qPrintable(scores.Error()));
        QVERIFY(!scores.SaveScore());
        QCOMPARE(ReadAll(path), bytes);
    }

    void damagedFileMessageShowsNoRawBytesAndSaysWhatToDo()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        QByteArray record = KimRecord;
        record[21] = 3; // score: a bell, an escape and a byte that is no CP949
        record[22] = '\x07';
        record[23] = '\x1b';
        record[24] = '\xff';
        WriteAll(path, record);
        THighScores scores(path);
        QVERIFY(!scores.ReadScore());
        const QString error = scores.Error();
        QVERIFY2(error.contains(path) && error.contains(QStringLiteral("이름을 바꾸")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("\\u0007")), qPrintable(error));
        for (const QChar c : error)
            QVERIFY2(c == u'\r' || (c.isPrint() && c != QChar::ReplacementCharacter), qPrintable(error));
    }

    // A record whose date does not decode still counts, and goes back to the file byte for byte.
    void recordsReadAreWrittenBackAsTheyWere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        QByteArray record = KimRecord;
        record[40] = '\xff'; // inside the date's text: no CP949 character
        QCOMPARE(record.size(), 91);
        WriteAll(path, record);
        THighScores scores(path);
        QVERIFY(scores.ReadScore());
        QCOMPARE(scores.List().size(), 1);
        scores.AddHighScore(QStringLiteral("new"), 5000, 2, true, When);
        QVERIFY(scores.SaveScore());
        const QByteArray saved = ReadAll(path);
        QCOMPARE(saved.size(), 2 * 91);
        QCOMPARE(saved.mid(91), record); // 5000 ranks first
    }

    void tooLargeFileIsRefusedWithoutReadingIt_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("readable");
        QTest::newRow("a full list of equal scores") << ScoreFile::MaxFileBytes << true;
        QTest::newRow("one record more") << ScoreFile::MaxFileBytes + 91 << false;
        QTest::newRow("100 MB") << qint64(100) * 1024 * 1024 << false;
    }
    void tooLargeFileIsRefusedWithoutReadingIt()
    {
        QFETCH(qint64, size);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray record = FileOf({7});
            if (readable) {
                for (qint64 at = 0; at < size; at += 91)
                    file.write(record);
            } else {
                QVERIFY(file.resize(size)); // sparse: zeros, as garbage
            }
        }
        THighScores scores(path);
        QCOMPARE(scores.ReadScore(), readable);
        if (readable) {
            QCOMPARE(scores.List().size(), int(size / 91));
            return;
        }
        QVERIFY(scores.List().isEmpty());
        QVERIFY2(scores.Error().contains(path) && scores.Error().contains(QStringLiteral("너무 큽니다")) &&
                     scores.Error().contains(QStringLiteral("이름을 바꾸")),
                 qPrintable(scores.Error()));
        scores.AddHighScore(QStringLiteral("x"), 5, 1, true, When);
        QVERIFY(!scores.SaveScore());
        QCOMPARE(QFileInfo(path).size(), size);
    }

    void fifoIsNotWaitedFor()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        THighScores scores(path);
        QVERIFY(!scores.ReadScore()); // returns: nothing writes into the FIFO
        QVERIFY2(scores.Error().contains(path), qPrintable(scores.Error()));
        scores.AddHighScore(QStringLiteral("x"), 5, 1, true, When);
        QVERIFY(!scores.SaveScore());
    }

    void missingFileIsAnEmptyList()
    {
        QTemporaryDir dir;
        THighScores scores(dir.filePath(QStringLiteral("cscore.dat")));
        QVERIFY(scores.ReadScore());
        QVERIFY(scores.List().isEmpty());
        QVERIFY(scores.SaveScore()); // nothing to write
        QVERIFY(!QFile::exists(scores.FileName()));
    }

    void unreadableFileIsReportedAndKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        QVERIFY(QDir().mkdir(path)); // a folder where the file should be
        THighScores scores(path);
        QVERIFY(!scores.ReadScore());
        QVERIFY2(scores.Error().contains(path), qPrintable(scores.Error()));
        scores.AddHighScore(QStringLiteral("x"), 5, 1, true, When);
        QVERIFY(!scores.SaveScore());
        QVERIFY(QFileInfo(path).isDir());
    }

    void failedSaveLeavesTheOldFileWhole_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("error");
        QTest::newRow("read-only folder") << int(TSaveStep::Opened) << EACCES;
        QTest::newRow("full disk while writing") << int(TSaveStep::Written) << ENOSPC;
        QTest::newRow("full disk at the flush") << int(TSaveStep::Flushed) << ENOSPC;
        QTest::newRow("killed before the rename") << int(TSaveStep::Committing) << EIO;
    }
    void failedSaveLeavesTheOldFileWhole()
    {
        QFETCH(int, step);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        const QByteArray old = FileOf({10, 20});
        WriteAll(path, old);
        THighScores scores(path);
        QVERIFY(scores.ReadScore());
        scores.AddHighScore(QStringLiteral("new"), 30, 1, true, When);
        {
            TFailingSaves failing(error, TSaveStep(step));
            QVERIFY(!scores.SaveScore());
        }
        QVERIFY2(scores.Error().contains(path) && scores.Error().contains(qt_error_string(error)),
                 qPrintable(scores.Error()));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("cscore.dat")});
        QVERIFY(scores.SaveScore()); // the next save, with room again, takes the new entry
        QCOMPARE(ReadAll(path).size(), 3 * 91);
    }

    void fullDiskLeavesTheOldFileWhole()
    {
        TSmallDisk disk;
        if (!disk.Mounted()) QSKIP("mounting a small tmpfs needs root; failedSaveLeavesTheOldFileWhole covers it");
        const QString path = disk.Path(QStringLiteral("cscore.dat"));
        const QByteArray old = FileOf(Range(2000, -10, 20));
        WriteAll(path, old);
        THighScores scores(path);
        QVERIFY(scores.ReadScore());
        scores.AddHighScore(QStringLiteral("new"), 5000, 1, true, When);
        disk.Fill();
        QVERIFY(!scores.SaveScore());
        QVERIFY2(scores.Error().contains(qt_error_string(ENOSPC)), qPrintable(scores.Error()));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("cscore.dat"), QStringLiteral("filler")}));
    }

    void denseRanks_data()
    {
        QTest::addColumn<QList<int>>("scores");
        QTest::addColumn<QList<int>>("sorted");
        QTest::addColumn<QList<int>>("ranks");
        QTest::newRow("ties share a rank")
            << QList<int>{300, 400, 500, 400} << QList<int>{500, 400, 400, 300} << QList<int>{1, 2, 2, 3};
        QTest::newRow("all equal") << QList<int>{7, 7, 7} << QList<int>{7, 7, 7} << QList<int>{1, 1, 1};
        QTest::newRow("one") << QList<int>{0} << QList<int>{0} << QList<int>{1};
        QTest::newRow("negative last") << QList<int>{-5, 0, 5} << QList<int>{5, 0, -5} << QList<int>{1, 2, 3};
    }
    void denseRanks()
    {
        QFETCH(QList<int>, scores);
        QFETCH(QList<int>, sorted);
        QFETCH(QList<int>, ranks);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        WriteAll(path, FileOf(scores));
        THighScores list(path);
        QVERIFY(list.ReadScore());
        QCOMPARE(ScoresOf(list.List()), sorted);
        QCOMPARE(RanksOf(list.List()), ranks);
    }

    // The end of a game against a list on file: whether the name is asked, what stays, where the
    // player's entry lands.
    void gameEntersTheList_data()
    {
        QTest::addColumn<QList<int>>("onFile");
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<int>("youRank");

        const QList<int> twenty = Range(2000, -100, 20); // 2000 .. 100, ranks 1 .. 20
        QTest::newRow("first game") << QList<int>{} << 10 << true << true << QList<int>{10} << 1;
        QTest::newRow("score 0") << QList<int>{50} << 0 << true << false << QList<int>{50} << 0;
        QTest::newRow("score 0, no file") << QList<int>{} << 0 << true << false << QList<int>{} << 0;
        QTest::newRow("below a full list") << twenty << 50 << true << false << twenty << 0;
        QTest::newRow("equal to rank 20 joins it") << twenty << 100 << true << true << (twenty + QList<int>{100}) << 20;
        QTest::newRow("above rank 20 pushes it out")
            << twenty << 150 << true << true << (twenty.mid(0, 19) + QList<int>{150}) << 20;
        QTest::newRow("new best") << twenty << 5000 << true << true << (QList<int>{5000} + twenty.mid(0, 19)) << 1;
        QTest::newRow("rank 19 list takes anything")
            << Range(1900, -100, 19) << 1 << true << true << (Range(1900, -100, 19) + QList<int>{1}) << 20;
        QList<int> tiedAtTwenty = Range(2000, -100, 19) + QList<int>{50, 50, 50};
        QTest::newRow("three tied at rank 20 pushed out by one above")
            << tiedAtTwenty << 60 << true << true << (Range(2000, -100, 19) + QList<int>{60}) << 20;
        QTest::newRow("tied at rank 20 joined")
            << tiedAtTwenty << 50 << true << true << (tiedAtTwenty + QList<int>{50}) << 20;
        const QList<int> equal25(25, 500);
        QTest::newRow("25 equal, lower") << equal25 << 400 << true << true << (equal25 + QList<int>{400}) << 2;
        QTest::newRow("25 equal, same") << equal25 << 500 << true << true << (equal25 + QList<int>{500}) << 1;
        QTest::newRow("cancel keeps the list") << QList<int>{30, 20} << 25 << false << true << QList<int>{30, 20} << 0;
        QTest::newRow("cancel with ranks beyond 20 drops them")
            << Range(2200, -100, 22) << 2500 << false << true << Range(2200, -100, 20) << 0;
        QTest::newRow("too low with ranks beyond 20 drops them")
            << Range(2200, -100, 22) << 10 << true << false << Range(2200, -100, 20) << 0;
    }
    void gameEntersTheList()
    {
        QFETCH(QList<int>, onFile);
        QFETCH(int, score);
        QFETCH(bool, confirm);
        QFETCH(bool, asked);
        QFETCH(QList<int>, after);
        QFETCH(int, youRank);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cscore.dat"));
        if (!onFile.isEmpty()) WriteAll(path, FileOf(onFile));

        THighScores scores(path);
        QVERIFY(scores.ReadScore());
        bool wasAsked = false;
        const TScoreEntry entry = EnterScore(
            scores, score, 9, true,
            [&](QString& name) {
                wasAsked = true;
                name = QStringLiteral("나");
                return confirm;
            },
            [] { return When; });
        QCOMPARE(wasAsked, asked);
        QCOMPARE(entry.asked, asked);
        QVERIFY(!entry.saveFailed);

        QCOMPARE(ScoresOf(scores.List()), after);
        const int you = scores.SelectYouEntry();
        QCOMPARE(you >= 0 ? scores.List()[you].rank : 0, youRank);
        if (you >= 0) QCOMPARE(scores.List()[you].name, QStringLiteral("나"));

        // The file holds the list as shown.
        THighScores reread(path);
        QVERIFY(reread.ReadScore());
        QCOMPARE(ScoresOf(reread.List()), after);
        QCOMPARE(ReadAll(path).size(), after.size() * 91);
    }

    void newEntryIsTheOnlyPlayersOwn()
    {
        QTemporaryDir dir;
        THighScores scores(dir.filePath(QStringLiteral("cscore.dat")));
        QVERIFY(scores.ReadScore());
        auto answer = [](QString& name) {
            name = QStringLiteral("Lee");
            return true;
        };
        EnterScore(scores, 100, 3, false, answer, [] { return When; });
        EnterScore(scores, 300, 5, true, answer, [] { return When.addSecs(61); });
        QCOMPARE(scores.SelectYouEntry(), 0);
        const TScoreRec& you = scores.List()[0];
        QCOMPARE(you.score, 300);
        QCOMPARE(you.Level, uint16_t(5));
        QCOMPARE(you.GameLanguage, QStringLiteral("영어"));
        QCOMPARE(you.DateTime, QStringLiteral("2009-03-07  14:06:10"));
        QVERIFY(!scores.List()[1].You);
        QCOMPARE(scores.List()[1].GameLanguage, QStringLiteral("한글"));

        EnterScore(scores, 0, 1, true, answer, [] { return When; });
        QCOMPARE(scores.SelectYouEntry(), -1);
    }

    // Texts measured at 7 pixels a character; the list's items start inside its 2-pixel border.
    void rowTextsInTheirColumns_data()
    {
        QTest::addColumn<int>("rank");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<int>>("rights");
        const QList<int> designed{45, 90, 120, 41, 150, 50};
        const QList<int> rights{47, 137, 257, 298, 448, 498};
        QTest::newRow("rank 3") << 3 << designed << QList<int>{28, 48, 222, 271, 299, 449} << rights;
        QTest::newRow("rank 9") << 9 << designed << QList<int>{28, 48, 222, 271, 299, 449} << rights;
        QTest::newRow("rank 10 starts a digit further left")
            << 10 << designed << QList<int>{21, 48, 222, 271, 299, 449} << rights;
        QTest::newRow("rank 20") << 20 << designed << QList<int>{21, 48, 222, 271, 299, 449} << rights;
        QTest::newRow("level column widened")
            << 1 << QList<int>{45, 90, 120, 80, 150, 50} << QList<int>{28, 48, 222, 291, 338, 488}
            << QList<int>{47, 137, 257, 337, 487, 537};
    }
    void rowTextsInTheirColumns()
    {
        QFETCH(int, rank);
        QFETCH(QList<int>, widths);
        QFETCH(QList<int>, xs);
        QFETCH(QList<int>, rights);
        TScoreRec rec = Entry(QStringLiteral("홍길동"), 1234, 3, QStringLiteral("한글"));
        rec.rank = rank;
        const QRect item(2, 20, 493, 18);
        const QList<TScoreCell> cells =
            ScoreRowCells(rec, item, widths, [](const QString& text) { return 7 * int(text.size()); });
        QCOMPARE(cells.size(), 6);
        const QStringList texts{QString::number(rank),
                                QStringLiteral("홍길동"),
                                QStringLiteral("1234"),
                                QStringLiteral("3"),
                                QStringLiteral("2009-03-07  14:05:09"),
                                QStringLiteral("한글")};
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(cells[c].Text, texts[c]);
            QCOMPARE(cells[c].X, xs[c]);
            QCOMPARE(cells[c].Y, 21);
            // Clipped from the text's start to its column's right edge, over the item's height.
            QCOMPARE(cells[c].Clip, QRect(xs[c], 20, rights[c] - xs[c], 18));
        }
    }

    void dateAndTimeText_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << When << QStringLiteral("2009-03-07  14:05:09");
        QTest::newRow("two-digit parts") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
                                         << QStringLiteral("2026-12-31  23:59:59");
        QTest::newRow("midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0))
                                  << QStringLiteral("2027-01-01  00:00:00");
    }
    void dateAndTimeText()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, text);
        QCOMPARE(ScoreDateTimeText(when), text);
    }
};

QTEST_GUILESS_MAIN(TestHighScores)
#include "tst_highscores.moc"
