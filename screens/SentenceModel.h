#pragma once
// What the sentence practice window decides without a window: the practice text cut into blocks, the
// resume line kept under "FileHistory", and the values of the three speed bars.

#include <QString>
#include <QStringList>

class TIniFile;

// Nothing is left once characters up to and including the blank are removed from both ends.
bool IsBlankLine(const QString& line);

// The "FileHistory" key of a practice text: its file name, "[한글]" and "[영어]" at the start becoming
// "(한글)" and "(영어)". A name that would not read back as the same key ("[", ";" or "#" first, "=",
// a line break, blanks at either end) is written as "/" and the name with those characters escaped:
// no file name holds "/", so such a key never meets another text's.
QString GetHistoryKey(const QString& TextFn);

// The resume line kept for a practice text in section "FileHistory" (0 when none, never negative); the
// write raises the settings file's exception when the file cannot be written.
int ReadResumeLine(const TIniFile& ini, const QString& TextFn);
void WriteResumeLine(TIniFile& ini, const QString& TextFn, int line);

// A stored resume line as the line to offer: a negative value is 0, one past the text is its last line.
int ClampResumeLine(int stored, int LineCount);

// Heights of the practice window for a practice font whose "H" is h pixels high: the typing control and
// the meter are at least 500 pixels high, and the block is centred in them.
struct TSentenceLayout
{
    int SentenceSpace = 0;
    int Height = 0;
    int TextOffsetY = 0;
};
TSentenceLayout ComputeSentenceLayout(int h, int SentenceCount, int LineSpace);

struct TSentenceBlock
{
    // One problem per slot; slots past the end of the text get an empty problem.
    QStringList Problems;
    // No line but blank ones is left: the text has been practised to the end and nothing changes.
    bool End = false;
};

// The practice text and where the user is in it.
class TSentenceText
{
public:
    // A freshly read text, from its first line.
    void SetLines(const QStringList& lines);
    // A text that could not be read: nothing to practise, and nothing to store as its resume line.
    void Clear();
    bool Loaded() const { return FLoaded; }
    const QStringList& Lines() const { return FText; }
    int LineCount() const { return int(FText.size()); }

    // Index of the next line to hand out; may pass the end of the text.
    int CurrTextLine() const { return FCurrTextLine; }
    void SetCurrTextLine(int line);

    // The next block of SlotCount lines, blank lines skipped.
    TSentenceBlock NextBlock(int SlotCount);
    // Where the block shown began: the line a later start offers to resume at.
    int ResumeLine() const { return FBlockStart; }

private:
    QStringList FText;
    int FCurrTextLine = 0;
    int FBlockStart = 0;
    bool FLoaded = false;
};

// The best, average and current speed bars of one practice window.
class TSentenceSpeeds
{
public:
    double Best() const { return FBest; }
    double Avg() const { return FAvg; }
    double Curr() const { return FCurr; }

    // The first keystroke of a block: live values may follow.
    void TypingStarted() { FBlockTyping = true; }
    // A new or repeated block is shown: nothing is typed on it yet.
    void BlockShown() { FBlockTyping = false; }
    bool BlockTyping() const { return FBlockTyping; }

    // A tick of the live-speed timer. Only while a block is typed: once it ended its speed is in the
    // totals already, and a live average would count it twice. False when nothing changed.
    bool LiveTick(bool FirstLineTyped, int Curr, int Avg);
    // The end of a block with its final speeds; true when the current speed is a new best.
    bool TypingEnded(bool FirstLineTyped, int Curr, int Avg);

private:
    void Update(bool FirstLineTyped, int Curr, int Avg);

    double FBest = 0;
    double FAvg = 0;
    double FCurr = 0;
    bool FBlockTyping = false;
};

// The block is typed again: the target is on and the speed is below it (reaching it passes).
bool BelowTargetSpeed(bool UseSpeedLimit, int SpeedLimit, int Speed);
QString TargetSpeedMessage(int SpeedLimit);
