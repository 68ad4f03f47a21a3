#include "screens/KeyboardChoices.h"

#include "platform/IniFile.h"

namespace {
const QString kKeyboard = QStringLiteral("keyboard");
const QString kKeyGuide = QStringLiteral("keyguide");
constexpr int kLanguageCount = 4;
} // namespace

TKeyboardChoices ReadKeyboardChoices(const TIniFile& ini)
{
    TKeyboardChoices c;
    c.SpeakerOff = ini.ReadBool(kKeyboard, QStringLiteral("speaker off"), true);
    c.KeyGuideOff = ini.ReadBool(kKeyGuide, QStringLiteral("off"), false);
    const int language = ini.ReadInteger(kKeyboard, QStringLiteral("language"), 0);
    c.Language = language >= 0 && language < kLanguageCount ? language : 0;
    const int position = ini.ReadInteger(kKeyboard, QStringLiteral("position"), 0);
    if (position >= 0 && position < KeyArray::kPositionCount)
        c.Position = KeyArray::PracticePositionOf(position);
    else
        c.Position.reset();
    return c;
}

void WriteKeyboardChoices(TIniFile& ini, const TKeyboardChoices& choices)
{
    ini.WriteInteger(kKeyboard, QStringLiteral("language"), choices.Language);
    ini.WriteInteger(kKeyboard, QStringLiteral("position"), choices.Position ? int(*choices.Position) : -1);
    ini.WriteBool(kKeyboard, QStringLiteral("speaker off"), choices.SpeakerOff);
    ini.WriteBool(kKeyGuide, QStringLiteral("off"), choices.KeyGuideOff);
}
