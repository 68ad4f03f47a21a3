#include "components/KeybdButton.h"

#include "components/ControlUtils.h"

TKeybdButton::TKeybdButton(QWidget* parent) : TGraphicControl(parent)
{
    SetBounds(Left(), Top(), 40, 40);
}

void TKeybdButton::SetAlignment(TAlignment value)
{
    if (ChangeField(FAlignment, value)) Repaint();
}

void TKeybdButton::SetBevelSize(int value)
{
    if (ChangeField(FBevelSize, std::max(1, value))) Repaint();
}

void TKeybdButton::SetBevelStyle(TButtonBevel value)
{
    if (ChangeField(FBevelStyle, value)) Repaint();
}

void TKeybdButton::SetColor(TColor value)
{
    if (ChangeField(FColor, value)) Repaint();
}

void TKeybdButton::SetBevelBasicColor(TColor value)
{
    if (!ChangeField(FBevelBasicColor, value)) return;
    FHighLightColor = Lighter(value);
    FShadowColor = Darker(value);
    Repaint();
}

void TKeybdButton::SetRoundDegree(int value)
{
    if (value < 0 || value > Width() / 2 || value > Height() / 2) return;
    if (ChangeField(FRoundDegree, value)) Repaint();
}

TColor TKeybdButton::GetBlendedColor(TColor aColor, TColor bColor, int aColorPercent)
{
    const TColor a = ColorToRGB(aColor), b = ColorToRGB(bColor);
    const int p = (aColorPercent > 100 || aColorPercent < 0) ? 50 : aColorPercent;
    auto mix = [p](int av, int bv) { return (bv * (100 - p) + av * p) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void Frame3D(TCanvas* canvas, TRect r, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen.Width = 1;
    canvas->Pen.Style = psSolid;
    r.Right -= 1;
    r.Bottom -= 1;
    for (; width > 0; --width) {
        canvas->Pen.Color = topColor;
        canvas->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
        canvas->Pen.Color = bottomColor;
        canvas->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left - 1, r.Bottom)});
        InflateRect(r, -1, -1);
    }
}

void TKeybdButton::Paint()
{
    TCanvas* c = Canvas();
    const int w = Width(), h = Height(), bs = FBevelSize, d = FBevelSize + FRoundDegree;
    c->Font = Font();
    if (FBevelStyle != TButtonBevel::bbNone) {
        const bool raised = FBevelStyle == TButtonBevel::bbRaised;
        const TColor top = raised ? FHighLightColor : FShadowColor;
        const TColor bottom = raised ? FShadowColor : FHighLightColor;
        Frame3D(c, Rect(0, 0, w, h), top, bottom, d);
        // Where the two rim colours meet, a mitre line in their mix.
        c->Pen.Color = GetBlendedColor(top, bottom, 50);
        for (int k = -1; k <= 1; ++k) {
            c->MoveTo(0, h + k);
            c->LineTo(d, h + k - d);
            c->MoveTo(w + k, 0);
            c->LineTo(w + k - d, d);
        }
    }
    c->Brush.Style = bsSolid;
    c->Brush.Color = FColor;
    c->Pen.Color = FColor;
    c->RoundRect(bs, bs, w - bs, h - bs, FRoundDegree, FRoundDegree);

    const QString text = Caption();
    const int tw = TextWidthOf(c->Handle(), text), th = TextHeightOf(c->Handle(), text);
    int x = (w - 2 * bs - tw) / 2 + bs + 1;
    int y = (h - 2 * bs - th) / 2 + bs + 1;
    if (FAlignment == TAlignment::alBottomCenter) {
        y = h - bs + 1 - th;
    } else if (FAlignment == TAlignment::alBottomRight) {
        x = w - bs - tw;
        y = h - bs + 1 - th;
    }
    c->Brush.Style = bsClear;
    c->TextOut(x, y, text);
}
