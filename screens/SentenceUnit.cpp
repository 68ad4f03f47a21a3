#include "screens/SentenceUnit.h"

#include "components/ZavaduMeter.h"
#include "engine/ThreadTimer.h"
#include "engine/VornixMisc.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/PictureFile.h"
#include "platform/PracticeWindows.h"
#include "platform/Sound.h"
#include "platform/TextFile.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

TSentenceForm* SentenceForm = nullptr;

namespace {
constexpr int kMeterWidth = 176;
constexpr int kDesignWidth = 1344;
constexpr int kDesignHeight = 821;
const QString kCaption = QStringLiteral("확인");

} // namespace

void ConfigureSpeedMeter(TZavaduMeter* m)
{
    m->SetCaption(QStringLiteral("타자속도"));
    m->SetActive(false);
    m->SetAutoMaxBlockCount(false);
    m->SetMaxBlockCount(800);
    m->SetBlockHeight(5);
    m->SetMinBlockWidth(22);
    m->SetMaxBarWidth(150);
    m->SetUse3DBlock(true);
    m->SetUseGradient3DBlock(false);
    m->SetDrawGradientChunkIn3D(true);
    m->SetBlockDepth(3);
    m->SetDrawBlockDivider(true);
    m->SetUseBackGroundImage(true);
    m->SetBlendAlpha(0.7f);
    m->SetTimerInterval(90);
    m->SetUseFlowingBlock(true);
    m->SetFlowBlockPortion(0.8f);
    m->SetFlowBlockSize(30);
    m->SetFlowDirection(fdTopToBottom);
    m->SetSwingingFlow(true);
    m->SetFlowVelocity(30);
    m->SetCenterVelocity(2.0f);
    m->SetMovingBlockTimeSpan(5000);
    m->SetShowTitle(false);
    m->SetLegendVisible(false);
    m->SetShowAxis(false);
    m->SetShowOnlyXYAxis(false);
    m->SetShowGrid(false);
    m->SetShowFocus(false);
    m->SetShowVertAxisTick(false);
    m->SetVertLabelsPos(alpNone);
    m->SetVertLabelsIncrement(20);
    m->SetSortDirection(ssdNone);
    m->SetSortWhenAdd(false);
    m->SetValueFormat(QStringLiteral("#,##0.###"));
    m->SetZeroValueString(QStringLiteral("0"));
    m->SetMaxNameRowCount(3);
    m->SetMarginLeft(0);
    m->SetMarginTop(0);
    m->SetMarginRight(20);
    m->SetMarginbotton(1);
    m->SetColor(clWindow);
    m->SetAxisColor(clBlack);
    m->SetBorderColor(clBlack);
    m->SetBorderVisible(false);
    m->SetGridColor(0x00FCE8D1);
    m->SetDownColor(0x008E8E8E);
    m->SetUnfocusedColor(0x00F5F5F5);
    m->SetBlockRedColor(0x003C3CFF);
    m->SetBlockBlueColor(0x00F1A70E);
    m->SetBlockOrangeColor(0x000FE139);
    TFont font;
    font.Name = QStringLiteral("굴림체");
    font.Height = -16;
    font.Style = fsBold;
    m->SetFont(font);
    TFont title;
    title.Name = QStringLiteral("Tahoma");
    title.Height = -16;
    m->SetTitleFont(title);

    const struct
    {
        const char* Name;
        const char16_t* DisplayName;
    } bars[] = {{"MaxBar", u"최고"}, {"AvgBar", u"평균"}, {"CurrBar", u"현재"}};
    for (const auto& bar : bars) {
        TZavaduSeries* s = m->Serieses()->Add(QString::fromLatin1(bar.Name), QString::fromUtf16(bar.DisplayName));
        s->SetBlockBorderColor(clGray);
        s->SetConnected(true);
        s->SetIsDown(false);
        s->SetDrawBorder(false);
        s->SetShowName(true);
        s->SetShowNameOnTop(false);
        s->SetIsFocus(false);
        s->SetBlockRedColor(m->BlockRedColor());
        s->SetBlockBlueColor(m->BlockBlueColor());
        s->SetBlockOrangeColor(m->BlockOrangeColor());
    }
}
TFont SentenceFontOf(const TSentenceSetupRec& setup)
{
    TFont font;
    font.Name = setup.FontName;
    font.SetSize(setup.FontSize);
    font.Color = setup.FontColor;
    font.Style = (setup.FontBold ? unsigned(fsBold) : 0u) | (setup.FontItalic ? unsigned(fsItalic) : 0u);
    return font;
}

void SetSentenceFont(TSentencePractice* control, const TFont& font)
{
    control->setFont(font.ToQFont());
    control->SetFontColor(font.Color);
}

void TTiledPicture::TileInto(TBitmap* target, const QImage& picture)
{
    if (picture.cacheKey() != FKey) {
        FTile.Assign(picture.convertToFormat(QImage::Format_RGB32));
        FKey = picture.cacheKey();
    }
    for (const TTilePiece& p :
         TilePieces(FTile.Width(), FTile.Height(), QRect(0, 0, target->Width(), target->Height()), 0))
        BitBlt(target->Canvas(), p.Dest.x(), p.Dest.y(), p.Dest.width(), p.Dest.height(), FTile.Canvas(), p.Source.x(),
               p.Source.y(), SRCCOPY);
}

TSentenceForm::TSentenceForm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    PrepareSound(); // loads in the background while the window is built, so the first sound does not wait
    setWindowTitle(QStringLiteral("문장연습"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(ColorToRGB(clBtnFace)));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);

    SpeedMeter = new TZavaduMeter(this);
    ConfigureSpeedMeter(SpeedMeter);
    SpeedMeter->OnPaintBackGroundImage = [this](QObject* s, TBitmap* img, bool quick) {
        SpeedMeterPaintBackGroundImage(s, img, quick);
    };

    SenEx = new TSentencePractice(this);
    SenEx->SetWrongMarkColor(clRed);
    SenEx->SetLineSpace(5);
    SenEx->SetSentenceSpace(25);
    SenEx->SetSentenceCount(2);
    SenEx->SetCheckComposingChar(false);
    SenEx->SetReadOnly(false);
    SenEx->SetTextOffsetY(0);
    SenEx->SetTypingLang(tlEng);
    SenEx->SetOnTypingStarted([this](QObject* s) { SenExTypingStarted(s); });
    SenEx->SetOnTypingError([this](QObject* s) { SenExTypingError(s); });
    SenEx->SetOnTypingEnded([this](QObject* s) { SenExTypingEnded(s); });
    SenEx->SetOnDrawBackGround([this](QObject* s, QRect& r) { SenExDrawBackGround(s, r); });
    // Key preview: the window sees Esc before the typing control.
    SenEx->installEventFilter(this);
    setFocusProxy(SenEx);

    FDefaultPicture = ResourcePicture(QStringLiteral("SentenceBack.png")).convertToFormat(QImage::Format_RGB32);

    CurrSpeedTimer = new TThreadTimer(this);
    CurrSpeedTimer->SetEnabled(false);
    CurrSpeedTimer->SetInterval(1000);
    CurrSpeedTimer->SetOnTimer([this](QObject* s) { CurrSpeedTimerTimer(s); });

    resize(kDesignWidth, kDesignHeight);
    move(0, 0);
    FormCreate();
}

TSentenceForm::~TSentenceForm()
{
    // No tick may reach a window that is going away.
    CurrSpeedTimer->SetEnabled(false);
    SpeedMeter->SetActive(false);
    FormDestroy();
}

TZavaduSeries* TSentenceForm::MaxBar() const
{
    return SpeedMeter->Serieses()->Items(0);
}

TZavaduSeries* TSentenceForm::AvgBar() const
{
    return SpeedMeter->Serieses()->Items(1);
}

TZavaduSeries* TSentenceForm::CurrBar() const
{
    return SpeedMeter->Serieses()->Items(2);
}

void TSentenceForm::FormCreate()
{
    FTextFn.clear();
    MaxBar()->SetRedValue(0);
    AvgBar()->SetOrangeValue(0);
    CurrBar()->SetBlueValue(0);
}

void TSentenceForm::FormShow()
{
    PracticeWindowOpened();
    SenEx->SetTypingLang(FTextFn.contains(QStringLiteral("[한글]")) ? tlNative : tlEng);
    SenEx->setFocus();
}

void TSentenceForm::FormKeyDown(int Key)
{
    if (Key == 27) ShowNextSentences();
}

void TSentenceForm::FormClose()
{
    PracticeWindowClosed();
    // Stored at once: the program may end before the window is destroyed.
    SaveHistory();
    // A start from the menu while this window waits to be deleted gets a new window.
    if (SentenceForm == this) SentenceForm = nullptr;
}

void TSentenceForm::FormDestroy()
{
    SaveHistory();
    if (SentenceForm == this) SentenceForm = nullptr;
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceForm::StartExercise(bool IsLongExercise, const QString& TextFn, const QByteArray& NativePath)
{
    if (!FTextFn.isEmpty()) SaveHistory();
    FTextFn = TextFn;

    const TFont font = SentenceFontOf(SentenceSetup);
    SetSentenceFont(SenEx, font);
    SenEx->SetWrongMarkColor(SentenceSetup.WrongMarkColor);

    SenEx->SetSentenceCount(IsLongExercise ? 4 : 1);
    // The slots hold nothing until the text gives them lines: neither the control's sample lines nor the
    // previous text's; a text without a line leaves nothing to type.
    for (int i = 0; i < SenEx->SentenceCount(); ++i)
        SenEx->SetProblem(i, QString());
    SenEx->SetReadOnly(false);

    try {
        FText.SetLines(LoadTextLines(TextFn, NativePath));
    } catch (const Exception&) {
        FText.Clear();
        throw Exception(QStringLiteral("TextFn 파일을 불러올 수 없습니다."));
    }
    FHistoryStored = false;

    const int h = QFontMetrics(font.ToQFont()).height();
    const TSentenceLayout layout = ComputeSentenceLayout(h, SenEx->SentenceCount(), SenEx->LineSpace());
    SenEx->SetSentenceSpace(layout.SentenceSpace);
    SenEx->SetTextOffsetY(layout.TextOffsetY);
    FControlHeight = layout.Height;
    // The user may change the width, never the height.
    setFixedHeight(FControlHeight);
    FitScreenWidth();
    setMinimumWidth(kMeterWidth + 200);
    PlaceControls();

    SenEx->SetCheckComposingChar(SentenceSetup.ShowWrongJohap);

    FText.SetCurrTextLine(0);
    const int l = ClampResumeLine(LoadHistory(), FText.LineCount());
    if (l > 0 && MessageBox(this, QStringLiteral("기존에 연습하던 것에 이어서 하시겠습니까?"), kCaption,
                            MB_YESNO | MB_ICONQUESTION) == IDYES)
        FText.SetCurrTextLine(l);

    FSentenceImageList.LoadImages(SentenceSetup.BackImage, FDefaultPicture);
    ShowNextSentences();
}

void TSentenceForm::FitScreenWidth()
{
    const QScreen* screen = this->screen();
    if (!screen) return;
    // The frame, borders included, fits the free area; under X11 the borders are known only once the window
    // manager has framed the window, which moves it.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const int most = std::max(kMeterWidth + 200, screen->availableGeometry().width() - frame.left() - frame.right());
    if (maximumWidth() == most) return;
    setMaximumWidth(most);
    if (width() > most) resize(most, height());
}

void TSentenceForm::PlaceControls()
{
    SpeedMeter->SetBounds(0, 0, kMeterWidth, FControlHeight);
    SenEx->setGeometry(SpeedMeter->Left() + SpeedMeter->Width(), 0,
                       std::max(0, width() - SpeedMeter->Left() - SpeedMeter->Width()), FControlHeight);
}

int TSentenceForm::LoadHistory()
{
    OpenSettings();
    int value = 0;
    try {
        value = ReadResumeLine(*SettingsFile, FTextFn);
    } catch (...) {
        CloseSettings();
        throw;
    }
    CloseSettings();
    return value;
}

void TSentenceForm::SaveHistory()
{
    // A text that failed to load keeps the resume line it had.
    if (FTextFn.isEmpty() || !FText.Loaded() || FHistoryStored) return;
    FHistoryStored = true;
    try {
        OpenSettings();
        try {
            WriteResumeLine(*SettingsFile, FTextFn, FText.ResumeLine());
        } catch (...) {
            CloseSettings();
            throw;
        }
        CloseSettings();
    } catch (const Exception& e) {
        TApplication::ShowException(e.Message());
    } catch (const std::exception& e) {
        TApplication::ShowException(QString::fromLocal8Bit(e.what()));
    }
}

void TSentenceForm::ShowNextSentences()
{
    const TSentenceBlock block = FText.NextBlock(SenEx->SentenceCount());
    if (block.End) {
        const auto& shown = SenEx->Sentences();
        if (std::all_of(shown.begin(), shown.end(), [](const auto& s) { return s->problem.isEmpty(); }))
            SenEx->SetReadOnly(true); // no keystroke starts the clock on an empty set
        MessageBox(this, QStringLiteral("선택된 글의 끝까지 연습했습니다."), kCaption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    for (int i = 0; i < SenEx->SentenceCount() && i < block.Problems.size(); ++i)
        SenEx->SetProblem(i, block.Problems[i]);
    FSpeeds.BlockShown();
    SenEx->update();
}

void TSentenceForm::UpdateSpeed(bool isCurrent)
{
    const bool firstLineTyped = SenEx->SentenceCount() > 0 && !SenEx->Sentences()[0]->typed.isEmpty();
    if (isCurrent) {
        if (!FSpeeds.BlockTyping()) return;
        FSpeeds.LiveTick(firstLineTyped, SenEx->GetTypingSpeed(true), SenEx->GetAvgTypingSpeed(true));
    } else if (FSpeeds.TypingEnded(firstLineTyped, SenEx->GetTypingSpeed(false), SenEx->GetAvgTypingSpeed(false))) {
        if (SentenceSetup.UseSound) PlaySoundResource(QStringLiteral("THUNDER"));
    }
    CurrBar()->SetBlueValue(FSpeeds.Curr());
    AvgBar()->SetOrangeValue(FSpeeds.Avg());
    MaxBar()->SetRedValue(FSpeeds.Best());
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceForm::SenExTypingStarted(QObject*)
{
    FSpeeds.TypingStarted();
    SpeedMeter->SetActive(true);
    CurrSpeedTimer->SetEnabled(true);
}

void TSentenceForm::SenExTypingError(QObject*)
{
    if (SentenceSetup.UseSound) PlaySoundResource(QStringLiteral("WRONGKEY"));
}

void TSentenceForm::SenExTypingEnded(QObject*)
{
    SpeedMeter->SetActive(false);
    UpdateSpeed(false);
    if (BelowTargetSpeed(SentenceSetup.UseSpeedLimit, SentenceSetup.SpeedLimit, SenEx->GetTypingSpeed(false))) {
        MessageBox(this, TargetSpeedMessage(SentenceSetup.SpeedLimit), kCaption, MB_OK | MB_ICONINFORMATION);
        for (int i = 0; i < SenEx->SentenceCount(); ++i)
            SenEx->SetProblem(i, SenEx->Sentences()[size_t(i)]->problem);
        FSpeeds.BlockShown();
        SenEx->update();
    } else {
        FSentenceImageList.NextImage();
        SenEx->update();
        ShowNextSentences();
    }
    SpeedMeter->Invalidate();
}

void TSentenceForm::CurrSpeedTimerTimer(QObject*)
{
    UpdateSpeed(true);
}

void TSentenceForm::SenExDrawBackGround(QObject*, QRect& Rect)
{
    if (QPainter* canvas = SenEx->Canvas()) FSentenceImageList.DrawTiled(*canvas, Rect, SpeedMeter->Width());
}

void TSentenceForm::SpeedMeterPaintBackGroundImage(QObject*, TBitmap* backImg, bool)
{
    const QImage picture = FSentenceImageList.CurrentImage();
    TCanvas* canvas = backImg->Canvas();
    if (picture.isNull()) {
        canvas->Brush.Color = clWindow;
        canvas->Brush.Style = bsSolid;
        canvas->FillRect(Rect(0, 0, backImg->Width(), backImg->Height()));
        return;
    }
    FMeterTile.TileInto(backImg, picture);
}

// ---------------------------------------------------------------------------------------------------------------
bool TSentenceForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SenEx && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            FPreviewedKey = event;
            FormKeyDown(27);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSentenceForm::keyPressEvent(QKeyEvent* event)
{
    // Esc that the typing control passed on was seen already.
    if (event->key() == Qt::Key_Escape && event != FPreviewedKey) FormKeyDown(27);
    FPreviewedKey = nullptr;
    QWidget::keyPressEvent(event);
}

void TSentenceForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TSentenceForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TSentenceForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    FitScreenWidth();
}

void TSentenceForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceControls();
}
