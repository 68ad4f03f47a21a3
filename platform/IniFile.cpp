#include "platform/IniFile.h"

#include "platform/Exception.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QSaveFile>

namespace {
bool SameAscii(QStringView a, QStringView b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

// The section name of a "[name]" line, or a null view.
QStringView SectionOf(QStringView line)
{
    line = line.trimmed();
    if (line.size() < 2 || line.front() != u'[') return {};
    const qsizetype close = line.indexOf(u']');
    if (close < 0) return {};
    return line.mid(1, close - 1).trimmed();
}

bool IsComment(QStringView line)
{
    line = line.trimmed();
    return line.isEmpty() || line.front() == u';' || line.front() == u'#';
}

// Key of a "key=value" line, or a null view.
QStringView KeyOf(QStringView line, QStringView* value = nullptr)
{
    if (IsComment(line)) return {};
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return {};
    if (value) *value = line.mid(eq + 1).trimmed();
    return line.left(eq).trimmed();
}

// Index range [first, end) of a section's body, or first = -1 when it is absent. The body ends after
// its last non-blank line, so inserted keys go before the blank line that separates sections.
struct TSpan
{
    qsizetype Header = -1, First = -1, End = -1;
};

TSpan FindSection(const QStringList& lines, QStringView section)
{
    TSpan span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView name = SectionOf(lines[i]);
        if (name.isNull()) continue;
        if (span.Header >= 0) break;
        if (SameAscii(name, section)) {
            span.Header = i;
            span.First = span.End = i + 1;
        }
    }
    if (span.Header < 0) return span;
    for (qsizetype i = span.First; i < lines.size() && SectionOf(lines[i]).isNull(); ++i)
        if (!lines[i].trimmed().isEmpty()) span.End = i + 1;
    return span;
}

qsizetype FindKey(const QStringList& lines, const TSpan& span, QStringView key)
{
    for (qsizetype i = span.First; i >= 0 && i < span.End; ++i) {
        const QStringView k = KeyOf(lines[i]);
        if (!k.isNull() && SameAscii(k, key)) return i;
    }
    return -1;
}

bool HasLineBreak(const QString& s)
{
    return s.contains(u'\n') || s.contains(u'\r');
}

void CheckNames(const QString& section, const QString& key)
{
    if (HasLineBreak(section) || section.contains(u']'))
        throw Exception(QStringLiteral("The settings section name \"%1\" holds a line break or \"]\".").arg(section));
    if (HasLineBreak(key) || key.contains(u'=') || key.trimmed().isEmpty())
        throw Exception(
            QStringLiteral("The settings key \"%1\" of section \"%2\" is empty or holds a line break or \"=\".")
                .arg(key, section));
}

bool ParseInteger(QStringView text, int* result)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text = text.mid(1);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty()) return false;
    bool ok = false;
    const qulonglong magnitude = text.toULongLong(&ok, base);
    if (!ok) return false;
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFull) {
        *result = int(uint32_t(magnitude)); // hex spells the bit pattern, as colours are written
        return true;
    }
    const long long value = negative ? -(long long)magnitude : (long long)magnitude;
    if (magnitude > 0x80000000ull || value < INT32_MIN || value > INT32_MAX) return false;
    *result = int(value);
    return true;
}
} // namespace

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName) {}

TIniFile::TLines TIniFile::Load() const
{
    TLines content;
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly)) return content;
    const QByteArray bytes = file.readAll();
    if (bytes.contains("\r\n")) content.Eol = QStringLiteral("\r\n");
    content.Lines = SplitLines(DecodeText(bytes));
    return content;
}

void TIniFile::Save(const TLines& content, const QString& before) const
{
    const QString text = content.Text();
    if (text == before) return;
    QSaveFile file(FFileName);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Unable to write to %1").arg(FFileName));
}

QString TIniFile::RawRead(const QString& section, const QString& key, bool* found) const
{
    const TLines content = Load();
    const TSpan span = FindSection(content.Lines, section);
    const qsizetype at = FindKey(content.Lines, span, key);
    *found = at >= 0;
    if (at < 0) return {};
    QStringView value;
    KeyOf(content.Lines[at], &value);
    return value.toString();
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    bool found = false;
    const QString value = RawRead(section, key, &found);
    return found ? value : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    bool found = false;
    const QString text = RawRead(section, key, &found);
    int value = defaultValue;
    if (found && ParseInteger(text, &value)) return value;
    return defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const
{
    return FindSection(Load().Lines, section).Header >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    bool found = false;
    RawRead(section, key, &found);
    return found;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    const TLines content = Load();
    const TSpan span = FindSection(content.Lines, section);
    QStringList keys;
    for (qsizetype i = span.First; i >= 0 && i < span.End; ++i) {
        const QStringView k = KeyOf(content.Lines[i]);
        if (!k.isNull()) keys << k.toString();
    }
    return keys;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    CheckNames(section, key);
    if (HasLineBreak(value))
        throw Exception(
            QStringLiteral("The value of settings key \"%1\" of section \"%2\" holds a line break.").arg(key, section));
    TLines content = Load();
    const QString before = content.Text();
    const QString line = key + u'=' + value;
    const TSpan span = FindSection(content.Lines, section);
    if (span.Header < 0) {
        if (!content.Lines.isEmpty() && !content.Lines.last().trimmed().isEmpty()) content.Lines << QString();
        content.Lines << u'[' + section + u']' << line;
    } else {
        const qsizetype at = FindKey(content.Lines, span, key);
        if (at >= 0)
            content.Lines[at] = line;
        else
            content.Lines.insert(span.End, line);
    }
    Save(content, before);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    TLines content = Load();
    const QString before = content.Text();
    const qsizetype at = FindKey(content.Lines, FindSection(content.Lines, section), key);
    if (at < 0) return;
    content.Lines.removeAt(at);
    Save(content, before);
}

void TIniFile::EraseSection(const QString& section)
{
    TLines content = Load();
    const QString before = content.Text();
    const TSpan span = FindSection(content.Lines, section);
    if (span.Header < 0) return;
    qsizetype end = span.End;
    // Take the blank lines that followed the section with it.
    while (end < content.Lines.size() && content.Lines[end].trimmed().isEmpty())
        ++end;
    content.Lines.erase(content.Lines.begin() + span.Header, content.Lines.begin() + end);
    Save(content, before);
}
