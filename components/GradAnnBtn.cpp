#include "components/GradAnnBtn.h"

#include "components/ControlUtils.h"
#include "platform/WinUtil.h"

namespace {
// The colour of step i of half toward the end colour; a zero half (a one-line button) keeps the start.
TColor StepColor(TColor begin, TColor end, int i, int half)
{
    auto channel = [&](int b, int e) { return (b + (half == 0 ? 0 : MulDiv(i, e - b, half))) & 0xFF; };
    return RGB(channel(GetRValue(begin), GetRValue(end)), channel(GetGValue(begin), GetGValue(end)),
               channel(GetBValue(begin), GetBValue(end)));
}
} // namespace

TGradAnnBtn::TGradAnnBtn(QWidget* parent) : TGraphicControl(parent)
{
    SetBounds(Left(), Top(), 50, 25);
    FCanvas.Font = Font();
}

void TGradAnnBtn::SetBeginColor(TColor value)
{
    if (ChangeField(FBeginColor, value)) Repaint();
}

void TGradAnnBtn::SetEndColor(TColor value)
{
    if (ChangeField(FEndColor, value)) Repaint();
}

void TGradAnnBtn::SetDown(bool value)
{
    if (ChangeField(FDown, value)) Invalidate();
}

void TGradAnnBtn::SetGradType(TGradType value)
{
    if (!ChangeField(FGradType, value)) return;
    FGradFill = value == TGradType::gtVertCenter ? &TGradAnnBtn::FillVertCenter : &TGradAnnBtn::FillHorizCenter;
    Repaint();
}

void TGradAnnBtn::SetMouseIn(bool value)
{
    if (!Designing()) FMouseIn = value;
}

void TGradAnnBtn::DoGradFill(TColor beginC, TColor endC)
{
    if (FGradFill) (this->*FGradFill)(beginC, endC);
}

void TGradAnnBtn::FillVertCenter(TColor beginC, TColor endC)
{
    TCanvas* c = Canvas();
    const TColor b = ColorToRGB(beginC), e = ColorToRGB(endC);
    const int w = Width(), h = Height(), half = h / 2;
    c->Brush.Style = bsSolid;
    for (int i = 0; i <= half; ++i) {
        c->Brush.Color = StepColor(b, e, i, half);
        c->FillRect(Rect(0, i, w, i + 1));
        c->FillRect(Rect(0, h - i - 1, w, h - i));
    }
}

void TGradAnnBtn::FillHorizCenter(TColor beginC, TColor endC)
{
    TCanvas* c = Canvas();
    const TColor b = ColorToRGB(beginC), e = ColorToRGB(endC);
    const int w = Width(), h = Height(), half = w / 2;
    c->Brush.Style = bsSolid;
    for (int i = 0; i <= half; ++i) {
        c->Brush.Color = StepColor(b, e, i, half);
        c->FillRect(Rect(i, 0, i + 1, h));
        c->FillRect(Rect(w - i - 1, 0, w - i, h));
    }
}

void TGradAnnBtn::Paint()
{
    if (FDown)
        DoGradFill(FEndColor, FBeginColor);
    else
        DoGradFill(FBeginColor, FEndColor);
    TCanvas* c = Canvas();
    const QString text = Caption();
    const int tw = TextWidthOf(c->Handle(), text), th = TextHeightOf(c->Handle(), text);
    const int x = Width() - tw > 0 ? (Width() - tw) / 2 : 2;
    const int y = Height() - th > 0 ? (Height() - th) / 2 : 2;
    c->Brush.Style = bsClear;
    c->TextOut(x, y, text);
}

void TGradAnnBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TGradAnnBtn> self(this);
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!self || button != mbLeft) return;
    FDown = true;
    Invalidate();
}

void TGradAnnBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<TGradAnnBtn> self(this);
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!self || button != mbLeft) return;
    FDown = false;
    Invalidate();
}

void TGradAnnBtn::MouseEnter()
{
    if (!Designing()) FMouseIn = true;
    TGraphicControl::MouseEnter();
}

void TGradAnnBtn::MouseLeave()
{
    if (!Designing()) FMouseIn = false;
    TGraphicControl::MouseLeave();
}

void TGradAnnBtn::FontChanged()
{
    FCanvas.Font = Font();
    Invalidate();
}
