// The push button: its looks per shape and state, the caption rule, the mouse and accelerator order, the
// repaint policy, and a click handler that frees the form.
#include "components/EllipseAnnBtn.h"
#include "platform/Accelerators.h"
#include "tests/support/WidgetTestUtil.h"

#include <QDialog>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <malloc.h>

using Shape = TEllipseAnnBtn::TBtnShape;
using Align = TEllipseAnnBtn::TTextAlign;
Q_DECLARE_METATYPE(Shape)

namespace {
constexpr TColor kBack = 0x808000; // teal: whatever the button leaves unpainted
constexpr TColor kFace = 0xE0E0E0;
constexpr TColor kLight = 0xFFFFFF; // Lighter(kFace)
constexpr TColor kDark = 0xA0A0A0;  // Darker(kFace)

enum State {
    Rest,
    Pressed,
    Hover,
    HoverFramed,
    Flat,
    FlatDesign,
    Disabled,
    DisabledDown,
    DisabledHover,
    OwnColours,
    OwnColoursPressed,
    TransParentFace,
    NoFill
};

void Apply(TEllipseAnnBtn* b, State s)
{
    switch (s) {
    case Rest:
        break;
    case Pressed:
        b->SetDown(true);
        break;
    case Hover:
        b->SetRespondToMouse(true);
        b->SetMouseIn(true);
        b->SetMouseInColor(clYellow);
        break;
    case HoverFramed:
        b->SetRespondToMouse(true);
        b->SetDrawFrameWhenMouseIn(true);
        b->SetTopColor(clRed);
        b->SetBottomColor(clBlue);
        b->SetMouseIn(true);
        break;
    case Flat:
        b->SetRespondToMouse(true);
        break;
    case FlatDesign:
        b->SetRespondToMouse(true);
        b->SetDesigning(true);
        break;
    case Disabled:
        b->SetEnabled(false);
        break;
    case DisabledDown:
        b->SetEnabled(false);
        b->SetDown(true);
        break;
    case DisabledHover:
        b->SetRespondToMouse(true);
        b->SetMouseIn(true);
        b->SetEnabled(false);
        break;
    case OwnColours:
        b->SetAutoBorderColor(false);
        b->SetTopColor(clRed);
        b->SetBottomColor(clBlue);
        break;
    case OwnColoursPressed:
        Apply(b, OwnColours);
        b->SetDown(true);
        break;
    case TransParentFace:
        b->SetTransParent(true);
        break;
    case NoFill:
        b->SetFillBrush(false);
        break;
    }
}
} // namespace

class TestEllipseAnnBtn : public QObject
{
    Q_OBJECT
private slots:
    // Freed memory is overwritten, so a control that touches itself after its form was freed fails here.
    void initTestCase() { mallopt(M_PERTURB, 0xA5); }

    void looks_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<int>("state");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<TColor>("expected");
        const Shape R = Shape::bsRectangle, P = Shape::bsRoundRect, E = Shape::bsEllipse;
        const QPoint left(0, 18), top(50, 0), right(99, 18), bottom(50, 35), face(50, 18), corner(0, 0);
        struct Row
        {
            const char* name;
            Shape shape;
            State state;
            QPoint at;
            TColor expected;
        };
        const Row rows[] = {
            {"rect rest left", R, Rest, left, kLight},
            {"rect rest top", R, Rest, top, kLight},
            {"rect rest right", R, Rest, right, kDark},
            {"rect rest bottom", R, Rest, bottom, kDark},
            {"rect rest face", R, Rest, face, kFace},
            {"rect pressed left", R, Pressed, left, kDark},
            {"rect pressed bottom", R, Pressed, bottom, kLight},
            {"rect hover left", R, Hover, left, clYellow},
            {"rect hover right", R, Hover, right, clYellow},
            {"rect hover framed left", R, HoverFramed, left, clRed},
            {"rect hover framed right", R, HoverFramed, right, clBlue},
            {"rect flat left", R, Flat, left, kFace},
            {"rect flat right", R, Flat, right, kFace},
            {"rect flat at design time", R, FlatDesign, left, kLight},
            {"rect disabled keeps edges", R, Disabled, left, kLight},
            {"rect disabled is not pressed", R, DisabledDown, left, kLight},
            {"rect disabled hover edges vanish", R, DisabledHover, left, kFace},
            {"rect own colours", R, OwnColours, left, clRed},
            {"rect own colours bottom", R, OwnColours, bottom, clBlue},
            {"rect own colours pressed", R, OwnColoursPressed, left, clBlue},
            {"rect transparent face unfilled", R, TransParentFace, face, kBack},
            {"rect transparent keeps edges", R, TransParentFace, left, kLight},
            {"ellipse rest top", E, Rest, top, kLight},
            {"ellipse rest left", E, Rest, left, kLight},
            {"ellipse rest bottom", E, Rest, bottom, kDark},
            {"ellipse rest right", E, Rest, right, kDark},
            {"ellipse rest face", E, Rest, face, kFace},
            {"ellipse corner unpainted", E, Rest, corner, kBack},
            {"ellipse pressed top", E, Pressed, top, kDark},
            {"ellipse pressed bottom", E, Pressed, bottom, kLight},
            {"ellipse flat top", E, Flat, top, kFace},
            {"ellipse without fill", E, NoFill, face, kBack},
            {"ellipse without fill keeps edge", E, NoFill, top, kLight},
            {"pill rest top", P, Rest, top, kLight},
            {"pill rest bottom", P, Rest, bottom, kDark},
            {"pill rest left end", P, Rest, left, kLight},
            {"pill rest right end", P, Rest, right, kDark},
            {"pill rest face", P, Rest, face, kFace},
            {"pill corner unpainted", P, Rest, corner, kBack},
            {"pill pressed top", P, Pressed, top, kDark},
            {"pill pressed right end", P, Pressed, right, kLight},
            {"pill hover top", P, Hover, top, clYellow},
            {"pill without fill keeps its middle", P, NoFill, face, kFace},
            {"pill without fill leaves its ends", P, NoFill, QPoint(9, 18), kBack},
        };
        for (const Row& r : rows)
            QTest::newRow(r.name) << r.shape << int(r.state) << r.at << r.expected;
    }
    void looks()
    {
        QFETCH(Shape, shape);
        QFETCH(int, state);
        QFETCH(QPoint, at);
        QFETCH(TColor, expected);
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 100, 36);
        b.SetBtnShape(shape);
        Apply(&b, State(state));
        const QImage img = RenderControl(&b, kBack);
        QCOMPARE(PixelAt(img, at.x(), at.y()), expected);
    }

    void picturesUnderneathAndOnTop()
    {
        // The owner paints underneath before anything and on top after everything.
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 60, 30);
        b.SetFillBrush(false);
        b.SetDrawBorder(false);
        QStringList order;
        b.OnPrevDrawBtnFace = [&](QObject* sender, TCanvas* c) {
            QCOMPARE(sender, &b);
            order << "prev";
            c->Brush.Color = clGreen;
            c->FillRect(Rect(0, 0, 60, 30));
        };
        b.OnDrawBtnFace = [&](QObject*, TCanvas* c) {
            order << "after";
            c->SetPixel(0, 0, clRed);
        };
        const QImage img = RenderControl(&b, kBack);
        QCOMPARE(order, QStringList({"prev", "after"}));
        QCOMPARE(PixelAt(img, 30, 15), clGreen);
        QCOMPARE(PixelAt(img, 0, 0), clRed);
    }

    void displayTextReplacesTheCaptionAtPaintTime()
    {
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 80, 30);
        b.SetCaption(QStringLiteral("&One"));
        QString seen;
        b.OnGetDisplayText = [&](QObject*, const QString& def, QString& shown) {
            seen = def;
            shown = QString();
        };
        const QImage img = RenderControl(&b, kBack);
        QCOMPARE(seen, QStringLiteral("&One"));
        for (int x = 20; x < 60; ++x) // no text and no underline in the middle
            QCOMPARE(PixelAt(img, x, 15), kFace);
    }

    void disabledCaptionDrawnTwice()
    {
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 80, 30);
        b.SetBtnShape(Shape::bsRectangle);
        TFont f = b.Font();
        f.Height = -16;
        f.Color = clBlack;
        b.SetFont(f);
        b.SetCaption(QStringLiteral("&W"));
        b.SetTextAlign(Align::taLeft); // x = 2 whether or not the "&" is measured
        b.SetEnabled(false);
        const QImage img = RenderControl(&b, kBack);
        bool silver = false, white = false, black = false;
        for (int y = 1; y < 29; ++y)
            for (int x = 1; x < 79; ++x) {
                const TColor c = PixelAt(img, x, y);
                silver |= c == 0xC0C0C0;
                white |= c == 0xFFFFFF;
                black |= c == clBlack;
            }
        QVERIFY(silver);
        QVERIFY(white);
        QVERIFY(!black);
        // The underline: silver and one pixel lower white, not shifted right.
        const TPoint pos = b.GetCaptionPos();
        const int base = pos.Y + TextHeightOf(b.Canvas()->Handle(), QStringLiteral("H"));
        QCOMPARE(PixelAt(img, pos.X, base), TColor(0xC0C0C0));
        QCOMPARE(PixelAt(img, pos.X, base + 1), TColor(0xFFFFFF));
    }

    void underlineSitsUnderTheAcceleratorCharacter()
    {
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 120, 30);
        b.SetBtnShape(Shape::bsRectangle);
        TFont f = b.Font();
        f.Color = clMaroon;
        b.SetFont(f);
        b.SetCaption(QStringLiteral("ab&cd"));
        const QImage img = RenderControl(&b, kBack);
        HDC dc = b.Canvas()->Handle();
        QString text = QStringLiteral("abcd");
        const int tw = TextWidthOf(dc, text);
        const int x = (120 - tw) / 2;
        const int y = (30 - TextHeightOf(dc, text) - 2) / 2;
        const int base = y + TextHeightOf(dc, QStringLiteral("H"));
        const int left = x + TextWidthOf(dc, QStringLiteral("ab")), right = x + TextWidthOf(dc, QStringLiteral("abc"));
        QCOMPARE(PixelAt(img, left, base), clMaroon);
        QCOMPARE(PixelAt(img, right - 1, base), clMaroon);
        QCOMPARE(PixelAt(img, right, base), kFace); // the line leaves out its end point
        QCOMPARE(PixelAt(img, left - 1, base), kFace);
    }

    void noUnderlineForATrailingAmpersand()
    {
        TEllipseAnnBtn a, b;
        for (TEllipseAnnBtn* x : {&a, &b}) {
            x->SetBounds(0, 0, 100, 30);
            x->SetBtnShape(Shape::bsRectangle);
        }
        a.SetCaption(QStringLiteral("end&"));
        b.SetCaption(QStringLiteral("end"));
        QCOMPARE(RenderControl(&a, kBack), RenderControl(&b, kBack));
    }

    void captionPosition_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<int>("align");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("expectedX"); // -1: centred on the text width
        QTest::addColumn<int>("expectedY"); // -1: centred, -2: bottom row, else as given
        QTest::newRow("left") << Shape::bsRectangle << int(Align::taLeft) << false << 30 << 2 << -1;
        QTest::newRow("left of an icon, rectangle")
            << Shape::bsRectangle << int(Align::taLeft) << true << 30 << 3 + 16 + 5 + 2 << -1;
        QTest::newRow("left of an icon, ellipse")
            << Shape::bsEllipse << int(Align::taLeft) << true << 30 << 15 + 16 + 5 + 2 << -1;
        QTest::newRow("top row, rectangle inset 1")
            << Shape::bsRectangle << int(Align::taTopLeft) << false << 30 << 2 << 2;
        QTest::newRow("top row, ellipse inset 2") << Shape::bsEllipse << int(Align::taTopLeft) << false << 30 << 2 << 3;
        QTest::newRow("bottom row") << Shape::bsRectangle << int(Align::taBottomLeft) << false << 30 << 2 << -2;
        QTest::newRow("too low for the text") << Shape::bsRectangle << int(Align::taBottomLeft) << false << 8 << 2 << 3;
        QTest::newRow("too low, ellipse") << Shape::bsEllipse << int(Align::taTopLeft) << false << 8 << 2 << 4;
        QTest::newRow("centre") << Shape::bsRectangle << int(Align::taCenter) << false << 30 << -1 << -1;
    }
    void captionPosition()
    {
        QFETCH(Shape, shape);
        QFETCH(int, align);
        QFETCH(bool, icon);
        QFETCH(int, height);
        QFETCH(int, expectedX);
        QFETCH(int, expectedY);
        QIcon picture(QPixmap(16, 16));
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 140, height);
        b.SetBtnShape(shape);
        b.SetTextAlign(Align(align));
        b.SetCaption(QStringLiteral("Caption"));
        if (icon) b.SetIconHandle(&picture);
        HDC dc = b.Canvas()->Handle();
        const int tw = TextWidthOf(dc, b.Caption()), th = TextHeightOf(dc, b.Caption());
        const int inset = shape == Shape::bsEllipse ? 2 : 1;
        const TPoint pos = b.GetCaptionPos();
        QCOMPARE(pos.X, expectedX == -1 ? (140 - tw) / 2 : expectedX);
        const int centred = (height - th - 2 * inset) / 2;
        QCOMPARE(pos.Y, expectedY == -1 ? centred : expectedY == -2 ? height - th - inset - 1 : expectedY);
    }

    void centredCaptionMovesPastTheIcon()
    {
        QIcon picture(QPixmap(16, 16));
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 70, 30);
        b.SetBtnShape(Shape::bsRectangle);
        b.SetCaption(QStringLiteral("A wide caption"));
        b.SetIconHandle(&picture);
        const int tw = TextWidthOf(b.Canvas()->Handle(), b.Caption());
        const int x = 70 - tw > 0 ? (70 - tw) / 2 : 2;
        const int r = 3 + 16 + 5;
        QVERIFY(x < r);
        QCOMPARE(b.GetCaptionPos().X, x + r); // the whole of R is added
        b.SetTextOffSetX(4);
        b.SetTextOffSetY(-3);
        QCOMPARE(b.GetCaptionPos().X, x + r + 4);
    }

    void iconCentredWithoutCaption()
    {
        QPixmap pm(16, 16);
        pm.fill(Qt::red);
        QIcon picture(pm);
        QPixmap grey(16, 16);
        grey.fill(Qt::gray);
        QIcon disabled(grey);
        TEllipseAnnBtn b;
        b.SetBounds(0, 0, 60, 30);
        b.SetBtnShape(Shape::bsRectangle);
        b.SetIconHandle(&picture);
        QImage img = RenderControl(&b, kBack);
        QCOMPARE(PixelAt(img, 22, 7), clRed); // (60 - 16) div 2, (30 - 16) div 2
        QCOMPARE(PixelAt(img, 37, 22), clRed);
        QCOMPARE(PixelAt(img, 21, 15), kFace);
        b.SetEnabled(false); // no disabled icon: the icon stays
        img = RenderControl(&b, kBack);
        QCOMPARE(PixelAt(img, 30, 15), clRed);
        b.SetDisabledIconHandle(&disabled);
        img = RenderControl(&b, kBack);
        QCOMPARE(PixelAt(img, 30, 15), FromQColor(QColor(Qt::gray)));
    }

    void sharedHelpers_data()
    {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<TColor>("lighter");
        QTest::addColumn<TColor>("darker");
        QTest::newRow("button face") << TColor(0xE0E0E0) << TColor(0xFFFFFF) << TColor(0xA0A0A0);
        QTest::newRow("white") << clWhite << clWhite << TColor(0xBFBFBF);
        QTest::newRow("black") << clBlack << TColor(0x404040) << clBlack;
        QTest::newRow("mixed") << RGB(10, 100, 250) << RGB(74, 164, 255) << RGB(0, 36, 186);
        QTest::newRow("system colour") << clBtnFace << TColor(0xFFFFFF) << RGB(176, 176, 176);
    }
    void sharedHelpers()
    {
        QFETCH(TColor, color);
        QFETCH(TColor, lighter);
        QFETCH(TColor, darker);
        QCOMPARE(Lighter(color), lighter);
        QCOMPARE(Darker(color), darker);
    }

    void stripAccel_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("stripped");
        QTest::addColumn<int>("position");
        QTest::newRow("menu") << "키보드연습(&K)"
                              << "키보드연습(K)" << 7;
        QTest::newRow("first") << "&About.."
                               << "About.." << 1;
        QTest::newRow("none") << "확인"
                              << "확인" << 0;
        QTest::newRow("doubled") << "a&&b"
                                 << "a&b" << 2;
        QTest::newRow("last") << "end&"
                              << "end" << 4;
        QTest::newRow("only the first") << "&a&b"
                                        << "a&b" << 1;
    }
    void stripAccel()
    {
        QFETCH(QString, caption);
        QFETCH(QString, stripped);
        QFETCH(int, position);
        QString s = caption;
        QCOMPARE(StripAccel(s), position);
        QCOMPARE(s, stripped);
    }

    void isAccel_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<bool>("expected");
        QTest::newRow("upper") << "키보드연습(&K)"
                               << "K" << true;
        QTest::newRow("lower typed") << "키보드연습(&K)"
                                     << "k" << true;
        QTest::newRow("lower caption, upper typed") << "&kab"
                                                    << "K" << true;
        QTest::newRow("lower both") << "&kab"
                                    << "k" << true;
        QTest::newRow("other letter") << "키보드연습(&K)"
                                      << "S" << false;
        QTest::newRow("no ampersand") << "abc"
                                      << "a" << false;
        QTest::newRow("trailing ampersand") << "abc&"
                                            << "c" << false;
        QTest::newRow("doubled ampersand") << "a&&b"
                                           << "&" << true;
        QTest::newRow("hangul exact") << "&가나"
                                      << "가" << true;
        QTest::newRow("hangul other") << "&가나"
                                      << "나" << false;
        QTest::newRow("no folding beyond ASCII") << QStringLiteral("&") + QChar(0xE9) << QString(QChar(0xC9)) << false;
    }
    void isAccel()
    {
        QFETCH(QString, caption);
        QFETCH(QString, ch);
        QFETCH(bool, expected);
        QCOMPARE(IsAccel(ch.at(0), caption), expected);
        TEllipseAnnBtn b;
        b.SetCaption(caption);
        QCOMPARE(b.IsAccel(ch.at(0)), expected);
    }

    void failedMeasurementIsZero()
    {
        QCOMPARE(TextWidthOf(nullptr, QStringLiteral("abc")), 0);
        QCOMPARE(TextHeightOf(nullptr, QStringLiteral("abc")), 0);
    }

    void mouseMoveIsReportedWithoutAButtonHeld()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        QList<QPoint> moves;
        b->OnMouseMove = [&](QObject*, TShiftState, int x, int y) { moves << QPoint(x, y); };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseMove(form.windowHandle(), QPoint(30, 30));
        QTest::mouseMove(form.windowHandle(), QPoint(50, 35));
        QVERIFY(QTest::qWaitFor([&] { return moves.contains(QPoint(30, 15)); }));
    }

    void clickFiresBeforeTheReleaseIsHandled()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        QStringList log;
        b->OnMouseDown = [&](QObject*, TMouseButton btn, TShiftState s, int, int) {
            log << QStringLiteral("down%1%2").arg(btn == mbLeft ? "" : " right").arg(s & ssDouble ? " double" : "");
        };
        b->OnClick = [&](QObject*) { log << QStringLiteral("click pressed=%1").arg(b->FBtnDowned); };
        b->OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) {
            log << QStringLiteral("up pressed=%1").arg(b->FBtnDowned);
        };
        b->OnDblClick = [&](QObject*) { log << "dblclick"; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
        QCOMPARE(log, QStringList({"down", "click pressed=1", "up pressed=1"}));
        QVERIFY(!b->FBtnDowned);

        log.clear();
        QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40), 1000);
        // The second press of a double click: OnDblClick, a second OnClick, the press; its release clicks
        // nothing.
        QCOMPARE(log, QStringList({"down", "click pressed=1", "up pressed=1", "dblclick", "click pressed=0",
                                   "down double", "up pressed=1"}));

        log.clear();
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, QPoint(60, 40), 1000);
        QCOMPARE(log, QStringList({"down right", "up pressed=1"}));
        QVERIFY(!b->FBtnDowned);
    }

    void releaseOutsideDoesNotClick()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        int clicks = 0;
        b->OnClick = [&](QObject*) { ++clicks; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
        QVERIFY(b->FBtnDowned);
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, QPoint(180, 90));
        QCOMPARE(clicks, 0);
        QVERIFY(!b->FBtnDowned);
    }

    void modalDialogFromClickSeesThePressedLook()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        b->SetBtnShape(Shape::bsRectangle);
        TColor topLeftDuringDialog = 0;
        bool downedDuringDialog = false;
        b->OnClick = [&](QObject*) {
            QDialog dialog(&form);
            QTimer::singleShot(0, &dialog, [&] {
                downedDuringDialog = b->FBtnDowned;
                topLeftDuringDialog = PixelAt(RenderControl(b, kBack), 0, 10);
                dialog.reject();
            });
            dialog.exec();
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
        QVERIFY(downedDuringDialog);
        QCOMPARE(topLeftDuringDialog, kDark);
        QCOMPARE(PixelAt(RenderControl(b, kBack), 0, 10), kLight);
    }

    void mouseClickClearsHoverButAcceleratorKeepsIt()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        b->SetCaption(QStringLiteral("&Go"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        b->SetMouseIn(true);
        QVERIFY(TAccelerators::DialogChar(&form, QLatin1Char('g')));
        QVERIFY(b->MouseIn());
        QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
        b->SetMouseIn(true);
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
        QVERIFY(!b->MouseIn());
    }

    void hoverRepaintsOnlyWhenRespondingToMouse()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        b->SetUseInvalidate(false);
        int enters = 0, leaves = 0;
        b->OnMouseEnter = [&](QObject* s) { enters += s == b; };
        b->OnMouseLeave = [&](QObject* s) { leaves += s == b; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TPaintCounter paints(b);
        QEnterEvent enter(QPointF(5, 5), QPointF(25, 25), QPointF(25, 25));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(b, &enter);
        QVERIFY(b->MouseIn());
        QApplication::sendEvent(b, &leave);
        QVERIFY(!b->MouseIn());
        QCOMPARE(paints.Count, 0);
        b->SetRespondToMouse(true);
        QApplication::sendEvent(b, &enter);
        QCOMPARE(paints.Count, 1); // painted at once
        QApplication::sendEvent(b, &leave);
        QCOMPARE(paints.Count, 2);
        QCOMPARE(enters, 2);
        QCOMPARE(leaves, 2);
        b->SetDesigning(true);
        QApplication::sendEvent(b, &enter);
        QVERIFY(!b->MouseIn());
        QCOMPARE(enters, 2);
    }

    void enabledChangeReleasesTheButton_data()
    {
        QTest::addColumn<bool>("from");
        QTest::newRow("disable") << true;
        QTest::newRow("enable") << false;
    }
    void enabledChangeReleasesTheButton()
    {
        QFETCH(bool, from);
        TEllipseAnnBtn b;
        b.SetEnabled(from);
        b.SetDown(true);
        b.FBtnDowned = true;
        b.SetEnabled(!from);
        QVERIFY(!b.Down());
        QVERIFY(!b.FBtnDowned);
    }

    void disabledButtonIgnoresTheMouse()
    {
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        int clicks = 0;
        b->OnClick = [&](QObject*) { ++clicks; };
        b->SetEnabled(false);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
        QCOMPARE(clicks, 0);
        QVERIFY(!b->FBtnDowned);
    }

    void equalWritesDoNotRepaint_data()
    {
        QTest::addColumn<bool>("useInvalidate");
        QTest::newRow("invalidate") << true;
        QTest::newRow("paint at once") << false;
    }
    void equalWritesDoNotRepaint()
    {
        QFETCH(bool, useInvalidate);
        QWidget form;
        form.resize(200, 100);
        auto* b = new TEllipseAnnBtn(&form);
        b->SetBounds(20, 20, 100, 40);
        b->SetUseInvalidate(useInvalidate);
        b->SetCaption(QStringLiteral("x"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        TPaintCounter paints(b);
        using Write = std::function<void(TEllipseAnnBtn*, bool)>;
        const QList<QPair<const char*, Write>> writes = {
            {"AutoBorderColor", [](TEllipseAnnBtn* x, bool c) { x->SetAutoBorderColor(!c); }},
            {"BmpOffSetX", [](TEllipseAnnBtn* x, bool c) { x->SetBmpOffSetX(c ? 3 : 0); }},
            {"BmpOffSetY", [](TEllipseAnnBtn* x, bool c) { x->SetBmpOffSetY(c ? 3 : 0); }},
            {"IconWidth", [](TEllipseAnnBtn* x, bool c) { x->SetIconWidth(c ? 20 : 16); }},
            {"IconHeight", [](TEllipseAnnBtn* x, bool c) { x->SetIconHeight(c ? 20 : 16); }},
            {"DrawBorder", [](TEllipseAnnBtn* x, bool c) { x->SetDrawBorder(!c); }},
            {"TextOffSetX", [](TEllipseAnnBtn* x, bool c) { x->SetTextOffSetX(c ? 1 : 0); }},
            {"TextOffSetY", [](TEllipseAnnBtn* x, bool c) { x->SetTextOffSetY(c ? 1 : 0); }},
            {"Color", [](TEllipseAnnBtn* x, bool c) { x->SetColor(c ? clRed : kFace); }},
            {"Down", [](TEllipseAnnBtn* x, bool c) { x->SetDown(c); }},
            {"Special", [](TEllipseAnnBtn* x, bool c) { x->SetSpecial(c); }},
            {"TopColor", [](TEllipseAnnBtn* x, bool c) { x->SetTopColor(c ? clRed : clWhite); }},
            {"BottomColor", [](TEllipseAnnBtn* x, bool c) { x->SetBottomColor(c ? clRed : clBlack); }},
            {"TransParent", [](TEllipseAnnBtn* x, bool c) { x->SetTransParent(c); }},
            {"BtnShape", [](TEllipseAnnBtn* x, bool c) { x->SetBtnShape(c ? Shape::bsRectangle : Shape::bsEllipse); }},
            {"TextAlign", [](TEllipseAnnBtn* x, bool c) { x->SetTextAlign(c ? Align::taLeft : Align::taCenter); }},
            {"Caption", [](TEllipseAnnBtn* x, bool c) { x->SetCaption(c ? "y" : "x"); }},
            {"Enabled", [](TEllipseAnnBtn* x, bool c) { x->SetEnabled(!c); }},
        };
        for (const auto& w : writes) {
            paints.Count = 0;
            w.second(b, false); // the value it already holds
            QCoreApplication::processEvents();
            QVERIFY2(paints.Count == 0, w.first);
            w.second(b, true);
            QCoreApplication::processEvents();
            QVERIFY2(paints.Count >= 1, w.first);
            w.second(b, false);
            QCoreApplication::processEvents();
        }
        // Stored without a repaint.
        paints.Count = 0;
        b->SetMouseIn(true);
        b->SetMouseInColor(clRed);
        b->SetRespondToMouse(true);
        b->SetFillBrush(false);
        b->SetDrawFrameWhenMouseIn(true);
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 0);
        QVERIFY(b->MouseIn());
    }

    void paintAtOnceInsideAPaintBecomesAnInvalidation()
    {
        QWidget form;
        auto* b = new TEllipseAnnBtn(&form);
        b->SetUseInvalidate(false);
        int depth = 0, deepest = 0, paints = 0;
        b->OnPrevDrawBtnFace = [&](QObject*, TCanvas*) {
            ++paints;
            deepest = std::max(deepest, ++depth);
            b->SetSpecial(true); // repaints at once, from inside the paint
            --depth;
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(paints >= 2);
        QCOMPARE(deepest, 1);
    }

    void mouseInIsIgnoredAtDesignTime()
    {
        TEllipseAnnBtn b;
        b.SetDesigning(true);
        b.SetMouseIn(true);
        QVERIFY(!b.MouseIn());
    }

    void accelerators()
    {
        QWidget form;
        form.resize(300, 200);
        auto* key = new TEllipseAnnBtn(&form);
        key->SetCaption(QStringLiteral("키보드연습(&K)"));
        auto* about = new TEllipseAnnBtn(&form);
        about->SetCaption(QStringLiteral("&About.."));
        about->move(0, 40);
        auto* edit = new QLineEdit(&form);
        edit->move(0, 80);
        auto* push = new QPushButton(QStringLiteral("plain"), &form);
        push->move(0, 120);
        int keyClicks = 0, aboutClicks = 0;
        key->OnClick = [&](QObject*) { ++keyClicks; };
        about->OnClick = [&](QObject*) { ++aboutClicks; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));

        push->setFocus();
        QTest::keyClick(push, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(keyClicks, 1);
        QTest::keyClick(push, Qt::Key_A); // plain letter: the focused push button takes no characters
        QCOMPARE(aboutClicks, 1);

        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_K); // an edit box takes its letters
        QCOMPARE(keyClicks, 1);
        QCOMPARE(edit->text(), QStringLiteral("k"));
        QTest::keyClick(edit, Qt::Key_K, Qt::AltModifier); // Alt always reaches the accelerators
        QCOMPARE(keyClicks, 2);

        // A window that reads letters itself keeps them; Alt still reaches the accelerators.
        form.setProperty("WantChars", true);
        push->setFocus();
        QTest::keyClick(push, Qt::Key_A);
        QCOMPARE(aboutClicks, 1);
        QTest::keyClick(push, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(aboutClicks, 2);
        form.setProperty("WantChars", false);

        // A disabled or hidden button passes the character on to the next one.
        auto* second = new TEllipseAnnBtn(&form);
        second->SetCaption(QStringLiteral("&Keep"));
        int secondClicks = 0;
        second->OnClick = [&](QObject*) { ++secondClicks; };
        key->SetEnabled(false);
        QVERIFY(TAccelerators::DialogChar(&form, QLatin1Char('k')));
        QCOMPARE(keyClicks, 2);
        QCOMPARE(secondClicks, 1);
        key->SetEnabled(true);
        key->SetVisible(false);
        QVERIFY(TAccelerators::DialogChar(&form, QLatin1Char('K')));
        QCOMPARE(keyClicks, 2);
        QCOMPARE(secondClicks, 2);
        second->SetEnabled(false);
        QVERIFY(!TAccelerators::DialogChar(&form, QLatin1Char('k')));

        // A Korean accelerator answers only its own character.
        auto* korean = new TEllipseAnnBtn(&form);
        korean->SetCaption(QStringLiteral("&가나"));
        int koreanClicks = 0;
        korean->OnClick = [&](QObject*) { ++koreanClicks; };
        QVERIFY(!TAccelerators::DialogChar(&form, QChar(0xB098)));
        QVERIFY(TAccelerators::DialogChar(&form, QChar(0xAC00)));
        QCOMPARE(koreanClicks, 1);
    }

    void clickHandlerMayFreeTheForm_data()
    {
        QTest::addColumn<int>("route");
        QTest::newRow("mouse") << 0;
        QTest::newRow("double click") << 1;
        QTest::newRow("accelerator") << 2;
    }
    void clickHandlerMayFreeTheForm()
    {
        QFETCH(int, route);
        auto* form = new QWidget;
        form->resize(200, 100);
        auto* b = new TEllipseAnnBtn(form);
        b->SetBounds(20, 20, 100, 40);
        b->SetCaption(QStringLiteral("&Close"));
        QPointer<TEllipseAnnBtn> watch(b);
        bool freed = false;
        QObject::connect(b, &QObject::destroyed, [&] { freed = true; });
        if (route == 1)
            b->OnDblClick = [&](QObject*) { delete form; };
        else
            b->OnClick = [&](QObject*) { delete form; };
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QPointF at(50, 20), global(b->mapToGlobal(QPoint(50, 20)));
        if (route == 2) {
            QVERIFY(TAccelerators::DialogChar(form, QLatin1Char('c')));
        } else {
            // Straight to the button, as the window would deliver them, so the form can go mid-event.
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QMouseEvent dbl(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(b, &press);
            QApplication::sendEvent(b, route == 1 ? static_cast<QEvent*>(&dbl) : &release);
        }
        QVERIFY(freed);
        QVERIFY(watch.isNull());
    }
};

QTEST_MAIN(TestEllipseAnnBtn)
#include "tst_EllipseAnnBtn.moc"
