// The sentence setup dialog: what it shows from the settings, its enable rules and messages, the picture
// list, the font and colour dialogs, Esc, and starting practice.
#include "engine/VornixMisc.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "screens/SentenceSetupUnit.h"
#include "screens/SentenceUnit.h"
#include "tests/support/MessageBoxLog.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtil.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>

namespace {
int gPictureDialogs = 0;
QString gPictureAnswer;

QString MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QString();
}
} // namespace

class TestSentenceSetup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FTemp;
    QString Ini() const { return ProgramFolder + QStringLiteral("Zavlin.ini"); }
    QString Picture(const QString& name, int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        const QString path = ProgramFolder + name;
        img.save(path);
        return path;
    }
    void WriteTexts(const QStringList& names)
    {
        QDir().mkpath(ProgramFolder + QStringLiteral("Text"));
        for (const QString& n : names)
            WriteAll(ProgramFolder + QStringLiteral("Text/") + n, "\xef\xbb\xbfline one\nline two\n");
    }
    static QStringList Items(TCheckListBox* list)
    {
        QStringList out;
        for (int i = 0; i < list->Count(); ++i)
            out << QString::fromLatin1(list->Checked(i) ? "1" : "0") +
                       QString::fromLatin1(list->Objects(i).value<QImage>().isNull() ? "-" : "+") +
                       QFileInfo(list->ItemText(i)).fileName();
        return out;
    }

private slots:
    void initTestCase()
    {
        SetMessageBoxHook(RecordBox);
        SetOpenPictureDialogHook([](QString& file) {
            ++gPictureDialogs;
            if (gPictureAnswer.isEmpty()) return false;
            file = gPictureAnswer;
            return true;
        });
    }
    void cleanupTestCase()
    {
        SetMessageBoxHook(nullptr);
        SetOpenPictureDialogHook(nullptr);
        SetFontDialogHook(nullptr);
        SetColorDialogHook(nullptr);
    }
    void init()
    {
        CloseSettings();
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = FTemp->path() + u'/';
        DataFolderOverride = ProgramFolder + QStringLiteral("data/");
        SentenceSetup = TSentenceSetupRec();
        gBoxes.clear();
        gAnswer = IDYES;
        gPictureDialogs = 0;
        gPictureAnswer.clear();
    }
    void cleanup()
    {
        if (SentenceForm) {
            SentenceForm->close();
            delete SentenceForm;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CloseSettings();
    }

    void opensWithTheStoredOptions()
    {
        const QString a = Picture(QStringLiteral("a.png"), 160, 40);
        const QString c = Picture(QStringLiteral("c.png"), 40, 160);
        {
            TIniFile ini(Ini());
            const QString s = QStringLiteral("SentenceSetup");
            ini.WriteInteger(s, QStringLiteral("SpeedLimit"), 350);
            ini.WriteBool(s, QStringLiteral("UseSpeedLimit"), true);
            ini.WriteBool(s, QStringLiteral("UseSound"), false);
            ini.WriteBool(s, QStringLiteral("ShowWrongJohap"), false);
            // The middle picture was moved away since: it stays listed, without a thumbnail.
            ini.WriteString(s, QStringLiteral("BackImage"), "1" + a + "|0" + ProgramFolder + "moved.png|0" + c + "|");
            ini.WriteInteger(s, QStringLiteral("FontColor"), 0x00804020);
            ini.WriteInteger(s, QStringLiteral("FontSize"), 30);
            ini.WriteString(s, QStringLiteral("FontName"), QStringLiteral("바탕"));
            ini.WriteBool(s, QStringLiteral("FontBold"), false);
            ini.WriteBool(s, QStringLiteral("FontItalic"), true);
            ini.WriteInteger(s, QStringLiteral("WrongMarkColor"), 0x00FF0000);
        }
        TSentenceSetupForm f;
        QCOMPARE(f.edtSpeedLimit->Value(), 350);
        QVERIFY(f.chkSpeedLimit->Checked());
        QVERIFY(!f.chkUseSound->Checked());
        QVERIFY(!f.chkShowWrongJohap->Checked());
        QCOMPARE(Items(f.lbBackImage), (QStringList{"1+a.png", "0-moved.png", "0+c.png"}));
        QCOMPARE(f.lbBackImage->Objects(0).value<QImage>().size(), QSize(80, 20));
        QCOMPARE(f.lbBackImage->Objects(2).value<QImage>().size(), QSize(20, 80));
        QCOMPARE(f.PreviewFont().Name, QStringLiteral("바탕"));
        QCOMPARE(f.PreviewFont().Size(), 30);
        QCOMPARE(f.PreviewFont().Color, TColor(0x00804020));
        QCOMPARE(f.PreviewFont().Style, TFontStyles(fsItalic));
        QCOMPARE(f.SentenceExample->WrongMarkColor(), TColor(0x00FF0000));
        QCOMPARE(f.SentenceExample->FontColor(), TColor(0x00804020));
        QVERIFY(f.SentenceExample->font().italic());
        QVERIFY(!f.SentenceExample->font().bold());
        QCOMPARE(f.SentenceExample->Sentences()[0]->problem, QStringLiteral("Vornix Mosa ABC"));
        QCOMPARE(f.SentenceExample->Sentences()[0]->typed, QStringLiteral("Vornax Jata CBA"));
        QVERIFY(f.SentenceExample->ReadOnly());
    }

    void emptySettingsGiveTheDefaultsAndNoPictures()
    {
        TSentenceSetupForm f;
        QCOMPARE(f.lbBackImage->Count(), 0);
        QCOMPARE(f.edtSpeedLimit->Value(), 150);
        QVERIFY(!f.chkSpeedLimit->Checked());
        QVERIFY(f.chkUseSound->Checked());
        QVERIFY(f.chkShowWrongJohap->Checked());
        QCOMPARE(f.PreviewFont().Name, QStringLiteral("굴림체"));
        QCOMPARE(f.PreviewFont().Style, TFontStyles(fsBold));
    }

    void textsAreListedWithAlternatingIcons()
    {
        WriteTexts({"[한글]문장.txt", "[영어]abc.txt", "Mixed.TXT"});
        TSentenceSetupForm f;
        QCOMPARE(f.lvText->ItemCount(), 3);
        QStringList captions;
        QList<int> icons;
        for (int i = 0; i < 3; ++i) {
            captions << f.lvText->Item(i)->Caption();
            icons << f.lvText->Item(i)->ImageIndex();
        }
        QCOMPARE(captions, (QStringList{"[영어]abc", "[한글]문장", "Mixed"}));
        QCOMPARE(icons, (QList<int>{1, 0, 1}));
    }

    void startButtonsNeedAText()
    {
        WriteTexts({"a.txt"});
        TSentenceSetupForm f;
        QVERIFY(!f.btnLong->Enabled());
        QVERIFY(!f.btnShort->Enabled());
        QVERIFY(!f.lblSelectFile->isHidden());
        QVERIFY(f.btnHelp->Enabled());
        QCOMPARE(MessageOf([&] { f.btnLongClick(nullptr); }), QStringLiteral("연습할 글을 선택하세요."));
        QVERIFY(!QFile::exists(Ini()));
        QVERIFY(!SentenceForm);
        f.lvText->SetItemIndex(0);
        QVERIFY(f.btnLong->Enabled());
        QVERIFY(f.btnShort->Enabled());
        QVERIFY(f.lblSelectFile->isHidden());
    }

    void theLearnersOwnTextsAreListedAndStarted()
    {
        WriteTexts({"[영어]Sea.txt", "[한글]Mine.txt"});
        const QString own = UserDataFolder() + QStringLiteral("Text/");
        QDir().mkpath(own);
        WriteAll(own + QStringLiteral("[한글]Mine.txt"), "\xef\xbb\xbfmy own line\n");
        WriteAll(own + QStringLiteral("[영어]Added.txt"), QByteArray("\xef\xbb\xbf") + "added\n");
        TSentenceSetupForm f;
        QStringList captions;
        for (int i = 0; i < f.lvText->ItemCount(); ++i)
            captions << f.lvText->Item(i)->Caption();
        QCOMPARE(captions, (QStringList{"[영어]Added", "[영어]Sea", "[한글]Mine"}));
        f.lvText->SetItemIndex(2);
        f.btnShortClick(nullptr);
        QVERIFY(SentenceForm);
        QCOMPARE(SentenceForm->TextFn(), own + QStringLiteral("[한글]Mine.txt"));
        QCOMPARE(SentenceForm->SenEx->Sentences()[0]->problem, QStringLiteral("my own line"));
    }

    void startStoresTheOptionsAndOpensTheRealFile()
    {
        WriteTexts({"[한글]Story.TXT"});
        const QString a = Picture(QStringLiteral("a.png"), 50, 50);
        TSentenceSetupForm f;
        f.lvText->SetItemIndex(0);
        f.edtSpeedLimit->SetValue(400);
        f.chkSpeedLimit->SetChecked(true);
        f.chkUseSound->SetChecked(false);
        gPictureAnswer = a;
        f.btnAddImageClick(nullptr);
        f.btnShortClick(nullptr);
        QCOMPARE(f.ModalResult(), mrOk);
        QVERIFY(SentenceForm);
        QCOMPARE(SentenceForm->TextFn(), ProgramFolder + QStringLiteral("Text/[한글]Story.TXT"));
        QVERIFY(SentenceForm->isVisible());
        QCOMPARE(SentenceForm->SenEx->SentenceCount(), 1);
        QCOMPARE(SentenceForm->SenEx->Sentences()[0]->problem, QStringLiteral("line one"));
        CloseSettings();
        TIniFile ini(Ini());
        const QString s = QStringLiteral("SentenceSetup");
        QCOMPARE(ini.ReadInteger(s, QStringLiteral("SpeedLimit"), 0), 400);
        QCOMPARE(ini.ReadBool(s, QStringLiteral("UseSpeedLimit"), false), true);
        QCOMPARE(ini.ReadBool(s, QStringLiteral("UseSound"), true), false);
        QCOMPARE(ini.ReadString(s, QStringLiteral("BackImage"), QString()), "1" + a);
        QCOMPARE(ini.ReadString(s, QStringLiteral("FontName"), QString()), QStringLiteral("굴림체"));
        QCOMPARE(ini.ReadInteger(s, QStringLiteral("FontSize"), 0), 22);
    }

    // As keyboard practice and the game do: the failed save is reported once and practice starts.
    void unwritableSettingsAreReportedOnceAndPracticeStarts_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("isLong");
        QTest::newRow("read-only folder, short") << int(TSaveStep::Opened) << EACCES << false;
        QTest::newRow("full disk, long") << int(TSaveStep::Flushed) << ENOSPC << true;
    }
    void unwritableSettingsAreReportedOnceAndPracticeStarts()
    {
        QFETCH(int, step);
        QFETCH(int, error);
        QFETCH(bool, isLong);
        WriteTexts({"a.txt"});
        const QByteArray before = "[mainform]\nwidth=900\n";
        WriteAll(Ini(), before);
        TSentenceSetupForm f;
        f.lvText->SetItemIndex(0);
        f.edtSpeedLimit->SetValue(600);
        {
            TFailingSaves failing(error, TSaveStep(step));
            if (isLong)
                f.btnLongClick(nullptr);
            else
                f.btnShortClick(nullptr);
            QCOMPARE(gBoxes.size(), 1);
            QVERIFY2(gBoxes[0].contains(QStringLiteral("Unable to write to %1").arg(Ini())) &&
                         gBoxes[0].contains(qt_error_string(error)),
                     qPrintable(gBoxes[0]));
            QCOMPARE(f.ModalResult(), mrOk);
            QVERIFY(SentenceForm && SentenceForm->isVisible());
            QCOMPARE(SentenceForm->SenEx->SentenceCount(), isLong ? 4 : 1);
            QCOMPARE(SentenceSetup.SpeedLimit, 600); // practised with the chosen options
            // Nothing of the failed save is left to fail again when the main window closes its settings.
            QVERIFY(!SettingsFile);
            OpenSettings();
            SettingsFile->WriteInteger(QStringLiteral("mainform"), QStringLiteral("width"), 900);
            CloseSettings();
        }
        QCOMPARE(gBoxes.size(), 1);
        QCOMPARE(ReadAll(Ini()), before);
    }

    void escLeavesWithoutStoring()
    {
        WriteTexts({"a.txt"});
        TSentenceSetupForm f;
        f.lvText->SetItemIndex(0);
        f.edtSpeedLimit->SetValue(900);
        QTimer::singleShot(0, &f, [&f] { QTest::keyClick(f.SentenceExample, Qt::Key_Escape); });
        QCOMPARE(f.ShowModal(), mrCancel);
        QVERIFY(!QFile::exists(Ini()));
        QCOMPARE(SentenceSetup.SpeedLimit, 150);
        QVERIFY(!SentenceForm);
    }

    void addingPictures()
    {
        const QString a = Picture(QStringLiteral("a.png"), 2312, 1000);
        TSentenceSetupForm f;
        gPictureAnswer = a;
        f.btnAddImageClick(nullptr);
        QCOMPARE(Items(f.lbBackImage), QStringList{"1+a.png"});
        QCOMPARE(f.lbBackImage->Objects(0).value<QImage>().size(), QSize(80, 34));

        // A picture that cannot be read is listed, checked, without a thumbnail, and said so.
        WriteAll(ProgramFolder + QStringLiteral("bad.png"), "not a picture");
        gPictureAnswer = ProgramFolder + QStringLiteral("bad.png");
        const QString badMessage = MessageOf([&] { f.btnAddImageClick(nullptr); });
        QVERIFY2(badMessage.contains(QStringLiteral("bad.png")) &&
                     badMessage.contains(QStringLiteral("읽을 수 없습니다:")),
                 qPrintable(badMessage));
        QCOMPARE(Items(f.lbBackImage), (QStringList{"1+a.png", "1-bad.png"}));

        // A path that would break the stored list is refused.
        gPictureAnswer = ProgramFolder + QStringLiteral("x|y.png");
        QVERIFY(!MessageOf([&] { f.btnAddImageClick(nullptr); }).isEmpty());
        gPictureAnswer = ProgramFolder + QStringLiteral("x\ny.png");
        QVERIFY(!MessageOf([&] { f.btnAddImageClick(nullptr); }).isEmpty());
        QCOMPARE(f.lbBackImage->Count(), 2);

        // Cancelling the file dialog adds nothing.
        gPictureAnswer.clear();
        QCOMPARE(MessageOf([&] { f.btnAddImageClick(nullptr); }), QString());
        QCOMPARE(f.lbBackImage->Count(), 2);
    }

    void aStoredPictureThatIsAFifoDoesNotStopTheDialog()
    {
        const QString a = Picture(QStringLiteral("a.png"), 16, 16);
        const QString pipe = ProgramFolder + QStringLiteral("pipe.png");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        {
            TIniFile ini(Ini());
            ini.WriteString(QStringLiteral("SentenceSetup"), QStringLiteral("BackImage"), "1" + pipe + "|1" + a);
        }
        TSentenceSetupForm f; // opening the FIFO would wait for a writer for ever
        QCOMPARE(Items(f.lbBackImage), (QStringList{"1-pipe.png", "1+a.png"}));
    }

    void anEleventhPictureIsRefusedBeforeAnyFileDialog()
    {
        const QString a = Picture(QStringLiteral("a.png"), 10, 10);
        QStringList items;
        for (int i = 0; i < 10; ++i)
            items << "1" + a;
        SentenceSetup.BackImage = items.join(u'|');
        TIniFile(Ini()).WriteString(QStringLiteral("SentenceSetup"), QStringLiteral("BackImage"), items.join(u'|'));
        TSentenceSetupForm f;
        QCOMPARE(f.lbBackImage->Count(), 10);
        gPictureAnswer = a;
        QCOMPARE(MessageOf([&] { f.btnAddImageClick(nullptr); }), QStringLiteral("10 개이상 추가할 수 없습니다."));
        QCOMPARE(gPictureDialogs, 0);
        QCOMPARE(f.lbBackImage->Count(), 10);
    }

    void deletingAsksFirst_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("yes with a selection") << 0 << int(IDYES) << 1;
        QTest::newRow("no") << 0 << int(IDNO) << 2;
        QTest::newRow("yes without a selection") << -1 << int(IDYES) << 2;
    }
    void deletingAsksFirst()
    {
        QFETCH(int, selected);
        QFETCH(int, answer);
        QFETCH(int, left);
        const QString a = Picture(QStringLiteral("a.png"), 10, 10);
        TIniFile(Ini()).WriteString(QStringLiteral("SentenceSetup"), QStringLiteral("BackImage"), "1" + a + "|0" + a);
        TSentenceSetupForm f;
        f.lbBackImage->SetItemIndex(selected);
        gAnswer = answer;
        f.btnDeleteImageClick(nullptr);
        QCOMPARE(gBoxes, QStringList{QStringLiteral("삭제 확인:선택된 이미지를 삭제하시겠습니까?")});
        QCOMPARE(f.lbBackImage->Count(), left);
        if (left == 1) QCOMPARE(Items(f.lbBackImage), QStringList{"0+a.png"});
    }

    void fontAndWrongColourDialogsChangeThePreview()
    {
        TSentenceSetupForm f;
        TFont seen;
        SetFontDialogHook([&seen](TFont& font) {
            seen = font;
            font.Name = QStringLiteral("돋움");
            font.SetSize(14);
            font.Color = clBlue;
            font.Style = fsItalic;
            return true;
        });
        f.btnFontClick(nullptr);
        QCOMPARE(seen.Name, QStringLiteral("굴림체"));
        QCOMPARE(seen.Size(), 22);
        QCOMPARE(f.PreviewFont().Name, QStringLiteral("돋움"));
        QCOMPARE(f.SentenceExample->FontColor(), clBlue);
        QVERIFY(f.SentenceExample->font().italic());

        SetFontDialogHook([](TFont& font) {
            font.Name = QStringLiteral("Nope");
            return false;
        });
        f.btnFontClick(nullptr);
        QCOMPARE(f.PreviewFont().Name, QStringLiteral("돋움"));

        TColor start = 0;
        SetColorDialogHook([&start](TColor& c) {
            start = c;
            c = clGreen;
            return true;
        });
        f.btnWrongColorClick(nullptr);
        QCOMPARE(start, clRed);
        QCOMPARE(f.SentenceExample->WrongMarkColor(), clGreen);
        QCOMPARE(f.dlgWrongColor.Options & cdFullOpen, unsigned(cdFullOpen));
        SetFontDialogHook(nullptr);
        SetColorDialogHook(nullptr);
    }

    void pictureItemsDrawThumbnailAndName()
    {
        const QString a = Picture(QStringLiteral("wide.png"), 160, 40);
        TIniFile(Ini()).WriteString(QStringLiteral("SentenceSetup"), QStringLiteral("BackImage"),
                                    "1" + a + "|0" + Picture(QStringLiteral("tall.png"), 40, 160) +
                                        "|1/gone/missing.png");
        TSentenceSetupForm f;
        f.show();
        f.lbBackImage->SetItemIndex(1);
        // For a person to look at: the whole dialog with three pictures, one of them missing.
        RenderWidget(&f).save(TestOutputFolder() + QStringLiteral("/sentence_setup.png"));
        const QImage img = RenderWidget(f.lbBackImage);
        const TRect item = f.lbBackImage->ItemRect(0);
        // The thumbnail is 80 x 20, centred in the 80 high item: green across the middle row, not near the top.
        bool green = false;
        for (int x = item.Left; x < item.Right; ++x)
            if (img.pixelColor(x, item.Top + 40) == QColor(Qt::darkGreen)) green = true;
        QVERIFY(green);
        bool greenAtTop = false;
        for (int x = item.Left; x < item.Right; ++x)
            if (img.pixelColor(x, item.Top + 5) == QColor(Qt::darkGreen)) greenAtTop = true;
        QVERIFY(!greenAtTop);
    }
};

QTEST_MAIN(TestSentenceSetup)
#include "tst_sentencesetup.moc"
