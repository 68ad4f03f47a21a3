#pragma once
// Helpers shared by every owner-drawn control: text extents on a canvas, the automatic edge colours and
// the "&" accelerator of a caption.

#include "platform/Color.h"
#include "platform/Graphics.h"

#include <QString>

class QIcon;

// Icon drawn by a button; the owner keeps the icon alive (null for none).
using TIconHandle = const QIcon*;

// Width and height of text on dc in its font; 0 when there is no device to measure on.
int TextWidthOf(HDC dc, const QString& text);
int TextHeightOf(HDC dc, const QString& text);

// Each channel +64 capped at 255 / -64 floored at 0, after resolving system colours.
TColor Lighter(TColor color);
TColor Darker(TColor color);

// A font as the windows' form tables give it: face name, height (negative: pixels), colour and styles.
TFont MakeFont(const QString& name, int height, TColor color = clBlack, TFontStyles style = 0);

// Removes the first "&" from s and returns its 1-based position; 0 (s unchanged) when there is none.
int StripAccel(QString& s);
// Whether ch is the accelerator of caption: the character after its first "&", ASCII case ignored.
bool IsAccel(QChar ch, const QString& caption);

// Stores value in field when it differs; true when it did (the caller then repaints).
template <class T> bool ChangeField(T& field, const T& value)
{
    if (field == value) return false;
    field = value;
    return true;
}

// Draws a caption already stripped of its "&" at (x, y) with a clear brush, and underlines its
// accelerator (1-based position accel, 0 for none) one pixel below the text cell. Disabled: silver at
// (x, y) and white at (x + 1, y + 1), the underline silver and one pixel lower white; the font colour is
// kept. Leaves the pen in the last colour drawn.
void DrawButtonCaption(TCanvas* canvas, int x, int y, const QString& text, int accel, bool enabled);
// The two halves of DrawButtonCaption, for buttons that draw a picture in between.
void DrawButtonText(TCanvas* canvas, int x, int y, const QString& text, bool enabled);
void DrawAccelUnderline(TCanvas* canvas, int x, int y, const QString& text, int accel, bool enabled);
