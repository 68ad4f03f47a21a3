#pragma once
// The application object: the program's title, the font substitutions for the Korean and Windows
// font names the program stores, and the default handler that shows a failure in a message box
// instead of letting it cross the event loop.

#include <QApplication>

// Brings the modal window back to the front when a window it blocks is activated: a compositor that does not
// keep a dialog above its parent would otherwise leave it hidden under a window that takes no input.
class TModalKeeper : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

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
