// The high-score window, the name dialog and the end-of-game entry of a score through both.
#include "components/EllipBtn.h"
#include "components/EllipseAnnBtn.h"
#include "engine/VornixMisc.h"
#include "game/NameUnit.h"
#include "game/ScoreUnit.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Edit.h"
#include "tests/support/MessageBoxLog.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtil.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <cerrno>

#include <functional>

namespace {

QByteArray FileOf(const QList<std::pair<QString, int>>& entries)
{
    QByteArray bytes;
    for (const auto& [name, score] : entries) {
        TScoreRec r;
        r.name = name;
        r.score = score;
        r.DateTime = QStringLiteral("2026-01-02  03:04:05");
        r.Level = 4;
        r.GameLanguage = QStringLiteral("한글");
        bytes += EncodeScoreRecord(r);
    }
    return bytes;
}

QByteArray FileOfScores(const QList<int>& scores)
{
    QList<std::pair<QString, int>> entries;
    for (int s : scores)
        entries.append({QStringLiteral("p%1").arg(s), s});
    return FileOf(entries);
}

TNameForm* ShownNameForm()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TNameForm*>(w); f && f->isVisible() && f->Modal()) return f;
    return nullptr;
}

// Runs action on the name dialog once SaveUser shows it; records whether it came.
struct TNameAnswer
{
    bool Shown = false;
    QObject Alive; // the polling stops with the answer
    explicit TNameAnswer(std::function<void(TNameForm*)> action) { Poll(std::move(action), 0); }
    void Poll(std::function<void(TNameForm*)> action, int tries)
    {
        QTimer::singleShot(10, &Alive, [this, action, tries] {
            if (TNameForm* f = ShownNameForm()) {
                Shown = true;
                action(f);
                // A failing case must not hang on a dialog left open.
                QPointer<TNameForm> alive(f);
                QTimer::singleShot(2000, [alive] {
                    if (alive && alive->Modal()) alive->SetModalResult(mrAbort);
                });
            } else if (tries < 300) {
                Poll(action, tries + 1);
            }
        });
    }
};

// Ends a modal run that a failed check left open, so the failure shows instead of a hang.
void EndRunLeftOpen(TForm& form)
{
    QTimer::singleShot(10000, &form, [&form] {
        if (form.Modal()) form.SetModalResult(mrAbort);
    });
}

void TypeKeys(QWidget* w, const QString& keys)
{
    for (QChar ch : keys)
        QTest::keyClick(w, ch.toLatin1());
}

void SendPreedit(QWidget* w, const QString& preedit)
{
    QInputMethodEvent event(preedit, {});
    QCoreApplication::sendEvent(w, &event);
}

void DeleteLaterNow()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The leftmost column in [from, to) with ink (not white) in the text band of a row, or -1. The band
// leaves out the row's edges, where the focus rectangle goes.
int FirstInk(const QImage& img, const TRect& row, int from, int to)
{
    for (int x = from; x < to; ++x)
        for (int y = row.Top + 2; y < row.Bottom - 2; ++y) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() + c.green() + c.blue() < 600) return x;
        }
    return -1;
}

struct TInkCount
{
    int Blue = 0;
    int Dark = 0;
};
TInkCount InkIn(const QImage& img, const QRect& r)
{
    TInkCount n;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const QColor c = img.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 110 && c.green() < 110) ++n.Blue;
            if (c.red() < 110 && c.green() < 110 && c.blue() < 110) ++n.Dark;
        }
    return n;
}

} // namespace

class TestHighScoreWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir FFolder;
    QString FOldFolder;

    QString ScorePath() const { return FFolder.filePath(QStringLiteral("cscore.dat")); }

private slots:
    void initTestCase()
    {
        FOldFolder = ProgramFolder;
        ProgramFolder = FFolder.path() + u'/';
        SetMessageBoxHook(RecordBox);
        TApplication::InstallFontSubstitutions();
    }
    void cleanupTestCase()
    {
        SetMessageBoxHook(nullptr);
        ProgramFolder = FOldFolder;
    }
    void init()
    {
        gBoxes.clear();
        gAnswer = IDOK;
        QFile::remove(ScorePath());
    }
    void cleanup()
    {
        delete ScoreForm.data();
        DeleteLaterNow();
        QVERIFY(!ScoreFormExists);
    }

    void playersRowIsBlueBoldWithItsStar()
    {
        // The same name and score twice: only the player's flag tells the rows apart.
        WriteAll(ScorePath(), FileOf({{QStringLiteral("홍길동"), 900}, {QStringLiteral("홍길동"), 900}}));
        TScoreForm form;
        QCOMPARE(form.Scores().List().size(), 2);
        form.Scores().List()[1].You = true;
        form.ListBox1->SetItemIndex(1);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage img = RenderWidget(form.ListBox1);
        img.save(TestOutputFolder() + QStringLiteral("/score-rows.png"));

        const TRect r0 = form.ListBox1->ItemRect(0);
        const TRect r1 = form.ListBox1->ItemRect(1);
        // Name to language, leaving out the rank column with the star and the focus rectangle's edges.
        const QRect texts0(r0.Left + 46, r0.Top + 1, 440, 16);
        const QRect texts1(r1.Left + 46, r1.Top + 1, 440, 16);
        const TInkCount normal = InkIn(img, texts0);
        const TInkCount you = InkIn(img, texts1);
        QVERIFY(normal.Dark > 50);
        QCOMPARE(normal.Blue, 0);
        QCOMPARE(you.Dark, 0);
        QVERIFY2(you.Blue > normal.Dark, "the bold blue row has more ink than the plain black one");

        const QColor star = img.pixelColor(r1.Left + 1 + 8, r1.Top + 1 + 7);
        QVERIFY2(star.red() > 200 && star.green() > 140 && star.blue() < 120, qPrintable(star.name()));
        const QColor noStar = img.pixelColor(r0.Left + 1 + 8, r0.Top + 1 + 7);
        QCOMPARE(noStar, QColor(Qt::white));
    }

    void ranksLineUpOnTheRight()
    {
        QList<int> scores;
        for (int i = 0; i < 12; ++i)
            scores << 1200 - 100 * i;
        WriteAll(ScorePath(), FileOfScores(scores));
        TScoreForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage img = RenderWidget(form.ListBox1);
        TCanvas* c = form.ListBox1->Canvas();
        c->Font = form.ListBox1->Font();
        const int eight = c->TextWidth(QStringLiteral("8"));
        const TRect nine = form.ListBox1->ItemRect(8);
        const TRect ten = form.ListBox1->ItemRect(9);
        const int x9 = FirstInk(img, nine, nine.Left + 2, nine.Left + 45);
        const int x10 = FirstInk(img, ten, ten.Left + 2, ten.Left + 45);
        // "9" starts a digit-width right of the column's middle minus 3; "10" at the middle minus 3.
        QVERIFY2(x9 >= nine.Left + 22 - 3 + eight && x9 <= nine.Left + 22 - 3 + eight + 2,
                 qPrintable(QString::number(x9)));
        QVERIFY2(x10 >= ten.Left + 22 - 3 && x10 <= ten.Left + 22 - 3 + 2, qPrintable(QString::number(x10)));
    }

    void widenedLevelColumnMovesTheDates()
    {
        WriteAll(ScorePath(), FileOfScores({500}));
        TScoreForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const TRect row = form.ListBox1->ItemRect(0);
        const int dateX = row.Left + 45 + 90 + 120 + 41 + 1;
        const int before = FirstInk(RenderWidget(form.ListBox1), row, dateX - 8, dateX + 20);
        QVERIFY2(before >= dateX && before <= dateX + 2, qPrintable(QString::number(before)));

        // Only the level section's divider moves; the name's is fixed.
        const int nameDivider = 45 + 90;
        QTest::mousePress(form.Header1, Qt::LeftButton, {}, QPoint(nameDivider - 1, 8));
        QTest::mouseMove(form.Header1, QPoint(nameDivider + 30, 8));
        QTest::mouseRelease(form.Header1, Qt::LeftButton, {}, QPoint(nameDivider + 30, 8));
        QCOMPARE(form.Header1->Section(1)->Width(), 90);

        const int levelDivider = 45 + 90 + 120 + 41;
        QTest::mousePress(form.Header1, Qt::LeftButton, {}, QPoint(levelDivider - 1, 8));
        QTest::mouseMove(form.Header1, QPoint(levelDivider + 39, 8));
        QTest::mouseRelease(form.Header1, Qt::LeftButton, {}, QPoint(levelDivider + 39, 8));
        QCOMPARE(form.Header1->Section(3)->Width(), 81);
        QTRY_COMPARE(FirstInk(RenderWidget(form.ListBox1), row, dateX + 30, dateX + 60), before + 40);
    }

    void gameEntersANameThroughTheDialog()
    {
        TFakeLocalTime clock(2026, 12, 10, 14, 5, 9);
        TNameAnswer answer([](TNameForm* f) {
            QVERIFY(QTest::qWaitFor([f] { return f->NameEdit->hasFocus(); }));
            TypeKeys(f->NameEdit, QStringLiteral("Kim"));
            QTest::keyClick(f->NameEdit, Qt::Key_Return);
        });
        SaveUser(120, 3, true);
        QVERIFY(answer.Shown);
        QVERIFY(gBoxes.isEmpty());
        QVERIFY(ScoreFormExists);
        const TScoreList& list = ScoreForm->Scores().List();
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].name, QStringLiteral("Kim"));
        QCOMPARE(list[0].DateTime, QStringLiteral("2026-12-10  14:05:09"));
        QCOMPARE(list[0].GameLanguage, QStringLiteral("영어"));
        QVERIFY(list[0].You);
        QCOMPARE(ScoreForm->ListBox1->Count(), 1);
        QCOMPARE(ScoreForm->ListBox1->ItemIndex(), 0);
        QCOMPARE(ReadAll(ScorePath()).size(), 91);

        // The game shows the window next; it frees itself when closed.
        QPointer<TScoreForm> shown = ScoreForm.data();
        QTimer::singleShot(0, [shown] {
            QVERIFY(shown && shown->isVisible());
            RenderWidget(shown).save(TestOutputFolder() + QStringLiteral("/score-window.png"));
            shown->Close();
        });
        ShowScoreForm();
        DeleteLaterNow();
        QVERIFY(!shown);
        QVERIFY(!ScoreFormExists);
    }

    void scoreZeroAsksNothing()
    {
        TNameAnswer answer([](TNameForm* f) { f->CancelBtnClick(f); });
        SaveUser(0, 1, false);
        QTest::qWait(50);
        QVERIFY(!answer.Shown);
        QVERIFY(ScoreFormExists);
        QVERIFY(!QFile::exists(ScorePath()));
    }

    void cancelWithAFullListStillTrimsIt()
    {
        QList<int> scores;
        for (int i = 0; i < 22; ++i)
            scores << 2200 - 100 * i;
        WriteAll(ScorePath(), FileOfScores(scores));
        TNameAnswer answer([](TNameForm* f) {
            TypeKeys(f->NameEdit, QStringLiteral("abc"));
            QTest::keyClick(f->NameEdit, Qt::Key_Escape);
        });
        SaveUser(5000, 8, false);
        QVERIFY(answer.Shown);
        QCOMPARE(NameResult, QStringLiteral("no"));
        QCOMPARE(ScoreForm->Scores().List().size(), 20);
        QCOMPARE(ScoreForm->ListBox1->Count(), 20);
        QCOMPARE(ScoreForm->ListBox1->ItemIndex(), -1);
        QCOMPARE(ReadAll(ScorePath()).size(), 20 * 91);
    }

    void damagedFileIsReportedOnceAndKept()
    {
        QByteArray bytes = FileOfScores({300, 200});
        bytes[21 + 91] = char(0); // the second record's score is empty
        WriteAll(ScorePath(), bytes);
        TNameAnswer answer([](TNameForm* f) { f->OKBtnClick(f); });
        SaveUser(1000, 2, false);
        QTest::qWait(50);
        QVERIFY(!answer.Shown);
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY2(gBoxes[0].contains(ScorePath()) && gBoxes[0].contains(QStringLiteral("2번째")), qPrintable(gBoxes[0]));
        QCOMPARE(ScoreForm->ListBox1->Count(), 1); // the good record is still shown

        QPointer<TScoreForm> shown = ScoreForm.data();
        QTimer::singleShot(0, [shown] { shown->Close(); });
        ShowScoreForm();
        QCOMPARE(gBoxes.size(), 1);
        QCOMPARE(ReadAll(ScorePath()), bytes);
    }

    void failedSaveIsReportedAndTheListStillShown()
    {
        TFailingSaves locked(EACCES);
        TNameAnswer answer([](TNameForm* f) {
            TypeKeys(f->NameEdit, QStringLiteral("Lee"));
            f->OKBtnClick(f);
        });
        SaveUser(70, 1, true);
        QVERIFY(answer.Shown);
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY2(gBoxes[0].contains(ScorePath()) && gBoxes[0].contains(qt_error_string(EACCES)), qPrintable(gBoxes[0]));
        QCOMPARE(ScoreForm->ListBox1->Count(), 1);
        QCOMPARE(ScoreForm->ListBox1->ItemIndex(), 0);
    }

    void scoreButtonShowsNoPlayersEntry()
    {
        TNameAnswer answer([](TNameForm* f) {
            TypeKeys(f->NameEdit, QStringLiteral("Park"));
            f->OKBtnClick(f);
        });
        SaveUser(70, 1, true);
        QVERIFY(ScoreForm->Scores().List()[0].You);
        QPointer<TScoreForm> form = ScoreForm.data();
        QTimer::singleShot(0, [form] {
            QVERIFY(!form->Scores().List()[0].You);
            form->Close();
        });
        ShowHighScores();
    }

    // The name dialog on its own.

    void enterNeedsAName()
    {
        TNameForm form;
        EndRunLeftOpen(form);
        QTimer::singleShot(0, &form, [&] {
            QTest::keyClick(form.NameEdit, Qt::Key_Return);
            QCOMPARE(form.ModalResult(), mrNone); // an empty box: Enter does nothing
            TypeKeys(form.NameEdit, QStringLiteral("x"));
            QTest::keyClick(form.NameEdit, Qt::Key_Return);
        });
        QCOMPARE(form.ShowModal(), mrOk);
        QCOMPARE(NameResult, QStringLiteral("yes"));
        QCOMPARE(form.NameEdit->Text(), QStringLiteral("x"));
    }

    void okButtonConfirmsAnEmptyName()
    {
        TNameForm form;
        EndRunLeftOpen(form);
        QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.OkBtn, Qt::LeftButton); });
        QCOMPARE(form.ShowModal(), mrOk);
        QCOMPARE(NameResult, QStringLiteral("yes"));
        QCOMPARE(form.NameEdit->Text(), QString());
    }

    void shownTwiceOpensEmpty()
    {
        TNameForm form;
        EndRunLeftOpen(form);
        QTimer::singleShot(0, &form, [&] {
            TypeKeys(form.NameEdit, QStringLiteral("abc"));
            QTest::mouseClick(form.OkBtn, Qt::LeftButton);
        });
        QCOMPARE(form.ShowModal(), mrOk);
        QCOMPARE(NameResult, QStringLiteral("yes"));
        QTimer::singleShot(0, &form, [&] {
            QCOMPARE(form.NameEdit->Text(), QString());
            QCOMPARE(NameResult, QStringLiteral("no"));
            QVERIFY(QTest::qWaitFor([&] { return form.NameEdit->hasFocus(); }));
            QTest::mouseClick(form.CancelBtn, Qt::LeftButton);
        });
        QCOMPARE(form.ShowModal(), mrCancel);
        QCOMPARE(NameResult, QStringLiteral("no"));
    }

    void syllableBeingComposedIsPartOfTheName_data()
    {
        QTest::addColumn<bool>("system");
        QTest::addColumn<bool>("enter");
        QTest::newRow("built-in composer, OK button") << false << false;
        QTest::newRow("built-in composer, Enter") << false << true;
        QTest::newRow("system input method, OK button") << true << false;
        QTest::newRow("system input method, Enter") << true << true;
    }
    void syllableBeingComposedIsPartOfTheName()
    {
        QFETCH(bool, system);
        QFETCH(bool, enter);
        TNameForm form;
        EndRunLeftOpen(form);
        QTimer::singleShot(0, &form, [&] {
            form.NameEdit->SetConversionMode(IME_CMODE_NATIVE);
            if (system)
                SendPreedit(form.NameEdit, QStringLiteral("한"));
            else
                TypeKeys(form.NameEdit, QStringLiteral("gks"));
            QVERIFY(form.NameEdit->IsComposing());
            if (enter)
                QTest::keyClick(form.NameEdit, Qt::Key_Return);
            else
                QTest::mouseClick(form.OkBtn, Qt::LeftButton);
        });
        QCOMPARE(form.ShowModal(), mrOk);
        QCOMPARE(NameResult, QStringLiteral("yes"));
        QCOMPARE(form.NameEdit->Text(), QStringLiteral("한"));
    }

    void resetButtonFocusesTheBoxAndKeepsTheName()
    {
        TNameForm form;
        EndRunLeftOpen(form);
        QTimer::singleShot(0, &form, [&] {
            QVERIFY(QTest::qWaitFor([&] { return form.NameEdit->hasFocus(); }));
            TypeKeys(form.NameEdit, QStringLiteral("abc"));
            QTest::keyClick(form.NameEdit, Qt::Key_Tab);
            QVERIFY(form.InitBtn->hasFocus());
            RenderWidget(&form).save(TestOutputFolder() + QStringLiteral("/name-dialog.png"));
            QTest::keyClick(form.InitBtn, Qt::Key_Return); // Enter on the focused button clicks it
            QCOMPARE(form.ModalResult(), mrNone);
            QVERIFY(form.NameEdit->hasFocus());
            QCOMPARE(form.NameEdit->Text(), QStringLiteral("abc"));
            QTest::keyClick(form.NameEdit, Qt::Key_Escape);
        });
        QCOMPARE(form.ShowModal(), mrCancel);
        QCOMPARE(NameResult, QStringLiteral("no"));
    }
};

QTEST_MAIN(TestHighScoreWindows)
#include "tst_highscorewindows.moc"
