#pragma once
// Shared fixtures of the tests.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>

// Where tests leave pictures for a person to look at.
inline QString TestOutputFolder()
{
    QString folder = qEnvironmentVariable("VORNIX_TEST_OUTPUT");
    if (folder.isEmpty()) folder = QDir::tempPath() + QStringLiteral("/vornix-test-output");
    QDir().mkpath(folder);
    return folder;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Makes a folder refuse new files for its lifetime. Root ignores permission bits, so the folder is
// also made immutable where the file system allows it; Writable() tells whether that worked.
class TReadOnlyFolder
{
public:
    explicit TReadOnlyFolder(const QString& path) : FPath(path)
    {
        ::chmod(QFile::encodeName(path).constData(), 0555);
        if (Writable() && !QStandardPaths::findExecutable(QStringLiteral("chattr")).isEmpty()) {
            FImmutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        }
    }
    ~TReadOnlyFolder()
    {
        if (FImmutable) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), FPath});
        ::chmod(QFile::encodeName(FPath).constData(), 0755);
    }
    TReadOnlyFolder(const TReadOnlyFolder&) = delete;
    TReadOnlyFolder& operator=(const TReadOnlyFolder&) = delete;

    bool Writable() const
    {
        QFile probe(FPath + QStringLiteral("/.probe"));
        if (!probe.open(QIODevice::WriteOnly)) return false;
        probe.close();
        probe.remove();
        return true;
    }

private:
    QString FPath;
    bool FImmutable = false;
};
