#pragma once
// The speed meter's arithmetic, apart from any canvas or widget: colour mixing, the block counts of a
// bar, the bounce of its drop block, the layout of bars in a row, the label scale, the navigation
// geometry and the value texts. Whole numbers are made with halves going to the even neighbour and
// truncation cuts toward zero, so the bars come out the same on every machine.

#include "platform/Color.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Navigation buttons of the meter.
enum TNavigateButton { nbPrev, nbNone, nbNext };

// The unit's own helpers; a namespace keeps them apart from other units' routines of the same names.
namespace Zavadu {

// A value with no whole-number form (not a number, infinite, beyond int) raises "Invalid floating point
// operation", as the platform's Trunc and Round do; a cast would be undefined and can hang a frame.
[[noreturn]] void InvalidFloatOperation();
// Halves go to the even neighbour (the default rounding mode).
int Nearest(double x);
inline int Trunc(double x)
{
    if (!(x > -2147483649.0 && x < 2147483648.0)) InvalidFloatOperation();
    return int(x);
}

// Colour mixing: the first colour gets weight W of 255.
uint8_t BlendChannel(uint8_t A, uint8_t B, uint8_t W);
TColor BlendColors(TColor A, TColor B, uint8_t W);
TColor MixColors(TColor A, TColor B, uint8_t W);
int Max(int A, int B);

// A*X/B, 0 when B is 0; ForceOne lifts an exact 0 to 1 for a positive X.
double ScaleValue(int A, int B, bool ForceOne, double X);

// Block counts of one bar.
struct TBarCounts
{
    int Capacity = 0;  // whole blocks the area holds
    int BarBlocks = 0; // blocks for the bar's total, custom blocks included
    int Custom = 0;    // whole blocks the custom blocks take
    int Blue = 0;
    int Orange = 0;
    int Red = 0;
};

// The colour counts share what the custom blocks leave of BarBlocks, so the bar never draws more blocks
// than its total stands for.
TBarCounts ComputeBarCounts(int areaHeight, int blockHeight, int maxValue, double customTotal, double blue,
                            double orange, double red);

// One step of a drawn count toward its target.
inline int StepToward(int current, int target)
{
    return current < target ? current + 1 : (current > target ? current - 1 : current);
}

// The bouncing drop block: lift in pixels, a slow-down counter and the direction.
struct TDropBounce
{
    int YPos = 0;
    int SpeedMod = 0;
    bool Down = false;

    void Reset(int blockHeight)
    {
        YPos = blockHeight / 2;
        Down = false;
    }
    void Advance(bool isDown, int blockHeight, bool use3D);
};

// The row of bars for a chart width (all fields as the render stores them).
struct TBarLayout
{
    float Slot = 0;
    int VisibleCount = 0;
    int Distance = 0;
    float BarW = 0;
    int SeriesWidth = 0;
    bool ResetFirst = false; // every series fits: the first index goes back to 0
};

// With no series or no room for one bar, Visible is 0 and no slot width is divided by it.
TBarLayout ComputeBarLayout(int chartW, int seriesCount, int minBlockWidth, int oldSeriesWidth);

// Rows of names under the bars; nameWidths are the text widths of the visible names (margin not added).
int ComputeNameRows(const std::vector<int>& nameWidths, const TBarLayout& layout, int chartW, int maxRows);

// Left edges of the visible bars.
std::vector<int> BarLefts(int marginLeft, const TBarLayout& layout);

// The vertical scale: grid lines and labels from 0 to the maximum.
struct TLabelStop
{
    int Y;
    int Value;
};
struct TLabelScale
{
    int Span = 0;
    int Base = 0;
    int Count = 0;
    float Step = 0;
    std::vector<TLabelStop> Stops;
};
TLabelScale ComputeLabelScale(int bitmapHeight, int marginTop, int marginBottom, int lineH, int nameRows,
                              int blockHeight, int maxValue, int increment);

// Navigation buttons: the rectangle right of the title, prev its left 12 pixels.
constexpr int kNavigateTop = 3;
constexpr int kNavigateWidth = 25;
constexpr int kNavigateHeight = 12;
constexpr int kNavigateButtonWidth = 12;
inline int NavigateButtonLeft(int width, int legendWidth)
{
    return width - legendWidth - 28;
}
// Right and bottom edges are outside.
TNavigateButton NavigateButtonAt(int width, int legendWidth, int x, int y);
// The first index after a press on a button, kept within 0..max(0, count-1).
int PagedFirstIndex(TNavigateButton button, int first, int visible, int count);
int ClampFirstIndex(int first, int count);

// The hit area of a bar: the recorded area narrowed as the bar itself was, and 30 pixels for its name.
bool SeriesAreaHit(int left, int top, int right, int bottom, int maxBarWidth, int x, int y);

// The class library's FormatFloat for the masks the meter uses ("#,##0.###" and its shorter forms), with
// "," and "." as separators whatever the locale.
QString FormatFloat(const QString& format, double value);

// The text over a drop block: the zero text for nothing, then shorter masks ("#,##0.##", "#,##0.#",
// "#,##0") while tooWide says the text does not fit, three tries at most, when shorten is set.
QString DropValueText(const QString& format, const QString& zeroText, double total, bool shorten,
                      const std::function<bool(const QString&)>& tooWide);

// The class library's StringToColor: a colour name ("clRed") or a number ("$FF", decimal); raises Exception
// with the library's conversion message otherwise.
TColor StringToColor(const QString& text);
// "$%.8x;%s": the legend entry of a custom block.
QString LegendEntry(TColor color, const QString& name);

} // namespace Zavadu
