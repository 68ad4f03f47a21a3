#include "platform/KeyDispatch.h"

#include "platform/VirtualKeys.h"

#include <QPointer>

TKeyOutcome FireKey(const TKeyEvent& handler, QObject* sender, uint16_t& key, TShiftState shift, QObject* receiver)
{
    if (!handler) return TKeyOutcome::Pass;
    QPointer<QObject> alive(receiver ? receiver : sender);
    const uint16_t before = key;
    // A copy: the handler may replace itself, or destroy its owner, while it runs.
    const TKeyEvent run = handler;
    run(sender, key, shift);
    if (!alive) return TKeyOutcome::Gone;
    return before != 0 && key == 0 ? TKeyOutcome::Taken : TKeyOutcome::Pass;
}

TKeyOutcome FireKey(const TKeyEvent& handler, QObject* sender, const QKeyEvent& event)
{
    uint16_t key = uint16_t(VirtualKeyOf(event));
    return FireKey(handler, sender, key, TControl::ShiftOf(event.modifiers(), Qt::NoButton));
}

THeldKeyRelease::THeldKeyRelease(TRelease onRelease) : FOnRelease(std::move(onRelease))
{
    FTimer.setSingleShot(true);
    // The repeated press follows at once; a key released for real is reported this much later.
    FTimer.setInterval(25);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Flush(); });
}

THeldKeyRelease::~THeldKeyRelease() = default;

bool THeldKeyRelease::CanHold(const QKeyEvent& release)
{
    return !release.isAutoRepeat() && release.timestamp() != 0;
}

void THeldKeyRelease::Hold(const QKeyEvent& release)
{
    if (FRelease) {
        // The owner may be gone after the earlier release: nothing of this object is touched then.
        QPointer<QTimer> alive(&FTimer);
        Flush();
        if (!alive) return;
    }
    FRelease.reset(release.clone());
    FTimer.start();
}

bool THeldKeyRelease::Press(const QKeyEvent& press)
{
    if (!FRelease) return false;
    const bool repeat = press.key() == FRelease->key() && press.nativeScanCode() == FRelease->nativeScanCode() &&
                        press.timestamp() - FRelease->timestamp() <= 1;
    if (repeat) {
        Drop();
        return true;
    }
    Flush();
    return false;
}

void THeldKeyRelease::Flush()
{
    if (!FRelease) return;
    FTimer.stop();
    const std::unique_ptr<QKeyEvent> release = std::move(FRelease);
    // Copies: the handler may destroy this object with its owner.
    const TRelease handler = FOnRelease;
    if (handler) handler(*release);
}

void THeldKeyRelease::Drop()
{
    FRelease.reset();
    FTimer.stop();
}
