#include "platform/Forms.h"

#include "platform/Accelerators.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/KeyDispatch.h"
#include "platform/VirtualKeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <utility>

TForm::TForm(QWidget* parent)
    : QDialog(parent), FHeldRelease([this](const QKeyEvent& release) {
          FireKeyUp(uint16_t(VirtualKeyOf(release)), TControl::ShiftOf(release.modifiers(), Qt::NoButton));
      })
{
    TAccelerators::Install();
    setAutoFillBackground(true);
    SetColor(FColor);
    SetFont(FFont);
    UpdateWindowFlags();
}

TForm::~TForm()
{
    // A modal run of a window deleted under it ends as cancelled.
    if (FModalLoop) FModalLoop->exit(mrCancel);
}

void TForm::SetKeyPreview(bool value)
{
    if (value == FKeyPreview) return;
    FKeyPreview = value;
    // Keys reach the window first through an application-wide filter, only while it asks for them.
    if (value)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void TForm::SetClientSize(int width, int height)
{
    if (FBorderStyle == TFormBorderStyle::bsSizeable) {
        resize(width, height);
    } else {
        setFixedSize(width, height);
    }
}

void TForm::SetLeft(int value)
{
    FLeft = value;
    if (isVisible() || FPlaced) move(FLeft, FTop);
}

void TForm::SetTop(int value)
{
    FTop = value;
    if (isVisible() || FPlaced) move(FLeft, FTop);
}

void TForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle) return;
    const bool wasFixed = FBorderStyle != TFormBorderStyle::bsSizeable;
    FBorderStyle = value;
    if (value == TFormBorderStyle::bsSizeable) {
        if (wasFixed) {
            setMinimumSize(0, 0);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    } else {
        setFixedSize(size());
    }
    UpdateWindowFlags();
}

void TForm::SetBorderIcons(TBorderIcons value)
{
    if (value == FBorderIcons) return;
    FBorderIcons = value;
    UpdateWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value)
{
    if (value == FFormStyle) return;
    FFormStyle = value;
    UpdateWindowFlags();
}

void TForm::SetPosition(TPosition value)
{
    FPosition = value;
}

void TForm::SetColor(TColor value)
{
    FColor = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(value));
    setPalette(pal);
}

void TForm::SetFont(const TFont& value)
{
    FFont = value;
    setFont(value.ToQFont());
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, ToQColor(value.Color));
    setPalette(pal);
}

void TForm::UpdateWindowFlags()
{
    Qt::WindowFlags flags = FBorderStyle == TFormBorderStyle::bsDialog ? Qt::Dialog : Qt::Window;
    if (FBorderStyle == TFormBorderStyle::bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons & biSystemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            // A dialog frame has no minimise or maximise button, whatever the icons say.
            if (FBorderStyle != TFormBorderStyle::bsDialog) {
                if (FBorderIcons & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
                if (FBorderIcons & biMaximize) flags |= Qt::WindowMaximizeButtonHint;
            }
        }
        if (FBorderStyle != TFormBorderStyle::bsSizeable) flags |= Qt::MSWindowsFixedSizeDialogHint;
    }
    if (FFormStyle == TFormStyle::fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    if (flags == windowFlags()) return;
    const bool shown = isVisible();
    setWindowFlags(flags);
    if (shown) show();
}

void TForm::PlaceOnScreen()
{
    FPlaced = true;
    if (FPosition == TPosition::poScreenCenter) {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect area = screen->availableGeometry();
        // The frame is not known before the window is shown; its caption is most of it.
        const int caption =
            FBorderStyle == TFormBorderStyle::bsNone ? 0 : style()->pixelMetric(QStyle::PM_TitleBarHeight);
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height() - caption) / 2);
    } else {
        move(FLeft, FTop);
    }
}

void TForm::setVisible(bool visible)
{
    if (visible && !isVisible() && !FPlaced) PlaceOnScreen();
    QDialog::setVisible(visible);
}

void TForm::SetModalResult(int value)
{
    FModalResult = value;
    // As the platform's modal loop does, the result is looked at once the event being handled is done:
    // code after the assignment (a button's OnClick after the button set it) may still change it.
    if (value == mrNone || !FModalLoop || FEndPending) return;
    FEndPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FEndPending = false;
            if (FModalLoop && FModalResult != mrNone) CloseModal();
        },
        Qt::QueuedConnection);
}

void TForm::CloseModal()
{
    QPointer<TForm> self(this);
    TCloseAction action = FDefaultCloseAction == caFree ? caFree : caHide;
    if (OnClose) {
        TCloseEvent handler = OnClose;
        handler(this, action);
        if (!self) return;
    }
    if (action == caNone) {
        FModalResult = mrNone;
        return;
    }
    if (action == caFree) FFreeAfterModal = true;
    // The run is over from here on, though its loop returns only once this event is handled.
    QEventLoop* loop = FModalLoop;
    FModalLoop = nullptr;
    const int result = FModalResult;
    if (loop) loop->exit(result);
    hide();
}

int TForm::ShowModal()
{
    if (FModalLoop) return mrNone;
    QPointer<TForm> self(this);
    FModalResult = mrNone;
    FFreeAfterModal = false;
    // Modality takes effect when a window is shown; one shown modelessly is shown again.
    if (isVisible()) hide();
    UpdateWindowFlags();
    PlaceAboveStayOnTop(this);
    setWindowModality(Qt::ApplicationModal);
    MarkMayBeShownAgain(this);
    QEventLoop loop;
    FModalLoop = &loop;
    show();
    if (!self) return mrCancel;
    BringToFront();
    // Hidden while it was being shown, the window ended its run already.
    const int result = FModalLoop == &loop && isVisible() ? loop.exec(QEventLoop::DialogExec) : FModalResult;
    if (!self) return result;
    FModalLoop = nullptr;
    if (isVisible()) hide();
    setWindowModality(Qt::NonModal);
    if (FFreeAfterModal) Release();
    return result;
}

void TForm::Show()
{
    if (FModalLoop) return;
    // A modal run may have put the window on top for its time.
    if (!isVisible()) UpdateWindowFlags();
    show();
    BringToFront();
}

void TForm::BringToFront()
{
    raise();
    activateWindow();
    // Hiding a window clears Qt's active window at once, but the window system reports the focus
    // leaving it later (X11) or never (offscreen). Shown again before then, the window is still the
    // focus window, so its activation is no change and would be dropped: the window would stay
    // inactive and its focus control without the focus.
    if (windowHandle() && windowHandle() == QGuiApplication::focusWindow() && QApplication::activeWindow() != this)
        QApplication::setActiveWindow(this);
}

void TForm::Close()
{
    if (FModalLoop) {
        SetModalResult(mrCancel);
        return;
    }
    QPointer<TForm> self(this);
    TCloseAction action = FDefaultCloseAction;
    if (OnClose) {
        TCloseEvent handler = OnClose;
        handler(this, action);
        if (!self) return;
    }
    switch (action) {
    case caNone:
        return;
    case caMinimize:
        showMinimized();
        return;
    case caFree:
        hide();
        Release();
        return;
    case caHide:
        hide();
        return;
    }
}

void TForm::Release()
{
    deleteLater();
}

void TForm::done(int result)
{
    // QDialog's accept() and reject() (a button box, a QDialog habit) end the run like ModalResult.
    const int value = result == QDialog::Accepted ? mrOk : result == QDialog::Rejected ? mrCancel : result;
    if (FModalLoop)
        SetModalResult(value);
    else
        Close();
}

bool TForm::KeysToWindow() const
{
    const QWidget* focus = focusWidget();
    return !focus || focus == this;
}

bool TForm::DoKeyDown(QKeyEvent* event)
{
    if (FireKey(OnKeyDown, this, *event) != TKeyOutcome::Pass) return false;
    QPointer<TForm> self(this);
    if (OnKeyPress) {
        const QString text = event->text();
        const bool command = event->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
        QChar ch;
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            ch = QChar(13);
        else if (event->key() == Qt::Key_Escape)
            ch = QChar(27);
        else if (event->key() == Qt::Key_Backspace)
            ch = QChar(8);
        else if (event->key() == Qt::Key_Tab && KeysToWindow())
            ch = QChar(9); // a Tab that moves the focus types no character
        else if (!command && text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127)
            ch = text.at(0);
        if (!ch.isNull()) {
            TKeyPressEvent handler = OnKeyPress;
            handler(this, ch);
            if (!self || ch.isNull()) return false;
        }
    }
    return true;
}

bool TForm::DoKeyUp(QKeyEvent* event)
{
    if (event->isAutoRepeat()) return true;
    // The shift state is the one at the release (a key let go after Shift has no Shift).
    return FireKeyUp(uint16_t(VirtualKeyOf(*event)), TControl::ShiftOf(event->modifiers(), Qt::NoButton));
}

bool TForm::FireKeyUp(uint16_t key, TShiftState shift)
{
    return FireKey(OnKeyUp, this, key, shift) == TKeyOutcome::Pass;
}

bool TForm::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        // A window with no focusable control takes Tab as a key like any other.
        auto* key = static_cast<QKeyEvent*>(e);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && KeysToWindow()) {
            keyPressEvent(key);
            return true;
        }
        break;
    }
    case QEvent::DeferredDelete:
        if (!FDestroyFired) {
            FDestroyFired = true;
            if (OnDestroy) {
                TNotifyEvent handler = OnDestroy;
                handler(this);
            }
        }
        break;
    case QEvent::WindowActivate:
        if (OnActivate) {
            TNotifyEvent handler = OnActivate;
            handler(this);
        }
        break;
    case QEvent::WindowDeactivate:
        if (OnDeactivate) {
            TNotifyEvent handler = OnDeactivate;
            handler(this);
        }
        break;
    default:
        break;
    }
    return QDialog::event(e);
}

bool TForm::eventFilter(QObject* watched, QEvent* event)
{
    if (!FKeyPreview || FPreviewDepth > 0 || !watched->isWidgetType()) return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver == this || receiver->window() != this) return false;
    // The window sees the key first; then the focused control gets it as usual (and the keys it leaves
    // travel back up to this window without the window's handlers seeing them twice).
    auto* key = static_cast<QKeyEvent*>(event);
    QPointer<TForm> self(this);
    QPointer<QWidget> target(receiver);
    const bool pass = event->type() == QEvent::KeyPress ? DoKeyDown(key) : DoKeyUp(key);
    if (!self || !target || !pass) return true;
    ++FPreviewDepth;
    QCoreApplication::sendEvent(target, event);
    if (self) --FPreviewDepth;
    return true;
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    const bool previewed = FKeyPreview && FPreviewDepth > 0;
    if (!previewed) {
        QPointer<TForm> self(this);
        // A release still held back goes first, unless this press shows it was the key repeating.
        FHeldRelease.Press(*event);
        if (!self || !DoKeyDown(event)) {
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (FEscapeCancels) {
            if (FModalLoop)
                SetModalResult(mrCancel);
            else
                Close();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm::keyReleaseEvent(QKeyEvent* event)
{
    const bool previewed = FKeyPreview && FPreviewDepth > 0;
    // Only a release from the window system has a time stamp to tell a repeat by.
    if (!previewed && OnKeyUp && KeysToWindow() && THeldKeyRelease::CanHold(*event)) {
        FHeldRelease.Hold(*event);
        event->accept();
        return;
    }
    if (!previewed && !DoKeyUp(event)) {
        event->accept();
        return;
    }
    event->ignore();
}

void TForm::closeEvent(QCloseEvent* event)
{
    // The frame's close button and QWidget::close() go the same way as Close(); the hiding and freeing
    // are done there.
    event->ignore();
    Close();
}

void TForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && OnShow && !ShowingAgain(this)) {
        TNotifyEvent handler = OnShow;
        handler(this);
    }
}

void TForm::hideEvent(QHideEvent* event)
{
    QPointer<TForm> self(this);
    // A key let go as the window closes is no answer any more.
    FHeldRelease.Drop();
    QDialog::hideEvent(event);
    if (event->spontaneous() || ShowingAgain(this)) return;
    if (OnHide) {
        TNotifyEvent handler = OnHide;
        handler(this);
        if (!self) return;
    }
    // Hidden any other way during its modal run, the window ends the run rather than leave it hanging.
    if (FModalLoop && !isVisible()) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        std::exchange(FModalLoop, nullptr)->exit(FModalResult);
    }
}
