// The key cap: rim styles, face, caption positions, property rules and the colour blend.
#include "components/ControlUtils.h"
#include "components/KeybdButton.h"
#include "tests/support/WidgetTestUtil.h"

#include <QtTest>

using Bevel = TKeybdButton::TButtonBevel;
using Alignment = TKeybdButton::TAlignment;
Q_DECLARE_METATYPE(Bevel)
Q_DECLARE_METATYPE(Alignment)

namespace {
constexpr TColor kBack = 0x808000;
constexpr TColor kHigh = 0xFFFFFF;
constexpr TColor kShadow = 0xA8A3A1;
constexpr TColor kFace = 0xC0C0C0;
const TColor kMitre = RGB((0xA1 + 255) / 2, (0xA3 + 255) / 2, (0xA8 + 255) / 2);

// Where the caption's ink lies: its bounding box in the cap.
QRect InkOf(const QImage& img, TColor face)
{
    QRect box;
    for (int y = 3; y < img.height() - 3; ++y)
        for (int x = 3; x < img.width() - 3; ++x)
            if (PixelAt(img, x, y) != face) box |= QRect(x, y, 1, 1);
    return box;
}
} // namespace

class TestKeybdButton : public QObject
{
    Q_OBJECT
private slots:
    void rim_data()
    {
        QTest::addColumn<Bevel>("bevel");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("raised top") << Bevel::bbRaised << QPoint(20, 0) << kHigh;
        QTest::newRow("raised left") << Bevel::bbRaised << QPoint(0, 20) << kHigh;
        QTest::newRow("raised second ring") << Bevel::bbRaised << QPoint(20, 1) << kHigh;
        QTest::newRow("raised right") << Bevel::bbRaised << QPoint(39, 20) << kShadow;
        QTest::newRow("raised bottom") << Bevel::bbRaised << QPoint(20, 39) << kShadow;
        QTest::newRow("raised mitre bottom-left") << Bevel::bbRaised << QPoint(0, 39) << kMitre;
        QTest::newRow("raised mitre top-right") << Bevel::bbRaised << QPoint(39, 0) << kMitre;
        QTest::newRow("raised mitre inward") << Bevel::bbRaised << QPoint(1, 38) << kMitre;
        QTest::newRow("raised face") << Bevel::bbRaised << QPoint(20, 20) << kFace;
        QTest::newRow("raised face starts at the bevel") << Bevel::bbRaised << QPoint(20, 2) << kFace;
        QTest::newRow("lowered top") << Bevel::bbLowered << QPoint(20, 0) << kShadow;
        QTest::newRow("lowered bottom") << Bevel::bbLowered << QPoint(20, 39) << kHigh;
        QTest::newRow("lowered mitre") << Bevel::bbLowered << QPoint(0, 39) << kMitre;
        QTest::newRow("none: no rim") << Bevel::bbNone << QPoint(20, 0) << kBack;
        QTest::newRow("none: no mitre") << Bevel::bbNone << QPoint(0, 39) << kBack;
        QTest::newRow("none: face still at the bevel") << Bevel::bbNone << QPoint(20, 2) << kFace;
        QTest::newRow("none: rounded corner") << Bevel::bbNone << QPoint(2, 2) << kBack;
    }
    void rim()
    {
        QFETCH(Bevel, bevel);
        QFETCH(QPoint, at);
        QFETCH(TColor, expected);
        TKeybdButton k;
        QCOMPARE(k.Width(), 40);
        QCOMPARE(k.Height(), 40);
        k.SetBevelStyle(bevel);
        QCOMPARE(PixelAt(RenderControl(&k, kBack), at.x(), at.y()), expected);
    }

    void captionPositions()
    {
        TKeybdButton k;
        k.SetBevelStyle(Bevel::bbNone);
        k.SetRoundDegree(0); // square face: only the caption differs from it
        k.SetColor(clWhite);
        TFont f = k.Font();
        f.Color = clBlack;
        f.Height = -12;
        k.SetFont(f);
        k.SetCaption(QStringLiteral("W"));
        const QRect middle = InkOf(RenderControl(&k, kBack), clWhite); // the paint takes Font onto the canvas
        const int tw = TextWidthOf(k.Canvas()->Handle(), QStringLiteral("W"));
        const int th = TextHeightOf(k.Canvas()->Handle(), QStringLiteral("W"));
        k.SetAlignment(Alignment::alBottomCenter);
        const QRect bottom = InkOf(RenderControl(&k, kBack), clWhite);
        k.SetAlignment(Alignment::alBottomRight);
        const QRect right = InkOf(RenderControl(&k, kBack), clWhite);
        // Centre: X = (W - 2 bs - TW) div 2 + bs + 1; bottom: Y = H - bs + 1 - TH; right: X = W - bs - TW.
        const int centreX = (40 - 4 - tw) / 2 + 3, centreY = (40 - 4 - th) / 2 + 3, bottomY = 40 - 2 + 1 - th;
        QCOMPARE(bottom.left(), middle.left());
        QCOMPARE(bottom.top() - middle.top(), bottomY - centreY);
        QCOMPARE(right.left() - middle.left(), (40 - 2 - tw) - centreX);
        QCOMPARE(right.top(), bottom.top());
    }

    void roundDegreeLimits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("half the side") << 20 << 20;
        QTest::newRow("beyond half") << 21 << 5;
        QTest::newRow("negative") << -1 << 5;
        QTest::newRow("zero") << 0 << 0;
    }
    void roundDegreeLimits()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        TKeybdButton k;
        k.SetRoundDegree(value);
        QCOMPARE(k.RoundDegree(), stored);
    }

    void roundDegreeLimitedByTheShorterSide()
    {
        TKeybdButton k;
        k.SetBounds(0, 0, 80, 30);
        k.SetRoundDegree(16);
        QCOMPARE(k.RoundDegree(), 5);
        k.SetRoundDegree(15);
        QCOMPARE(k.RoundDegree(), 15);
    }

    void bevelSizeAtLeastOne_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("-3") << -3 << 1;
        QTest::newRow("4") << 4 << 4;
    }
    void bevelSizeAtLeastOne()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        TKeybdButton k;
        k.SetBevelSize(value);
        QCOMPARE(k.BevelSize(), stored);
    }

    void bevelBasicColourDerivesTheRim()
    {
        TKeybdButton k;
        k.SetBevelBasicColor(clGray);
        QCOMPARE(k.HighLightColor(), TColor(0xC0C0C0));
        QCOMPARE(k.ShadowColor(), TColor(0x404040));
        k.SetBevelBasicColor(0xE8E3E1);
        QCOMPARE(k.HighLightColor(), TColor(0xFFFFFF));
        QCOMPARE(k.ShadowColor(), TColor(0xA8A3A1));
    }

    void blendedColour_data()
    {
        QTest::addColumn<TColor>("a");
        QTest::addColumn<TColor>("b");
        QTest::addColumn<int>("percent");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("80 % white") << clWhite << clBlack << 80 << TColor(0xCCCCCC);
        QTest::newRow("150 counts as 50") << clWhite << clBlack << 150 << TColor(0x7F7F7F);
        QTest::newRow("-1 counts as 50") << clWhite << clBlack << -1 << TColor(0x7F7F7F);
        QTest::newRow("100 is a") << clRed << clBlue << 100 << clRed;
        QTest::newRow("0 is b") << clRed << clBlue << 0 << clBlue;
        QTest::newRow("system colours resolved") << clBtnFace << clBlack << 100 << ColorToRGB(clBtnFace);
    }
    void blendedColour()
    {
        QFETCH(TColor, a);
        QFETCH(TColor, b);
        QFETCH(int, percent);
        QFETCH(TColor, expected);
        QCOMPARE(TKeybdButton::GetBlendedColor(a, b, percent), expected);
    }

    // A kept look lands on exactly the pixels that drawing the cap gives: at device-pixel ratios 1 and 2,
    // on both usual surface formats, for a cap away from its parent's corner.
    void keptLooksMatchDrawing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bevelSize");
        QTest::addColumn<int>("round");
        QTest::addColumn<Bevel>("bevel");
        QTest::addColumn<Alignment>("alignment");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<TColor>("color");
        const TColor lit = 0x80FFFF;
        QTest::newRow("practice cap") << QSize(36, 36) << 4 << 10 << Bevel::bbRaised << Alignment::alMiddleCenter
                                      << QStringLiteral("A") << kFace;
        QTest::newRow("lowered, lit") << QSize(36, 36) << 4 << 10 << Bevel::bbLowered << Alignment::alMiddleCenter
                                      << QStringLiteral("7") << lit;
        QTest::newRow("wide, bottom right") << QSize(89, 36) << 4 << 10 << Bevel::bbRaised << Alignment::alBottomRight
                                            << QStringLiteral("Shift") << kFace;
        QTest::newRow("wide, bottom centre") << QSize(72, 36) << 4 << 10 << Bevel::bbLowered
                                             << Alignment::alBottomCenter << QStringLiteral("Enter") << lit;
        QTest::newRow("defaults, no caption")
            << QSize(40, 40) << 2 << 5 << Bevel::bbRaised << Alignment::alMiddleCenter << QString() << kFace;
        QTest::newRow("rim deeper than half")
            << QSize(40, 30) << 6 << 15 << Bevel::bbRaised << Alignment::alMiddleCenter << QStringLiteral("W") << lit;
        QTest::newRow("caption wider than the cap") << QSize(20, 20) << 1 << 0 << Bevel::bbLowered
                                                    << Alignment::alMiddleCenter << QStringLiteral("WWWW") << kFace;
    }
    void keptLooksMatchDrawing()
    {
        QFETCH(QSize, size);
        QFETCH(int, bevelSize);
        QFETCH(int, round);
        QFETCH(Bevel, bevel);
        QFETCH(Alignment, alignment);
        QFETCH(QString, caption);
        QFETCH(TColor, color);
        struct TRestore
        {
            ~TRestore() { TKeybdButton::CacheLooks = true; }
        } restore;
        for (const qreal ratio : {1.0, 2.0}) {
            for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
                QWidget form;
                form.resize(size.width() + 10, size.height() + 9);
                auto* k = new TKeybdButton(&form);
                k->SetBounds(7, 5, size.width(), size.height());
                k->SetBevelSize(bevelSize);
                k->SetRoundDegree(round);
                QCOMPARE(k->RoundDegree(), round);
                k->SetBevelStyle(bevel);
                k->SetAlignment(alignment);
                k->SetColor(color);
                k->SetBevelBasicColor(color);
                k->SetCaption(caption);
                const auto render = [&] {
                    QImage img(form.size() * ratio, format);
                    img.setDevicePixelRatio(ratio);
                    img.fill(ToQColor(kBack));
                    form.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
                    return img;
                };
                TKeybdButton::CacheLooks = false;
                const QImage drawn = render();
                QCOMPARE(k->KeptLooks(), 0);
                TKeybdButton::CacheLooks = true;
                const QImage first = render();
                QCOMPARE(k->KeptLooks(), 1);
                const QImage kept = render();
                QCOMPARE(k->KeptLooks(), 1);
                QVERIFY2(first == drawn, qPrintable(QStringLiteral("ratio %1, format %2").arg(ratio).arg(format)));
                QVERIFY2(kept == drawn, qPrintable(QStringLiteral("ratio %1, format %2").arg(ratio).arg(format)));
            }
        }
    }

    // A look is kept per state: back to an earlier state, the cap shows that state again, not the last one.
    void keptLooksFollowTheState()
    {
        QWidget form;
        form.resize(50, 50);
        auto* k = new TKeybdButton(&form);
        k->SetCaption(QStringLiteral("A"));
        const auto render = [&] { return RenderControl(k, kBack); };
        const QImage neutral = render();
        k->SetColor(clYellow);
        const QImage lit = render();
        k->SetBevelStyle(Bevel::bbLowered);
        const QImage lowered = render();
        QVERIFY(lit != neutral && lowered != lit);
        k->SetColor(kFace);
        k->SetBevelStyle(Bevel::bbRaised);
        QCOMPARE(render(), neutral);
        k->SetColor(clYellow);
        QCOMPARE(render(), lit);
        k->SetCaption(QStringLiteral("B"));
        QVERIFY(render() != lit);
    }

    void writesRepaintAtOnceOnlyOnChange()
    {
        QWidget form;
        auto* k = new TKeybdButton(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        TPaintCounter paints(k);
        k->SetColor(kFace);
        k->SetBevelBasicColor(0xE8E3E1);
        k->SetRoundDegree(5);
        k->SetBevelSize(2);
        k->SetBevelStyle(Bevel::bbRaised);
        k->SetAlignment(Alignment::alMiddleCenter);
        k->SetCaption(QString());
        QCOMPARE(paints.Count, 0);
        k->SetColor(clYellow); // at once: no event loop needed
        QCOMPARE(paints.Count, 1);
        k->SetCaption(QStringLiteral("A"));
        QCOMPARE(paints.Count, 2);
    }
};

QTEST_MAIN(TestKeybdButton)
#include "tst_KeybdButton.moc"
