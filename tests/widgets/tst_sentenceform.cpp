// The sentence practice window: start, resume, blocks, speeds and sounds, the target repeat, Esc, the end
// of the text, the resume line stored on close, the layout and the tiled background.
#include "components/ZavaduMeter.h"
#include "engine/ThreadTimer.h"
#include "engine/VornixMisc.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/PracticeWindows.h"
#include "platform/Sound.h"
#include "screens/SentenceUnit.h"
#include "tests/support/MessageBoxLog.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtil.h"

#include <QPointer>
#include <QtTest>

#include <cerrno>

namespace {
QStringList gSounds;

const QString kEnd = QStringLiteral("확인:선택된 글의 끝까지 연습했습니다.");
const QString kResume = QStringLiteral("확인:기존에 연습하던 것에 이어서 하시겠습니까?");
} // namespace

class TestSentenceForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FTemp;
    QPointer<TSentenceForm> FForm;

    QString TextPath(const QString& name) const { return ProgramFolder + QStringLiteral("Text/") + name; }
    QString WriteText(const QString& name, const QStringList& lines)
    {
        QDir().mkpath(ProgramFolder + QStringLiteral("Text"));
        WriteAll(TextPath(name), "\xef\xbb\xbf" + lines.join(u'\n').toUtf8());
        return TextPath(name);
    }
    TSentenceForm* NewForm()
    {
        FForm = new TSentenceForm();
        SentenceForm = FForm;
        return FForm;
    }
    // Types what the first empty slots still need, one committed character at a time, then Enter on the last line.
    static void TypeBlock(TSentencePractice* c, TFakeClock& clock, int msPerChar, bool wrong = false)
    {
        for (int i = 0; i < c->SentenceCount(); ++i) {
            const QString problem = c->Sentences()[size_t(i)]->problem;
            if (problem.isEmpty()) break;
            for (QChar ch : problem) {
                clock.Advance(msPerChar);
                c->KeyChar(wrong ? u'#' : ch.unicode());
            }
            if (i + 1 < c->SentenceCount() && !c->Sentences()[size_t(i + 1)]->problem.isEmpty()) c->KeyChar(u' ');
        }
        c->KeyChar(13);
    }
    QStringList Problems() const
    {
        QStringList p;
        for (const auto& s : FForm->SenEx->Sentences())
            p << s->problem;
        return p;
    }
    int StoredHistory(const QString& key)
    {
        return TIniFile(ProgramFolder + QStringLiteral("Zavlin.ini"))
            .ReadInteger(QStringLiteral("FileHistory"), key, -99);
    }

private slots:
    void initTestCase()
    {
        SetMessageBoxHook(RecordBox);
        SetSoundHook([](const QString& name) { gSounds << name; });
    }
    void cleanupTestCase()
    {
        SetMessageBoxHook(nullptr);
        SetSoundHook(nullptr);
    }
    void init()
    {
        CloseSettings();
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = FTemp->path() + u'/';
        DataFolderOverride = ProgramFolder + QStringLiteral("data/"); // refuses files with the program folder
        SentenceSetup = TSentenceSetupRec();
        SentenceSetup.FontName = QStringLiteral("DejaVu Sans Mono");
        gBoxes.clear();
        gSounds.clear();
        gAnswer = IDYES;
    }
    void cleanup()
    {
        if (FForm) {
            FForm->close();
            delete FForm;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(SentenceForm, nullptr);
        CloseSettings();
    }

    void startShowsTheFirstBlockAndFixesTheHeight()
    {
        const QString path = WriteText(QStringLiteral("[영어]six.txt"), {"one", "two", "", "three", "four", "five"});
        TSentenceForm* f = NewForm();
        f->StartExercise(true, path);
        QCOMPARE(Problems(), (QStringList{"one", "two", "three", "four"}));
        QCOMPARE(f->SenEx->geometry(), QRect(176, 0, f->width() - 176, 500));
        QCOMPARE(f->SpeedMeter->geometry(), QRect(0, 0, 176, 500));
        QCOMPARE(f->minimumHeight(), 500);
        QCOMPARE(f->maximumHeight(), 500);
        QVERIFY(gBoxes.isEmpty()); // nothing stored: no question
        f->show();
        QCOMPARE(f->SenEx->TypingLang(), tlEng);
        // The width stays free and the typing control follows it.
        f->resize(600, 500);
        QCOMPARE(f->SenEx->width(), 600 - 176);
    }

    void showingAndClosingAreReportedToTheMenu()
    {
        QSignalSpy opened(&TPracticeWindows::Instance(), &TPracticeWindows::Opened);
        QSignalSpy closed(&TPracticeWindows::Instance(), &TPracticeWindows::Closed);
        TSentenceForm* f = NewForm();
        f->StartExercise(true, WriteText(QStringLiteral("[영어]a.txt"), {"one"}));
        QCOMPARE(opened.size(), 0);
        f->show();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(closed.size(), 0);
        f->close();
        QCOMPARE(closed.size(), 1);
        QCOMPARE(opened.size(), 1);
    }

    // The texts that come with the program, in the practice font a first start uses: every line fits the typing
    // control of a window as wide as a 1024-pixel screen, so its end is never cut off. They are read from the
    // sources: the build's Text/ is the learner's, who may add a text with longer lines.
    void everyBundledLineFitsASmallScreen()
    {
        const QDir bundled(QStringLiteral(VORNIX_SOURCE_DIR "/Text"));
        const QStringList texts = bundled.entryList({QStringLiteral("*.txt")}, QDir::Files);
        QVERIFY2(!texts.isEmpty(), qPrintable(bundled.path()));
        SentenceSetup = TSentenceSetupRec();
        for (const QString& name : texts) {
            QDir().mkpath(ProgramFolder + QStringLiteral("Text"));
            QFile::remove(TextPath(name));
            QVERIFY(QFile::copy(bundled.filePath(name), TextPath(name)));
            TSentenceForm* f = NewForm();
            f->resize(1024, 500);
            f->StartExercise(true, TextPath(name));
            const QFontMetrics fm(f->SenEx->font());
            for (int i = 0; i < f->Text().Lines().size(); ++i) {
                const QString line = f->Text().Lines()[i].trimmed();
                QVERIFY2(2 + fm.horizontalAdvance(line) <= f->SenEx->width(),
                         qPrintable(
                             QStringLiteral("%1 line %2: %3 px").arg(name).arg(i + 1).arg(fm.horizontalAdvance(line))));
            }
            delete f;
        }
    }

    void layoutForFontHeights_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("longPractice");
        QTest::newRow("default font, long") << 22 << true;
        QTest::newRow("large font, long") << 40 << true;
        QTest::newRow("large font, short") << 40 << false;
        QTest::newRow("huge font, short") << 200 << false;
    }
    void layoutForFontHeights()
    {
        QFETCH(int, points);
        QFETCH(bool, longPractice);
        SentenceSetup.FontSize = points;
        const QString path = WriteText(QStringLiteral("t.txt"), {"Hello"});
        TSentenceForm* f = NewForm();
        f->StartExercise(longPractice, path);
        const int h = QFontMetrics(f->SenEx->font()).height();
        const TSentenceLayout l = ComputeSentenceLayout(h, longPractice ? 4 : 1, 5);
        QCOMPARE(f->SenEx->height(), l.Height);
        QCOMPARE(f->SpeedMeter->height(), l.Height);
        QCOMPARE(f->maximumHeight(), l.Height);
        QCOMPARE(f->SenEx->TextOffsetY(), l.TextOffsetY);
        QCOMPARE(f->SenEx->SentenceSpace(), h + 3);
        if (l.Height > 500) QCOMPARE(l.TextOffsetY, 0);
        // The block fits: the last slot's typed line ends inside the control.
        const int last = f->SenEx->SentenceCount() - 1;
        QVERIFY(f->SenEx->ProblemTop(last) + 2 * h + 5 <= f->SenEx->height());
    }

    void resume_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("first");
        QTest::newRow("beyond the text, yes: the last line") << 7 << int(IDYES) << true << "e";
        QTest::newRow("beyond the text, no: the start") << 7 << int(IDNO) << true << "a";
        QTest::newRow("inside, yes") << 2 << int(IDYES) << true << "c";
        QTest::newRow("zero: no question") << 0 << int(IDYES) << false << "a";
        QTest::newRow("negative: no question") << -4 << int(IDYES) << false << "a";
    }
    void resume()
    {
        QFETCH(int, stored);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(QString, first);
        const QString path = WriteText(QStringLiteral("[한글]문장.txt"), {"a", "b", "c", "d", "e"});
        TIniFile(ProgramFolder + QStringLiteral("Zavlin.ini"))
            .WriteInteger(QStringLiteral("FileHistory"), QStringLiteral("(한글)문장.txt"), stored);
        gAnswer = answer;
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        QCOMPARE(gBoxes.contains(kResume), asked);
        QCOMPARE(Problems().value(0), first);
        f->show();
        QCOMPARE(f->SenEx->TypingLang(), tlNative);
    }

    void closingStoresWhereTheShownBlockBegan()
    {
        // Blank lines inside a block do not move the stored line.
        const QString path = WriteText(QStringLiteral("b.txt"), {"a", "", "b", "c", "d", "e", "f", "g", "h", "i"});
        TSentenceForm* f = NewForm();
        f->StartExercise(true, path);
        f->show();
        f->close();
        QCOMPARE(StoredHistory(QStringLiteral("b.txt")), 0);

        gAnswer = IDYES;
        f = NewForm();
        f->StartExercise(true, path);
        QCOMPARE(gBoxes, QStringList()); // 0 stored: no question
        QCOMPARE(Problems(), (QStringList{"a", "b", "c", "d"}));
        QTest::keyClick(f->SenEx, Qt::Key_Escape);
        QCOMPARE(Problems(), (QStringList{"e", "f", "g", "h"}));
        delete f; // destroyed without a close: the destructor stores
        QCOMPARE(StoredHistory(QStringLiteral("b.txt")), 5);

        f = NewForm();
        f->StartExercise(true, path);
        QCOMPARE(gBoxes, QStringList{kResume});
        QCOMPARE(Problems(), (QStringList{"e", "f", "g", "h"}));
    }

    void aFailedTextRaisesAndKeepsItsResumeLine()
    {
        const QString good = WriteText(QStringLiteral("good.txt"), {"a", "b", "c"});
        TIniFile(ProgramFolder + QStringLiteral("Zavlin.ini"))
            .WriteInteger(QStringLiteral("FileHistory"), QStringLiteral("gone.txt"), 3);
        TSentenceForm* f = NewForm();
        try {
            f->StartExercise(true, TextPath(QStringLiteral("gone.txt")));
            QFAIL("no exception for a missing text");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QStringLiteral("TextFn 파일을 불러올 수 없습니다."));
        }
        // The next start reuses the window; the failed text's line is left as it was.
        f->StartExercise(false, good);
        QCOMPARE(Problems(), QStringList{"a"});
        f->close();
        delete f;
        QCOMPARE(StoredHistory(QStringLiteral("gone.txt")), 3);
        QCOMPARE(StoredHistory(QStringLiteral("good.txt")), 0);
    }

    void aRefusedHistoryWriteIsReportedNotThrown()
    {
        const QString path = WriteText(QStringLiteral("r.txt"), {"a", "b"});
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        f->show();
        TFailingSaves readOnly(EACCES);
        f->close();
        delete f;
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY2(gBoxes[0].contains(QStringLiteral("Unable to write to")) &&
                     gBoxes[0].contains(qt_error_string(EACCES)),
                 qPrintable(gBoxes[0]));
    }

    void aFinishedBlockBringsSpeedsBestSoundPictureAndTheNextBlock_data()
    {
        QTest::addColumn<bool>("sound");
        QTest::newRow("sound on") << true;
        QTest::newRow("sound off") << false;
    }
    void aFinishedBlockBringsSpeedsBestSoundPictureAndTheNextBlock()
    {
        QFETCH(bool, sound);
        SentenceSetup.UseSound = sound;
        QImage red(8, 8, QImage::Format_RGB32), blue(8, 8, QImage::Format_RGB32);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        red.save(ProgramFolder + QStringLiteral("red.png"));
        blue.save(ProgramFolder + QStringLiteral("blue.png"));
        SentenceSetup.BackImage = QStringLiteral("1%1red.png|1%1blue.png").arg(ProgramFolder);
        const QString path = WriteText(QStringLiteral("s.txt"), {"abcd", "efgh", "ijkl"});
        TFakeClock clock;
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        f->show();
        QCOMPARE(f->SentenceImageList().CurrIndex(), 0);

        f->SenEx->KeyChar(u'a'); // typing starts: the meter runs
        QVERIFY(f->SpeedMeter->Active());
        QVERIFY(f->CurrSpeedTimer->Enabled());
        clock.Advance(600);
        f->CurrSpeedTimerTimer(nullptr);
        QCOMPARE(f->CurrBar()->BlueValue(), 100.0); // one character in 0.6 s
        QCOMPARE(f->MaxBar()->RedValue(), 0.0);

        for (QChar ch : QStringLiteral("bcd")) {
            clock.Advance(600);
            f->SenEx->KeyChar(ch.unicode());
        }
        f->SenEx->KeyChar(13);
        QVERIFY(!f->SpeedMeter->Active());
        QCOMPARE(f->CurrBar()->BlueValue(), 100.0);
        QCOMPARE(f->AvgBar()->OrangeValue(), 100.0);
        QCOMPARE(f->MaxBar()->RedValue(), 100.0);
        QCOMPARE(gSounds.contains(QStringLiteral("THUNDER")), sound);
        QCOMPARE(Problems(), QStringList{"efgh"});
        QCOMPARE(f->SentenceImageList().CurrIndex(), 1);

        // A tick after the end changes nothing.
        clock.Advance(5000);
        f->CurrSpeedTimerTimer(nullptr);
        QCOMPARE(f->CurrBar()->BlueValue(), 100.0);
        QCOMPARE(f->AvgBar()->OrangeValue(), 100.0);

        // A slower block is no new best; a wrong key sounds.
        gSounds.clear();
        TypeBlock(f->SenEx, clock, 1200, true);
        QCOMPARE(f->CurrBar()->BlueValue(), 0.0); // nothing right
        QCOMPARE(f->MaxBar()->RedValue(), 100.0);
        QCOMPARE(gSounds.contains(QStringLiteral("THUNDER")), false);
        QCOMPARE(gSounds.contains(QStringLiteral("WRONGKEY")), sound);
        QCOMPARE(f->SentenceImageList().CurrIndex(), 0);
        QVERIFY(gBoxes.isEmpty());
    }

    void belowTheTargetTheSameBlockComesAgain()
    {
        SentenceSetup.UseSpeedLimit = true;
        SentenceSetup.SpeedLimit = 150;
        const QString path = WriteText(QStringLiteral("t.txt"), {"ab", "cd", "ef"});
        TFakeClock clock;
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        TypeBlock(f->SenEx, clock, 1000); // 60 a minute
        QCOMPARE(gBoxes,
                 QStringList{QStringLiteral("확인:목표로 한 타자속도(150 타/분)을 넘지 못해서 다시 연습합니다.")});
        QCOMPARE(Problems(), QStringList{"ab"});
        QCOMPARE(f->SenEx->Sentences()[0]->typed, QString());
        QVERIFY(!f->SenEx->TypingStarted());
        QCOMPARE(f->SentenceImageList().CurrIndex(), 0);
        QCOMPARE(f->Text().CurrTextLine(), 1);

        gBoxes.clear();
        TypeBlock(f->SenEx, clock, 800); // exactly 150 a minute passes
        QCOMPARE(f->CurrBar()->BlueValue(), 150.0);
        QVERIFY(gBoxes.isEmpty());
        QCOMPARE(Problems(), QStringList{"cd"});
    }

    void theEndOfTheTextIsAMessageNeverAnEmptyBlock()
    {
        const QString path = WriteText(QStringLiteral("e.txt"), {"", "ab", "cd", " ", "\t", ""});
        TFakeClock clock;
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        TypeBlock(f->SenEx, clock, 300);
        QVERIFY(gBoxes.isEmpty());
        QCOMPARE(Problems(), QStringList{"cd"});
        TypeBlock(f->SenEx, clock, 300);
        QCOMPARE(gBoxes, QStringList{kEnd});
        QCOMPARE(Problems(), QStringList{"cd"}); // the lines stay with what was typed
        QCOMPARE(f->SenEx->Sentences()[0]->typed, QStringLiteral("cd"));
        QTest::keyClick(f->SenEx, Qt::Key_Escape);
        QCOMPARE(gBoxes, (QStringList{kEnd, kEnd}));
        f->close();
        QCOMPARE(StoredHistory(QStringLiteral("e.txt")), 2);
    }

    // An empty or blank-only text ends at once and leaves nothing to type: no sample line of the control, no
    // line of the text shown before, and no keystroke that starts the clock or brings the message again.
    void aTextWithoutLinesEndsAtOnceWithNothingToType_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("isLong");
        QTest::newRow("empty, long") << QStringList() << true;
        QTest::newRow("empty, short") << QStringList() << false;
        QTest::newRow("blank lines, long") << QStringList{"", "  ", "\t"} << true;
        QTest::newRow("blank lines, short") << QStringList{" "} << false;
    }
    void aTextWithoutLinesEndsAtOnceWithNothingToType()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, isLong);
        const QString path = WriteText(QStringLiteral("blank.txt"), lines);
        TSentenceForm* f = NewForm();
        // The window held a text before: its lines go too.
        f->StartExercise(isLong, WriteText(QStringLiteral("before.txt"), {"ab", "cd", "ef", "gh"}));
        f->StartExercise(isLong, path);
        QCOMPARE(gBoxes, QStringList{kEnd});
        QCOMPARE(Problems(), QStringList(isLong ? 4 : 1, QString()));
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        for (char16_t ch : {u'a', u' ', char16_t(13)})
            f->SenEx->KeyChar(ch);
        QTest::keyClick(f->SenEx, Qt::Key_A);
        QCOMPARE(gBoxes, QStringList{kEnd});
        QVERIFY(!f->SpeedMeter->Active());
        QVERIFY(!f->SenEx->TypingStarted());
        for (const auto& s : f->SenEx->Sentences())
            QVERIFY(s->typed.isEmpty());
    }

    void escSkipsTheBlockWithoutSpeeds()
    {
        const QString path = WriteText(QStringLiteral("k.txt"), {"ab", "cd"});
        TFakeClock clock;
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        f->show();
        f->SenEx->KeyChar(u'a');
        clock.Advance(1000);
        QTest::keyClick(f->SenEx, Qt::Key_Escape);
        QCOMPARE(Problems(), QStringList{"cd"});
        QCOMPARE(f->SentenceImageList().CurrIndex(), 0);
        f->CurrSpeedTimerTimer(nullptr);
        QCOMPARE(f->CurrBar()->BlueValue(), 0.0);
        QCOMPARE(f->AvgBar()->OrangeValue(), 0.0);
    }

    void theBackgroundRunsOnFromTheMeterIntoTheTypingControl()
    {
        QImage coded(64, 32, QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x)
                coded.setPixel(x, y, qRgb(x * 4, y * 8, 200));
        coded.save(ProgramFolder + QStringLiteral("coded.png"));
        SentenceSetup.BackImage = QStringLiteral("1") + ProgramFolder + QStringLiteral("coded.png");
        const QString path = WriteText(QStringLiteral("p.txt"), {"x"});
        TSentenceForm* f = NewForm();
        f->resize(800, 500);
        f->StartExercise(false, path);
        const QImage img = RenderWidget(f->SenEx);
        // The lower right part holds no text.
        for (int y : {420, 457, 499})
            for (int x : {400, 555, f->SenEx->width() - 1}) {
                const QRgb px = img.pixel(x, y);
                QCOMPARE(qRed(px), ((x + 176) % 64) * 4);
                QCOMPARE(qGreen(px), (y % 32) * 8);
            }
    }

    // Nobody typing: the caret blinks over the background picture, and nothing but its cell is repainted, in
    // the typing control or anywhere else in the window.
    void anIdleWindowRepaintsOnlyTheCaretCell()
    {
        const QString path = WriteText(QStringLiteral("idle.txt"), {"The quick brown fox", "jumps over the lazy dog"});
        TSentenceForm* f = NewForm();
        f->resize(1000, 500);
        f->StartExercise(true, path);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        TSentencePractice* c = f->SenEx;
        QTRY_VERIFY(c->CaretVisible());
        QApplication::processEvents();

        TPaintCounter spy(c);
        TPaintCounter other(f);
        for (QWidget* w : f->findChildren<QWidget*>())
            if (w != c) other.Watch(w);
        const int tick = c->CaretTick();
        QTRY_VERIFY(c->CaretTick() != tick);
        QTRY_COMPARE(c->CaretTick(), tick);
        QApplication::processEvents();
        QVERIFY(spy.Count >= 2);
        QCOMPARE(spy.Painted.boundingRect(), c->TypedCellRect(0, 0));
        QCOMPARE(other.Count, 0);
    }

    void theBuiltInPictureStandsInForBrokenOnes()
    {
        SentenceSetup.BackImage = QStringLiteral("1/nowhere/a.png|0/nowhere/b.png");
        const QString path = WriteText(QStringLiteral("d.txt"), {"x"});
        TSentenceForm* f = NewForm();
        f->StartExercise(false, path);
        QCOMPARE(f->SentenceImageList().Count(), 1);
        QCOMPARE(f->SentenceImageList().Strings(0), TSentenceImageList::DefaultImageName);
        QVERIFY(!f->SentenceImageList().Image(0).isNull());
    }
};

QTEST_MAIN(TestSentenceForm)
#include "tst_sentenceform.moc"
