#include "components/ControlUtils.h"

#include "platform/WinUtil.h"

#include <algorithm>

namespace {
int ClampChannel(int v)
{
    return std::min(255, std::max(0, v));
}

TColor Shift(TColor color, int delta)
{
    const TColor c = ColorToRGB(color);
    return RGB(ClampChannel(GetRValue(c) + delta), ClampChannel(GetGValue(c) + delta),
               ClampChannel(GetBValue(c) + delta));
}
} // namespace

int TextWidthOf(HDC dc, const QString& text)
{
    return dc ? dc->TextExtent(text).X : 0;
}

int TextHeightOf(HDC dc, const QString& text)
{
    return dc ? dc->TextExtent(text).Y : 0;
}

TColor Lighter(TColor color)
{
    return Shift(color, 64);
}

TColor Darker(TColor color)
{
    return Shift(color, -64);
}

int StripAccel(QString& s)
{
    const int pos = int(s.indexOf(QLatin1Char('&')));
    if (pos < 0) return 0;
    s.remove(pos, 1);
    return pos + 1;
}

bool IsAccel(QChar ch, const QString& caption)
{
    QString stripped = caption;
    const int p = StripAccel(stripped);
    if (p <= 0 || p > stripped.size()) return false;
    if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ch = QChar(ch.unicode() - 'a' + 'A');
    return CompareText(QString(ch), QString(stripped.at(p - 1))) == 0;
}

void DrawButtonCaption(TCanvas* canvas, int x, int y, const QString& text, int accel, bool enabled)
{
    DrawButtonText(canvas, x, y, text, enabled);
    DrawAccelUnderline(canvas, x, y, text, accel, enabled);
}

void DrawButtonText(TCanvas* canvas, int x, int y, const QString& text, bool enabled)
{
    canvas->Brush.Style = bsClear;
    if (enabled) {
        canvas->TextOut(x, y, text);
    } else {
        const TColor saved = canvas->Font.Color;
        canvas->Font.Color = 0xC0C0C0;
        canvas->TextOut(x, y, text);
        canvas->Font.Color = 0xFFFFFF;
        canvas->TextOut(x + 1, y + 1, text);
        canvas->Font.Color = saved;
    }
}

void DrawAccelUnderline(TCanvas* canvas, int x, int y, const QString& text, int accel, bool enabled)
{
    if (accel <= 0) return;
    HDC dc = canvas->Handle();
    const int left = x + TextWidthOf(dc, text.left(accel - 1));
    const int right = x + TextWidthOf(dc, text.left(accel));
    const int base = y + TextHeightOf(dc, QStringLiteral("H"));
    canvas->Pen.Style = psSolid;
    canvas->Pen.Width = 1;
    if (enabled) {
        canvas->Pen.Color = canvas->Font.Color;
        canvas->MoveTo(left, base);
        canvas->LineTo(right, base);
    } else {
        canvas->Pen.Color = 0xC0C0C0;
        canvas->MoveTo(left, base);
        canvas->LineTo(right, base);
        canvas->Pen.Color = 0xFFFFFF;
        canvas->MoveTo(left, base + 1);
        canvas->LineTo(right, base + 1);
    }
}

TFont MakeFont(const QString& name, int height, TColor color, TFontStyles style)
{
    TFont f;
    f.Name = name;
    f.Height = height;
    f.Color = color;
    f.Style = style;
    return f;
}
