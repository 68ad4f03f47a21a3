#pragma once
// Plays the program's WAVE sounds asynchronously; one channel, so a new sound cuts the one playing.
// Without an audio output device it does nothing.

#include <QString>
#include <functional>

// `name` is the resource name ("CORRECTKEY", "WRONGKEY", "THUNDER"); an unknown name plays nothing.
void PlaySoundResource(const QString& name);
void StopSound();

// Tests see the sounds instead of hearing them: while set, the hook gets each name that would play
// (an unknown name too) and nothing is played.
using TSoundHook = std::function<void(const QString& name)>;
void SetSoundHook(TSoundHook hook);
