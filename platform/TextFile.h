#pragma once
// Reading practice texts and converting to and from the Korean ANSI code page (CP949).

#include <QByteArray>
#include <QString>
#include <QStringList>

// A byte-order mark selects UTF-8, UTF-16LE or UTF-16BE; without one, valid UTF-8 is UTF-8 and
// anything else is CP949.
QString DecodeText(const QByteArray& bytes);

// Splits at CR LF, CR or LF; a final line break does not start an empty last line.
QStringList SplitLines(const QString& text);

// Reads a whole text file as lines; raises Exception when the file cannot be read or is no regular file.
// nativePath, when not empty, is the name's own bytes, for a name that is not UTF-8.
QStringList LoadTextLines(const QString& path, const QByteArray& nativePath = QByteArray());

// CP949 through the C library's converter; characters it cannot map become '?'. With maxBytes >= 0
// the result is cut on a character boundary so that it holds at most maxBytes bytes.
QByteArray ToAnsi(const QString& text, int maxBytes = -1);
// Invalid sequences become U+FFFD.
QString FromAnsi(const QByteArray& bytes);
