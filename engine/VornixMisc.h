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
// Open settings, or null while closed.
extern std::unique_ptr<TIniFile> SettingsFile;
extern TSentenceSetupRec SentenceSetup;

void OpenSettings();
void CloseSettings();
// Both open the settings when they are closed and leave them open.
void LoadSentenceSetup();
void SaveSentenceSetup();

QString TrimLeftSpaces(const QString& S);
QString TrimRightSpaces(const QString& S);
