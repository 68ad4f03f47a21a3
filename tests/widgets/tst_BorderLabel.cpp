// The bordered label: measuring and auto size, the circle's one-time sizing, shapes and caption places.
#include "components/BorderLabel.h"
#include "components/ControlUtils.h"
#include "tests/support/WidgetTestUtil.h"

#include <QtTest>

using Shape = TBorderLabel::TBorderShape;
using Align = TBorderLabel::TTextAlign;

namespace {
constexpr TColor kBack = 0x808000;

int LeftmostInk(const QImage& img, TColor face, int from)
{
    for (int x = from; x < img.width(); ++x)
        for (int y = 4; y < img.height() - 4; ++y) // inside the border
            if (PixelAt(img, x, y) != face) return x;
    return -1;
}
} // namespace

class TestBorderLabel : public QObject
{
    Q_OBJECT
private slots:
    void emptyCaptionMeasuresTheMinimum()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->Loaded();
        QCOMPARE(l->TextW, 15);
        QCOMPARE(l->TextH, 10);
        QCOMPARE(l->Width(), 35);
        QCOMPARE(l->Height(), 18);
    }

    void autoSizeFollowsCaptionAndMargins()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->SetCaption(QStringLiteral("Shift 글쇠"));
        const int tw = TextWidthOf(l->Canvas()->Handle(), l->Caption());
        const int th = TextHeightOf(l->Canvas()->Handle(), l->Caption());
        QCOMPARE(l->Width(), tw + 20);
        QCOMPARE(l->Height(), th + 8);
        l->SetMoreWidth(30);
        l->SetMoreHeight(2);
        QCOMPARE(l->Width(), tw + 30);
        QCOMPARE(l->Height(), th + 2);
        l->SetAutoSize(false);
        l->SetCaption(QStringLiteral("x"));
        QCOMPARE(l->Width(), tw + 30);
    }

    void circleIsSizedOnceAndKeepsItsSize()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->SetCaption(QStringLiteral("Level 8"));
        const int tw = std::max(15, TextWidthOf(l->Canvas()->Handle(), l->Caption()));
        const int th = std::max(10, TextHeightOf(l->Canvas()->Handle(), l->Caption()));
        l->SetBorderShape(Shape::bsCircle);
        const int side = std::max(tw + 20, th + 8);
        QCOMPARE(l->Width(), side);
        QCOMPARE(l->Height(), side);
        QVERIFY(!l->AutoSize());
        l->SetCaption(QStringLiteral("A much longer caption"));
        QCOMPARE(l->Width(), side);
        l->SetAutoSize(true); // refused while a circle
        QVERIFY(!l->AutoSize());
        QCOMPARE(l->Height(), side);
    }

    void borderWidthAtLeastOne()
    {
        TBorderLabel l;
        l.SetBorderWidth(0);
        QCOMPARE(l.BorderWidth(), 1);
        l.SetBorderWidth(-5);
        QCOMPARE(l.BorderWidth(), 1);
    }

    void shapes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<TColor>("expected");
        QTest::newRow("rectangle border at the edge") << int(Shape::bsRectangle) << QPoint(30, 0) << clNavy;
        QTest::newRow("rectangle 3 px border") << int(Shape::bsRectangle) << QPoint(30, 1) << clNavy;
        QTest::newRow("rectangle fill") << int(Shape::bsRectangle) << QPoint(30, 12) << clYellow;
        QTest::newRow("round rect leaves its margin") << int(Shape::bsRoundRect) << QPoint(30, 0) << kBack;
        QTest::newRow("round rect border") << int(Shape::bsRoundRect) << QPoint(30, 2) << clNavy;
        QTest::newRow("round rect fill") << int(Shape::bsRoundRect) << QPoint(30, 12) << clYellow;
        QTest::newRow("ellipse corner") << int(Shape::bsEllipse) << QPoint(3, 3) << kBack;
        QTest::newRow("ellipse border top") << int(Shape::bsEllipse) << QPoint(30, 2) << clNavy;
        QTest::newRow("ellipse fill") << int(Shape::bsEllipse) << QPoint(30, 12) << clYellow;
    }
    void shapes()
    {
        QFETCH(int, shape);
        QFETCH(QPoint, at);
        QFETCH(TColor, expected);
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->SetAutoSize(false);
        l->SetBounds(0, 0, 60, 25);
        l->SetBorderShape(Shape(shape));
        l->SetColor(clYellow);
        l->SetBorderColor(clNavy);
        QCOMPARE(PixelAt(RenderControl(l, kBack), at.x(), at.y()), expected);
    }

    void shapesAreSymmetric_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("borderWidth");
        for (int width : {1, 3, 5})
            for (int shape : {int(Shape::bsRectangle), int(Shape::bsRoundRect), int(Shape::bsEllipse)})
                QTest::addRow("shape %d, border %d", shape, width) << shape << width;
    }
    void shapesAreSymmetric()
    {
        // A wide border lies on the shape's outline alike on every side.
        QFETCH(int, shape);
        QFETCH(int, borderWidth);
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->SetAutoSize(false);
        l->SetBounds(0, 0, 41, 25);
        l->SetBorderShape(Shape(shape));
        l->SetBorderWidth(borderWidth);
        l->SetRoundDegree(10);
        l->SetColor(clYellow);
        l->SetBorderColor(clNavy);
        const QImage img = RenderControl(l, kBack);
        QCOMPARE(img.mirrored(true, false), img);
        QCOMPARE(img.mirrored(false, true), img);
    }

    void leftCaptionIndentsByBorderAndHalfTheMargin()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->SetAutoSize(false);
        l->SetBounds(0, 0, 120, 30);
        l->SetBorderWidth(1);
        l->SetColor(clWhite);
        l->SetTextAlign(Align::taLeft);
        TFont f = l->Font();
        f.Color = clBlack;
        l->SetFont(f);
        l->SetCaption(QStringLiteral("H"));
        const int a = LeftmostInk(RenderControl(l, kBack), clWhite, 2);
        l->SetMoreWidth(40); // MoreWidth div 2 moves it by 10
        const int b = LeftmostInk(RenderControl(l, kBack), clWhite, 2);
        l->SetBorderWidth(4); // and the border width by 3
        const int c = LeftmostInk(RenderControl(l, kBack), clWhite, 5);
        QCOMPARE(b - a, 10);
        QCOMPARE(c - b, 3);
        l->SetTextOffSetX(5);
        QCOMPARE(LeftmostInk(RenderControl(l, kBack), clWhite, 5) - c, 5);
    }

    void narrowCaptionCentredAsFifteenPixels()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        l->SetAutoSize(false);
        l->SetBounds(0, 0, 61, 30);
        l->SetBorderWidth(1);
        l->SetColor(clWhite);
        TFont f = l->Font();
        f.Color = clBlack;
        l->SetFont(f);
        l->SetCaption(QStringLiteral("i"));
        QVERIFY(TextWidthOf(l->Canvas()->Handle(), QStringLiteral("i")) < 15);
        QCOMPARE(l->TextW, 15);
        const int ink = LeftmostInk(RenderControl(l, kBack), clWhite, 2);
        // Drawn from (61 - 15) div 2 = 23, not from the centre of its own width.
        QVERIFY2(ink >= 23 && ink <= 25, qPrintable(QString::number(ink)));
    }

    void mouseOverRepaintsNothing()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        int enters = 0, leaves = 0;
        l->OnMouseEnter = [&](QObject* s) { enters += s == l; };
        l->OnMouseLeave = [&](QObject* s) { leaves += s == l; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        TPaintCounter paints(l);
        enters = leaves = 0;
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(l, &enter);
        QVERIFY(l->MouseIn());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(l, &leave);
        QVERIFY(!l->MouseIn());
        l->SetMouseIn(true);
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 0);
        QCOMPARE(enters, 1);
        QCOMPARE(leaves, 1);
        l->SetDesigning(true);
        l->SetMouseIn(false);
        QVERIFY(l->MouseIn());
    }

    void equalWritesDoNotRepaint()
    {
        QWidget form;
        auto* l = new TBorderLabel(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        TPaintCounter paints(l);
        l->SetBorderColor(0);
        l->SetColor(clBtnFace);
        l->SetRoundDegree(4);
        l->SetTextAlign(Align::taCenter);
        l->SetTextOffSetX(0);
        l->SetTextOffSetY(0);
        l->SetBorderWidth(3);
        l->SetBorderShape(Shape::bsRectangle);
        l->SetMoreWidth(20);
        l->SetMoreHeight(8);
        l->SetAutoSize(true);
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 0);
        l->SetColor(clRed);
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 1);
    }
};

QTEST_MAIN(TestBorderLabel)
#include "tst_BorderLabel.moc"
