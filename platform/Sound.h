#pragma once
// Plays the program's WAVE sounds asynchronously; one channel, so a new sound cuts the one playing.
// Without an audio output device it does nothing.

#include <QString>

// `name` is the resource name ("CORRECTKEY", "WRONGKEY", "THUNDER"); an unknown name plays nothing.
void PlaySoundResource(const QString& name);
void StopSound();
