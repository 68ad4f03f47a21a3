#pragma once
// The clock game without its window: the twelve slots on the clock face, word placement, ageing and
// lives, judging of typed words, score, levels, the special words and the hands and figure. The game
// window forwards its timer ticks and typed words here, runs the timers as the model says and paints
// what it finds.

#include "platform/Color.h"

#include <QPoint>
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>
#include <functional>

enum class TRotation : uint8_t { clockwise, CounterClockWise, NoRotation };

constexpr int kSlotCount = 12;
constexpr int kHistoryCount = 7;
constexpr int kStartLives = 9;
constexpr int kLastLevel = 8;
// The special (yellow) words, by what typing one does; the draw's 0..4 are these in order.
enum class TSpecialKind : uint8_t {
    HideWords, // the words cannot be read
    Dizzy,     // the face spins
    Sweep,     // the board is swept clean
    StopClock, // the clock stands still
    Tease,     // only the status text
    None,
};
constexpr int kSpecialKindCount = int(TSpecialKind::None);
constexpr int kEffectLength = 6; // ticks
constexpr int kPauseInterval = 600;
constexpr int kDizzyInterval = 300;
constexpr QPoint kClockCentre(230, 200);

struct TLevelRule
{
    int ShowClockMs;
    int ProblemClockMs;
    int WordLifetime; // ShowClock ticks
    int LevelQuota;   // the level is passed when more words than this are cleared on it
    int ScoreBonus;   // level x 1.3, rounded half to even
};
constexpr std::array<TLevelRule, kLastLevel> kLevelRules = {{
    {2065, 2160, 32, 22, 1},
    {1930, 1920, 28, 22, 3},
    {1795, 1680, 24, 30, 4},
    {1660, 1440, 20, 30, 5},
    {1525, 1200, 18, 35, 6},
    {1390, 960, 15, 35, 8},
    {1255, 720, 13, 35, 9},
    {1120, 480, 11, 100, 10},
}};

// The status text of each special kind, announced while its effect runs.
extern const std::array<const char16_t*, kSpecialKindCount> kSpecialTexts;
QString SpecialText(TSpecialKind kind);

// "HH:MM:SS" and two blanks, as the history lines start.
QString ZeroPad(int Value, int Width);
QString ClockText(const QTime& time);

// The platform's string-to-number conversion: optional sign, decimal digits or hexadecimal after "$" or
// "0x"; anything else, or a number outside 32 bits, gives `Default`.
int StrToIntDef(const QString& S, int Default);

struct TGameSlot
{
    QString Caption;
    TColor Color = clWhite;
    TColor FontColor = clBlack;
    int Age = -1; // -1: the slot shows its clock number; else the word's age in ShowClock ticks
};

struct TGameTimers
{
    bool ShowClock = false;
    int ShowClockInterval = 1000;
    bool ProblemClock = false;
    int ProblemClockInterval = 1000;
    bool PauseTimer = false; // runs at kPauseInterval
    bool operator==(const TGameTimers& o) const
    {
        return ShowClock == o.ShowClock && ShowClockInterval == o.ShowClockInterval && ProblemClock == o.ProblemClock &&
               ProblemClockInterval == o.ProblemClockInterval && PauseTimer == o.PauseTimer;
    }
};

enum class TGameEnd : uint8_t { None, LivesOut, AllLevels };

// What a tick or a judged word led to. The model never waits for the player: the window shows the
// notice after the call returns.
enum class TGameEvent : uint8_t {
    None,
    // GameLevel was reached; the clocks stand still and judging waits for ResumeJudging.
    LevelReached,
    // End() says why.
    GameOver,
};

// What the model asks of its window.
class TGameHost
{
public:
    virtual ~TGameHost() = default;
    virtual void PlayGameSound(const QString& name) = 0;
};

// The long hand's direction and the figure's frame carry over from game to game in one run.
struct TClockFace
{
    double HandAngle = 4.71238898038468985769; // 3π/2: pointing up
    int SpriteFrame = 1;
};

class TGameModel
{
public:
    using TRandomFn = std::function<int(int)>;
    using TTimeFn = std::function<QTime()>;

    // `random` draws 0 .. n-1 (the program's generator when empty), `now` gives the local time.
    explicit TGameModel(TGameHost* host, TRandomFn random = {}, TTimeFn now = {});

    // Set by the setup dialog before SetRotation.
    int GameLevel = 1;
    bool EnglishGame = false;
    bool SoundOff = false;
    TClockFace Face;

    void SetRotation(TRotation rot);
    void SetTimerInterval();
    // The window is shown: the clocks run and the first history line is written.
    void Start();

    TGameEvent ShowClockTimer();
    void ProblemClockTimer();
    void PauseTimerTimer();
    // The input box's text when Space or Enter is released. Judging stops at a level reached; after
    // its notice ResumeJudging starts the new level and judges the remaining slots.
    TGameEvent JudgeWord(const QString& typed);
    TGameEvent ResumeJudging();
    bool LevelUpPending() const { return FJudgeNext > 0; }

    void ApplySpecialItem();
    void FreeSpecialItem();
    void SetLabelColor(int Tick, int Index);
    void SetIntCaption(int Ind);

    // State read by the window.
    const TGameSlot& Slot(int i) const { return FSlots[i - 1]; }
    // Clock position (1..12) where slot i stands now.
    int SlotPosition(int i) const;
    QString SlotNumberText(int i) const;
    // Offset from the clock centre of position k on the outer circle (p), and the inner point (pp).
    QPoint P(int k) const { return FP[k - 1]; }
    QPoint PP(int k) const { return FPP[k - 1]; }
    QPoint LongHandEnd() const;
    QPoint ShortHandEnd() const;
    // 1: frame A (masks Image1, picture Image2) is on the window; 2: frame B.
    int FigureFrame() const { return Face.SpriteFrame % 2 == 1 ? 1 : 2; }

    const TGameTimers& Timers() const { return FTimers; }
    TGameEnd End() const { return FEnd; }
    bool Over() const { return FEnd != TGameEnd::None; }
    int GameScore() const { return FGameScore; }
    int Lives() const { return FLives; }
    int ClearedCount() const { return FClearedCount; }
    int LevelQuota() const { return FLevelQuota; }
    int WordLifetime() const { return FWordLifetime; }
    TSpecialKind SpecialKind() const { return FSpecialKind; }
    bool EffectActive() const { return FEffectActive; }
    int EffectTicks() const { return FEffectTicks; }
    TRotation Rotation() const { return FRotation; }
    int RotationOffset() const { return FRotationOffset; }
    int HandIndex() const { return FHandIndex; }
    const QString& StatusText() const { return FStatusText; }
    const std::array<QString, kHistoryCount>& History() const { return FHistory; }

private:
    TGameSlot& SlotRef(int i) { return FSlots[i - 1]; }
    void Play(const char* name);
    void GameOver();
    // Judges the word being judged against slots from..12.
    TGameEvent JudgeFrom(int from);
    // Stops the clocks for the notice; past the last level the game is over.
    void LevelUp();
    void AdvanceFace();

    TGameHost* FHost;
    TRandomFn FRandom;
    TTimeFn FNow;

    std::array<TGameSlot, kSlotCount> FSlots;
    std::array<QPoint, kSlotCount> FP;
    std::array<QPoint, kSlotCount> FPP;
    std::array<QString, kHistoryCount> FHistory;
    QString FStatusText;
    TGameTimers FTimers;
    TGameEnd FEnd = TGameEnd::None;

    int FGameScore = 0;
    int FLives = kStartLives;
    int FClearedCount = 0;
    int FLevelQuota = 0;
    int FWordLifetime = 0;
    TSpecialKind FSpecialKind = TSpecialKind::None;
    bool FEffectActive = false;
    int FEffectTicks = -1;
    TRotation FRotation = TRotation::clockwise;
    int FRotationOffset = 0;
    double FSlotStep = 0;
    double FHandStep = 0;
    int FHandIndex = 2;
    // A word whose judging waits for the level-up notice: the word, the next slot, any slot matched.
    QString FJudged;
    int FJudgeNext = 0;
    bool FJudgeMatched = false;
    bool FPauseBeforeLevelUp = false;
};
