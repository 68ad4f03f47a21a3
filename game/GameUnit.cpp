#include "game/GameUnit.h"

#include "components/BorderLabel.h"
#include "components/ControlUtils.h"
#include "engine/VornixMisc.h"
#include "game/ScoreUnit.h"
#include "platform/Dialogs.h"
#include "platform/Edit.h"
#include "platform/ListCtrls.h"
#include "platform/PictureFile.h"
#include "platform/PracticeWindows.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/StdCtrls.h"
#include "platform/Timer.h"
#include "platform/VirtualKeys.h"

#include <QLabel>
#include <QPainter>
#include <cstdio>

QPointer<TGameForm> GameForm;

namespace {
// The long hand's direction and the figure's frame go on from one game to the next.
TClockFace CarriedFace;

constexpr int kClientWidth = 633;
constexpr int kClientHeight = 434;
constexpr int kPanelLeft = 482;
constexpr int kPanelWidth = 144;
constexpr QPoint kFigureAt(200, 250);
constexpr QPoint kLivesAt(226, 192);
const QString kCaption = QStringLiteral("조르비  ( Zorbit )");

TBorderLabel* MakeLegend(QWidget* parent, const QString& caption, TColor color, TColor textColor, int top)
{
    auto* l = new TBorderLabel(parent);
    l->SetBorderShape(TBorderLabel::TBorderShape::bsRoundRect);
    l->SetRoundDegree(10);
    l->SetBorderWidth(1);
    l->SetMoreWidth(12);
    l->SetMoreHeight(6);
    l->SetColor(color);
    l->SetFont(MakeFont(QStringLiteral("굴림"), -12, textColor));
    l->SetCaption(caption);
    l->SetLeft(kPanelLeft);
    l->SetTop(top);
    return l;
}

QLabel* MakeText(QWidget* parent, const QString& caption, const TFont& font, const QRect& r)
{
    auto* l = new QLabel(caption, parent);
    l->setFont(font.ToQFont());
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, ToQColor(font.Color));
    l->setPalette(pal);
    l->setGeometry(r);
    return l;
}

bool TraceBoard()
{
    static const bool on = qEnvironmentVariableIntValue("VORNIX_GAME_TRACE") == 1;
    return on;
}
} // namespace

TGameForm::TGameForm(QWidget* parent) : TForm(parent)
{
    PrepareSound(); // loads in the background while the window is built, so the first sound does not wait
    SetName(QStringLiteral("GameForm"));
    SetCaption(kCaption);
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetColor(clBtnFace);
    SetClientSize(kClientWidth, kClientHeight);
    OnShow = [this](QObject* s) { FormShow(s); };
    OnClose = [this](QObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](QObject* s) { FormDestroy(s); };

    FModel = std::make_unique<TGameModel>(this);
    FModel->Face = CarriedFace;

    for (int i = 0; i < kSlotCount; ++i) {
        auto* l = new TBorderLabel(this);
        l->SetName(QStringLiteral("BorderLabel%1").arg(i + 1));
        l->SetAutoSize(true);
        l->SetBorderShape(TBorderLabel::TBorderShape::bsRoundRect);
        l->SetBorderWidth(3);
        l->SetRoundDegree(30);
        l->SetMoreWidth(18);
        l->SetMoreHeight(12);
        l->SetTextAlign(TBorderLabel::TTextAlign::taCenter);
        l->SetFont(MakeFont(QStringLiteral("돋움체"), -16, clBlack, fsBold));
        ex[i] = l;
    }

    BorderLabel17 = MakeLegend(this, QStringLiteral("노란색: 특수아이템"), clYellow, clBlack, 8);
    BorderLabel14 = MakeLegend(this, QStringLiteral("하얀색: 1단계"), clWhite, clBlack, 30);
    BorderLabel15 = MakeLegend(this, QStringLiteral("파란색: 2단계"), clBlue, clWhite, 52);
    BorderLabel16 = MakeLegend(this, QStringLiteral("빨간색: 3단계"), clRed, clWhite, 74);

    BorderLabel13 = new TBorderLabel(this);
    BorderLabel13->SetBorderShape(TBorderLabel::TBorderShape::bsRoundRect);
    BorderLabel13->SetRoundDegree(10);
    BorderLabel13->SetBorderWidth(2);
    BorderLabel13->SetMoreWidth(16);
    BorderLabel13->SetMoreHeight(8);
    BorderLabel13->SetColor(clBlue);
    BorderLabel13->SetBorderColor(clLime);
    BorderLabel13->SetFont(MakeFont(QStringLiteral("굴림체"), -13, clYellow, fsBold));
    BorderLabel13->SetCaption(QStringLiteral("수정된 버그목록"));
    BorderLabel13->SetLeft(kPanelLeft);
    BorderLabel13->SetTop(104);

    for (int k = 0; k < kHistoryCount; ++k) {
        His[k] = MakeText(this, QString(), MakeFont(QStringLiteral("굴림"), -12, clBlack),
                          QRect(kPanelLeft, 132 + 16 * k, kPanelWidth + 4, 16));
        His[k]->setObjectName(QStringLiteral("His%1").arg(k + 1));
    }

    const TFont big = MakeFont(QStringLiteral("굴림"), -16, clBlue, fsBold);
    Label8 = MakeText(this, QStringLiteral("점수:"), big, QRect(kPanelLeft, 250, 48, 22));
    ScoreLabel = MakeText(this, QStringLiteral("0"), big, QRect(kPanelLeft + 50, 250, 94, 22));
    Label14 = MakeText(this, QStringLiteral("단계:"), big, QRect(kPanelLeft, 274, 48, 22));
    LevelLabel = MakeText(this, QStringLiteral("1"), big, QRect(kPanelLeft + 50, 274, 94, 22));

    Image5 = new QLabel(this);
    Image5->setPixmap(QPixmap::fromImage(ResourcePicture(QStringLiteral("GameLives.png"))));
    Image5->setGeometry(kPanelLeft, 300, 24, 24);
    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetMax(kStartLives);
    ProgressBar1->SetStep(1);
    ProgressBar1->SetBounds(kPanelLeft + 28, 304, kPanelWidth - 28, 16);

    Memo1 = new TEdit(this);
    Memo1->SetName(QStringLiteral("Memo1"));
    Memo1->SetFont(MakeFont(QStringLiteral("굴림체"), -16, clWindowText, fsBold));
    Memo1->SetBounds(kPanelLeft, 340, kPanelWidth, 28);
    Memo1->OnKeyPress = [this](QObject* s, QChar& k) { Memo1KeyPress(s, k); };
    Memo1->OnKeyUp = [this](QObject* s, uint16_t& k, TShiftState sh) { Memo1KeyUp(s, k, sh); };

    Bevel1 = new TBevel(this);
    Bevel1->SetShape(TBevelShape::bsLeftLine);
    Bevel1->SetBounds(472, 4, 4, 400);

    StatusBar1 = new TStatusBar(this);
    TStatusPanel* panel = StatusBar1->AddPanel();
    panel->SetStyle(TStatusPanelStyle::psOwnerDraw);
    panel->SetWidth(500);
    StatusBar1->SetSizeGrip(false);
    StatusBar1->SetBounds(0, kClientHeight - 23, kClientWidth, 23);
    StatusBar1->OnDrawPanel = [this](TStatusBar* b, TStatusPanel* p, const TRect& r) { StatusBar1DrawPanel(b, p, r); };

    ShowClock = new TTimer(this);
    ShowClock->SetEnabled(false);
    ShowClock->SetOnTimer([this](QObject* s) { ShowClockTimer(s); });
    ProblemClock = new TTimer(this);
    ProblemClock->SetEnabled(false);
    ProblemClock->SetOnTimer([this](QObject* s) { ProblemClockTimer(s); });
    PauseTimer = new TTimer(this);
    PauseTimer->SetEnabled(false);
    PauseTimer->SetInterval(kPauseInterval);
    PauseTimer->SetOnTimer([this](QObject* s) { PauseTimerTimer(s); });

    Image1.LoadFromResourceName(QStringLiteral("GameFigureMaskA.png"));
    Image2.LoadFromResourceName(QStringLiteral("GameFigureA.png"));
    Image3.LoadFromResourceName(QStringLiteral("GameFigureMaskB.png"));
    Image4.LoadFromResourceName(QStringLiteral("GameFigureB.png"));
    NormalImg.LoadFromResourceName(QStringLiteral("GameNormal.png"));
    SmileImg.LoadFromResourceName(QStringLiteral("GameSmile.png"));

    FormCreate();
}

TGameForm::~TGameForm()
{
    FormDestroy(this);
}

void TGameForm::FormDestroy(QObject*)
{
    CarriedFace = FModel->Face;
    if (GameForm == this) GameForm = nullptr;
}

void TGameForm::FormCreate()
{
    Randomize();
    SpriteBitmap.SetPixelFormat(pf24bit);
    SpriteBitmap.SetSize(Image1.Width(), Image1.Height());
}

void TGameForm::SetRotation(TRotation rot)
{
    Memo1->Clear();
    FModel->SetRotation(rot);
    const QString face = FModel->EnglishGame ? QStringLiteral("MS Sans Serif") : QStringLiteral("굴림");
    for (TBorderLabel* l : ex) {
        l->SetBorderColor(clBlack);
        TFont f = l->Font();
        f.Name = face;
        l->SetFont(f);
    }
    Sync();
}

void TGameForm::SetTimerInterval()
{
    FModel->SetTimerInterval();
    SyncTimers();
}

void TGameForm::SetLabelPosToCenter(int ind)
{
    const int k = FModel->SlotPosition(ind);
    TBorderLabel* l = ex[ind - 1];
    l->SetBounds(FModel->P(k).x() - l->Width() / 2 + kClockCentre.x(), FModel->P(k).y() + 185, l->Width(), l->Height());
}

void TGameForm::SyncTimers()
{
    const TGameTimers& t = FModel->Timers();
    // A closed window's timers stay off, whatever a late handler left in the model.
    ShowClock->SetInterval(t.ShowClockInterval);
    ShowClock->SetEnabled(t.ShowClock && !FClosed);
    ProblemClock->SetInterval(t.ProblemClockInterval);
    ProblemClock->SetEnabled(t.ProblemClock && !FClosed);
    PauseTimer->SetEnabled(t.PauseTimer && !FClosed);
}

void TGameForm::SyncSlots()
{
    for (int i = 1; i <= kSlotCount; ++i) {
        const TGameSlot& s = FModel->Slot(i);
        TBorderLabel* l = ex[i - 1];
        l->SetColor(s.Color);
        TFont f = l->Font();
        f.Color = s.FontColor;
        l->SetFont(f);
        l->SetCaption(s.Caption);
        SetLabelPosToCenter(i);
    }
}

void TGameForm::SyncPanel()
{
    ScoreLabel->setText(QString::number(FModel->GameScore()));
    LevelLabel->setText(QString::number(qMin(FModel->GameLevel, kLastLevel)));
    for (int k = 0; k < kHistoryCount; ++k)
        His[k]->setText(FModel->History()[k]);
    if (FModel->Lives() >= 0) ProgressBar1->SetPosition(FModel->Lives());
    TStatusPanel* panel = StatusBar1->Panel(0);
    if (panel->Text() != FModel->StatusText()) panel->SetText(FModel->StatusText());
}

void TGameForm::Sync()
{
    SyncTimers();
    SyncSlots();
    SyncPanel();
    // The hands reach 100 px from the centre; the figure stands below it.
    update(QRect(kClockCentre.x() - 110, kClockCentre.y() - 110, 220, 250));
    if (TraceBoard()) DebugBoard();
}

void TGameForm::FormShow(QObject*)
{
    if (FShown) return;
    FShown = true;
    FModel->Start();
    PracticeWindowOpened();
    Memo1->SetFocus();
    Sync();
}

void TGameForm::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
    if (FClosed) return;
    // No tick may come after the window is gone ("Game Over!!!" over nothing).
    FClosed = true;
    ShowClock->SetEnabled(false);
    ProblemClock->SetEnabled(false);
    PauseTimer->SetEnabled(false);
    PracticeWindowClosed();
}

bool TGameForm::Gone(const QPointer<TGameForm>& self)
{
    return !self || self->FClosed;
}

void TGameForm::ShowClockTimer(QObject*)
{
    // A game that ended is being wound up by the tick or key that ended it.
    if (FClosed || FModel->Over()) return;
    const TGameEvent event = FModel->ShowClockTimer();
    CarriedFace = FModel->Face;
    Sync();
    if (event == TGameEvent::GameOver) EndGame();
}

void TGameForm::ProblemClockTimer(QObject*)
{
    if (FClosed || FModel->Over()) return;
    FModel->ProblemClockTimer();
    Sync();
}

void TGameForm::PauseTimerTimer(QObject*)
{
    if (FClosed || FModel->Over()) return;
    FModel->PauseTimerTimer();
    Sync();
}

void TGameForm::Memo1KeyPress(QObject*, QChar& Key)
{
    if (Key == QChar(27))
        Key = QChar(0);
    else if (Key == QChar(13))
        Key = QChar(32);
}

void TGameForm::Memo1KeyUp(QObject*, uint16_t& Key, unsigned)
{
    if (Key != VK_SPACE && Key != VK_RETURN) return;
    if (FClosed || FModel->Over()) return;
    const QString typed = Memo1->Text();
    Memo1->Clear();
    TGameEvent event = FModel->JudgeWord(typed);
    while (event == TGameEvent::LevelReached) {
        if (!LevelUpNotice()) return;
        event = FModel->ResumeJudging();
    }
    Sync();
    if (event == TGameEvent::GameOver) EndGame();
}

void TGameForm::PlayGameSound(const QString& name)
{
    PlaySoundResource(name);
}

bool TGameForm::LevelUpNotice()
{
    QPointer<TGameForm> self(this);
    const int newLevel = FModel->GameLevel;
    SyncTimers(); // the clocks stand still while the notice is up
    Memo1->Complete();
    MessageBox(this, QStringLiteral("Level - %1").arg(newLevel), QStringLiteral("Level Up"),
               MB_OK | MB_ICONINFORMATION);
    if (Gone(self)) return false;
    LevelLabel->setText(QString::number(newLevel));
    // What was typed during the notice does not count on the new level.
    Memo1->Complete();
    Memo1->Clear();
    return true;
}

void TGameForm::EndGame()
{
    QPointer<TGameForm> self(this);
    SyncTimers();
    Memo1->SetFocus();
    // Only the last life lost empties the lives bar; the last level passed leaves it as it is.
    if (FModel->End() == TGameEnd::LivesOut) ProgressBar1->SetPosition(0);
    repaint();
    Memo1->Complete();
    if (FModel->End() == TGameEnd::AllLevels)
        ShowMessage(QStringLiteral("마지막 레벨까지 해결했습니다.\r'Zorbit'를 완전히 수정했습니다."));
    else
        ShowMessage(QStringLiteral("Game Over!!!\r\rGame Over!!!"));
    if (Gone(self)) return;
    SaveUser(FModel->GameScore(), FModel->GameLevel, FModel->EnglishGame, [self] {
        if (!Gone(self)) self->Memo1->Complete();
    });
    if (Gone(self)) return;
    Memo1->Complete();
    ShowScoreForm();
    if (Gone(self)) return;
    Close();
}

void TGameForm::StatusBar1DrawPanel(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)
{
    TCanvas* c = StatusBar->Canvas();
    c->Brush.Color = RGB(0, 0, 128);
    c->Brush.Style = bsSolid;
    c->FillRect(Rect);
    c->Font.Color = clYellow;
    if (Panel->Text().isEmpty()) {
        c->Draw(2, 4, &NormalImg);
        c->Draw(22, 4, &NormalImg);
    } else {
        c->Draw(2, 4, &SmileImg);
        c->Brush.Style = bsClear;
        c->TextOut(20, 4, Panel->Text());
    }
}

void TGameForm::paintEvent(QPaintEvent* event)
{
    TForm::paintEvent(event);
    QPainter painter(this);
    TCanvas canvas;
    canvas.AttachPainter(&painter);
    PaintBoard(&canvas);
    canvas.Detach();
}

void TGameForm::PaintBoard(TCanvas* Canvas)
{
    const TGameModel& m = *FModel;
    // The figure: the window's colour, the mask ANDed in, the picture ORed over it.
    TCanvas* sc = SpriteBitmap.Canvas();
    sc->Pen.Color = clBtnFace;
    sc->Brush.Color = clBtnFace;
    sc->Brush.Style = bsSolid;
    sc->FillRect(Rect(0, 0, SpriteBitmap.Width(), SpriteBitmap.Height()));
    TBitmap& mask = m.FigureFrame() == 1 ? Image1 : Image3;
    TBitmap& picture = m.FigureFrame() == 1 ? Image2 : Image4;
    BitBlt(sc, 0, 0, SpriteBitmap.Width(), SpriteBitmap.Height(), mask.Canvas(), 0, 0, SRCAND);
    BitBlt(sc, 0, 0, SpriteBitmap.Width(), SpriteBitmap.Height(), picture.Canvas(), 0, 0, SRCPAINT);
    Canvas->Draw(kFigureAt.x(), kFigureAt.y(), &SpriteBitmap);

    Canvas->Pen.Color = clLime;
    Canvas->Pen.Width = 3;
    Canvas->MoveTo(kClockCentre.x(), kClockCentre.y());
    const QPoint longEnd = m.LongHandEnd();
    Canvas->LineTo(longEnd.x(), longEnd.y());

    Canvas->Pen.Color = clBlue;
    Canvas->Pen.Width = 2;
    Canvas->MoveTo(kClockCentre.x(), kClockCentre.y());
    const QPoint shortEnd = m.ShortHandEnd();
    Canvas->LineTo(shortEnd.x(), shortEnd.y());

    Canvas->Brush.Color = clYellow;
    Canvas->Brush.Style = bsSolid;
    Canvas->Ellipse(220, 190, 240, 210);

    Canvas->Font = MakeFont(QStringLiteral("MS Sans Serif"), 0, clBlue);
    Canvas->Font.SetSize(11);
    Canvas->Brush.Style = bsClear;
    Canvas->TextOut(kLivesAt.x(), kLivesAt.y(), QString::number(m.Lives()));
}

QStringList TGameForm::BoardWords() const
{
    QStringList words;
    for (int i = 1; i <= kSlotCount; ++i)
        words << (FModel->Slot(i).Age >= 0 ? FModel->Slot(i).Caption : QString());
    return words;
}

void TGameForm::DebugBoard() const
{
    const QString line = QStringLiteral("zorbit: level=%1 score=%2 lives=%3 words=%4\n")
                             .arg(FModel->GameLevel)
                             .arg(FModel->GameScore())
                             .arg(FModel->Lives())
                             .arg(BoardWords().join(u'|'));
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}
