#include "screens/SentenceImageList.h"

#include "platform/Color.h"
#include "platform/StoredFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace {
// A picture wider or higher than this, or with more pixels, costs far more memory and paint time than any
// screen can show of it; such a file is taken for a broken one.
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPicturePixels = 64ll * 1024 * 1024;

int Mod(int a, int b)
{
    const int r = a % b;
    return r < 0 ? r + b : r;
}
} // namespace

QList<TBackImageItem> DecodeBackImages(const QString& BackImage)
{
    QList<TBackImageItem> items;
    for (const QString& part : BackImage.split(u'|')) {
        if (part.isEmpty()) continue;
        items.append({part.front() == u'1', part.mid(1)});
    }
    return items;
}

QString EncodeBackImages(const QList<TBackImageItem>& Items)
{
    QStringList parts;
    for (const TBackImageItem& item : Items)
        parts << (item.Checked ? QStringLiteral("1") : QStringLiteral("0")) + item.Path;
    return parts.join(u'|');
}

bool IsStorablePicturePath(const QString& Path)
{
    return !Path.contains(u'|') && !Path.contains(u'\n') && !Path.contains(u'\r');
}

bool LoadPicture(const QString& Path, QImage& Picture, QString* Error)
{
    Picture = QImage();
    const auto fail = [&](const QString& reason) {
        if (Error) *Error = reason;
        return false;
    };
    if (!IsRegularFile(Path))
        return fail(QFileInfo::exists(Path) ? QStringLiteral("그림 파일이 아니라 장치나 폴더입니다.")
                                            : QStringLiteral("파일이 없습니다."));
    const auto tooLarge = [&](QSize size) {
        return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
               qint64(size.width()) * size.height() > kMaxPicturePixels;
    };
    const auto tooLargeText = [&](QSize size) {
        return QStringLiteral("그림이 %1 x %2 픽셀로 너무 큽니다. 가로와 세로 %3 픽셀, 모두 %4 화소까지 쓸 수 "
                              "있습니다.")
            .arg(size.width())
            .arg(size.height())
            .arg(kMaxPictureSide)
            .arg(kMaxPicturePixels);
    };
    // The pictures this list allows are decoded whole: Qt's own smaller default allocation limit would
    // refuse the larger of them.
    QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    QImageReader reader(Path);
    const QSize declared = reader.size();
    if (declared.isValid() && tooLarge(declared)) return fail(tooLargeText(declared));
    QImage read = reader.read();
    if (read.isNull()) return fail(QStringLiteral("그림을 읽을 수 없습니다: %1").arg(reader.errorString()));
    if (read.width() <= 0 || read.height() <= 0) return fail(QStringLiteral("그림의 크기가 0입니다."));
    if (tooLarge(read.size())) return fail(tooLargeText(read.size()));
    // Drawn onto a new white bitmap, as the picture object does: the copies that tile it are then plain.
    Picture = QImage(read.size(), QImage::Format_RGB32);
    Picture.fill(Qt::white);
    QPainter p(&Picture);
    p.drawImage(0, 0, read);
    return true;
}

QVector<TTilePiece> TilePieces(int W, int H, const QRect& Rect, int XOffset)
{
    QVector<TTilePiece> pieces;
    if (W <= 0 || H <= 0) return pieces;
    const int right = Rect.x() + Rect.width();
    const int bottom = Rect.y() + Rect.height();
    int sx = Mod(Rect.x() + XOffset, W);
    for (int x = Rect.x(); x < right;) {
        const int w = std::min(W - sx, right - x);
        for (int y = Rect.y(); y < bottom;) {
            const int sy = Mod(y, H);
            const int h = std::min(H - sy, bottom - y);
            pieces.append({QRect(x, y, w, h), QRect(sx, sy, w, h)});
            y += h;
        }
        x += w;
        sx = 0;
    }
    return pieces;
}

// ---------------------------------------------------------------------------------------------------------------
const QString TSentenceImageList::DefaultImageName = QStringLiteral("default image");

QImage TSentenceImageList::CurrentImage() const
{
    if (FCurrIndex < 0 || FCurrIndex >= Count()) return QImage();
    return FItems[size_t(FCurrIndex)].Picture;
}

void TSentenceImageList::ClearImages()
{
    FItems.clear();
}

void TSentenceImageList::LoadImages(const QString& BackImage, const QImage& DefaultPicture)
{
    ClearImages();
    // Every picture whose flag is not "0" is used.
    for (const QString& part : BackImage.split(u'|')) {
        if (part.isEmpty() || part.front() == u'0') continue;
        const QString path = part.mid(1);
        QImage picture;
        if (LoadPicture(path, picture)) FItems.push_back({path, picture});
    }
    if (FItems.empty()) FItems.push_back({DefaultImageName, DefaultPicture.convertToFormat(QImage::Format_RGB32)});
}

void TSentenceImageList::DrawTiled(QPainter& Canvas, const QRect& Rect, int XOffset) const
{
    const QImage picture = CurrentImage();
    if (picture.isNull()) {
        Canvas.fillRect(Rect, ToQColor(ColorToRGB(clWindow)));
        return;
    }
    for (const TTilePiece& piece : TilePieces(picture.width(), picture.height(), Rect, XOffset))
        Canvas.drawImage(piece.Dest, picture, piece.Source);
}

void TSentenceImageList::NextImage()
{
    ++FCurrIndex;
    if (FCurrIndex >= Count()) FCurrIndex = 0;
}
