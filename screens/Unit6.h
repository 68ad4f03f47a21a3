#pragma once
// The keyboard practice window: an on-screen keyboard, the key to type next, a right/wrong lamp, a "Shift"
// label and a finger guide. It stays on top, exists at most once and frees itself when closed. Keys are
// judged by their virtual-key code when released; TKeyPractice decides, the window paints what it says.

#include "components/BorderLabel.h"
#include "components/EllipseAnnBtn.h"
#include "components/KeybdButton.h"
#include "platform/Graphics.h"
#include "platform/KeyDispatch.h"
#include "platform/Timer.h"
#include "screens/KeyPractice.h"

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <array>

class TForm6 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // The model: problem, caps, fingers, lamp.
    TKeyPractice Practice;

    // The caps, by the names of the on-screen keyboard.
    std::array<TKeybdButton*, KeyArray::kCharKeyCount> CharCaps{};
    TKeybdButton* ColorButton15; // BS
    TKeybdButton* ColorButton17; // Tab
    TKeybdButton* ColorButton30; // the blank cap after ]
    TKeybdButton* ColorButton31; // Caps
    TKeybdButton* ColorButton43; // Enter
    TKeybdButton* lShiftKey;
    TKeybdButton* rShiftKey;
    // The cap of every key code 48..222 that has one; empty until MakeKeyMap.
    std::array<TKeybdButton*, 223> KeyMap{};

    TEllipseAnnBtn* ExLabel;
    TBorderLabel* ShiftLabel;
    TEllipseAnnBtn* OXBtn;
    TEllipseAnnBtn* SetUpBtn;
    std::array<TEllipseAnnBtn*, KeyArray::kFingerCount> Fingers{}; // Left4 .. Right4
    TBitmap GreenImage, RedImage, YellowImage, ExLabelImage;
    TTimer* ReturnTimer;

    void MakeKeyMap();
    // The setup dialog's OK: layout item, practice position and options; the caption comes from the dialog.
    void Configure(int languageItem, KeyArray::TPracticePosition position, bool speakerOff, bool keyGuideOff);
    void GoProblem();

    void FormKeyDown(uint16_t key);
    void FormKeyUp(uint16_t key, unsigned modifiers, bool autoRepeat);
    void SetUpBtnClick(QObject* Sender);
    void ReturnTimerTimer(QObject* Sender);

    // Brings every cap, label, finger and the lamp in line with the model; only what changed repaints.
    void ShowState();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TKeybdButton* MakeCap(const QString& name, int x, int y, int width, const QString& caption);
    TEllipseAnnBtn* MakeFinger(const QString& name, int size, int x, int y);
    void ShowLamp(QRegion& dirty);
    void Trace(const char* what, int key = 0, unsigned modifiers = 0);

    void SetUpBtnPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas);
    void ExLabelPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas);
    void OXBtnDrawBtnFace(QObject* Sender, TCanvas* ACanvas);

    TLamp FShownLamp = TLamp::Yellow;
    // What the controls show now, to touch only what changes.
    TKeyCaps FShownCaps;
    QImage FBackground;
    QSize FBackgroundFrame;
    bool FTrace = false;
    bool FShown = false;
    // A key held down is one answer: the X server's repeated releases are not judged.
    THeldKeyRelease FHeldRelease;
};

// The one practice window, or null.
extern TForm6* Form6;
extern bool Form6Created;
