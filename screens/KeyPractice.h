#pragma once
// What the keyboard practice window shows and decides, without the window: the caps, the problem and
// its pickers, the Shift label, the finger guide, the judging of key releases and the right/wrong lamp.
// The window forwards its keys here and paints the state; chance, time and sound are injected.

#include "screens/KeyArray.h"

#include <QString>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>

// Modifiers held when a key was released.
enum TKeyModifier : unsigned { kmShift = 1, kmCtrl = 2, kmAlt = 4, kmMeta = 8 };

enum class TLamp : uint8_t { Yellow, Green, Red };
enum class TJudgement : uint8_t { NotJudged, Right, Wrong, WrongSkipped };

struct TFingerState
{
    TColor Color = KeyArray::kFingerColor;
    bool Down = false;
};

class TKeyPractice
{
public:
    using TRandomSource = std::function<int(int range)>;
    using TSoundOutput = std::function<void(const QString& name)>;

    // How long the lamp shows an answer before it turns back to yellow.
    static constexpr int kLampMs = 300;

    TKeyPractice();

    // Draws whole numbers in 0..range-1; the program's generator unless replaced.
    void SetRandomSource(TRandomSource source) { FRandom = std::move(source); }
    // Plays "CORRECTKEY" and "WRONGKEY"; silent unless set.
    void SetSoundOutput(TSoundOutput output) { FSound = std::move(output); }

    // The setup dialog's OK: layout item of the dialog (0 2-set, 1 English, 2 3-90, 3 final), practice
    // position and the two options. Captions and highlights the caps; the first problem comes from
    // GoProblem.
    void Configure(int languageItem, KeyArray::TPracticePosition position, bool speakerOff, bool keyGuideOff);
    // The layout for a layout item of the setup dialog.
    static uint8_t LanguageOfItem(int item);

    void GoProblem();
    // The pickers, by practice kind.
    void LeftUpKeys();
    void LeftDownKeys();
    void PrincipleKeys();
    void RightUpKeys();
    void RightDownKeys();
    void RemnantKeys();
    void SpecialKeys();
    void NumberKeys();
    void Hangeul3ShiftKeys();
    void Hangeul3TopKeys();
    void AllKeys();
    void H3LastShiftKeys1Proc() { H3LastShiftKeysProc(1); }
    void H3LastShiftKeys2Proc() { H3LastShiftKeysProc(2); }
    void H3LastShiftKeys3Proc() { H3LastShiftKeysProc(3); }
    void H3LastShiftKeys4Proc() { H3LastShiftKeysProc(4); }
    void SetFinger();

    // A key went down in the window (auto-repeated presses included).
    void KeyDown(int key);
    // A key came up. Judged only when it went down in the window since it was last activated; auto-repeat
    // releases are never judged.
    TJudgement KeyUp(int key, unsigned modifiers, bool autoRepeat = false);
    // The window became active: keys held before belong to another window.
    void Activated();

    TLamp Lamp() const;
    // Milliseconds until the lamp turns back to yellow; 0 when it is yellow.
    int LampRemaining() const;

    TKeyCaps Caps;
    std::array<TFingerState, KeyArray::kFingerCount> Fingers;
    QString FingerName;
    QString ExLabelCaption;
    bool ExLabelBottom = false; // the caption sits low in the label, as on its cap
    bool ShiftLabelVisible = false;
    QString LetterFontName = QStringLiteral("바탕체");

    int ProblemKey = 0;
    int PrevProblemKey = -1;
    bool ShiftNeeded = false;
    KeyArray::TPracticeKind PracticeKind = KeyArray::TPracticeKind::LeftUp;
    uint8_t KeyLanguage = 0;
    bool SpeakerOff = false;
    bool KeyGuideOff = false;
    int WrongCount = 0;

private:
    int Draw(int range) { return FRandom(range); }
    void H3LastShiftKeysProc(int group); // group 1..4 of the final layout's Shift groups
    // Draws keys until one differs from the previous problem; coin is drawn in every attempt when asked.
    template <class KeyAt> int Pick(int count, KeyAt keyAt, int* coin = nullptr);
    void Shift2Set(int key, int coin);
    void CommonProblemEndProc();
    void ReturnProblemCap();
    void Play(const char* name);

    TRandomSource FRandom;
    TSoundOutput FSound;
    std::bitset<256> FDown;
    TLamp FLampAnswer = TLamp::Yellow;
    uint32_t FLampSince = 0;
};
