#pragma once
// Reading and writing the files the program keeps: a save is done only when every byte is on disk, and a
// read opens only a regular file (a FIFO or a device would block or never end) of a bounded size.

#include <QByteArray>
#include <QString>

#include <functional>

// The steps of a save, for tests that make one of them fail as a full disk, a refused folder or a kill would.
enum class TSaveStep { Opened, Written, Flushed, Committing };
// Called at each step of every save; a non-zero error number (errno) fails that step with that error.
using TSaveFault = std::function<int(TSaveStep)>;
// An empty function removes the fault.
void SetSaveFault(TSaveFault fault);

// Replaces fileName with bytes: written to a temporary file beside it, flushed to the disk, its size
// checked, then renamed over the old file. On failure the old file stays whole, no temporary is left and
// reason holds the system's explanation ("No space left on device").
bool SaveWholeFile(const QString& fileName, const QByteArray& bytes, QString& reason);

enum class TReadResult { Ok, Missing, NotRegular, TooLarge, Failed };
// Reads a regular file of at most maxBytes (a negative maxBytes: any size). nativePath, when not empty, is
// the name's own bytes, for names that are not UTF-8. reason explains any result but Ok.
TReadResult ReadStoredFile(const QString& fileName, qint64 maxBytes, QByteArray& bytes, QString& reason,
                           const QByteArray& nativePath = QByteArray());
// True when the name is a regular file (following links); a FIFO, device or folder is not.
bool IsRegularFile(const QString& fileName, const QByteArray& nativePath = QByteArray());
