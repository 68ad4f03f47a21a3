#include "components/BorderLabel.h"

#include "components/ControlUtils.h"

TBorderLabel::TBorderLabel(QWidget* parent) : TGraphicControl(parent)
{
    SetBounds(Left(), Top(), 50, 25);
    FCanvas.Font = Font();
}

void TBorderLabel::SetAutoSize(bool value)
{
    if (FBorderShape == TBorderShape::bsCircle || !ChangeField(FAutoSize, value)) return;
    MeasureText();
    Invalidate();
}

void TBorderLabel::SetBorderShape(TBorderShape value)
{
    if (!ChangeField(FBorderShape, value)) return;
    MeasureText();
    Invalidate();
}

void TBorderLabel::SetMoreWidth(int value)
{
    if (!ChangeField(FMoreWidth, value)) return;
    MeasureText();
    Invalidate();
}

void TBorderLabel::SetMoreHeight(int value)
{
    if (!ChangeField(FMoreHeight, value)) return;
    MeasureText();
    Invalidate();
}

void TBorderLabel::SetBorderWidth(int value)
{
    if (ChangeField(FBorderWidth, std::max(1, value))) Invalidate();
}

void TBorderLabel::SetBorderColor(TColor value)
{
    if (ChangeField(FBorderColor, value)) Invalidate();
}

void TBorderLabel::SetColor(TColor value)
{
    if (ChangeField(FColor, value)) Invalidate();
}

void TBorderLabel::SetRoundDegree(int value)
{
    if (ChangeField(FRoundDegree, value)) Invalidate();
}

void TBorderLabel::SetTextAlign(TTextAlign value)
{
    if (ChangeField(FTextAlign, value)) Invalidate();
}

void TBorderLabel::SetTextOffSetX(int value)
{
    if (ChangeField(FTextOffSetX, value)) Invalidate();
}

void TBorderLabel::SetTextOffSetY(int value)
{
    if (ChangeField(FTextOffSetY, value)) Invalidate();
}

void TBorderLabel::SetMouseIn(bool value)
{
    if (!Designing()) FMouseIn = value;
}

void TBorderLabel::Loaded()
{
    FCanvas.Font = Font();
    MeasureText();
    Repaint();
}

void TBorderLabel::FontChanged()
{
    FCanvas.Font = Font();
    MeasureText();
    Invalidate();
}

void TBorderLabel::TextChanged()
{
    if (!parentWidget()) return;
    MeasureText();
    Invalidate();
}

void TBorderLabel::MouseEnter()
{
    FMouseIn = true;
    TGraphicControl::MouseEnter();
}

void TBorderLabel::MouseLeave()
{
    FMouseIn = false;
    TGraphicControl::MouseLeave();
}

void TBorderLabel::MeasureText()
{
    TextW = std::max(TextWidthOf(Canvas()->Handle(), Caption()), 15);
    TextH = std::max(TextHeightOf(Canvas()->Handle(), Caption()), 10);
    if (FAutoSize) SetBounds(Left(), Top(), TextW + FMoreWidth, TextH + FMoreHeight);
    if (FBorderShape == TBorderShape::bsCircle) {
        // A circle is sized once and keeps its size.
        FAutoSize = false;
        if (Width() < Height())
            SetWidth(Height());
        else if (Height() < Width())
            SetHeight(Width());
    }
}

void TBorderLabel::Paint()
{
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    c->Brush.Style = bsSolid;
    c->Brush.Color = FColor;
    c->Pen.Style = psSolid;
    c->Pen.Color = FBorderColor;
    c->Pen.Width = FBorderWidth;
    switch (FBorderShape) {
    case TBorderShape::bsRectangle:
        c->Rectangle(0, 0, w, h);
        break;
    case TBorderShape::bsRoundRect:
        c->RoundRect(2, 2, w - 2, h - 2, FRoundDegree, FRoundDegree);
        break;
    case TBorderShape::bsCircle:
    case TBorderShape::bsEllipse:
        c->Ellipse(2, 2, w - 2, h - 2);
        break;
    }
    c->Pen.Width = 1;
    c->Brush.Style = bsClear;
    int x = (w - TextW) / 2, y = (h - TextH) / 2;
    switch (FTextAlign) {
    case TTextAlign::taCenter:
        break;
    case TTextAlign::taLeft:
        x = FBorderWidth + FMoreWidth / 2;
        break;
    case TTextAlign::taTop:
        y = 3;
        break;
    case TTextAlign::taBottom:
        y = h - TextH - 3;
        break;
    case TTextAlign::taRight:
        x = w - TextW - 3;
        break;
    }
    c->TextOut(x + FTextOffSetX, y + FTextOffSetY, Caption());
}
