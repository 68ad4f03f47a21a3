// Rendering of the speed meter: the bars of each series, the chart around them, the labels, legend and
// page buttons, the blend over the background picture and the copy to the screen.

#include "components/ZavaduMeter.h"

#include "components/ZavaduMeterDraw.h"
#include "platform/Application.h"
#include "platform/Exception.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

using namespace Zavadu;

namespace {
// Text without a background cell (the platform's transparent background mode); the brush goes back after.
void TextOutClear(TCanvas* c, int x, int y, const QString& text)
{
    const TBrushStyle style = c->Brush.Style;
    c->Brush.Style = bsClear;
    c->TextOut(x, y, text);
    c->Brush.Style = style;
}

void FillColor(TCanvas* c, const TRect& r, TColor color)
{
    TPlot(c).Fill(r.Left, r.Top, r.Right, r.Bottom, color);
}

void SetBitmapSize(TBitmap& b, int w, int h)
{
    // Resized only when the size changes: no allocation per frame.
    if (b.Width() != w || b.Height() != h) b.SetSize(w, h);
}
} // namespace

// ---- one bar ----

void TZavaduSeries::Draw(TCanvas* Canvas, const TRect& AreaIn, int MaxValue, int SeriesOrder, bool quickChange)
{
    TZavaduMeter* m = FOwner;
    TCanvas* back = m->FBackgroundBitmap.Canvas();
    FSeriesRect = AreaIn;
    int baseY = AreaIn.Bottom - (m->ShowAxis() ? 1 : 0);
    const double custom = FBlockList->TotalBlockValue();
    const TBarCounts counts =
        ComputeBarCounts(AreaIn.Height(), FBlockHeight, MaxValue, custom, FBlueValue, FOrangeValue, FRedValue);
    const int total = Nearest(custom + FBlueValue + FOrangeValue + FRedValue);

    TRect area = AreaIn;
    if (area.Width() > m->MaxBarWidth()) InflateRect(area, -((area.Width() - m->MaxBarWidth()) / 2), 0);
    const int lineH = Canvas->TextHeight(QStringLiteral("H"));

    if (FShowName) {
        back->Font = m->Font();
        if (m->ShowFocus()) {
            if (FIsFocus)
                back->Font.Style |= fsBold;
            else
                back->Font.Style &= ~TFontStyles(fsBold);
        }
        back->Brush.Color = m->Color();
        const int nameW = back->TextWidth(FDisplayName);
        const int row = m->FNameRowCount > 1 ? SeriesOrder % m->FNameRowCount : 0;
        int x = area.Left + (area.Width() + (m->Use3DBlock() ? m->BlockDepth() : 0) - nameW) / 2;
        if (x + nameW > area.Right - 1) x = area.Right - nameW - 1;
        if (x < area.Left + 1) x = area.Left + 1;
        if (x + nameW >= m->FBackgroundBitmap.Width()) x = m->FBackgroundBitmap.Width() - nameW - 1;
        TextOutClear(back, x, baseY + 2 + lineH * row, FDisplayName);
    }
    back->Pen.Color = 0xC0C0C0;
    if (FDrawBorder) back->Rectangle(area);
    if (FShowNameOnTop)
        TextOutClear(back, area.Left + (area.Width() - back->TextWidth(FDisplayName)) / 2, area.Top - 18, FDisplayName);

    char dropType = 'N';
    if (FOrangeValue == 0 && FRedValue == 0)
        dropType = 'B';
    else if (FRedValue == 0 && FOrangeValue > 0)
        dropType = 'O';
    else if (FRedValue > 0)
        dropType = 'R';

    const bool down = FConnected && FIsDown;
    if (down) {
        dropType = 'D';
        InflateRect(area, -(area.Width() / 7), 0);
        area.Top += (area.Height() / 5) * 2;
        if (area.Height() > 200) area.Top = area.Bottom - 200;
        if (!m->Use3DBlock()) {
            const QString text = QStringLiteral("Down");
            TextOutClear(back, area.Left + (area.Width() - back->TextWidth(text)) / 2, baseY - 20, text);
            return;
        }
    }
    if (!m->Active()) {
        FCurrentBlueValue = counts.Blue;
        FCurrentOrangeValue = counts.Orange;
        FCurrentRedValue = counts.Red;
    }
    if (!down) {
        for (int i = 0; i < FBlockList->Count(); ++i) {
            const TSeriesBlock* b = FBlockList->Items(i);
            DrawBlocks(Canvas, area, ScaleValue(counts.BarBlocks, total, false, b->Value), baseY, b->Color, false,
                       false);
        }
        FCurrentBlueValue = StepToward(FCurrentBlueValue, counts.Blue);
        DrawBlocks(Canvas, area, quickChange ? counts.Blue : FCurrentBlueValue, baseY, BlockBlueColor(),
                   dropType == 'B', true);
        FCurrentOrangeValue = StepToward(FCurrentOrangeValue, counts.Orange);
        DrawBlocks(Canvas, area, quickChange ? counts.Orange : FCurrentOrangeValue, baseY, BlockOrangeColor(),
                   dropType == 'O', true);
        FCurrentRedValue = StepToward(FCurrentRedValue, counts.Red);
        DrawBlocks(Canvas, area, quickChange ? counts.Red : FCurrentRedValue, baseY, BlockRedColor(), dropType == 'R',
                   true);
    }
    TColor dropColor = clBlack;
    switch (dropType) {
    case 'B':
        dropColor = FBlockBlueColor;
        break;
    case 'O':
        dropColor = FBlockOrangeColor;
        break;
    case 'R':
        dropColor = FBlockRedColor;
        break;
    case 'D':
        dropColor = m->DownColor();
        break;
    }
    if (m->OnGetBlockColor) m->OnGetBlockColor(this, dropType, dropColor);
    DrawDropBlock(Canvas, area, baseY, FBlockHeight, dropColor, false);
}

void TZavaduSeries::DrawBlocks(TCanvas* Canvas, const TRect& Area, double Value, int& Y, TColor Color, bool TopShort,
                               bool Whole)
{
    if (Value <= 0) return;
    const int n = Trunc(Value);
    const int k = TopShort ? 1 : 0;
    if (FOwner->Use3DBlock() && k < Value) {
        int count = 1;
        int h = 0;
        if (Whole) {
            count = n - k;
            h = FBlockHeight * (n - k);
        } else {
            h = std::max(1, Trunc((Value - k) * FBlockHeight));
        }
        FOwner->Draw3DBlock(this, Canvas, Rect(Area.Left, Y - h, Area.Right, Y), Color, count);
        Y -= h;
        return;
    }
    for (int i = 0; i < n - k; ++i) {
        DrawBlock(Canvas, Rect(Area.Left, Y - FBlockHeight, Area.Right, Y), Color, false, false);
        Y -= FBlockHeight;
    }
}

void TZavaduSeries::DrawBlock(TCanvas* Canvas, const TRect& R, TColor Color, bool Border, bool Split)
{
    TZavaduMeter* m = FOwner;
    if (m->Use3DBlock()) {
        m->Draw3DBlock(this, Canvas, R, Color, 1);
        return;
    }
    if (m->ShowFocus() && !FIsFocus) Color = BlendColors(Color, m->UnfocusedColor(), 80);
    if (!FConnected) Color = BlendColors(Color, clBlack, 110);
    TPlot plot(Canvas);
    if (!Split) {
        plot.Fill(R.Left, R.Top, R.Right, R.Bottom, Color);
    } else {
        const int parts = (FBlueValue != 0) + (FOrangeValue != 0) + (FRedValue != 0);
        const int part = std::max(1, parts ? R.Height() / parts : 1);
        int top = R.Top;
        const struct
        {
            double Value;
            char Kind;
        } bands[] = {{FBlueValue, 'B'}, {FOrangeValue, 'O'}, {FRedValue, 'R'}};
        for (const auto& band : bands) {
            if (band.Value == 0) continue;
            const TColor c = band.Kind == 'B'   ? BlockBlueColor()
                             : band.Kind == 'O' ? BlockOrangeColor()
                                                : BlockRedColor();
            plot.Fill(R.Left, top, R.Right, R.Bottom, c);
            top += part;
        }
    }
    if (Border) plot.Rectangle(R.Left, R.Top, R.Right, R.Bottom, FBlockBorderColor, Color, Split);
    if (R.Height() >= 2) {
        if (!Border) {
            plot.Line(R.Left, R.Bottom - 1, R.Left, R.Top, FBlockBorderColor);
            plot.Line(R.Left, R.Top, R.Right - 1, R.Top, FBlockBorderColor);
            plot.Line(R.Right - 1, R.Top, R.Right - 1, R.Bottom, FBlockBorderColor);
        }
        if (!Split) plot.Fill(R.Left + 2, R.Top + 2, R.Right - 2, R.Top + 3, BlendColors(Color, clWhite, 140));
    }
}

void TZavaduSeries::DrawDropBlock(TCanvas* Canvas, const TRect& AreaIn, int cY, int bH, TColor C, bool blendColors)
{
    TZavaduMeter* m = FOwner;
    TCanvas* back = m->FBackgroundBitmap.Canvas();
    TRect area = AreaIn;
    FBounce.Advance(FIsDown, FBlockHeight, m->Use3DBlock());
    int y = cY - (m->Active() ? FBounce.YPos : 0);
    if (y > area.Bottom) y = area.Bottom;
    if (!FConnected) y = cY;
    const TRect drop = Rect(area.Left, y - bH, area.Right, y);

    const double total = FBlockList->TotalBlockValue() + FRedValue + FOrangeValue + FBlueValue;
    const int depth = m->Use3DBlock() ? m->BlockDepth() : 0;
    const int room = m->FSeriesWidth + depth;
    QString text = DropValueText(m->ValueFormat(), m->ZeroValueString(), total, FConnected && !FIsDown,
                                 [&](const QString& t) { return room <= back->TextWidth(t) + 2; });
    const TColor fontColor = back->Font.Color;
    if (!FConnected) {
        text = QStringLiteral("-x-");
        back->Font.Color = 0x0000FF;
    }
    if (FConnected && FIsDown) {
        if (m->Active()) OffsetRect(area, 0, -FBounce.YPos);
        TColor arrow = m->DownColor();
        if (m->ShowFocus() && !FIsFocus) arrow = BlendColors(arrow, m->UnfocusedColor(), 80);
        DrawDropArrowBlock(Canvas, area, arrow, m->BlockDepth());
        y = area.Top + FBlockHeight;
        text = QStringLiteral("Down");
    } else if (FRedValue + FOrangeValue + FBlueValue > 0 && FConnected) {
        DrawBlock(Canvas, drop, C, true, blendColors);
    } else {
        y = cY + bH / 2;
    }
    const int tw = back->TextWidth(text);
    const int th = back->TextHeight(text);
    TextOutClear(back, area.Left + (area.Right + depth - area.Left - tw) / 2, y - bH - th - 5, text);
    back->Brush.Style = bsSolid;
    back->Font.Color = fontColor;
}

// ---- the meter's picture ----

int TZavaduMeter::LineHeight()
{
    TCanvas* back = FBackgroundBitmap.Canvas();
    back->Font = Font();
    return back->TextHeight(QStringLiteral("H"));
}

int TZavaduMeter::GetLegendWidth()
{
    if (!FLegendVisible) return 0;
    TCanvas* back = FBackgroundBitmap.Canvas();
    back->Font = Font();
    int widest = 0;
    for (const QString& entry : FLegend) {
        const int semi = int(entry.indexOf(u';'));
        widest = std::max(widest, back->TextWidth(semi < 0 ? entry : entry.mid(semi + 1)));
    }
    for (const QString* s : {&FBlockBlueLegend, &FBlockOrangeLegend, &FBlockRedLegend})
        if (!s->isEmpty()) widest = std::max(widest, back->TextWidth(*s));
    return widest + 65;
}

TRect TZavaduMeter::GetChartRect()
{
    const int bw = FBackgroundBitmap.Width(), bh = FBackgroundBitmap.Height();
    const int lineH = LineHeight();
    return Bounds(FMarginLeft, FMarginTop, bw - FMarginLeft - FMarginRight - GetLegendWidth(),
                  bh - FMarginTop - FMarginbotton - (lineH + 2) * FNameRowCount);
}

void TZavaduMeter::FlowChartRect(int& left, int& top, int& right, int& bottom) const
{
    const TRect r = const_cast<TZavaduMeter*>(this)->GetChartRect();
    left = r.Left, top = r.Top, right = r.Right, bottom = r.Bottom;
}

TRect TZavaduMeter::GetNavigateButtonRect()
{
    return NavigateRectAt(Width());
}

TRect TZavaduMeter::NavigateRectAt(int width)
{
    return Bounds(NavigateButtonLeft(width, GetLegendWidth()), kNavigateTop, kNavigateWidth, kNavigateHeight);
}

void TZavaduMeter::DrawChart(int W, int H, bool quickChange)
{
    if (!Visible() || FUpdating) return;
    const int oldMax = std::max(FMaxSeriesValue, FMaxBlockCount);
    FMaxSeriesValue = FMaxBlockCount;
    if (Width() < 1 || Height() < 1) return;
    // Until the bars are drawn none answers the hit test: a frame that fails before them shows none.
    FDrawnCount = 0;
    SetBitmapSize(FBufferBitmap, W, H);
    SetBitmapSize(FBackgroundBitmap, W, H);
    FRenderW = W;
    const bool blend = BlendMode();
    TCanvas* back = FBackgroundBitmap.Canvas();
    TCanvas* bars = blend ? FBufferBitmap.Canvas() : back;
    back->Font = Font();

    int chartW = W - GetLegendWidth() - FMarginRight - FMarginLeft - 7;
    if (chartW <= 0) chartW = 1;
    const int n = FSerieses->Count();
    const TBarLayout layout = ComputeBarLayout(chartW, n, FMinBlockWidth, FSeriesWidth);
    FVisibleBlockCount = layout.VisibleCount;
    FSeriesDistance = layout.Distance;
    FSeriesWidth = layout.SeriesWidth;
    if (layout.ResetFirst) FFirstBlockIndex = 0;
    FFirstBlockIndex = ClampFirstIndex(FFirstBlockIndex, n);
    const int lastVisible = std::min(FFirstBlockIndex + FVisibleBlockCount - 1, n - 1);
    if (FVisibleBlockCount >= 1) {
        std::vector<int> widths;
        for (int i = FFirstBlockIndex; i <= lastVisible; ++i)
            widths.push_back(back->TextWidth(FSerieses->Items(i)->DisplayName()));
        FNameRowCount = ComputeNameRows(widths, layout, chartW, FMaxNameRowCount);
    }

    int plotH = H - FMarginTop - FMarginbotton;
    int lineH = LineHeight();

    if (FUseBackGroundImage) {
        if (OnPaintBackGroundImage)
            OnPaintBackGroundImage(this, &FBackgroundBitmap, quickChange);
        else
            FillColor(back, Rect(0, 0, W, H), Color()); // nothing to paint over: no smear of the last frame
        if (FBlendAlpha < 1) FillColor(FBufferBitmap.Canvas(), Rect(0, 0, W, H), Color());
    } else {
        FillColor(back, Rect(0, 0, W, H), Color());
    }
    if (FBorderVisible) {
        back->Pen.Color = FBorderColor;
        back->Brush.Style = bsClear;
        back->Rectangle(0, 0, W, H);
        back->Brush.Style = bsSolid;
    }
    if (FShowAxis) {
        const TRect r = GetChartRect();
        back->Pen.Color = FAxisColor;
        FillColor(back, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), FAxisColor);
        if (!FShowOnlyXYAxis) FillColor(back, Rect(r.Left, r.Top, r.Right, r.Top + 1), FAxisColor);
        if (!(FShowOnlyXYAxis && FVertLabelsPos == alpRight))
            FillColor(back, Rect(r.Left, r.Top, r.Left + 1, r.Bottom), FAxisColor);
        if (!(FShowOnlyXYAxis && FVertLabelsPos != alpRight))
            FillColor(back, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), FAxisColor);
    }

    double grand = 0;
    for (int i = 0; i < n; ++i) {
        const TZavaduSeries* s = FSerieses->Items(i);
        const double sum = s->RedValue() + s->BlueValue() + s->OrangeValue();
        grand += sum;
        const double t = sum + s->BlockList()->TotalBlockValue();
        if (Trunc(t) > FMaxSeriesValue) {
            FMaxSeriesValue = Trunc(t) + 2;
            if (FAutoMaxBlockCount) FMaxBlockCount = FMaxSeriesValue;
        }
    }

    if (FShowTitle) {
        back->Font = FTitleFont;
        const QString text = Caption() + QStringLiteral(" (") + FormatFloat(FValueFormat, grand) + u')';
        back->Pen.Color = clBlack;
        // Placed by the width being rendered at, so PrintImage centres it in its own picture.
        TextOutClear(back, (W - back->TextWidth(text)) / 2, FMarginTop - back->TextHeight(text) - 2, text);
        back->Font = Font();
        lineH = back->TextHeight(text);
    }

    int M = FAutoMaxBlockCount && FMaxSeriesValue > FMaxBlockCount ? FMaxSeriesValue : FMaxBlockCount;
    if (M < 1) M = 1;
    if (M != oldMax && OnMaxChange) OnMaxChange(this, M);
    if (!quickChange) FMovingBlockChunkList->Resize(W, H, M);
    if (blend && FUseFlowingBlock) {
        DrawMovingBlocks(GetChartRect());
        back->Pen.Width = 1;
    }
    plotH -= (lineH + 2) * FNameRowCount;
    DrawVertLabels(M);

    FDrawnFirst = FFirstBlockIndex;
    if (FVisibleBlockCount >= 1) {
        const std::vector<int> lefts = BarLefts(FMarginLeft, layout);
        for (int i = FFirstBlockIndex, k = 0; i <= lastVisible; ++i, ++k) {
            const int xi = lefts[size_t(k)];
            const TRect area = Rect(xi, FMarginTop + 10, xi + FSeriesWidth, FMarginTop + plotH - 1);
            FDrawnCount = k + 1;
            FSerieses->Items(i)->Draw(bars, area, M, i, quickChange);
        }
    }
    if (FVisibleBlockCount < n) DrawNavigateButtons();
    if (FLegendVisible) DrawLegend();
}

void TZavaduMeter::DrawVertLabels(int M)
{
    const TRect r = GetChartRect();
    int labelX = 0;
    if (FVertLabelsPos == alpLeft)
        labelX = FMarginLeft;
    else if (FVertLabelsPos == alpRight)
        labelX = r.Right + 3;
    else if (!FShowGrid)
        return;
    TCanvas* back = FBackgroundBitmap.Canvas();
    const int lineH = LineHeight();
    const int bw = FBackgroundBitmap.Width(), bh = FBackgroundBitmap.Height();
    const int legendW = GetLegendWidth();
    const TLabelScale scale =
        ComputeLabelScale(bh, FMarginTop, FMarginbotton, lineH, FNameRowCount, FBlockHeight, M, FVertLabelsIncrement);
    const int t = FShowVertAxisTick ? 1 : 0;
    for (int j = 0; j < scale.Count; ++j) {
        const int y = scale.Stops[size_t(j)].Y;
        if (FShowVertAxisTick && FVertLabelsPos != alpNone)
            FillColor(back, Rect(labelX - 3, y, FMarginLeft, y + 1), FAxisColor);
        if (j > 0 && FShowGrid)
            FillColor(back, Rect(FMarginLeft + 1, y, bw - FMarginRight - legendW - 1, y + 1), FGridColor);
        if (FVertLabelsPos != alpNone) {
            const QString text = QString::number(scale.Stops[size_t(j)].Value);
            const int x = FVertLabelsPos == alpLeft ? labelX - 3 * t - back->TextWidth(text) - 2 : labelX + 3 * t - 1;
            TextOutClear(back, x, y - lineH / 2 - 1, text);
        }
    }
}

void TZavaduMeter::DrawLegend()
{
    TCanvas* back = FBackgroundBitmap.Canvas();
    back->Font = Font();
    const int lw = GetLegendWidth();
    // Placed by the width being rendered at (the control's, or PrintImage's).
    int x = FRenderW - lw + 10;
    TCanvas* c = BlendMode() ? FBufferBitmap.Canvas() : back;
    c->Brush.Color = Color();
    c->Brush.Style = bsSolid;
    c->Pen.Color = FBorderColor;
    const int lineH = LineHeight();
    const int q = std::max(0, (lineH - FBlockHeight) / 2);
    QStringList entries;
    for (const auto& [legend, color] :
         {std::pair{&FBlockBlueLegend, FBlockBlueColor}, std::pair{&FBlockOrangeLegend, FBlockOrangeColor},
          std::pair{&FBlockRedLegend, FBlockRedColor}}) {
        const QString entry = LegendEntry(color, *legend);
        if (entry.size() > 10) entries << entry;
    }
    entries << FLegend;
    if (!entries.isEmpty()) c->Rectangle(x, 30, x + lw - 20, (lineH + 5) * int(entries.size()) + 37);
    x += 5;
    int y = 35;
    for (const QString& entry : entries) {
        TColor color = clWhite;
        QString name = entry;
        const int semi = int(entry.indexOf(u';'));
        if (semi >= 0) {
            color = StringToColor(entry.left(semi));
            name = entry.mid(semi + 1);
        }
        TRect swatch = Rect(x, y + q, x + 30, y + q + FBlockHeight);
        if (FUse3DBlock) {
            swatch.Top += FBlockDepth;
            swatch.Bottom += FBlockDepth;
            swatch.Right -= FBlockDepth;
            Draw3DBlock(nullptr, c, swatch, color, 1);
        } else {
            c->Brush.Color = color;
            c->Brush.Style = bsSolid;
            c->Pen.Color = FBorderColor;
            c->Rectangle(swatch);
            FillColor(c, Rect(x + 1, swatch.Bottom - 3, x + 29, swatch.Bottom - 2), BlendColors(color, clWhite, 140));
        }
        back->Font = Font();
        TextOutClear(back, x + 33, y, name);
        y += lineH + 5;
    }
}

void TZavaduMeter::DrawNavigateButtons()
{
    TCanvas* back = FBackgroundBitmap.Canvas();
    // Drawn by the width being rendered at; the control's own buttons answer at its own width.
    const TRect nav = NavigateRectAt(FRenderW);
    const int n = FSerieses->Count();
    auto button = [&](int L, bool held, bool enabled, bool prev) {
        const int T = nav.Top, B = nav.Bottom, R = L + kNavigateButtonWidth;
        const TColor a = 0xFFF7DF, b = 0xFED887;
        GradientFillRect(back, Rect(L, T, R, B), held ? b : a, held ? a : b, QStringLiteral("h"));
        const TColor arrow = enabled ? clBlack : 0xC0C0C0;
        back->Pen.Color = arrow;
        back->Brush.Color = arrow;
        back->Brush.Style = bsSolid;
        if (prev)
            back->Polygon({Point(L + 4, T + 6), Point(R - 5, T + 3), Point(R - 5, B - 3)});
        else
            back->Polygon({Point(L + 5, T + 3), Point(R - 4, T + 6), Point(L + 5, B - 3)});
        back->Pen.Color = clBlack;
        back->Brush.Style = bsClear;
        back->RoundRect(L, T, R, B, 3, 3);
        back->Brush.Style = bsSolid;
    };
    button(nav.Left, FMouseDownedNavigateButton == nbPrev, FFirstBlockIndex > 0, true);
    button(nav.Left + kNavigateButtonWidth, FMouseDownedNavigateButton == nbNext,
           FFirstBlockIndex + FVisibleBlockCount < n, false);
}

void TZavaduMeter::Draw3DBlock(TZavaduSeries* Series, TCanvas* Canvas, const TRect& Rc, TColor Color, int DividerCount)
{
    const int D = FBlockDepth;
    const TRect r = Rect(Rc.Left, Rc.Top - D, Rc.Right + D, Rc.Bottom + 1);
    if (Series) {
        if (FShowFocus && !Series->IsFocus()) Color = BlendColors(Color, FUnfocusedColor, 80);
        if (!Series->Connected()) Color = BlendColors(Color, clBlack, 110);
    }
    if (FUseGradient3DBlock)
        FillGradient3DBox(Canvas, r, D, Color, BlendColors(Color, clWhite, 90), QStringLiteral("h"));
    else
        Draw3DBox(Canvas, r, D, Color, FDrawGradientChunkIn3D);
    if (!FDrawBlockDivider) return;
    const TColor divider = BlendColors(Color, clBlack, 235);
    TPlot plot(Canvas);
    int y = r.Top + D + FBlockHeight;
    for (int i = 0; i < DividerCount; ++i) {
        plot.Line(r.Left, y, r.Right - D, y, divider);
        plot.Line(r.Right - D, y, r.Right, y - D, divider);
        y += FBlockHeight;
    }
    if (FUseGradient3DBlock) DrawWireBox(Canvas, r, D, divider);
}

void TZavaduMeter::DrawMovingBlocks(const TRect& r)
{
    TCanvas* back = FBackgroundBitmap.Canvas();
    for (int i = 0; i < FMovingBlockChunkList->Count(); ++i) {
        TMovingBlockChunk* chunk = FMovingBlockChunkList->Items(i);
        const TChunkPlace p = FMovingBlockChunkList->Place(chunk, r.Left, r.Top, r.Right, r.Bottom);
        if (OnDrawMovingBlock) {
            OnDrawMovingBlock(this, back, chunk, nullptr, p.X, p.Y);
        } else {
            back->Brush.Style = bsClear;
            back->Pen.Width = 3;
            back->Pen.Color = 0xF0CAA6;
            back->Ellipse(p.X - p.A, p.Y - p.A, p.X + p.A, p.Y + p.A);
            back->Brush.Style = bsSolid;
        }
    }
}

// ---- frames and the screen ----

void TZavaduMeter::FlushBuffer()
{
    if (BlendMode()) BlendBitmaps(&FBackgroundBitmap, &FBufferBitmap, Color(), FBlendAlpha);
    FFrameValid = true;
}

void TZavaduMeter::RenderFrame()
{
    ++FRenderCount;
    try {
        DrawChart(Width(), Height(), false);
    } catch (const Exception& e) {
        ReportPaintError(e.Message());
    } catch (const std::exception& e) {
        ReportPaintError(QString::fromUtf8(e.what()));
    }
    // What was drawn before a failure still reaches the screen.
    FlushBuffer();
}

void TZavaduMeter::ReportPaintError(const QString& message)
{
    // Once per message: an active meter would otherwise raise the same box on every tick.
    if (FReportedErrors.contains(message)) return;
    FReportedErrors << message;
    QTimer::singleShot(0, this, [message] { TApplication::ShowException(message); });
}

void TZavaduMeter::Paint()
{
    if (!Visible() || FUpdating) return;
    RenderFrame();
    TGraphicControl::Repaint();
}

void TZavaduMeter::Invalidate()
{
    FFrameValid = false;
    TGraphicControl::Invalidate();
}

void TZavaduMeter::Repaint()
{
    FFrameValid = false;
    TGraphicControl::Repaint();
}

void TZavaduMeter::paintEvent(QPaintEvent*)
{
    // An expose copies the last frame. It renders when there is none at this size, or when owner code
    // asked for a fresh one while idle; an active meter renders on its ticks only, so repaints of the
    // window never speed up the animation.
    const bool sized = FBackgroundBitmap.Width() == Width() && FBackgroundBitmap.Height() == Height();
    if ((!sized || (!FFrameValid && !FActive)) && Visible() && !FUpdating) RenderFrame();
    if (FBackgroundBitmap.Empty()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), FBackgroundBitmap.ToImage(), QRect(0, 0, Width(), Height()));
}

void TZavaduMeter::resizeEvent(QResizeEvent* event)
{
    FFrameValid = false;
    TGraphicControl::resizeEvent(event); // fires OnResize
}

void TZavaduMeter::PrintImage(HDC destDC, int x, int y, int w, int h, bool withLegend, bool quickChange)
{
    const float alpha = FBlendAlpha;
    const bool legend = FLegendVisible;
    // The print lays the bars out for its own size; the control keeps its page and the areas its mouse
    // handling answers for.
    const int distance = FSeriesDistance, seriesWidth = FSeriesWidth, nameRows = FNameRowCount;
    const int visible = FVisibleBlockCount, first = FFirstBlockIndex, drawnFirst = FDrawnFirst,
              drawnCount = FDrawnCount;
    std::vector<TRect> areas;
    for (int i = 0; i < FSerieses->Count(); ++i)
        areas.push_back(FSerieses->Items(i)->FSeriesRect);
    auto restore = [&] {
        FBlendAlpha = alpha;
        FLegendVisible = legend;
        FRenderW = Width();
        FSeriesDistance = distance;
        FSeriesWidth = seriesWidth;
        FNameRowCount = nameRows;
        FVisibleBlockCount = visible;
        FFirstBlockIndex = first;
        FDrawnFirst = drawnFirst;
        FDrawnCount = drawnCount;
        for (int i = 0; i < FSerieses->Count() && i < int(areas.size()); ++i)
            FSerieses->Items(i)->FSeriesRect = areas[size_t(i)];
    };
    FBlendAlpha = 1.0f;
    FLegendVisible = withLegend;
    // The bitmaps now hold the print; the next expose renders the control's own picture again.
    FFrameValid = false;
    try {
        DrawChart(w, h, quickChange);
        BitBlt(destDC, x, y, w, h, FBackgroundBitmap.Canvas(), 0, 0, SRCCOPY);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}
