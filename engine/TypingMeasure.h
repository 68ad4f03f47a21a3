#pragma once
// The sentences of one set (problem and typed text) and the speed and accuracy measured over them; no widget.

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TSentence
{
public:
    TSentence();

    QString problem;
    QString typed;

    void AppendChar(char16_t AChar) { typed.append(QChar(AChar)); }
    void BackSpace()
    {
        if (!typed.isEmpty()) typed.chop(1);
    }

    // Left edges of the typed characters (one more for the end), for the font they were measured in.
    mutable std::vector<int> FTypedX;
    mutable QString FMeasuredTyped;
};

using TSentenceList = std::vector<std::unique_ptr<TSentence>>;

// Speed and accuracy of a set of sentences and the running totals over finished sets; no widget.
class TTypingMeasure
{
public:
    uint32_t FStartTick = 0;
    uint32_t FStopTick = 0;
    int64_t FTotalProblemLen = 0;
    int64_t FTotalTypedLen = 0;
    int64_t FTotalRightlyTypedLen = 0;
    int64_t FTotalElapsedTime = 0;
    // The set now shown went into the totals already; it goes in once however often typing ends.
    bool FSetAdded = false;

    static float GetTypingAccuracy(const TSentenceList& Sentences, int& ProblemLen, int& TypedLen, int& RightlyTypedLen,
                                   bool isCurrent);
    static float GetOnlyTypingAccuracy(const TSentenceList& Sentences, bool isCurrent);
    int GetTypingSpeed(const TSentenceList& Sentences, bool isCurrent) const;
    int GetAvgTypingSpeed(const TSentenceList& Sentences, bool isCurrent) const;
    void AddTotals(const TSentenceList& Sentences);
    uint32_t TypingDuration() const { return FStopTick - FStartTick; }
};
