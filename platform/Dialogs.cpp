#include "platform/Dialogs.h"

#include "platform/Application.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
TMessageBoxHook gHook = nullptr;
}

void SetMessageBoxHook(TMessageBoxHook hook)
{
    gHook = hook;
}

int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (gHook) return gHook(shown, caption, flags);

    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(shown);
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct TButton
    {
        const char16_t* Text;
        int Result;
        QMessageBox::ButtonRole Role;
    };
    QList<TButton> buttons;
    int escapeResult = IDOK;
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        buttons = {{u"확인", IDOK, QMessageBox::AcceptRole}, {u"취소", IDCANCEL, QMessageBox::RejectRole}};
        escapeResult = IDCANCEL;
        break;
    case MB_YESNOCANCEL:
        buttons = {{u"예", IDYES, QMessageBox::YesRole},
                   {u"아니요", IDNO, QMessageBox::NoRole},
                   {u"취소", IDCANCEL, QMessageBox::RejectRole}};
        escapeResult = IDCANCEL;
        break;
    case MB_YESNO:
        buttons = {{u"예", IDYES, QMessageBox::YesRole}, {u"아니요", IDNO, QMessageBox::NoRole}};
        escapeResult = IDNO;
        break;
    default:
        buttons = {{u"확인", IDOK, QMessageBox::AcceptRole}};
        break;
    }
    QList<QPair<QAbstractButton*, int>> made;
    for (const TButton& b : buttons) {
        QPushButton* button = box.addButton(QString::fromUtf16(b.Text), b.Role);
        made.append({button, b.Result});
        if (b.Result == escapeResult) box.setEscapeButton(button);
    }
    box.setDefaultButton(static_cast<QPushButton*>(made.first().first));
    box.exec();
    for (const auto& [button, result] : made)
        if (box.clickedButton() == button) return result;
    return escapeResult;
}

void ShowMessage(const QString& text)
{
    MessageBox(nullptr, text, TApplication::Title(), MB_OK);
}
