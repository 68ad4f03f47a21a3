#include "game/GameChoices.h"

#include "platform/IniFile.h"

namespace {
const QString kSection = QStringLiteral("clock");

int ReadItem(const TIniFile& ini, const QString& key, int itemCount)
{
    const int value = ini.ReadInteger(kSection, key, 0);
    return value >= 0 && value < itemCount ? value : 0;
}
} // namespace

TGameChoices ReadGameChoices(const TIniFile& ini)
{
    TGameChoices c;
    c.SpeakerOff = ini.ReadBool(kSection, QStringLiteral("speaker_off"), false);
    c.StartLevel = ReadItem(ini, QStringLiteral("start_level"), 8);
    c.Language = ReadItem(ini, QStringLiteral("Language"), 2);
    c.Rotation = ReadItem(ini, QStringLiteral("rotation"), 3);
    return c;
}

void WriteGameChoices(TIniFile& ini, const TGameChoices& choices)
{
    ini.WriteBool(kSection, QStringLiteral("speaker_off"), choices.SpeakerOff);
    ini.WriteInteger(kSection, QStringLiteral("start_level"), choices.StartLevel);
    ini.WriteInteger(kSection, QStringLiteral("Language"), choices.Language);
    ini.WriteInteger(kSection, QStringLiteral("rotation"), choices.Rotation);
}
