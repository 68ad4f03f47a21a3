// The canvas: GDI drawing over QPainter and QImage, and the font it draws with.
#include "platform/Graphics.h"
#include "platform/GraphicsDetail.h"

using namespace GraphicsDetail;

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
                  QBrush(ToQColor(Brush.Color), QtBrushStyle(Brush.Style)), [&](int x, int y) {
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
