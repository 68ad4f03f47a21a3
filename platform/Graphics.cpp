#include "platform/Graphics.h"

#include "platform/Exception.h"
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

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

QRgb ToRgb(TColor c)
{
    const TColor r = ColorToRGB(c);
    return qRgb(GetRValue(r), GetGValue(r), GetBValue(r));
}

TColor FromRgb(QRgb c)
{
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

QImage::Format FormatOf(TPixelFormat f)
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

QVector<QRgb> MonoPalette()
{
    return {kBlack, kWhite};
}

// The 16 colours of the classic 4-bit palette.
QVector<QRgb> Palette16()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

bool IsIndexed(const QImage& img)
{
    return img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB ||
           img.format() == QImage::Format_Indexed8;
}

bool Paintable(QImage::Format f)
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

int NearestIndex(const QImage& img, QRgb c)
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

void StoreRgb(QImage& img, int x, int y, QRgb c)
{
    if (IsIndexed(img))
        img.setPixel(x, y, uint(NearestIndex(img, c)));
    else
        img.setPixel(x, y, c | 0xFF000000u);
}

QImage BlankImage(int w, int h, QImage::Format format, const QVector<QRgb>& palette)
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

uint32_t ApplyRop(uint32_t rop, uint32_t s, uint32_t d)
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

bool RopNeedsSource(uint32_t rop)
{
    return rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

QPainter::CompositionMode ModeOf(uint32_t rop)
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

Qt::PenStyle QtPenStyle(TPenStyle s)
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
QVector<int> DashRuns(TPenStyle s)
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

Qt::BrushStyle QtBrushStyle(TBrushStyle s)
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
QVector<QPoint> Dashed(QVector<QPoint> pts, TPenStyle style, double cx, double cy)
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
void PlotPoints(QPainter* p, const QVector<QPoint>& pts, const QColor& color)
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
bool OutlineHidden(QPainter* p, const TPen& pen, const TBrush& brush)
{
    const QPainter::CompositionMode mode = p->compositionMode();
    return brush.Style == bsSolid && ColorToRGB(pen.Color) == ColorToRGB(brush.Color) &&
           (mode == QPainter::CompositionMode_SourceOver || mode == QPainter::CompositionMode_Source);
}

} // namespace

// ---- TFont ----

int TFont::Size() const
{
    return Height < 0 ? -MulDiv(Height, 72, kPixelsPerInch) : MulDiv(Height, 72, kPixelsPerInch);
}

void TFont::SetSize(int points)
{
    Height = -MulDiv(points, kPixelsPerInch, 72);
}

QFont TFont::ToQFont() const
{
    QFont f(Name);
    if (Height < 0) {
        f.setPixelSize(-Height);
    } else if (Height > 0) {
        // A positive height is the whole cell; scale the em so ascent + descent comes out at it.
        f.setPixelSize(Height);
        const int cell = QFontMetrics(f).height();
        if (cell > 0 && cell != Height) f.setPixelSize(std::max(1, int(std::lround(double(Height) * Height / cell))));
    } else {
        f.setPixelSize(11);
    }
    f.setBold(Style & fsBold);
    f.setItalic(Style & fsItalic);
    f.setUnderline(Style & fsUnderline);
    f.setStrikeOut(Style & fsStrikeOut);
    return f;
}

namespace {
void FetchRow(const QImage& img, int y, const int* xs, int n, QRgb* out);
}

// ---- TCanvas ----

TCanvas::TCanvas() = default;

TCanvas::TCanvas(TBitmap* owner) : FOwner(owner) {}

TCanvas::~TCanvas()
{
    ReleasePainter();
}

void TCanvas::AttachPainter(QPainter* painter)
{
    FExternal = painter;
    if (painter) painter->setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::Detach()
{
    FExternal = nullptr;
}

bool TCanvas::IsAttached() const
{
    return FExternal || (FOwner && !FOwner->FImage.isNull());
}

QImage* TCanvas::Image()
{
    if (!FOwner || FOwner->FImage.isNull()) return nullptr;
    return &FOwner->MutableImage();
}

int TCanvas::SurfaceWidth()
{
    if (FExternal && FExternal->device()) return FExternal->device()->width();
    return FOwner ? FOwner->Width() : 0;
}

int TCanvas::SurfaceHeight()
{
    if (FExternal && FExternal->device()) return FExternal->device()->height();
    return FOwner ? FOwner->Height() : 0;
}

QPainter* TCanvas::Painter()
{
    if (FExternal) return FExternal;
    if (!FOwner || FOwner->FImage.isNull()) return nullptr;
    if (!FOwn) {
        QImage& img = FOwner->FImage;
        img.bits(); // detach from copies before painting
        if (Paintable(img.format())) {
            FOwn = new QPainter(&img);
        } else {
            FWork = img.convertToFormat(QImage::Format_RGB32);
            FOwn = new QPainter(&FWork);
        }
        FOwn->setRenderHint(QPainter::Antialiasing, false);
    }
    return FOwn;
}

void TCanvas::ReleasePainter()
{
    if (!FOwn) return;
    FOwn->end();
    delete FOwn;
    FOwn = nullptr;
    if (!FWork.isNull() && FOwner) {
        QImage& img = FOwner->FImage;
        img = FWork.convertToFormat(img.format(), img.colorTable(), Qt::ThresholdDither | Qt::AvoidDither);
        FWork = QImage();
    }
}

void TCanvas::PreparePen(QPainter* p, bool outline)
{
    if (!outline || Pen.Style == psClear) {
        p->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(Pen.Color));
    pen.setWidth(std::max(1, Pen.Width));
    pen.setStyle(QtPenStyle(Pen.Style));
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p->setPen(pen);
}

void TCanvas::PrepareBrush(QPainter* p)
{
    if (Brush.Style == bsClear) {
        p->setBrush(Qt::NoBrush);
        p->setBackgroundMode(Qt::TransparentMode);
        return;
    }
    p->setBrush(QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)));
    p->setBackground(QBrush(ToQColor(BkColor())));
    p->setBackgroundMode(Qt::OpaqueMode);
}

TColor TCanvas::BkColor() const
{
    // The class library selects a changed brush before it draws again, and that sets the background
    // colour back to the brush's: an explicit one lasts only while the brush stays as it was.
    return FBkColorSet && Brush == FBkBrush ? FBkColor : ColorToRGB(Brush.Color);
}

TColor TCanvas::SetBkColor(TColor color)
{
    const TColor old = BkColor();
    FBkColor = ColorToRGB(color);
    FBkColorSet = true;
    FBkBrush = Brush;
    return old;
}

void TCanvas::FillRect(const TRect& r)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty() || Brush.Style == bsClear) return;
    p->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)));
}

void TCanvas::FrameRect(const TRect& r)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty() || Brush.Style == bsClear) return;
    const QColor c = ToQColor(Brush.Color);
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::ShapeOutline(TShape kind, int x1, int y1, int x2, int y2, int rw, int rh)
{
    QPainter* p = Painter();
    if (!p) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const int w = x2 - x1, h = y2 - y1;
    if (w <= 0 || h <= 0) return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    const bool clearPen = Pen.Style == psClear;
    if (kind == TShape::Rectangle && Pen.Width <= 1 && Pen.Style == psSolid) {
        // Exact: interior in the brush, a one-pixel frame in the pen.
        if (Brush.Style != bsClear && w > 2 && h > 2)
            p->fillRect(QRect(x1 + 1, y1 + 1, w - 2, h - 2), QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)));
        const QColor c = ToQColor(Pen.Color);
        p->fillRect(QRect(x1, y1, w, 1), c);
        p->fillRect(QRect(x1, y2 - 1, w, 1), c);
        p->fillRect(QRect(x1, y1, 1, h), c);
        p->fillRect(QRect(x2 - 1, y1, 1, h), c);
    } else if (kind == TShape::Rectangle && clearPen) {
        if (Brush.Style != bsClear && w > 1 && h > 1)
            p->fillRect(QRect(x1, y1, w - 1, h - 1), QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)));
    } else if (kind == TShape::Rectangle && Pen.Width <= 1) {
        // A styled one-pixel frame runs once around, the dash pattern carried from side to side.
        if (Brush.Style != bsClear && w > 2 && h > 2)
            p->fillRect(QRect(x1 + 1, y1 + 1, w - 2, h - 2), QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)));
        Polyline({Point(x1, y1), Point(x2 - 1, y1), Point(x2 - 1, y2 - 1), Point(x1, y2 - 1), Point(x1, y1)});
    } else if (kind == TShape::Ellipse || (kind == TShape::RoundRect && Pen.Width <= 1)) {
        const QBrush brush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style));
        const QColor pen = ToQColor(Pen.Color);
        const int pw = std::max(1, Pen.Width);
        if (kind == TShape::Ellipse) {
            // Without a pen the platform fills one pixel less to the right and bottom.
            const TEllipseShape e(x1, y1, clearPen ? x2 - 1 : x2, clearPen ? y2 - 1 : y2);
            if (Brush.Style != bsClear)
                FillRows(p, x1, y1, x2, y2, brush, [&](int x, int y) { return e.Inside(x, y); });
            if (!clearPen && pw == 1 && !OutlineHidden(p, Pen, Brush)) {
                PlotPoints(p,
                           Dashed(RowBoundary(x1, y1, x2, y2, [&](int x, int y) { return e.Inside(x, y); }), Pen.Style,
                                  e.Cx, e.Cy),
                           pen);
            } else if (!clearPen) {
                // A wide pen is centred on the outline.
                const double grow = (pw - 1) / 2.0;
                const int m = int(std::ceil(grow)) + 1;
                const auto ring = [&](int x, int y) { return e.Inside(x, y, grow) && !e.Inside(x, y, grow - pw); };
                FillSpans(p, x1 - m, y1 - m, x2 + m, y2 + m, QBrush(pen), ring);
            }
        } else {
            const TRoundRectShape rr{x1, y1, clearPen ? x2 - 1 : x2, clearPen ? y2 - 1 : y2, rw, rh};
            const auto inside = [&](int x, int y) { return rr.Inside(x, y); };
            if (Brush.Style != bsClear) FillRows(p, x1, y1, x2, y2, brush, inside);
            if (!clearPen && !OutlineHidden(p, Pen, Brush))
                PlotPoints(p, Dashed(RowBoundary(x1, y1, x2, y2, inside), Pen.Style, (x1 + x2) / 2.0, (y1 + y2) / 2.0),
                           pen);
        }
    } else if (kind == TShape::RoundRect && !clearPen) {
        // A wide pen is centred on the one-pixel outline: (width - 1) / 2 pixels outward, the rest inward.
        const int pw = Pen.Width, out = (pw - 1) / 2, in = pw - 1 - out;
        const TRoundRectShape rr{x1, y1, x2, y2, rw, rh};
        const TRoundRectShape outer{x1 - out, y1 - out, x2 + out, y2 + out, rw + 2 * out, rh + 2 * out};
        const TRoundRectShape inner{x1 + 1 + in,
                                    y1 + 1 + in,
                                    x2 - 1 - in,
                                    y2 - 1 - in,
                                    std::max(0, rw - 2 * (in + 1)),
                                    std::max(0, rh - 2 * (in + 1))};
        if (Brush.Style != bsClear)
            FillSpans(p, x1, y1, x2, y2, QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)),
                      [&](int x, int y) { return rr.Inside(x, y); });
        FillSpans(p, x1 - out, y1 - out, x2 + out, y2 + out, QBrush(ToQColor(Pen.Color)),
                  [&](int x, int y) { return outer.Inside(x, y) && !inner.Inside(x, y); });
    } else {
        PreparePen(p, true);
        PrepareBrush(p);
        p->setBackgroundMode(Qt::TransparentMode);
        // A one-pixel pen on QRect(x, y, w - 1, h - 1) covers columns x .. x + w - 1: GDI's exclusive edges.
        const QRect box(x1, y1, std::max(0, w - 1), std::max(0, h - 1));
        if (kind == TShape::Rectangle)
            p->drawRect(box);
        else
            p->drawRoundedRect(QRectF(box), rw / 2.0, rh / 2.0);
    }
    p->restore();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    ShapeOutline(TShape::Rectangle, x1, y1, x2, y2, 0, 0);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    ShapeOutline(TShape::RoundRect, x1, y1, x2, y2, x3, y3);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    ShapeOutline(TShape::Ellipse, x1, y1, x2, y2, 0, 0);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    QPainter* p = Painter();
    if (!p || Pen.Style == psClear) return;
    const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
    if (r - l <= 0 || b - t <= 0) return;
    const TEllipseShape e(l, t, r, b);
    // The rays are measured through the points, as the platform does, on the ellipse's parameter.
    auto rayAngle = [&](int x, int y) {
        const double d = std::atan2(-(y - e.Cy) / e.B, (x - e.Cx) / e.A) * 180.0 / M_PI;
        return d < 0 ? d + 360.0 : d;
    };
    // The points depend on the eight numbers alone; buttons draw the same arcs on every paint, and the
    // angle of every outline point is what costs.
    struct TArcPoints
    {
        std::array<int, 8> Args;
        QVector<QPoint> Points;
    };
    thread_local std::vector<TArcPoints> recent;
    const std::array<int, 8> args{l, t, r, b, x3, y3, x4, y4};
    QVector<QPoint> pts;
    const auto found = std::find_if(recent.begin(), recent.end(), [&](const TArcPoints& a) { return a.Args == args; });
    if (found != recent.end()) {
        pts = found->Points;
    } else {
        const double start = rayAngle(x3, y3);
        double span = rayAngle(x4, y4) - start;
        if (span <= 0) span += 360.0;
        for (const QPoint& pt : RowBoundary(l, t, r, b, [&](int x, int y) { return e.Inside(x, y); })) {
            const double d = std::fmod(e.Angle(pt.x(), pt.y()) - start + 720.0, 360.0);
            if (d <= span + 1e-9) pts << pt;
        }
        if (recent.size() >= 32) recent.erase(recent.begin());
        recent.push_back({args, pts});
    }
    if (Pen.Width > 1) {
        // Wide arcs are rare here; widen each point.
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        const int w = Pen.Width, h = (w - 1) / 2;
        for (const QPoint& pt : pts)
            p->fillRect(QRect(pt.x() - h, pt.y() - h, w, w), ToQColor(Pen.Color));
        p->restore();
        return;
    }
    PlotPoints(p, Dashed(pts, Pen.Style, e.Cx, e.Cy), ToQColor(Pen.Color));
}

void TCanvas::Polygon(const QVector<TPoint>& points)
{
    QPainter* p = Painter();
    if (!p || points.size() < 2) return;
    QPolygon poly;
    for (const TPoint& pt : points)
        poly << QPoint(pt.X, pt.Y);
    const bool thinPen = Pen.Style != psClear && Pen.Width <= 1;
    if (!thinPen) {
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        PreparePen(p, true);
        PrepareBrush(p);
        p->setBackgroundMode(Qt::TransparentMode);
        p->drawPolygon(poly, Qt::OddEvenFill);
        p->restore();
        return;
    }
    if (Brush.Style != bsClear) {
        // The interior is decided per logical pixel (on a mask at ratio 1), so that on a HiDPI surface it
        // meets the outline without a half-pixel seam.
        const QRect box = poly.boundingRect();
        QImage mask(box.size(), QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter mp(&mask);
        mp.setPen(Qt::NoPen);
        mp.setBrush(Qt::white);
        // A pixel is inside when its own point is: the outline's lines run through pixel points too.
        mp.translate(QPointF(-box.left() + 0.5, -box.top() + 0.5));
        mp.drawPolygon(QPolygonF(poly), Qt::OddEvenFill);
        mp.end();
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        FillSpans(p, box.left(), box.top(), box.left() + box.width(), box.top() + box.height(),
                  QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)),
                  [&](int x, int y) {
                      const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y - box.top()));
                      return row[x - box.left()] == qRgb(255, 255, 255);
                  });
        p->restore();
    }
    // The outline is the closed run of lines, each without its end point, so every vertex is drawn once.
    QVector<TPoint> closed = points;
    if (closed.front() != closed.back()) closed << closed.front();
    Polyline(closed);
}

void TCanvas::Polyline(const QVector<TPoint>& points)
{
    if (points.isEmpty()) return;
    const TPoint saved = FPenPos;
    FPenPos = points.front();
    FDashPhase = 0;
    for (int i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
    FPenPos = saved;
}

void TCanvas::MoveTo(int x, int y)
{
    FPenPos = TPoint{x, y};
    FDashPhase = 0;
}

void TCanvas::LineTo(int x, int y)
{
    PlotLine(FPenPos.X, FPenPos.Y, x, y);
    FPenPos = TPoint{x, y};
}

// Bresenham from (x1, y1) toward (x2, y2), the end point left out, as GDI draws cosmetic lines.
void TCanvas::PlotLine(int x1, int y1, int x2, int y2)
{
    QPainter* p = Painter();
    if (!p || Pen.Style == psClear || (x1 == x2 && y1 == y2)) return;
    if (Pen.Width > 1) {
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        PreparePen(p, true);
        QPen pen = p->pen();
        pen.setCapStyle(Qt::FlatCap);
        p->setPen(pen);
        p->drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
        p->restore();
        return;
    }
    if (Pen.Style == psSolid && (x1 == x2 || y1 == y2)) {
        // A level or upright line is one rectangle (a frame draws dozens of them).
        const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        const int x = x2 < x1 ? x2 + 1 : x1, y = y2 < y1 ? y2 + 1 : y1;
        FDashPhase += n;
        const bool smooth = p->testRenderHint(QPainter::Antialiasing);
        if (smooth) {
            p->save();
            p->setRenderHint(QPainter::Antialiasing, false);
        }
        p->fillRect(y1 == y2 ? QRect(x, y1, n, 1) : QRect(x1, y, 1, n), ToQColor(Pen.Color));
        if (smooth) p->restore();
        return;
    }
    const QVector<int> runs = DashRuns(Pen.Style);
    int period = 0;
    for (int r : runs)
        period += r;
    QVector<QPoint> pts;
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (x != x2 || y != y2) {
        bool on = true;
        if (period > 0) {
            int phase = FDashPhase % period, i = 0;
            while (phase >= runs[i]) {
                phase -= runs[i];
                ++i;
            }
            on = (i % 2) == 0;
        }
        ++FDashPhase;
        if (on) pts << QPoint(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    PlotPoints(p, pts, ToQColor(Pen.Color));
}

TColor TCanvas::Pixel(int x, int y)
{
    QImage* img = Image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return TColor(-1);
    return FromRgb(img->pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (FExternal) {
        FExternal->fillRect(QRect(x, y, 1, 1), ToQColor(color));
        return;
    }
    QImage* img = Image();
    if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return;
    StoreRgb(*img, x, y, ToRgb(color));
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    QPainter* p = Painter();
    const QFont font = Font.ToQFont();
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(text);
    if (p && !text.isEmpty()) {
        p->save();
        if (Brush.Style != bsClear) p->fillRect(QRect(x, y, w, fm.height()), ToQColor(BkColor()));
        p->setFont(font);
        p->setPen(ToQColor(Font.Color));
        p->setBackgroundMode(Qt::TransparentMode);
        p->drawText(QPoint(x, y + fm.ascent()), text);
        p->restore();
    }
    FPenPos = TPoint{x + w, y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    QPainter* p = Painter();
    if (!p) return;
    p->save();
    p->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
    if (Brush.Style != bsClear) p->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), ToQColor(BkColor()));
    const QFont font = Font.ToQFont();
    const QFontMetrics fm(font);
    p->setFont(font);
    p->setPen(ToQColor(Font.Color));
    p->drawText(QPoint(x, y + fm.ascent()), text);
    p->restore();
}

TPoint TCanvas::TextExtent(const QString& text)
{
    // The platform measures an empty text as 0 x 0.
    if (text.isEmpty()) return TPoint{0, 0};
    const QFontMetrics fm(Font.ToQFont());
    return TPoint{fm.horizontalAdvance(text), fm.height()};
}

int TCanvas::TextWidth(const QString& text)
{
    return TextExtent(text).X;
}

int TCanvas::TextHeight(const QString& text)
{
    return TextExtent(text).Y;
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty()) return;
    StretchDraw(Bounds(x, y, bitmap->Width(), bitmap->Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty() || r.IsEmpty() || bitmap == FOwner) return;
    QImage img;
    if (bitmap->Transparent) {
        // The picture with its key colour cleared is kept for the next paint: made again only when the
        // picture's pixels (its cache key) or the key colour change.
        struct TKeyed
        {
            qint64 Picture;
            QRgb Key;
            QImage Image;
        };
        thread_local std::vector<TKeyed> recent;
        const QRgb key = ToRgb(bitmap->TransparentColor()) & 0xFFFFFFu;
        const qint64 picture = bitmap->ToImage().cacheKey();
        const auto found = std::find_if(recent.begin(), recent.end(),
                                        [&](const TKeyed& k) { return k.Picture == picture && k.Key == key; });
        if (found != recent.end()) {
            img = found->Image;
        } else {
            const QImage& source = bitmap->ToImage();
            if (source.format() == QImage::Format_BGR888) {
                // One pass straight from the picture's rows (a banner is drawn on the first paint). Every
                // pixel is opaque or fully clear, so the premultiplied form holds the same values and
                // draws without a conversion.
                img = QImage(source.width(), source.height(), QImage::Format_ARGB32_Premultiplied);
                for (int yy = 0; yy < img.height(); ++yy) {
                    const uchar* in = source.constScanLine(yy);
                    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(yy));
                    for (int xx = 0; xx < img.width(); ++xx, in += 3) {
                        const QRgb rgb = QRgb(in[2]) << 16 | QRgb(in[1]) << 8 | in[0];
                        row[xx] = rgb == key ? 0 : 0xFF000000u | rgb;
                    }
                }
            } else {
                img = bitmap->ToRgbImage().convertToFormat(QImage::Format_ARGB32);
                for (int yy = 0; yy < img.height(); ++yy) {
                    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(yy));
                    for (int xx = 0; xx < img.width(); ++xx)
                        if ((row[xx] & 0xFFFFFFu) == key) row[xx] = 0;
                }
            }
            if (recent.size() >= 8) recent.erase(recent.begin());
            recent.push_back({picture, key, img});
        }
    } else {
        // Likewise the picture in a paintable format.
        struct TConverted
        {
            qint64 Picture;
            QImage Image;
        };
        thread_local std::vector<TConverted> recent;
        const qint64 picture = bitmap->ToImage().cacheKey();
        const auto found =
            std::find_if(recent.begin(), recent.end(), [&](const TConverted& k) { return k.Picture == picture; });
        if (found != recent.end()) {
            img = found->Image;
        } else {
            img = bitmap->ToRgbImage();
            if (recent.size() >= 8) recent.erase(recent.begin());
            recent.push_back({picture, img});
        }
    }
    QPainter* p = Painter();
    if (!p) return;
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), img);
    p->restore();
}

void TCanvas::DrawImage(const TRect& r, const QImage& image)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty() || image.isNull()) return;
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), image);
    p->restore();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src)
{
    StretchBlt(this, dest.Left, dest.Top, dest.Width(), dest.Height(), source, src.Left, src.Top, src.Width(),
               src.Height(), CopyMode);
}

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

// ---- blits ----

namespace {
bool IsMono(HDC dc)
{
    QImage* img = dc ? dc->Image() : nullptr;
    return img && (img->format() == QImage::Format_Mono || img->format() == QImage::Format_MonoLSB);
}
} // namespace

bool BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop)
{
    return StretchBlt(dest, x, y, w, h, src, sx, sy, w, h, rop);
}

namespace {
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
} // namespace

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
