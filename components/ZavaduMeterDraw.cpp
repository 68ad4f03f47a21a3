#include "ZavaduMeterDraw.h"

#include "ZavaduMeterMath.h"

#include <QVector>

#include <array>
#include <cstring>
#include <mutex>

namespace {
TColor Channels(int r, int g, int b)
{
    return RGB(r & 0xFF, g & 0xFF, b & 0xFF);
}

void Fill(TCanvas* c, int l, int t, int r, int b, TColor color)
{
    c->Brush.Color = color;
    c->Brush.Style = bsSolid;
    c->FillRect(Rect(l, t, r, b));
}

void Shape(TCanvas* c, const QVector<TPoint>& points, TColor color)
{
    c->Brush.Color = color;
    c->Brush.Style = bsSolid;
    c->Pen.Color = color;
    c->Pen.Style = psSolid;
    c->Polygon(points);
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
    const bool vertical = Mode.startsWith(u'v');
    int n = vertical ? R.Bottom - R.Top : R.Right - R.Left;
    const bool mirrored = Mode.size() >= 2 && Mode[1] == u'c';
    if (mirrored) n /= 2;
    if (n <= 0) return;
    const TSteps s = StepsOf(FromColor, ToColor, n);
    for (int i = 0; i < n; ++i) {
        const TColor c = StepColor(FromColor, s, i);
        if (vertical) {
            Fill(Canvas, R.Left, R.Top + i, R.Right, R.Top + i + 1, c);
            if (mirrored) Fill(Canvas, R.Left, R.Bottom - 1 - i, R.Right, R.Bottom - i, c);
        } else {
            Fill(Canvas, R.Left + i, R.Top, R.Left + i + 1, R.Bottom, c);
            if (mirrored) Fill(Canvas, R.Right - 1 - i, R.Top, R.Right - i, R.Bottom, c);
        }
    }
}

void Draw3DBox(TCanvas* Canvas, const TRect& Rc, int D, TColor Color, bool Banded)
{
    const int L = Rc.Left, T = Rc.Top, R = Rc.Right, B = Rc.Bottom;
    auto rightSide = [&] {
        Shape(Canvas, {Point(R - D + 1, T + D), Point(R + 1, T), Point(R + 1, B - D - 1), Point(R - D + 1, B - 1)},
              MixColors(Color, clBlack, 205));
    };
    if (!Banded) {
        Shape(Canvas, {Point(L, T + D), Point(L + D, T), Point(R, T), Point(R - D, T + D)},
              MixColors(Color, clWhite, 170));
        const TColor front = MixColors(Color, clWhite, 225);
        Canvas->Brush.Color = front;
        Canvas->Brush.Style = bsSolid;
        Canvas->Pen.Color = front;
        Canvas->Pen.Style = psSolid;
        Canvas->Rectangle(L, T + D, R - D + 1, B);
        rightSide();
        Fill(Canvas, L + 1, T + D - 1, L + 1 + (R - L - D), T + D, MixColors(Color, clWhite, 165));
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
        QVector<TPoint> top = {Point(L + i * w, T + D), Point(L + D + i * w, T)};
        int bw = w;
        if (last) {
            top << Point(R, T) << Point(R - D, T + D);
            bw = R + 1 - (L + D + i * w);
        } else {
            top << Point(L + D + (i + 1) * w, T) << Point(L + (i + 1) * w, T + D);
        }
        Shape(Canvas, top, MixColors(band, clWhite, 170));
        Fill(Canvas, L + i * w, T + D, L + i * w + bw, B, band);
    }
}

void DrawDropArrowBlock(TCanvas* Canvas, TRect& Rc, TColor Color, int D)
{
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
    Shape(Canvas, {Point(H.Left, H.Top + D), Point(H.Right - D - 1, H.Top + D), Point(H.Left + half, H.Bottom)},
          MixColors(Color, clWhite, 225));
    Shape(Canvas,
          {Point(H.Left + D, H.Top), Point(H.Right - 1, H.Top), Point(H.Right - D - 1, H.Top + D),
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
            Fill(Canvas, R.Left + inset, R.Top + i, R.Left + inset + (R.Right - R.Left) - cut, R.Top + i + 1, c);
        else
            Fill(Canvas, R.Left + i, R.Top + inset, R.Left + i + 1, R.Top + inset + (R.Bottom - R.Top) - cut, c);
    }
}

void DrawWireBox(TCanvas* Canvas, const TRect& Rc, int D, TColor Color)
{
    const int L = Rc.Left, T = Rc.Top, R = Rc.Right, B = Rc.Bottom;
    Canvas->Pen.Color = BlendColors(Color, clBlack, 200);
    Canvas->Pen.Style = psSolid;
    Canvas->MoveTo(L, T + D - 1);
    Canvas->LineTo(R - D, T + D - 1);
    Canvas->LineTo(R - D, B - 1);
    Canvas->LineTo(L, B - 1);
    Canvas->LineTo(L, T + D - 1);
    Canvas->LineTo(L + D - 1, T);
    Canvas->LineTo(R - 1, T);
    Canvas->LineTo(R - D - 1, T + D);
    Canvas->MoveTo(R - 1, T);
    Canvas->LineTo(R - 1, B - D);
    Canvas->LineTo(R - D - 1, B);
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
