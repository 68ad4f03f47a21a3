#pragma once
// A timer whose ticks are paced by a worker thread, so they keep their period while the user-interface
// thread is busy. Ticks are delivered on the user-interface thread unless SyncTimerEvent is off.

#include "platform/Events.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

class TThreadTimer;

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Frees itself when its loop ends; the timer never waits for it.
class TTimerThread : public QThread
{
    Q_OBJECT
public:
    static TTimerThread* CreateTimerThread(TThreadTimer* tt);

    // Called on the user-interface thread by the timer that owns this worker.
    void Detach();
    void SetSyncTimerEvent(bool value) { FSyncTimerEvent.store(value); }
    void SetInterval(int value) { FInterval.store(value); }

protected:
    void run() override;

private:
    explicit TTimerThread(TThreadTimer* tt);
    void DoTimer();

    std::atomic<TThreadTimer*> tt;
    std::atomic<bool> bExitThread{false};
    std::atomic<bool> FSyncTimerEvent{true};
    std::atomic<int> FInterval{1000};
    // Held while a handler runs on the worker, so Detach returns only after it.
    std::recursive_mutex FCallLock;
    std::mutex FSleepLock;
    std::condition_variable FWake;
};

class TThreadTimer : public QObject
{
    Q_OBJECT
public:
    explicit TThreadTimer(QObject* owner = nullptr);
    ~TThreadTimer() override;

    bool Enabled() const { return FEnabled; }
    // Once SetEnabled(false) has returned, the handler is not called again.
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int value);
    TThreadPriority ThreadPriority() const { return FPriority; }
    void SetThreadPriority(TThreadPriority value) { FPriority = value; }
    TTimerThread* TimerThread() const { return FTimerThread; }
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler) { FOnTimer = std::move(handler); }
    bool SyncTimerEvent() const { return FSyncTimerEvent; }
    void SetSyncTimerEvent(bool value);

private:
    friend class TTimerThread;
    void StartThread();
    void StopThread();

    int FInterval = 1000;
    TThreadPriority FPriority = TThreadPriority::tpNormal;
    TNotifyEvent FOnTimer;
    TTimerThread* FTimerThread = nullptr;
    bool FSyncTimerEvent = true;
    bool bRunning = false;
    bool FEnabled = false;
};
