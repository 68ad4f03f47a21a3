#pragma once
// Accelerator characters ("&K" in a caption): the window offers a typed character to its controls, in
// creation order, until one handles it (DialogChar). Alt with a character is always offered, before the
// focused widget sees it. A plain character is offered after the focused widget and its parents left it
// unhandled (a push button, the window itself; not an edit box, nor a widget with input-method support),
// and never in a window that takes typed characters itself: a practice window that reads letters sets the
// property "WantChars" to true (or the input-method attribute). Qt's own mnemonics are not used.

#include <QObject>

class QWidget;

class TAccelerators : public QObject
{
    Q_OBJECT
public:
    // Installs the application-wide dispatcher once; the controls call it when they are created.
    static void Install();
    // Offers ch to the controls of window; true when one handled it.
    static bool DialogChar(QWidget* window, QChar ch);
    // Whether widget takes typed characters itself.
    static bool TakesChars(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
