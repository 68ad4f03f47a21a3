#pragma once
// An INI file with the platform's profile-string rules: section and key names match regardless of
// ASCII case, values are trimmed, and every write goes to disk at once, atomically, touching only its
// own line so that unknown keys, comments and order stay as they were.

#include <QString>
#include <QStringList>

class TIniFile
{
public:
    explicit TIniFile(const QString& fileName);

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

    // Writes raise Exception: "Unable to write to <file>" when the disk refuses, or a message naming
    // the key when a name or value would break the file's line structure.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

private:
    struct TLines
    {
        QStringList Lines;
        QString Eol = QStringLiteral("\n");
        QString Text() const { return Lines.isEmpty() ? QString() : Lines.join(Eol) + Eol; }
    };
    TLines Load() const;
    void Save(const TLines& content, const QString& before) const;
    QString RawRead(const QString& section, const QString& key, bool* found) const;

    QString FFileName;
};
