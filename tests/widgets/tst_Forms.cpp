// The window base: modal runs and their results, Esc as Cancel, close actions, key preview, and modal
// runs opened over a stay-on-top window.
#include "components/EllipseAnnBtn.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/VirtualKeys.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>

namespace {
// Runs action once the modal run of form has started; a run still going two seconds later is ended
// with mrAbort, so a failing case cannot hang.
void DuringRun(TForm& form, std::function<void()> action)
{
    QTimer::singleShot(0, &form, [&form, action] {
        action();
        QPointer<TForm> alive(&form);
        QTimer::singleShot(2000, [alive] {
            if (alive && alive->Modal()) alive->SetModalResult(mrAbort);
        });
    });
}

void DeleteLaterNow()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QKeyEvent KeyEvent(QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false,
                   const QString& text = QString())
{
    return QKeyEvent(type, key, mods, text, repeat);
}
} // namespace

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void modalRunEndsWithItsResult_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("ModalResult") << "result" << int(mrYes);
        QTest::newRow("Close") << "close" << int(mrCancel);
        QTest::newRow("frame's close button") << "frame" << int(mrCancel);
        QTest::newRow("QDialog::accept") << "accept" << int(mrOk);
        QTest::newRow("hidden by code") << "hide" << int(mrCancel);
        QTest::newRow("the ModalResult property") << "property" << int(mrNo);
    }
    void modalRunEndsWithItsResult()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        TForm form;
        form.SetClientSize(200, 100);
        DuringRun(form, [&] {
            QVERIFY(form.isVisible());
            QVERIFY(form.Modal());
            if (how == "result") form.SetModalResult(mrYes);
            if (how == "close") form.Close();
            if (how == "frame") form.close();
            if (how == "accept") form.accept();
            if (how == "hide") form.hide();
            if (how == "property") form.setProperty("ModalResult", mrNo);
        });
        QCOMPARE(form.ShowModal(), result);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.Modal());
        QCOMPARE(form.ModalResult(), result);
    }

    // The result counts once the event that set it is handled: a later assignment in the same handler wins,
    // and setting it back to mrNone keeps the run going.
    void resultIsTakenAfterTheHandler()
    {
        TForm form;
        DuringRun(form, [&] {
            form.SetModalResult(mrOk);
            form.SetModalResult(mrNone);
            QTest::qWait(20);
            QVERIFY(form.isVisible());
            form.SetModalResult(mrOk);
            form.SetModalResult(mrIgnore);
        });
        QCOMPARE(form.ShowModal(), int(mrIgnore));
    }

    void resultSetInOnShowEndsAtOnce()
    {
        TForm form;
        form.OnShow = [&](QObject*) { form.SetModalResult(mrNo); };
        QCOMPARE(form.ShowModal(), int(mrNo));
        QVERIFY(!form.isVisible());
    }

    void closeActionNoneKeepsTheRunGoing()
    {
        TForm form;
        int asked = 0;
        form.OnClose = [&](QObject*, TCloseAction& action) {
            if (++asked == 1) action = caNone;
        };
        DuringRun(form, [&] {
            form.SetModalResult(mrOk);
            QTRY_COMPARE(asked, 1);
            QVERIFY(form.isVisible());
            QCOMPARE(form.ModalResult(), int(mrNone));
            form.SetModalResult(mrRetry);
        });
        QCOMPARE(form.ShowModal(), int(mrRetry));
        QCOMPARE(asked, 2);
    }

    void escapeCancelsOnlyWhereSet_data()
    {
        QTest::addColumn<bool>("cancels");
        QTest::addColumn<int>("result");
        QTest::newRow("Esc is Cancel") << true << int(mrCancel);
        QTest::newRow("Esc does nothing") << false << int(mrOk);
    }
    void escapeCancelsOnlyWhereSet()
    {
        QFETCH(bool, cancels);
        QFETCH(int, result);
        TForm form;
        form.SetEscapeCancels(cancels);
        auto* box = new QLineEdit(&form); // Esc is pressed on a control of the window
        DuringRun(form, [&] {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Escape);
            QTimer::singleShot(50, &form, [&] {
                if (form.Modal()) form.SetModalResult(mrOk);
            });
        });
        QCOMPARE(form.ShowModal(), result);
    }

    void caFreeDeletesOnceTheRunIsOver_data()
    {
        QTest::addColumn<bool>("modal");
        QTest::addColumn<bool>("byDefault");
        QTest::newRow("modal, OnClose") << true << false;
        QTest::newRow("modeless, OnClose") << false << false;
        QTest::newRow("modal, default action") << true << true;
        QTest::newRow("modeless, default action") << false << true;
    }
    void caFreeDeletesOnceTheRunIsOver()
    {
        QFETCH(bool, modal);
        QFETCH(bool, byDefault);
        QPointer<TForm> form = new TForm;
        int destroyed = 0;
        if (byDefault)
            form->SetDefaultCloseAction(caFree);
        else
            form->OnClose = [](QObject*, TCloseAction& action) { action = caFree; };
        form->OnDestroy = [&](QObject* sender) {
            ++destroyed;
            QCOMPARE(sender, form.data()); // still whole when told
        };
        if (modal) {
            DuringRun(*form, [&] { form->SetModalResult(mrOk); });
            QCOMPARE(form->ShowModal(), int(mrOk));
        } else {
            form->Show();
            QVERIFY(form->isVisible());
            form->close(); // the frame's close button
        }
        QVERIFY(form);
        QVERIFY(!form->isVisible());
        DeleteLaterNow();
        QVERIFY(!form);
        QCOMPARE(destroyed, 1);
    }

    void defaultCloseActionHides()
    {
        TForm form;
        form.Show();
        form.Close();
        DeleteLaterNow();
        QVERIFY(!form.isVisible());
    }

    // A window hidden and shown again is the active window again, its focus control focused, also where
    // the window system still counts it as focused from its last showing.
    void shownAgainTakesTheFocus_data()
    {
        QTest::addColumn<bool>("firstModal");
        QTest::addColumn<bool>("againModal");
        QTest::newRow("modal, then modal") << true << true;
        QTest::newRow("modeless, then modal") << false << true;
        QTest::newRow("modal, then modeless") << true << false;
        QTest::newRow("modeless, then modeless") << false << false;
    }
    void shownAgainTakesTheFocus()
    {
        QFETCH(bool, firstModal);
        QFETCH(bool, againModal);
        TForm form;
        new QLineEdit(&form);
        auto* box = new QLineEdit(&form);
        box->move(0, 40);
        box->setFocus();
        const auto focused = [&] {
            return QTest::qWaitFor([&] { return form.isActiveWindow() && box->hasFocus(); }, 1000);
        };
        // Whether the window took the focus in this showing; the showing ends once it did (or gave up).
        const auto showOnce = [&](bool modal) {
            bool took = false;
            if (modal) {
                DuringRun(form, [&] {
                    took = focused();
                    form.SetModalResult(mrOk);
                });
                form.ShowModal();
            } else {
                form.Show();
                took = focused();
                form.Close();
            }
            return took && !form.isVisible();
        };
        QVERIFY(showOnce(firstModal));
        QVERIFY(showOnce(againModal));
    }

    // A window with no focusable control (the keyboard practice window) gets every key itself, Tab
    // included, with virtual-key codes, releases once per press and the shift state of the release.
    void windowWithoutControlsGetsEveryKey()
    {
        TForm form;
        new QLabel(QStringLiteral("no focus here"), &form);
        QStringList log;
        form.OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) { log << QStringLiteral("d%1").arg(key); };
        form.OnKeyUp = [&](QObject*, uint16_t& key, TShiftState shift) {
            log << QStringLiteral("u%1%2").arg(key).arg(shift & ssShift ? "S" : "");
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_Tab);
        QCOMPARE(log, (QStringList{"d9", "u9"}));
        QVERIFY(form.isVisible());

        // Held A: three presses, the auto-repeat releases between them are dropped, one real release.
        log.clear();
        auto send = [&](QKeyEvent e) { QCoreApplication::sendEvent(&form, &e); };
        send(KeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, false, "a"));
        send(KeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, true, "a"));
        send(KeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, true, "a"));
        send(KeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, true, "a"));
        send(KeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, true, "a"));
        send(KeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, false, "a"));
        QCOMPARE(log, (QStringList{"d65", "d65", "d65", "u65"}));

        // Shift let go before the key: the key's release has no Shift.
        log.clear();
        // (As X11 reports them: a modifier key's own event carries the state before it.)
        send(KeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
        send(KeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, false, "A"));
        send(KeyEvent(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier));
        send(KeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, false, "a"));
        send(KeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, false, "A"));
        send(KeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, false, "A"));
        QCOMPARE(log, (QStringList{"d16", "d65", "u16", "u65", "d65", "u65S"}));
    }

    // An X server may repeat a held key as release and press with one time stamp, neither marked as a
    // repeat: such a release is no release. A real one is reported, in its place among the keys.
    void repeatByTimeStampIsNoRelease_data()
    {
        QTest::addColumn<QString>("events"); // P/R, key letter, time stamp
        QTest::addColumn<QString>("seen");
        QTest::newRow("held and repeated") << "PA100 RA500 PA500 RA540 PA540 RA700"
                                           << "dA dA dA uA";
        QTest::newRow("pressed twice") << "PA100 RA200 PA230 RA300"
                                       << "dA uA dA uA";
        QTest::newRow("another key after") << "PA100 RA200 PB200 RB260"
                                           << "dA uA dB uB";
    }
    void repeatByTimeStampIsNoRelease()
    {
        QFETCH(QString, events);
        QFETCH(QString, seen);
        TForm form;
        QStringList log;
        form.OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) { log << QStringLiteral("d") + QChar(key); };
        form.OnKeyUp = [&](QObject*, uint16_t& key, TShiftState) { log << QStringLiteral("u") + QChar(key); };
        for (const QString& e : events.split(u' ')) {
            const int key = Qt::Key_A + (e[1].unicode() - 'A');
            const quint32 scanCode = e[1] == u'A' ? 38 : 56; // the X key codes of A and B
            QKeyEvent event(e[0] == u'P' ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier, scanCode, 0, 0,
                            e.mid(1, 1).toLower());
            event.setTimestamp(e.mid(2).toULongLong());
            QCoreApplication::sendEvent(&form, &event);
        }
        QTRY_COMPARE(log.join(u' '), seen);
        QTest::qWait(60);
        QCOMPARE(log.join(u' '), seen);
    }

    void keyPreviewSeesKeysBeforeTheControl_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<bool>("take");
        QTest::addColumn<QString>("formSaw");
        QTest::addColumn<QString>("typed");
        QTest::newRow("preview passes keys on") << true << false << "d65 p:a u65 d9 u9"
                                                << "a";
        QTest::newRow("preview takes keys") << true << true << "d65 u65 d9 u9"
                                            << "";
        QTest::newRow("no preview: the control's keys stay there") << false << false << ""
                                                                   << "a";
    }
    void keyPreviewSeesKeysBeforeTheControl()
    {
        QFETCH(bool, preview);
        QFETCH(bool, take);
        QFETCH(QString, formSaw);
        QFETCH(QString, typed);
        TForm form;
        form.SetKeyPreview(preview);
        auto* box = new QLineEdit(&form);
        auto* next = new QLineEdit(&form);
        next->move(0, 40);
        QStringList log;
        form.OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) {
            log << QStringLiteral("d%1").arg(key);
            if (take) key = 0;
        };
        form.OnKeyPress = [&](QObject*, QChar& key) { log << QStringLiteral("p:") + key; };
        form.OnKeyUp = [&](QObject*, uint16_t& key, TShiftState) { log << QStringLiteral("u%1").arg(key); };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(log.join(u' '), formSaw);
        QCOMPARE(box->text(), typed);
        // A previewed Tab that was not taken still moves the focus.
        QCOMPARE(next->hasFocus(), !take);
    }

    // Alt with a letter reaches the button it names once, with or without key preview.
    void acceleratorsClickOnce_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::newRow("key preview") << true;
        QTest::newRow("no key preview") << false;
    }
    void acceleratorsClickOnce()
    {
        QFETCH(bool, preview);
        TForm form;
        form.SetKeyPreview(preview);
        auto* box = new QLineEdit(&form);
        auto* help = new TEllipseAnnBtn(&form);
        help->SetBounds(10, 40, 100, 24);
        help->SetCaption(QStringLiteral("도움말(&H)"));
        int clicks = 0, seen = 0;
        help->OnClick = [&](QObject*) { ++clicks; };
        form.OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) { seen += key == 'H'; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_H, Qt::AltModifier);
        QCOMPARE(clicks, 1);
        QCOMPARE(seen, preview ? 1 : 0);
        QCOMPARE(box->text(), QString());
    }

    void keyHandlerThatDeletesTheWindow()
    {
        QPointer<TForm> form = new TForm;
        form->SetKeyPreview(true);
        auto* box = new QLineEdit(form);
        form->OnKeyDown = [&](QObject*, uint16_t&, TShiftState) { delete form; };
        QTest::keyClick(box, Qt::Key_A);
        QVERIFY(!form);
    }

    void screenCentredOrDesigned()
    {
        TForm centred;
        centred.SetClientSize(300, 200);
        centred.SetPosition(TPosition::poScreenCenter);
        centred.Show();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(centred.geometry().center().x() - area.center().x()) <= 2);
        QVERIFY(qAbs(centred.geometry().center().y() - area.center().y()) <= 40);

        TForm designed;
        designed.SetClientSize(217, 91);
        designed.SetLeft(120);
        designed.SetTop(90);
        designed.Show();
        QCOMPARE(designed.pos(), QPoint(120, 90));
        QCOMPARE(designed.size(), QSize(217, 91));
    }

    void borderStylesAndIcons()
    {
        TForm form;
        form.SetClientSize(382, 214);
        form.SetBorderStyle(TFormBorderStyle::bsSingle);
        form.SetBorderIcons(biSystemMenu);
        form.SetFormStyle(TFormStyle::fsStayOnTop);
        const Qt::WindowFlags f = form.windowFlags();
        QVERIFY(f & Qt::WindowStaysOnTopHint);
        QVERIFY(f & Qt::WindowCloseButtonHint);
        QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.minimumSize(), QSize(382, 214));
        QCOMPARE(form.maximumSize(), QSize(382, 214));
        form.SetBorderIcons(0); // the name dialog: no close button in the frame
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    }

    // Qt leaves a stay-on-top window above a modal run; every modal of the platform layer is put above
    // it. (The stacking itself is checked under a window manager in tests/gui.)
    void modalRunsOpenAboveAStayOnTopWindow_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("TForm::ShowModal") << "form";
        QTest::newRow("MessageBox") << "message";
        QTest::newRow("colour dialog") << "colour";
        QTest::newRow("font dialog") << "font";
        QTest::newRow("open-picture dialog") << "picture";
    }
    void modalRunsOpenAboveAStayOnTopWindow()
    {
        QFETCH(QString, kind);
        TForm game;
        game.SetFormStyle(TFormStyle::fsStayOnTop);
        game.SetClientSize(633, 434);
        game.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&game));

        bool checked = false;
        QTimer::singleShot(50, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            QVERIFY(modal != &game);
            checked = true;
            QVERIFY(modal->windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(modal->windowHandle());
            QCOMPARE(modal->windowHandle()->transientParent(), game.windowHandle());
        });
        // Whatever the checks found, the run ends.
        QTimer::singleShot(100, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            }
        });
        if (kind == "form") {
            TForm dialog;
            dialog.ShowModal();
        } else if (kind == "message") {
            MessageBox(nullptr, QStringLiteral("Game Over!!!"), QStringLiteral("확인"), MB_OK);
        } else if (kind == "colour") {
            TColorDialog dialog;
            dialog.Execute();
        } else if (kind == "font") {
            TFontDialog dialog;
            dialog.Execute();
        } else {
            TOpenPictureDialog dialog;
            dialog.Execute();
        }
        QVERIFY(checked);
    }

    void noStayOnTopWindowLeavesTheModalAsItIs()
    {
        TForm plain;
        plain.Show();
        bool onTop = true;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            onTop = modal && (modal->windowFlags() & Qt::WindowStaysOnTopHint);
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        TForm dialog;
        dialog.ShowModal();
        QVERIFY(!onTop);
    }
};

QTEST_MAIN(TestForms)
#include "tst_Forms.moc"
