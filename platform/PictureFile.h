#pragma once

#include <QImage>
#include <QString>

// Reads a picture file (BMP, PNG, JPEG and what Qt's plugins read) as the program keeps it: 24-bit files
// stay 24-bit (Format_BGR888). A picture wider or higher than 16384 pixels, or that would cost more than
// 256 MB, is refused before it is decoded; `error` then says why.
bool ReadPicture(const QString& fileName, QImage& picture, QString& error);

// The program's own pictures are compiled in already decoded: a short header, the colour table and the
// rows exactly as QImage holds them, so the first window paints without decoding or loading image plugins.
QByteArray PackPicture(const QImage& picture);
// The picture a packed block holds, or a null image when the block is none or is damaged. The image
// uses the block's bytes where their alignment allows, so the block must outlive it.
QImage UnpackPicture(const uchar* data, qsizetype size);
// One of the program's own pictures by its name ("Banner.bmp"): null when there is none.
QImage ResourcePicture(const QString& name);
