#pragma once
// Plays the program's WAVE sounds asynchronously; one channel, so a new sound cuts the one playing.
// Without an audio output device it does nothing.

#include <QString>
#include <functional>

// `name` is the resource name ("CORRECTKEY", "WRONGKEY", "THUNDER"); an unknown name plays nothing.
// The player is made ready on a thread of its own (PrepareSound); a sound asked for before it is ready is
// dropped: the key that asks for it never waits, and a click heard late would answer the wrong key.
void PlaySoundResource(const QString& name);
void StopSound();

// Starts loading the player and its sounds in the background, once; windows that sound call it when they
// open, so it is ready by the first key. Returns at once.
void PrepareSound();
// Whether the player has been loaded (or found missing: then every sound is silent).
bool SoundReady();

// Tests see the sounds instead of hearing them: while set, the hook gets each name that would play
// (an unknown name too) and nothing is played.
using TSoundHook = std::function<void(const QString& name)>;
void SetSoundHook(TSoundHook hook);
