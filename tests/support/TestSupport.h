#pragma once
// Shared fixtures of the tests.

#include "platform/StoredFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>

// Where tests leave pictures for a person to look at.
inline QString TestOutputFolder()
{
    QString folder = qEnvironmentVariable("VORNIX_TEST_OUTPUT");
    if (folder.isEmpty()) folder = QDir::tempPath() + QStringLiteral("/vornix-test-output");
    QDir().mkpath(folder);
    return folder;
}

// A "Zavlin.ini" in dir holding text, for the tests of the settings' readers.
inline QString WriteIniFixture(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath(QStringLiteral("Zavlin.ini"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
    return path;
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

// Every save fails at Step with Error for the object's lifetime, as a read-only folder (EACCES when the
// temporary file is made) or a full disk (ENOSPC at the flush) makes it fail; unlike a read-only folder,
// this holds for root too.
class TFailingSaves
{
public:
    explicit TFailingSaves(int error = EACCES, TSaveStep step = TSaveStep::Opened)
    {
        SetSaveFault([error, step](TSaveStep s) { return s == step ? error : 0; });
    }
    ~TFailingSaves() { SetSaveFault({}); }
    TFailingSaves(const TFailingSaves&) = delete;
    TFailingSaves& operator=(const TFailingSaves&) = delete;
};

// A small tmpfs mounted on a fresh folder for the object's lifetime (root only: Mounted() tells), which
// Fill() fills up to the last byte as dd would.
class TSmallDisk
{
public:
    explicit TSmallDisk(int kilobytes = 256)
    {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        FMounted = FFolder.isValid() && ::mount("tmpfs", QFile::encodeName(FFolder.path()).constData(), "tmpfs", 0,
                                                options.constData()) == 0;
    }
    ~TSmallDisk()
    {
        if (FMounted) ::umount2(QFile::encodeName(FFolder.path()).constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return FMounted; }
    QString Path(const QString& name) const { return FFolder.filePath(name); }
    void Fill() const
    {
        QFile filler(Path(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        for (int i = 0; i < 4096 && filler.write("f", 1) == 1; ++i) {
        }
    }

private:
    QTemporaryDir FFolder;
    bool FMounted = false;
};
