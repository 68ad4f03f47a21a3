#pragma once
// Message boxes in the platform's shape: caption, icon and buttons chosen by flags, Korean button
// texts, and character 13 in a text as a line break.

#include <QString>

class QWidget;

enum TMsgFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};

enum TModalResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Returns the button pressed; closing the box counts as Cancel (No where there is no Cancel, OK for MB_OK).
int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags);
// A plain notice captioned with the application title.
void ShowMessage(const QString& text);

// Tests answer message boxes without showing them: while set, it is called instead and its answer used.
using TMessageBoxHook = int (*)(const QString& text, const QString& caption, unsigned flags);
void SetMessageBoxHook(TMessageBoxHook hook);
