#pragma once
// The speed meter's drawing primitives: a stepped gradient fill, 3-D boxes in oblique view (solid, banded,
// gradient-filled, wire outline, downward arrow) and the keyed blend of one 24-bit bitmap over another.
// Colours are taken as their three low bytes (no system-colour lookup), except the blend's key colour.

#include "Color.h"
#include "Graphics.h"

#include <QString>

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
