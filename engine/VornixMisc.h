#pragma once
// What every window shares about files and settings: the program folder, the one settings file
// "Zavlin.ini" beside the program and the sentence-practice settings record.

#include "platform/Color.h"
#include "platform/IniFile.h"

#include <QString>
#include <memory>

struct TSentenceSetupRec
{
    int32_t SpeedLimit = 150;
    bool UseSpeedLimit = false;
    bool UseSound = true;
    bool ShowWrongJohap = true;
    QString BackImage;
    TColor FontColor = clWindowText;
    int32_t FontSize = 22;
    QString FontName = QStringLiteral("굴림체");
    bool FontBold = true;
    bool FontItalic = false;
    TColor WrongMarkColor = clRed;
};

// The folder of the running executable, ending in "/". Tests may point it elsewhere.
extern QString ProgramFolder;
// The user's own data folder, ending in "/": QStandardPaths's AppDataLocation (~/.local/share/vornix) unless
// the override is set (tests point it elsewhere); empty when there is none.
extern QString DataFolderOverride;
QString UserDataFolder();

// A file the program writes for the user ("Zavlin.ini", "cscore.dat"). It lives beside the program when the
// program folder takes new files, as it always did, and in the user's data folder when it does not (an
// installed copy). Until it exists there, the copy beside the program, if any, is read, and left as it is.
struct TUserFile
{
    QString Path;     // where it is written
    QString ReadFrom; // where it is read
};
TUserFile UserFile(const QString& name);
// Open settings, or null while closed.
extern std::unique_ptr<TIniFile> SettingsFile;
extern TSentenceSetupRec SentenceSetup;

// Reads "Zavlin.ini" once; reads and writes then work on that copy.
void OpenSettings();
// Saves what was written since OpenSettings in one atomic replacement of the file and closes the
// settings; raises Exception "Unable to write to <file>" (the settings are closed all the same).
void CloseSettings();
// Both open the settings when they are closed and leave them open. SaveSentenceSetup saves its keys at
// once, unless it runs between a caller's OpenSettings and CloseSettings, which then saves them.
void LoadSentenceSetup();
void SaveSentenceSetup();

QString TrimLeftSpaces(const QString& S);
QString TrimRightSpaces(const QString& S);
