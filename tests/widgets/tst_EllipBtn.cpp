// The focusable button: focus on press, Space and Enter, accelerators, its looks, and its own bitmap.
#include "components/EllipBtn.h"
#include "platform/Accelerators.h"
#include "tests/support/WidgetTestUtil.h"

#include <QDialog>
#include <QKeyEvent>
#include <QtTest>
#include <malloc.h>

using Shape = TEllipBtn::TBtnShape;
Q_DECLARE_METATYPE(Shape)

namespace {
constexpr TColor kBack = 0x808000;
constexpr TColor kFace = 0xE0E0E0;
constexpr TColor kLight = 0xFFFFFF;
constexpr TColor kDark = 0xA0A0A0;

void SendKey(QWidget* w, QEvent::Type type, int key, bool autoRepeat = false)
{
    const QString text = key == Qt::Key_Space    ? QStringLiteral(" ")
                         : key == Qt::Key_Return ? QStringLiteral("\r")
                                                 : QString();
    QKeyEvent e(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(w, &e);
}

// A window with two focusable buttons, shown and active.
struct TFixture
{
    QWidget Form;
    TEllipBtn* A;
    TEllipBtn* B;
    int ClicksA = 0, ClicksB = 0;
    TFixture()
    {
        Form.resize(240, 100);
        A = new TEllipBtn(&Form);
        A->SetBounds(10, 10, 90, 30);
        A->SetBtnShape(Shape::bsRectangle);
        A->SetCaption(QStringLiteral("초기화(&R)"));
        B = new TEllipBtn(&Form);
        B->SetBounds(120, 10, 90, 30);
        B->SetCaption(QStringLiteral("닫기"));
        A->OnClick = [this](QObject*) { ++ClicksA; };
        B->OnClick = [this](QObject*) { ++ClicksB; };
        Form.show();
        QApplication::setActiveWindow(&Form);
    }
    bool Ready() { return QTest::qWaitForWindowActive(&Form); }
    QPoint CentreOf(TEllipBtn* b) { return b->geometry().center(); }
};
} // namespace

class TestEllipBtn : public QObject
{
    Q_OBJECT
private slots:
    // Freed memory is overwritten, so a control that touches itself after its form was freed fails here.
    void initTestCase() { mallopt(M_PERTURB, 0xA5); }

    void looks_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<int>("state"); // 0 rest, 1 pressed, 2 focused, 3 disabled
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<TColor>("expected");
        const QPoint left(0, 15), top(45, 0), right(89, 15), bottom(45, 29), face(45, 15), corner(0, 0);
        QTest::newRow("rect rest left") << Shape::bsRectangle << 0 << left << kLight;
        QTest::newRow("rect rest right") << Shape::bsRectangle << 0 << right << kDark;
        QTest::newRow("rect rest bottom") << Shape::bsRectangle << 0 << bottom << kDark;
        QTest::newRow("rect pressed left") << Shape::bsRectangle << 1 << left << kDark;
        QTest::newRow("rect focused face") << Shape::bsRectangle << 2 << face << clLime;
        QTest::newRow("rect focused keeps edges") << Shape::bsRectangle << 2 << left << kLight;
        QTest::newRow("rect disabled not pressed") << Shape::bsRectangle << 3 << left << kLight;
        QTest::newRow("ellipse top") << Shape::bsEllipse << 0 << top << kLight;
        QTest::newRow("ellipse bottom") << Shape::bsEllipse << 0 << bottom << kDark;
        QTest::newRow("ellipse corner left alone") << Shape::bsEllipse << 0 << corner << kBack;
        QTest::newRow("ellipse pressed top") << Shape::bsEllipse << 1 << top << kDark;
        QTest::newRow("ellipse focused face") << Shape::bsEllipse << 2 << face << clLime;
        QTest::newRow("pill top") << Shape::bsRoundRect << 0 << top << kLight;
        QTest::newRow("pill bottom") << Shape::bsRoundRect << 0 << bottom << kDark;
        QTest::newRow("pill right end") << Shape::bsRoundRect << 0 << right << kDark;
        QTest::newRow("pill left end") << Shape::bsRoundRect << 0 << left << kLight;
        QTest::newRow("pill middle filled") << Shape::bsRoundRect << 0 << face << kFace;
        QTest::newRow("pill corner left alone") << Shape::bsRoundRect << 0 << corner << kBack;
    }
    void looks()
    {
        QFETCH(Shape, shape);
        QFETCH(int, state);
        QFETCH(QPoint, at);
        QFETCH(TColor, expected);
        TEllipBtn b;
        b.SetBounds(0, 0, 90, 30);
        b.SetBtnShape(shape);
        if (state == 1) b.SetDown(true);
        if (state == 2) b.FFocused = true;
        if (state == 3) {
            b.SetEnabled(false);
            b.SetDown(true);
        }
        QCOMPARE(PixelAt(RenderControl(&b, kBack), at.x(), at.y()), expected);
    }

    void focusOutline()
    {
        TEllipBtn b;
        b.SetBounds(0, 0, 90, 30);
        b.SetBtnShape(Shape::bsRectangle);
        b.FFocused = true;
        TFont f = b.Font();
        f.Color = clNavy;
        b.SetFont(f);
        const QImage plain = RenderControl(&b, kBack);
        b.SetDrawFocus(true);
        const QImage outlined = RenderControl(&b, kBack);
        int navy = 0, gaps = 0;
        for (int x = 2; x < 88; ++x) {
            QCOMPARE(PixelAt(plain, x, 2), clLime); // focus shown by the face colour alone
            const TColor c = PixelAt(outlined, x, 2);
            navy += c == clNavy;
            gaps += c == clLime;
        }
        QVERIFY(navy > 10); // dotted in the font colour
        QVERIFY(gaps > 10);
    }

    void clickFocusesAndShowsTheFocusColourOnThatPress()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.B->setFocus();
        QVERIFY(f.B->FFocused);
        TColor faceDuringPress = 0;
        f.A->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { QVERIFY(f.A->FFocused); };
        QTest::mousePress(f.Form.windowHandle(), Qt::LeftButton, {}, f.CentreOf(f.A));
        faceDuringPress = PixelAt(RenderControl(f.A, kBack), 45, 3);
        QVERIFY(f.A->FBtnDowned);
        QVERIFY(!f.B->FFocused);
        QCOMPARE(faceDuringPress, clLime);
        QTest::mouseRelease(f.Form.windowHandle(), Qt::LeftButton, {}, f.CentreOf(f.A));
        QCOMPARE(f.ClicksA, 1);
        QVERIFY(!f.A->FBtnDowned);
    }

    void focusGivenBeforeTheWindowIsActiveCountsWhenItBecomesActive()
    {
        // The form hands the focus to the button before it is shown; the button is entered when the window
        // becomes active, and is left when the focus moves on.
        QWidget form;
        form.resize(240, 100);
        auto* a = new TEllipBtn(&form);
        a->SetBounds(10, 10, 90, 30);
        auto* b = new TEllipBtn(&form);
        b->SetBounds(120, 10, 90, 30);
        int enters = 0, exits = 0;
        a->OnEnter = [&](QObject*) { ++enters; };
        a->OnExit = [&](QObject*) { ++exits; };
        a->SetFocus();
        QVERIFY(!a->FFocused);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_VERIFY(a->FFocused);
        QCOMPARE(enters, 1);
        QCOMPARE(PixelAt(RenderControl(a, kBack), 45, 15), clLime);
        b->SetFocus();
        QVERIFY(!a->FFocused);
        QVERIFY(b->FFocused);
        QCOMPARE(exits, 1);
        // Away to another window and back: the focus stays where it was, nothing enters or leaves.
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(b->FFocused);
        // The focus moves while the window is inactive: on return the one left behind is left.
        a->SetFocus();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_VERIFY(a->FFocused);
        QVERIFY(!b->FFocused);
        QCOMPARE(enters, 2);
        QCOMPARE(exits, 1);
    }

    void pressThatCannotTakeTheFocusIsDropped()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.B->setFocus();
        f.A->OnEnter = [&](QObject*) { f.B->setFocus(); }; // something hands the focus straight back
        int downs = 0;
        f.A->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++downs; };
        QTest::mouseClick(f.Form.windowHandle(), Qt::LeftButton, {}, f.CentreOf(f.A));
        QCOMPARE(downs, 0);
        QCOMPARE(f.ClicksA, 0);
        QVERIFY(!f.A->FBtnDowned);
    }

    void spaceClicksOnceOnRelease()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.A->setFocus();
        SendKey(f.A, QEvent::KeyPress, Qt::Key_Space);
        QVERIFY(f.A->FBtnDowned);
        // Holding Space: the platform repeats press and release; the repeated releases click nothing.
        for (int i = 0; i < 3; ++i) {
            SendKey(f.A, QEvent::KeyRelease, Qt::Key_Space, true);
            SendKey(f.A, QEvent::KeyPress, Qt::Key_Space, true);
        }
        QCOMPARE(f.ClicksA, 0);
        SendKey(f.A, QEvent::KeyRelease, Qt::Key_Space);
        QCOMPARE(f.ClicksA, 1);
        QVERIFY(!f.A->FBtnDowned);
        SendKey(f.A, QEvent::KeyRelease, Qt::Key_Space); // a release without a press does nothing
        QCOMPARE(f.ClicksA, 1);
    }

    void spaceReleasedAfterTheFocusMovedDoesNotClick()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.A->setFocus();
        SendKey(f.A, QEvent::KeyPress, Qt::Key_Space);
        f.B->setFocus();
        SendKey(f.A, QEvent::KeyRelease, Qt::Key_Space);
        QCOMPARE(f.ClicksA, 0);
        QVERIFY(f.A->FBtnDowned); // stays down until a mouse release or an Enabled change
        f.A->SetEnabled(false);
        QVERIFY(!f.A->FBtnDowned);
    }

    void keyHandlerCanSwallowSpace()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.A->setFocus();
        f.A->OnKeyDown = [](QObject*, uint16_t& key, TShiftState) { key = 0; };
        SendKey(f.A, QEvent::KeyPress, Qt::Key_Space);
        QVERIFY(!f.A->FBtnDowned);
    }

    void enterClicksOnlyTheFocusedButton()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.B->setFocus();
        QTest::keyClick(f.B, Qt::Key_Return);
        QCOMPARE(f.ClicksB, 1);
        QCOMPARE(f.ClicksA, 0);
        f.A->setFocus();
        QTest::keyClick(f.A, Qt::Key_Return);
        QCOMPARE(f.ClicksA, 1);
        QCOMPARE(f.ClicksB, 1);
    }

    void dialogKeysPassOnToTheDialog()
    {
        QDialog dialog;
        auto* b = new TEllipBtn(&dialog);
        b->SetCaption(QStringLiteral("초기화"));
        int clicks = 0;
        b->OnClick = [&](QObject*) { ++clicks; };
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Return); // the focused button takes Enter
        QCOMPARE(clicks, 1);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(b, Qt::Key_Escape); // Escape still closes the dialog
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void acceleratorWhetherFocusedOrNot()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.B->setFocus();
        QTest::keyClick(f.B, Qt::Key_R); // B takes no characters: the letter is an accelerator
        QCOMPARE(f.ClicksA, 1);
        QTest::keyClick(f.B, Qt::Key_R, Qt::AltModifier);
        QCOMPARE(f.ClicksA, 2);
        f.A->SetEnabled(false);
        QVERIFY(!TAccelerators::DialogChar(&f.Form, QLatin1Char('r')));
        f.A->SetEnabled(true);
        f.A->SetVisible(false);
        QVERIFY(!TAccelerators::DialogChar(&f.Form, QLatin1Char('r')));
        QCOMPARE(f.ClicksA, 2);
    }

    void disablingTheFocusedButtonDropsItsFocusColour()
    {
        TFixture f;
        QVERIFY(f.Ready());
        f.A->setFocus();
        QCOMPARE(PixelAt(RenderControl(f.A, kBack), 45, 3), clLime);
        f.A->SetEnabled(false);
        QVERIFY(!f.A->FFocused);
        QCOMPARE(PixelAt(RenderControl(f.A, kBack), 45, 3), kFace);
    }

    void doubleClick()
    {
        TFixture f;
        QVERIFY(f.Ready());
        int dbl = 0;
        f.A->OnDblClick = [&](QObject*) { ++dbl; };
        QTest::mouseDClick(f.Form.windowHandle(), Qt::LeftButton, {}, f.CentreOf(f.A), 1000);
        QCOMPARE(dbl, 1);
        QCOMPARE(f.ClicksA, 2);
        QVERIFY(!f.A->FBtnDowned);
    }

    void propertyWritesAndRepaints()
    {
        TFixture f;
        QVERIFY(f.Ready());
        QCoreApplication::processEvents();
        TPaintCounter paints(f.A);
        auto settle = [&] {
            QCoreApplication::processEvents();
            const int n = paints.Count;
            paints.Count = 0;
            return n;
        };
        QTest::qWait(50);
        settle();
        const QList<QPair<const char*, std::function<void()>>> equalWrites = {
            {"Color", [&] { f.A->SetColor(kFace); }},
            {"Down", [&] { f.A->SetDown(false); }},
            {"AutoBorderColor", [&] { f.A->SetAutoBorderColor(true); }},
            {"TopColor", [&] { f.A->SetTopColor(clWhite); }},
            {"BottomColor", [&] { f.A->SetBottomColor(clBlack); }},
            {"TextOffSetX", [&] { f.A->SetTextOffSetX(0); }},
            {"BmpOffSetX", [&] { f.A->SetBmpOffSetX(0); }},
            {"TextAlign", [&] { f.A->SetTextAlign(TEllipBtn::TTextAlign::taCenter); }},
            {"BtnShape", [&] { f.A->SetBtnShape(Shape::bsRectangle); }},
            {"ShowBitmap", [&] { f.A->SetShowBitmap(false); }},
            {"Caption", [&] { f.A->SetCaption(f.A->Caption()); }},
            {"Bitmap", [&] { f.A->SetBitmap(f.A->Bitmap()); }},
        };
        for (const auto& w : equalWrites) {
            w.second();
            QVERIFY2(settle() == 0, w.first);
        }
        f.A->SetColor(clSilver);
        QVERIFY(settle() >= 1);
        // RoundDegree repaints only a pill, and changes nothing on the screen.
        const QImage before = RenderControl(f.A, kBack);
        settle(); // rendering is a paint too
        f.A->SetRoundDegree(20);
        QCOMPARE(settle(), 0);
        QCOMPARE(RenderControl(f.A, kBack), before);
        settle();
        f.A->SetBtnShape(Shape::bsRoundRect);
        QVERIFY(settle() >= 1);
        f.A->SetRoundDegree(3);
        QVERIFY(settle() >= 1);
        // FocusedColor changed while disabled shows at the next repaint only.
        f.A->SetEnabled(false);
        settle();
        f.A->SetFocusedColor(clRed);
        QCOMPARE(settle(), 0);
        f.A->SetEnabled(true);
        settle();
        f.A->SetFocusedColor(clYellow);
        QVERIFY(settle() >= 1);
        f.A->SetDesigning(true);
        f.A->SetMouseIn(true);
        QVERIFY(!f.A->MouseIn());
    }

    void ownBitmapIsACopyDrawnTransparent()
    {
        TEllipBtn b;
        b.SetBounds(0, 0, 90, 30);
        b.SetBtnShape(Shape::bsRectangle);
        TBitmap pic;
        pic.SetSize(10, 10);
        pic.Canvas()->Brush.Color = clFuchsia; // bottom-left colour: transparent
        pic.Canvas()->FillRect(Rect(0, 0, 10, 10));
        pic.Canvas()->Brush.Color = clBlue;
        pic.Canvas()->FillRect(Rect(3, 3, 7, 7));
        b.SetBitmap(&pic);
        pic.Canvas()->Brush.Color = clRed; // the caller's object stays the caller's
        pic.Canvas()->FillRect(Rect(0, 0, 10, 10));
        b.SetShowBitmap(true);
        const QImage img = RenderControl(&b, kBack);
        // No caption: centred at ((90 - 10) div 2, (30 - 10) div 2).
        QCOMPARE(PixelAt(img, 45, 15), clBlue);
        QCOMPARE(PixelAt(img, 41, 11), kFace);
        b.SetBitmap(nullptr);
        QVERIFY(b.Bitmap()->Empty());
        QCOMPARE(PixelAt(RenderControl(&b, kBack), 45, 15), kFace);
    }

    void handlerMayFreeTheForm_data()
    {
        QTest::addColumn<int>("route");
        QTest::newRow("space") << 0;
        QTest::newRow("enter") << 1;
        QTest::newRow("mouse") << 2;
    }
    void handlerMayFreeTheForm()
    {
        QFETCH(int, route);
        auto* form = new QWidget;
        form->resize(200, 80);
        auto* b = new TEllipBtn(form);
        b->SetBounds(10, 10, 90, 30);
        QPointer<TEllipBtn> watch(b);
        b->OnClick = [&](QObject*) { delete form; };
        form->show();
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        b->setFocus();
        if (route == 0) {
            SendKey(b, QEvent::KeyPress, Qt::Key_Space);
            SendKey(b, QEvent::KeyRelease, Qt::Key_Space);
        } else if (route == 1) {
            SendKey(b, QEvent::KeyPress, Qt::Key_Return);
        } else {
            const QPointF at(40, 15), global(b->mapToGlobal(QPoint(40, 15)));
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(b, &press);
            QApplication::sendEvent(b, &release);
        }
        QVERIFY(watch.isNull());
    }
};

QTEST_MAIN(TestEllipBtn)
#include "tst_EllipBtn.moc"
