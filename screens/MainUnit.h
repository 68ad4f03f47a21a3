#pragma once
// The main menu window: three cloud-faced menu buttons, About and Help, the banner, a gradient background
// with a lightning bolt, and a small animation under a hovered menu button. The menu is blocked while a
// practice window is open: the windows report to TPracticeWindows, which the menu subscribes to.

#include "components/BitmapEffects.h"
#include "components/EllipseAnnBtn.h"
#include "platform/Graphics.h"
#include "platform/Timer.h"

#include <QMargins>
#include <QSize>
#include <QWidget>

#include <map>
#include <memory>

class QPaintEvent;

// Where the buttons and the banner go for a client area of CW x CH.
struct TMainLayout
{
    TRect KeyBtn, SenBtn, GameBtn, AboutBtn, HelpBtn, ADBtn;
};
TMainLayout ComputeMainLayout(int CW, int CH);

// The main window's gradient with the lightning bolt over it.
void PaintMainBackground(QWidget* Form, TCanvas* Canvas);

// The hint window: font "arial" 10, hints shown for the application's hint hide pause.
class TMyHintWindow : public QObject
{
    Q_OBJECT
public:
    // Installs the hint window for the whole application.
    static void Install(int hidePauseMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TMyHintWindow(int hidePauseMs);
    int FHideTimeout;
};

class TMainForm : public QWidget
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    TEllipseAnnBtn* KeyBtn;
    TEllipseAnnBtn* SenBtn;
    TEllipseAnnBtn* GameBtn;
    TEllipseAnnBtn* AboutBtn;
    TEllipseAnnBtn* HelpBtn;
    TEllipseAnnBtn* ADBtn;
    // The pictures; the clouds are shared (CloudPictures).
    TBitmap MouseEffectImage1, MouseEffectImage2, ADImage;
    TTimer* MouseEffectTimer;

    TPoint MinSize, MaxSize;

    // A practice window opened: About and Help go, the menu buttons lose their captions (and so their
    // clicks); ShowMenuButtons brings them back.
    void HideMenuButtons();
    void ShowMenuButtons();

    void HideMouseEffect();
    bool MouseEffectRunning() const { return MouseEffectTimer->Enabled(); }
    TRect MouseEffectRect() const;

    void KeyBtnClick(QObject* Sender);
    void SenBtnClick(QObject* Sender);
    void GameBtnClick(QObject* Sender);
    void AboutBtnClick(QObject* Sender);
    void HelpBtnClick(QObject* Sender);
    void ADBtnClick(QObject* Sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TEllipseAnnBtn* MakeButton(const QString& caption, int width, int height, int top);
    void FormCreate();
    // Limits from the screen's free area and the frame; with position, also the size and the place.
    void PlaceWindow(bool position);
    QMargins FrameMargins() const;
    void FrameMaybeKnown();
    void FormShow();
    void FormClose();
    void FormResize();
    void FormDeactivate();
    void KeyBtnPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas);
    void AboutBtnPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas);
    void ADBtnPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas);
    void KeyBtnMouseEnter(QObject* Sender);
    void KeyBtnMouseLeave(QObject* Sender);
    void MouseEffectTimerTimer(QObject* Sender);
    // A copy of picture tinted toward color, kept until the picture changes.
    TBitmap* Tinted(TBitmap* picture, TColor color, uint8_t percent);

    bool FShown = false;
    QSize FStoredClient;   // the size "mainform" held at start (or the design size)
    QSize FPlacedClient;   // the size the window was given at start
    QMargins FPlacedFrame; // the frame known when it was placed
    QPoint FPlacedPos;     // the frame's corner it was placed at
    int FFrameChecks = 0;  // looks left for the window manager's frame
    bool FEffectToggle = false;
    TPoint FEffectPos;
    TPoint FEffectSize;
    bool FEffectFrame1 = false; // the frame the strip shows now
    struct TTintedFace
    {
        qint64 Source = 0;
        uint8_t Percent = 0;
        std::unique_ptr<TBitmap> Face;
    };
    std::map<std::pair<const TBitmap*, TColor>, TTintedFace> FTinted;
};

extern TMainForm* MainForm;
// True while the main window has the keyboard focus (it is the active window).
extern bool MainFormFocused;
