#pragma once
// A small base for the program's windows in the shape of the class library's TForm, over QDialog.
//
// - ShowModal() runs the window modally and returns its modal result. Setting ModalResult to a value
//   other than mrNone during the run closes the window and ends the run once the event being handled is
//   done, with the value ModalResult holds then; closing it any other way (Close(), the frame's close
//   button, Esc where EscapeCancels is set) ends it with mrCancel.
// - Close() asks OnClose for the close action: caNone keeps the window, caHide hides it, caFree hides it
//   and deletes it later (after the modal run, when it was modal). Code of a window that may have closed
//   must not touch the window afterwards; QPointer tells.
// - Every modal run of the platform layer opens above a stay-on-top window that is up (Qt does not lower
//   such a window while a modal runs), so a dialog never hides behind the practice or game window.
// - KeyPreview: OnKeyDown, OnKeyPress and OnKeyUp see a key before the focused control; a handler that
//   sets the key to 0 (or the character to 0) takes it. A window with no focusable control gets every
//   key itself, Tab included (no focus-chain move). Releases of auto-repeat are not reported (also where
//   the X server sends them unmarked: such a window reports a release some 25 ms late, once it is sure
//   no repeated press follows); the shift state passed with a release is the one at the release.
// - Esc never closes a window unless EscapeCancels is set; Enter clicks nothing unless a push button is
//   the default.

#include "platform/Controls.h"
#include "platform/Events.h"
#include "platform/Graphics.h"
#include "platform/KeyDispatch.h"

#include <QDialog>
#include <functional>

class QEventLoop;

// Modal results (the same values as the message box answers).
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = unsigned;
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TPosition { poDesigned, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(QObject* Sender, TCloseAction& Action)>;

class TForm : public QDialog
{
    Q_OBJECT
    // For controls that set their window's result without knowing its class (a button's ModalResult).
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& value) { setWindowTitle(value); }

    // The client area; with a fixed border (bsSingle, bsDialog) also the fixed size.
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    void SetClientSize(int width, int height);
    // The designed position of the frame's top-left corner (used with poDesigned).
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    void SetLeft(int value);
    void SetTop(int value);

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const TFont& Font() const { return FFont; }
    // The window's font, inherited by its controls.
    void SetFont(const TFont& value);

    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value);
    // Esc sets the modal result to mrCancel (closing a modal run, or the window when it is not modal).
    bool EscapeCancels() const { return FEscapeCancels; }
    void SetEscapeCancels(bool value) { FEscapeCancels = value; }

    // The close action before OnClose may change it (caHide unless set).
    TCloseAction DefaultCloseAction() const { return FDefaultCloseAction; }
    void SetDefaultCloseAction(TCloseAction value) { FDefaultCloseAction = value; }

    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value);
    bool Modal() const { return FModalLoop != nullptr; }
    int ShowModal();
    // Shows the window modelessly and brings it to the front.
    void Show();
    void Close();
    // Deletes the window once the events being handled are done.
    void Release();

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    // Fired just before the window is deleted by its close action (caFree) or Release(), while it is
    // still whole; a window deleted with delete does this work in its own destructor.
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void done(int result) override;

public:
    void setVisible(bool visible) override;

private:
    void UpdateWindowFlags();
    // Ends the modal run after OnClose allowed it.
    void CloseModal();
    void PlaceOnScreen();
    // Raises and activates the window just shown.
    void BringToFront();
    // The window's own key handlers; false when a handler took the key (or the window is gone).
    bool DoKeyDown(QKeyEvent* event);
    bool DoKeyUp(QKeyEvent* event);
    bool FireKeyUp(uint16_t key, TShiftState shift);
    // Whether a key at this window goes to the window's handlers itself (no focusable control has it).
    bool KeysToWindow() const;

    bool FDestroyFired = false;
    int FModalResult = mrNone;
    bool FEndPending = false;
    QEventLoop* FModalLoop = nullptr;
    bool FFreeAfterModal = false;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TPosition FPosition = TPosition::poDesigned;
    int FLeft = 0;
    int FTop = 0;
    bool FPlaced = false;
    TColor FColor = clBtnFace;
    TFont FFont;
    bool FKeyPreview = false;
    bool FEscapeCancels = false;
    TCloseAction FDefaultCloseAction = caHide;
    // A previewed key is being delivered to the focused control; the window's handlers saw it already.
    int FPreviewDepth = 0;
    // Releases the window gets itself wait a moment for the X server's repeated press.
    THeldKeyRelease FHeldRelease;
};
