#include "engine/VornixMisc.h"

#include "platform/ProgramPath.h"

#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder = ExecutableFolder();
QString DataFolderOverride;
std::unique_ptr<TIniFile> SettingsFile;
TSentenceSetupRec SentenceSetup;

namespace {
const QString kSection = QStringLiteral("SentenceSetup");
// A window's handler opened the settings and will close (and so save) them; otherwise the sentence
// settings routines opened them and nobody else will.
bool OpenedByCaller = false;

void OpenIfClosed()
{
    if (SettingsFile) return;
    const TUserFile file = UserFile(QStringLiteral("Zavlin.ini"));
    SettingsFile = std::make_unique<TIniFile>(file.Path, file.ReadFrom);
}
} // namespace

QString UserDataFolder()
{
    QString folder = DataFolderOverride;
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    return folder;
}

TUserFile UserFile(const QString& name)
{
    // Tried once per program folder: every save would otherwise make and remove a file there.
    static QString triedFolder;
    static bool writable = true;
    if (triedFolder != ProgramFolder) {
        triedFolder = ProgramFolder;
        writable = FolderAcceptsNewFile(ProgramFolder);
    }
    const QString beside = ProgramFolder + name;
    const QString data = UserDataFolder();
    // Without a home there is nowhere else: the save beside the program fails and is reported.
    if (writable || data.isEmpty()) return {beside, beside};
    const QString own = data + name;
    return {own, !QFileInfo::exists(own) && QFileInfo::exists(beside) ? beside : own};
}

void OpenSettings()
{
    OpenIfClosed();
    OpenedByCaller = true;
}

void CloseSettings()
{
    OpenedByCaller = false;
    if (!SettingsFile) return;
    // Closed even when the save fails, so a caller's second CloseSettings in its error path is quiet.
    const std::unique_ptr<TIniFile> file = std::move(SettingsFile);
    file->UpdateFile();
}

void LoadSentenceSetup()
{
    OpenIfClosed();
    const TSentenceSetupRec d;
    TSentenceSetupRec& r = SentenceSetup;
    const TIniFile& f = *SettingsFile;
    r.SpeedLimit = f.ReadInteger(kSection, QStringLiteral("SpeedLimit"), d.SpeedLimit);
    r.UseSpeedLimit = f.ReadBool(kSection, QStringLiteral("UseSpeedLimit"), d.UseSpeedLimit);
    r.UseSound = f.ReadBool(kSection, QStringLiteral("UseSound"), d.UseSound);
    r.ShowWrongJohap = f.ReadBool(kSection, QStringLiteral("ShowWrongJohap"), d.ShowWrongJohap);
    r.BackImage = f.ReadString(kSection, QStringLiteral("BackImage"), d.BackImage);
    r.FontColor = f.ReadInteger(kSection, QStringLiteral("FontColor"), d.FontColor);
    r.FontSize = f.ReadInteger(kSection, QStringLiteral("FontSize"), d.FontSize);
    r.FontName = f.ReadString(kSection, QStringLiteral("FontName"), d.FontName);
    r.FontBold = f.ReadBool(kSection, QStringLiteral("FontBold"), d.FontBold);
    r.FontItalic = f.ReadBool(kSection, QStringLiteral("FontItalic"), d.FontItalic);
    r.WrongMarkColor = f.ReadInteger(kSection, QStringLiteral("WrongMarkColor"), d.WrongMarkColor);
}

void SaveSentenceSetup()
{
    OpenIfClosed();
    const TSentenceSetupRec& r = SentenceSetup;
    TIniFile& f = *SettingsFile;
    f.WriteInteger(kSection, QStringLiteral("SpeedLimit"), r.SpeedLimit);
    f.WriteBool(kSection, QStringLiteral("UseSpeedLimit"), r.UseSpeedLimit);
    f.WriteBool(kSection, QStringLiteral("UseSound"), r.UseSound);
    f.WriteBool(kSection, QStringLiteral("ShowWrongJohap"), r.ShowWrongJohap);
    f.WriteString(kSection, QStringLiteral("BackImage"), r.BackImage);
    f.WriteInteger(kSection, QStringLiteral("FontColor"), r.FontColor);
    f.WriteInteger(kSection, QStringLiteral("FontSize"), r.FontSize);
    f.WriteString(kSection, QStringLiteral("FontName"), r.FontName);
    f.WriteBool(kSection, QStringLiteral("FontBold"), r.FontBold);
    f.WriteBool(kSection, QStringLiteral("FontItalic"), r.FontItalic);
    f.WriteInteger(kSection, QStringLiteral("WrongMarkColor"), r.WrongMarkColor);
    // The eleven keys reach the disk together, at once unless a caller's CloseSettings is to save them.
    if (!OpenedByCaller) f.UpdateFile();
}

QString TrimLeftSpaces(const QString& S)
{
    qsizetype i = 0;
    while (i < S.size() && S[i] == u' ')
        ++i;
    return S.mid(i);
}

QString TrimRightSpaces(const QString& S)
{
    qsizetype n = S.size();
    while (n > 0 && S[n - 1] == u' ')
        --n;
    return S.left(n);
}
