#pragma once
// The four choices of the game setup dialog as kept in section "clock" of the settings file.

class TIniFile;

struct TGameChoices
{
    bool SpeakerOff = false;
    int StartLevel = 0; // item index: 0 = level 1 .. 7 = level 8
    int Language = 0;   // 0 Korean, 1 English
    int Rotation = 0;   // 0 clockwise, 1 counter-clockwise, 2 no rotation
};

// A stored value that selects no item reads as the default item: a game must start on a level that
// exists and with a board that is laid out.
TGameChoices ReadGameChoices(const TIniFile& ini);
// Raises the settings file's exception when the file cannot be written.
void WriteGameChoices(TIniFile& ini, const TGameChoices& choices);
