#include "components/ZavaduMeterDraw.h"

#include "components/ZavaduMeterMath.h"

#include <QVector>

#include <array>
#include <cstring>
#include <mutex>

namespace Zavadu {

TPlot::TPlot(TCanvas* canvas) : FCanvas(canvas)
{
    QImage* img = canvas->Image();
    if (img && img->format() == QImage::Format_BGR888) {
        FImage = img;
        FW = img->width();
        FH = img->height();
    }
}

void TPlot::Span(int x0, int x1, int y, const uint8_t* bgr)
{
    if (y < 0 || y >= FH) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, FW);
    if (x0 >= x1) return;
    // pf24bit pixels are B, G, R bytes.
    uint8_t* p = FImage->scanLine(y) + 3 * x0;
    for (int x = x0; x < x1; ++x, p += 3) {
        p[0] = bgr[0];
        p[1] = bgr[1];
        p[2] = bgr[2];
    }
}

void TPlot::Pixel(int x, int y, const uint8_t* bgr)
{
    Span(x, x + 1, y, bgr);
}

namespace {
struct TBgr
{
    uint8_t V[3];
    explicit TBgr(TColor c)
    {
        const TColor rgb = ColorToRGB(c);
        V[0] = uint8_t(GetBValue(rgb));
        V[1] = uint8_t(GetGValue(rgb));
        V[2] = uint8_t(GetRValue(rgb));
    }
};

// Bresenham from (x0, y0) to (x1, y1), the end point included when `last` is set.
template <typename F> void Walk(int x0, int y0, int x1, int y1, bool last, F plot)
{
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        const bool end = x0 == x1 && y0 == y1;
        if (end && !last) break;
        plot(x0, y0);
        if (end) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}
} // namespace

void TPlot::Fill(int l, int t, int r, int b, TColor color)
{
    if (r <= l || b <= t) return;
    if (!FImage) {
        FCanvas->Brush.Color = color;
        FCanvas->Brush.Style = bsSolid;
        FCanvas->FillRect(Rect(l, t, r, b));
        return;
    }
    const TBgr c(color);
    for (int y = std::max(t, 0); y < std::min(b, FH); ++y)
        Span(l, r, y, c.V);
}

void TPlot::Line(int x0, int y0, int x1, int y1, TColor color)
{
    if (!FImage) {
        FCanvas->Pen.Color = color;
        FCanvas->Pen.Style = psSolid;
        FCanvas->Pen.Width = 1;
        FCanvas->MoveTo(x0, y0);
        FCanvas->LineTo(x1, y1);
        return;
    }
    const TBgr c(color);
    Walk(x0, y0, x1, y1, false, [&](int x, int y) { Pixel(x, y, c.V); });
}

void TPlot::Polygon(std::initializer_list<TPoint> points, TColor color)
{
    if (points.size() < 2) return;
    if (!FImage) {
        FCanvas->Brush.Color = color;
        FCanvas->Brush.Style = bsSolid;
        FCanvas->Pen.Color = color;
        FCanvas->Pen.Style = psSolid;
        FCanvas->Pen.Width = 1;
        FCanvas->Polygon(QVector<TPoint>(points));
        return;
    }
    // Convex: each row is one span between the outline's outermost pixels.
    int top = INT32_MAX, bottom = INT32_MIN;
    for (const TPoint& p : points) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    top = std::max(top, -1);
    bottom = std::min(bottom, FH);
    if (bottom < top) return;
    std::vector<int> lo(size_t(bottom - top + 1), INT32_MAX), hi(size_t(bottom - top + 1), INT32_MIN);
    const TPoint* pts = points.begin();
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const TPoint a = pts[i], b = pts[(i + 1) % n];
        Walk(a.X, a.Y, b.X, b.Y, true, [&](int x, int y) {
            if (y < top || y > bottom) return;
            const size_t k = size_t(y - top);
            lo[k] = std::min(lo[k], x);
            hi[k] = std::max(hi[k], x);
        });
    }
    const TBgr c(color);
    for (int y = top; y <= bottom; ++y) {
        const size_t k = size_t(y - top);
        if (lo[k] <= hi[k]) Span(lo[k], hi[k] + 1, y, c.V);
    }
}

void TPlot::Rectangle(int l, int t, int r, int b, TColor pen, TColor brush, bool clearBrush)
{
    if (r <= l || b <= t) return;
    if (!FImage) {
        FCanvas->Pen.Color = pen;
        FCanvas->Pen.Style = psSolid;
        FCanvas->Pen.Width = 1;
        FCanvas->Brush.Color = brush;
        FCanvas->Brush.Style = clearBrush ? bsClear : bsSolid;
        FCanvas->Rectangle(l, t, r, b);
        FCanvas->Brush.Style = bsSolid;
        return;
    }
    if (!clearBrush) Fill(l + 1, t + 1, r - 1, b - 1, brush);
    Fill(l, t, r, t + 1, pen);
    Fill(l, b - 1, r, b, pen);
    Fill(l, t, l + 1, b, pen);
    Fill(r - 1, t, r, b, pen);
}

namespace {
TColor Channels(int r, int g, int b)
{
    return RGB(r & 0xFF, g & 0xFF, b & 0xFF);
}

// Per-channel steps of a gradient over N lines.
struct TSteps
{
    double R, G, B;
};
TSteps StepsOf(TColor from, TColor to, int n)
{
    return {double(GetRValue(to) - GetRValue(from)) / n, double(GetGValue(to) - GetGValue(from)) / n,
            double(GetBValue(to) - GetBValue(from)) / n};
}
TColor StepColor(TColor from, const TSteps& s, int i)
{
    return Channels(GetRValue(from) + int(i * s.R), GetGValue(from) + int(i * s.G), GetBValue(from) + int(i * s.B));
}
} // namespace

void GradientFillRect(TCanvas* Canvas, const TRect& R, TColor FromColor, TColor ToColor, const QString& Mode)
{
    TPlot plot(Canvas);
    const bool vertical = Mode.startsWith(u'v');
    int n = vertical ? R.Bottom - R.Top : R.Right - R.Left;
    const bool mirrored = Mode.size() >= 2 && Mode[1] == u'c';
    if (mirrored) n /= 2;
    if (n <= 0) return;
    const TSteps s = StepsOf(FromColor, ToColor, n);
    for (int i = 0; i < n; ++i) {
        const TColor c = StepColor(FromColor, s, i);
        if (vertical) {
            plot.Fill(R.Left, R.Top + i, R.Right, R.Top + i + 1, c);
            if (mirrored) plot.Fill(R.Left, R.Bottom - 1 - i, R.Right, R.Bottom - i, c);
        } else {
            plot.Fill(R.Left + i, R.Top, R.Left + i + 1, R.Bottom, c);
            if (mirrored) plot.Fill(R.Right - 1 - i, R.Top, R.Right - i, R.Bottom, c);
        }
    }
}

void Draw3DBox(TCanvas* Canvas, const TRect& Rc, int D, TColor Color, bool Banded)
{
    TPlot plot(Canvas);
    const int L = Rc.Left, T = Rc.Top, R = Rc.Right, B = Rc.Bottom;
    auto rightSide = [&] {
        plot.Polygon({Point(R - D + 1, T + D), Point(R + 1, T), Point(R + 1, B - D - 1), Point(R - D + 1, B - 1)},
                     MixColors(Color, clBlack, 205));
    };
    if (!Banded) {
        plot.Polygon({Point(L, T + D), Point(L + D, T), Point(R, T), Point(R - D, T + D)},
                     MixColors(Color, clWhite, 170));
        plot.Fill(L, T + D, R - D + 1, B, MixColors(Color, clWhite, 225));
        rightSide();
        plot.Fill(L + 1, T + D - 1, L + 1 + (R - L - D), T + D, MixColors(Color, clWhite, 165));
        return;
    }
    rightSide();
    const TColor left = MixColors(Color, clWhite, 150);
    const TColor right = MixColors(Color, clWhite, 230);
    int n = 10;
    int w = (R - 1 - L) / 10;
    if (w < 2) {
        w = 2;
        n = std::max(1, (R - 1 - L) / 2);
    }
    const TSteps s = StepsOf(left, right, n);
    for (int i = 0; i < n; ++i) {
        const TColor band = StepColor(left, s, i);
        const bool last = i == n - 1;
        const TColor topColor = MixColors(band, clWhite, 170);
        int bw = w;
        if (last) {
            plot.Polygon({Point(L + i * w, T + D), Point(L + D + i * w, T), Point(R, T), Point(R - D, T + D)},
                         topColor);
            bw = R + 1 - (L + D + i * w);
        } else {
            plot.Polygon({Point(L + i * w, T + D), Point(L + D + i * w, T), Point(L + D + (i + 1) * w, T),
                          Point(L + (i + 1) * w, T + D)},
                         topColor);
        }
        plot.Fill(L + i * w, T + D, L + i * w + bw, B, band);
    }
}

void DrawDropArrowBlock(TCanvas* Canvas, TRect& Rc, TColor Color, int D)
{
    TPlot plot(Canvas);
    const int w = Rc.Right - Rc.Left - D;
    const int h = Rc.Bottom - Rc.Top - D;
    int S = w;
    if (w > h) {
        InflateRect(Rc, -((w - h) / 2), 0);
        S = h;
    }
    const int half = S / 2;
    const TRect H = Rect(Rc.Left, Rc.Bottom - half - D, Rc.Left + S + D, Rc.Bottom);
    Rc.Right = H.Right;
    if (Rc.Bottom - Rc.Top > 2 * (half + D)) Rc.Top = Rc.Bottom - 2 * (half + D);
    plot.Polygon({Point(H.Left, H.Top + D), Point(H.Right - D - 1, H.Top + D), Point(H.Left + half, H.Bottom)},
                 MixColors(Color, clWhite, 225));
    plot.Polygon({Point(H.Left + D, H.Top), Point(H.Right - 1, H.Top), Point(H.Right - D - 1, H.Top + D),
                  Point(H.Left, H.Top + D)},
                 MixColors(Color, clWhite, 180));
    Rc.Bottom = H.Top + D + 1;
    const int quarter = (Rc.Right - Rc.Left) / 4;
    InflateRect(Rc, -quarter, 0);
    Draw3DBox(Canvas, Rc, D, Color, false);
}

void FillGradient3DBox(TCanvas* Canvas, const TRect& R, int Slant, TColor FromColor, TColor ToColor,
                       const QString& Mode)
{
    TPlot plot(Canvas);
    const bool vertical = Mode.startsWith(u'v');
    const int n = vertical ? R.Bottom - R.Top : R.Right - R.Left;
    if (n <= 0) return;
    const TSteps s = StepsOf(FromColor, ToColor, n);
    for (int i = 0; i < n; ++i) {
        const TColor c = StepColor(FromColor, s, i);
        int inset = 0, cut = 0;
        if (i < Slant) inset = cut = Slant - i;
        if (i >= n - Slant) {
            inset = 0;
            cut = Slant - (n - i);
        }
        if (vertical)
            plot.Fill(R.Left + inset, R.Top + i, R.Left + inset + (R.Right - R.Left) - cut, R.Top + i + 1, c);
        else
            plot.Fill(R.Left + i, R.Top + inset, R.Left + i + 1, R.Top + inset + (R.Bottom - R.Top) - cut, c);
    }
}

void DrawWireBox(TCanvas* Canvas, const TRect& Rc, int D, TColor Color)
{
    TPlot plot(Canvas);
    const int L = Rc.Left, T = Rc.Top, R = Rc.Right, B = Rc.Bottom;
    const TColor pen = BlendColors(Color, clBlack, 200);
    const TPoint path[] = {Point(L, T + D - 1), Point(R - D, T + D - 1), Point(R - D, B - 1), Point(L, B - 1),
                           Point(L, T + D - 1), Point(L + D - 1, T),     Point(R - 1, T),     Point(R - D - 1, T + D)};
    for (size_t i = 0; i + 1 < std::size(path); ++i)
        plot.Line(path[i].X, path[i].Y, path[i + 1].X, path[i + 1].Y, pen);
    plot.Line(R - 1, T, R - 1, B - D, pen);
    plot.Line(R - 1, B - D, R - D - 1, B, pen);
}

namespace {
// Trunc(d * (1 - a) + s * a) for every pair of bytes, built once per alpha.
struct TBlendTable
{
    float Alpha = -1;
    std::array<uint8_t, 256 * 256> Value{};
};

const TBlendTable& BlendTableFor(float alpha)
{
    static std::mutex lock;
    static TBlendTable table;
    std::lock_guard<std::mutex> guard(lock);
    if (table.Alpha != alpha) {
        const double a = alpha;
        for (int d = 0; d < 256; ++d)
            for (int s = 0; s < 256; ++s)
                table.Value[size_t(d * 256 + s)] = uint8_t(int(d * (1 - a) + s * a));
        table.Alpha = alpha;
    }
    return table;
}
} // namespace

void BlendBitmaps(TBitmap* Dest, TBitmap* Src, TColor KeyColor, float Alpha)
{
    if (!Dest || !Src || Dest->Width() != Src->Width() || Dest->Height() != Src->Height()) return;
    if (Dest->PixelFormat() != pf24bit || Src->PixelFormat() != pf24bit || Dest->Empty()) return;
    const TColor key = ColorToRGB(KeyColor);
    const uint8_t kr = uint8_t(GetRValue(key)), kg = uint8_t(GetGValue(key)), kb = uint8_t(GetBValue(key));
    const uint8_t* table = BlendTableFor(Alpha).Value.data();
    const int w = Dest->Width();
    for (int y = 0; y < Dest->Height(); ++y) {
        const uint8_t* s = Src->ScanLine(y);
        uint8_t* d = Dest->ScanLine(y);
        for (int x = 0; x < w; ++x, s += 3, d += 3) {
            if (s[0] == kb && s[1] == kg && s[2] == kr) continue;
            d[0] = table[d[0] * 256 + s[0]];
            d[1] = table[d[1] * 256 + s[1]];
            d[2] = table[d[2] * 256 + s[2]];
        }
    }
}

} // namespace Zavadu
