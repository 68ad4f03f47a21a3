#include "screens/MainUnit.h"

#include "components/MenuArt.h"
#include "engine/VornixMisc.h"
#include "game/GameSetUpUnit.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/HtmlHelp.h"
#include "platform/PracticeWindows.h"
#include "platform/Random.h"
#include "platform/Shell.h"
#include "platform/WinUtil.h"
#include "screens/AboutUnit.h"
#include "screens/MainWindowPlacement.h"
#include "screens/ProgramInfo.h"
#include "screens/SentenceSetupUnit.h"
#include "screens/keySetupUnit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

TMainForm* MainForm = nullptr;
bool MainFormFocused = false;

namespace {
constexpr TColor CloudTintColors[6] = {clYellow, clLime, clFuchsia, clBlue, clRed, clAqua};

const char16_t* const kKeyCaption = u"키보드연습(&K)";
const char16_t* const kSenCaption = u"문장연습(&S)";
const char16_t* const kGameCaption = u"타자게임(&G)";

// Design sizes and tops of the buttons.
constexpr int kMenuW = 150, kMenuH = 60;
constexpr int kKeyTop = 63, kSenTop = 76, kGameTop = 55;
constexpr int kSmallW = 100, kSmallH = 40;
constexpr int kBannerW = 1025, kBannerH = 237;
constexpr int kDesignClientW = 1286, kDesignClientH = 871;

TBitmap* PictureOf(bool pressed, TBitmap& down, TBitmap& up)
{
    return pressed ? &down : &up;
}

void LoadPicture(TBitmap& bitmap, const char* name)
{
    if (!bitmap.LoadFromResourceName(QString::fromLatin1(name)))
        throw Exception(QStringLiteral("The picture \"%1\" is missing from the program.").arg(QLatin1String(name)));
}
} // namespace

TMainLayout ComputeMainLayout(int CW, int CH)
{
    TMainLayout l;
    // Integer division truncates toward zero, as the window's arithmetic always did.
    const int c = (CW - kBannerW) / 2;
    const int a = kSmallW + 20;
    const int bannerLeft = c >= a ? c : c - (a - c);
    l.ADBtn = Bounds(bannerLeft, CH - kBannerH - 10, kBannerW, kBannerH);
    const int t = CW / 3;
    const int g = (t - kMenuW) / 2;
    l.KeyBtn = Bounds(g, kKeyTop, kMenuW, kMenuH);
    l.SenBtn = Bounds(t + g, kSenTop, kMenuW, kMenuH);
    l.GameBtn = Bounds(2 * t + g, kGameTop, kMenuW, kMenuH);
    const int helpTop = CH - kSmallH - 15;
    l.HelpBtn = Bounds(CW - kSmallW - 15, helpTop, kSmallW, kSmallH);
    l.AboutBtn = Bounds(CW - kSmallW - 15, helpTop - kSmallH - 10, kSmallW, kSmallH);
    return l;
}

void PaintMainBackground(QWidget* Form, TCanvas* Canvas)
{
    const int H = PaintGradient(0x800000, 0xFFFFCA, Form, Canvas);
    const TBrush saved = Canvas->Brush;
    // The lightning bolt, around half the outer height.
    Canvas->Brush.Color = clYellow;
    Canvas->Brush.Style = bsSolid;
    Canvas->Pen.Color = clBlack;
    Canvas->Pen.Style = psSolid;
    Canvas->Pen.Width = 1;
    const int h = H / 2;
    Canvas->Polygon({Point(192, h - 165), Point(137, h - 30), Point(150, h - 30), Point(95, h + 112),
                     Point(195, h - 40), Point(182, h - 40), Point(262, h - 165), Point(192, h - 165)});
    Canvas->Brush = saved;
}

void TMainForm::HideMenuButtons()
{
    AboutBtn->SetVisible(false);
    KeyBtn->SetCaption(QString());
    SenBtn->SetCaption(QString());
    GameBtn->SetCaption(QString());
    HelpBtn->SetVisible(false);
}

void TMainForm::ShowMenuButtons()
{
    AboutBtn->SetVisible(true);
    KeyBtn->SetCaption(QString::fromUtf16(kKeyCaption));
    SenBtn->SetCaption(QString::fromUtf16(kSenCaption));
    GameBtn->SetCaption(QString::fromUtf16(kGameCaption));
    HelpBtn->SetVisible(true);
}

TMyHintWindow::TMyHintWindow(int hidePauseMs) : QObject(qApp), FHideTimeout(hidePauseMs) {}

void TMyHintWindow::Install(int hidePauseMs)
{
    static TMyHintWindow* installed = nullptr;
    QToolTip::setFont(QFont(QStringLiteral("arial"), 10));
    if (!installed) {
        installed = new TMyHintWindow(hidePauseMs);
        qApp->installEventFilter(installed);
    }
    installed->FHideTimeout = hidePauseMs;
}

bool TMyHintWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTip().isEmpty()) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), widget->toolTip(), widget, QRect(), FHideTimeout);
    return true;
}

TMainForm::TMainForm(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf16(kMainCaption));
    setWindowIcon(QApplication::windowIcon());
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(kDesignClientW, kDesignClientH);

    KeyBtn = MakeButton(QString::fromUtf16(kKeyCaption), kMenuW, kMenuH, kKeyTop);
    SenBtn = MakeButton(QString::fromUtf16(kSenCaption), kMenuW, kMenuH, kSenTop);
    GameBtn = MakeButton(QString::fromUtf16(kGameCaption), kMenuW, kMenuH, kGameTop);
    AboutBtn = MakeButton(QStringLiteral("&About.."), kSmallW, kSmallH, 0);
    HelpBtn = MakeButton(QStringLiteral("도움말(&H)"), kSmallW, kSmallH, 0);
    ADBtn = MakeButton(QString(), kBannerW, kBannerH, 0);
    ADBtn->SetHint(QString::fromLatin1(kMakerWebAddress));
    ADBtn->SetShowHint(true);

    for (TEllipseAnnBtn* b : {KeyBtn, SenBtn, GameBtn}) {
        b->OnPrevDrawBtnFace = [this](QObject* s, TCanvas* c) { KeyBtnPrevDrawBtnFace(s, c); };
        b->OnMouseEnter = [this](QObject* s) { KeyBtnMouseEnter(s); };
        b->OnMouseLeave = [this](QObject* s) { KeyBtnMouseLeave(s); };
    }
    KeyBtn->OnClick = [this](QObject* s) { KeyBtnClick(s); };
    SenBtn->OnClick = [this](QObject* s) { SenBtnClick(s); };
    GameBtn->OnClick = [this](QObject* s) { GameBtnClick(s); };
    AboutBtn->OnClick = [this](QObject* s) { AboutBtnClick(s); };
    HelpBtn->OnClick = [this](QObject* s) { HelpBtnClick(s); };
    ADBtn->OnClick = [this](QObject* s) { ADBtnClick(s); };
    AboutBtn->OnPrevDrawBtnFace = [this](QObject* s, TCanvas* c) { AboutBtnPrevDrawBtnFace(s, c); };
    HelpBtn->OnPrevDrawBtnFace = [this](QObject* s, TCanvas* c) { AboutBtnPrevDrawBtnFace(s, c); };
    ADBtn->OnPrevDrawBtnFace = [this](QObject* s, TCanvas* c) { ADBtnPrevDrawBtnFace(s, c); };

    CloudPictures(); // a picture missing from the program stops the start here
    LoadPicture(MouseEffectImage1, "MouseEffect1.png");
    LoadPicture(MouseEffectImage2, "MouseEffect2.png");
    LoadPicture(ADImage, "Banner.bmp");
    ADImage.Transparent = true;

    MouseEffectTimer = new TTimer(this);
    MouseEffectTimer->SetEnabled(false);
    MouseEffectTimer->SetInterval(300);
    MouseEffectTimer->SetOnTimer([this](QObject* s) { MouseEffectTimerTimer(s); });

    // The menu is blocked while a practice window is open.
    connect(&TPracticeWindows::Instance(), &TPracticeWindows::Opened, this, &TMainForm::HideMenuButtons);
    connect(&TPracticeWindows::Instance(), &TPracticeWindows::Closed, this, &TMainForm::ShowMenuButtons);

    FormCreate();
}

TMainForm::~TMainForm()
{
    HideMouseEffect();
    if (MainForm == this) MainForm = nullptr;
}

TEllipseAnnBtn* TMainForm::MakeButton(const QString& caption, int width, int height, int top)
{
    auto* b = new TEllipseAnnBtn(this);
    b->SetBounds(0, top, width, height);
    b->SetCaption(caption);
    b->SetCursor(crHandPoint);
    b->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRectangle);
    b->SetDrawBorder(false);
    b->SetFillBrush(false);
    b->SetRespondToMouse(true);
    b->SetUseInvalidate(false);
    b->SetTextAlign(TEllipseAnnBtn::TTextAlign::taCenter);
    TFont font;
    font.Name = QStringLiteral("굴림");
    font.Height = -13;
    font.Color = clBlack;
    b->SetFont(font);
    b->Loaded();
    return b;
}

void TMainForm::FormCreate()
{
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) HideMouseEffect(); // the application's deactivation
    });
    TMyHintWindow::Install(7000);
    MinSize = Point(850, 700);
    // The limits until the window is shown on its screen and its frame is known.
    PlaceWindow(false);
}

QMargins TMainForm::FrameMargins() const
{
    // Asked of the window itself: the widget learns a new frame only when the window moves or resizes, and a
    // window manager that starts after the window was mapped frames it round its place without moving it.
    const QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    // While the window manager is still making its frame the two can disagree wildly.
    if (m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0) return QMargins();
    return m;
}

void TMainForm::PlaceWindow(bool position)
{
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
    // The screen is its free area here: panels are not the window's to cover.
    MaxSize = Point(available.width(), available.height());
    FPlacedFrame = FrameMargins();
    // The size constraints of the window (1200 x 500) and its tracking limits (850 x 700) both hold, as
    // far as the screen allows.
    const QSize minOuter(std::max(1200, MinSize.X), std::max(500, MinSize.Y));
    const TMainWindowPlacement p = PlaceMainWindow(available, FPlacedFrame, minOuter, FStoredClient);
    setMinimumSize(p.MinClient);
    setMaximumSize(p.MaxClient);
    if (!position) return;
    if (FPlacedFrame.isNull()) {
        resize(p.Client);
        move(p.FramePos); // the frame's corner, wherever the window manager puts its frame
    } else {
        // With the frame known the client is placed itself: it lands where it is asked for.
        setGeometry(QRect(p.FramePos + QPoint(FPlacedFrame.left(), FPlacedFrame.top()), p.Client));
    }
    FPlacedClient = size();
    FPlacedPos = p.FramePos;
}

void TMainForm::FormShow()
{
    OpenSettings();
    // The client size is stored and restored, the same measure both ways, so the window never grows
    // by its frame from one start to the next.
    // Absent, the size the window was made with: its design size (limits may have clamped it since).
    FStoredClient = ReadMainWindowSize(*SettingsFile, QSize(kDesignClientW, kDesignClientH));
    CloseSettings();
    PlaceWindow(true);
    // Most window managers add their frame after the window is shown, and Qt learns of it without an
    // event: it is looked for a while (a window manager starting beside the program can take seconds),
    // and the window placed again once, when it is known.
    FFrameChecks = FPlacedFrame.isNull() ? 100 : 0;
    if (FFrameChecks) QTimer::singleShot(50, this, [this] { FrameMaybeKnown(); });
}

void TMainForm::FrameMaybeKnown()
{
    if (FFrameChecks <= 0 || isMaximized() || isFullScreen()) return;
    const QMargins frame = FrameMargins();
    if (frame.isNull()) {
        if (--FFrameChecks > 0) QTimer::singleShot(100, this, [this] { FrameMaybeKnown(); });
        return;
    }
    FFrameChecks = 0;
    // A window the user has moved meanwhile stays where the user put it. Under Wayland a program never
    // learns where its window is, and its frame (drawn by Qt) is known at once: only the size is fitted.
    if (!TApplication::OnWayland() && !MainWindowStillPlaced(FPlacedPos, windowHandle()->geometry().topLeft(), frame))
        return;
    PlaceWindow(true);
    update();
}

void TMainForm::FormClose()
{
    try {
        // The normal size, not the maximized one; a start clamped to a small screen keeps the stored size.
        const QSize normal = isMaximized() || isFullScreen() ? normalGeometry().size() : size();
        const QSize kept = MainWindowSizeToStore(normal, FPlacedClient, FStoredClient);
        OpenSettings();
        WriteMainWindowSize(*SettingsFile, kept);
        CloseSettings();
    } catch (const Exception& e) {
        // Reported once; the program still closes.
        CloseSettings();
        TApplication::ShowException(e.Message());
    }
}

void TMainForm::FormResize()
{
    const TMainLayout l = ComputeMainLayout(width(), height());
    const auto place = [](TEllipseAnnBtn* b, const TRect& r) { b->SetBounds(r.Left, r.Top, r.Width(), r.Height()); };
    place(ADBtn, l.ADBtn);
    place(KeyBtn, l.KeyBtn);
    place(SenBtn, l.SenBtn);
    place(GameBtn, l.GameBtn);
    place(AboutBtn, l.AboutBtn);
    place(HelpBtn, l.HelpBtn);
    update();
}

void TMainForm::FormDeactivate()
{
    HideMouseEffect();
}

void TMainForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas;
    canvas.AttachPainter(&painter);
    PaintMainBackground(this, &canvas);
    if (MouseEffectRunning()) {
        // The strip shows one frame over what the window paints there anyway, so stopping the effect
        // needs only a repaint of its area to bring back exactly the pixels under it.
        TBitmap* frame = FEffectFrame1 ? &MouseEffectImage1 : &MouseEffectImage2;
        DrawBitmapTransparent(canvas.Handle(), FEffectPos.X, FEffectPos.Y, frame, 0, 0);
    }
    canvas.Detach();
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!FShown) {
        FShown = true;
        FormShow();
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
    // Closing the main window ends the program; the practice windows close (and save) first.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
    QCoreApplication::quit();
}

void TMainForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        MainFormFocused = isActiveWindow();
        if (!MainFormFocused) FormDeactivate();
    }
}

TRect TMainForm::MouseEffectRect() const
{
    return Bounds(FEffectPos.X, FEffectPos.Y, FEffectSize.X, FEffectSize.Y);
}

void TMainForm::HideMouseEffect()
{
    if (!MouseEffectTimer->Enabled()) return;
    MouseEffectTimer->SetEnabled(false);
    const TRect r = MouseEffectRect();
    update(r.Left, r.Top, r.Width(), r.Height());
}

void TMainForm::KeyBtnMouseEnter(QObject* Sender)
{
    auto* b = static_cast<TEllipseAnnBtn*>(Sender);
    if (!MainFormFocused || b->FBtnDowned) return;
    HideMouseEffect();
    FEffectSize = Point(b->Width(), 2 * b->Height());
    FEffectPos = Point(b->Left() + (b->Width() - MouseEffectImage1.Width()) / 2, b->Top() + b->Height());
    MouseEffectTimer->SetEnabled(true);
    MouseEffectTimerTimer(MouseEffectTimer);
}

void TMainForm::KeyBtnMouseLeave(QObject*)
{
    HideMouseEffect();
}

void TMainForm::MouseEffectTimerTimer(QObject*)
{
    FEffectFrame1 = FEffectToggle;
    const TRect r = MouseEffectRect();
    update(r.Left, r.Top, r.Width(), r.Height());
    FEffectToggle = !FEffectToggle;
}

void TMainForm::KeyBtnPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas)
{
    auto* b = static_cast<TEllipseAnnBtn*>(Sender);
    const TCloudPictures clouds = CloudPictures();
    TBitmap* picture = PictureOf(b->FBtnDowned, clouds.Down, clouds.Up);
    Randomize();
    const int index = Random(6);
    TBitmap* face = b->MouseIn() ? Tinted(picture, CloudTintColors[index], 20) : picture;
    DrawBitmapTransparent(ACanvas->Handle(), 0, 0, face, 0, 0);
}

TBitmap* TMainForm::Tinted(TBitmap* picture, TColor color, uint8_t percent)
{
    // Hover faces are the same tint of the same picture every time: made once, so their masks are kept too.
    TTintedFace& t = FTinted[{picture, color}];
    const qint64 source = picture->ToImage().cacheKey();
    if (!t.Face || t.Source != source || t.Percent != percent) {
        t.Face = std::make_unique<TBitmap>();
        t.Face->Assign(picture);
        TintBitmap(t.Face.get(), color, percent);
        t.Source = source;
        t.Percent = percent;
    }
    return t.Face.get();
}

void TMainForm::AboutBtnPrevDrawBtnFace(QObject* Sender, TCanvas* ACanvas)
{
    auto* b = static_cast<TEllipseAnnBtn*>(Sender);
    const TCloudPictures clouds = CloudPictures();
    DrawBitmapTransparentFaded(ACanvas->Handle(), 0, 0, b->MouseIn() ? -20 : 0,
                               PictureOf(b->FBtnDowned, clouds.DownSmall, clouds.UpSmall), 0, 0);
}

void TMainForm::ADBtnPrevDrawBtnFace(QObject*, TCanvas* ACanvas)
{
    TBitmap* banner = ADBtn->MouseIn() ? Tinted(&ADImage, clSkyBlue, 30) : &ADImage;
    banner->Transparent = true;
    // The button paints where the window would: its own top-left is the banner's place on the window.
    ACanvas->Draw(0, 0, banner);
}

void TMainForm::KeyBtnClick(QObject*)
{
    if (KeyBtn->Caption().isEmpty()) return; // a practice window is open
    HideMouseEffect();
    keySetUpForm = new TkeySetUpForm(this);
    keySetUpForm->ShowModal(); // frees itself when it closes
}

void TMainForm::SenBtnClick(QObject*)
{
    if (SenBtn->Caption().isEmpty()) return;
    HideMouseEffect();
    // Freed here after its modal run.
    auto dialog = std::make_unique<TSentenceSetupForm>(this);
    dialog->ShowModal();
}

void TMainForm::GameBtnClick(QObject*)
{
    if (GameBtn->Caption().isEmpty()) return;
    HideMouseEffect();
    auto* setup = new TGameSetUpForm(this); // frees itself when it closes
    setup->ShowModal();
}

void TMainForm::AboutBtnClick(QObject*)
{
    auto* about = new TAboutForm(this);
    about->exec(); // frees itself when it closes
}

void TMainForm::HelpBtnClick(QObject*)
{
    HtmlHelpDisplayTopic(this, ProgramFolder + QStringLiteral("zavlin.chm"), QStringLiteral("Vornix이란.htm"));
}

void TMainForm::ADBtnClick(QObject*)
{
    ShellOpen(QString::fromLatin1(kMakerWebAddress));
}
