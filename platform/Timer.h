#pragma once
// A user-interface-thread timer with the class library's rules: it runs only while enabled, with a
// non-zero interval and a handler; enabling a running timer or writing the same interval does not
// restart it; a different interval does.

#include "platform/Events.h"

#include <QObject>
#include <QTimer>

class TTimer : public QObject
{
    Q_OBJECT
public:
    explicit TTimer(QObject* owner = nullptr);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler);

private:
    void UpdateTimer();

    QTimer FTimer;
    bool FEnabled = true;
    int FInterval = 1000;
    TNotifyEvent FOnTimer;
};
