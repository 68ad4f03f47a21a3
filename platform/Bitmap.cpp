// The bitmap: a QImage with the pixel formats, palette and transparency of the platform's bitmaps.
#include "platform/Graphics.h"
#include "platform/GraphicsDetail.h"

using namespace GraphicsDetail;

// ---- TBitmap ----

TBitmap::TBitmap() : FCanvas(this) {}

TBitmap::~TBitmap()
{
    FCanvas.ReleasePainter();
}

void TBitmap::Flush()
{
    FCanvas.ReleasePainter();
}

QImage& TBitmap::MutableImage()
{
    Flush();
    return FImage;
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height()) return;
    Flush();
    if (w == 0 || h == 0) {
        FImage = QImage();
        return;
    }
    const QImage::Format format = FImage.isNull() ? FormatOf(FPixelFormat) : FImage.format();
    QVector<QRgb> palette = FImage.isNull() ? QVector<QRgb>() : FImage.colorTable();
    if (palette.isEmpty())
        palette = FPixelFormat == pf1bit ? MonoPalette() : FPixelFormat == pf4bit ? Palette16() : QVector<QRgb>();
    if (palette.isEmpty() && format == QImage::Format_Indexed8) {
        for (int i = 0; i < 256; ++i) // 3-3-2 colour cube
            palette << qRgb(((i >> 5) & 7) * 255 / 7, ((i >> 2) & 7) * 255 / 7, (i & 3) * 255 / 3);
    }
    QImage next = BlankImage(w, h, format, palette);
    if (!FImage.isNull()) {
        const int cw = std::min(w, Width()), ch = std::min(h, Height());
        if (IsIndexed(next)) {
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x)
                    next.setPixel(x, y, uint(FImage.pixelIndex(x, y)));
        } else {
            const int bytes = cw * next.depth() / 8;
            for (int y = 0; y < ch; ++y)
                memcpy(next.scanLine(y), FImage.constScanLine(y), size_t(bytes));
        }
    }
    FImage = next;
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == pfCustom || format == FPixelFormat) return;
    Flush();
    if (!FImage.isNull()) {
        const Qt::ImageConversionFlags flags = Qt::ThresholdDither | Qt::AvoidDither;
        if (format == pf1bit)
            FImage = FImage.convertToFormat(QImage::Format_Mono, MonoPalette(), flags);
        else if (format == pf4bit)
            FImage = FImage.convertToFormat(QImage::Format_Indexed8, Palette16(), flags);
        else if (format == pf8bit && FImage.format() != QImage::Format_Indexed8)
            FImage = FImage.convertToFormat(QImage::Format_Indexed8, flags);
        else
            FImage = FImage.convertToFormat(FormatOf(format));
    }
    FPixelFormat = format;
}

uint8_t* TBitmap::ScanLine(int y)
{
    Flush();
    if (y < 0 || y >= Height()) throw Exception(QStringLiteral("Scan line index out of range"));
    return FImage.scanLine(y);
}

void TBitmap::Assign(const TBitmap* source)
{
    if (source == this) return;
    Flush();
    if (!source) {
        FImage = QImage();
        return;
    }
    const_cast<TBitmap*>(source)->Flush();
    FImage = source->FImage;
    FPixelFormat = source->FPixelFormat;
    Transparent = source->Transparent;
    TransparentMode = source->TransparentMode;
    FTransparentColor = source->FTransparentColor;
}

void TBitmap::Assign(const QImage& image)
{
    Flush();
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        FImage = image.convertToFormat(QImage::Format_Mono);
        FPixelFormat = pf1bit;
        break;
    case QImage::Format_Indexed8:
        FImage = image;
        FPixelFormat = image.colorCount() <= 16 ? pf4bit : pf8bit;
        break;
    case QImage::Format_RGB555:
        FImage = image;
        FPixelFormat = pf15bit;
        break;
    case QImage::Format_RGB16:
        FImage = image;
        FPixelFormat = pf16bit;
        break;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        FImage = image.convertToFormat(QImage::Format_BGR888);
        FPixelFormat = pf24bit;
        break;
    case QImage::Format_RGB32:
        FImage = image;
        FPixelFormat = pf32bit;
        break;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        FImage = image.convertToFormat(QImage::Format_ARGB32);
        FPixelFormat = pf32bit;
        break;
    default:
        FImage = image;
        FPixelFormat = image.isNull() ? pfDevice : pfCustom;
        break;
    }
    if (FImage.width() == 0 || FImage.height() == 0) FImage = QImage();
}

bool TBitmap::LoadFromFile(const QString& fileName)
{
    QImage img;
    if (!ReadPicture(fileName, img, FLoadError)) return false;
    Assign(img);
    return true;
}

bool TBitmap::LoadFromResourceName(const QString& name)
{
    FLoadError.clear();
    if (!name.startsWith(QLatin1String(":/"))) {
        const QImage packed = ResourcePicture(name);
        if (!packed.isNull()) {
            Assign(packed);
            return true;
        }
    }
    const QString path = name.startsWith(QLatin1String(":/")) ? name : QStringLiteral(":/images/") + name;
    return LoadFromFile(path);
}

bool TBitmap::SaveToFile(const QString& fileName)
{
    Flush();
    return !FImage.isNull() && FImage.save(fileName);
}

TColor TBitmap::TransparentColor()
{
    if (TransparentMode == tmFixed && FTransparentColor != clDefault) return ColorToRGB(FTransparentColor);
    if (Empty()) return clDefault;
    Flush();
    return FromRgb(FImage.pixel(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor color)
{
    FTransparentColor = color;
    TransparentMode = color == clDefault ? tmAuto : tmFixed;
}

QVector<TColor> TBitmap::Palette() const
{
    QVector<TColor> out;
    for (QRgb c : FImage.colorTable())
        out << FromRgb(c);
    return out;
}

void TBitmap::SetPalette(const QVector<TColor>& colors)
{
    Flush();
    if (!IsIndexed(FImage)) return;
    QVector<QRgb> table;
    for (TColor c : colors)
        table << ToRgb(c);
    FImage.setColorTable(table);
}

const QImage& TBitmap::ToImage()
{
    Flush();
    return FImage;
}

QImage TBitmap::ToRgbImage()
{
    Flush();
    if (FImage.isNull()) return QImage();
    return FImage.convertToFormat(FImage.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QPixmap TBitmap::ToPixmap()
{
    return QPixmap::fromImage(ToRgbImage());
}

int DeviceBitsPerPixel()
{
    return 24;
}
