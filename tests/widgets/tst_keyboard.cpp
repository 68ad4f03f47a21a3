// Keyboard practice with its windows: the setup dialog's settings, its one-of-fifteen position boxes and
// their enable ranges, OK and Cancel, and the practice window's keys, lamp and setup button.
#include "engine/VornixMisc.h"
#include "platform/Dialogs.h"
#include "platform/HtmlHelp.h"
#include "platform/Sound.h"
#include "screens/MainUnit.h"
#include "screens/Unit6.h"
#include "screens/keySetupUnit.h"
#include "tests/support/MessageBoxLog.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtil.h"

#include <QPointer>
#include <QtTest>

#include <cerrno>

namespace {
QStringList gSounds;

// Which of the fifteen boxes are checked ("0" .. "14", joined by spaces).
QString Checked(TkeySetUpForm* f)
{
    QStringList s;
    for (int i = 0; i < 15; ++i)
        if (f->KeyBox[size_t(i)]->Checked()) s << QString::number(i);
    return s.join(u' ');
}
QString Enabled(TkeySetUpForm* f)
{
    QStringList s;
    for (int i = 0; i < 15; ++i)
        if (f->KeyBox[size_t(i)]->Enabled()) s << QString::number(i);
    return s.join(u' ');
}

void ClickBox(TCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

// The lamp's colour where its glass is, by hue.
QString LampColour(TForm6* w)
{
    const QImage img = RenderWidget(w);
    const int hue = img.pixelColor(w->OXBtn->x() + 22, w->OXBtn->y() + 30).hsvHue();
    if (hue >= 35 && hue <= 65) return QStringLiteral("yellow");
    if (hue >= 90 && hue <= 150) return QStringLiteral("green");
    if (hue >= 0 && (hue <= 15 || hue >= 345)) return QStringLiteral("red");
    return QString::number(hue);
}
} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FTemp;
    QString IniPath() const { return ProgramFolder + QStringLiteral("Zavlin.ini"); }

    TkeySetUpForm* Dialog()
    {
        keySetUpForm = new TkeySetUpForm(nullptr);
        return keySetUpForm;
    }
    // The dialog's OK, as a click on the button; the dialog closes and frees itself later.
    void Ok(TkeySetUpForm* f) { f->OkBtn->Click(); }

private slots:
    void init()
    {
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = FTemp->path() + u'/';
        DataFolderOverride = ProgramFolder + QStringLiteral("data/"); // refuses files with the program folder
        gBoxes.clear();
        gAnswer = IDOK;
        gSounds.clear();
        SetMessageBoxHook(RecordBox);
        SetSoundHook([](const QString& name) { gSounds << name; });
    }
    void cleanup()
    {
        delete keySetUpForm;
        delete Form6;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CloseSettings();
        SetSoundHook(nullptr);
    }

    void firstRunDefaults()
    {
        TkeySetUpForm* f = Dialog();
        QCOMPARE(f->langGroup->ItemIndex(), 0);
        QCOMPARE(Checked(f), QStringLiteral("0"));
        QVERIFY(f->SpeakerOffCheckBox->Checked());
        QVERIFY(!f->KeyGuideBox->Checked());
        QCOMPARE(Enabled(f), QStringLiteral("0 1 2 3 4 5 6 7 8"));
        QVERIFY(!SettingsFile);
        QVERIFY(!QFile::exists(IniPath()));
    }

    void storedChoicesAreRead_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<bool>("speakerOff");
        QTest::addColumn<bool>("keyGuideOff");
        QTest::newRow("final, group 3") << "[keyboard]\nlanguage=3\nposition=13\nspeaker off=0\n[keyguide]\noff=1\n"
                                        << 3 << "13" << false << true;
        QTest::newRow("3-90 Shift") << "[keyboard]\nlanguage=2\nposition=10\n" << 2 << "10" << true << false;
        QTest::newRow("language 4 is 2-set") << "[keyboard]\nlanguage=4\nposition=2\n" << 0 << "2" << true << false;
        QTest::newRow("language -1 is 2-set") << "[keyboard]\nlanguage=-1\n" << 0 << "0" << true << false;
        QTest::newRow("position past the boxes") << "[keyboard]\nposition=15\n" << 0 << "" << true << false;
        QTest::newRow("position -1") << "[keyboard]\nposition=-1\n" << 0 << "" << true << false;
        QTest::newRow("3-set position with 2-set moves to 0") << "[keyboard]\nlanguage=0\nposition=11\n"
                                                              << 0 << "0" << true << false;
    }
    void storedChoicesAreRead()
    {
        QFETCH(QString, ini);
        QFETCH(int, item);
        QFETCH(QString, checked);
        QFETCH(bool, speakerOff);
        QFETCH(bool, keyGuideOff);
        WriteAll(IniPath(), ini.toUtf8());
        TkeySetUpForm* f = Dialog();
        QCOMPARE(f->langGroup->ItemIndex(), item);
        QCOMPARE(Checked(f), checked);
        QCOMPARE(f->SpeakerOffCheckBox->Checked(), speakerOff);
        QCOMPARE(f->KeyGuideBox->Checked(), keyGuideOff);
    }

    void positionBoxesActAsOneGroup()
    {
        TkeySetUpForm* f = Dialog();
        f->show();
        ClickBox(f->KeyBox[5]);
        QCOMPARE(Checked(f), QStringLiteral("5"));
        ClickBox(f->KeyBox[5]); // the checked box stays checked
        QCOMPARE(Checked(f), QStringLiteral("5"));
        ClickBox(f->KeyBox[8]);
        QCOMPARE(Checked(f), QStringLiteral("8"));
        QTest::keyClick(f->KeyBox[1], Qt::Key_Space);
        QCOMPARE(Checked(f), QStringLiteral("1"));
        f->KeyBox[7]->Click();
        QCOMPARE(Checked(f), QStringLiteral("7"));
        QVERIFY(!KeyBoxChanging);
    }

    void enableRangesFollowTheLayout_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<TColor>("headingColour");
        QTest::newRow("2-set") << 0 << "0 1 2 3 4 5 6 7 8" << TColor(0xE0E0E0);
        QTest::newRow("English") << 1 << "0 1 2 3 4 5 6 7 8" << TColor(0xE0E0E0);
        QTest::newRow("3-90") << 2 << "0 1 2 3 4 5 6 7 8 9 10" << TColor(0x00FFFF);
        QTest::newRow("final") << 3 << "0 1 2 3 4 5 6 7 8 9 11 12 13 14" << TColor(0x00FFFF);
    }
    void enableRangesFollowTheLayout()
    {
        QFETCH(int, item);
        QFETCH(QString, enabled);
        QFETCH(TColor, headingColour);
        TkeySetUpForm* f = Dialog();
        f->langGroup->SetItemIndex(3);
        f->langGroup->SetItemIndex(item);
        QCOMPARE(Enabled(f), enabled);
        QCOMPARE(f->H3Label->Color(), headingColour);
    }

    void aDisabledChoiceMovesToTheHomeRowForGood()
    {
        TkeySetUpForm* f = Dialog();
        f->show();
        f->langGroup->SetItemIndex(2);
        ClickBox(f->KeyBox[9]);
        QCOMPARE(Checked(f), QStringLiteral("9"));
        f->langGroup->SetItemIndex(0);
        QCOMPARE(Checked(f), QStringLiteral("0"));
        f->langGroup->SetItemIndex(2);
        QCOMPARE(Checked(f), QStringLiteral("0"));
        // The group still works after the program moved the check.
        ClickBox(f->KeyBox[10]);
        QCOMPARE(Checked(f), QStringLiteral("10"));
        f->langGroup->SetItemIndex(3);
        QCOMPARE(Checked(f), QStringLiteral("0"));
        QVERIFY(!f->KeyBox[10]->Enabled());
    }

    void okWritesExactlyItsKeys()
    {
        const QByteArray before = "; mine\n[mainform]\nwidth=900\n[keyboard]\nlanguage=0\nother=x\n";
        WriteAll(IniPath(), before);
        TkeySetUpForm* f = Dialog();
        f->langGroup->SetItemIndex(3);
        ClickBox(f->KeyBox[12]);
        f->SpeakerOffCheckBox->SetChecked(false);
        f->KeyGuideBox->SetChecked(true);
        Ok(f);
        QCOMPARE(ReadAll(IniPath()), QByteArray("; mine\n[mainform]\nwidth=900\n[keyboard]\nlanguage=3\nother=x\n"
                                                "position=12\nspeaker off=0\n\n[keyguide]\noff=1\n"));
        QVERIFY(!SettingsFile);
    }

    void cancelAndEscLeaveTheFileAsItWas_data()
    {
        QTest::addColumn<bool>("esc");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelAndEscLeaveTheFileAsItWas()
    {
        QFETCH(bool, esc);
        const QByteArray before = "[keyboard]\r\nlanguage=1\r\nposition=3\r\n";
        WriteAll(IniPath(), before);
        QPointer<TkeySetUpForm> f = Dialog();
        f->langGroup->SetItemIndex(2);
        ClickBox(f->KeyBox[10]);
        f->KeyGuideBox->SetChecked(true);
        QTimer::singleShot(0, f, [f, esc] {
            if (esc)
                QTest::keyClick(f->KeyGuideBox, Qt::Key_Escape);
            else
                f->CancelBtn->Click();
        });
        QCOMPARE(f->ShowModal(), mrCancel);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f);
        QCOMPARE(ReadAll(IniPath()), before);
        QVERIFY(!Form6Created);
    }

    void okMakesThePracticeWindowOnceAndSetsItUp()
    {
        TkeySetUpForm* f = Dialog();
        f->langGroup->SetItemIndex(1);
        ClickBox(f->KeyBox[0]);
        Ok(f);
        QVERIFY(Form6Created);
        QPointer<TForm6> w = Form6;
        QCOMPARE(w->windowTitle(), QStringLiteral("키보드 연습 - 영문 QWERTY: 기본자리"));
        QVERIFY(w->isVisible());
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(w->KeyMap['A'], w->CharCaps[26]);
        QCOMPARE(w->KeyMap[192]->Name(), QStringLiteral("Key192"));
        QCOMPARE(w->findChild<TKeybdButton*>(QStringLiteral("key65"))->Caption(), QStringLiteral("A"));

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f = Dialog();
        f->langGroup->SetItemIndex(3);
        ClickBox(f->KeyBox[13]);
        Ok(f);
        QCOMPARE(Form6, w.data()); // the open window is set up again
        QCOMPARE(w->windowTitle(),
                 QStringLiteral("키보드 연습 - 한글 3 벌식 소리결 최종글판: 최종글판 - Shift + 왼쪽 세째줄"));
        QCOMPARE(w->KeyMap['A']->Caption(), QStringLiteral("ㄷ"));
        QCOMPARE(w->KeyMap['A']->Alignment(), KeybdButton::TAlignment::alBottomCenter);
        QCOMPARE(w->KeyMap['G']->Caption(), QStringLiteral("ㅒ"));
        QCOMPARE(w->KeyMap['A']->Font().Name, QStringLiteral("바탕체"));
        QVERIFY(w->ShiftLabel->Visible());

        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QVERIFY(!Form6Created);
        QVERIFY(!Form6);
    }

    void aFailedWriteIsReportedOnceAndPracticeStarts()
    {
        TFailingSaves readOnly(EACCES);
        TkeySetUpForm* f = Dialog();
        Ok(f);
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY2(gBoxes[0].contains(QStringLiteral("Zavlin.ini")), qPrintable(gBoxes[0]));
        QVERIFY(!SettingsFile);
        QVERIFY(Form6Created);
        QVERIFY(Form6->isVisible());
    }

    void releasesOfKeysPressedElsewhereAreNoAnswers()
    {
        TkeySetUpForm* f = Dialog();
        f->SpeakerOffCheckBox->SetChecked(false);
        Ok(f);
        TForm6* w = Form6;
        QApplication::setActiveWindow(w);
        const int problem = w->Practice.ProblemKey;
        // The dialog's Esc, Alt+Y and a plain y come up here.
        QTest::keyRelease(w, Qt::Key_Escape);
        QTest::keyRelease(w, Qt::Key_Y, Qt::AltModifier);
        QTest::keyRelease(w, Qt::Key_Alt);
        QTest::keyRelease(w, Qt::Key_Y);
        QCOMPARE(w->Practice.WrongCount, 0);
        QCOMPARE(w->Practice.ProblemKey, problem);
        QVERIFY(gSounds.isEmpty());
        // Tab is a key like any other.
        QTest::keyClick(w, Qt::Key_Tab);
        QCOMPARE(w->Practice.WrongCount, 1);
        QCOMPARE(gSounds, QStringList{QStringLiteral("WRONGKEY")});
        QTest::keyClick(w, Qt::Key(problem));
        QCOMPARE(gSounds.last(), QStringLiteral("CORRECTKEY"));
        QVERIFY(w->Practice.ProblemKey != problem);
        QCOMPARE(w->ExLabel->Caption(), w->KeyMap[size_t(w->Practice.ProblemKey)]->Caption());
    }

    // The X server repeats a held key as releases and presses with one time stamp, not marked as repeats.
    void aHeldKeyIsOneAnswer_data()
    {
        QTest::addColumn<bool>("problemKey");
        QTest::addColumn<QStringList>("sounds");
        QTest::newRow("a wrong key") << false << QStringList{QStringLiteral("WRONGKEY")};
        QTest::newRow("the problem key") << true << QStringList{QStringLiteral("CORRECTKEY")};
    }
    void aHeldKeyIsOneAnswer()
    {
        QFETCH(bool, problemKey);
        QFETCH(QStringList, sounds);
        TkeySetUpForm* f = Dialog();
        f->SpeakerOffCheckBox->SetChecked(false);
        Ok(f);
        QPointer<TForm6> w = Form6;
        QApplication::setActiveWindow(w);
        const int problem = w->Practice.ProblemKey;
        const int key = problemKey ? problem : int(Qt::Key_Space);
        const QString text = QString(QChar(key)).toLower();
        auto send = [&](QEvent::Type type, quint64 time) {
            QKeyEvent event(type, key, Qt::NoModifier, 0, 0, 0, text);
            event.setTimestamp(time);
            QCoreApplication::sendEvent(w, &event);
        };
        send(QEvent::KeyPress, 1000);
        for (quint64 time = 1500; time <= 2500; time += 33) {
            send(QEvent::KeyRelease, time);
            send(QEvent::KeyPress, time);
        }
        send(QEvent::KeyRelease, 2600);
        QTRY_COMPARE(gSounds, sounds);
        QTest::qWait(60);
        QCOMPARE(gSounds, sounds);
        QCOMPARE(w->Practice.WrongCount, problemKey ? 0 : 1);
        QCOMPARE(w->Practice.ProblemKey != problem, problemKey);
        // A release still held back when the window closes is no answer.
        send(QEvent::KeyPress, 3000);
        send(QEvent::KeyRelease, 3100);
        w->close();
        QTest::qWait(60);
        QCOMPARE(gSounds, sounds);
    }

    void lampShowsEachAnswerThenTurnsYellow()
    {
        TkeySetUpForm* f = Dialog();
        Ok(f);
        TForm6* w = Form6;
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(LampColour(w), QStringLiteral("yellow"));
        QTest::keyClick(w, Qt::Key_Space);
        QCOMPARE(LampColour(w), QStringLiteral("red"));
        TPaintCounter painted(w->OXBtn);
        QTest::keyClick(w, Qt::Key(w->Practice.ProblemKey));
        QVERIFY(painted.Count > 0);
        QCOMPARE(LampColour(w), QStringLiteral("green")); // at once, not the red of the answer before
        QTRY_COMPARE_WITH_TIMEOUT(LampColour(w), QStringLiteral("yellow"), 2000);
        QVERIFY(!w->ReturnTimer->Enabled());
    }

    void theMenuIsHiddenWhileThePracticeWindowIsOpen()
    {
        auto main = std::make_unique<TMainForm>();
        MainForm = main.get();
        TkeySetUpForm* f = Dialog();
        Ok(f);
        QCOMPARE(main->KeyBtn->Caption(), QString());
        QVERIFY(!main->HelpBtn->Visible());
        Form6->close();
        QCOMPARE(main->KeyBtn->Caption(), QStringLiteral("키보드연습(&K)"));
        QVERIFY(main->HelpBtn->Visible());
        MainForm = nullptr;
    }

    void helpOpensTheKeyboardPage()
    {
        QDir(FTemp->path()).mkdir(QStringLiteral("help"));
        WriteAll(FTemp->path() + QStringLiteral("/help/키보드연습.htm"), "<html><body>키보드연습</body></html>");
        TkeySetUpForm* f = Dialog();
        f->HelpBtn->Click();
        QCOMPARE(HtmlHelpCurrentPage(), FTemp->path() + QStringLiteral("/help/키보드연습.htm"));
        QVERIFY(gBoxes.isEmpty());
    }

    void setupButtonOpensTheDialogAboveTheWindow()
    {
        TkeySetUpForm* f = Dialog();
        Ok(f);
        TForm6* w = Form6;
        bool opened = false, onTop = false;
        QTimer::singleShot(50, w, [&] {
            opened = keySetUpForm && keySetUpForm->isVisible();
            onTop = opened && (keySetUpForm->windowFlags() & Qt::WindowStaysOnTopHint);
            if (keySetUpForm) keySetUpForm->CancelBtn->Click();
        });
        QTest::mouseClick(w->SetUpBtn, Qt::LeftButton, Qt::NoModifier, QPoint(50, 20));
        QVERIFY(opened);
        QVERIFY(onTop);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
