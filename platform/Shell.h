#pragma once
// Opening a web or mail address with the desktop's program for it; where there is none, a message
// box says so.

#include <QString>

void ShellOpen(const QString& address);

// Tests see the address instead of a browser starting: while set, it is called in place of the desktop.
using TShellHook = void (*)(const QString& address);
void SetShellHook(TShellHook hook);
