#include "game/GameModel.h"

#include "engine/VornixMisc.h"
#include "game/GameWords.h"
#include "platform/Clock.h"
#include "platform/Random.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kOuterRadius = 172;
constexpr int kInnerRadius = 100;
constexpr int kLongHand = 70;

int RoundEven(double v)
{
    return int(std::nearbyint(v)); // the default rounding mode takes halves to the even neighbour
}
} // namespace

const std::array<const char16_t*, kSpecialKindCount> kSpecialTexts = {
    u"깨비의 심술 - 시간표시 감추기",
    u"깨비의 심술 - 어지럽게 하기",
    u"깨비가 화면을 깨끗하게 청소했습니다. ",
    u"깨비가 시계에서 건전지를 빼서 장난중...",
    u"깨비의 장난 - 메롱~~",
};

QString SpecialText(TSpecialKind kind)
{
    return kind == TSpecialKind::None ? QString() : QString::fromUtf16(kSpecialTexts[size_t(kind)]);
}

QString ZeroPad(int Value, int Width)
{
    QString s = QString::number(Value);
    while (s.size() < Width)
        s.prepend(u'0');
    return s;
}

QString ClockText(const QTime& time)
{
    return ZeroPad(time.hour(), 2) + u':' + ZeroPad(time.minute(), 2) + u':' + ZeroPad(time.second(), 2) +
           QStringLiteral("  ");
}

int StrToIntDef(const QString& S, int Default)
{
    int i = 0;
    const int n = S.size();
    bool negative = false;
    if (i < n && (S[i] == u'+' || S[i] == u'-')) negative = S[i++] == u'-';
    int base = 10;
    if (i < n && S[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && S[i] == u'0' && (S[i + 1] == u'x' || S[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return Default;
    int64_t value = 0;
    for (; i < n; ++i) {
        const char16_t c = S[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return Default;
        value = value * base + digit;
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) return Default;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) return Default;
    return int(value);
}

TGameModel::TGameModel(TGameHost* host, TRandomFn random, TTimeFn now)
    : FHost(host), FRandom(random ? std::move(random) : TRandomFn(::Random)), FNow(now ? std::move(now) : TTimeFn([] {
          const TSystemTime t = GetLocalTime();
          return QTime(t.wHour, t.wMinute, t.wSecond);
      }))
{
}

void TGameModel::SetRotation(TRotation rot)
{
    FEffectTicks = -1;
    FSpecialKind = TSpecialKind::None;
    FGameScore = 0;
    FEffectActive = false;
    FLives = kStartLives;
    FClearedCount = 0;
    FRotation = rot;
    FRotationOffset = 0;
    FHandIndex = 2;
    FEnd = TGameEnd::None;
    FJudgeNext = 0;

    double slotAngle;
    if (rot == TRotation::CounterClockWise) {
        slotAngle = 11 * kPi / 6;
        FSlotStep = -kPi / 6;
        FHandStep = -kPi / 30;
    } else {
        slotAngle = 3 * kPi / 2;
        FSlotStep = kPi / 6;
        FHandStep = kPi / 30;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        slotAngle += FSlotStep;
        FP[i] = QPoint(RoundEven(std::cos(slotAngle) * kOuterRadius), RoundEven(std::sin(slotAngle) * kOuterRadius));
        FPP[i] = QPoint(RoundEven(std::cos(slotAngle) * kInnerRadius + kClockCentre.x()),
                        RoundEven(std::sin(slotAngle) * kInnerRadius + kClockCentre.y()));
    }
    // The twelve and the six stand a little further out, clear of the hands.
    if (rot == TRotation::CounterClockWise) {
        FP[1].ry() -= 7;
        FP[7].ry() += 7;
    } else {
        FP[11].ry() -= 7;
        FP[5].ry() += 7;
    }
    for (int i = 1; i <= kSlotCount; ++i) {
        TGameSlot& s = SlotRef(i);
        s.Age = -1;
        SetIntCaption(i);
        s.FontColor = clBlack;
        s.Color = clWhite;
    }
}

void TGameModel::SetTimerInterval()
{
    if (GameLevel < 1 || GameLevel > kLastLevel) return;
    const TLevelRule& r = kLevelRules[GameLevel - 1];
    FTimers.ShowClockInterval = r.ShowClockMs;
    FTimers.ProblemClockInterval = r.ProblemClockMs;
    FWordLifetime = r.WordLifetime;
    FLevelQuota = r.LevelQuota;
}

void TGameModel::Start()
{
    FTimers.ProblemClock = true;
    FTimers.ShowClock = true;
    FTimers.PauseTimer = false;
    for (QString& line : FHistory)
        line.clear();
    FHistory[0] = ClockText(FNow()) + QStringLiteral(" 버그수정 시작!!");
}

int TGameModel::SlotPosition(int i) const
{
    return (i + FRotationOffset - 1) % kSlotCount + 1;
}

QString TGameModel::SlotNumberText(int i) const
{
    if (FRotation != TRotation::CounterClockWise) return QString::number(i);
    return i == 1 ? QStringLiteral("1") : QString::number(14 - i);
}

void TGameModel::SetIntCaption(int Ind)
{
    SlotRef(Ind).Caption = SlotNumberText(Ind);
}

void TGameModel::SetLabelColor(int Tick, int Index)
{
    TGameSlot& s = SlotRef(Index);
    if (s.Color == clYellow) return;
    const int L = FWordLifetime;
    const bool hidden = FSpecialKind == TSpecialKind::HideWords && FEffectActive && Tick >= 0;
    if (Tick < L - 6) {
        s.Color = clWhite;
        s.FontColor = clBlack;
    } else if (Tick < L - 3) {
        s.Color = clBlue;
        s.FontColor = clWhite;
    } else if (Tick <= L) {
        s.Color = clRed;
        s.FontColor = clWhite;
    } else {
        return;
    }
    if (hidden) s.FontColor = s.Color;
}

void TGameModel::Play(const char* name)
{
    if (!SoundOff) FHost->PlayGameSound(QString::fromLatin1(name));
}

TGameEvent TGameModel::ShowClockTimer()
{
    if (Over()) return TGameEvent::None;
    if (FRotation != TRotation::NoRotation) FRotationOffset = FRotationOffset % kSlotCount + 1;

    if (FEffectTicks >= 0 && FEffectActive) {
        if (++FEffectTicks == kEffectLength) FreeSpecialItem();
    }

    for (int i = 1; i <= kSlotCount; ++i) {
        TGameSlot& s = SlotRef(i);
        if (s.Age < 0) continue;
        ++s.Age;
        if (s.Age > FWordLifetime) {
            --FLives;
            // A pending special word is lost with it.
            if (s.Color == clYellow) FreeSpecialItem();
            if (FLives < 1) {
                GameOver();
                return TGameEvent::GameOver; // nothing more is aged or drawn
            }
            SetIntCaption(i);
            s.Color = clWhite;
            s.FontColor = clBlack;
            s.Age = -1;
            Play("WRONGKEY");
        }
        SetLabelColor(s.Age, i);
    }
    AdvanceFace();
    return TGameEvent::None;
}

void TGameModel::AdvanceFace()
{
    if (Face.HandAngle > 2 * kPi) Face.HandAngle -= 2 * kPi;
    Face.SpriteFrame = Face.SpriteFrame == 2 ? 1 : Face.SpriteFrame + 1;
    if (++FHandIndex > kSlotCount) {
        FHandIndex = 1;
        Face.HandAngle += FHandStep;
    }
}

QPoint TGameModel::LongHandEnd() const
{
    const double a = FHandIndex == 1 ? Face.HandAngle - FHandStep : Face.HandAngle;
    return QPoint(RoundEven(std::cos(a) * kLongHand + kClockCentre.x()),
                  RoundEven(std::sin(a) * kLongHand + kClockCentre.y()));
}

QPoint TGameModel::ShortHandEnd() const
{
    return PP(FHandIndex == 1 ? kSlotCount : FHandIndex - 1);
}

void TGameModel::GameOver()
{
    FTimers.ShowClock = false;
    FTimers.ProblemClock = false;
    FTimers.PauseTimer = false;
    FEnd = TGameEnd::LivesOut;
}

void TGameModel::ProblemClockTimer()
{
    if (Over()) return;
    const int a = FRandom(17);
    bool special = false;
    // A clock that does not turn cannot spin either.
    if (a < kSpecialKindCount && FSpecialKind == TSpecialKind::None &&
        !(FRotation == TRotation::NoRotation && TSpecialKind(a) == TSpecialKind::Dizzy)) {
        FSpecialKind = TSpecialKind(a);
        special = true;
    }
    const int w = FRandom(EnglishGame ? int(kEnglishWords.size()) : int(kKoreanWords.size()));
    const int s = FRandom(kSlotCount) + 1;
    int j = 0;
    for (int k = s; k <= kSlotCount && !j; ++k)
        if (Slot(k).Age == -1) j = k;
    for (int k = 1; k < s && !j; ++k)
        if (Slot(k).Age == -1) j = k;
    if (!j) {
        if (special) FSpecialKind = TSpecialKind::None;
        return;
    }
    TGameSlot& slot = SlotRef(j);
    if (special) {
        slot.Color = clYellow;
        slot.FontColor = clBlack;
    }
    slot.Age = 0;
    SetLabelColor(0, j);
    slot.Caption = QString::fromUtf16(EnglishGame ? kEnglishWords[w] : kKoreanWords[w]);
}

void TGameModel::PauseTimerTimer()
{
    if (Over()) return;
    if (FEffectTicks >= 0) {
        if (++FEffectTicks == kEffectLength) FreeSpecialItem();
    }
}

void TGameModel::ApplySpecialItem()
{
    FEffectActive = true;
    FEffectTicks = 0;
    switch (FSpecialKind) {
    case TSpecialKind::HideWords:
        for (TGameSlot& s : FSlots)
            if (s.Age >= 0) s.FontColor = s.Color;
        break;
    case TSpecialKind::Dizzy:
        FTimers.ShowClockInterval = kDizzyInterval;
        break;
    case TSpecialKind::Sweep: // at no cost and no gain
        for (int i = 1; i <= kSlotCount; ++i) {
            TGameSlot& s = SlotRef(i);
            s.FontColor = clBlack;
            s.Color = clWhite;
            SetIntCaption(i);
            s.Age = -1;
        }
        break;
    case TSpecialKind::StopClock:
        FTimers.ShowClock = false;
        FTimers.ProblemClock = false;
        FTimers.PauseTimer = true;
        break;
    case TSpecialKind::Tease:
        break;
    case TSpecialKind::None:
        return;
    }
    FStatusText = SpecialText(FSpecialKind);
}

void TGameModel::FreeSpecialItem()
{
    FEffectTicks = -1;
    if (FSpecialKind == TSpecialKind::Dizzy) SetTimerInterval();
    if (FSpecialKind == TSpecialKind::StopClock) {
        FTimers.ShowClock = true;
        FTimers.ProblemClock = true;
        FTimers.PauseTimer = false;
    }
    FSpecialKind = TSpecialKind::None;
    FStatusText.clear();
    FEffectActive = false;
    for (int i = 1; i <= kSlotCount; ++i)
        SetLabelColor(Slot(i).Age, i);
}

TGameEvent TGameModel::JudgeWord(const QString& typed)
{
    if (Over() || LevelUpPending()) return TGameEvent::None;
    const QString t = TrimLeftSpaces(TrimRightSpaces(typed));
    if (t.isEmpty()) return TGameEvent::None;
    // Clock numbers are no words: typing one does nothing at all.
    if (StrToIntDef(t, -1) != -1) return TGameEvent::None;
    FJudged = t;
    FJudgeMatched = false;
    return JudgeFrom(1);
}

TGameEvent TGameModel::ResumeJudging()
{
    if (!LevelUpPending()) return TGameEvent::None;
    const int i = FJudgeNext;
    FJudgeNext = 0;
    FTimers.ShowClock = true;
    FTimers.ProblemClock = true;
    FTimers.PauseTimer = FPauseBeforeLevelUp;
    FClearedCount = 0;
    SetTimerInterval();
    TGameSlot& s = SlotRef(i);
    s.Color = clWhite;
    s.FontColor = clBlack;
    // Every slot showing the same word is cleared, each with its own level check.
    return JudgeFrom(i + 1);
}

TGameEvent TGameModel::JudgeFrom(int from)
{
    const QString& t = FJudged;
    for (int i = from; i <= kSlotCount; ++i) {
        TGameSlot& s = SlotRef(i);
        if (s.Caption != t) continue;
        FJudgeMatched = true;
        for (int k = 0; k + 1 < kHistoryCount; ++k)
            FHistory[k] = FHistory[k + 1];
        FHistory[kHistoryCount - 1] = ClockText(FNow()) + t + QStringLiteral("->") + SlotNumberText(i);
        s.Age = -1;
        ++FClearedCount;
        if (s.Color == clYellow && FSpecialKind != TSpecialKind::None) ApplySpecialItem();
        const int bonus = GameLevel >= 1 && GameLevel <= kLastLevel ? kLevelRules[GameLevel - 1].ScoreBonus : 0;
        FGameScore += bonus + int(t.size());
        SetIntCaption(i);
        s.Color = clWhite;
        s.FontColor = clBlack;
        Play("CORRECTKEY");
        if (FClearedCount > FLevelQuota && GameLevel <= kLastLevel) {
            LevelUp();
            // Past the last level judging ends here: later slots are not compared.
            if (Over()) return TGameEvent::GameOver;
            FJudgeNext = i;
            return TGameEvent::LevelReached;
        }
        s.Color = clWhite;
        s.FontColor = clBlack;
    }
    if (!FJudgeMatched) Play("WRONGKEY");
    return TGameEvent::None;
}

void TGameModel::LevelUp()
{
    ++GameLevel;
    FTimers.ShowClock = false;
    FTimers.ProblemClock = false;
    FPauseBeforeLevelUp = FTimers.PauseTimer;
    FTimers.PauseTimer = false;
    if (GameLevel > kLastLevel) FEnd = TGameEnd::AllLevels;
}
