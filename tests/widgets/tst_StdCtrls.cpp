// The standard controls as the dialogs use them: clicks fired by program changes, accelerators, a button
// that is never the default, and the number box's range.
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/VirtualKeys.h"
#include "tests/support/WidgetTestUtil.h"

#include <QDialog>
#include <QLineEdit>
#include <QtTest>

namespace {
// A dialog shown and active, so that focus and keys behave as on the screen.
void ShowActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

QPoint CenterOf(const TRect& r)
{
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A window with a ModalResult property, as a form class offers it.
class TResultWindow : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
public:
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    int FModalResult = 0;
};
} // namespace

class TestStdCtrls : public QObject
{
    Q_OBJECT
private slots:
    void captionAccelerators_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("accel");
        QTest::newRow("at the end") << "확인(&Y)"
                                    << "확인(Y)"
                                    << "Y";
        QTest::newRow("inside a word") << "반시계방향(C&OUNT...)"
                                       << "반시계방향(COUNT...)"
                                       << "O";
        QTest::newRow("digit") << "1단계(&1)"
                               << "1단계(1)"
                               << "1";
        QTest::newRow("doubled is a plain ampersand") << "A&&B"
                                                      << "A&B"
                                                      << "";
        QTest::newRow("after a doubled one") << "A&&B&C"
                                             << "A&BC"
                                             << "C";
        QTest::newRow("only the first counts") << "&a&b"
                                               << "ab"
                                               << "a";
        QTest::newRow("trailing") << "x&"
                                  << "x&"
                                  << "";
        QTest::newRow("none") << "효과음 사용 안함."
                              << "효과음 사용 안함."
                              << "";
    }
    void captionAccelerators()
    {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, accel);
        QCOMPARE(StdDraw::StripAmpersands(caption), text);
        QCOMPARE(QString(StdDraw::AccelOf(caption)).remove(QChar()), accel);
        if (!accel.isEmpty()) {
            QVERIFY(StdDraw::IsAccel(accel.at(0).toLower(), caption));
            QVERIFY(StdDraw::IsAccel(accel.at(0).toUpper(), caption));
        }
        QVERIFY(!StdDraw::IsAccel(QChar(), caption));
    }

    void programCheckChangeFiresOneClick_data()
    {
        QTest::addColumn<bool>("initial");
        QTest::addColumn<bool>("set");
        QTest::addColumn<int>("clicks");
        QTest::newRow("check") << false << true << 1;
        QTest::newRow("uncheck") << true << false << 1;
        QTest::newRow("already unchecked") << false << false << 0;
        QTest::newRow("already checked") << true << true << 0;
    }
    void programCheckChangeFiresOneClick()
    {
        QFETCH(bool, initial);
        QFETCH(bool, set);
        QFETCH(int, clicks);
        TCheckBox box;
        box.SetChecked(initial);
        int fired = 0;
        bool seen = !set;
        box.OnClick = [&](QObject*) {
            ++fired;
            seen = box.Checked(); // the handler sees the new state
        };
        box.SetChecked(set);
        QCOMPARE(fired, clicks);
        QCOMPARE(box.Checked(), set);
        if (clicks) QCOMPARE(seen, set);
    }

    void userClickAndSpaceToggleOnce()
    {
        QWidget w;
        auto* box = new TCheckBox(&w);
        box->SetBounds(10, 10, 120, 17);
        box->SetCaption(QStringLiteral("효과음 사용하기"));
        ShowActive(&w);
        int fired = 0;
        box->OnClick = [&](QObject*) { ++fired; };
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, 8));
        QCOMPARE(fired, 1);
        QVERIFY(box->Checked());
        QVERIFY(box->Focused());
        // Space toggles at its release, once.
        QTest::keyPress(box, Qt::Key_Space);
        QCOMPARE(fired, 1);
        QTest::keyRelease(box, Qt::Key_Space);
        QCOMPARE(fired, 2);
        QVERIFY(!box->Checked());
        // A press dragged off the box before the release toggles nothing.
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(6, 8));
        QMouseEvent move(QEvent::MouseMove, QPointF(300, 8), box->mapToGlobal(QPointF(300, 8)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(300, 8));
        QCOMPARE(fired, 2);
        // Each click of a double click toggles.
        int doubles = 0;
        box->OnDblClick = [&](QObject*) { ++doubles; };
        QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, box->mapTo(&w, QPoint(6, 8)), 1000);
        QCOMPARE(doubles, 1);
        QCOMPARE(fired, 4);
        QVERIFY(!box->Checked());
    }

    // Fifteen boxes act as one radio group: each handler swallows the click that its own program change fires.
    void boxesKeptExclusiveByTheirClickHandlers()
    {
        QWidget w;
        QVector<TCheckBox*> boxes;
        bool changing = false;
        int handled = 0;
        std::function<void(QObject*)> click = [&](QObject* sender) {
            if (changing) {
                changing = false;
                return;
            }
            ++handled;
            for (TCheckBox* b : boxes) {
                if (b->Checked()) {
                    changing = true;
                    b->SetChecked(false);
                }
            }
            changing = true;
            static_cast<TCheckBox*>(sender)->SetChecked(true);
        };
        for (int i = 0; i < 15; ++i) {
            auto* b = new TCheckBox(&w);
            b->SetBounds(10, 10 + i * 20, 150, 17);
            b->Tag = i;
            b->OnClick = click;
            boxes << b;
        }
        ShowActive(&w);
        changing = true;
        boxes[0]->SetChecked(true);
        QVERIFY(!changing);
        for (int target : {4, 4, 12, 0}) {
            QTest::mouseClick(boxes[target], Qt::LeftButton, {}, QPoint(6, 8));
            for (int i = 0; i < 15; ++i)
                QCOMPARE(boxes[i]->Checked(), i == target);
            QVERIFY(!changing);
        }
        QCOMPARE(handled, 4);
    }

    void checkBoxAcceleratorAndKeyDown()
    {
        QDialog d;
        d.resize(300, 120);
        auto* speaker = new TCheckBox(&d);
        speaker->SetBounds(10, 10, 200, 17);
        speaker->SetCaption(QStringLiteral("효과음 사용 않음(&F)"));
        auto* guide = new TCheckBox(&d);
        guide->SetBounds(10, 40, 200, 17);
        guide->SetCaption(QStringLiteral("&Key 안내 사용 않음"));
        ShowActive(&d);
        guide->SetFocus();
        QTRY_VERIFY(guide->Focused());
        QVector<int> keys;
        guide->OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) { keys << key; };
        QTest::keyClick(guide, Qt::Key_F, Qt::AltModifier);
        QVERIFY(speaker->Checked());
        QVERIFY(speaker->Focused());
        // A plain letter is an accelerator where the focused control takes no characters.
        QTest::keyClick(speaker, Qt::Key_K);
        QVERIFY(guide->Checked());
        QVERIFY(guide->Focused());
        QTest::keyClick(guide, Qt::Key_Escape);
        QCOMPARE(keys.last(), int(VK_ESCAPE));
    }

    void radioGroupItemIndex_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("clicks");
        QTest::newRow("none to first") << -1 << 0 << 0 << 1;
        QTest::newRow("to another") << 0 << 2 << 2 << 1;
        QTest::newRow("same again") << 1 << 1 << 1 << 0;
        QTest::newRow("to none") << 2 << -1 << -1 << 0;
        QTest::newRow("past the end") << -1 << 7 << 2 << 1;
        QTest::newRow("below none") << 1 << -5 << -1 << 0;
    }
    void radioGroupItemIndex()
    {
        QFETCH(int, start);
        QFETCH(int, set);
        QFETCH(int, expected);
        QFETCH(int, clicks);
        TRadioGroup group;
        group.SetItems({QStringLiteral("한글게임(&K)"), QStringLiteral("영어게임(&E)"), QStringLiteral("x")});
        QCOMPARE(group.ItemIndex(), -1);
        group.SetItemIndex(start);
        int fired = 0;
        group.OnClick = [&](QObject*) { ++fired; };
        group.SetItemIndex(set);
        QCOMPARE(group.ItemIndex(), expected);
        QCOMPARE(fired, clicks);
    }

    void radioGroupNoneSelectedDrawsNoDot()
    {
        TRadioGroup group;
        group.SetBounds(0, 0, 160, 80);
        group.SetItems({QStringLiteral("시계방향"), QStringLiteral("반시계방향")});
        for (int selected : {-1, 1}) {
            group.SetItemIndex(selected);
            const QImage img = RenderControl(&group, clBtnFace);
            for (int i = 0; i < 2; ++i) {
                const TRect r = group.ItemRect(i);
                // The dot sits in the middle of the 12-pixel circle.
                const TColor centre = PixelAt(img, r.Left + 6, r.Top + (r.Height() - 12) / 2 + 6);
                QCOMPARE(centre == ColorToRGB(clWindowText), i == selected);
            }
        }
    }

    void radioGroupMouseKeysAndAccelerators()
    {
        QDialog d;
        d.resize(400, 200);
        auto* level = new TRadioGroup(&d);
        level->SetBounds(10, 10, 240, 120);
        level->SetCaption(QStringLiteral("시작단계"));
        level->SetColumns(2);
        QStringList items;
        for (int i = 1; i <= 8; ++i)
            items << QStringLiteral("%1단계(&%1)").arg(i);
        level->SetItems(items);
        auto* other = new TCheckBox(&d);
        other->SetBounds(10, 150, 200, 17);
        other->SetCaption(QStringLiteral("효과음 사용 안함."));
        ShowActive(&d);
        int fired = 0;
        level->OnClick = [&](QObject*) { ++fired; };

        // Two columns of four: item 5 stands right of item 1.
        QVERIFY(level->ItemRect(5).Left > level->ItemRect(1).Right - 1);
        QCOMPARE(level->ItemRect(5).Top, level->ItemRect(1).Top);

        QTest::mouseClick(level, Qt::LeftButton, {}, CenterOf(level->ItemRect(5)));
        QCOMPARE(level->ItemIndex(), 5);
        QCOMPARE(fired, 1);
        QTest::mouseClick(level, Qt::LeftButton, {}, CenterOf(level->ItemRect(5)));
        QCOMPARE(fired, 1);                                         // the chosen item again: no change, no click
        QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(3, 3)); // the frame
        QCOMPARE(level->ItemIndex(), 5);
        QCOMPARE(fired, 1);

        QTest::keyClick(level, Qt::Key_Down);
        QCOMPARE(level->ItemIndex(), 6);
        QTest::keyClick(level, Qt::Key_Up);
        QTest::keyClick(level, Qt::Key_Up);
        QCOMPARE(level->ItemIndex(), 4);
        QCOMPARE(fired, 4);

        other->SetFocus();
        QTRY_VERIFY(other->Focused());
        QTest::keyClick(other, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(level->ItemIndex(), 2);
        QVERIFY(level->Focused());
        QCOMPARE(fired, 5);
    }

    // Enter belongs to the focused button alone: a dialog whose focus is elsewhere clicks nothing.
    void enterClicksOnlyTheFocusedButton()
    {
        QDialog d;
        d.resize(300, 120);
        auto* box = new TCheckBox(&d);
        box->SetBounds(10, 10, 150, 17);
        box->SetCaption(QStringLiteral("반복연습할 속도 목표값"));
        auto* start = new TButton(&d);
        start->SetBounds(10, 60, 75, 25);
        start->SetCaption(QStringLiteral("장문연습"));
        auto* add = new TButton(&d);
        add->SetBounds(100, 60, 75, 25);
        add->SetCaption(QStringLiteral("추가"));
        int startClicks = 0, addClicks = 0;
        start->OnClick = [&](QObject*) { ++startClicks; };
        add->OnClick = [&](QObject*) { ++addClicks; };
        ShowActive(&d);
        box->SetFocus();
        QTRY_VERIFY(box->Focused());
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(startClicks + addClicks, 0);
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), 0);

        add->SetFocus();
        QTRY_VERIFY(add->Focused());
        QTest::keyClick(add, Qt::Key_Return);
        QCOMPARE(addClicks, 1);
        QTest::keyPress(add, Qt::Key_Space);
        QCOMPARE(addClicks, 1);
        QTest::keyRelease(add, Qt::Key_Space);
        QCOMPARE(addClicks, 2);
        QCOMPARE(startClicks, 0);
    }

    void buttonAcceleratorAndDoubleClick()
    {
        QDialog d;
        d.resize(300, 120);
        auto* help = new TButton(&d);
        help->SetBounds(10, 10, 90, 25);
        help->SetCaption(QStringLiteral("도움말(&H)"));
        auto* other = new TButton(&d);
        other->SetBounds(110, 10, 90, 25);
        other->SetCaption(QStringLiteral("폰트"));
        ShowActive(&d);
        other->SetFocus();
        QTRY_VERIFY(other->Focused());
        int clicks = 0;
        help->OnClick = [&](QObject*) { ++clicks; };
        QTest::keyClick(other, Qt::Key_H, Qt::AltModifier);
        QCOMPARE(clicks, 1);
        // Both clicks of a double click click the button.
        QTest::mouseDClick(d.windowHandle(), Qt::LeftButton, {}, QPoint(50, 20), 1000);
        QCOMPARE(clicks, 3);
        help->SetEnabled(false);
        QTest::keyClick(other, Qt::Key_H, Qt::AltModifier);
        QCOMPARE(clicks, 3);
    }

    void modalResultEndsTheRun()
    {
        // A plain dialog is ended with the button's result after its click handler ran.
        QDialog d;
        d.resize(200, 80);
        auto* cancel = new TButton(&d);
        cancel->SetCaption(QStringLiteral("취소"));
        cancel->SetModalResult(2);
        bool visibleInHandler = false;
        cancel->OnClick = [&](QObject*) { visibleInHandler = d.isVisible(); };
        QTimer::singleShot(0, &d, [&] { QTest::mouseClick(cancel, Qt::LeftButton, {}, QPoint(10, 10)); });
        QCOMPARE(d.exec(), 2);
        QVERIFY(visibleInHandler);

        // A form's modal run ends with the result; a handler that closes the form itself is not overruled.
        for (bool handlerCloses : {false, true}) {
            TForm form;
            auto* ok = new TButton(&form);
            ok->SetModalResult(mrOk);
            int closes = 0;
            form.OnClose = [&](QObject*, TCloseAction&) { ++closes; };
            ok->OnClick = [&](QObject*) {
                if (handlerCloses) form.SetModalResult(mrRetry);
            };
            QTimer::singleShot(0, &form, [&] { QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(10, 10)); });
            QCOMPARE(form.ShowModal(), handlerCloses ? mrRetry : mrOk);
            QCOMPARE(closes, 1);
        }

        // A window with its own ModalResult gets it before the handler, which may still change it.
        TResultWindow w;
        auto* ok = new TButton(&w);
        ok->SetModalResult(1);
        int seen = -1;
        ok->OnClick = [&](QObject*) {
            seen = w.ModalResult();
            w.SetModalResult(0);
        };
        ok->Click();
        QCOMPARE(seen, 1);
        QCOMPARE(w.ModalResult(), 0);
    }

    void spinEditReadsAndClamps_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("afterFocusLoss");
        QTest::newRow("inside") << "150" << 150 << "150";
        QTest::newRow("below") << "10" << 50 << "50";
        QTest::newRow("above") << "5000" << 2000 << "2000";
        QTest::newRow("empty") << "" << 50 << "50";
        QTest::newRow("sign only") << "-" << 50 << "50";
        QTest::newRow("negative") << "-300" << 50 << "50";
        QTest::newRow("past 32 bits") << "99999999999" << 2000 << "2000";
    }
    void spinEditReadsAndClamps()
    {
        QFETCH(QString, typed);
        QFETCH(int, value);
        QFETCH(QString, afterFocusLoss);
        QWidget w;
        auto* spin = new TSpinEdit(&w);
        spin->SetBounds(10, 10, 80, 22);
        spin->SetMinValue(50);
        spin->SetMaxValue(2000);
        spin->SetIncrement(50);
        spin->SetValue(150);
        auto* other = new TButton(&w);
        other->SetBounds(10, 50, 75, 25);
        ShowActive(&w);
        spin->Editor()->setFocus();
        QTRY_VERIFY(spin->Editor()->hasFocus());
        spin->Editor()->selectAll();
        QTest::keyClick(spin->Editor(), Qt::Key_Delete);
        QTest::keyClicks(spin->Editor(), typed);
        // While typing the text stays as typed; it reads clamped.
        QCOMPARE(spin->Text(), typed);
        QCOMPARE(spin->Value(), value);
        other->SetFocus();
        QTRY_VERIFY(other->Focused());
        QCOMPARE(spin->Text(), afterFocusLoss);
        QCOMPARE(spin->Value(), value);
    }

    void spinEditSetStepAndChange()
    {
        QWidget w;
        auto* spin = new TSpinEdit(&w);
        spin->SetBounds(10, 10, 80, 22);
        spin->SetMinValue(50);
        spin->SetMaxValue(2000);
        spin->SetIncrement(50);
        int changes = 0;
        spin->OnChange = [&](QObject*) { ++changes; };
        spin->SetValue(3000);
        QCOMPARE(spin->Text(), QStringLiteral("2000"));
        QCOMPARE(changes, 1);
        spin->SetText(QStringLiteral("abc")); // a text the program sets is not checked, only read
        QCOMPARE(spin->Value(), 50);
        ShowActive(&w);
        spin->SetValue(1950);
        QTest::keyClick(spin->Editor(), Qt::Key_Up);
        QCOMPARE(spin->Value(), 2000);
        QTest::keyClick(spin->Editor(), Qt::Key_Up);
        QCOMPARE(spin->Value(), 2000);
        // The down arrow button at the right end, lower half.
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->Width() - 8, spin->Height() - 5));
        QCOMPARE(spin->Value(), 1950);
        // Letters are not typed.
        QTest::keyClicks(spin->Editor(), QStringLiteral("x"));
        QCOMPARE(spin->Value(), 1950);
    }
};

QTEST_MAIN(TestStdCtrls)
#include "tst_StdCtrls.moc"
