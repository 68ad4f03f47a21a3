#pragma once
// A steady millisecond clock that wraps around at 32 bits like the platform's tick counts; take
// differences as signed 32-bit values. Tests replace the source with a clock they move themselves.

#include <atomic>
#include <cstdint>
#include <functional>

using TTickSource = std::function<uint32_t()>;

uint32_t GetTickCount();
uint32_t timeGetTime();
void Sleep(int milliseconds);

// Milliseconds from `from` to `to`, correct across a wrap of the counter.
inline int32_t TickDiff(uint32_t to, uint32_t from)
{
    return int32_t(to - from);
}

// Replaces the clock for the whole program; an empty source restores the steady clock.
void SetTickSource(TTickSource source);

// A clock a test moves by hand; installed for its lifetime.
class TFakeClock
{
public:
    explicit TFakeClock(uint32_t start = 1000);
    ~TFakeClock();
    TFakeClock(const TFakeClock&) = delete;
    TFakeClock& operator=(const TFakeClock&) = delete;

    void Advance(int32_t milliseconds) { FNow.fetch_add(uint32_t(milliseconds)); }
    void Set(uint32_t now) { FNow = now; }
    uint32_t Now() const { return FNow.load(); }

private:
    std::atomic<uint32_t> FNow;
};

// The local date and time in the platform's fields (month 1-12, day of week 0 = Sunday).
struct TSystemTime
{
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

TSystemTime GetLocalTime();

// A local time a test sets by hand; installed for its lifetime.
class TFakeLocalTime
{
public:
    TFakeLocalTime(int year, int month, int day, int hour, int minute, int second);
    ~TFakeLocalTime();
    TFakeLocalTime(const TFakeLocalTime&) = delete;
    TFakeLocalTime& operator=(const TFakeLocalTime&) = delete;

    void Set(int year, int month, int day, int hour, int minute, int second);
    void AdvanceSeconds(int seconds);
};
