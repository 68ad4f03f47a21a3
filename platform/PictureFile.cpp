#include "platform/PictureFile.h"

#include "platform/StoredFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QResource>

#include <cstring>

namespace {
// Beyond any screen; with the allocation limit it keeps a picture from costing more memory than it can show.
constexpr int kMaxPictureSide = 16384;
constexpr int kPictureAllocationMB = 256;

// Bits per pixel that a BMP or PNG file stores; 0 when the header tells nothing. Qt reads 24-bit pictures
// as 32-bit images, which would lose their 24-bit layout.
int StoredBitsPerPixel(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray head = file.read(32);
    auto byte = [&](int i) { return i < head.size() ? int(uint8_t(head[i])) : 0; };
    if (head.startsWith("BM") && head.size() >= 30) return byte(28) | (byte(29) << 8);
    if (head.startsWith("\x89PNG") && head.size() >= 26) {
        const int depth = byte(24), colourType = byte(25);
        if (colourType == 2) return depth * 3;
        if (colourType == 6) return depth * 4;
        if (colourType == 3) return depth;
        return 0;
    }
    if (head.startsWith("\xFF\xD8")) return 24; // JPEG
    return 0;
}

// The packed form: this header, ColorCount colours, then Height rows of BytesPerLine bytes.
struct TPackedHeader
{
    char Magic[4];
    quint32 Width;
    quint32 Height;
    quint32 Format;
    quint32 BytesPerLine;
    quint32 ColorCount;
};
constexpr char kMagic[4] = {'V', 'X', 'P', '1'};

bool IsPackableFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
        return true;
    default:
        return false;
    }
}
} // namespace

bool ReadPicture(const QString& fileName, QImage& picture, QString& error)
{
    picture = QImage();
    error.clear();
    // Opening a FIFO would wait for a writer for ever.
    if (QFileInfo::exists(fileName) && !IsRegularFile(fileName)) {
        error = QStringLiteral("The picture \"%1\" is not a regular file.").arg(fileName);
        return false;
    }
    // A few bytes can declare a picture of billions of pixels: judge the declared size before decoding.
    QImageReader::setAllocationLimit(kPictureAllocationMB);
    QImageReader reader(fileName);
    const auto tooLarge = [&](QSize size) {
        if (size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide) return false;
        error = QStringLiteral("The picture \"%1\" is %2 x %3 pixels; pictures up to %4 x %4 pixels can be shown.")
                    .arg(fileName)
                    .arg(size.width())
                    .arg(size.height())
                    .arg(kMaxPictureSide);
        return true;
    };
    if (tooLarge(reader.size())) return false;
    QImage img = reader.read();
    if (img.isNull()) {
        error = QStringLiteral("The picture \"%1\" cannot be read: %2").arg(fileName, reader.errorString());
        return false;
    }
    if (tooLarge(img.size())) return false;
    if (StoredBitsPerPixel(fileName) == 24 && !img.hasAlphaChannel()) img.convertTo(QImage::Format_BGR888);
    picture = img;
    return true;
}

QByteArray PackPicture(const QImage& picture)
{
    if (picture.isNull() || !IsPackableFormat(picture.format())) return QByteArray();
    const QList<QRgb> colors = picture.colorTable();
    TPackedHeader h{};
    std::memcpy(h.Magic, kMagic, sizeof kMagic);
    h.Width = quint32(picture.width());
    h.Height = quint32(picture.height());
    h.Format = quint32(picture.format());
    h.BytesPerLine = quint32(picture.bytesPerLine());
    h.ColorCount = quint32(colors.size());
    QByteArray out(reinterpret_cast<const char*>(&h), sizeof h);
    if (!colors.isEmpty())
        out.append(reinterpret_cast<const char*>(colors.constData()), colors.size() * qsizetype(sizeof(QRgb)));
    for (int y = 0; y < picture.height(); ++y)
        out.append(reinterpret_cast<const char*>(picture.constScanLine(y)), picture.bytesPerLine());
    return out;
}

QImage UnpackPicture(const uchar* data, qsizetype size)
{
    TPackedHeader h;
    if (!data || size < qsizetype(sizeof h)) return QImage();
    std::memcpy(&h, data, sizeof h);
    if (std::memcmp(h.Magic, kMagic, sizeof kMagic) != 0) return QImage();
    const auto format = QImage::Format(h.Format);
    if (!IsPackableFormat(format) || h.Width == 0 || h.Height == 0 || h.Width > kMaxPictureSide ||
        h.Height > kMaxPictureSide || h.ColorCount > 256 || h.BytesPerLine % 4 != 0)
        return QImage();
    // The rows must hold the pixels the format needs.
    const qsizetype minLine = (qsizetype(h.Width) * QImage::toPixelFormat(format).bitsPerPixel() + 7) / 8;
    const qsizetype colorBytes = qsizetype(h.ColorCount) * qsizetype(sizeof(QRgb));
    const qsizetype pixelBytes = qsizetype(h.BytesPerLine) * h.Height;
    if (h.BytesPerLine < minLine || size != qsizetype(sizeof h) + colorBytes + pixelBytes) return QImage();
    QList<QRgb> colors(h.ColorCount);
    if (colorBytes > 0) std::memcpy(colors.data(), data + sizeof h, size_t(colorBytes));
    const uchar* pixels = data + sizeof h + colorBytes;
    QImage picture;
    if (reinterpret_cast<quintptr>(pixels) % 4 == 0) {
        // Read-only over the block itself: the pixels are copied only if someone paints on the picture.
        picture = QImage(pixels, int(h.Width), int(h.Height), int(h.BytesPerLine), format);
    } else {
        picture = QImage(int(h.Width), int(h.Height), format);
        if (picture.isNull()) return QImage();
        const qsizetype line = std::min<qsizetype>(picture.bytesPerLine(), h.BytesPerLine);
        for (int y = 0; y < picture.height(); ++y)
            std::memcpy(picture.scanLine(y), pixels + qsizetype(y) * h.BytesPerLine, size_t(line));
    }
    if (!colors.isEmpty()) picture.setColorTable(colors);
    return picture;
}

QImage ResourcePicture(const QString& name)
{
    const QResource resource(QStringLiteral(":/images/") + name);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) return QImage();
    return UnpackPicture(resource.data(), resource.size());
}
