#include "screens/SentenceModel.h"

#include "platform/IniFile.h"

#include <QFileInfo>

#include <algorithm>

bool IsBlankLine(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() <= 32; });
}

namespace {
bool BreaksIniKey(const QString& key)
{
    if (key.isEmpty()) return true;
    const QChar first = key.front();
    if (first == u'[' || first == u';' || first == u'#') return true;
    if (first.isSpace() || key.back().isSpace()) return true;
    return std::any_of(key.begin(), key.end(), [](QChar c) { return c == u'=' || c.unicode() < 32; });
}

QString Escaped(QChar c)
{
    return QStringLiteral("%%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
}
} // namespace

QString GetHistoryKey(const QString& TextFn)
{
    QString name = QFileInfo(TextFn).fileName();
    if (name.startsWith(QStringLiteral("[한글]")))
        name.replace(0, 4, QStringLiteral("(한글)"));
    else if (name.startsWith(QStringLiteral("[영어]")))
        name.replace(0, 4, QStringLiteral("(영어)"));
    if (!BreaksIniKey(name)) return name;

    int tail = int(name.size());
    while (tail > 0 && name[tail - 1].isSpace())
        --tail;
    QString key = QStringLiteral("/");
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u'%' || c == u'=' || c.unicode() < 32 || i >= tail)
            key += Escaped(c);
        else
            key += c;
    }
    return key;
}

int ClampResumeLine(int stored, int LineCount)
{
    int l = std::max(stored, 0);
    if (l >= LineCount) l = LineCount - 1;
    return std::max(l, 0);
}

TSentenceLayout ComputeSentenceLayout(int h, int SentenceCount, int LineSpace)
{
    TSentenceLayout l;
    l.SentenceSpace = h + 3;
    const int n = SentenceCount;
    const int needed = (2 * h + LineSpace) * n + l.SentenceSpace * (n - 1) + 5;
    l.Height = std::max(needed, 500);
    l.TextOffsetY = (l.Height - needed) / 2;
    return l;
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceText::SetLines(const QStringList& lines)
{
    FText = lines;
    FCurrTextLine = 0;
    FBlockStart = 0;
    FLoaded = true;
}

void TSentenceText::Clear()
{
    FText.clear();
    FCurrTextLine = 0;
    FBlockStart = 0;
    FLoaded = false;
}

void TSentenceText::SetCurrTextLine(int line)
{
    FCurrTextLine = std::max(line, 0);
    FBlockStart = FCurrTextLine;
}

TSentenceBlock TSentenceText::NextBlock(int SlotCount)
{
    TSentenceBlock block;
    int first = FCurrTextLine;
    while (first < LineCount() && IsBlankLine(FText[first]))
        ++first;
    if (first >= LineCount()) {
        block.End = true;
        return block;
    }
    FBlockStart = first;
    FCurrTextLine = first;
    for (int i = 0; i < SlotCount; ++i) {
        while (FCurrTextLine < LineCount() && IsBlankLine(FText[FCurrTextLine]))
            ++FCurrTextLine;
        block.Problems << (FCurrTextLine < LineCount() ? FText[FCurrTextLine] : QString());
        ++FCurrTextLine;
    }
    return block;
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceSpeeds::Update(bool FirstLineTyped, int Curr, int Avg)
{
    if (FirstLineTyped) FCurr = Curr;
    FAvg = Avg;
}

bool TSentenceSpeeds::LiveTick(bool FirstLineTyped, int Curr, int Avg)
{
    if (!FBlockTyping) return false;
    Update(FirstLineTyped, Curr, Avg);
    return true;
}

bool TSentenceSpeeds::TypingEnded(bool FirstLineTyped, int Curr, int Avg)
{
    FBlockTyping = false;
    Update(FirstLineTyped, Curr, Avg);
    if (FCurr <= FBest) return false;
    FBest = FCurr;
    return true;
}

bool BelowTargetSpeed(bool UseSpeedLimit, int SpeedLimit, int Speed)
{
    return UseSpeedLimit && Speed < SpeedLimit;
}

QString TargetSpeedMessage(int SpeedLimit)
{
    return QStringLiteral("목표로 한 타자속도(%1 타/분)을 넘지 못해서 다시 연습합니다.").arg(SpeedLimit);
}

int ReadResumeLine(const TIniFile& ini, const QString& TextFn)
{
    return std::max(ini.ReadInteger(QStringLiteral("FileHistory"), GetHistoryKey(TextFn), 0), 0);
}

void WriteResumeLine(TIniFile& ini, const QString& TextFn, int line)
{
    ini.WriteInteger(QStringLiteral("FileHistory"), GetHistoryKey(TextFn), line);
}
