#include "components/KeybdButton.h"

#include "components/ControlUtils.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

bool TKeybdButton::CacheLooks = true;

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

bool TKeybdButton::TLookKey::operator==(const TLookKey& o) const
{
    return W == o.W && H == o.H && Scale == o.Scale && Format == o.Format && Color == o.Color &&
           HighLight == o.HighLight && Shadow == o.Shadow && FontColor == o.FontColor && BevelSize == o.BevelSize &&
           RoundDegree == o.RoundDegree && BevelStyle == o.BevelStyle && Alignment == o.Alignment && Font == o.Font &&
           Caption == o.Caption;
}

int TKeybdButton::KeptLooks() const
{
    return int(std::count_if(FLooks.begin(), FLooks.end(), [](const TLook& l) { return !l.Image.isNull(); }));
}

void TKeybdButton::Paint()
{
    TCanvas* c = Canvas();
    if (CacheLooks && PaintCachedLook(c)) return;
    PaintLook(c);
}

// Drawing a cap takes hundreds of one-pixel fills; a practice window repaints caps on every key. A kept
// look is copied instead, where the copy lands on exactly the pixels the drawing would.
bool TKeybdButton::PaintCachedLook(TCanvas* c)
{
    if (FBevelStyle == TButtonBevel::bbNone) return false; // the rounded corners show what lies behind
    QPainter* p = c->AttachedPainter();
    QPaintEngine* engine = p && p->isActive() ? p->paintEngine() : nullptr;
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return false;
    const QImage::Format format = static_cast<QImage*>(device)->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) return false;
    // Only where a logical pixel is a whole square of device pixels.
    const QTransform t = p->deviceTransform();
    const qreal scale = t.m11();
    if (t.type() > QTransform::TxScale || t.m22() != scale || scale < 1 || scale > 8 || scale != std::floor(scale) ||
        t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;

    TLookKey key;
    key.W = Width();
    key.H = Height();
    key.Scale = int(scale);
    key.Format = format;
    key.Color = ColorToRGB(FColor);
    key.HighLight = ColorToRGB(FHighLightColor);
    key.Shadow = ColorToRGB(FShadowColor);
    key.Font = Font();
    key.FontColor = ColorToRGB(key.Font.Color);
    key.BevelSize = FBevelSize;
    key.RoundDegree = FRoundDegree;
    key.BevelStyle = FBevelStyle;
    key.Alignment = FAlignment;
    key.Caption = Caption();
    if (key.W <= 0 || key.H <= 0) return false;

    TLook* look = nullptr;
    for (TLook& kept : FLooks)
        if (!kept.Image.isNull() && kept.Key == key) look = &kept;
    if (look) {
        c->Font = key.Font; // as a paint leaves the canvas: it measures the caption
    } else {
        look = &FLooks[size_t(FNextLook)];
        FNextLook = (FNextLook + 1) % int(FLooks.size());
        look->Key = key;
        look->Image = QImage(key.W * key.Scale, key.H * key.Scale, format);
        look->Image.setDevicePixelRatio(scale);
        look->Image.fill(Qt::black);
        QPainter lookPainter(&look->Image);
        c->Detach();
        c->AttachPainter(&lookPainter);
        PaintLook(c);
        c->Detach();
        c->AttachPainter(p);
    }
    p->drawImage(QPoint(0, 0), look->Image);
    return true;
}

void TKeybdButton::PaintLook(TCanvas* c)
{
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
