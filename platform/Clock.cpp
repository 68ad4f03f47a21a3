#include "platform/Clock.h"

#include <QDateTime>

#include <chrono>
#include <mutex>
#include <thread>

namespace {
std::mutex gSourceLock;
TTickSource gSource;

uint32_t SteadyTicks()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

uint32_t GetTickCount()
{
    std::lock_guard<std::mutex> lock(gSourceLock);
    return gSource ? gSource() : SteadyTicks();
}

uint32_t timeGetTime()
{
    return GetTickCount();
}

void Sleep(int milliseconds)
{
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SetTickSource(TTickSource source)
{
    std::lock_guard<std::mutex> lock(gSourceLock);
    gSource = std::move(source);
}

TFakeClock::TFakeClock(uint32_t start) : FNow(start)
{
    SetTickSource([this] { return FNow.load(); });
}

TFakeClock::~TFakeClock()
{
    SetTickSource({});
}

namespace {
std::mutex gLocalTimeLock;
bool gFakeLocalTime = false;
QDateTime gLocalTime;

TSystemTime ToSystemTime(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime tm = t.time();
    TSystemTime s;
    s.wYear = uint16_t(d.year());
    s.wMonth = uint16_t(d.month());
    s.wDayOfWeek = uint16_t(d.dayOfWeek() % 7); // Qt counts Monday 1 .. Sunday 7
    s.wDay = uint16_t(d.day());
    s.wHour = uint16_t(tm.hour());
    s.wMinute = uint16_t(tm.minute());
    s.wSecond = uint16_t(tm.second());
    s.wMilliseconds = uint16_t(tm.msec());
    return s;
}
} // namespace

TSystemTime GetLocalTime()
{
    std::lock_guard<std::mutex> lock(gLocalTimeLock);
    return ToSystemTime(gFakeLocalTime ? gLocalTime : QDateTime::currentDateTime());
}

TFakeLocalTime::TFakeLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    Set(year, month, day, hour, minute, second);
}

TFakeLocalTime::~TFakeLocalTime()
{
    std::lock_guard<std::mutex> lock(gLocalTimeLock);
    gFakeLocalTime = false;
}

void TFakeLocalTime::Set(int year, int month, int day, int hour, int minute, int second)
{
    std::lock_guard<std::mutex> lock(gLocalTimeLock);
    // Local time without a zone: no daylight-saving jump moves a time a test set.
    gLocalTime = QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
    gFakeLocalTime = true;
}

void TFakeLocalTime::AdvanceSeconds(int seconds)
{
    std::lock_guard<std::mutex> lock(gLocalTimeLock);
    gLocalTime = gLocalTime.addSecs(seconds);
}
