#pragma once
// What the sentence setup dialog decides without a window: the practice texts beside the program and the
// thumbnails of the background pictures.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

struct TPracticeText
{
    // The file name without its last four characters, as the list shows it. A name that is not UTF-8 is
    // read as CP949 (as in old Windows archives), or shown with its undecodable bytes as "\xNN".
    QString Caption;
    // The file's path for showing and for the reading history: names on this system are case-sensitive, so
    // it is never rebuilt from the caption.
    QString Path;
    // The path's own bytes, which open the file whatever its name's encoding.
    QByteArray NativePath;
};

// The regular, visible files of Folder whose names end in ".txt" (any case), by caption. Every such file
// is listed, whatever the encoding of its name.
QList<TPracticeText> ListPracticeTexts(const QString& Folder);
// How a file name's bytes are shown: UTF-8 where valid, else CP949 where valid, else UTF-8 with each
// undecodable byte as "\xNN".
QString DisplayFileName(const QByteArray& name);
// The texts of both folders in one list by caption: the bundled ones and the learner's own. An own text
// with a bundled text's caption takes its place, so a learner can keep a changed copy of one.
QList<TPracticeText> ListAllPracticeTexts(const QString& BundledFolder, const QString& OwnFolder);

// A W x H picture's thumbnail in a list of item height ItemHeight: the longer side becomes ItemHeight, the
// other is cut (not rounded) to keep the proportions, and is at least 1. An empty size for an empty picture.
QSize ThumbnailSize(int W, int H, int ItemHeight);
// The picture file stretched to its thumbnail size; a null image when it cannot be loaded, with Error
// saying why.
QImage MakeThumbnailImage(const QString& Path, int ItemHeight, QString* Error = nullptr);
