#include "game/HighScores.h"

#include "platform/StoredFile.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// Zero keeps digits, Latin letters, blanks, "-", ":" and every Hangul syllable in CP949 after
// scrambling, except 힠 to 힣 from the fifth character on (they become code points past the last
// syllable); StorableScoreText turns those into "?" before they are stored.
constexpr uint16_t ScrambleKeyBase = 0;

struct TField
{
    int offset;
    int size; // text bytes after the length byte
};
constexpr TField NameField{0, 20};
constexpr TField ScoreField{21, 15};
constexpr TField DateField{37, 40};
constexpr TField LevelField{78, 1};
constexpr TField LanguageField{80, 10};

bool SurvivesAnsi(QChar c)
{
    const QString s(c);
    return FromAnsi(ToAnsi(s)) == s;
}

void PutField(QByteArray& rec, TField field, const QString& text)
{
    const QByteArray bytes = ToAnsi(ScrambleScoreText(text), field.size);
    rec[field.offset] = char(bytes.size());
    std::copy(bytes.begin(), bytes.end(), rec.begin() + field.offset + 1);
}

QString GetField(const QByteArray& rec, TField field)
{
    // A length byte beyond the field's size would read into the next field.
    const int len = std::min(int(uint8_t(rec[field.offset])), field.size);
    return UnscrambleScoreText(FromAnsi(rec.mid(field.offset + 1, len)));
}

// A damaged field's text as a message can show it: control characters, undecodable bytes and other
// unprintable characters become "\uXXXX".
QString Printable(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.isPrint() && c != QChar::ReplacementCharacter)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString CannotRead(const QString& fileName, const QString& why)
{
    return QStringLiteral("점수 파일 %1을(를) 읽을 수 없습니다.\r%2").arg(fileName, why);
}

// The file is kept as it is; the way to a new list is to move it aside.
QString RenameAdvice()
{
    return QStringLiteral("이 파일은 덮어쓰지 않으므로 새 점수는 저장되지 않습니다. 파일의 이름을 바꾸거나 "
                          "다른 곳으로 옮기면 새 점수 파일이 만들어집니다.");
}
} // namespace

QString ScrambleScoreText(const QString& text)
{
    QString out = text;
    for (qsizetype k = 0; k < out.size(); ++k)
        out[k] = QChar(uint16_t(out[k].unicode() ^ uint16_t(ScrambleKeyBase + k)));
    return out;
}

QString UnscrambleScoreText(const QString& text)
{
    return ScrambleScoreText(text);
}

int CompareScores(const TScoreRec& a, const TScoreRec& b)
{
    if (a.score > b.score) return -1;
    if (a.score < b.score) return 1;
    return 0;
}

void SortScores(TScoreList& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const TScoreRec& a, const TScoreRec& b) { return CompareScores(a, b) < 0; });
}

void SetRank(TScoreList& list)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i == 0)
            list[i].rank = 1;
        else
            list[i].rank = list[i].score == list[i - 1].score ? list[i - 1].rank : list[i - 1].rank + 1;
    }
}

QString StorableScoreText(const QString& text, int maxBytes)
{
    QString s = FromAnsi(ToAnsi(text));
    for (qsizetype k = 0; k < s.size(); ++k) {
        const QChar scrambled(uint16_t(s[k].unicode() ^ uint16_t(ScrambleKeyBase + k)));
        if (!SurvivesAnsi(scrambled)) s[k] = u'?';
    }
    return FromAnsi(ToAnsi(s, maxBytes));
}

QString ScoreDateTimeText(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1-%2-%3  %4:%5:%6")
        .arg(d.year())
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QByteArray EncodeScoreRecord(const TScoreRec& rec)
{
    QByteArray bytes(ScoreFile::RecordSize, '\0');
    PutField(bytes, NameField, StorableScoreText(rec.name, NameField.size));
    PutField(bytes, ScoreField, QString::number(rec.score));
    PutField(bytes, DateField, StorableScoreText(rec.DateTime, DateField.size));
    PutField(bytes, LevelField, QString::number(rec.Level));
    PutField(bytes, LanguageField, StorableScoreText(rec.GameLanguage, LanguageField.size));
    return bytes;
}

QString DecodeScoreRecord(const QByteArray& bytes, TScoreRec& rec)
{
    if (bytes.size() != ScoreFile::RecordSize) return QStringLiteral("기록이 %1바이트입니다").arg(bytes.size());
    TScoreRec r;
    r.name = StorableScoreText(GetField(bytes, NameField), NameField.size);
    const QString score = GetField(bytes, ScoreField);
    bool ok = false;
    r.score = score.toInt(&ok, 10);
    if (!ok) return QStringLiteral("점수 \"%1\"이(가) 숫자가 아닙니다").arg(Printable(score));
    r.DateTime = GetField(bytes, DateField);
    const QString level = GetField(bytes, LevelField);
    const uint value = level.toUInt(&ok, 10);
    if (!ok || value > 0xFFFF) return QStringLiteral("단계 \"%1\"이(가) 숫자가 아닙니다").arg(Printable(level));
    r.Level = uint16_t(value);
    r.GameLanguage = StorableScoreText(GetField(bytes, LanguageField), LanguageField.size);
    r.Stored = bytes;
    rec = r;
    return QString();
}

QList<TScoreCell> ScoreRowCells(const TScoreRec& rec, const QRect& item, const QList<int>& sectionWidths,
                                const TTextWidth& textWidth)
{
    QList<int> left{item.left()};
    for (int w : sectionWidths)
        left << left.last() + w;
    const auto column = [&](int c) { return std::pair<int, int>(left.value(c), left.value(c + 1, left.last())); };
    const int y = item.top() + 1;
    QList<TScoreCell> cells;
    const auto add = [&](int c, int x, const QString& text) {
        const int right = column(c).second;
        cells.append(TScoreCell{QRect(x, item.top(), std::max(0, right - x), item.height()), x, y, text});
    };
    const auto [rankLeft, rankRight] = column(0);
    const QString rank = QString::number(rec.rank);
    // A one-digit rank moves right by a digit so that the digits line up on the right.
    add(0, rankLeft + (rankRight - rankLeft) / 2 - 3 + (rec.rank < 10 ? textWidth(QStringLiteral("8")) : 0), rank);
    add(1, column(1).first + 1, rec.name);
    const QString score = QString::number(rec.score);
    add(2, column(2).second - textWidth(score) - 7, score);
    const auto [levelLeft, levelRight] = column(3);
    const QString level = QString::number(rec.Level);
    add(3, levelLeft + (levelRight - levelLeft) / 2 - textWidth(level) + 1, level);
    add(4, column(4).first + 1, rec.DateTime);
    add(5, column(5).first + 1, rec.GameLanguage);
    return cells;
}

THighScores::THighScores(const QString& fileName, const QString& readFrom)
    : FFileName(fileName), FReadFrom(readFrom.isEmpty() ? fileName : readFrom)
{
}

bool THighScores::ReadScore()
{
    FReadable = true;
    FError.clear();
    QByteArray data;
    QString reason;
    const TReadResult read = ReadStoredFile(FReadFrom, ScoreFile::MaxFileBytes, data, reason);
    if (read == TReadResult::Missing) return true;
    FList.clear();
    if (read != TReadResult::Ok) {
        FReadable = false;
        if (read == TReadResult::TooLarge)
            FError =
                CannotRead(FReadFrom, QStringLiteral("파일이 너무 큽니다. 점수 파일은 %1바이트를 넘지 않습니다.\r%2")
                                          .arg(ScoreFile::MaxFileBytes)
                                          .arg(RenameAdvice()));
        else if (read == TReadResult::NotRegular)
            FError = CannotRead(FReadFrom, QStringLiteral("보통 파일이 아닙니다.\r%1").arg(RenameAdvice()));
        else
            FError = CannotRead(FReadFrom, reason);
        return false;
    }
    QStringList problems;
    qsizetype at = 0;
    for (; at + ScoreFile::RecordSize <= data.size(); at += ScoreFile::RecordSize) {
        TScoreRec rec;
        const QString problem = DecodeScoreRecord(data.mid(at, ScoreFile::RecordSize), rec);
        if (problem.isEmpty())
            FList.append(rec);
        else
            problems << QStringLiteral("%1번째 기록: %2").arg(at / ScoreFile::RecordSize + 1).arg(problem);
    }
    if (at < data.size())
        problems << QStringLiteral("%1번째 기록: 잘려서 %2바이트만 남았습니다")
                        .arg(at / ScoreFile::RecordSize + 1)
                        .arg(data.size() - at);
    SortScores(FList);
    SetRank();
    if (!problems.isEmpty()) {
        FReadable = false;
        // A file of garbage would fill the screen: the first few say enough.
        constexpr int Shown = 3;
        if (problems.size() > Shown) {
            const qsizetype more = problems.size() - Shown;
            problems = problems.mid(0, Shown) << QStringLiteral("그 밖에 기록 %1개").arg(more);
        }
        FError = QStringLiteral("점수 파일 %1이(가) 손상되었습니다.\r%2\r%3")
                     .arg(FReadFrom, problems.join(u'\r'), RenameAdvice());
        return false;
    }
    return true;
}

bool THighScores::SaveScore()
{
    if (!FReadable) return false;
    if (FList.isEmpty()) return true;
    QByteArray data;
    // A record read from the file goes back as it was read, whatever its fields decode to.
    for (const TScoreRec& rec : FList)
        data += rec.Stored.size() == ScoreFile::RecordSize ? rec.Stored : EncodeScoreRecord(rec);
    QDir().mkpath(QFileInfo(FFileName).absolutePath()); // the user's data folder, at the first save
    QString reason;
    if (!SaveWholeFile(FFileName, data, reason)) {
        FError = QStringLiteral("점수 파일 %1에 저장할 수 없습니다.\r%2").arg(FFileName, reason);
        return false;
    }
    return true;
}

void THighScores::ClearYou()
{
    for (TScoreRec& rec : FList)
        rec.You = false;
}

void THighScores::AddHighScore(const QString& name, int score, int level, bool englishGame, const QDateTime& when)
{
    TScoreRec rec;
    rec.name = StorableScoreText(name, ScoreFile::NameBytes);
    rec.score = score;
    rec.DateTime = ScoreDateTimeText(when);
    rec.You = true;
    rec.Level = uint16_t(level);
    rec.GameLanguage = englishGame ? QStringLiteral("영어") : QStringLiteral("한글");
    FList.append(rec);
    SortScores(FList);
    SetRank();
}

int THighScores::SelectYouEntry() const
{
    for (qsizetype i = 0; i < FList.size(); ++i)
        if (FList[i].You) return int(i);
    return -1;
}

TScoreEntry EnterScore(THighScores& scores, int score, int level, bool englishGame, const TAskName& askName,
                       const TLocalTime& now)
{
    TScoreEntry result;
    scores.ClearYou();
    if (score <= 0 || !scores.Readable()) return result;
    TScoreList& list = scores.List();
    const bool full = !list.isEmpty() && list.last().rank >= ScoreFile::TopRanks;
    // With a full list a score equal to the last rank's enters beside it.
    const bool qualifies =
        !full || std::any_of(list.cbegin(), list.cend(), [score](const TScoreRec& r) { return r.score <= score; });
    if (qualifies) {
        result.asked = true;
        QString name;
        if (askName && askName(name)) {
            scores.AddHighScore(name, score, level, englishGame, now());
            result.added = true;
        }
    }
    if (full)
        list.erase(
            std::remove_if(list.begin(), list.end(), [](const TScoreRec& r) { return r.rank > ScoreFile::TopRanks; }),
            list.end());
    result.saveFailed = !scores.SaveScore();
    return result;
}
