#pragma once
// The application object: the program's title, the font substitutions for the Korean and Windows
// font names the program stores, and the default handler that shows a failure in a message box
// instead of letting it cross the event loop.

#include <QApplication>
#include <QElapsedTimer>

#include <functional>

// Brings the modal window back to the front when a window it blocks is activated: a compositor that does not
// keep a dialog above its parent would otherwise leave it hidden under a window that takes no input.
// Under Wayland a program cannot raise its own window, and sway, for one, turns the activation asked for into
// an urgency hint, or gives the dialog the keys but leaves it under the window clicked. There a modal window
// whose run outlives a hide (MarkMayBeShownAgain) is shown again, which maps it anew, on top and focused.
class TModalKeeper : public QObject
{
    Q_OBJECT
public:
    // showAgain: on Wayland, where a program cannot raise its own window.
    explicit TModalKeeper(QObject* parent, bool showAgain);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // How a modal window is asked to the front; tests put a window system that refuses in its place.
    std::function<void(QWidget*)> Activate;
    // Time for the compositor to finish with the click before the window is shown again.
    int ShowAgainAfterMs = 300;

private:
    void ShowAgain(QWidget* modal);
    const bool FShowAgain;
    QElapsedTimer FShownAgain;
};

// The window's modal run goes on when it is hidden (its own loop, not QDialog::exec), so it may be shown again.
void MarkMayBeShownAgain(QWidget* modal);
// True while the keeper hides and shows a modal window again: it is the same run, not an end and a new start.
bool ShowingAgain(const QWidget* window);

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Under Wayland: a program neither learns nor sets where its windows are, nor raises them.
    static bool OnWayland();
    static QString Title();
    static void SetTitle(const QString& title);
    // Shows a failure's message as the default handler does; also for code outside the event loop.
    static void ShowException(const QString& message);
    // Installs the substitution table; safe to call more than once.
    static void InstallFontSubstitutions();
    // Loads Qt's Korean translation for its stock dialogs and buttons; false when it is not installed
    // (package qt6-translations-l10n), and the dialogs stay English.
    static bool InstallQtTranslation();
};
