// The gradient button: mirrored rows and columns, the swap while held, and one-line buttons.
#include "components/GradAnnBtn.h"
#include "tests/support/WidgetTestUtil.h"

#include <QtTest>

using Grad = TGradAnnBtn::TGradType;

namespace {
constexpr TColor kBack = 0x000080;
}

class TestGradAnnBtn : public QObject
{
    Q_OBJECT
private slots:
    void rowsMirroredAboutTheMiddle()
    {
        TGradAnnBtn g;
        g.SetBounds(0, 0, 176, 37);
        g.SetBeginColor(clAqua);
        g.SetEndColor(clTeal);
        const QImage img = RenderControl(&g, kBack);
        QCOMPARE(PixelAt(img, 5, 0), clAqua);
        QCOMPARE(PixelAt(img, 170, 36), clAqua);
        QCOMPARE(PixelAt(img, 5, 18), clTeal);
        // Row 9: 255 + MulDiv(9, 128 - 255, 18), the half rounded away from zero.
        QCOMPARE(PixelAt(img, 5, 9), RGB(0, 191, 191));
        for (int y = 0; y < 37; ++y)
            QCOMPARE(PixelAt(img, 100, y), PixelAt(img, 100, 36 - y));
    }

    void columnsAndAnImmediateRepaint()
    {
        QWidget form;
        auto* g = new TGradAnnBtn(&form);
        g->SetBounds(0, 0, 176, 37);
        g->SetBeginColor(clAqua);
        g->SetEndColor(clTeal);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        TPaintCounter paints(g);
        g->SetGradType(Grad::gtHorizCenter);
        QCOMPARE(paints.Count, 1); // at once
        g->SetGradType(Grad::gtHorizCenter);
        QCOMPARE(paints.Count, 1);
        const QImage img = RenderControl(g, kBack);
        QCOMPARE(PixelAt(img, 0, 5), clAqua);
        QCOMPARE(PixelAt(img, 175, 30), clAqua);
        QCOMPARE(PixelAt(img, 88, 5), clTeal);
        for (int x = 0; x < 176; ++x)
            QCOMPARE(PixelAt(img, x, 10), PixelAt(img, 175 - x, 10));
    }

    void oneLineGetsTheStartColour_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::newRow("one row") << int(Grad::gtVertCenter) << 50 << 1;
        QTest::newRow("one column") << int(Grad::gtHorizCenter) << 1 << 20;
    }
    void oneLineGetsTheStartColour()
    {
        QFETCH(int, type);
        QFETCH(int, w);
        QFETCH(int, h);
        TGradAnnBtn g;
        g.SetGradType(Grad(type));
        g.SetBounds(0, 0, w, h);
        g.SetBeginColor(RGB(10, 20, 30));
        g.SetEndColor(RGB(200, 100, 0));
        QCOMPARE(PixelAt(RenderControl(&g, kBack), w - 1, h - 1), RGB(10, 20, 30));
    }

    void defaultEndColourIsTheScrollBarColour()
    {
        TGradAnnBtn g;
        g.SetBounds(0, 0, 50, 25);
        QCOMPARE(PixelAt(RenderControl(&g, kBack), 3, 12), ColorToRGB(clScrollBar));
        QCOMPARE(PixelAt(RenderControl(&g, kBack), 3, 0), clBlue);
    }

    void holdingTheLeftButtonSwapsTheColours()
    {
        QWidget form;
        form.resize(200, 60);
        auto* g = new TGradAnnBtn(&form);
        g->SetBounds(0, 0, 176, 37);
        g->SetBeginColor(clAqua);
        g->SetEndColor(clTeal);
        QStringList log;
        g->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) {
            log << QStringLiteral("down %1").arg(g->Down());
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, QPoint(80, 18));
        QVERIFY(g->Down());
        QCOMPARE(PixelAt(RenderControl(g, kBack), 5, 0), clTeal);
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, QPoint(80, 18));
        QVERIFY(!g->Down());
        QCOMPARE(PixelAt(RenderControl(g, kBack), 5, 0), clAqua);
        QTest::mousePress(form.windowHandle(), Qt::RightButton, {}, QPoint(80, 18), 1000);
        QVERIFY(!g->Down());
        QTest::mouseRelease(form.windowHandle(), Qt::RightButton, {}, QPoint(80, 18));
        QCOMPARE(log, QStringList({"down 0", "down 0"})); // OnMouseDown comes before the swap
    }

    void captionPlacement()
    {
        TGradAnnBtn g;
        g.SetBounds(0, 0, 40, 12);
        g.SetBeginColor(clWhite);
        g.SetEndColor(clWhite);
        TFont f = g.Font();
        f.Color = clBlack;
        f.Height = -20;
        g.SetFont(f);
        g.SetCaption(QStringLiteral("MMMMMM")); // wider and taller than the button
        const QImage img = RenderControl(&g, kBack);
        int left = -1;
        for (int x = 0; x < 40 && left < 0; ++x)
            for (int y = 0; y < 12; ++y)
                if (PixelAt(img, x, y) != clWhite) {
                    left = x;
                    break;
                }
        QVERIFY2(left >= 2 && left <= 4, qPrintable(QString::number(left)));
        QCOMPARE(PixelAt(img, 1, 6), clWhite);
    }

    void hoverStoresOnly()
    {
        QWidget form;
        auto* g = new TGradAnnBtn(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        TPaintCounter paints(g);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(g, &enter);
        QVERIFY(g->MouseIn());
        g->SetBeginColor(clBlue);
        g->SetEndColor(TColor(0xFFFFFF00u));
        g->SetDown(false);
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 0);
        g->SetDown(true);
        QCOMPARE(paints.Count, 0); // invalidated: painted in the next cycle
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 1);
    }
};

QTEST_MAIN(TestGradAnnBtn)
#include "tst_GradAnnBtn.moc"
