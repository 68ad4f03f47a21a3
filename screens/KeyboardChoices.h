#pragma once
// The choices of the keyboard practice setup dialog as kept in sections "keyboard" and "keyguide" of the
// settings file.

#include "screens/KeyArray.h"

#include <optional>

class TIniFile;

struct TKeyboardChoices
{
    int Language = 0; // layout item: 0 Korean 2-set, 1 English, 2 3-set 390, 3 3-set final
    // None when the stored number is none of the boxes.
    std::optional<KeyArray::TPracticePosition> Position = KeyArray::TPracticePosition::HomeRow;
    bool SpeakerOff = true; // a first run is silent
    bool KeyGuideOff = false;
};

// A stored layout that selects no item reads as the 2-set layout; a stored position outside the boxes
// checks none.
TKeyboardChoices ReadKeyboardChoices(const TIniFile& ini);
// Raises the settings file's exception when the file cannot be written.
void WriteKeyboardChoices(TIniFile& ini, const TKeyboardChoices& choices);
