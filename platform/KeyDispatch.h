#pragma once
// Key events the way the platform delivers them to a window or control, in one place:
// - FireKey runs a key handler with the virtual-key code and shift state; a handler that sets a key to 0
//   takes it, and a handler may destroy the control it was fired for.
// - THeldKeyRelease tells the X server's auto-repeat from a key let go: a held key may arrive as releases
//   and presses with the same time stamp, neither marked as repeated. A window that acts on releases
//   holds each release a moment (25 ms) for such a press; a key held down is then one release.

#include "platform/Controls.h"

#include <QKeyEvent>
#include <QTimer>
#include <functional>
#include <memory>

class QObject;

enum class TKeyOutcome {
    Pass,  // the key goes on (to the input context, the control's own handling)
    Taken, // the handler set the key to 0
    Gone,  // the handler destroyed the receiver
};

// Fires `handler` (when set) for `sender` with `key`, which the handler may change; `receiver` is the
// object whose end means Gone (usually the sender).
TKeyOutcome FireKey(const TKeyEvent& handler, QObject* sender, uint16_t& key, TShiftState shift,
                    QObject* receiver = nullptr);
// The same for a key event: its virtual-key code and the shift state at the event.
TKeyOutcome FireKey(const TKeyEvent& handler, QObject* sender, const QKeyEvent& event);

class THeldKeyRelease
{
public:
    // Called with a release once it is known to be a real one; it may destroy the owner of this object.
    using TRelease = std::function<void(const QKeyEvent& release)>;
    explicit THeldKeyRelease(TRelease onRelease);
    ~THeldKeyRelease();

    // Whether a release can be told from a repeat: only a release from the window system has a time stamp
    // (a marked auto-repeat release is dropped by the caller, as before).
    static bool CanHold(const QKeyEvent& release);
    // Holds a release; a release held before goes out first (and may destroy the owner: check it after).
    void Hold(const QKeyEvent& release);
    // For each press before it is handled: true when it repeats the held key, whose release is then dropped.
    // Otherwise a held release goes out now (which may destroy the owner).
    bool Press(const QKeyEvent& press);
    // Sends the held release now (it may destroy the owner).
    void Flush();
    // Forgets the held release (a key let go as the window closes is no answer).
    void Drop();
    bool Holding() const { return FRelease != nullptr; }

private:
    TRelease FOnRelease;
    std::unique_ptr<QKeyEvent> FRelease;
    QTimer FTimer;
};
