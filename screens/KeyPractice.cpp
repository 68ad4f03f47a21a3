#include "screens/KeyPractice.h"

#include "platform/Clock.h"
#include "platform/Random.h"

using namespace KeyArray;

namespace {
constexpr int kLeftUp[] = {'Q', 'W', 'E', 'R'};
constexpr int kLeftDown[] = {'Z', 'X', 'C', 'V'};
constexpr int kPrinciple[] = {'A', 'S', 'D', 'F', 'J', 'K', 'L', VK_SEMICOLON}; // ; only in the 3-set layouts
constexpr int kRightUp[] = {'P', 'O', 'I', 'U'};
constexpr int kRightDown[] = {'M', 'N', 'B', VK_SLASH};              // / only in the 3-set layouts
constexpr int kRemnant[] = {'T', 'G', 'Y', 'H', '5', '6', VK_QUOTE}; // 5 6 ' only in the 3-set layouts
constexpr int kHangeul3Top[] = {'9', '0', '1', '2', '3', '4', '7', '8'};

bool ThreeSet(uint8_t language)
{
    return language == kl390 || language == klFinal;
}

bool IsBottom(TAlignment a)
{
    return a == TAlignment::alBottomCenter || a == TAlignment::alBottomRight;
}
} // namespace

TKeyPractice::TKeyPractice() : FRandom([](int range) { return Random(range); }) {}

uint8_t TKeyPractice::LanguageOfItem(int item)
{
    switch (item) {
    case 1:
        return klEnglish;
    case 2:
        return kl390;
    case 3:
        return klFinal;
    default:
        return kl2Set;
    }
}

void TKeyPractice::Configure(int languageItem, TPracticePosition position, bool speakerOff, bool keyGuideOff)
{
    using P = TPracticePosition;
    if (int(position) >= kPositionCount) position = P::HomeRow;
    SpeakerOff = speakerOff;
    WrongCount = 0;
    KeyLanguage = LanguageOfItem(languageItem);
    const bool threeSet = ThreeSet(KeyLanguage);
    LetterFontName = KeyLanguage == klEnglish ? QStringLiteral("MS Sans Serif") : QStringLiteral("바탕체");
    setCaption(Caps, KeyLanguage);
    ExLabelBottom = false;
    const int finalRow = FinalShiftRowOf(position);
    if (finalRow >= 0) {
        for (const TKeyCaption& c : H3LastShiftGroups[size_t(finalRow)]) {
            Caps.Cap(c.Key).Caption = QString(QChar(c.Caption));
            Caps.Cap(c.Key).Alignment = TAlignment::alBottomCenter;
        }
    }
    PracticeKind = PracticePositionItem(position).Kind;
    const auto highlight = [this](std::initializer_list<int> keys) {
        for (int key : keys)
            Caps.Highlight(key);
    };
    switch (position) {
    case P::HomeRow:
        highlight({'A', 'S', 'D', 'F', 'J', 'K', 'L'});
        if (threeSet) highlight({VK_SEMICOLON});
        break;
    case P::LeftUpper:
        highlight({'Q', 'W', 'E', 'R'});
        break;
    case P::LeftLower:
        highlight({'Z', 'X', 'C', 'V'});
        break;
    case P::RightUpper:
        highlight({'U', 'I', 'O', 'P'});
        break;
    case P::RightLower:
        highlight({'B', 'N', 'M'});
        if (threeSet) highlight({VK_SLASH});
        break;
    case P::IndexRest:
        highlight({'T', 'Y', 'G', 'H'});
        if (threeSet) highlight({'5', '6', VK_QUOTE});
        break;
    case P::Numbers:
        SetNumberKeys(Caps, KeyLanguage);
        break;
    case P::Symbols:
        SetSpecialKeys(Caps, KeyLanguage);
        break;
    case P::ThreeSetTopRow:
        highlight({'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
        Caps.SetColor('5', kNeutralColor);
        Caps.SetColor('6', kNeutralColor);
        break;
    case P::Shift390:
        for (const TKeyCaption& c : Hangeul3ShiftTable) {
            Caps.Highlight(c.Key);
            Caps.Cap(c.Key).Alignment = TAlignment::alBottomCenter;
            Caps.Cap(c.Key).Caption = QString(QChar(c.Caption));
        }
        break;
    case P::FinalShiftRow1:
    case P::FinalShiftRow2:
    case P::FinalShiftRow3:
    case P::FinalShiftRow4:
        for (const TKeyCaption& c : H3LastShiftGroups[size_t(finalRow)])
            Caps.Highlight(c.Key);
        if (position == P::FinalShiftRow3) Caps.Cap('G').Alignment = TAlignment::alMiddleCenter;
        if (position == P::FinalShiftRow4) Caps.Cap('B').Alignment = TAlignment::alMiddleCenter;
        break;
    case P::AllKeys:
        break;
    }
    KeyGuideOff = keyGuideOff;
}

void TKeyPractice::GoProblem()
{
    for (TKeyCap* shift : {&Caps.RShift, &Caps.LShift}) {
        shift->Color = kNeutralColor;
        shift->FontColor = 0;
    }
    switch (PracticeKind) {
    case TPracticeKind::LeftUp:
        LeftUpKeys();
        break;
    case TPracticeKind::LeftDown:
        LeftDownKeys();
        break;
    case TPracticeKind::Principle:
        PrincipleKeys();
        break;
    case TPracticeKind::RightUp:
        RightUpKeys();
        break;
    case TPracticeKind::RightDown:
        RightDownKeys();
        break;
    case TPracticeKind::Remnant:
        RemnantKeys();
        break;
    case TPracticeKind::Special:
        SpecialKeys();
        break;
    case TPracticeKind::Number:
        NumberKeys();
        break;
    case TPracticeKind::Hangeul3Shift:
        Hangeul3ShiftKeys();
        break;
    case TPracticeKind::Hangeul3Top:
        Hangeul3TopKeys();
        break;
    case TPracticeKind::All:
        AllKeys();
        break;
    case TPracticeKind::H3LastShift1:
        H3LastShiftKeys1Proc();
        break;
    case TPracticeKind::H3LastShift2:
        H3LastShiftKeys2Proc();
        break;
    case TPracticeKind::H3LastShift3:
        H3LastShiftKeys3Proc();
        break;
    case TPracticeKind::H3LastShift4:
        H3LastShiftKeys4Proc();
        break;
    }
    ShiftLabelVisible = ShiftNeeded;
    if (!KeyGuideOff) {
        SetFinger();
    } else {
        for (TFingerState& f : Fingers)
            f = TFingerState();
    }
}

template <class KeyAt> int TKeyPractice::Pick(int count, KeyAt keyAt, int* coin)
{
    int key;
    do {
        key = keyAt(Draw(count));
        if (coin) *coin = Draw(2);
    } while (key == PrevProblemKey);
    return key;
}

void TKeyPractice::Shift2Set(int key, int coin)
{
    // The 2-set layout asks for the doubled consonants and ㅒ ㅖ on the same caps, half of the time.
    if (KeyLanguage != kl2Set) return;
    const TShiftPair* pair = Hangeul2ShiftPairOf(key);
    if (!pair) return;
    ShiftNeeded = coin == 1;
    Caps.Cap(key).Caption = QString(QChar(ShiftNeeded ? pair->Shifted : pair->Plain));
}

void TKeyPractice::LeftUpKeys()
{
    int coin = 0;
    ProblemKey = Pick(
        4, [](int i) { return kLeftUp[i]; }, &coin);
    ShiftNeeded = false;
    Shift2Set(ProblemKey, coin);
    CommonProblemEndProc();
}

void TKeyPractice::LeftDownKeys()
{
    ProblemKey = Pick(4, [](int i) { return kLeftDown[i]; });
    ShiftNeeded = false;
    CommonProblemEndProc();
}

void TKeyPractice::PrincipleKeys()
{
    ProblemKey = Pick(ThreeSet(KeyLanguage) ? 8 : 7, [](int i) { return kPrinciple[i]; });
    ShiftNeeded = false;
    CommonProblemEndProc();
}

void TKeyPractice::RightUpKeys()
{
    int coin = 0;
    ProblemKey = Pick(
        4, [](int i) { return kRightUp[i]; }, &coin);
    ShiftNeeded = false;
    if (ProblemKey == 'O' || ProblemKey == 'P') Shift2Set(ProblemKey, coin);
    CommonProblemEndProc();
}

void TKeyPractice::RightDownKeys()
{
    ProblemKey = Pick(ThreeSet(KeyLanguage) ? 4 : 3, [](int i) { return kRightDown[i]; });
    ShiftNeeded = false;
    CommonProblemEndProc();
}

void TKeyPractice::RemnantKeys()
{
    int coin = 0;
    ProblemKey = Pick(
        ThreeSet(KeyLanguage) ? 7 : 4, [](int i) { return kRemnant[i]; }, &coin);
    ShiftNeeded = false;
    if (ProblemKey == 'T') Shift2Set(ProblemKey, coin);
    CommonProblemEndProc();
}

void TKeyPractice::SpecialKeys()
{
    const TPracticeTable t = SymbolPracticeKeys(KeyLanguage);
    int index = 0;
    ProblemKey = Pick(t.Count, [&](int i) {
        index = i;
        return t.Items[i].Key;
    });
    ShiftNeeded = t.Items[index].Shift;
    CommonProblemEndProc();
}

void TKeyPractice::NumberKeys()
{
    const TCaptionTable t = NumberPracticeKeys(KeyLanguage);
    ProblemKey = Pick(t.Count, [&](int i) { return t.Items[i].Key; });
    // The 3-set layouts type digits with Shift on right-hand letter keys.
    ShiftNeeded = ThreeSet(KeyLanguage);
    CommonProblemEndProc();
}

void TKeyPractice::Hangeul3ShiftKeys()
{
    ProblemKey = Pick(int(Hangeul3ShiftTable.size()), [](int i) { return Hangeul3ShiftTable[size_t(i)].Key; });
    ShiftNeeded = true;
    CommonProblemEndProc();
}

void TKeyPractice::Hangeul3TopKeys()
{
    ProblemKey = Pick(8, [](int i) { return kHangeul3Top[i]; });
    ShiftNeeded = false;
    CommonProblemEndProc();
}

void TKeyPractice::AllKeys()
{
    // Groups first, keys second: the 3-set layouts add their top row as a seventh group.
    switch (Draw(ThreeSet(KeyLanguage) ? 7 : 6)) {
    case 0:
        PrincipleKeys();
        break;
    case 1:
        LeftUpKeys();
        break;
    case 2:
        LeftDownKeys();
        break;
    case 3:
        RightUpKeys();
        break;
    case 4:
        RightDownKeys();
        break;
    case 5:
        RemnantKeys();
        break;
    default:
        Hangeul3TopKeys();
        break;
    }
}

void TKeyPractice::H3LastShiftKeysProc(int group)
{
    const auto& keys = H3LastShiftGroups[size_t(group - 1)];
    ProblemKey = Pick(5, [&](int i) { return keys[size_t(i)].Key; });
    ShiftNeeded = true;
    CommonProblemEndProc();
}

void TKeyPractice::CommonProblemEndProc()
{
    PrevProblemKey = ProblemKey;
    TKeyCap& cap = Caps.Cap(ProblemKey);
    ExLabelBottom = IsBottom(cap.Alignment);
    if (!KeyGuideOff) {
        cap.Color = kProblemColor;
        cap.FontColor = 0;
        if (ShiftNeeded) {
            // The Shift of the other hand.
            TKeyCap& shift = IsLeftHandKey(ProblemKey) ? Caps.RShift : Caps.LShift;
            shift.Color = kProblemColor;
            shift.FontColor = 0;
        }
    }
    ExLabelCaption = cap.Caption;
}

void TKeyPractice::SetFinger()
{
    for (int i = 0; i < kFingerCount; ++i)
        if (FingerName == QLatin1String(FingerNames[size_t(i)])) Fingers[size_t(i)] = TFingerState();
    const TFinger finger = FingerOf(ProblemKey);
    if (finger == kFingerCount) {
        FingerName.clear();
        return;
    }
    FingerName = QLatin1String(FingerNames[finger]);
    Fingers[finger].Color = kFingerLitColor;
    Fingers[finger].Down = true;
}

void TKeyPractice::KeyDown(int key)
{
    FDown.set(size_t(key & 0xFF));
    if (key == VK_SHIFTKEY && !Caps.RShift.Lowered) Caps.LShift.Lowered = Caps.RShift.Lowered = true;
    if (IsCharKey(key)) Caps.Cap(key).Lowered = true;
}

void TKeyPractice::ReturnProblemCap()
{
    if (!IsCharKey(ProblemKey)) return; // no problem asked yet
    Caps.SetColor(ProblemKey, PracticeKind == TPracticeKind::All ? kNeutralColor : kPracticeColor);
}

TJudgement TKeyPractice::KeyUp(int key, unsigned modifiers, bool autoRepeat)
{
    if (autoRepeat) return TJudgement::NotJudged;
    // A release whose press went to another window (the setup dialog's Esc, Enter or Alt+Y) is not an answer.
    if (!FDown.test(size_t(key & 0xFF))) return TJudgement::NotJudged;
    FDown.reset(size_t(key & 0xFF));
    if (key == VK_SHIFTKEY) Caps.LShift.Lowered = Caps.RShift.Lowered = false;
    if (key == VK_PROCESSKEY || key == VK_SHIFTKEY) return TJudgement::NotJudged;
    if (IsCharKey(key)) Caps.Cap(key).Lowered = false;

    const bool shiftAlone = (modifiers & (kmShift | kmCtrl | kmAlt | kmMeta)) == kmShift;
    TJudgement result;
    if (key == ProblemKey && shiftAlone == ShiftNeeded) {
        Play("CORRECTKEY");
        ReturnProblemCap();
        GoProblem();
        WrongCount = 0;
        FLampAnswer = TLamp::Green;
        result = TJudgement::Right;
    } else {
        ++WrongCount;
        Play("WRONGKEY");
        result = TJudgement::Wrong;
        if (WrongCount > 3) {
            ReturnProblemCap();
            WrongCount = 0;
            GoProblem();
            result = TJudgement::WrongSkipped;
        }
        FLampAnswer = TLamp::Red;
    }
    // Every answer shows for the whole period, also one that follows another within it.
    FLampSince = GetTickCount();
    return result;
}

void TKeyPractice::Activated()
{
    FDown.reset();
    for (int key : CharKeys)
        Caps.Cap(key).Lowered = false;
    Caps.LShift.Lowered = Caps.RShift.Lowered = false;
}

int TKeyPractice::LampRemaining() const
{
    if (FLampAnswer == TLamp::Yellow) return 0;
    const int32_t left = kLampMs - TickDiff(GetTickCount(), FLampSince);
    return left > 0 ? int(left) : 0;
}

TLamp TKeyPractice::Lamp() const
{
    return LampRemaining() > 0 ? FLampAnswer : TLamp::Yellow;
}

void TKeyPractice::Play(const char* name)
{
    if (!SpeakerOff && FSound) FSound(QString::fromLatin1(name));
}
