#pragma once
// The letter-by-letter comparison of a Hangul syllable still being composed with the problem character
// it is to become. Plain functions, so the typing control and the tests share one implementation.

#include <QString>

// Letter tables in the order of the Unicode syllable encoding; "." marks an empty place.
extern const char16_t InitialLetters[];
extern const char16_t VowelLetters[];
extern const char16_t FinalLetters[];
extern const char16_t VowelParts[];
extern const char16_t FinalParts[];

// Five places: initial, two vowel parts, two final parts.
struct THangulForm
{
    char16_t Letters[5];
};

// Fills the five-letter form of ch; false (form untouched) when ch is neither a syllable nor a table letter.
bool SplitHangul(char16_t ch, THangulForm& form);
bool SplitHangul(char16_t ch, QString& form);

// The five-letter form with its trailing "." removed (inner ones stay).
QString LetterForm(const QString& fiveLetterForm);
int LetterFormLength(const THangulForm& form);

// Whether the composing character still fits the problem character at the next typed position.
// letters receives the composing character's letter form whenever both characters could be split.
bool IsComposingCharRight(bool checkComposingChar, bool isComposing, const QString& problem, const QString& typed,
                          char16_t composingChar, QString& letters);
