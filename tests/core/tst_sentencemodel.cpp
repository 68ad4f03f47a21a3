// Sentence practice without a window: blocks of a text, the resume line and its settings key, the speed bars.
#include "engine/TypingMeasure.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "screens/SentenceModel.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSentenceModel : public QObject
{
    Q_OBJECT

private slots:
    void blockFiller_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("slotCount");
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("problems");
        QTest::addColumn<bool>("end");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("resume");
        const QStringList six{"a", "b", "c", "d", "e", "f"};
        QTest::newRow("first block of four") << six << 4 << 0 << QStringList{"a", "b", "c", "d"} << false << 4 << 0;
        QTest::newRow("last block has empty slots")
            << six << 4 << 4 << QStringList{"e", "f", "", ""} << false << 8 << 4;
        QTest::newRow("one line") << six << 1 << 5 << QStringList{"f"} << false << 6 << 5;
        QTest::newRow("blank lines inside the block are skipped and do not move the resume line")
            << QStringList{"a", "", "b", " \t", "c", "d", "e"} << 4 << 0 << QStringList{"a", "b", "c", "d"} << false
            << 6 << 0;
        QTest::newRow("leading blank lines: resume at the first shown line")
            << QStringList{"", "  ", "a", "b"} << 1 << 0 << QStringList{"a"} << false << 3 << 2;
        QTest::newRow("lines are handed on untrimmed")
            << QStringList{"  a b  "} << 1 << 0 << QStringList{"  a b  "} << false << 1 << 0;
        QTest::newRow("only blank lines remain: the end, never an empty block")
            << QStringList{"a", "", " ", "\x01"} << 4 << 1 << QStringList{} << true << 1 << 1;
        QTest::newRow("only blank lines") << QStringList{"", "\t", " "} << 4 << 0 << QStringList{} << true << 0 << 0;
        QTest::newRow("empty text") << QStringList{} << 1 << 0 << QStringList{} << true << 0 << 0;
        QTest::newRow("past the end") << six << 4 << 8 << QStringList{} << true << 8 << 8;
        QTest::newRow("a blank with a Korean full-width space is not blank")
            << QStringList{"\u3000"} << 1 << 0 << QStringList{"\u3000"} << false << 1 << 0;
    }
    void blockFiller()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, slotCount);
        QFETCH(int, from);
        QFETCH(QStringList, problems);
        QFETCH(bool, end);
        QFETCH(int, next);
        QFETCH(int, resume);
        TSentenceText text;
        text.SetLines(lines);
        text.SetCurrTextLine(from);
        const TSentenceBlock block = text.NextBlock(slotCount);
        QCOMPARE(block.End, end);
        QCOMPARE(block.Problems, problems);
        QCOMPARE(text.CurrTextLine(), next);
        QCOMPARE(text.ResumeLine(), resume);
    }

    void walkingATextShowsEveryLineOnceThenEndsForGood()
    {
        TSentenceText text;
        text.SetLines({"", "one", "two", "", "", "three", "four", "five", " "});
        QStringList seen;
        QList<int> starts;
        for (TSentenceBlock b = text.NextBlock(2); !b.End; b = text.NextBlock(2)) {
            seen << b.Problems;
            starts << text.ResumeLine();
        }
        QCOMPARE(seen, (QStringList{"one", "two", "three", "four", "five", ""}));
        QCOMPARE(starts, (QList<int>{1, 5, 7}));
        // Esc or a further end after the end message: the end again, and the last block stays the resume line.
        QVERIFY(text.NextBlock(2).End);
        QCOMPARE(text.ResumeLine(), 7);
    }

    void failedTextHasNothingToStore()
    {
        TSentenceText text;
        text.SetLines({"a", "b"});
        text.NextBlock(1);
        QVERIFY(text.Loaded());
        text.Clear();
        QVERIFY(!text.Loaded());
        QVERIFY(text.NextBlock(1).End);
    }

    void layout_data()
    {
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("offset");
        QTest::newRow("long, h 30: centred in 500") << 30 << 4 << 500 << 68;
        QTest::newRow("long, h 42: still 500") << 42 << 4 << 500 << 2;
        QTest::newRow("long, h 43: grows") << 43 << 4 << 507 << 0;
        QTest::newRow("long, h 60") << 60 << 4 << 694 << 0;
        QTest::newRow("short, h 30") << 30 << 1 << 500 << 215;
        QTest::newRow("short, h 245: just fits") << 245 << 1 << 500 << 0;
        QTest::newRow("short, h 246: grows") << 246 << 1 << 502 << 0;
    }
    void layout()
    {
        QFETCH(int, h);
        QFETCH(int, count);
        QFETCH(int, height);
        QFETCH(int, offset);
        const TSentenceLayout l = ComputeSentenceLayout(h, count, 5);
        QCOMPARE(l.SentenceSpace, h + 3);
        QCOMPARE(l.Height, height);
        QCOMPARE(l.TextOffsetY, offset);
    }

    void resumeClamp_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("line");
        QTest::newRow("beyond the text: its last line") << 7 << 5 << 4;
        QTest::newRow("exactly the count") << 5 << 5 << 4;
        QTest::newRow("inside") << 2 << 5 << 2;
        QTest::newRow("zero: the start, no question") << 0 << 5 << 0;
        QTest::newRow("negative reads as 0") << -3 << 5 << 0;
        QTest::newRow("empty text") << 3 << 0 << 0;
    }
    void resumeClamp()
    {
        QFETCH(int, stored);
        QFETCH(int, lineCount);
        QFETCH(int, line);
        QCOMPARE(ClampResumeLine(stored, lineCount), line);
    }

    void historyKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::newRow("Korean text") << "/p/Text/[한글]문장.txt"
                                     << "(한글)문장.txt";
        QTest::newRow("English text") << "/p/Text/[영어]abc.txt"
                                      << "(영어)abc.txt";
        QTest::newRow("other name") << "/p/Text/Story.TXT"
                                    << "Story.TXT";
        QTest::newRow("mark not at the start") << "/p/a[한글].txt"
                                               << "a[한글].txt";
        QTest::newRow("bracket first") << "/p/[x]y.txt"
                                       << "/[x]y.txt";
        QTest::newRow("semicolon first") << "/p/;c.txt"
                                         << "/;c.txt";
        QTest::newRow("hash first") << "/p/#c.txt"
                                    << "/#c.txt";
        QTest::newRow("equals sign") << "/p/a=b.txt"
                                     << "/a%003db.txt";
        QTest::newRow("Korean mark and equals sign") << "/p/[한글]a=b.txt"
                                                     << "/(한글)a%003db.txt";
        QTest::newRow("percent is escaped once mapped") << "/p/5%=x.txt"
                                                        << "/5%0025%003dx.txt";
        QTest::newRow("line break") << "/p/a\nb.txt"
                                    << "/a%000ab.txt";
        QTest::newRow("leading blank") << "/p/ a.txt"
                                       << "/ a.txt";
        QTest::newRow("trailing blanks") << "/p/a.txt  "
                                         << "/a.txt%0020%0020";
    }
    void historyKey()
    {
        QFETCH(QString, path);
        QFETCH(QString, key);
        QCOMPARE(GetHistoryKey(path), key);
    }

    // Every name, however odd, gets a key that the settings file stores and reads back as its own.
    void resumeLineIsRead_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("line");
        QTest::newRow("none kept") << QByteArray("[FileHistory]\nother.txt=5\n") << 0;
        QTest::newRow("kept under the text's key") << QByteArray("[FileHistory]\n(한글)봄.txt=12\n") << 12;
        QTest::newRow("names in another case") << QByteArray("[filehistory]\n(한글)봄.TXT=7\n") << 7;
        QTest::newRow("negative is 0") << QByteArray("[FileHistory]\n(한글)봄.txt=-3\n") << 0;
        QTest::newRow("not a number is 0") << QByteArray("[FileHistory]\n(한글)봄.txt=x\n") << 0;
    }
    void resumeLineIsRead()
    {
        QFETCH(QByteArray, ini);
        QTemporaryDir dir;
        const TIniFile file(WriteIniFixture(dir, ini));
        QTEST(ReadResumeLine(file, QStringLiteral("/p/Text/[한글]봄.txt")), "line");
    }

    void historyKeysReadBackAsTheirOwn()
    {
        const QStringList names{"[한글]문장.txt", "[x]y.txt", ";c.txt", "#c.txt",   "a=b.txt",  "a%003db.txt",
                                " a.txt",         "a.txt ",   "a.txt",  "a\rb.txt", "plain.txt"};
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Zavlin.ini"));
        {
            TIniFile ini(file);
            for (int i = 0; i < names.size(); ++i)
                WriteResumeLine(ini, QStringLiteral("/t/") + names[i], i + 1);
            ini.WriteInteger(QStringLiteral("After"), QStringLiteral("Key"), 99);
        }
        TIniFile ini(file);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(ReadResumeLine(ini, QStringLiteral("/t/") + names[i]), i + 1);
        QCOMPARE(ini.ReadInteger(QStringLiteral("After"), QStringLiteral("Key"), 0), 99);
    }

    void liveTickAfterTheEndKeepsTheFinalBars()
    {
        // A block of 100 right characters typed in one minute, measured as the typing control does.
        TFakeClock clock;
        TSentenceList sentences;
        sentences.push_back(std::make_unique<TSentence>());
        sentences[0]->problem = QString(100, u'a');
        TTypingMeasure measure;
        TSentenceSpeeds speeds;
        measure.FStartTick = GetTickCount();
        speeds.TypingStarted();
        sentences[0]->typed = QString(50, u'a');
        clock.Advance(30000);
        QVERIFY(
            speeds.LiveTick(true, measure.GetTypingSpeed(sentences, true), measure.GetAvgTypingSpeed(sentences, true)));
        QCOMPARE(speeds.Curr(), 100.0);
        QCOMPARE(speeds.Avg(), 100.0);
        sentences[0]->typed = QString(100, u'a');
        clock.Advance(30000);
        measure.FStopTick = GetTickCount();
        measure.AddTotals(sentences);
        speeds.TypingEnded(true, measure.GetTypingSpeed(sentences, false), measure.GetAvgTypingSpeed(sentences, false));
        QCOMPARE(speeds.Avg(), 100.0);

        // The control still counts the block as started: half a minute at the end message later its live
        // speeds would count the block twice in the average and the waiting time in the current bar.
        clock.Advance(30000);
        QCOMPARE(measure.GetTypingSpeed(sentences, true), 66);
        QCOMPARE(measure.GetAvgTypingSpeed(sentences, true), 80);
        QVERIFY(!speeds.LiveTick(true, measure.GetTypingSpeed(sentences, true),
                                 measure.GetAvgTypingSpeed(sentences, true)));
        QCOMPARE(speeds.Avg(), 100.0);
        QCOMPARE(speeds.Curr(), 100.0);
        QCOMPARE(speeds.Best(), 100.0);
    }

    void liveTickOnlyWhileABlockIsTyped()
    {
        TSentenceSpeeds speeds;
        QVERIFY(!speeds.LiveTick(true, 10, 10)); // nothing typed yet
        speeds.TypingStarted();
        QVERIFY(speeds.LiveTick(false, 10, 20)); // an empty first line keeps the current bar
        QCOMPARE(speeds.Curr(), 0.0);
        QCOMPARE(speeds.Avg(), 20.0);
        speeds.BlockShown(); // Esc skipped the block
        QVERIFY(!speeds.LiveTick(true, 30, 30));
        QCOMPARE(speeds.Avg(), 20.0);
    }

    void newBest_data()
    {
        QTest::addColumn<QList<int>>("ends");
        QTest::addColumn<QList<bool>>("newBest");
        QTest::addColumn<double>("best");
        QTest::newRow("first block") << QList<int>{120} << QList<bool>{true} << 120.0;
        QTest::newRow("equal is no new best") << QList<int>{120, 120} << QList<bool>{true, false} << 120.0;
        QTest::newRow("slower keeps the best") << QList<int>{120, 90, 121} << QList<bool>{true, false, true} << 121.0;
        QTest::newRow("zero is no best") << QList<int>{0} << QList<bool>{false} << 0.0;
    }
    void newBest()
    {
        QFETCH(QList<int>, ends);
        QFETCH(QList<bool>, newBest);
        QFETCH(double, best);
        TSentenceSpeeds speeds;
        for (int i = 0; i < ends.size(); ++i) {
            speeds.TypingStarted();
            QCOMPARE(speeds.TypingEnded(true, ends[i], ends[i]), newBest[i]);
            QCOMPARE(speeds.Curr(), double(ends[i]));
        }
        QCOMPARE(speeds.Best(), best);
    }

    void targetSpeed_data()
    {
        QTest::addColumn<bool>("use");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("again");
        QTest::newRow("switch off") << false << 10 << false;
        QTest::newRow("below") << true << 149 << true;
        QTest::newRow("equal passes") << true << 150 << false;
        QTest::newRow("above") << true << 151 << false;
    }
    void targetSpeed()
    {
        QFETCH(bool, use);
        QFETCH(int, speed);
        QFETCH(bool, again);
        QCOMPARE(BelowTargetSpeed(use, 150, speed), again);
    }

    void targetMessage()
    {
        QCOMPARE(TargetSpeedMessage(150),
                 QStringLiteral("목표로 한 타자속도(150 타/분)을 넘지 못해서 다시 연습합니다."));
    }
};

QTEST_GUILESS_MAIN(TestSentenceModel)
#include "tst_sentencemodel.moc"
