// The blits: BitBlt and StretchBlt with raster operations between canvases of any pixel format.
#include "platform/Graphics.h"
#include "platform/GraphicsDetail.h"

// ---- blits ----

namespace GraphicsDetail {
bool IsMono(HDC dc)
{
    QImage* img = dc ? dc->Image() : nullptr;
    return img && (img->format() == QImage::Format_Mono || img->format() == QImage::Format_MonoLSB);
}
} // namespace GraphicsDetail

using namespace GraphicsDetail;

bool BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop)
{
    return StretchBlt(dest, x, y, w, h, src, sx, sy, w, h, rop);
}

namespace GraphicsDetail {
// Rows of pixels as QImage::pixel() and setPixel() see them, a row at a time: the blits read and write
// whole scan lines instead of one call per pixel.
QRgb Rgb16To32(uint c)
{
    return 0xFF000000u | (((c << 3) & 0xF8) | ((c >> 2) & 0x7)) | (((c << 5) & 0xFC00) | ((c >> 1) & 0x300)) |
           (((c << 8) & 0xF80000) | ((c << 3) & 0x70000));
}

uint16_t Rgb32To16(QRgb c)
{
    return uint16_t(((c >> 3) & 0x001F) | ((c >> 5) & 0x07E0) | ((c >> 8) & 0xF800));
}

bool MonoBit(const uchar* line, int x, QImage::Format format)
{
    return format == QImage::Format_MonoLSB ? (line[x >> 3] >> (x & 7)) & 1 : (line[x >> 3] >> (7 - (x & 7))) & 1;
}

// pixel(xs[i], y) for i < n; xs[i] < 0 leaves out[i] alone.
void FetchRow(const QImage& img, int y, const int* xs, int n, QRgb* out)
{
    const uchar* line = img.constScanLine(y);
    switch (img.format()) {
    case QImage::Format_RGB32:
        for (int i = 0; i < n; ++i)
            if (xs[i] >= 0) out[i] = 0xFF000000u | reinterpret_cast<const QRgb*>(line)[xs[i]];
        return;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        for (int i = 0; i < n; ++i)
            if (xs[i] >= 0) out[i] = reinterpret_cast<const QRgb*>(line)[xs[i]];
        return;
    case QImage::Format_BGR888:
        for (int i = 0; i < n; ++i)
            if (xs[i] >= 0) {
                const uchar* p = line + 3 * xs[i];
                out[i] = qRgb(p[2], p[1], p[0]);
            }
        return;
    case QImage::Format_RGB888:
        for (int i = 0; i < n; ++i)
            if (xs[i] >= 0) {
                const uchar* p = line + 3 * xs[i];
                out[i] = qRgb(p[0], p[1], p[2]);
            }
        return;
    case QImage::Format_RGB16:
        for (int i = 0; i < n; ++i)
            if (xs[i] >= 0) out[i] = Rgb16To32(reinterpret_cast<const uint16_t*>(line)[xs[i]]);
        return;
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: {
        const QVector<QRgb> table = img.colorTable();
        const bool mono = img.format() != QImage::Format_Indexed8;
        for (int i = 0; i < n; ++i) {
            if (xs[i] < 0) continue;
            const int index = mono ? MonoBit(line, xs[i], img.format()) : line[xs[i]];
            out[i] = index < table.size() ? table[index] : img.pixel(xs[i], y); // out of the table: as pixel() says
        }
        return;
    }
    default:
        for (int i = 0; i < n; ++i)
            if (xs[i] >= 0) out[i] = img.pixel(xs[i], y);
        return;
    }
}

// pixelIndex(xs[i], y) of a monochrome picture.
void FetchMonoRow(const QImage& img, int y, const int* xs, int n, uchar* out)
{
    const uchar* line = img.constScanLine(y);
    for (int i = 0; i < n; ++i)
        if (xs[i] >= 0) out[i] = uchar(MonoBit(line, xs[i], img.format()));
}

// StoreRgb(img, x0 + i, y, colors[i]) for every i < n with keep[i].
void StoreRow(QImage& img, int y, int x0, int n, const QRgb* colors, const bool* keep)
{
    uchar* line = img.scanLine(y);
    switch (img.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        for (int i = 0; i < n; ++i)
            if (keep[i]) reinterpret_cast<QRgb*>(line)[x0 + i] = colors[i] | 0xFF000000u;
        return;
    case QImage::Format_BGR888:
        for (int i = 0; i < n; ++i)
            if (keep[i]) {
                uchar* p = line + 3 * (x0 + i);
                p[0] = uchar(qBlue(colors[i]));
                p[1] = uchar(qGreen(colors[i]));
                p[2] = uchar(qRed(colors[i]));
            }
        return;
    case QImage::Format_RGB888:
        for (int i = 0; i < n; ++i)
            if (keep[i]) {
                uchar* p = line + 3 * (x0 + i);
                p[0] = uchar(qRed(colors[i]));
                p[1] = uchar(qGreen(colors[i]));
                p[2] = uchar(qBlue(colors[i]));
            }
        return;
    case QImage::Format_RGB16:
        for (int i = 0; i < n; ++i)
            if (keep[i]) reinterpret_cast<uint16_t*>(line)[x0 + i] = Rgb32To16(colors[i] | 0xFF000000u);
        return;
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: {
        QRgb lastColor = 0;
        int lastIndex = -1;
        for (int i = 0; i < n; ++i) {
            if (!keep[i]) continue;
            if (lastIndex < 0 || colors[i] != lastColor) {
                lastColor = colors[i];
                lastIndex = NearestIndex(img, colors[i]);
            }
            img.setPixel(x0 + i, y, uint(lastIndex));
        }
        return;
    }
    default:
        for (int i = 0; i < n; ++i)
            if (keep[i]) img.setPixel(x0 + i, y, colors[i] | 0xFF000000u);
        return;
    }
}
} // namespace GraphicsDetail

bool StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, uint32_t rop)
{
    if (!dest || w <= 0 || h <= 0) return false;
    const bool needSource = RopNeedsSource(rop);
    const bool destMono = IsMono(dest);
    QImage srcImage; // the source as RGB values the size of the destination area; alpha 0 marks no pixel
    if (needSource) {
        QImage* s = src ? src->Image() : nullptr;
        if (!s || sw <= 0 || sh <= 0) return false;
        const bool srcMono = IsMono(src);
        // A plain copy between colour surfaces: one drawImage, as fast as the platform's blit.
        if (rop == SRCCOPY && sw == w && sh == h && !srcMono && !destMono && dest->Image() != s) {
            QPainter* p = dest->Painter();
            if (!p) return false;
            s = src->Image(); // the destination's painter may have been opened after the first look
            p->save();
            p->setCompositionMode(QPainter::CompositionMode_Source);
            if (s->hasAlphaChannel()) // a blit copies colours; alpha means nothing to it
                p->drawImage(QPoint(x, y), s->copy(sx, sy, w, h).convertToFormat(QImage::Format_RGB32));
            else
                p->drawImage(QRect(x, y, w, h), *s, QRect(sx, sy, w, h));
            p->restore();
            return true;
        }
        const QRgb bk = ToRgb(src->BkColor()) & 0xFFFFFFu;
        const QRgb destBk = ToRgb(dest->BkColor()), destText = ToRgb(dest->TextColor());
        srcImage = QImage(w, h, QImage::Format_ARGB32);
        // Source column of each destination column, -1 outside the source.
        std::vector<int> xs(static_cast<size_t>(w));
        for (int i = 0; i < w; ++i) {
            const int sxx = sx + int(int64_t(i) * sw / w);
            xs[size_t(i)] = sxx < 0 || sxx >= s->width() ? -1 : sxx;
        }
        std::vector<uchar> bits(srcMono ? size_t(w) : 0);
        for (int j = 0; j < h; ++j) {
            QRgb* row = reinterpret_cast<QRgb*>(srcImage.scanLine(j));
            const int syy = sy + int(int64_t(j) * sh / h);
            if (syy < 0 || syy >= s->height()) {
                std::fill(row, row + w, QRgb(0));
                continue;
            }
            if (srcMono) {
                FetchMonoRow(*s, syy, xs.data(), w, bits.data());
                for (int i = 0; i < w; ++i)
                    row[i] = xs[size_t(i)] < 0 ? 0
                             : destMono        ? (bits[size_t(i)] ? kWhite : kBlack)
                                               : (bits[size_t(i)] ? destBk : destText) | 0xFF000000u;
                continue;
            }
            FetchRow(*s, syy, xs.data(), w, row);
            for (int i = 0; i < w; ++i) {
                if (xs[size_t(i)] < 0)
                    row[i] = 0;
                else if (destMono)
                    row[i] = (row[i] & 0xFFFFFFu) == bk ? kWhite : kBlack;
                else
                    row[i] |= 0xFF000000u;
            }
        }
    }
    if (QImage* d = dest->Image()) {
        // The part of the area inside the destination.
        const int i0 = std::max(0, -x), i1 = std::min(w, d->width() - x);
        if (i1 <= i0) return true;
        const int n = i1 - i0;
        std::vector<int> xs(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            xs[size_t(i)] = x + i0 + i;
        std::vector<QRgb> dv(static_cast<size_t>(n)), out(static_cast<size_t>(n));
        std::unique_ptr<bool[]> keep(new bool[size_t(n)]);
        for (int j = 0; j < h; ++j) {
            const int dy = y + j;
            if (dy < 0 || dy >= d->height()) continue;
            const QRgb* row = needSource ? reinterpret_cast<const QRgb*>(srcImage.constScanLine(j)) + i0 : nullptr;
            FetchRow(*d, dy, xs.data(), n, dv.data());
            for (int i = 0; i < n; ++i) {
                keep[size_t(i)] = !row || qAlpha(row[i]) != 0;
                const uint32_t sv = row ? (row[i] & 0xFFFFFFu) : 0;
                out[size_t(i)] = ApplyRop(rop, sv, dv[size_t(i)] & 0xFFFFFFu) & 0xFFFFFFu;
            }
            StoreRow(*d, dy, x + i0, n, out.data(), keep.get());
        }
        return true;
    }
    QPainter* p = dest->Painter();
    if (!p) return false;
    p->save();
    if (rop == BLACKNESS || rop == WHITENESS) {
        p->fillRect(QRect(x, y, w, h), rop == BLACKNESS ? Qt::black : Qt::white);
    } else if (!needSource) {
        p->setCompositionMode(ModeOf(rop));
        p->fillRect(QRect(x, y, w, h), Qt::black);
    } else {
        // Pixels outside the source stay as they are: draw them with the identity of each operation.
        p->setCompositionMode(rop == SRCCOPY ? QPainter::CompositionMode_SourceOver : ModeOf(rop));
        if (rop != SRCCOPY) {
            const QRgb identity = (rop == SRCAND || rop == MERGEPAINT) ? kWhite : kBlack;
            for (int j = 0; j < h; ++j) {
                QRgb* row = reinterpret_cast<QRgb*>(srcImage.scanLine(j));
                for (int i = 0; i < w; ++i)
                    if (qAlpha(row[i]) == 0) row[i] = (rop == NOTSRCCOPY || rop == NOTSRCERASE) ? kBlack : identity;
            }
            srcImage = srcImage.convertToFormat(QImage::Format_RGB32);
        }
        p->drawImage(QPoint(x, y), srcImage);
    }
    p->restore();
    return true;
}

TColor SetBkColor(HDC dc, TColor color)
{
    return dc ? dc->SetBkColor(color) : TColor(-1);
}

TColor GetBkColor(HDC dc)
{
    return dc ? dc->BkColor() : TColor(-1);
}
