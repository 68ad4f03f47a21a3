#pragma once
// The high-score window "'Zorbit' 점수판": the list of the top twenty ranks read from "cscore.dat", drawn
// in six columns under a header, the player's own entry in blue and bold with a star. It is created,
// read and freed for every showing. Also the end-of-game entry of a score (SaveUser).

#include "game/HighScores.h"
#include "platform/Forms.h"
#include "platform/ListCtrls.h"

#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>

class TScoreForm : public TForm
{
    Q_OBJECT
public:
    // Reads the score file; a file that cannot be read is reported and the list shows what could be read.
    explicit TScoreForm(QWidget* parent = nullptr);
    ~TScoreForm() override;

    THeaderControl* Header1 = nullptr;
    TListBox* ListBox1 = nullptr;
    QImage YouBmp;

    // ScoreList: the entries, sorted and ranked.
    THighScores& Scores() { return *ScoreList; }

    void ReadScore();
    // False after a failed save (reported) or when the file could not be read (reported at reading).
    bool SaveScore();
    void SetRank();
    // One item per entry; the drawing takes everything from the list by index.
    void FillItems();

    void FormCreate(QObject* Sender);
    void FormClose(QObject* Sender, TCloseAction& Action);
    void FormDestroy(QObject* Sender);
    void ListBox1DrawItem(TCustomListBox* Control, int Index, const TRect& Rect, TOwnerDrawState State);
    void Header1SectionResize(THeaderControl* HeaderControl, THeaderSection* Section);

private:
    std::unique_ptr<THighScores> ScoreList;
};

extern QPointer<TScoreForm> ScoreForm;
extern bool ScoreFormExists;
extern QString ScoreFileName;

// The end of a game: creates ScoreForm when none exists, and when the score reaches the top twenty
// ranks asks for the player's name (TNameForm), enters it as the player's own and saves the file.
// CommitComposition, when given, first commits the syllable still being composed in the game's input
// box. Failures are reported once; the caller then shows the window with ShowScoreForm().
void SaveUser(int GameScore, int GameLevel, bool EnglishGame, const std::function<void()>& CommitComposition = {});

// Shows ScoreForm modally (creating it when none exists) with the player's entry marked as SaveUser
// left it; the window frees itself when it closes.
void ShowScoreForm();

// The game setup dialog's score button: the list without a player's entry, shown modally.
void ShowHighScores();
