#pragma once
// The stacked-block speed meter: a row of bars (series), each a stack of equal blocks in blue, orange and
// red topped by a bouncing drop block, with optional title, grid, labels, legend and page buttons. It
// renders off screen into two 24-bit bitmaps, blends the bars over a background picture, and while Active
// a thread timer renders one frame per tick so that bars grow block by block.

#include "components/ZavaduMeterFlow.h"
#include "components/ZavaduMeterMath.h"
#include "platform/Color.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TThreadTimer;
class TZavaduMeter;
class TZavaduSeries;

enum TSeriesSortDirection { ssdNone, ssdAscending, ssdDescending };
enum TAxisLabelsPosition { alpNone, alpLeft, alpRight };

using TMaxChangeEvent = std::function<void(QObject* Sender, int MaxValue)>;
using TZavaduSeriesClickEvent = std::function<void(QObject* Sender, TZavaduSeries* Series)>;
using TZavaduMouseMoveEvent =
    std::function<void(QObject* Sender, TZavaduSeries* Series, TShiftState Shift, int X, int Y)>;
using TZavaduOutOfSeriesMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TPaintBackGroundImageEvent = std::function<void(QObject* Sender, TBitmap* backImg, bool quickChangeBlock)>;
using TDrawMovingBlockEvent = std::function<void(QObject* Sender, TCanvas* DestCanvas, TMovingBlockChunk* chunk,
                                                 TMovingBlock* block, int x, int y)>;
// Sender is the series whose block colour is asked for; BlockType 'B', 'O', 'R', 'D' or 'N'.
using TGetBlockColorEvent = std::function<void(TZavaduSeries* Sender, char BlockType, TColor& BlockColor)>;
using TCollectionSortCompare = std::function<int(TZavaduSeries* Item1, TZavaduSeries* Item2)>;

// One named custom block of a series.
class TSeriesBlock
{
public:
    QString BlockName;
    double Value = 0;
    TColor Color = clBlue;
};

// Owns its blocks.
class TSeriesBlockList
{
public:
    TSeriesBlockList() = default;
    ~TSeriesBlockList() { Clear(); }
    TSeriesBlockList(const TSeriesBlockList&) = delete;
    TSeriesBlockList& operator=(const TSeriesBlockList&) = delete;

    int Count() const { return int(FList.size()); }
    TSeriesBlock* Items(int index) const;
    TSeriesBlock* Add(const QString& name);
    void Delete(int AIndex);
    void Clear();
    // Ignores ASCII letter case.
    TSeriesBlock* FindBlock(const QString& ABlockName) const;
    double TotalBlockValue() const;

private:
    std::vector<TSeriesBlock*> FList;
};

// One bar of the meter.
class TZavaduSeries
{
public:
    explicit TZavaduSeries(TZavaduMeter* owner);
    ~TZavaduSeries();
    TZavaduSeries(const TZavaduSeries&) = delete;
    TZavaduSeries& operator=(const TZavaduSeries&) = delete;

    TZavaduMeter* Owner() const { return FOwner; }
    TZavaduMeter* GetOwner() const { return FOwner; }
    // Copies the published values of another series (not its custom blocks' owner).
    void Assign(const TZavaduSeries& source);

    TSeriesBlockList* BlockList() const { return FBlockList.get(); }
    TColor BlockBorderColor() const { return FBlockBorderColor; }
    void SetBlockBorderColor(TColor v) { FBlockBorderColor = v; }
    bool Connected() const { return FConnected; }
    void SetConnected(bool v) { FConnected = v; }
    const QString& Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }
    const QString& DisplayName() const { return FDisplayName; }
    void SetDisplayName(const QString& v) { FDisplayName = v; }
    double RedValue() const { return FRedValue; }
    void SetRedValue(double v) { FRedValue = v; }
    double OrangeValue() const { return FOrangeValue; }
    void SetOrangeValue(double v) { FOrangeValue = v; }
    double BlueValue() const { return FBlueValue; }
    void SetBlueValue(double v) { FBlueValue = v; }
    bool IsDown() const { return FIsDown; }
    void SetIsDown(bool v) { FIsDown = v; }
    bool DrawBorder() const { return FDrawBorder; }
    void SetDrawBorder(bool v) { FDrawBorder = v; }
    bool ShowName() const { return FShowName; }
    void SetShowName(bool v) { FShowName = v; }
    bool ShowNameOnTop() const { return FShowNameOnTop; }
    void SetShowNameOnTop(bool v) { FShowNameOnTop = v; }
    bool IsFocus() const { return FIsFocus; }
    void SetIsFocus(bool v);
    // Reading asks the meter's OnGetBlockColor first; its answer stays in the series.
    TColor BlockRedColor();
    void SetBlockRedColor(TColor v) { FBlockRedColor = v; }
    TColor BlockBlueColor();
    void SetBlockBlueColor(TColor v) { FBlockBlueColor = v; }
    TColor BlockOrangeColor();
    void SetBlockOrangeColor(TColor v) { FBlockOrangeColor = v; }
    int MaxBlock() const { return FMaxBlock; }
    void SetMaxBlock(int v) { FMaxBlock = v; }

    void Draw(TCanvas* Canvas, const TRect& Area, int MaxValue, int SeriesOrder, bool quickChange);
    void DrawDropBlock(TCanvas* Canvas, const TRect& Area, int cY, int bH, TColor C, bool blendColors);
    void AddBlockItem(const QString& BlockName, double AValue, TColor AColor, bool isAdd);

    // State the meter and tests read.
    const TRect& SeriesRect() const { return FSeriesRect; }
    int CurrentBlueValue() const { return FCurrentBlueValue; }
    int CurrentOrangeValue() const { return FCurrentOrangeValue; }
    int CurrentRedValue() const { return FCurrentRedValue; }
    const Zavadu::TDropBounce& Bounce() const { return FBounce; }
    int BlockHeight() const { return FBlockHeight; }

private:
    friend class TZavaduMeter;
    friend class TZavaduSerieses;
    void DrawBlocks(TCanvas* Canvas, const TRect& Area, double Value, int& Y, TColor Color, bool TopShort, bool Whole);
    void DrawBlock(TCanvas* Canvas, const TRect& Rect, TColor Color, bool Border, bool Split);

    TZavaduMeter* FOwner;
    QString FName;
    QString FDisplayName;
    double FRedValue = 0;
    double FBlueValue = 0;
    double FOrangeValue = 0;
    bool FIsDown = false;
    bool FDrawBorder = false;
    bool FShowName = true;
    bool FShowNameOnTop = false;
    Zavadu::TDropBounce FBounce; // FDropBlockYPos, FDropSpeedMod, FDropDown
    bool FIsFocus = false;
    TColor FBlockBorderColor = clGray;
    bool FConnected = true;
    std::unique_ptr<TSeriesBlockList> FBlockList;
    TColor FBlockOrangeColor = 0;
    TColor FBlockRedColor = 0;
    TColor FBlockBlueColor = 0;
    int FCurrentRedValue = 0;
    int FCurrentBlueValue = 0;
    int FCurrentOrangeValue = 0;
    TRect FSeriesRect;
    int FBlockHeight = 5;
    int FMaxBlock = 10;
};

// The meter's collection of bars.
class TZavaduSerieses
{
public:
    explicit TZavaduSerieses(TZavaduMeter* AOwner);
    ~TZavaduSerieses();
    TZavaduSerieses(const TZavaduSerieses&) = delete;
    TZavaduSerieses& operator=(const TZavaduSerieses&) = delete;

    TZavaduMeter* Owner() const { return FOwner; }
    TZavaduMeter* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TZavaduSeries* Items(int index) const { return FItems.at(size_t(index)); }
    TZavaduSeries* operator[](int index) const { return Items(index); }

    TZavaduSeries* Add(const QString& SeriesName, const QString& DisplayName);
    TZavaduSeries* AddItem(const QString& aName, double b, double o, double r, bool isadd, bool isDown, bool Border,
                           const QString& aDisplayName);
    // Ignores ASCII letter case.
    TZavaduSeries* FindItem(const QString& aName) const;
    void ResetValues();
    // Frees the series and empties the meter's legend.
    void Clear();
    void Sort();
    // Replaces the items by copies of another collection's.
    void Assign(const TZavaduSerieses& source);
    void Delete(int index);

    int CompareSeries(TZavaduSeries* Item1, TZavaduSeries* Item2) const;

private:
    void QuickSort(int L, int R, const TCollectionSortCompare& compare);
    TZavaduSeries* Insert(int index);

    TZavaduMeter* FOwner;
    std::vector<TZavaduSeries*> FItems;
};

class TZavaduMeter : public TGraphicControl, public TFlowHost
{
    Q_OBJECT
public:
    explicit TZavaduMeter(QWidget* AOwner = nullptr);
    ~TZavaduMeter() override;

    // Published properties.
    bool Active() const { return FActive; }
    void SetActive(bool v);
    bool AutoMaxBlockCount() const { return FAutoMaxBlockCount; }
    void SetAutoMaxBlockCount(bool v) { FAutoMaxBlockCount = v; }
    TColor AxisColor() const { return FAxisColor; }
    void SetAxisColor(TColor v) { FAxisColor = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    bool BorderVisible() const { return FBorderVisible; }
    void SetBorderVisible(bool v) { FBorderVisible = v; }
    float CenterVelocity() const override { return FCenterVelocity; }
    void SetCenterVelocity(float v) { FCenterVelocity = v; }
    const QString& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const QString& v) { FValueFormat = v; }
    TZavaduSerieses* Serieses() const { return FSerieses.get(); }
    void SetSerieses(const TZavaduSerieses& v) { FSerieses->Assign(v); }
    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int v) { FMarginLeft = v; }
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int v) { FMarginRight = v; }
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int v) { FMarginTop = v; }
    int Marginbotton() const { return FMarginbotton; }
    void SetMarginbotton(int v) { FMarginbotton = v; }
    bool LegendVisible() const { return FLegendVisible; }
    void SetLegendVisible(bool v);
    int MaxBlockCount() const { return FMaxBlockCount; }
    void SetMaxBlockCount(int v);
    int MaxNameRowCount() const { return FMaxNameRowCount; }
    void SetMaxNameRowCount(int v) { FMaxNameRowCount = v; }
    const TFont& TitleFont() const { return FTitleFont; }
    void SetTitleFont(const TFont& v) { FTitleFont = v; }
    int BlockHeight() const { return FBlockHeight; }
    void SetBlockHeight(int v);
    bool ShowAxis() const { return FShowAxis; }
    void SetShowAxis(bool v) { FShowAxis = v; }
    bool ShowOnlyXYAxis() const { return FShowOnlyXYAxis; }
    void SetShowOnlyXYAxis(bool v);
    bool ShowTitle() const { return FShowTitle; }
    void SetShowTitle(bool v) { FShowTitle = v; }
    TSeriesSortDirection SortDirection() const { return FSortDirection; }
    void SetSortDirection(TSeriesSortDirection v);
    bool SortWhenAdd() const { return FSortWhenAdd; }
    void SetSortWhenAdd(bool v) { FSortWhenAdd = v; }
    TColor BlockRedColor() const { return FBlockRedColor; }
    void SetBlockRedColor(TColor v);
    TColor BlockBlueColor() const { return FBlockBlueColor; }
    void SetBlockBlueColor(TColor v);
    TColor BlockOrangeColor() const { return FBlockOrangeColor; }
    void SetBlockOrangeColor(TColor v);
    const QString& BlockRedLegend() const { return FBlockRedLegend; }
    void SetBlockRedLegend(const QString& v);
    const QString& BlockOrangeLegend() const { return FBlockOrangeLegend; }
    void SetBlockOrangeLegend(const QString& v);
    const QString& BlockBlueLegend() const { return FBlockBlueLegend; }
    void SetBlockBlueLegend(const QString& v);
    float BlendAlpha() const { return FBlendAlpha; }
    void SetBlendAlpha(float v);
    int MinBlockWidth() const { return FMinBlockWidth; }
    void SetMinBlockWidth(int v) { FMinBlockWidth = v; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool v) { FShowFocus = v; }
    int FlowVelocity() const override { return FFlowVelocity; }
    void SetFlowVelocity(int v) { FFlowVelocity = v; }
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor v) { FGridColor = v; }
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool v);
    TColor DownColor() const { return FDownColor; }
    void SetDownColor(TColor v) { FDownColor = v; }
    TAxisLabelsPosition VertLabelsPos() const { return FVertLabelsPos; }
    void SetVertLabelsPos(TAxisLabelsPosition v);
    int VertLabelsIncrement() const { return FVertLabelsIncrement; }
    // Kept at 1 or more: the label count is divided by it.
    void SetVertLabelsIncrement(int v) { FVertLabelsIncrement = v < 1 ? 1 : v; }
    bool ShowVertAxisTick() const { return FShowVertAxisTick; }
    void SetShowVertAxisTick(bool v) { FShowVertAxisTick = v; }
    TColor UnfocusedColor() const { return FUnfocusedColor; }
    void SetUnfocusedColor(TColor v) { FUnfocusedColor = v; }
    int MaxBarWidth() const { return FMaxBarWidth; }
    void SetMaxBarWidth(int v) { FMaxBarWidth = v; }
    bool Use3DBlock() const { return FUse3DBlock; }
    void SetUse3DBlock(bool v) { FUse3DBlock = v; }
    bool UseGradient3DBlock() const { return FUseGradient3DBlock; }
    void SetUseGradient3DBlock(bool v) { FUseGradient3DBlock = v; }
    bool DrawGradientChunkIn3D() const { return FDrawGradientChunkIn3D; }
    void SetDrawGradientChunkIn3D(bool v) { FDrawGradientChunkIn3D = v; }
    int BlockDepth() const { return FBlockDepth; }
    void SetBlockDepth(int v) { FBlockDepth = v; }
    bool UseBackGroundImage() const { return FUseBackGroundImage; }
    void SetUseBackGroundImage(bool v) { FUseBackGroundImage = v; }
    int TimerInterval() const { return FTimerInterval; }
    void SetTimerInterval(int v);
    bool DrawBlockDivider() const { return FDrawBlockDivider; }
    void SetDrawBlockDivider(bool v) { FDrawBlockDivider = v; }
    const QString& ZeroValueString() const { return FZeroValueString; }
    void SetZeroValueString(const QString& v);
    bool UseFlowingBlock() const { return FUseFlowingBlock; }
    void SetUseFlowingBlock(bool v) { FUseFlowingBlock = v; }
    float FlowBlockPortion() const override { return FFlowBlockPortion; }
    void SetFlowBlockPortion(float v);
    int FlowBlockSize() const override { return FFlowBlockSize; }
    void SetFlowBlockSize(int v);
    TFlowBlockDirection FlowDirection() const override { return FFlowDirection; }
    void SetFlowDirection(TFlowBlockDirection v) { FFlowDirection = v; }
    bool SwingingFlow() const override { return FSwingingFlow; }
    void SetSwingingFlow(bool v) { FSwingingFlow = v; }
    int MovingBlockTimeSpan() const override { return FMovingBlockTimeSpan; }
    void SetMovingBlockTimeSpan(int v) { FMovingBlockTimeSpan = v; }

    // Published events of its own.
    TZavaduSeriesClickEvent OnSeriesClick;
    TZavaduSeriesClickEvent OnSeriesDblClick;
    TZavaduSeriesClickEvent OnSeriesOutClick;
    TZavaduSeriesClickEvent OnSeriesTextDblClick;
    TZavaduMouseMoveEvent OnSeriesMouseMove;
    TZavaduOutOfSeriesMouseMoveEvent OnOutOfSeriesMouseMove;
    TMaxChangeEvent OnMaxChange;
    TGetBlockColorEvent OnGetBlockColor;
    TCollectionSortCompare OnSeriesCompare;
    TPaintBackGroundImageEvent OnPaintBackGroundImage;
    TDrawMovingBlockEvent OnDrawMovingBlock;

    // Public operations.
    TRect GetChartRect();
    TZavaduSeries* GetSeriesFromXY(int X, int Y);
    TZavaduSeries* GetFocusedSeries() const;
    void ExtractLegend();
    void PrintImage(HDC destDC, int x, int y, int w, int h, bool withLegend, bool quickChange);
    void AddMovingBlock();
    void BeginUpdate() { FUpdating = true; }
    void EndUpdate();
    void AdjustDropBlockPosition() {}
    int FirstBlockIndex() const { return FFirstBlockIndex; }
    void SetFirstBlockIndex(int v) { FFirstBlockIndex = Zavadu::ClampFirstIndex(v, FSerieses->Count()); }
    QStringList& Legend() { return FLegend; }
    void SetLegend(const QStringList& v);
    TMovingBlockChunkList* MovingBlockChunkList() const { return FMovingBlockChunkList.get(); }

    // Renders and copies to the screen at once.
    void Paint() override;
    // Owner code asks for a fresh picture: the next expose renders (the control's own ones only copy).
    void Invalidate();
    void Repaint();
    void Click() override;
    void DblClick() override;
    void DrawChart(int W, int H, bool quickChange);
    void Draw3DBlock(TZavaduSeries* Series, TCanvas* Canvas, const TRect& Rect, TColor Color, int DividerCount);
    int GetLegendWidth();
    // Where the control's page buttons answer a press (its own width).
    TRect GetNavigateButtonRect();

    // The last frame as it reaches the screen, and how many renders made it (tests, benchmark).
    TBitmap* BackgroundBitmap() { return &FBackgroundBitmap; }
    TBitmap* BufferBitmap() { return &FBufferBitmap; }
    int RenderCount() const { return FRenderCount; }
    int VisibleBlockCount() const { return FVisibleBlockCount; }
    int NameRowCount() const { return FNameRowCount; }
    int SeriesWidth() const { return FSeriesWidth; }
    int SeriesDistance() const { return FSeriesDistance; }
    int MaxSeriesValue() const { return FMaxSeriesValue; }
    TNavigateButton MouseDownedNavigateButton() const { return FMouseDownedNavigateButton; }
    // The tick of the refresh timer.
    void RefreshTimerTimer();

    void FlowChartRect(int& left, int& top, int& right, int& bottom) const override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void ColorChanged() override { Invalidate(); }
    void FontChanged() override { Invalidate(); }
    void TextChanged() override { Invalidate(); }

private:
    friend class TZavaduSeries;
    void DrawVertLabels(int MaxValue);
    void DrawLegend();
    void DrawNavigateButtons();
    TRect NavigateRectAt(int width);
    void DrawMovingBlocks(const TRect& r);
    void FlushBuffer();
    bool BlendMode() const { return FUseBackGroundImage && FBlendAlpha < 1; }
    int LineHeight();
    void RenderFrame();
    void ReportPaintError(const QString& message);
    TZavaduSeries* SeriesAtCursor();

    std::unique_ptr<TZavaduSerieses> FSerieses;
    TThreadTimer* FRefreshTimer = nullptr;
    TBitmap FBufferBitmap;
    TBitmap FBackgroundBitmap;
    TFont FTitleFont;
    QStringList FLegend;
    std::unique_ptr<TMovingBlockChunkList> FMovingBlockChunkList;

    int FSeriesDistance = 10;
    int FSeriesWidth = 0;
    int FNameRowCount = 1;
    int FVisibleBlockCount = 0;
    int FFirstBlockIndex = 0;
    int FMaxSeriesValue = 10;
    // The series range the last render drew: only these answer the hit test.
    int FDrawnFirst = 0;
    int FDrawnCount = 0;

    bool FActive = false;
    bool FUpdating = false;
    TNavigateButton FMouseDownedNavigateButton = nbNone;
    bool FNavicationButtonClicked = false;

    bool FAutoMaxBlockCount = false;
    TColor FAxisColor = clBlack;
    TColor FBorderColor = 0;
    bool FBorderVisible = false;
    float FCenterVelocity = 2.0f;
    QString FValueFormat;
    int FMarginLeft = 25;
    int FMarginRight = 0;
    int FMarginTop = 0;
    int FMarginbotton = 0;
    bool FLegendVisible = false;
    int FMaxBlockCount = 10;
    int FMaxNameRowCount = 3;
    int FBlockHeight = 5;
    bool FShowAxis = true;
    bool FShowOnlyXYAxis = false;
    bool FShowTitle = false;
    TSeriesSortDirection FSortDirection = ssdNone;
    bool FSortWhenAdd = true;
    TColor FBlockRedColor = 0x0000FF;
    TColor FBlockBlueColor = 0xFF0000;
    TColor FBlockOrangeColor = 0x0080FF;
    QString FBlockRedLegend;
    QString FBlockOrangeLegend;
    QString FBlockBlueLegend;
    float FBlendAlpha = 1.0f;
    int FMinBlockWidth = 22;
    bool FShowFocus = false;
    int FFlowVelocity = 30;
    TColor FGridColor = 0xFCE8D1;
    bool FShowGrid = true;
    TColor FDownColor = 0x8E8E8E;
    TAxisLabelsPosition FVertLabelsPos = alpNone;
    int FVertLabelsIncrement = 20;
    bool FShowVertAxisTick = false;
    TColor FUnfocusedColor = 0xF5F5F5;
    int FMaxBarWidth = 150;
    bool FUse3DBlock = true;
    bool FUseGradient3DBlock = false;
    bool FDrawGradientChunkIn3D = false;
    int FBlockDepth = 4;
    bool FUseBackGroundImage = false;
    int FTimerInterval = 90;
    bool FDrawBlockDivider = false;
    QString FZeroValueString;
    bool FUseFlowingBlock = true;
    float FFlowBlockPortion = 0.8f;
    int FFlowBlockSize = 30;
    TFlowBlockDirection FFlowDirection = fdLeftToRight;
    bool FSwingingFlow = true;
    int FMovingBlockTimeSpan = 5000;

    // Frame bookkeeping: one render per tick; an expose copies the last frame.
    int FRenderW = 0; // the width being rendered at (the control's, or PrintImage's)
    bool FFrameValid = false;
    QPoint FLastMouse;
    int FRenderCount = 0;
    QStringList FReportedErrors;
};
