#pragma once
// The game opened for a benchmark: level 1, English words, the clock turning clockwise, message boxes
// answered at once.

#include "game/GameUnit.h"
#include "platform/Dialogs.h"
#include "platform/Random.h"

inline int AnswerBoxAtOnce(const QString&, const QString&, unsigned)
{
    return IDOK;
}

inline TGameForm* OpenEnglishGame(uint32_t seed)
{
    SetMessageBoxHook(AnswerBoxAtOnce);
    RandSeed(seed);
    auto* game = new TGameForm();
    game->Model().GameLevel = 1;
    game->Model().EnglishGame = true;
    game->SetRotation(TRotation::clockwise);
    game->SetTimerInterval();
    game->Show();
    return game;
}
