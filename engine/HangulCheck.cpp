#include "engine/HangulCheck.h"

constexpr char16_t InitialLetters[] = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ";
constexpr char16_t VowelLetters[] = u"ㅏㅐㅑㅒㅓㅔㅕㅖㅗㅘㅙㅚㅛㅜㅝㅞㅟㅠㅡㅢㅣ";
constexpr char16_t FinalLetters[] = u".ㄱㄲㄳㄴㄵㄶㄷㄹㄺㄻㄼㄽㄾㄿㅀㅁㅂㅄㅅㅆㅇㅈㅊㅋㅌㅍㅎ";
constexpr char16_t VowelParts[] = u"ㅏ.ㅐ.ㅑ.ㅒ.ㅓ.ㅔ.ㅕ.ㅖ.ㅗ.ㅗㅏㅗㅐㅗㅣㅛ.ㅜ.ㅜㅓㅜㅔㅜㅣㅠ.ㅡ.ㅡㅣㅣ.";
constexpr char16_t FinalParts[] =
    u"..ㄱ.ㄲ.ㄱㅅㄴ.ㄴㅈㄴㅎㄷ.ㄹ.ㄹㄱㄹㅁㄹㅂㄹㅅㄹㅌㄹㅍㄹㅎㅁ.ㅂ.ㅂㅅㅅ.ㅆ.ㅇ.ㅈ.ㅊ.ㅋ.ㅌ.ㅍ.ㅎ.";

namespace {
constexpr int InitialCount = 19;
constexpr int VowelCount = 21;
constexpr int FinalCount = 28;
constexpr char16_t Empty = u'.';
constexpr char16_t FirstSyllable = 0xAC00;
constexpr char16_t LastSyllable = 0xD7A3;

// Compatibility letters U+3131..U+3163 indexed directly: which table holds each and where, so a lone
// letter is found in the tables' search order without scanning them.
struct TLetterIndex
{
    signed char Table[0x33]; // 0 none, 1 initial, 2 vowel, 3 final
    signed char Index[0x33];
    constexpr TLetterIndex() : Table(), Index()
    {
        for (int i = FinalCount - 1; i >= 1; --i)
            Set(FinalLetters[i], 3, i);
        for (int i = VowelCount - 1; i >= 0; --i)
            Set(VowelLetters[i], 2, i);
        for (int i = InitialCount - 1; i >= 0; --i)
            Set(InitialLetters[i], 1, i);
    }
    constexpr void Set(char16_t ch, int table, int index)
    {
        Table[ch - 0x3131] = static_cast<signed char>(table);
        Index[ch - 0x3131] = static_cast<signed char>(index);
    }
};
constexpr TLetterIndex LetterIndex;

void Fill(THangulForm& form, char16_t a, char16_t b, char16_t c, char16_t d, char16_t e)
{
    form.Letters[0] = a;
    form.Letters[1] = b;
    form.Letters[2] = c;
    form.Letters[3] = d;
    form.Letters[4] = e;
}
} // namespace

bool SplitHangul(char16_t ch, THangulForm& form)
{
    if (ch < 128) return false;
    if (ch >= FirstSyllable && ch <= LastSyllable) {
        const int n = ch - FirstSyllable;
        const int i = n / 588, m = (n % 588) / 28, f = n % 28;
        Fill(form, InitialLetters[i], VowelParts[2 * m], VowelParts[2 * m + 1], FinalParts[2 * f],
             FinalParts[2 * f + 1]);
        return true;
    }
    if (ch < 0x3131 || ch > 0x3163) return false;
    const int k = LetterIndex.Index[ch - 0x3131];
    switch (LetterIndex.Table[ch - 0x3131]) {
    case 1:
        Fill(form, ch, Empty, Empty, Empty, Empty);
        return true;
    case 2:
        Fill(form, Empty, VowelParts[2 * k], VowelParts[2 * k + 1], Empty, Empty);
        return true;
    case 3:
        Fill(form, Empty, Empty, Empty, FinalParts[2 * k], FinalParts[2 * k + 1]);
        return true;
    default:
        return false;
    }
}

bool SplitHangul(char16_t ch, QString& form)
{
    THangulForm f;
    if (!SplitHangul(ch, f)) return false;
    form = QString(reinterpret_cast<const QChar*>(f.Letters), 5);
    return true;
}

int LetterFormLength(const THangulForm& form)
{
    int n = 5;
    while (n > 0 && form.Letters[n - 1] == Empty)
        --n;
    return n;
}

QString LetterForm(const QString& fiveLetterForm)
{
    int n = fiveLetterForm.size();
    while (n > 0 && fiveLetterForm[n - 1] == QChar(Empty))
        --n;
    return fiveLetterForm.left(n);
}

bool IsComposingCharRight(bool checkComposingChar, bool isComposing, const QString& problem, const QString& typed,
                          char16_t composingChar, QString& letters)
{
    if (!checkComposingChar || !isComposing) return true;
    if (typed.size() >= problem.size()) return false;
    THangulForm target, composing;
    if (!SplitHangul(problem[typed.size()].unicode(), target) || !SplitHangul(composingChar, composing)) return false;
    const int targetLen = LetterFormLength(target);
    const int composingLen = LetterFormLength(composing);
    letters = QString(reinterpret_cast<const QChar*>(composing.Letters), composingLen);
    const int n = targetLen < composingLen ? targetLen : composingLen;
    for (int i = 0; i < n; ++i)
        if (target.Letters[i] != composing.Letters[i]) return false;
    return true;
}
