#pragma once
// The helpers the canvas, the bitmap and the blits share (colours, raster operations, pens, spans); included
// by platform/Canvas.cpp, Bitmap.cpp and Blits.cpp only.

#include "platform/Exception.h"
#include "platform/Graphics.h"
#include "platform/PictureFile.h"
#include "platform/RasterShapes.h"
#include "platform/WinUtil.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace GraphicsDetail {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

inline QRgb ToRgb(TColor c)
{
    const TColor r = ColorToRGB(c);
    return qRgb(GetRValue(r), GetGValue(r), GetBValue(r));
}

inline TColor FromRgb(QRgb c)
{
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

inline QImage::Format FormatOf(TPixelFormat f)
{
    switch (f) {
    case pf1bit:
        return QImage::Format_Mono;
    case pf4bit:
    case pf8bit:
        return QImage::Format_Indexed8;
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf32bit:
        return QImage::Format_RGB32;
    case pfDevice:
    case pf24bit:
    case pfCustom:
        break;
    }
    return QImage::Format_BGR888;
}

inline QVector<QRgb> MonoPalette()
{
    return {kBlack, kWhite};
}

// The 16 colours of the classic 4-bit palette.
inline QVector<QRgb> Palette16()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

inline bool IsIndexed(const QImage& img)
{
    return img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB ||
           img.format() == QImage::Format_Indexed8;
}

inline bool Paintable(QImage::Format f)
{
    switch (f) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return true;
    default:
        return false;
    }
}

inline int NearestIndex(const QImage& img, QRgb c)
{
    const int n = img.colorCount();
    int best = 0;
    int bestDist = std::numeric_limits<int>::max();
    for (int i = 0; i < n; ++i) {
        const QRgb p = img.color(i);
        const int dr = qRed(p) - qRed(c), dg = qGreen(p) - qGreen(c), db = qBlue(p) - qBlue(c);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = i;
            if (d == 0) break;
        }
    }
    return best;
}

inline void StoreRgb(QImage& img, int x, int y, QRgb c)
{
    if (IsIndexed(img))
        img.setPixel(x, y, uint(NearestIndex(img, c)));
    else
        img.setPixel(x, y, c | 0xFF000000u);
}

inline QImage BlankImage(int w, int h, QImage::Format format, const QVector<QRgb>& palette)
{
    QImage img(w, h, format);
    if (img.isNull()) return img;
    if (IsIndexed(img)) {
        img.setColorTable(palette);
        img.fill(uint(NearestIndex(img, kWhite)));
    } else {
        img.fill(QColor(Qt::white));
    }
    return img;
}

bool IsMono(HDC dc);

inline uint32_t ApplyRop(uint32_t rop, uint32_t s, uint32_t d)
{
    switch (rop) {
    case SRCCOPY:
        return s;
    case SRCPAINT:
        return s | d;
    case SRCAND:
        return s & d;
    case SRCINVERT:
        return s ^ d;
    case SRCERASE:
        return s & ~d;
    case NOTSRCCOPY:
        return ~s;
    case NOTSRCERASE:
        return ~(s | d);
    case MERGEPAINT:
        return ~s | d;
    case DSTINVERT:
        return ~d;
    case BLACKNESS:
        return 0;
    case WHITENESS:
        return 0xFFFFFF;
    default:
        return s;
    }
}

inline bool RopNeedsSource(uint32_t rop)
{
    return rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

inline QPainter::CompositionMode ModeOf(uint32_t rop)
{
    switch (rop) {
    case SRCPAINT:
        return QPainter::RasterOp_SourceOrDestination;
    case SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE:
        return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY:
        return QPainter::RasterOp_NotSource;
    case NOTSRCERASE:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT:
        return QPainter::RasterOp_NotSourceOrDestination;
    case DSTINVERT:
        return QPainter::RasterOp_NotDestination;
    default:
        return QPainter::CompositionMode_Source;
    }
}

inline Qt::PenStyle QtPenStyle(TPenStyle s)
{
    switch (s) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

// On/off runs of the cosmetic pen styles, in pixels.
inline QVector<int> DashRuns(TPenStyle s)
{
    switch (s) {
    case psDash:
        return {4, 2};
    case psDot:
        return {1, 2};
    case psDashDot:
        return {4, 2, 1, 2};
    case psDashDotDot:
        return {4, 2, 1, 2, 1, 2};
    default:
        return {};
    }
}

inline Qt::BrushStyle QtBrushStyle(TBrushStyle s)
{
    switch (s) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

template <class F> void FillSpans(QPainter* p, int l, int t, int r, int b, const QBrush& brush, F inside)
{
    for (int y = t; y < b; ++y) {
        int x = l;
        while (x < r) {
            while (x < r && !inside(x, y))
                ++x;
            const int start = x;
            while (x < r && inside(x, y))
                ++x;
            if (x > start) p->fillRect(QRect(start, y, x - start, 1), brush);
        }
    }
}

// The run [Lo, Hi) of one row of a shape; empty when Lo == Hi.
struct TRun
{
    int Lo, Hi;
    bool Has(int x) const { return x >= Lo && x < Hi; }
};

// For shapes whose every row is one run of pixels (an ellipse, a rounded rectangle): each row of t..b-1
// within columns l..r-1, its ends found with the shape's own test, so the pixels are those that testing
// every pixel gives while only the pixels outside are tested.
template <class F> std::vector<TRun> RowRuns(int l, int t, int r, int b, F inside)
{
    std::vector<TRun> rows;
    rows.reserve(size_t(std::max(0, b - t)));
    for (int y = t; y < b; ++y) {
        int lo = l;
        while (lo < r && !inside(lo, y))
            ++lo;
        int hi = r;
        while (hi > lo && !inside(hi - 1, y))
            --hi;
        rows.push_back({lo, hi});
    }
    return rows;
}

// FillSpans for such a shape: a rectangle per run of rows that share their run.
template <class F> void FillRows(QPainter* p, int l, int t, int r, int b, const QBrush& brush, F inside)
{
    const std::vector<TRun> rows = RowRuns(l, t, r, b, inside);
    for (size_t i = 0; i < rows.size();) {
        size_t k = 1;
        while (i + k < rows.size() && rows[i + k].Lo == rows[i].Lo && rows[i + k].Hi == rows[i].Hi)
            ++k;
        if (rows[i].Hi > rows[i].Lo) p->fillRect(QRect(rows[i].Lo, t + int(i), rows[i].Hi - rows[i].Lo, int(k)), brush);
        i += k;
    }
}

// Boundary for such a shape, in the same order (by rows, then columns).
template <class F> QVector<QPoint> RowBoundary(int l, int t, int r, int b, F inside)
{
    // One row and column more on each side: the neighbours the outline test looks at.
    const std::vector<TRun> rows = RowRuns(l - 1, t - 1, r + 1, b + 1, inside);
    QVector<QPoint> pts;
    pts.reserve(2 * (r - l + b - t));
    for (int y = t; y < b; ++y) {
        const TRun& above = rows[size_t(y - t)];
        const TRun& run = rows[size_t(y - t + 1)];
        const TRun& below = rows[size_t(y - t + 2)];
        for (int x = std::max(run.Lo, l); x < std::min(run.Hi, r); ++x)
            if (x == run.Lo || x == run.Hi - 1 || !above.Has(x) || !below.Has(x)) pts << QPoint(x, y);
    }
    return pts;
}

QVector<int> DashRuns(TPenStyle s);

// Keeps the dashed part of an outline, its points ordered by angle around (cx, cy).
inline QVector<QPoint> Dashed(QVector<QPoint> pts, TPenStyle style, double cx, double cy)
{
    const QVector<int> runs = DashRuns(style);
    if (runs.isEmpty()) return pts;
    std::sort(pts.begin(), pts.end(), [&](const QPoint& a, const QPoint& b) {
        return std::atan2(a.y() - cy, a.x() - cx) < std::atan2(b.y() - cy, b.x() - cx);
    });
    int period = 0;
    for (int r : runs)
        period += r;
    QVector<QPoint> out;
    for (int i = 0; i < pts.size(); ++i) {
        int phase = i % period, k = 0;
        while (phase >= runs[k])
            phase -= runs[k++];
        if (k % 2 == 0) out << pts[i];
    }
    return out;
}

// Each point fills its whole logical pixel: a cosmetic pen's point is one device pixel, which at a
// device-pixel ratio of 2 leaves three quarters of the pixel out and a line dotted. Neighbours in a row
// go out as one rectangle, and such a run right below one of the same columns joins it (the upright
// sides of a curve), so that few fills cover the same pixels.
inline void PlotPoints(QPainter* p, const QVector<QPoint>& pts, const QColor& color)
{
    if (pts.isEmpty()) return;
    std::vector<QRect> rects;
    rects.reserve(size_t(pts.size()));
    for (int i = 0; i < pts.size();) {
        int n = 1;
        while (i + n < pts.size() && pts[i + n].y() == pts[i].y() && pts[i + n].x() == pts[i].x() + n)
            ++n;
        const QRect run(pts[i].x(), pts[i].y(), n, 1);
        i += n;
        // A row of a curve's outline holds a run or two: the one above lies a few runs back.
        bool joined = false;
        for (size_t k = rects.size(), seen = 0; k > 0 && seen < 4 && !joined; --k, ++seen) {
            QRect& r = rects[k - 1];
            if (r.left() == run.left() && r.width() == run.width() && r.top() + r.height() == run.top()) {
                r.setHeight(r.height() + 1);
                joined = true;
            }
        }
        if (!joined) rects.push_back(run);
    }
    const bool smooth = p->testRenderHint(QPainter::Antialiasing);
    if (smooth) {
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
    }
    for (const QRect& r : rects)
        p->fillRect(r, color);
    if (smooth) p->restore();
}

// Whether an outline drawn after the fill over the fill's own pixels leaves them as they are.
inline bool OutlineHidden(QPainter* p, const TPen& pen, const TBrush& brush)
{
    const QPainter::CompositionMode mode = p->compositionMode();
    return brush.Style == bsSolid && ColorToRGB(pen.Color) == ColorToRGB(brush.Color) &&
           (mode == QPainter::CompositionMode_SourceOver || mode == QPainter::CompositionMode_Source);
}

// One row of an image as QImage::pixel() sees it, at the columns xs (the blits and the canvas read rows so).
void FetchRow(const QImage& img, int y, const int* xs, int n, QRgb* out);
} // namespace GraphicsDetail
