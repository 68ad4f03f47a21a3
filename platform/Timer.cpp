#include "platform/Timer.h"

TTimer::TTimer(QObject* owner) : QObject(owner)
{
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        if (FOnTimer) FOnTimer(this);
    });
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value)
{
    if (value == FInterval) return;
    FInterval = value;
    FTimer.stop();
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    const bool had = bool(FOnTimer);
    FOnTimer = std::move(handler);
    if (had != bool(FOnTimer)) UpdateTimer();
}

void TTimer::UpdateTimer()
{
    const bool run = FEnabled && FInterval > 0 && FOnTimer;
    if (!run)
        FTimer.stop();
    else if (!FTimer.isActive())
        FTimer.start(FInterval);
}
