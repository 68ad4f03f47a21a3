#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"

#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

namespace {
QString gTitle;
const char* const kMayBeShownAgain = "vornixMayBeShownAgain";
const char* const kShowingAgain = "vornixShowingAgain";
} // namespace

void MarkMayBeShownAgain(QWidget* modal)
{
    modal->setProperty(kMayBeShownAgain, true);
}

bool ShowingAgain(const QWidget* window)
{
    return window->property(kShowingAgain).toBool();
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("vornix")); // the data folder: ~/.local/share/vornix
    setDesktopFileName(QStringLiteral("org.example.Vornix"));
    InstallFontSubstitutions();
    installEventFilter(new TModalKeeper(this, OnWayland()));
    InstallQtTranslation();
}

bool TApplication::InstallQtTranslation()
{
    // The program speaks Korean on any system locale, and so do Qt's own dialogs and buttons.
    static QPointer<QTranslator> translator; // it goes with the application
    if (translator) return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_ko"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

TModalKeeper::TModalKeeper(QObject* parent, bool showAgain) : QObject(parent), FShowAgain(showAgain)
{
    Activate = [](QWidget* modal) {
        modal->raise();
        modal->activateWindow();
    };
}

bool TApplication::OnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool TModalKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::WindowActivate || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    QWidget* modal = QApplication::activeModalWidget();
    // Across windows: QWidget::isAncestorOf stops at a window's edge.
    const auto owns = [](const QWidget* owner, const QWidget* w) {
        while (w && w != owner)
            w = w->parentWidget();
        return w != nullptr;
    };
    if (!window->isWindow() || !modal || owns(modal, window)) return false;
    // A window-modal dialog blocks only its own windows.
    if (modal->windowModality() != Qt::ApplicationModal && !owns(window, modal)) return false;
    // Later, not inside the activation that is being handled.
    QTimer::singleShot(0, modal, [this, modal = QPointer<QWidget>(modal)] {
        if (!modal || !modal->isVisible()) return;
        Activate(modal);
        if (!FShowAgain || !modal->property(kMayBeShownAgain).toBool()) return;
        // The hide itself may hand the activation to the blocked window: that one is no new click.
        if (FShownAgain.isValid() && FShownAgain.elapsed() < 1000) return;
        QTimer::singleShot(ShowAgainAfterMs, modal, [this, modal] {
            if (modal) ShowAgain(modal);
        });
    });
    return false;
}

void TModalKeeper::ShowAgain(QWidget* modal)
{
    // Even when the dialog has the keys again it may be under the window clicked: nothing tells, so it is
    // shown again whenever its run is still the one that blocks.
    if (!modal->isVisible() || QApplication::activeModalWidget() != modal) return;
    FShownAgain.start();
    modal->setProperty(kShowingAgain, true);
    const QPoint at = modal->pos();
    modal->hide();
    modal->move(at);
    modal->show();
    modal->setProperty(kShowingAgain, false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error."));
    }
    return true;
}

QString TApplication::Title()
{
    return gTitle;
}

void TApplication::SetTitle(const QString& title)
{
    gTitle = title;
}

void TApplication::ShowException(const QString& message)
{
    QString text = message.trimmed();
    if (!text.isEmpty() && !text.endsWith(u'.') && !text.endsWith(u'!') && !text.endsWith(u'?')) text += u'.';
    MessageBox(nullptr, text, gTitle, MB_OK | MB_ICONERROR);
}

void TApplication::InstallFontSubstitutions()
{
    const QString coding = QStringLiteral("NanumGothicCoding");
    const QString gothic = QStringLiteral("NanumGothic");
    const QString myeongjo = QStringLiteral("NanumMyeongjo");
    const QString sans = QStringLiteral("DejaVu Sans");
    const struct
    {
        const char16_t* Name;
        const QString& Substitute;
    } table[] = {
        {u"굴림체", coding}, {u"돋움체", coding}, {u"바탕체", coding}, {u"굴림", gothic},        {u"돋움", gothic},
        {u"바탕", myeongjo}, {u"궁서", myeongjo}, {u"Tahoma", sans},   {u"MS Sans Serif", sans}, {u"Arial", sans},
    };
    for (const auto& entry : table) {
        const QString name = QString::fromUtf16(entry.Name);
        if (!QFont::substitutes(name).contains(entry.Substitute, Qt::CaseInsensitive))
            QFont::insertSubstitution(name, entry.Substitute);
    }
}
