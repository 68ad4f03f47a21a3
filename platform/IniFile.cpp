#include "platform/IniFile.h"

#include "platform/Exception.h"
#include "platform/StoredFile.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <climits>

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

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView SkipBlanks(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && IsBlank(line[i].unicode()))
        ++i;
    return line.mid(i);
}

// The section name of a "[name]" line, or a null view.
QStringView SectionOf(QStringView line)
{
    line = SkipBlanks(line);
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
    // Such a line would read back as a section header or a comment, and a header would hide the keys after it.
    const QChar first = key.trimmed().front();
    if (first == u'[' || first == u';' || first == u'#')
        throw Exception(QStringLiteral("The settings key \"%1\" of section \"%2\" starts with \"%3\", which would "
                                       "be read back as a section or a comment.")
                            .arg(key, section, first));
}

int DigitOf(char16_t c, int base)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c - u'0';
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    return d < base ? d : -1;
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
    // Accumulate with a ceiling well inside 64 bits, so no digit string can overflow.
    constexpr uint64_t kCeiling = 0x100000000ull;
    uint64_t magnitude = 0;
    for (QChar c : text) {
        const int d = DigitOf(c.unicode(), base);
        if (d < 0) return false;
        magnitude = magnitude * uint64_t(base) + uint64_t(d);
        if (magnitude >= kCeiling) return false;
    }
    if (base == 16 && !negative) {
        *result = int(uint32_t(magnitude)); // hex spells the bit pattern, as colours are written
        return true;
    }
    if (negative ? magnitude > uint64_t(INT_MAX) + 1 : magnitude > uint64_t(INT_MAX)) return false;
    *result = negative ? int(-int64_t(magnitude)) : int(magnitude);
    return true;
}

bool StartsWith(const QByteArray& bytes, const char* mark, qsizetype n)
{
    return bytes.size() >= n && memcmp(bytes.constData(), mark, size_t(n)) == 0;
}
} // namespace

TIniFile::TIniFile(const QString& fileName, const QString& readFrom) : FFileName(fileName)
{
    QString reason; // a file that cannot be read is an empty one; a FIFO is not waited for
    ReadStoredFile(readFrom.isEmpty() ? FFileName : readFrom, -1, FRaw, reason);
    Parse();
}

TIniFile::~TIniFile()
{
    if (!FModified || FSaveFailed) return;
    try {
        UpdateFile();
    } catch (const Exception& e) {
        qWarning("%s", qPrintable(e.Message()));
    }
}

void TIniFile::SetSaveHook(TSaveHook hook)
{
    if (!hook) {
        SetSaveFault({});
        return;
    }
    SetSaveFault([hook = std::move(hook)](TSaveStep step) { return hook(step) ? 0 : ENOSPC; });
}

void TIniFile::Parse()
{
    qsizetype pos = 0;
    int unit = 1;
    if (StartsWith(FRaw, "\xEF\xBB\xBF", 3)) {
        pos = 3;
    } else if (StartsWith(FRaw, "\xFF\xFE", 2)) {
        FEncoding = TEncoding::Utf16LE;
        pos = unit = 2;
    } else if (StartsWith(FRaw, "\xFE\xFF", 2)) {
        FEncoding = TEncoding::Utf16BE;
        pos = unit = 2;
    }
    FPrefix = FRaw.left(pos);
    const char* data = FRaw.constData();
    qsizetype n = FRaw.size();
    // A UTF-16 file with an odd byte count: the byte left over stays last in the file, as it is, so that the
    // lines before it and lines added after them keep whole code units.
    if (unit == 2 && (n - pos) % 2 != 0) {
        FTail = FRaw.right(1);
        --n;
    }
    // The code unit at byte offset i (a whole unit is there).
    const auto at = [&](qsizetype i) -> char16_t {
        const uchar* p = reinterpret_cast<const uchar*>(data + i);
        if (FEncoding == TEncoding::Utf16LE) return char16_t(p[0] | (p[1] << 8));
        if (FEncoding == TEncoding::Utf16BE) return char16_t((p[0] << 8) | p[1]);
        return char16_t(p[0]);
    };
    if (FEncoding == TEncoding::Bytes) // one allocation for the lines, not a doubling series
        FLines.reserve(size_t(std::count(data + pos, data + n, '\n')) + 1);
    bool crlf = false;
    qsizetype start = pos;
    for (qsizetype i = pos; i + unit <= n;) {
        if (unit == 1) { // the common case, kept tight: a 50 MB file splits in a few tens of milliseconds
            while (i < n && data[i] != '\n' && data[i] != '\r')
                ++i;
            if (i == n) break;
        }
        const char16_t c = at(i);
        if (c != u'\r' && c != u'\n') {
            i += unit;
            continue;
        }
        qsizetype eol = unit;
        if (c == u'\r' && i + 2 * unit <= n && at(i + unit) == u'\n') {
            eol = 2 * unit;
            crlf = true;
        }
        TLine line;
        line.Start = start;
        line.Size = i - start;
        line.EolSize = quint8(eol);
        line.Header = IsHeaderBytes(data + start, line.Size);
        FLines.push_back(std::move(line));
        i += eol;
        start = i;
    }
    if (start < n) { // last line without a line break
        TLine line;
        line.Start = start;
        line.Size = n - start;
        line.Header = IsHeaderBytes(data + start, line.Size);
        FLines.push_back(std::move(line));
    }
    FEol = Encode(crlf ? QStringLiteral("\r\n") : QStringLiteral("\n"));
}

bool TIniFile::IsHeaderBytes(const char* p, qsizetype n) const
{
    const int unit = FEncoding == TEncoding::Bytes ? 1 : 2;
    for (qsizetype i = 0; i + unit <= n; i += unit) {
        const uchar* u = reinterpret_cast<const uchar*>(p + i);
        char16_t c = u[0];
        if (FEncoding == TEncoding::Utf16LE) c = char16_t(u[0] | (u[1] << 8));
        if (FEncoding == TEncoding::Utf16BE) c = char16_t((u[0] << 8) | u[1]);
        if (!IsBlank(c)) return c == u'[';
    }
    return false;
}

TIniFile::TExtra& TIniFile::ExtraOf(const TLine& line) const
{
    if (line.Extra < 0) {
        line.Extra = qint32(FExtras.size());
        FExtras.emplace_back();
    }
    return FExtras[size_t(line.Extra)];
}

const QString& TIniFile::Text(qsizetype i) const
{
    const TLine& line = FLines[size_t(i)];
    TExtra& extra = ExtraOf(line);
    if (extra.Decoded) return extra.Text;
    const QByteArray bytes =
        extra.Rewritten ? extra.Bytes : QByteArray::fromRawData(FRaw.constData() + line.Start, line.Size);
    if (FEncoding == TEncoding::Bytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        extra.Text = utf8(bytes);
        if (utf8.hasError()) extra.Text = FromAnsi(bytes);
    } else {
        QStringDecoder utf16(FEncoding == TEncoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        extra.Text = utf16(bytes);
    }
    extra.Decoded = true;
    return extra.Text;
}

QByteArray TIniFile::Encode(const QString& text) const
{
    if (FEncoding == TEncoding::Bytes) return text.toUtf8();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        if (FEncoding == TEncoding::Utf16LE)
            out.append(lo).append(hi);
        else
            out.append(hi).append(lo);
    }
    return out;
}

TIniFile::TLine TIniFile::NewLine(const QString& text)
{
    TLine line;
    line.Header = !SectionOf(text).isNull();
    TExtra& extra = ExtraOf(line);
    extra.Bytes = Encode(text);
    extra.Rewritten = true;
    extra.Text = text;
    extra.Decoded = true;
    return line;
}

TIniFile::TSpan TIniFile::FindSection(const QString& section) const
{
    TSpan span;
    const qsizetype n = qsizetype(FLines.size());
    if (!FHeadersValid) {
        FHeaders.clear();
        for (qsizetype i = 0; i < n; ++i)
            if (FLines[size_t(i)].Header) FHeaders.push_back(i);
        FHeadersValid = true;
    }
    for (const qsizetype i : FHeaders) {
        const QStringView name = SectionOf(Text(i));
        if (name.isNull()) continue;
        if (SameAscii(name, section)) {
            span.Header = i;
            span.First = span.End = i + 1;
            break;
        }
    }
    if (span.Header < 0) return span;
    // The body ends after its last non-blank line, so added keys go before the blank line that
    // separates sections.
    for (qsizetype i = span.First; i < n; ++i) {
        if (FLines[size_t(i)].Header && !SectionOf(Text(i)).isNull()) break;
        if (!BlankLine(i)) span.End = i + 1;
    }
    return span;
}

bool TIniFile::BlankLine(qsizetype i) const
{
    const TLine& line = FLines[size_t(i)];
    if (line.Start >= 0 && !Rewritten(line) && line.Size == 0) return true;
    return Text(i).trimmed().isEmpty();
}

qsizetype TIniFile::FindKey(const TSpan& span, const QString& key) const
{
    for (qsizetype i = span.First; i >= 0 && i < span.End; ++i) {
        const QStringView k = KeyOf(Text(i));
        if (!k.isNull() && SameAscii(k, key)) return i;
    }
    return -1;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const qsizetype at = FindKey(FindSection(section), key);
    if (at < 0) return defaultValue;
    QStringView value;
    KeyOf(Text(at), &value);
    return value.toString();
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    const qsizetype at = FindKey(FindSection(section), key);
    if (at < 0) return defaultValue;
    QStringView text;
    KeyOf(Text(at), &text);
    int value = defaultValue;
    return ParseInteger(text, &value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const
{
    return FindSection(section).Header >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return FindKey(FindSection(section), key) >= 0;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    const TSpan span = FindSection(section);
    QStringList keys;
    for (qsizetype i = span.First; i >= 0 && i < span.End; ++i) {
        const QStringView k = KeyOf(Text(i));
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
    const QString text = key + u'=' + value;
    const TSpan span = FindSection(section);
    if (span.Header < 0) {
        if (!FLines.empty() && !BlankLine(qsizetype(FLines.size()) - 1)) FLines.push_back(NewLine(QString()));
        FLines.push_back(NewLine(u'[' + section + u']'));
        FLines.push_back(NewLine(text));
        FHeadersValid = false;
    } else {
        const qsizetype at = FindKey(span, key);
        if (at >= 0) {
            if (Text(at) == text) return; // reads the same: the line stays byte for byte
            TLine& line = FLines[size_t(at)];
            TExtra& extra = ExtraOf(line);
            extra.Bytes = Encode(text);
            extra.Rewritten = true;
            extra.Text = text;
            extra.Decoded = true;
            FHeadersValid = FHeadersValid && !line.Header;
            line.Header = false;
        } else {
            FLines.insert(FLines.begin() + span.End, NewLine(text));
            FHeadersValid = false;
        }
    }
    FModified = true;
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
    const qsizetype at = FindKey(FindSection(section), key);
    if (at < 0) return;
    FLines.erase(FLines.begin() + at);
    FHeadersValid = false;
    FModified = true;
}

void TIniFile::EraseSection(const QString& section)
{
    const TSpan span = FindSection(section);
    if (span.Header < 0) return;
    qsizetype end = span.End;
    // Take the blank lines that followed the section with it.
    while (end < qsizetype(FLines.size()) && BlankLine(end))
        ++end;
    FLines.erase(FLines.begin() + span.Header, FLines.begin() + end);
    FHeadersValid = false;
    FModified = true;
}

QByteArray TIniFile::Serialize() const
{
    QByteArray out;
    qsizetype size = FPrefix.size() + FTail.size();
    for (const TLine& line : FLines)
        size += (Rewritten(line) ? FExtras[size_t(line.Extra)].Bytes.size() : line.Size) + FEol.size();
    out.reserve(size);
    out += FPrefix;
    const size_t n = FLines.size();
    for (size_t i = 0; i < n; ++i) {
        const TLine& line = FLines[i];
        if (Rewritten(line))
            out += FExtras[size_t(line.Extra)].Bytes;
        else
            out.append(FRaw.constData() + line.Start, line.Size);
        if (line.Start >= 0 && line.EolSize > 0)
            out.append(FRaw.constData() + line.Start + line.Size, line.EolSize);
        else if (line.Start < 0 || i + 1 < n) // a last line without a break stays so while it is last
            out += FEol;
    }
    out += FTail;
    return out;
}

void TIniFile::RemoveLeftoverTemporaries() const
{
    // A save killed between writing its temporary file and the rename leaves "<name>.XXXXXX" behind, six
    // random letters of both cases. A name that reads like a word ("backup", "Backup") is a user's own
    // file and stays.
    const QFileInfo target(FFileName);
    QDir dir = target.absoluteDir();
    const QString prefix = target.fileName() + u'.';
    const QStringList names = dir.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QStringView suffix = QStringView(name).mid(prefix.size());
        bool letters = true, lower = false, innerUpper = false;
        for (qsizetype i = 0; i < suffix.size(); ++i) {
            const char16_t u = suffix[i].unicode();
            const bool isUpper = u >= u'A' && u <= u'Z', isLower = u >= u'a' && u <= u'z';
            letters = letters && (isUpper || isLower);
            lower = lower || isLower;
            innerUpper = innerUpper || (isUpper && i > 0);
        }
        if (letters && lower && innerUpper) dir.remove(name);
    }
}

void TIniFile::UpdateFile()
{
    if (!FModified) return;
    QDir().mkpath(QFileInfo(FFileName).absolutePath()); // the user's data folder, at the first save
    RemoveLeftoverTemporaries();
    QString reason;
    const bool ok = SaveWholeFile(FFileName, Serialize(), reason);
    FSaveFailed = !ok;
    if (!ok) throw Exception(QStringLiteral("Unable to write to %1\r%2").arg(FFileName, reason));
    FModified = false;
}
