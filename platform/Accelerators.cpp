#include "platform/Accelerators.h"

#include "platform/Controls.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
TAccelerators* gDispatcher = nullptr;

// The character a key event offers as an accelerator, or a null character.
QChar OfferedChar(const QKeyEvent* e)
{
    const QString text = e->text();
    if (text.size() == 1 && text.at(0).isPrint()) return text.at(0);
    if (text.size() == 1 && (text.at(0).unicode() == 13 || text.at(0).unicode() == 27 || text.at(0).unicode() == 8))
        return text.at(0);
    // With Alt some platforms send no text; fall back on the key.
    const int k = e->key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return QChar(ushort(((e->modifiers() & Qt::ShiftModifier) ? 'A' : 'a') + (k - Qt::Key_A)));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return QChar(ushort('0' + (k - Qt::Key_0)));
    return QChar();
}
} // namespace

void TAccelerators::Install()
{
    if (gDispatcher || !qApp) return;
    gDispatcher = new TAccelerators;
    gDispatcher->setParent(qApp);
    qApp->installEventFilter(gDispatcher);
}

bool TAccelerators::TakesChars(const QWidget* widget)
{
    if (!widget) return false;
    if (auto c = qobject_cast<const TCustomControl*>(widget)) return c->WantsChars();
    if (widget->property("WantChars").toBool()) return true;
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
        qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget))
        return true;
    if (auto combo = qobject_cast<const QComboBox*>(widget)) return combo->isEditable();
    return widget->testAttribute(Qt::WA_InputMethodEnabled);
}

bool TAccelerators::DialogChar(QWidget* window, QChar ch)
{
    if (!window || ch.isNull()) return false;
    const QList<TControl*> controls = window->findChildren<TControl*>();
    for (TControl* c : controls) {
        // Controls of a dialog parented to this window belong to the dialog.
        if (c->window() != window) continue;
        if (c->DialogChar(ch)) return true;
    }
    return false;
}

bool TAccelerators::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* receiver = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::ControlModifier) return false;
    const QChar ch = OfferedChar(key);
    if (ch.isNull()) return false;
    QWidget* window = receiver->window();
    if (key->modifiers() & Qt::AltModifier) {
        // Before anyone else, once per key: at the focused widget, or at a window holding no focused widget.
        // An unhandled key then travels up to the window and comes here again; that pass is let through.
        QWidget* focus = QApplication::focusWidget();
        const bool atFocus = receiver == focus;
        const bool atWindow = receiver->isWindow() && (!focus || focus->window() != window);
        return (atFocus || atWindow) && DialogChar(window, ch);
    }
    // A plain character only after every widget from the focused one up has left it alone, and only where
    // the window does not take typed characters itself. Focused owner-drawn controls offer it themselves.
    if (!receiver->isWindow() || TakesChars(receiver)) return false;
    return DialogChar(window, ch);
}
