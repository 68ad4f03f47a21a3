#pragma once
// An INI file with the platform's profile-string rules: section and key names match regardless of
// ASCII case, values are trimmed, unknown keys, comments and order stay as they were.
//
// The file is read once, when the object is made, and kept in memory. Writes change the memory only;
// UpdateFile() writes all of them at once with a temporary file and a rename, so a save is whole or not
// at all. Lines that no write touched go back byte for byte, whatever their encoding; each line is
// decoded on its own (UTF-8 where it is valid UTF-8, else CP949), a file with a UTF-16 byte-order mark
// as UTF-16. New lines are UTF-8 (UTF-16 in a UTF-16 file); a new file has no byte-order mark.

#include "platform/StoredFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class TIniFile
{
public:
    // Reads the file (readFrom instead, when given: the saves then make fileName from it); a missing or
    // unreadable file is an empty one.
    explicit TIniFile(const QString& fileName, const QString& readFrom = QString());
    // Saves what is still unsaved, unless a save already failed and was reported; a failure here can only
    // be logged, so callers that must hear of it call UpdateFile first.
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return FFileName; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything else, or a number outside 32 bits, is the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Read as a number: any non-zero number is true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // The key names of a section, in file order.
    QStringList ReadSection(const QString& section) const;

    // Writes raise Exception naming the key when a name or value would break the file's line structure
    // (a line break, "=" or "]" in a name, a key read back as a section or a comment).
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

    // Something was written since the file was read or last saved.
    bool Modified() const { return FModified; }
    // Saves the writes made since the last save in one atomic replacement of the file (making its folder when
    // missing), done only when every byte is on disk; raises Exception "Unable to write to <file>", a line break and
    // the system's reason when the disk refuses, leaving the old file as it was and the writes pending for the next
    // try.
    void UpdateFile();

    using TSaveStep = ::TSaveStep;
    using TSaveHook = std::function<bool(TSaveStep)>;
    // Called at each step of every save of a file the program keeps; returning false fails that step as a
    // full disk does. An empty hook removes it. (SetSaveFault chooses the error.)
    static void SetSaveHook(TSaveHook hook);

private:
    enum class TEncoding { Bytes, Utf16LE, Utf16BE };
    // Small, as a file may have millions of lines: what a line was rewritten to, and its decoded text once
    // it was read, live in FExtras.
    struct TLine
    {
        qsizetype Start = -1;      // in FRaw; -1 for a line the program added
        qsizetype Size = 0;        // bytes of the line in FRaw, without its line break
        mutable qint32 Extra = -1; // index in FExtras, or -1
        quint8 EolSize = 0;        // bytes of the line break after it in FRaw
        bool Header = false;       // first character after blanks is "["
    };
    struct TExtra
    {
        bool Rewritten = false;
        QByteArray Bytes; // the line's new bytes when Rewritten
        bool Decoded = false;
        QString Text;
    };
    struct TSpan
    {
        qsizetype Header = -1, First = -1, End = -1;
    };

    void Parse();
    bool IsHeaderBytes(const char* p, qsizetype n) const;
    const QString& Text(qsizetype i) const;
    QByteArray Encode(const QString& text) const;
    TLine NewLine(const QString& text);
    bool Rewritten(const TLine& line) const { return line.Extra >= 0 && FExtras[size_t(line.Extra)].Rewritten; }
    TExtra& ExtraOf(const TLine& line) const;
    TSpan FindSection(const QString& section) const;
    qsizetype FindKey(const TSpan& span, const QString& key) const;
    bool BlankLine(qsizetype i) const;
    QByteArray Serialize() const;
    void RemoveLeftoverTemporaries() const;

    QString FFileName;
    QByteArray FRaw;    // the file as read
    QByteArray FPrefix; // byte-order mark
    QByteArray FTail;   // the odd last byte of a UTF-16 file, written back last
    QByteArray FEol;    // line break for new lines, in the file's encoding
    TEncoding FEncoding = TEncoding::Bytes;
    std::vector<TLine> FLines;
    mutable std::vector<TExtra> FExtras;
    mutable std::vector<qsizetype> FHeaders; // indexes of the "[" lines, rebuilt after lines come or go
    mutable bool FHeadersValid = false;
    bool FModified = false;
    bool FSaveFailed = false;
};
