#pragma once
// The key-layout tables of keyboard practice: what each of the 47 character caps shows in the four
// layouts, the keys and captions of the number, symbol and Shift practices, the practice positions and
// the finger of every key. Keys are virtual-key codes. The order within a practice table matters: the
// pickers draw an index into it, and the final layout's Shift groups are runs of five.
//
// TKeyCaps is the state of the on-screen keyboard (captions, alignments, colours, raised or lowered);
// setCaption, SetNumberKeys and SetSpecialKeys apply the tables to it. The practice window paints it.

#include "platform/Color.h"

#include <QString>
#include <array>
#include <cstdint>

namespace KeyArray {

// Layouts, as the shared byte KeyLanguage holds them.
enum : uint8_t { kl2Set = 0, kl390 = 1, klFinal = 2, klEnglish = 3 };

// Caption position on a cap; the same order as the key cap control's.
enum class TAlignment : uint8_t { alMiddleCenter, alBottomCenter, alBottomRight };

constexpr TColor kNeutralColor = 0xD1D1D1;   // a cap with nothing to say
constexpr TColor kPracticeColor = 0xFFE3E1;  // a key of the chosen practice
constexpr TColor kProblemColor = 0xF4E8B3;   // the key to type now, and its Shift
constexpr TColor kFingerColor = 0xE8E3E1;    // a finger at rest
constexpr TColor kFingerLitColor = 0xFFC1FF; // the finger to type with

constexpr int VK_GRAVE = 192, VK_MINUS = 189, VK_EQUAL = 187, VK_BACKSLASH = 220, VK_LBRACKET = 219, VK_RBRACKET = 221,
              VK_SEMICOLON = 186, VK_QUOTE = 222, VK_COMMA = 188, VK_PERIOD = 190, VK_SLASH = 191;
// The code the platform's input method reports for a key it has taken.
constexpr int VK_PROCESSKEY = 229;
constexpr int VK_SHIFTKEY = 16;

struct TKeyCaption
{
    int Key;
    char16_t Caption;
};

struct TPracticeKey
{
    int Key;
    bool Shift;
};

// The 47 character keys in the order of the on-screen rows, left to right.
constexpr int kCharKeyCount = 47;
extern const std::array<int, kCharKeyCount> CharKeys;
// Whether key has a cap on the on-screen keyboard.
bool IsCharKey(int key);

// Letter captions, A to Z.
extern const char16_t Hangeul2Letters[27];
extern const char16_t Hangeul3Letters[27];
// Number row of both 3-set layouts, keys 1..9 then 0.
extern const std::array<TKeyCaption, 10> Hangeul3NumberRow;
// Captions the final layout writes on the punctuation caps (the grave cap it leaves alone).
extern const std::array<TKeyCaption, 7> H3LastPunctuation;
// Both 3-set layouts write these over the punctuation pass.
extern const std::array<TKeyCaption, 3> Hangeul3Punctuation;
// Alignment of both 3-set layouts; the 2-set and English layouts set kMiddleReset back to the middle.
extern const std::array<int, 9> Hangeul3BottomKeys;
extern const std::array<int, 11> Hangeul3MiddleKeys;
extern const std::array<int, 18> kMiddleReset;

struct TShiftPair
{
    int Key;
    char16_t Plain;
    char16_t Shifted;
};
extern const std::array<TShiftPair, 7> Hangeul2ShiftPairs;
const TShiftPair* Hangeul2ShiftPairOf(int key);

// Number practice: keys and the digit shown on each. Both 2-set and English use the first row.
extern const std::array<TKeyCaption, 10> NumberPracticeDigits;
extern const std::array<TKeyCaption, 10> NumberPractice390;
extern const std::array<TKeyCaption, 10> NumberPracticeFinal;

// A table of captions as a view.
struct TCaptionTable
{
    const TKeyCaption* Items;
    int Count;
};
struct TPracticeTable
{
    const TPracticeKey* Items;
    int Count;
};

TCaptionTable NumberPracticeKeys(uint8_t language);
TCaptionTable SymbolCaptions(uint8_t language);
TPracticeTable SymbolPracticeKeys(uint8_t language);

extern const std::array<TKeyCaption, 12> Hangeul3ShiftTable;
extern const std::array<std::array<TKeyCaption, 5>, 4> H3LastShiftGroups;

// The practice positions, in the order of the setup dialog's boxes; the settings store the number.
enum class TPracticePosition : uint8_t {
    HomeRow,
    LeftUpper,
    LeftLower,
    RightUpper,
    RightLower,
    IndexRest,
    AllKeys,
    Numbers,
    Symbols,
    ThreeSetTopRow,
    Shift390,
    FinalShiftRow1,
    FinalShiftRow2,
    FinalShiftRow3,
    FinalShiftRow4,
};
constexpr int kPositionCount = 15;
// A stored number outside the boxes is the home row.
constexpr TPracticePosition PracticePositionOf(int stored)
{
    return stored >= 0 && stored < kPositionCount ? TPracticePosition(stored) : TPracticePosition::HomeRow;
}
// 0..3 for the four Shift rows of the final layout, else -1.
constexpr int FinalShiftRowOf(TPracticePosition p)
{
    return p >= TPracticePosition::FinalShiftRow1 ? int(p) - int(TPracticePosition::FinalShiftRow1) : -1;
}

// The pickers of the problems.
enum class TPracticeKind : uint8_t {
    LeftUp,
    LeftDown,
    Principle,
    RightUp,
    RightDown,
    Remnant,
    Special,
    Number,
    Hangeul3Shift,
    Hangeul3Top,
    All,
    H3LastShift1,
    H3LastShift2,
    H3LastShift3,
    H3LastShift4,
};

struct TPracticePositionItem
{
    const char16_t* Caption;
    TPracticeKind Kind;
};
extern const std::array<TPracticePositionItem, kPositionCount> PracticePositions;
inline const TPracticePositionItem& PracticePositionItem(TPracticePosition p)
{
    return PracticePositions[size_t(p)];
}

// Finger buttons, left to right; the names are the window's component names.
enum TFinger : uint8_t { Left4, Left3, Left2, Left1, Right1, Right2, Right3, Right4, kFingerCount };
extern const std::array<const char*, kFingerCount> FingerNames;
// The finger that types key; kFingerCount for a key without a cap.
TFinger FingerOf(int key);
bool IsLeftHandKey(int key);

} // namespace KeyArray

// One cap of the on-screen keyboard as the window paints it.
struct TKeyCap
{
    QString Caption;
    KeyArray::TAlignment Alignment = KeyArray::TAlignment::alMiddleCenter;
    TColor Color = KeyArray::kNeutralColor;
    TColor FontColor = 0;
    bool Lowered = false;

    bool operator==(const TKeyCap& o) const
    {
        return Caption == o.Caption && Alignment == o.Alignment && Color == o.Color && FontColor == o.FontColor &&
               Lowered == o.Lowered;
    }
};

// The caps of the on-screen keyboard: the 47 character caps and the two Shift caps. A new keyboard shows
// the captions of a US keyboard.
class TKeyCaps
{
public:
    TKeyCaps();

    // The cap of a character key; key must be one (IsCharKey).
    TKeyCap& Cap(int key);
    const TKeyCap& Cap(int key) const;
    TKeyCap LShift, RShift;

    // Caption, practice colour and black font.
    void Highlight(int key);
    void SetColor(int key, TColor color);

private:
    std::array<TKeyCap, KeyArray::kCharKeyCount> FCaps;
};

// Writes the captions and alignments of the layout and makes every cap neutral.
void setCaption(TKeyCaps& caps, uint8_t KeyLanguage);
// Captions and highlights the number practice keys of the layout.
void SetNumberKeys(TKeyCaps& caps, uint8_t KeyLanguage);
// Captions and highlights the symbol practice keys of the layout.
void SetSpecialKeys(TKeyCaps& caps, uint8_t KeyLanguage);
