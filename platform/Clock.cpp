#include "platform/Clock.h"

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
