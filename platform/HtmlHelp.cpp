#include "platform/HtmlHelp.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QPointer<QTextBrowser> gBrowser;

QTextBrowser* Browser()
{
    if (!gBrowser) {
        gBrowser = new QTextBrowser;
        gBrowser->setAttribute(Qt::WA_DeleteOnClose);
        gBrowser->setWindowTitle(TApplication::Title() + QStringLiteral(" 도움말"));
        gBrowser->setOpenExternalLinks(true);
        gBrowser->resize(720, 640);
    }
    return gBrowser;
}
} // namespace

void HtmlHelpDisplayTopic(QWidget* caller, const QString& helpFile, const QString& topic)
{
    const QString folder = QFileInfo(helpFile).absolutePath() + QStringLiteral("/help/");
    const QString page = folder + topic;
    if (!QFileInfo(page).isFile()) {
        MessageBox(caller, QStringLiteral("도움말을 찾을 수 없습니다.\r%1").arg(page), TApplication::Title(),
                   MB_OK | MB_ICONWARNING);
        return;
    }
    QTextBrowser* browser = Browser();
    // Owned by the calling window, as a help window is: a modal dialog then leaves it usable, a dialog
    // that stays on top keeps it above, and it goes when the dialog goes.
    QWidget* owner = caller ? caller->window() : nullptr;
    if (browser->parentWidget() != owner) browser->setParent(owner, Qt::Window);
    // The window manager stacks a window that stays on top above its own transients.
    browser->setWindowFlag(Qt::WindowStaysOnTopHint, owner && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    browser->setSearchPaths({folder});
    browser->setSource(QUrl::fromLocalFile(page));
    browser->show();
    browser->raise();
    browser->activateWindow();
}

QString HtmlHelpCurrentPage()
{
    return gBrowser ? gBrowser->source().toLocalFile() : QString();
}
