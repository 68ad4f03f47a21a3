// The main menu window: layout, background, the practice-window protocol, the mouse effect, the size
// memory and closing with a read-only settings folder.
#include "components/MenuArt.h"
#include "engine/VornixMisc.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/HtmlHelp.h"
#include "platform/PracticeWindows.h"
#include "platform/Shell.h"
#include "screens/AboutUnit.h"
#include "screens/MainUnit.h"
#include "screens/ProgramInfo.h"
#include "screens/keySetupUnit.h"
#include "tests/support/MessageBoxLog.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WidgetTestUtil.h"

#include <QPainter>
#include <QToolTip>
#include <QtTest>

#include <cerrno>

namespace {
QStringList gOpened;
void RecordShell(const QString& address)
{
    gOpened << address;
}

void Hover(QWidget* w)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(w, &enter);
}
void Unhover(QWidget* w)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w, &leave);
}
} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FTemp;
    std::unique_ptr<TMainForm> FForm;

    TMainForm* Form()
    {
        FForm = std::make_unique<TMainForm>();
        MainForm = FForm.get();
        return FForm.get();
    }

private slots:
    void init()
    {
        FTemp = std::make_unique<QTemporaryDir>();
        ProgramFolder = FTemp->path() + u'/';
        gBoxes.clear();
        gAnswer = IDOK;
        gOpened.clear();
        SetMessageBoxHook(RecordBox);
        SetShellHook(RecordShell);
    }
    void cleanup()
    {
        FForm.reset();
        MainForm = nullptr;
        MainFormFocused = false;
        CloseSettings();
    }

    void layout_data()
    {
        QTest::addColumn<int>("cw");
        QTest::addColumn<int>("ch");
        QTest::addColumn<int>("bannerLeft");
        QTest::addColumn<int>("keyLeft");
        QTest::addColumn<int>("senLeft");
        QTest::addColumn<int>("gameLeft");
        QTest::addColumn<int>("helpTop");
        QTest::addColumn<int>("aboutTop");
        // Design size: the banner is centred with room to spare on its right.
        QTest::newRow("design 1286 x 871") << 1286 << 871 << 130 << 139 << 567 << 995 << 816 << 766;
        // Too narrow to centre it with a right gap of 120: it moves left by what is missing.
        QTest::newRow("1200 x 700") << 1200 << 700 << 54 << 125 << 525 << 925 << 645 << 595;
        QTest::newRow("1145: c = 60") << 1145 << 800 << 0 << 115 << 496 << 877 << 745 << 695;
        QTest::newRow("1025: c = 0") << 1025 << 600 << -120 << 95 << 436 << 777 << 545 << 495;
        // (1000 - 1025) div 2 truncates toward zero: c = -12.
        QTest::newRow("1000: negative c") << 1000 << 600 << -144 << 91 << 424 << 757 << 545 << 495;
        QTest::newRow("odd width 1601") << 1601 << 900 << 288 << 191 << 724 << 1257 << 845 << 795;
    }
    void layout()
    {
        QFETCH(int, cw);
        QFETCH(int, ch);
        const TMainLayout l = ComputeMainLayout(cw, ch);
        QTEST(l.ADBtn.Left, "bannerLeft");
        QCOMPARE(l.ADBtn.Top, ch - 237 - 10);
        QTEST(l.KeyBtn.Left, "keyLeft");
        QTEST(l.SenBtn.Left, "senLeft");
        QTEST(l.GameBtn.Left, "gameLeft");
        QCOMPARE(l.KeyBtn.Top, 63);
        QCOMPARE(l.SenBtn.Top, 76);
        QCOMPARE(l.GameBtn.Top, 55);
        QCOMPARE(l.HelpBtn.Left, cw - 115);
        QCOMPARE(l.AboutBtn.Left, cw - 115);
        QTEST(l.HelpBtn.Top, "helpTop");
        QTEST(l.AboutBtn.Top, "aboutTop");
    }

    void gradientRowsAndTheBolt()
    {
        TMainForm* form = Form();
        form->resize(1286, 871);
        const QImage image = RenderWidget(form);
        // Row i is From + MulDiv(i, d, H) per channel, over the outer height (here the client's, offscreen).
        const int H = form->frameGeometry().height();
        const auto expected = [&](int i) {
            return qRgb((0x00 + int(std::lround(double(i) * 0xCA / H))) & 0xFF,
                        (0x00 + int(std::lround(double(i) * 0xFF / H))) & 0xFF,
                        (0x80 + int(std::lround(double(i) * (0xFF - 0x80) / H))) & 0xFF);
        };
        for (int y : {0, 1, 300, 435, 870})
            QCOMPARE(QColor(image.pixel(1, y)), QColor(expected(y)));
        // The bolt: yellow inside, black on its edge; the polygon is placed around half the height.
        const int h = H / 2;
        QCOMPARE(QColor(image.pixel(190, h - 100)), QColor(Qt::yellow));
        QCOMPARE(QColor(image.pixel(192, h - 165)), QColor(Qt::black));
        QCOMPARE(QColor(image.pixel(300, h)), QColor(expected(h)));
    }

    void keyboardWindowGradientHasNoBolt()
    {
        Form();
        QWidget other;
        other.resize(400, 500);
        QImage image(other.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        TCanvas canvas;
        canvas.AttachPainter(&painter);
        PaintGradient(0xA6A600, 0xF5F5F5, &other, &canvas);
        canvas.Detach();
        painter.end();
        QCOMPARE(QColor(image.pixel(190, 150)), QColor(image.pixel(390, 150)));
    }

    void practiceWindowProtocol()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        MainFormFocused = true;
        PracticeWindowOpened();
        QVERIFY(!form->AboutBtn->Visible() && !form->HelpBtn->Visible());
        for (TEllipseAnnBtn* b : {form->KeyBtn, form->SenBtn, form->GameBtn})
            QCOMPARE(b->Caption(), QString());
        // A running effect shows whether a click went through: every menu click stops it first.
        Hover(form->SenBtn);
        QVERIFY(form->MouseEffectRunning());
        QTest::mouseClick(form->KeyBtn, Qt::LeftButton);
        QVERIFY(form->MouseEffectRunning());

        PracticeWindowClosed();
        QVERIFY(form->AboutBtn->Visible() && form->HelpBtn->Visible());
        QCOMPARE(form->KeyBtn->Caption(), QStringLiteral("키보드연습(&K)"));
        QCOMPARE(form->SenBtn->Caption(), QStringLiteral("문장연습(&S)"));
        QCOMPARE(form->GameBtn->Caption(), QStringLiteral("타자게임(&G)"));
        // The keyboard button opens its setup dialog, closed again here.
        bool opened = false;
        QTimer::singleShot(0, form, [&opened] {
            opened = keySetUpForm && keySetUpForm->isVisible();
            if (keySetUpForm) keySetUpForm->Close();
        });
        QTest::mouseClick(form->KeyBtn, Qt::LeftButton);
        QVERIFY(opened);
        QVERIFY(!form->MouseEffectRunning());
    }

    void mouseEffectNeedsFocusAndAReleasedButton()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        MainFormFocused = false;
        Hover(form->KeyBtn);
        QVERIFY(!form->MouseEffectRunning());
        Unhover(form->KeyBtn);
        MainFormFocused = true;
        form->KeyBtn->FBtnDowned = true;
        Hover(form->KeyBtn);
        QVERIFY(!form->MouseEffectRunning());
        Unhover(form->KeyBtn);
        form->KeyBtn->FBtnDowned = false;
        Hover(form->KeyBtn);
        QVERIFY(form->MouseEffectRunning());
        const TRect r = form->MouseEffectRect();
        QCOMPARE(r.Top, form->KeyBtn->Top() + form->KeyBtn->Height());
        QCOMPARE(r.Left, form->KeyBtn->Left() + (150 - 99) / 2);
    }

    void stoppingTheEffectRestoresTheExactPixels()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        MainFormFocused = true;
        const QImage before = RenderWidget(form);
        Hover(form->GameBtn);
        const TRect r = form->MouseEffectRect();
        const QRect area(r.Left, r.Top, r.Width(), r.Height());
        QVERIFY(RenderWidget(form).copy(area) != before.copy(area)); // the first frame shows
        QTest::qWait(350);                                           // the second frame
        QVERIFY(RenderWidget(form).copy(area) != before.copy(area));
        Unhover(form->GameBtn);
        QVERIFY(!form->MouseEffectRunning());
        QCOMPARE(RenderWidget(form).copy(area), before.copy(area));
        // Deactivation stops it too.
        Hover(form->GameBtn);
        QVERIFY(form->MouseEffectRunning());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!MainFormFocused);
        QVERIFY(!form->MouseEffectRunning());
        QCOMPARE(RenderWidget(form).copy(area), before.copy(area));
    }

    void hoveredMenuCloudIsTinted()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QPoint middle = form->KeyBtn->geometry().center() + QPoint(0, 14);
        const QRgb rest = RenderWidget(form).pixel(middle);
        Hover(form->KeyBtn);
        const QRgb hovered = RenderWidget(form).pixel(middle);
        QVERIFY2(rest != hovered, "the hovered cloud keeps its colour");
        // A 20 percent tint toward one of six colours keeps at least 80 percent of each channel.
        QVERIFY(qRed(hovered) >= qRed(rest) * 8 / 10 && qGreen(hovered) >= qGreen(rest) * 8 / 10);
    }

    void sizeIsRememberedOverTwoStarts()
    {
        {
            TMainForm* form = Form();
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            QCOMPARE(form->size(), QSize(1286, 871)); // first start: the design size
            form->resize(1300, 760);
            form->close();
            cleanup();
        }
        for (int start = 0; start < 2; ++start) {
            TMainForm* form = Form();
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            QCOMPARE(form->size(), QSize(1300, 760)); // the same measure, never growing
            form->close();
            cleanup();
        }
        TIniFile ini(ProgramFolder + QStringLiteral("Zavlin.ini"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 1300);
        QCOMPARE(ini.ReadInteger(QStringLiteral("mainform"), QStringLiteral("height"), 0), 760);
    }

    void maximizedWindowStoresItsNormalSize()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->resize(1250, 720);
        form->showMaximized();
        QTRY_VERIFY(form->size() != QSize(1250, 720));
        form->close();
        cleanup();
        TIniFile ini(ProgramFolder + QStringLiteral("Zavlin.ini"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("mainform"), QStringLiteral("width"), 0), 1250);
        QCOMPARE(ini.ReadInteger(QStringLiteral("mainform"), QStringLiteral("height"), 0), 720);
    }

    void readOnlyFolderAtCloseIsReportedOnceAndCloses()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->resize(1250, 720);
        TFailingSaves readOnly(EACCES);
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY2(gBoxes.first().contains(QStringLiteral(":Unable to write to ")), qPrintable(gBoxes.first()));
    }

    void aboutOpensAndCloses()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QPointer<TAboutForm> about;
        QTimer::singleShot(0, [&] {
            about = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            QVERIFY(about);
            QCOMPARE(about->windowTitle(), QStringLiteral("Vornix v3.0"));
            QTest::mouseClick(about->Label5, Qt::LeftButton);
            QTest::mouseClick(about->Label3, Qt::LeftButton);
            QTest::keyClick(about, Qt::Key_C, Qt::AltModifier); // the close button's accelerator
        });
        QTest::mouseClick(form->AboutBtn, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return about.isNull(); })); // freed when it closed
        QCOMPARE(gOpened, (QStringList{QString::fromLatin1(kMakerWebAddress),
                                       QStringLiteral("mailto:") + QLatin1String(kMakerMailAddress)}));
    }

    void helpAndBannerOpenTheirPages()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QDir(FTemp->path()).mkdir(QStringLiteral("help"));
        WriteAll(FTemp->path() + QStringLiteral("/help/Vornix이란.htm"), "<html><body>도움말</body></html>");
        QTest::mouseClick(form->HelpBtn, Qt::LeftButton);
        QCOMPARE(HtmlHelpCurrentPage(), FTemp->path() + QStringLiteral("/help/Vornix이란.htm"));
        QTest::mouseClick(form->ADBtn, Qt::LeftButton);
        QCOMPARE(gOpened, QStringList{QString::fromLatin1(kMakerWebAddress)});
        QCOMPARE(form->ADBtn->Hint(), QString::fromLatin1(kMakerWebAddress));
    }

    // A desktop without a browser or mail program: each of the three says so instead of doing nothing.
    void addressWithNoProgramToOpenItIsReported()
    {
        SetShellHook(nullptr); // the offscreen desktop opens nothing
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QTest::mouseClick(form->ADBtn, Qt::LeftButton);
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            QVERIFY(about);
            QTest::mouseClick(about->Label5, Qt::LeftButton);
            QTest::mouseClick(about->Label3, Qt::LeftButton);
            about->close();
        });
        QTest::mouseClick(form->AboutBtn, Qt::LeftButton);
        QCOMPARE(gBoxes.size(), 3);
        QVERIFY2(gBoxes[0].contains(QLatin1String(kMakerWebAddress)), qPrintable(gBoxes[0]));
        QVERIFY2(gBoxes[1].contains(QLatin1String(kMakerWebAddress)), qPrintable(gBoxes[1]));
        QVERIFY2(gBoxes[2].contains(QLatin1String(kMakerMailAddress)) && gBoxes[2].contains(QStringLiteral("메일")),
                 qPrintable(gBoxes[2]));
    }

    void bannerHintShowsInTheHintWindow()
    {
        TMainForm* form = Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QPoint at(20, 20);
        QHelpEvent help(QEvent::ToolTip, at, form->ADBtn->mapToGlobal(at));
        QCoreApplication::sendEvent(form->ADBtn, &help);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString::fromLatin1(kMakerWebAddress));
        QCOMPARE(QToolTip::font().family(), QStringLiteral("arial"));
        QCOMPARE(QToolTip::font().pointSize(), 10);
        QToolTip::hideText();
    }

    void missingHelpPageIsReported()
    {
        TMainForm* form = Form();
        QTest::mouseClick(form->HelpBtn, Qt::LeftButton);
        QCOMPARE(gBoxes.size(), 1);
        QVERIFY(gBoxes.first().contains(QStringLiteral("Vornix이란.htm")));
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::SetTitle(QStringLiteral("Vornix 타자연습"));
    TestMainForm test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainform.moc"
