#include "engine/ThreadTimer.h"

#include "platform/Clock.h"

#include <QCoreApplication>

TTimerThread* TTimerThread::CreateTimerThread(TThreadTimer* tt)
{
    return new TTimerThread(tt);
}

TTimerThread::TTimerThread(TThreadTimer* timer) : tt(timer)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TTimerThread::Detach()
{
    bExitThread.store(true);
    {
        // A handler running on the worker finishes before the timer may go away; a handler that stops
        // its own timer already holds the lock.
        std::lock_guard<std::recursive_mutex> call(FCallLock);
        tt.store(nullptr);
    }
    std::lock_guard<std::mutex> sleep(FSleepLock);
    FWake.notify_all();
}

void TTimerThread::run()
{
    while (tt.load() && !bExitThread.load()) {
        const uint32_t t0 = timeGetTime();
        if (FSyncTimerEvent.load()) {
            // Runs between the user-interface thread's messages; the worker waits for it. The timer is
            // stopped and destroyed only on that thread, so the check inside is exact.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [this] { DoTimer(); }, Qt::BlockingQueuedConnection);
        } else {
            std::lock_guard<std::recursive_mutex> call(FCallLock);
            DoTimer();
        }
        if (!tt.load() || bExitThread.load()) break;
        const int wait = FInterval.load() - TickDiff(timeGetTime(), t0);
        if (wait > 0) {
            std::unique_lock<std::mutex> sleep(FSleepLock);
            FWake.wait_for(sleep, std::chrono::milliseconds(wait), [this] { return bExitThread.load(); });
        }
    }
}

void TTimerThread::DoTimer()
{
    TThreadTimer* timer = tt.load();
    if (!timer || bExitThread.load() || !timer->FOnTimer) return;
    try {
        timer->FOnTimer(timer);
    } catch (...) {
        // A failing handler must not stop the timer.
    }
}

TThreadTimer::TThreadTimer(QObject* owner) : QObject(owner) {}

TThreadTimer::~TThreadTimer()
{
    if (FTimerThread) StopThread();
}

void TThreadTimer::SetEnabled(bool value)
{
    if (value)
        StartThread();
    else
        StopThread();
    FEnabled = bRunning;
}

void TThreadTimer::SetInterval(int value)
{
    FInterval = value;
    if (FTimerThread) FTimerThread->SetInterval(value);
}

void TThreadTimer::SetSyncTimerEvent(bool value)
{
    FSyncTimerEvent = value;
    if (FTimerThread) FTimerThread->SetSyncTimerEvent(value);
}

void TThreadTimer::StartThread()
{
    if (bRunning) return;
    FTimerThread = TTimerThread::CreateTimerThread(this);
    FTimerThread->SetSyncTimerEvent(FSyncTimerEvent);
    FTimerThread->SetInterval(FInterval);
    static constexpr QThread::Priority kPriorities[] = {
        QThread::IdlePriority, QThread::LowestPriority,  QThread::LowPriority,          QThread::NormalPriority,
        QThread::HighPriority, QThread::HighestPriority, QThread::TimeCriticalPriority,
    };
    FTimerThread->start(kPriorities[int(FPriority)]);
    bRunning = true;
}

void TThreadTimer::StopThread()
{
    bRunning = false;
    if (!FTimerThread) return;
    FTimerThread->Detach();
    FTimerThread = nullptr;
}
