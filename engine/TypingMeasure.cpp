#include "engine/TypingMeasure.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cmath>

namespace {
long double Trunc(long double value)
{
    return std::trunc(value);
}
} // namespace

// ---------------------------------------------------------------------------------------------------------------
TSentence::TSentence() : problem(QStringLiteral("우리나라 대한민국 테스트중..")) {}

// ---------------------------------------------------------------------------------------------------------------
float TTypingMeasure::GetTypingAccuracy(const TSentenceList& Sentences, int& ProblemLen, int& TypedLen,
                                        int& RightlyTypedLen, bool isCurrent)
{
    int64_t r = 0, t = 0, q = 0;
    for (const auto& s : Sentences) {
        const int n = std::min(s->problem.size(), s->typed.size());
        const QChar* p = s->problem.constData();
        const QChar* y = s->typed.constData();
        for (int i = 0; i < n; ++i)
            r += p[i] == y[i];
        t += s->typed.size();
        q += s->problem.size();
    }
    TypedLen = int(t);
    RightlyTypedLen = int(r);
    double result;
    if (isCurrent) {
        ProblemLen = int(t);
        result = t == 0 ? 0.0 : double(r) / double(t);
    } else {
        ProblemLen = int(q);
        result = q == 0 ? 0.0 : double(r) / double(q);
    }
    return float(result);
}

float TTypingMeasure::GetOnlyTypingAccuracy(const TSentenceList& Sentences, bool isCurrent)
{
    int q, t, r;
    return GetTypingAccuracy(Sentences, q, t, r, isCurrent);
}

int TTypingMeasure::GetTypingSpeed(const TSentenceList& Sentences, bool isCurrent) const
{
    int64_t t = 0;
    for (const auto& s : Sentences)
        t += s->typed.size();
    const int32_t ms = isCurrent ? TickDiff(GetTickCount(), FStartTick) : int32_t(TypingDuration());
    if (ms <= 0) return 0;
    const float a = GetOnlyTypingAccuracy(Sentences, isCurrent);
    return int(Trunc((long double)a * ((long double)t / ms * 1000 * 60)));
}

int TTypingMeasure::GetAvgTypingSpeed(const TSentenceList& Sentences, bool isCurrent) const
{
    const int c = isCurrent ? 1 : 0;
    int q, t, r;
    GetTypingAccuracy(Sentences, q, t, r, isCurrent);
    const int32_t ms = int32_t(uint32_t(FTotalElapsedTime) + uint32_t(c) * (GetTickCount() - FStartTick));
    const int32_t p = int32_t(uint32_t(FTotalProblemLen) + uint32_t(c * t));
    if (ms <= 0 || p <= 0) return 0;
    const long double typed = (long double)(FTotalTypedLen + int64_t(c) * t);
    const long double right = (long double)(FTotalRightlyTypedLen + int64_t(c) * r);
    return int(Trunc(typed / ms * 1000 * 60 * (right / p)));
}

void TTypingMeasure::AddTotals(const TSentenceList& Sentences)
{
    if (FSetAdded) return;
    int q, t, r;
    GetTypingAccuracy(Sentences, q, t, r, false);
    FTotalTypedLen += t;
    FTotalElapsedTime += int64_t(TypingDuration());
    FTotalRightlyTypedLen += r;
    FTotalProblemLen += q;
    FSetAdded = true;
}
