#include "platform/Shell.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"

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
    if (gHook) {
        gHook(address);
        return;
    }
    if (QDesktopServices::openUrl(QUrl(address))) return;
    // Where no browser or mail program is set up nothing would happen at all: the user is told why.
    const QString mailto = QStringLiteral("mailto:");
    const QString text =
        address.startsWith(mailto, Qt::CaseInsensitive)
            ? QStringLiteral("메일 프로그램이 설정되어 있지 않아 메일을 쓸 수 없습니다.\r받는 사람: %1")
                  .arg(address.mid(mailto.size()))
            : QStringLiteral("웹 브라우저가 설정되어 있지 않아 이 주소를 열 수 없습니다.\r%1").arg(address);
    MessageBox(QApplication::activeWindow(), text, TApplication::Title(), MB_OK | MB_ICONWARNING);
}
