#include "components/ZavaduMeter.h"

#include "engine/ThreadTimer.h"
#include "platform/Application.h"
#include "platform/Exception.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <utility>

using namespace Zavadu;

namespace {
// Letters a..z fold onto upper case; everything else compares by code unit.
bool SameTextAscii(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'a' && x <= u'z') x = char16_t(x - 32);
        if (y >= u'a' && y <= u'z') y = char16_t(y - 32);
        if (x != y) return false;
    }
    return true;
}
} // namespace

// ---- TSeriesBlockList ----

TSeriesBlock* TSeriesBlockList::Items(int index) const
{
    return index >= 0 && index < Count() ? FList[size_t(index)] : nullptr;
}

TSeriesBlock* TSeriesBlockList::Add(const QString& name)
{
    auto* b = new TSeriesBlock;
    b->BlockName = name;
    FList.push_back(b);
    return b;
}

void TSeriesBlockList::Delete(int AIndex)
{
    if (AIndex < 0 || AIndex >= Count()) return;
    delete FList[size_t(AIndex)];
    FList.erase(FList.begin() + AIndex);
}

void TSeriesBlockList::Clear()
{
    while (!FList.empty())
        Delete(0);
}

TSeriesBlock* TSeriesBlockList::FindBlock(const QString& ABlockName) const
{
    for (TSeriesBlock* b : FList)
        if (SameTextAscii(b->BlockName, ABlockName)) return b;
    return nullptr;
}

double TSeriesBlockList::TotalBlockValue() const
{
    double total = 0;
    for (const TSeriesBlock* b : FList)
        total += b->Value;
    return total;
}

// ---- TZavaduSeries (properties; drawing is in ZavaduMeterPaint.cpp) ----

TZavaduSeries::TZavaduSeries(TZavaduMeter* owner) : FOwner(owner), FBlockList(std::make_unique<TSeriesBlockList>())
{
    if (FOwner) {
        FBlockRedColor = FOwner->BlockRedColor();
        FBlockBlueColor = FOwner->BlockBlueColor();
        FBlockOrangeColor = FOwner->BlockOrangeColor();
        FBlockHeight = FOwner->BlockHeight();
        FMaxBlock = FOwner->MaxBlockCount();
    }
    FBounce.Reset(FBlockHeight);
}

TZavaduSeries::~TZavaduSeries()
{
    FBlockList->Clear();
}

void TZavaduSeries::Assign(const TZavaduSeries& s)
{
    FName = s.FName;
    FDisplayName = s.FDisplayName;
    FRedValue = s.FRedValue;
    FBlueValue = s.FBlueValue;
    FOrangeValue = s.FOrangeValue;
    FIsDown = s.FIsDown;
    FDrawBorder = s.FDrawBorder;
    FShowName = s.FShowName;
    FShowNameOnTop = s.FShowNameOnTop;
    FIsFocus = s.FIsFocus;
    FBlockBorderColor = s.FBlockBorderColor;
    FConnected = s.FConnected;
    FBlockRedColor = s.FBlockRedColor;
    FBlockBlueColor = s.FBlockBlueColor;
    FBlockOrangeColor = s.FBlockOrangeColor;
    FBlockList->Clear();
    for (int i = 0; i < s.FBlockList->Count(); ++i) {
        const TSeriesBlock* from = s.FBlockList->Items(i);
        TSeriesBlock* to = FBlockList->Add(from->BlockName);
        to->Value = from->Value;
        to->Color = from->Color;
    }
}

void TZavaduSeries::SetIsFocus(bool v)
{
    const bool changed = v != FIsFocus;
    FIsFocus = v;
    if (changed && FOwner && !FOwner->Active()) FOwner->Paint();
}

TColor TZavaduSeries::BlockRedColor()
{
    if (FOwner && FOwner->OnGetBlockColor) FOwner->OnGetBlockColor(this, 'R', FBlockRedColor);
    return FBlockRedColor;
}

TColor TZavaduSeries::BlockBlueColor()
{
    if (FOwner && FOwner->OnGetBlockColor) FOwner->OnGetBlockColor(this, 'B', FBlockBlueColor);
    return FBlockBlueColor;
}

TColor TZavaduSeries::BlockOrangeColor()
{
    if (FOwner && FOwner->OnGetBlockColor) FOwner->OnGetBlockColor(this, 'O', FBlockOrangeColor);
    return FBlockOrangeColor;
}

void TZavaduSeries::AddBlockItem(const QString& BlockName, double AValue, TColor AColor, bool isAdd)
{
    TSeriesBlock* block = nullptr;
    for (int i = 0; i < FBlockList->Count() && !block; ++i)
        if (FBlockList->Items(i)->BlockName == BlockName) block = FBlockList->Items(i);
    if (block)
        AColor = block->Color; // a block keeps its first colour
    else
        block = FBlockList->Add(BlockName);
    if (FOwner) {
        const QString entry = LegendEntry(AColor, BlockName);
        if (!FOwner->Legend().contains(entry, Qt::CaseInsensitive)) FOwner->Legend().append(entry);
    }
    block->Value = isAdd ? block->Value + AValue : AValue;
    block->Color = AColor;
    if (FOwner && !FOwner->Active()) FOwner->Paint();
}

// ---- TZavaduSerieses ----

TZavaduSerieses::TZavaduSerieses(TZavaduMeter* AOwner) : FOwner(AOwner) {}

TZavaduSerieses::~TZavaduSerieses()
{
    for (TZavaduSeries* s : FItems)
        delete s;
}

TZavaduSeries* TZavaduSerieses::Insert(int index)
{
    auto* s = new TZavaduSeries(FOwner);
    if (index < 0 || index >= Count())
        FItems.push_back(s);
    else
        FItems.insert(FItems.begin() + index, s);
    return s;
}

TZavaduSeries* TZavaduSerieses::Add(const QString& SeriesName, const QString& DisplayName)
{
    int position = -1;
    if (!FOwner || (FOwner->SortDirection() == ssdNone && FOwner->SortWhenAdd())) {
        for (int i = 0; i < Count() && position < 0; ++i)
            if (QString::compare(FItems[size_t(i)]->DisplayName(), DisplayName, Qt::CaseSensitive) > 0) position = i;
    }
    if (TZavaduSeries* existing = FindItem(SeriesName)) return existing;
    TZavaduSeries* s = Insert(position);
    s->SetName(SeriesName);
    s->SetDisplayName(DisplayName);
    return s;
}

TZavaduSeries* TZavaduSerieses::AddItem(const QString& aName, double b, double o, double r, bool isadd, bool isDown,
                                        bool Border, const QString& aDisplayName)
{
    int index = -1;
    for (int i = 0; i < Count() && index < 0; ++i)
        if (FItems[size_t(i)]->Name() == aName) index = i;
    const QString displayName = aDisplayName.isEmpty() ? aName : aDisplayName;
    TZavaduSeries* s = index < 0 ? Add(aName, displayName) : FItems[size_t(index)];
    s->SetDrawBorder(Border);
    const bool wasDown = s->IsDown();
    if (isadd) {
        s->SetBlueValue(s->BlueValue() + b);
        s->SetOrangeValue(s->OrangeValue() + o);
        s->SetRedValue(s->RedValue() + r);
    } else {
        s->SetBlueValue(b);
        s->SetOrangeValue(o);
        s->SetRedValue(r);
    }
    s->SetIsDown(isDown);
    if (isDown && !wasDown && FOwner) s->FBounce.YPos = FOwner->BlockHeight() / 2;
    if (FOwner && !FOwner->Active()) FOwner->Paint();
    if (index < 0 && FOwner && FOwner->SortDirection() != ssdNone) {
        Sort();
        FOwner->Paint();
    }
    return s;
}

TZavaduSeries* TZavaduSerieses::FindItem(const QString& aName) const
{
    for (TZavaduSeries* s : FItems)
        if (SameTextAscii(s->Name(), aName)) return s;
    return nullptr;
}

void TZavaduSerieses::ResetValues()
{
    for (TZavaduSeries* s : FItems) {
        s->SetBlueValue(0);
        s->SetOrangeValue(0);
        s->SetRedValue(0);
    }
}

void TZavaduSerieses::Clear()
{
    for (TZavaduSeries* s : FItems)
        delete s;
    FItems.clear();
    if (FOwner) FOwner->Legend().clear();
}

void TZavaduSerieses::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    delete FItems[size_t(index)];
    FItems.erase(FItems.begin() + index);
}

void TZavaduSerieses::Assign(const TZavaduSerieses& source)
{
    if (&source == this) return;
    for (TZavaduSeries* s : FItems)
        delete s;
    FItems.clear();
    for (const TZavaduSeries* from : source.FItems)
        Insert(-1)->Assign(*from);
}

int TZavaduSerieses::CompareSeries(TZavaduSeries* Item1, TZavaduSeries* Item2) const
{
    const int c = QString::compare(Item1->Name(), Item2->Name(), Qt::CaseSensitive);
    const int sign = c < 0 ? -1 : (c > 0 ? 1 : 0);
    return FOwner && FOwner->SortDirection() == ssdDescending ? -sign : sign;
}

void TZavaduSerieses::Sort()
{
    if (FItems.empty()) return;
    TCollectionSortCompare compare =
        FOwner && FOwner->OnSeriesCompare
            ? FOwner->OnSeriesCompare
            : TCollectionSortCompare([this](TZavaduSeries* a, TZavaduSeries* b) { return CompareSeries(a, b); });
    QuickSort(0, Count() - 1, compare);
}

void TZavaduSerieses::QuickSort(int L, int R, const TCollectionSortCompare& compare)
{
    // The classic partition sort: not stable. The bounds checks only matter for a comparer that is not
    // consistent, which must not walk off the list.
    int I = L;
    do {
        I = L;
        int J = R;
        TZavaduSeries* pivot = FItems[size_t((L + R) >> 1)];
        do {
            while (I < R && compare(FItems[size_t(I)], pivot) < 0)
                ++I;
            while (J > L && compare(FItems[size_t(J)], pivot) > 0)
                --J;
            if (I <= J) {
                std::swap(FItems[size_t(I)], FItems[size_t(J)]);
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J) QuickSort(L, J, compare);
        L = I;
    } while (I < R);
}

// ---- TZavaduMeter: creation, properties, mouse ----

TZavaduMeter::TZavaduMeter(QWidget* AOwner) : TGraphicControl(AOwner)
{
    FMovingBlockTimeSpan = 5000;
    FTimerInterval = 90;
    FRefreshTimer = new TThreadTimer(this);
    FRefreshTimer->SetInterval(FTimerInterval);
    FRefreshTimer->SetOnTimer([this](QObject*) { RefreshTimerTimer(); });
    FRefreshTimer->SetEnabled(false);
    FRefreshTimer->SetSyncTimerEvent(true);
    FSerieses = std::make_unique<TZavaduSerieses>(this);
    FMovingBlockChunkList = std::make_unique<TMovingBlockChunkList>(this);
    SetMaxBlockCount(10);
    FMaxSeriesValue = 10;
    FZeroValueString = QStringLiteral("0");
    SetColor(0xFFFFFF);
    FBufferBitmap.SetPixelFormat(pf24bit);
    FBackgroundBitmap.SetPixelFormat(pf24bit);
    SetBlockHeight(5);
    FValueFormat = QStringLiteral("#,##0.###");
    FTitleFont = Font();
    FTitleFont.SetSize(12);
}

TZavaduMeter::~TZavaduMeter()
{
    FRefreshTimer->SetOnTimer(nullptr);
    FRefreshTimer->SetEnabled(false);
    delete FRefreshTimer;
    FRefreshTimer = nullptr;
    FLegend.clear();
    FSerieses->Clear();
}

void TZavaduMeter::SetActive(bool v)
{
    FActive = v;
    FRefreshTimer->SetEnabled(v);
}

void TZavaduMeter::RefreshTimerTimer()
{
    // A tick queued before the meter was switched off is dropped.
    if (!FActive) return;
    if (FUseFlowingBlock) FMovingBlockChunkList->Step(FFlowVelocity);
    Paint();
}

void TZavaduMeter::SetLegendVisible(bool v)
{
    if (v == FLegendVisible) return;
    FLegendVisible = v;
    if (!FActive) Paint();
}

void TZavaduMeter::SetMaxBlockCount(int v)
{
    FMaxBlockCount = v;
    for (int i = 0; i < FSerieses->Count(); ++i)
        FSerieses->Items(i)->SetMaxBlock(v);
}

void TZavaduMeter::SetBlockHeight(int v)
{
    if (v == 0) return;
    FBlockHeight = v;
    for (int i = 0; i < FSerieses->Count(); ++i)
        FSerieses->Items(i)->FBlockHeight = v;
}

void TZavaduMeter::SetShowOnlyXYAxis(bool v)
{
    if (v == FShowOnlyXYAxis) return;
    FShowOnlyXYAxis = v;
    Paint();
}

void TZavaduMeter::SetSortDirection(TSeriesSortDirection v)
{
    if (v == FSortDirection) return;
    FSortDirection = v;
    if (v != ssdNone) {
        FSerieses->Sort();
        Paint();
    }
}

void TZavaduMeter::SetBlockRedColor(TColor v)
{
    FBlockRedColor = v;
    for (int i = 0; i < FSerieses->Count(); ++i)
        FSerieses->Items(i)->SetBlockRedColor(v);
}

void TZavaduMeter::SetBlockBlueColor(TColor v)
{
    FBlockBlueColor = v;
    for (int i = 0; i < FSerieses->Count(); ++i)
        FSerieses->Items(i)->SetBlockBlueColor(v);
}

void TZavaduMeter::SetBlockOrangeColor(TColor v)
{
    FBlockOrangeColor = v;
    for (int i = 0; i < FSerieses->Count(); ++i)
        FSerieses->Items(i)->SetBlockOrangeColor(v);
}

void TZavaduMeter::SetBlockRedLegend(const QString& v)
{
    FBlockRedLegend = v;
    if (FLegendVisible) Paint();
}

void TZavaduMeter::SetBlockOrangeLegend(const QString& v)
{
    FBlockOrangeLegend = v;
    if (FLegendVisible) Paint();
}

void TZavaduMeter::SetBlockBlueLegend(const QString& v)
{
    FBlockBlueLegend = v;
    if (FLegendVisible) Paint();
}

void TZavaduMeter::SetBlendAlpha(float v)
{
    if (v == FBlendAlpha) return;
    // Written so that a value that is not a number is refused too.
    if (!(v >= 0 && v <= 1)) throw Exception(QStringLiteral("BlendAlpha value must be in 0..1"));
    FBlendAlpha = v;
    if (!FActive) Repaint();
}

void TZavaduMeter::SetShowGrid(bool v)
{
    if (v == FShowGrid) return;
    FShowGrid = v;
    Paint();
}

void TZavaduMeter::SetVertLabelsPos(TAxisLabelsPosition v)
{
    if (v == FVertLabelsPos) return;
    FVertLabelsPos = v;
    Paint();
}

void TZavaduMeter::SetTimerInterval(int v)
{
    FTimerInterval = v;
    FRefreshTimer->SetInterval(v);
}

void TZavaduMeter::SetZeroValueString(const QString& v)
{
    if (v == FZeroValueString) return;
    FZeroValueString = v;
    if (!FActive) Paint();
}

void TZavaduMeter::SetFlowBlockPortion(float v)
{
    if (!(v > 0)) throw Exception(QStringLiteral("FlowBlockPortion must be larger than 0")); // also not a number
    if (v > 1) throw Exception(QStringLiteral("FlowBlockPortion must be less than 1 or equal with 1"));
    FFlowBlockPortion = v;
}

void TZavaduMeter::SetFlowBlockSize(int v)
{
    if (v < 5) v = 5;
    if (v == FFlowBlockSize) return;
    FFlowBlockSize = v;
    FMovingBlockChunkList->RebuildBlocks();
}

void TZavaduMeter::SetLegend(const QStringList& v)
{
    if (v.join(u'\n') == FLegend.join(u'\n')) return;
    FLegend = v;
    if (!FActive && FLegendVisible) Paint();
}

void TZavaduMeter::EndUpdate()
{
    FUpdating = false;
    if (!FActive) Paint();
}

TZavaduSeries* TZavaduMeter::GetFocusedSeries() const
{
    for (int i = 0; i < FSerieses->Count(); ++i)
        if (FSerieses->Items(i)->IsFocus()) return FSerieses->Items(i);
    return nullptr;
}

void TZavaduMeter::ExtractLegend()
{
    FLegend.clear();
    for (int i = 0; i < FSerieses->Count(); ++i) {
        const TSeriesBlockList* blocks = FSerieses->Items(i)->BlockList();
        for (int k = 0; k < blocks->Count(); ++k) {
            const QString entry = LegendEntry(blocks->Items(k)->Color, blocks->Items(k)->BlockName);
            if (!FLegend.contains(entry, Qt::CaseInsensitive)) FLegend.append(entry);
        }
    }
}

void TZavaduMeter::AddMovingBlock()
{
    double total = 0;
    for (int i = 0; i < FSerieses->Count(); ++i) {
        const TZavaduSeries* s = FSerieses->Items(i);
        total += s->RedValue() + s->OrangeValue() + s->BlueValue();
    }
    FMovingBlockChunkList->AddChunk(Trunc(total));
}

TZavaduSeries* TZavaduMeter::GetSeriesFromXY(int X, int Y)
{
    // Only the bars on the picture answer: areas recorded on other pages are stale.
    TZavaduSeries* hit = nullptr;
    const int last = std::min(FDrawnFirst + FDrawnCount, FSerieses->Count());
    for (int i = std::max(0, FDrawnFirst); i < last; ++i) {
        const TRect& r = FSerieses->Items(i)->SeriesRect();
        if (SeriesAreaHit(r.Left, r.Top, r.Right, r.Bottom, FMaxBarWidth, X, Y)) hit = FSerieses->Items(i);
    }
    return hit;
}

TZavaduSeries* TZavaduMeter::SeriesAtCursor()
{
    return GetSeriesFromXY(FLastMouse.x(), FLastMouse.y());
}

void TZavaduMeter::mousePressEvent(QMouseEvent* event)
{
    // The second press of a double click is judged where it is, not where the first click was released.
    FLastMouse = event->position().toPoint();
    TGraphicControl::mousePressEvent(event);
}

void TZavaduMeter::mouseReleaseEvent(QMouseEvent* event)
{
    FLastMouse = event->position().toPoint();
    TGraphicControl::mouseReleaseEvent(event);
}

void TZavaduMeter::mouseDoubleClickEvent(QMouseEvent* event)
{
    FLastMouse = event->position().toPoint();
    TGraphicControl::mouseDoubleClickEvent(event);
}

void TZavaduMeter::Click()
{
    TGraphicControl::Click();
    if (FNavicationButtonClicked) return;
    if (TZavaduSeries* s = SeriesAtCursor()) {
        if (OnSeriesClick) OnSeriesClick(this, s);
    } else if (OnSeriesOutClick) {
        OnSeriesOutClick(this, nullptr);
    }
}

void TZavaduMeter::DblClick()
{
    TGraphicControl::DblClick();
    TZavaduSeries* s = SeriesAtCursor();
    if (!s) return;
    if (FLastMouse.y() > Height() - (FMarginTop + FMarginbotton)) {
        if (OnSeriesTextDblClick) OnSeriesTextDblClick(this, s);
    } else if (OnSeriesDblClick) {
        OnSeriesDblClick(this, s);
    }
}

void TZavaduMeter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    FLastMouse = QPoint(X, Y);
    if (TZavaduSeries* s = GetSeriesFromXY(X, Y)) {
        if (OnSeriesMouseMove) OnSeriesMouseMove(this, s, Shift, X, Y);
    } else if (OnOutOfSeriesMouseMove) {
        OnOutOfSeriesMouseMove(this, Shift, X, Y);
    }
}

void TZavaduMeter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FNavicationButtonClicked = false;
    FMouseDownedNavigateButton = nbNone;
    FLastMouse = QPoint(X, Y);
    // The control's own width: a PrintImage at another size must not move the buttons' hit area.
    const TNavigateButton button = NavigateButtonAt(Width(), GetLegendWidth(), X, Y);
    if (button == nbNone) {
        TGraphicControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    FMouseDownedNavigateButton = button;
    FNavicationButtonClicked = true;
    FFirstBlockIndex = PagedFirstIndex(button, FFirstBlockIndex, FVisibleBlockCount, FSerieses->Count());
}

void TZavaduMeter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (FMouseDownedNavigateButton != nbNone) {
        FMouseDownedNavigateButton = nbNone;
        if (!FActive) Paint();
    }
}
