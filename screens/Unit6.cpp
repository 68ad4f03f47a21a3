#include "screens/Unit6.h"

#include "components/BitmapEffects.h"
#include "components/ControlUtils.h"
#include "components/MenuArt.h"
#include "platform/Exception.h"
#include "platform/PracticeWindows.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/VirtualKeys.h"
#include "screens/keySetupUnit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <cstdio>

TForm6* Form6 = nullptr;
bool Form6Created = false;

using namespace KeyArray;

namespace {
constexpr int kClientW = 572, kClientH = 273;
constexpr int kCap = 36;
constexpr int kRowTops[4] = {80, 116, 152, 188};
// Where each row's first character cap sits, and how many caps the row has (in CharKeys order).
constexpr int kRowLefts[4] = {16, 73, 88, 105};
constexpr int kRowCounts[4] = {14, 12, 11, 10};

QString CapName(int key)
{
    // The number row's punctuation and the comma were named with a capital K; the rest with a small one.
    const bool capital = key == 192 || key == 189 || key == 187 || key == 220 || key == 188;
    return (capital ? QStringLiteral("Key") : QStringLiteral("key")) + QString::number(key);
}

void LoadPicture(TBitmap& bitmap, const char* name)
{
    if (!bitmap.LoadFromResourceName(QString::fromLatin1(name)))
        throw Exception(QStringLiteral("The picture \"%1\" is missing from the program.").arg(QLatin1String(name)));
}

unsigned ModifiersOf(Qt::KeyboardModifiers m)
{
    unsigned mods = 0;
    if (m & Qt::ShiftModifier) mods |= kmShift;
    if (m & Qt::ControlModifier) mods |= kmCtrl;
    if (m & Qt::AltModifier) mods |= kmAlt;
    if (m & Qt::MetaModifier) mods |= kmMeta;
    return mods;
}
} // namespace

TForm6::TForm6(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      FHeldRelease([this](const QKeyEvent& release) {
          FormKeyUp(uint16_t(VirtualKeyOf(release)), ModifiersOf(release.modifiers()), false);
      })
{
    PrepareSound(); // loads in the background while the window is built, so the first answer does not wait
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keys are judged by where they are, never by what an input method makes of them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Plain letters are answers here, not accelerators.
    setProperty("WantChars", true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("키보드 연습"));
    setFixedSize(kClientW, kClientH);
    setFont(MakeFont(QStringLiteral("MS Sans Serif"), -13, clBlack, fsBold).ToQFont());
    FTrace = qEnvironmentVariableIsSet("VORNIX_TRACE_KEYS");

    int index = 0;
    for (int row = 0; row < 4; ++row) {
        for (int i = 0; i < kRowCounts[row]; ++i, ++index) {
            const int key = CharKeys[size_t(index)];
            CharCaps[size_t(index)] =
                MakeCap(CapName(key), kRowLefts[row] + i * kCap, kRowTops[row], kCap, Practice.Caps.Cap(key).Caption);
        }
    }
    CharCaps[0]->SetFont(MakeFont(QStringLiteral("궁서"), -16, clBlack, fsBold)); // the grave-accent cap
    ColorButton15 = MakeCap(QStringLiteral("ColorButton15"), 520, 80, 36, QStringLiteral("BS"));
    ColorButton17 = MakeCap(QStringLiteral("ColorButton17"), 16, 116, 57, QStringLiteral("Tab"));
    ColorButton30 = MakeCap(QStringLiteral("ColorButton30"), 504, 116, 52, QString());
    ColorButton31 = MakeCap(QStringLiteral("ColorButton31"), 16, 152, 73, QStringLiteral("Caps"));
    ColorButton43 = MakeCap(QStringLiteral("ColorButton43"), 484, 152, 72, QStringLiteral("Enter"));
    lShiftKey = MakeCap(QStringLiteral("lShiftKey"), 16, 188, 89, QStringLiteral("Shift"));
    rShiftKey = MakeCap(QStringLiteral("rShiftKey"), 464, 188, 92, QStringLiteral("Shift"));

    LoadPicture(GreenImage, "GreenImage.png");
    LoadPicture(RedImage, "RedImage.png");
    LoadPicture(YellowImage, "YellowImage.png");
    LoadPicture(ExLabelImage, "ExLabelImage.png");

    ExLabel = new TEllipseAnnBtn(this);
    ExLabel->SetName(QStringLiteral("ExLabel"));
    ExLabel->SetBounds(240, 12, 85, 55);
    ExLabel->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRectangle);
    ExLabel->SetDrawBorder(false);
    ExLabel->SetFillBrush(false);
    ExLabel->SetUseInvalidate(false);
    ExLabel->SetFont(MakeFont(QStringLiteral("바탕"), -24, clBlack, fsBold));
    ExLabel->OnPrevDrawBtnFace = [this](QObject* s, TCanvas* c) { ExLabelPrevDrawBtnFace(s, c); };
    ExLabel->Loaded();

    ShiftLabel = new TBorderLabel(this);
    ShiftLabel->SetName(QStringLiteral("ShiftLabel"));
    ShiftLabel->SetBounds(192, 10, 40, 30);
    ShiftLabel->SetCaption(QStringLiteral("Shift"));
    ShiftLabel->SetColor(13171451);
    ShiftLabel->SetBorderColor(clBlack);
    ShiftLabel->SetBorderWidth(2);
    ShiftLabel->SetBorderShape(TBorderLabel::TBorderShape::bsRoundRect);
    ShiftLabel->SetRoundDegree(20);
    ShiftLabel->SetMoreWidth(14);
    ShiftLabel->SetMoreHeight(12);
    ShiftLabel->SetFont(MakeFont(QStringLiteral("arial"), -13, clBlack, fsBold));
    ShiftLabel->Loaded();
    ShiftLabel->SetVisible(false);

    OXBtn = new TEllipseAnnBtn(this);
    OXBtn->SetName(QStringLiteral("OXBtn"));
    OXBtn->SetBounds(360, 18, 45, 45);
    OXBtn->SetDrawBorder(false);
    OXBtn->SetFillBrush(false);
    OXBtn->SetUseInvalidate(false);
    OXBtn->OnDrawBtnFace = [this](QObject* s, TCanvas* c) { OXBtnDrawBtnFace(s, c); };
    OXBtn->Loaded();

    SetUpBtn = new TEllipseAnnBtn(this);
    SetUpBtn->SetName(QStringLiteral("SetUpBtn"));
    SetUpBtn->SetBounds(456, 24, 100, 40);
    SetUpBtn->SetCaption(QStringLiteral("설정"));
    SetUpBtn->SetCursor(crHandPoint);
    SetUpBtn->SetRespondToMouse(true);
    SetUpBtn->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRectangle);
    SetUpBtn->SetDrawBorder(false);
    SetUpBtn->SetFillBrush(false);
    SetUpBtn->SetUseInvalidate(false);
    SetUpBtn->SetFont(MakeFont(QStringLiteral("MS Sans Serif"), -13, clBlack, fsBold));
    SetUpBtn->OnPrevDrawBtnFace = [this](QObject* s, TCanvas* c) { SetUpBtnPrevDrawBtnFace(s, c); };
    SetUpBtn->OnClick = [this](QObject* s) { SetUpBtnClick(s); };
    SetUpBtn->Loaded();

    struct TFingerPlace
    {
        int Size, X, Y;
    };
    constexpr TFingerPlace places[kFingerCount] = {{23, 112, 241}, {29, 144, 238}, {35, 178, 234}, {31, 218, 237},
                                                   {31, 324, 236}, {35, 360, 234}, {29, 400, 238}, {23, 436, 242}};
    for (int i = 0; i < kFingerCount; ++i)
        Fingers[size_t(i)] =
            MakeFinger(QLatin1String(FingerNames[size_t(i)]), places[i].Size, places[i].X, places[i].Y);

    ReturnTimer = new TTimer(this);
    ReturnTimer->SetEnabled(false);
    ReturnTimer->SetInterval(TKeyPractice::kLampMs);
    ReturnTimer->SetOnTimer([this](QObject* s) { ReturnTimerTimer(s); });

    Practice.SetSoundOutput([](const QString& name) { PlaySoundResource(name); });

    // FormCreate
    Form6Created = true;
    Randomize();
}

TForm6::~TForm6()
{
    Form6Created = false;
    if (Form6 == this) Form6 = nullptr;
}

TKeybdButton* TForm6::MakeCap(const QString& name, int x, int y, int width, const QString& caption)
{
    auto* cap = new TKeybdButton(this);
    cap->SetName(name);
    cap->SetBounds(x, y, width, kCap);
    cap->SetBevelSize(4);
    cap->SetRoundDegree(10);
    cap->SetColor(kNeutralColor);
    cap->SetBevelBasicColor(kNeutralColor);
    cap->SetFont(MakeFont(QStringLiteral("Arial"), -16, clBlack, fsBold));
    cap->SetCaption(caption);
    return cap;
}

TEllipseAnnBtn* TForm6::MakeFinger(const QString& name, int size, int x, int y)
{
    auto* b = new TEllipseAnnBtn(this);
    b->SetName(name);
    b->SetBounds(x, y, size, size);
    b->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsEllipse);
    b->SetColor(kFingerColor);
    b->SetAutoBorderColor(false);
    b->SetTopColor(clBtnHighlight);
    b->SetBottomColor(clBtnShadow);
    b->SetEnabled(false);
    b->Loaded();
    return b;
}

void TForm6::MakeKeyMap()
{
    KeyMap.fill(nullptr);
    for (int code = 48; code <= 90; ++code) {
        if (code > 57 && code < 65) continue;
        KeyMap[size_t(code)] = findChild<TKeybdButton*>(QStringLiteral("key") + QString::number(code));
    }
    for (int code : {186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222})
        KeyMap[size_t(code)] = findChild<TKeybdButton*>(CapName(code));
}

void TForm6::Configure(int languageItem, KeyArray::TPracticePosition position, bool speakerOff, bool keyGuideOff)
{
    Practice.Configure(languageItem, position, speakerOff, keyGuideOff);
    ShowState();
}

void TForm6::GoProblem()
{
    Practice.GoProblem();
    ShowState();
    Trace("next");
}

void TForm6::Trace(const char* what, int key, unsigned modifiers)
{
    // Lets the whole-program test see the problem and the answers; nothing a person sees.
    if (!FTrace) return;
    std::fprintf(stderr, "keyboard %s problem %d shift %d key %d modifiers %u\n", what, Practice.ProblemKey,
                 Practice.ShiftNeeded ? 1 : 0, key, modifiers);
    std::fflush(stderr);
}

namespace {
// Changes a control's properties without the repaint each setter makes at once; the control is marked
// for repainting instead and its area joins dirty, which the window repaints in one go.
template <class F> void Quietly(QWidget* control, QRegion& dirty, F change)
{
    control->setUpdatesEnabled(false);
    change();
    control->setUpdatesEnabled(true);
    dirty += control->geometry();
}
} // namespace

void TForm6::ShowState()
{
    using KeybdButton::TButtonBevel;
    QRegion dirty;
    const auto show = [&dirty](TKeybdButton* cap, const TKeyCap& state, TKeyCap& shown, const QString& fontName) {
        if (state == shown && (fontName.isEmpty() || cap->Font().Name == fontName)) return;
        shown = state;
        Quietly(cap, dirty, [&] {
            cap->SetCaption(state.Caption);
            cap->SetAlignment(static_cast<KeybdButton::TAlignment>(state.Alignment));
            cap->SetColor(state.Color);
            TFont font = cap->Font();
            font.Color = state.FontColor;
            if (!fontName.isEmpty()) font.Name = fontName;
            cap->SetFont(font);
            cap->SetBevelStyle(state.Lowered ? TButtonBevel::bbLowered : TButtonBevel::bbRaised);
        });
    };
    for (int i = 0; i < kCharKeyCount; ++i) {
        const int key = CharKeys[size_t(i)];
        show(CharCaps[size_t(i)], Practice.Caps.Cap(key), FShownCaps.Cap(key),
             key >= 'A' && key <= 'Z' ? Practice.LetterFontName : QString());
    }
    show(lShiftKey, Practice.Caps.LShift, FShownCaps.LShift, QString());
    show(rShiftKey, Practice.Caps.RShift, FShownCaps.RShift, QString());
    const auto align =
        Practice.ExLabelBottom ? TEllipseAnnBtn::TTextAlign::taBottomCenter : TEllipseAnnBtn::TTextAlign::taCenter;
    if (ExLabel->Caption() != Practice.ExLabelCaption || ExLabel->TextAlign() != align) {
        Quietly(ExLabel, dirty, [&] {
            ExLabel->SetTextAlign(align);
            ExLabel->SetCaption(Practice.ExLabelCaption);
        });
    }
    if (ShiftLabel->Visible() != Practice.ShiftLabelVisible) {
        ShiftLabel->SetVisible(Practice.ShiftLabelVisible);
        dirty += ShiftLabel->geometry();
    }
    for (int i = 0; i < kFingerCount; ++i) {
        TEllipseAnnBtn* finger = Fingers[size_t(i)];
        const TFingerState& state = Practice.Fingers[size_t(i)];
        if (finger->Color() == state.Color && finger->Down() == state.Down) continue;
        Quietly(finger, dirty, [&] {
            finger->SetColor(state.Color);
            finger->SetDown(state.Down);
        });
    }
    ShowLamp(dirty);
    // One synchronous paint of what changed: the caps show at once, and no event loop runs in a key handler.
    if (!dirty.isEmpty()) repaint(dirty);
}

void TForm6::ShowLamp(QRegion& dirty)
{
    const TLamp lamp = Practice.Lamp();
    if (lamp == FShownLamp) return;
    FShownLamp = lamp;
    // Special stays set from red to green; the lamp must show the new answer all the same.
    Quietly(OXBtn, dirty, [&] {
        OXBtn->Tag = lamp == TLamp::Green ? 1 : 0;
        OXBtn->SetSpecial(lamp != TLamp::Yellow);
    });
}

void TForm6::FormKeyDown(uint16_t key)
{
    Practice.KeyDown(key);
    // Only the changed caps repaint, at once; the event loop is not run here, so the release that
    // follows is judged in its own turn.
    ShowState();
}

void TForm6::FormKeyUp(uint16_t key, unsigned modifiers, bool autoRepeat)
{
    const TJudgement j = Practice.KeyUp(key, modifiers, autoRepeat);
    if (j != TJudgement::NotJudged) {
        // Each answer shows for the whole period.
        ReturnTimer->SetEnabled(false);
        ReturnTimer->SetInterval(TKeyPractice::kLampMs);
        ReturnTimer->SetEnabled(true);
    }
    ShowState();
    if (j == TJudgement::Right) Trace("right", key, modifiers);
    if (j == TJudgement::Wrong) Trace("wrong", key, modifiers);
    if (j == TJudgement::WrongSkipped) Trace("skipped", key, modifiers);
    if (j == TJudgement::Right || j == TJudgement::WrongSkipped) Trace("next");
}

void TForm6::ReturnTimerTimer(QObject*)
{
    const int left = Practice.LampRemaining();
    if (left > 0)
        ReturnTimer->SetInterval(left);
    else
        ReturnTimer->SetEnabled(false);
    QRegion dirty;
    ShowLamp(dirty);
    if (!dirty.isEmpty()) repaint(dirty);
}

void TForm6::SetUpBtnClick(QObject*)
{
    keySetUpForm = new TkeySetUpForm(this);
    keySetUpForm->ShowModal(); // frees itself when it closes
}

void TForm6::SetUpBtnPrevDrawBtnFace(QObject*, TCanvas* ACanvas)
{
    const TCloudPictures clouds = CloudPictures();
    TBitmap* cloud = SetUpBtn->FBtnDowned ? &clouds.DownSmall : &clouds.UpSmall;
    DrawBitmapTransparentFaded(ACanvas->Handle(), 0, 0, SetUpBtn->MouseIn() ? -10 : 0, cloud, 0, 0);
}

void TForm6::ExLabelPrevDrawBtnFace(QObject*, TCanvas* ACanvas)
{
    ACanvas->StretchDraw(Rect(0, 0, ExLabel->Width(), ExLabel->Height()), &ExLabelImage);
}

void TForm6::OXBtnDrawBtnFace(QObject*, TCanvas* ACanvas)
{
    TBitmap* picture = !OXBtn->Special() ? &YellowImage : OXBtn->Tag == 1 ? &GreenImage : &RedImage;
    DrawBitmapTransparent(ACanvas->Handle(), 0, 0, picture, 0, 0);
}

void TForm6::paintEvent(QPaintEvent* event)
{
    // The gradient is drawn once per frame size; a cap's repaint copies only the piece behind it.
    if (FBackground.isNull() || FBackgroundFrame != frameGeometry().size()) {
        FBackgroundFrame = frameGeometry().size();
        FBackground = QImage(size(), QImage::Format_RGB32);
        QPainter painter(&FBackground);
        TCanvas canvas;
        canvas.AttachPainter(&painter);
        PaintGradient(0xA6A600, 0xF5F5F5, this, &canvas);
        canvas.Detach();
    }
    // Piece by piece: a key's repaint covers a few caps far apart, and their bounding rectangle is most of
    // the window (large copies also go out to worker threads).
    QPainter painter(this);
    for (const QRect& r : event->region())
        painter.drawImage(r, FBackground, r);
}

void TForm6::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    // A release still held back is judged first, unless this press shows it was the key repeating.
    QPointer<TForm6> self(this);
    FHeldRelease.Press(*event);
    if (self) FormKeyDown(uint16_t(VirtualKeyOf(*event)));
}

void TForm6::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (THeldKeyRelease::CanHold(*event))
        FHeldRelease.Hold(*event);
    else
        FormKeyUp(uint16_t(VirtualKeyOf(*event)), ModifiersOf(event->modifiers()), event->isAutoRepeat());
}

bool TForm6::focusNextPrevChild(bool)
{
    return false; // Tab is a key to practise
}

void TForm6::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            const QSize frame = frameGeometry().size();
            move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
        }
        PracticeWindowOpened();
    }
}

void TForm6::closeEvent(QCloseEvent* event)
{
    // A key let go as the window closes is no answer any more.
    FHeldRelease.Drop();
    ReturnTimer->SetEnabled(false);
    PracticeWindowClosed();
    event->accept();
}

void TForm6::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Practice.Activated();
        ShowState();
    }
}
