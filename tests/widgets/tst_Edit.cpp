// The one-line edit box with its own input context: Hangul from the built-in composer and from a system
// input method, Complete(), a clear that keeps a started syllable, the key events and what reaches the
// dialog around it.
#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/VirtualKeys.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
// Presses the keys of a Latin string on the box as a plain keyboard would: "\b" Backspace, "\r" Enter,
// "\x1b" Esc.
void Type(QWidget* w, const QString& keys)
{
    for (QChar ch : keys) {
        if (ch == u'\b')
            QTest::keyClick(w, Qt::Key_Backspace);
        else if (ch == u'\r')
            QTest::keyClick(w, Qt::Key_Return);
        else if (ch == QChar(27))
            QTest::keyClick(w, Qt::Key_Escape);
        else
            QTest::keyClick(w, ch.toLatin1());
    }
}

void SendInputMethod(QWidget* w, const QString& preedit, const QString& commit = QString())
{
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QCoreApplication::sendEvent(w, &event);
}

// A shown window holding the box (focused) and a second control that can take the focus.
struct TEditWindow
{
    TForm Form;
    TEdit* Edit = new TEdit(&Form);
    QLineEdit* Other = new QLineEdit(&Form);
    TEditWindow()
    {
        Form.SetClientSize(240, 80);
        Edit->SetBounds(8, 8, 200, 24);
        Other->setGeometry(8, 40, 200, 24);
    }
    bool Show()
    {
        Form.show();
        if (!QTest::qWaitForWindowExposed(&Form)) return false;
        Form.activateWindow();
        Edit->setFocus();
        return QTest::qWaitFor([this] { return Edit->hasFocus(); });
    }
};
} // namespace

class TestEdit : public QObject
{
    Q_OBJECT
private slots:
    void composerTypesHangul_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("composing");
        QTest::newRow("one syllable stays composing") << "gks"
                                                      << ""
                                                      << "한";
        QTest::newRow("the next syllable commits it") << "gksrmf"
                                                      << "한"
                                                      << "글";
        QTest::newRow("a blank commits and types") << "gks "
                                                   << "한 "
                                                   << "";
        QTest::newRow("backspace inside the syllable") << "gks\b"
                                                       << ""
                                                       << "하";
        QTest::newRow("backspace after it deletes it") << "gks \b\b"
                                                       << ""
                                                       << "";
        QTest::newRow("enter commits and types nothing") << "gks\r"
                                                         << "한"
                                                         << "";
    }
    void composerTypesHangul()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QString, composing);
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_NATIVE);
        Type(&edit, keys);
        QCOMPARE(edit.Text(), text);
        QCOMPARE(edit.ComposingText(), composing);
        QCOMPARE(edit.IsComposing(), !composing.isEmpty());
    }

    void englishModeTypesLetters()
    {
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_ALPHANUMERIC);
        Type(&edit, "gks");
        QCOMPARE(edit.Text(), QString("gks"));
        QVERIFY(!edit.IsComposing());
    }

    void systemInputMethodTypesHangul()
    {
        TEdit edit;
        for (const char16_t* step : {u"ㅎ", u"하", u"한"}) {
            SendInputMethod(&edit, QString::fromUtf16(step));
            QCOMPARE(edit.ComposingText(), QString::fromUtf16(step));
            QCOMPARE(edit.Text(), QString());
        }
        SendInputMethod(&edit, QString(), QStringLiteral("한"));
        SendInputMethod(&edit, QStringLiteral("ㄱ"));
        QCOMPARE(edit.Text(), QStringLiteral("한"));
        QCOMPARE(edit.ComposingText(), QStringLiteral("ㄱ"));
        // The composing letter is shown in the box but is not its text yet.
        QCOMPARE(edit.displayText(), QStringLiteral("한"));
    }

    void completeCommitsTheSyllable_data()
    {
        QTest::addColumn<bool>("system");
        QTest::newRow("built-in composer") << false;
        QTest::newRow("system input method") << true;
    }
    void completeCommitsTheSyllable()
    {
        QFETCH(bool, system);
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_NATIVE);
        if (system)
            SendInputMethod(&edit, QStringLiteral("한"));
        else
            Type(&edit, "gks");
        QVERIFY(edit.IsComposing());
        edit.Complete();
        QCOMPARE(edit.Text(), QStringLiteral("한"));
        QVERIFY(!edit.IsComposing());
        QCOMPARE(edit.ComposingText(), QString());
        // Nothing composed: a second call changes nothing.
        edit.Complete();
        QCOMPARE(edit.Text(), QStringLiteral("한"));
    }

    // The game clears the box when a word's Space is released; the next word's first syllable may be on
    // its way already and must come through whole.
    void clearKeepsAStartedSyllable_data()
    {
        QTest::addColumn<bool>("system");
        QTest::newRow("built-in composer") << false;
        QTest::newRow("system input method") << true;
    }
    void clearKeepsAStartedSyllable()
    {
        QFETCH(bool, system);
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_NATIVE);
        if (system) {
            SendInputMethod(&edit, QString(), QStringLiteral("가"));
            SendInputMethod(&edit, QStringLiteral("하"));
        } else {
            Type(&edit, "rkgk");
        }
        QCOMPARE(edit.Text(), QStringLiteral("가"));
        edit.Clear();
        QCOMPARE(edit.Text(), QString());
        QCOMPARE(edit.ComposingText(), QStringLiteral("하"));
        if (system)
            SendInputMethod(&edit, QString(), QStringLiteral("한"));
        else
            Type(&edit, "s ");
        QCOMPARE(edit.Text().trimmed(), QStringLiteral("한"));
    }

    void setTextReplacesCommittedText()
    {
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_NATIVE);
        Type(&edit, "rk");
        edit.SetText(QStringLiteral("abc"));
        QCOMPARE(edit.Text(), QStringLiteral("abc"));
        QCOMPARE(edit.ComposingText(), QStringLiteral("가"));
        edit.Complete();
        QCOMPARE(edit.Text(), QStringLiteral("abc가"));
    }

    void focusLossCommitsTheSyllable()
    {
        TEditWindow w;
        QVERIFY(w.Show());
        w.Edit->SetConversionMode(IME_CMODE_NATIVE);
        Type(w.Edit, "gks");
        w.Other->setFocus();
        QTRY_VERIFY(w.Other->hasFocus());
        QCOMPARE(w.Edit->Text(), QStringLiteral("한"));
        QVERIFY(!w.Edit->IsComposing());
    }

    // OnKeyPress sees every character before it is typed, committed syllables included, and may change
    // or drop it (the game turns Enter into a blank and drops Esc).
    void keyPressFiltersCharacters()
    {
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_NATIVE);
        QString seen;
        edit.OnKeyPress = [&](QObject*, QChar& key) {
            seen += key.unicode() < 32 ? QStringLiteral("#%1").arg(key.unicode()) : QString(key);
            if (key == QChar(13)) key = u' ';
            if (key == QChar(27)) key = QChar(0);
            if (key == u'x') key = QChar(0);
        };
        Type(&edit, "gksrmf\r");
        edit.SetConversionMode(IME_CMODE_ALPHANUMERIC);
        Type(&edit, "axb\x1b");
        QCOMPARE(seen, QStringLiteral("한글#13axb#27"));
        QCOMPARE(edit.Text(), QStringLiteral("한글 ab"));
    }

    void keyDownAndUpCarryVirtualKeys()
    {
        TEdit edit;
        QList<int> down, up;
        TShiftState upShift = 0;
        edit.OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) {
            down << key;
            if (key == 'B') key = 0; // taken away: not typed
        };
        edit.OnKeyUp = [&](QObject*, uint16_t& key, TShiftState shift) {
            up << key;
            if (key == VK_SPACE) upShift = shift;
        };
        QTest::keyClick(&edit, Qt::Key_A);
        QTest::keyClick(&edit, Qt::Key_B);
        QTest::keyClick(&edit, Qt::Key_Space, Qt::ShiftModifier);
        QCOMPARE(down, (QList<int>{'A', 'B', VK_SHIFT, VK_SPACE}));
        QCOMPARE(up, (QList<int>{'A', 'B', VK_SPACE, VK_SHIFT}));
        QCOMPARE(upShift, TShiftState(ssShift));
        QCOMPARE(edit.Text(), QStringLiteral("a "));
        // A held key repeats its press but is released once.
        up.clear();
        QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"), true);
        QCoreApplication::sendEvent(&edit, &repeatUp);
        QVERIFY(up.isEmpty());
    }

    // The name dialog: Enter with a name confirms through the box's OnKeyDown; a dialog with a default
    // button gets Enter; Esc cancels where the window says so. Composition is committed first.
    void enterAndEscReachTheDialog_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("defaultButton");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("esc cancels") << "gks\x1b" << false << int(mrCancel) << "한";
        QTest::newRow("enter clicks the default button") << "gks\r" << true << int(mrOk) << "한";
        QTest::newRow("enter through OnKeyDown") << "gks\r" << false << int(mrYes) << "한";
    }
    void enterAndEscReachTheDialog()
    {
        QFETCH(QString, keys);
        QFETCH(bool, defaultButton);
        QFETCH(int, result);
        QFETCH(QString, text);
        TEditWindow w;
        w.Form.SetEscapeCancels(true);
        if (defaultButton) {
            auto* ok = new QPushButton(QStringLiteral("확인"), &w.Form);
            ok->setDefault(true);
            QObject::connect(ok, &QPushButton::clicked, &w.Form, [&] { w.Form.SetModalResult(mrOk); });
        } else {
            w.Edit->OnKeyDown = [&](QObject*, uint16_t& key, TShiftState) {
                if (key == VK_RETURN && !w.Edit->Text().isEmpty()) w.Form.SetModalResult(mrYes);
            };
        }
        w.Edit->SetConversionMode(IME_CMODE_NATIVE);
        QTimer::singleShot(0, &w.Form, [&] {
            w.Edit->setFocus();
            Type(w.Edit, keys);
            // Keeps a failing case from hanging.
            if (w.Form.Modal()) QTimer::singleShot(2000, &w.Form, [&] { w.Form.SetModalResult(mrAbort); });
        });
        QCOMPARE(w.Form.ShowModal(), result);
        QCOMPARE(w.Edit->Text(), text);
    }

    void handlerThatDeletesTheWindow()
    {
        QPointer<TForm> form = new TForm;
        auto* edit = new TEdit(form);
        edit->SetConversionMode(IME_CMODE_NATIVE);
        edit->OnKeyPress = [&](QObject*, QChar& key) {
            if (key == u'한') delete form;
        };
        Type(edit, "gks");
        QVERIFY(form);
        QTest::keyClick(edit, Qt::Key_Space); // commits 한: the handler deletes the window and the box
        QVERIFY(!form);
    }

    void editingKeysEdit()
    {
        TEdit edit;
        edit.SetConversionMode(IME_CMODE_NATIVE);
        Type(&edit, "rksk");
        // Ctrl+A commits the syllable and selects everything; the next syllable replaces it.
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit.selectedText(), QStringLiteral("가나"));
        Type(&edit, "ek");
        edit.Complete();
        QCOMPARE(edit.Text(), QStringLiteral("다"));
        QTest::keyClick(&edit, Qt::Key_Home);
        Type(&edit, "rk");
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.Text(), QStringLiteral("가"));
    }

    void maxLengthLimitsCommits()
    {
        TEdit edit;
        edit.SetMaxLength(2);
        edit.SetConversionMode(IME_CMODE_NATIVE);
        Type(&edit, "rkskek ");
        QCOMPARE(edit.Text(), QStringLiteral("가나"));
    }
};

QTEST_MAIN(TestEdit)
#include "tst_Edit.moc"
