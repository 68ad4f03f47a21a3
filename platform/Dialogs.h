#pragma once
// Message boxes in the platform's shape: caption, icon and buttons chosen by flags, Korean button
// texts, and character 13 in a text as a line break.

#include "platform/Graphics.h"

#include <QString>
#include <functional>

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

// A modal window about to be shown opens above every stay-on-top window that is up: it is made transient
// for the active (or topmost) one and stays on top itself for this run. Every modal run of the platform
// layer calls it; window code that runs a QDialog of its own calls it too.
void PlaceAboveStayOnTop(QWidget* modal);
// The stay-on-top window a modal opened now must show above: the active one, else the last shown one;
// none when no such window is visible. `except` is never returned.
QWidget* StayOnTopWindow(const QWidget* except = nullptr);

// Common dialogs. Each runs modally over owner (or the active window) and returns true on OK, with the
// choice in its fields; on Cancel the fields stay as they were. A test hook, while set, answers instead.

// A font dialog that also chooses the text colour (Font.Color). A face the user left unchanged keeps the
// name it was given (a substituted name such as "굴림체" is not replaced by the face that stands in).
class TFontDialog
{
public:
    TFont Font;
    bool Execute(QWidget* owner = nullptr);
};

enum TColorDialogOption : unsigned { cdFullOpen = 1 };
using TColorDialogOptions = unsigned;

class TColorDialog
{
public:
    TColor Color = clBlack;
    TColorDialogOptions Options = 0;
    bool Execute(QWidget* owner = nullptr);
};

// Opens one picture file of a format the program can read.
class TOpenPictureDialog
{
public:
    QString FileName;
    QString Title;
    bool Execute(QWidget* owner = nullptr);
    // "Pictures (*.bmp *.png ...)" and one entry per format Qt reads, then all files.
    static QString Filter();
};

// Hooks get the dialog's starting value, change it to the answer and return true for OK.
using TFontDialogHook = std::function<bool(TFont& Font)>;
using TColorDialogHook = std::function<bool(TColor& Color)>;
using TOpenPictureDialogHook = std::function<bool(QString& FileName)>;
void SetFontDialogHook(TFontDialogHook hook);
void SetColorDialogHook(TColorDialogHook hook);
void SetOpenPictureDialogHook(TOpenPictureDialogHook hook);
