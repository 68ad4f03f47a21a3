#pragma once
// Where the game meets the high-score list: entering the score at the end of a game and showing the
// list. Both run modal windows; callers check afterwards that their own window still exists.

class QWidget;

// Offers the score to the list (the name dialog when it qualifies) and saves the list.
void GameSaveUser(QWidget* gameWindow, int score, int level, bool englishGame);
// Shows the high-score window modally; `parent` is the window it opens over.
void GameShowScoreList(QWidget* parent);
