#pragma once
// Picture effects for button faces: a blit that leaves the picture's top-left colour transparent, a fade
// toward white or black and a tint toward a colour. Fade and tint change the bitmap in place.

#include "platform/Graphics.h"

// Draws bitmap at (x, y) on dc, every pixel of its top-left pixel's colour left out. With w > 0 and h > 0
// the bitmap is first stretched to w x h (the key colour then comes from the stretched copy); otherwise it
// is drawn at its own size. An empty bitmap draws nothing.
void DrawBitmapTransparent(HDC dc, int x, int y, TBitmap* bitmap, int w, int h);
// As DrawBitmapTransparent with a copy faded by FadeBitmap(percent); bitmap itself is left alone.
void DrawBitmapTransparentFaded(HDC dc, int x, int y, int percent, TBitmap* bitmap, int w, int h);
// percent > 0 toward white, < 0 toward black, by |percent| percent; |percent| > 100 changes nothing.
// 24- and 32-bit pictures fade every byte of a row; the others fade their colours (palette entries of
// 1-, 4- and 8-bit pictures, the decoded channels of 15- and 16-bit ones).
void FadeBitmap(TBitmap* bitmap, int percent);
// Blends every pixel of a 24-bit bitmap toward color by percent; other formats and percent > 100 are left.
void TintBitmap(TBitmap* bitmap, TColor color, uint8_t percent);
// Bytes one pixel takes in a scan line; raises "Unknown Pixel-Format." for pfCustom.
int BytesPerPixel(TBitmap* bitmap);
