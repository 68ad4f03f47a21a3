#pragma once
// The speed meter's drawing primitives: a stepped gradient fill, 3-D boxes in oblique view (solid, banded,
// gradient-filled, wire outline, downward arrow) and the keyed blend of one 24-bit bitmap over another.
// Colours are taken as their three low bytes (no system-colour lookup), except the blend's key colour.

#include "platform/Color.h"
#include "platform/Graphics.h"

#include <QImage>
#include <QString>

#include <initializer_list>

namespace Zavadu {

// Draws the meter's plain shapes with GDI's rules: rectangles with right and bottom edges exclusive,
// lines without their end point, convex polygons filled and outlined in one colour. On a 24-bit bitmap it
// writes the pixels itself (hundreds of small shapes a frame; the painter's per-call cost would dominate),
// on any other canvas it draws through the canvas.
class TPlot
{
public:
    explicit TPlot(TCanvas* canvas);
    void Fill(int l, int t, int r, int b, TColor color);
    void Line(int x0, int y0, int x1, int y1, TColor color);
    // A convex polygon, filled and outlined.
    void Polygon(std::initializer_list<TPoint> points, TColor color);
    // Rectangle with a pen outline and a brush inside; a clear brush leaves the inside.
    void Rectangle(int l, int t, int r, int b, TColor pen, TColor brush, bool clearBrush = false);

private:
    void Span(int x0, int x1, int y, const uint8_t* bgr);
    void Pixel(int x, int y, const uint8_t* bgr);
    TCanvas* FCanvas;
    QImage* FImage = nullptr;
    int FW = 0, FH = 0;
};

// Mode "v": lines run top to bottom, "h": left to right; a second character "c" mirrors the fill.
void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor FromColor, TColor ToColor, const QString& Mode);
// Rect becomes the stem's rectangle.
void DrawDropArrowBlock(TCanvas* Canvas, TRect& Rect, TColor Color, int Depth);
void Draw3DBox(TCanvas* Canvas, const TRect& Rect, int Depth, TColor Color, bool Banded);
void FillGradient3DBox(TCanvas* Canvas, const TRect& Rect, int Slant, TColor FromColor, TColor ToColor,
                       const QString& Mode);
void DrawWireBox(TCanvas* Canvas, const TRect& Rect, int Depth, TColor Color);
// Dest := Src over Dest with weight Alpha, except where Src has the key colour; nothing unless both are
// 24-bit bitmaps of one size.
void BlendBitmaps(TBitmap* Dest, TBitmap* Src, TColor KeyColor, float Alpha);

} // namespace Zavadu
