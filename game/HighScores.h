#pragma once
// The high-score list and its file "cscore.dat": 91-byte records of five scrambled short strings in
// the Korean ANSI code page, sorted by score with dense ranks, holding the top twenty ranks.

#include <QDateTime>
#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>

struct TScoreRec
{
    int rank = 0; // dense, 1 = best; computed after every sort, never stored
    QString name; // at most 20 bytes in CP949
    int score = 0;
    QString DateTime; // "2009-03-07  14:05:09"
    uint16_t Level = 0;
    QString GameLanguage; // "한글" or "영어"
    bool You = false;     // entered by the game that just ended
    QByteArray Stored;    // the record's bytes as read from the file, written back unchanged
};
using TScoreList = QList<TScoreRec>;

namespace ScoreFile {
constexpr int RecordSize = 91;
constexpr int NameBytes = 20;
constexpr int LanguageBytes = 10;
constexpr int TopRanks = 20;
// Twenty ranks with room for many equal scores; a larger file is no score file of this program.
constexpr qint64 MaxFileBytes = qint64(RecordSize) * 1000;
} // namespace ScoreFile

// One routine both ways: code unit k is xor-ed with the key base + k.
QString ScrambleScoreText(const QString& text);
QString UnscrambleScoreText(const QString& text);

// Higher score first; equal scores compare equal.
int CompareScores(const TScoreRec& a, const TScoreRec& b);
void SortScores(TScoreList& list);
// Dense ranks over a sorted list: 500, 400, 400, 300 get 1, 2, 2, 3.
void SetRank(TScoreList& list);

// The text as it will read back from the file: characters that CP949 lacks, or whose scrambled form it
// lacks, become "?", and the text is cut to maxBytes on a character boundary.
QString StorableScoreText(const QString& text, int maxBytes);
QString ScoreDateTimeText(const QDateTime& when);

QByteArray EncodeScoreRecord(const TScoreRec& rec);
// Decodes one 91-byte record; returns what is wrong with it, or an empty string when it is good.
QString DecodeScoreRecord(const QByteArray& bytes, TScoreRec& rec);

// One text of a row of the score list: drawn at (X, Y), clipped to Clip.
struct TScoreCell
{
    QRect Clip;
    int X = 0;
    int Y = 0;
    QString Text;
};
using TTextWidth = std::function<int(const QString& text)>;
// The six texts of an entry's row (rank, name, score, level, date and time, language) in the columns
// that the header's section widths cut from the item's left edge.
QList<TScoreCell> ScoreRowCells(const TScoreRec& rec, const QRect& item, const QList<int>& sectionWidths,
                                const TTextWidth& textWidth);

// The list of one showing of the score window, with the file it came from.
class THighScores
{
public:
    // The list is read from readFrom when given, and saved to fileName.
    explicit THighScores(const QString& fileName, const QString& readFrom = QString());

    const QString& FileName() const { return FFileName; }
    TScoreList& List() { return FList; }
    const TScoreList& List() const { return FList; }

    // Loads the file, sorts and ranks. A missing file is an empty list. False when the file could not
    // be read whole (damaged, cut off, too large, not a file): the records that could be read are kept,
    // Error() says why and what to do, and saves are refused from then on so the file is never overwritten.
    bool ReadScore();
    // Writes the list atomically; an empty list leaves the file as it is. False with Error() on failure,
    // and false without a new error after a failed read.
    bool SaveScore();
    void SetRank() { ::SetRank(FList); }
    bool Readable() const { return FReadable; }
    const QString& Error() const { return FError; }

    void ClearYou();
    // Appends the player's entry (name made storable), sorts and ranks.
    void AddHighScore(const QString& name, int score, int level, bool englishGame, const QDateTime& when);
    // Index of the first entry flagged as the player's own, -1 when none.
    int SelectYouEntry() const;

private:
    QString FFileName;
    QString FReadFrom;
    TScoreList FList;
    bool FReadable = true;
    QString FError;
};

// Asks for the player's name; true with the name when it was confirmed.
using TAskName = std::function<bool(QString& name)>;
using TLocalTime = std::function<QDateTime()>;

struct TScoreEntry
{
    bool asked = false; // the name was asked for
    bool added = false;
    bool saveFailed = false; // Error() of the list says why
};

// The list work at the end of a game: a positive score that reaches the top twenty ranks asks for a
// name and enters; entries beyond rank 20 leave; the file is saved. Nothing happens to a list whose
// file could not be read.
// The entry is dated when the name has been given.
TScoreEntry EnterScore(THighScores& scores, int score, int level, bool englishGame, const TAskName& askName,
                       const TLocalTime& now);
