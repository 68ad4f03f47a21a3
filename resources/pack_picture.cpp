// Build step: decodes one of the program's pictures and writes it packed, as the program reads it at start.
//   vornix_pack_picture PICTURE PACKED
#include "platform/PictureFile.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vornix_pack_picture PICTURE PACKED\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]), out = QString::fromLocal8Bit(argv[2]);
    QImage picture;
    QString error;
    if (!ReadPicture(in, picture, error)) {
        std::fprintf(stderr, "vornix_pack_picture: %s\n", qPrintable(error));
        return 1;
    }
    const QByteArray packed = PackPicture(picture);
    if (packed.isEmpty()) {
        std::fprintf(stderr, "vornix_pack_picture: %s: pixel format %d cannot be packed\n", argv[1],
                     int(picture.format()));
        return 1;
    }
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(packed) != packed.size() || !file.flush()) {
        std::fprintf(stderr, "vornix_pack_picture: cannot write %s: %s\n", argv[2], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
