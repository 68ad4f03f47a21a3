#pragma once
// The window of the typing game "Zorbit": twelve word slots on a turning clock face with its hands and a
// hopping figure, the history of cleared words, score, level and lives beside it, the input box and the
// status bar that announces the special words. The rules live in TGameModel; this window runs its
// three timers as the model says, forwards ticks and typed words, and paints the model's state.

#include "game/GameModel.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"

#include <QPointer>
#include <array>
#include <memory>

class QLabel;
class TBevel;
class TBorderLabel;
class TEdit;
class TProgressBar;
class TStatusBar;
class TStatusPanel;
class TTimer;

class TGameForm : public TForm, public TGameHost
{
    Q_OBJECT
public:
    // A top-level window owned by the application; it frees itself when it closes.
    explicit TGameForm(QWidget* parent = nullptr);
    ~TGameForm() override;

    TGameModel& Model() { return *FModel; }

    std::array<TBorderLabel*, kSlotCount> ex{};
    TBorderLabel* BorderLabel13; // heading of the history lines
    TBorderLabel* BorderLabel14;
    TBorderLabel* BorderLabel15;
    TBorderLabel* BorderLabel16;
    TBorderLabel* BorderLabel17;
    std::array<QLabel*, kHistoryCount> His{};
    QLabel* Label8;
    QLabel* ScoreLabel;
    QLabel* Label14;
    QLabel* LevelLabel;
    TProgressBar* ProgressBar1;
    QLabel* Image5;
    TEdit* Memo1;
    TStatusBar* StatusBar1;
    TBevel* Bevel1;
    TTimer* ShowClock;
    TTimer* ProblemClock;
    TTimer* PauseTimer;
    // The figure's frames: masks Image1 and Image3, pictures Image2 and Image4.
    TBitmap Image1, Image2, Image3, Image4;
    TBitmap NormalImg, SmileImg;

    // Called by the setup dialog: reset and lay out the board, then the level's timing.
    void SetRotation(TRotation rot);
    void SetTimerInterval();

    void ShowClockTimer(QObject* Sender);
    void ProblemClockTimer(QObject* Sender);
    void PauseTimerTimer(QObject* Sender);
    void Memo1KeyPress(QObject* Sender, QChar& Key);
    void Memo1KeyUp(QObject* Sender, uint16_t& Key, unsigned Shift);
    void StatusBar1DrawPanel(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect);

    // The window's picture of the board (the figure, the hands, the hub and the lives), as painted.
    void PaintBoard(TCanvas* Canvas);
    // For tests and the debug line: the words on the board, slot by slot ("" where a number shows).
    QStringList BoardWords() const;

protected:
    void PlayGameSound(const QString& name) override;

    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormShow(QObject* Sender);
    void FormClose(QObject* Sender, TCloseAction& Action);
    void FormDestroy(QObject* Sender);
    // Brings the components in line with the model after it changed.
    void SyncTimers();
    void SyncSlots();
    void SyncPanel();
    void Sync();
    void SetLabelPosToCenter(int ind);
    // The notice of a level reached, while the clocks stand still. False when the window closed meanwhile.
    bool LevelUpNotice();
    // The end after the last life or the last level: notices, the high-score entry and list, close.
    void EndGame();
    // True when the window closed (or went away) during a nested modal run.
    static bool Gone(const QPointer<TGameForm>& self);
    void DebugBoard() const;

    std::unique_ptr<TGameModel> FModel;
    TBitmap SpriteBitmap;
    bool FShown = false;
    bool FClosed = false;
};

extern QPointer<TGameForm> GameForm;
