#include "components/BitmapEffects.h"

#include "platform/Exception.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
int FadeValue(int v, int p, int target)
{
    return ((100 - p) * v + target * p) / 100;
}

// Expands a 5- or 6-bit channel to 8 bits and back, so 15/16-bit pixels fade like the others.
int Expand(int v, int bits)
{
    return bits == 5 ? (v << 3) | (v >> 2) : (v << 2) | (v >> 4);
}
int Reduce(int v, int bits)
{
    return v >> (8 - bits);
}

void FadeWords(TBitmap* bitmap, int p, int target, bool green6)
{
    const int gBits = green6 ? 6 : 5;
    const int gShift = 5, rShift = green6 ? 11 : 10;
    const int gMask = (1 << gBits) - 1;
    for (int y = 0; y < bitmap->Height(); ++y) {
        auto* row = reinterpret_cast<uint16_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < bitmap->Width(); ++x) {
            const int v = row[x];
            const int b = Reduce(FadeValue(Expand(v & 31, 5), p, target), 5);
            const int g = Reduce(FadeValue(Expand((v >> gShift) & gMask, gBits), p, target), gBits);
            const int r = Reduce(FadeValue(Expand((v >> rShift) & 31, 5), p, target), 5);
            row[x] = uint16_t(b | (g << gShift) | (r << rShift));
        }
    }
}
} // namespace

int BytesPerPixel(TBitmap* bitmap)
{
    switch (bitmap->PixelFormat()) {
    case pfDevice:
        return (DeviceBitsPerPixel() + 7) / 8;
    case pf1bit:
    case pf4bit:
    case pf8bit:
        return 1;
    case pf15bit:
    case pf16bit:
        return 2;
    case pf24bit:
        return 3;
    case pf32bit:
        return 4;
    case pfCustom:
        break;
    }
    throw Exception(QStringLiteral("Unknown Pixel-Format."));
}

void FadeBitmap(TBitmap* bitmap, int percent)
{
    if (!bitmap) return;
    const int bpp = BytesPerPixel(bitmap);
    // INT_MIN has no magnitude in an int: out of range like any other beyond 100.
    if (percent == INT_MIN || std::abs(percent) > 100 || percent == 0 || bitmap->Empty()) return;
    const int p = std::abs(percent);
    const int target = percent >= 0 ? 255 : 0;
    switch (bitmap->PixelFormat()) {
    case pf1bit:
    case pf4bit:
    case pf8bit: {
        QVector<TColor> palette = bitmap->Palette();
        for (TColor& c : palette)
            c = RGB(FadeValue(GetRValue(c), p, target), FadeValue(GetGValue(c), p, target),
                    FadeValue(GetBValue(c), p, target));
        bitmap->SetPalette(palette);
        return;
    }
    case pf15bit:
    case pf16bit:
        FadeWords(bitmap, p, target, bitmap->PixelFormat() == pf16bit);
        return;
    default:
        break;
    }
    const int bytes = bpp * bitmap->Width();
    for (int y = 0; y < bitmap->Height(); ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int i = 0; i < bytes; ++i)
            row[i] = uint8_t(FadeValue(row[i], p, target));
    }
}

void TintBitmap(TBitmap* bitmap, TColor color, uint8_t percent)
{
    if (!bitmap || percent > 100 || BytesPerPixel(bitmap) != 3 || bitmap->Empty()) return;
    const TColor c = ColorToRGB(color);
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int keep = 100 - percent;
    for (int y = 0; y < bitmap->Height(); ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < bitmap->Width(); ++x) {
            uint8_t* px = row + 3 * x; // blue, green, red
            px[0] = uint8_t((px[0] * keep + b * percent) / 100);
            px[1] = uint8_t((px[1] * keep + g * percent) / 100);
            px[2] = uint8_t((px[2] * keep + r * percent) / 100);
        }
    }
}

namespace {
// The picture at w x h: a stretched copy, kept in holder, or (with no size given) the picture itself, its
// size put in w and h.
TBitmap* AtSize(TBitmap* bitmap, int& w, int& h, std::unique_ptr<TBitmap>& holder)
{
    if (w > 0 && h > 0) {
        holder = std::make_unique<TBitmap>();
        holder->SetSize(w, h);
        StretchBlt(holder->Canvas()->Handle(), 0, 0, w, h, bitmap->Canvas()->Handle(), 0, 0, bitmap->Width(),
                   bitmap->Height(), SRCCOPY);
        return holder.get();
    }
    w = bitmap->Width();
    h = bitmap->Height();
    return bitmap;
}

// The mask-and-sprite blit of the platform: a mask of the key colour, a sprite with the key colour black,
// the destination ANDed with the mask and XORed with the sprite. Used where the destination or the
// picture is monochrome or has alpha, where those steps do more than leave the key colour out.
void DrawMasked(HDC dc, int x, int y, TBitmap* bitmap, int w, int h)
{
    std::unique_ptr<TBitmap> stretched;
    TBitmap* s = AtSize(bitmap, w, h, stretched);
    const TColor key = s->Canvas()->Pixel(0, 0);
    HDC sdc = s->Canvas()->Handle();

    // Mask: white where the key colour is, black elsewhere.
    TBitmap mask;
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(w, h);
    const TColor oldBk = SetBkColor(sdc, key);
    BitBlt(mask.Canvas()->Handle(), 0, 0, w, h, sdc, 0, 0, SRCCOPY);
    SetBkColor(sdc, oldBk);

    TBitmap inverse;
    inverse.SetPixelFormat(pf1bit);
    inverse.SetSize(w, h);
    BitBlt(inverse.Canvas()->Handle(), 0, 0, w, h, mask.Canvas()->Handle(), 0, 0, NOTSRCCOPY);

    // Sprite: the picture with its transparent area black.
    TBitmap sprite;
    sprite.SetSize(w, h);
    BitBlt(sprite.Canvas()->Handle(), 0, 0, w, h, sdc, 0, 0, SRCCOPY);
    BitBlt(sprite.Canvas()->Handle(), 0, 0, w, h, inverse.Canvas()->Handle(), 0, 0, SRCAND);

    if (dc->Image()) {
        // A picture underneath: combine in a copy and write the rectangle back once.
        TBitmap result;
        result.SetSize(w, h);
        BitBlt(result.Canvas()->Handle(), 0, 0, w, h, dc, x, y, SRCCOPY);
        BitBlt(result.Canvas()->Handle(), 0, 0, w, h, mask.Canvas()->Handle(), 0, 0, SRCAND);
        BitBlt(result.Canvas()->Handle(), 0, 0, w, h, sprite.Canvas()->Handle(), 0, 0, SRCINVERT);
        BitBlt(dc, x, y, w, h, result.Canvas()->Handle(), 0, 0, SRCCOPY);
    } else {
        // A widget cannot be read back; its paint buffer combines the same two steps in place. The mask goes
        // through a colour copy first, so the widget canvas's own colours do not recolour it.
        TBitmap colourMask;
        colourMask.SetSize(w, h);
        BitBlt(colourMask.Canvas()->Handle(), 0, 0, w, h, mask.Canvas()->Handle(), 0, 0, SRCCOPY);
        BitBlt(dc, x, y, w, h, colourMask.Canvas()->Handle(), 0, 0, SRCAND);
        BitBlt(dc, x, y, w, h, sprite.Canvas()->Handle(), 0, 0, SRCINVERT);
    }
}

// A few recently used results, newest first, keyed by a picture's content (QImage::cacheKey changes with
// every change of the pixels or the palette) and what was made of it.
template <class TValue> class TRecentCache
{
public:
    TValue* Find(qint64 picture, int a, int b)
    {
        for (size_t i = 0; i < FEntries.size(); ++i)
            if (FEntries[i].Picture == picture && FEntries[i].A == a && FEntries[i].B == b) {
                std::rotate(FEntries.begin(), FEntries.begin() + long(i), FEntries.begin() + long(i) + 1);
                return FEntries.front().Value.get();
            }
        return nullptr;
    }
    TValue* Add(qint64 picture, int a, int b, std::unique_ptr<TValue> value)
    {
        if (FEntries.size() >= kSize) FEntries.pop_back();
        FEntries.insert(FEntries.begin(), TEntry{picture, a, b, std::move(value)});
        return FEntries.front().Value.get();
    }

private:
    static constexpr size_t kSize = 24;
    struct TEntry
    {
        qint64 Picture;
        int A, B;
        std::unique_ptr<TValue> Value;
    };
    std::vector<TEntry> FEntries;
};

bool IsMonoImage(const QImage& image)
{
    return image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
}

// The picture (stretched to w x h) as the masked blit leaves it on an opaque surface: fully transparent
// where the mask finds the key colour, the sprite's colour elsewhere.
std::unique_ptr<TBitmap> MakeKeyed(TBitmap* bitmap, int w, int h)
{
    std::unique_ptr<TBitmap> stretched;
    TBitmap* s = AtSize(bitmap, w, h, stretched);
    HDC sdc = s->Canvas()->Handle();
    TBitmap mask;
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(w, h);
    const TColor oldBk = SetBkColor(sdc, s->Canvas()->Pixel(0, 0));
    BitBlt(mask.Canvas()->Handle(), 0, 0, w, h, sdc, 0, 0, SRCCOPY);
    SetBkColor(sdc, oldBk);
    TBitmap sprite; // 24-bit: B, G, R
    sprite.SetSize(w, h);
    BitBlt(sprite.Canvas()->Handle(), 0, 0, w, h, sdc, 0, 0, SRCCOPY);
    const QImage& bits = mask.ToImage();
    QImage keyed(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        const uchar* m = bits.constScanLine(y);
        const uint8_t* c = sprite.ScanLine(y);
        QRgb* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const bool key = (m[x >> 3] >> (7 - (x & 7))) & 1; // white: the key colour
            out[x] = key ? 0 : qRgb(c[3 * x + 2], c[3 * x + 1], c[3 * x]);
        }
    }
    auto result = std::make_unique<TBitmap>();
    result->Assign(keyed);
    return result;
}
} // namespace

void DrawBitmapTransparent(HDC dc, int x, int y, TBitmap* bitmap, int w, int h)
{
    if (!dc || !bitmap || bitmap->Empty()) return;
    const QImage& picture = bitmap->ToImage();
    const QImage* under = dc->Image();
    if (IsMonoImage(picture) || (under && (IsMonoImage(*under) || under->hasAlphaChannel()))) {
        DrawMasked(dc, x, y, bitmap, w, h);
        return;
    }
    // The same pixels as the masked blit, made once per picture and drawn in one step.
    thread_local TRecentCache<TBitmap> cache;
    const int cw = w > 0 && h > 0 ? w : 0, ch = w > 0 && h > 0 ? h : 0;
    TBitmap* keyed = cache.Find(picture.cacheKey(), cw, ch);
    if (!keyed) keyed = cache.Add(picture.cacheKey(), cw, ch, MakeKeyed(bitmap, cw, ch));
    dc->Draw(x, y, keyed);
}

void DrawBitmapTransparentFaded(HDC dc, int x, int y, int percent, TBitmap* bitmap, int w, int h)
{
    if (!bitmap) return;
    // A button face is faded the same way on every paint: keep the faded copy, so its mask is kept too.
    thread_local TRecentCache<TBitmap> faded;
    const qint64 picture = bitmap->ToImage().cacheKey();
    TBitmap* copy = faded.Find(picture, percent, bitmap->PixelFormat());
    if (!copy) {
        auto made = std::make_unique<TBitmap>();
        made->Assign(bitmap);
        FadeBitmap(made.get(), percent);
        copy = faded.Add(picture, percent, bitmap->PixelFormat(), std::move(made));
    }
    DrawBitmapTransparent(dc, x, y, copy, w, h);
}
