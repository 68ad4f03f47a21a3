#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
TShellHook gHook = nullptr;
}

void SetShellHook(TShellHook hook)
{
    gHook = hook;
}

void ShellOpen(const QString& address)
{
    if (gHook)
        gHook(address);
    else
        QDesktopServices::openUrl(QUrl(address));
}
