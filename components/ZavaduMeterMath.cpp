#include "components/ZavaduMeterMath.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace Zavadu {

void InvalidFloatOperation()
{
    throw Exception(QStringLiteral("Invalid floating point operation"));
}

int Nearest(double x)
{
    const double r = std::nearbyint(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) InvalidFloatOperation();
    return int(r);
}

uint8_t BlendChannel(uint8_t A, uint8_t B, uint8_t W)
{
    return uint8_t((A * W + B * (255 - W)) >> 8);
}

TColor BlendColors(TColor A, TColor B, uint8_t W)
{
    return RGB(BlendChannel(GetRValue(A), GetRValue(B), W), BlendChannel(GetGValue(A), GetGValue(B), W),
               BlendChannel(GetBValue(A), GetBValue(B), W));
}

TColor MixColors(TColor A, TColor B, uint8_t W)
{
    auto mix = [W](int a, int b) { return (a * W + b * (255 - W)) / 255; };
    return RGB(mix(GetRValue(A), GetRValue(B)), mix(GetGValue(A), GetGValue(B)), mix(GetBValue(A), GetBValue(B)));
}

int Max(int A, int B)
{
    return A > B ? A : B;
}

double ScaleValue(int A, int B, bool ForceOne, double X)
{
    double r = B == 0 ? 0.0 : A * X / B;
    if (ForceOne && X > 0 && r == 0) r = 1;
    return r;
}

TBarCounts ComputeBarCounts(int areaHeight, int blockHeight, int maxValue, double customTotal, double blue,
                            double orange, double red)
{
    TBarCounts c;
    c.Capacity = blockHeight == 0 ? 0 : Nearest(double(areaHeight - 15) / blockHeight);
    const int total = Nearest(customTotal + blue + orange + red);
    c.BarBlocks = Nearest(ScaleValue(c.Capacity, maxValue, true, total));
    c.Blue = Nearest(ScaleValue(c.BarBlocks, total, true, blue));
    c.Orange = Nearest(ScaleValue(c.BarBlocks, total, true, orange));
    c.Red = Nearest(ScaleValue(c.BarBlocks, total, true, red));
    c.Custom = customTotal > 0 ? Nearest(ScaleValue(c.BarBlocks, total, false, customTotal)) : 0;
    const int target = std::max(0, c.BarBlocks - c.Custom);
    int* counts[] = {&c.Blue, &c.Orange, &c.Red};
    while (c.Blue + c.Orange + c.Red > target) {
        auto it = std::find_if(std::begin(counts), std::end(counts), [](int* n) { return *n > 1; });
        if (it == std::end(counts)) break;
        --**it;
    }
    while (c.Blue + c.Orange + c.Red < target) {
        auto it = std::find_if(std::begin(counts), std::end(counts), [](int* n) { return *n > 0; });
        if (it == std::end(counts)) break;
        ++**it;
    }
    return c;
}

void TDropBounce::Advance(bool isDown, int blockHeight, bool use3D)
{
    SpeedMod = isDown ? (SpeedMod + 1) % 7 : 0;
    int upper = Trunc(blockHeight * 0.9);
    int lower = 0;
    if (use3D) {
        lower = 1;
        upper += 1;
    }
    if (SpeedMod != 0) return;
    if (Down) {
        --YPos;
        if (YPos <= lower) Down = false;
    } else {
        ++YPos;
        if (YPos > upper) Down = true;
    }
}

TBarLayout ComputeBarLayout(int chartW, int seriesCount, int minBlockWidth, int oldSeriesWidth)
{
    TBarLayout l;
    l.SeriesWidth = oldSeriesWidth;
    if (seriesCount <= 0) {
        l.Slot = chartW / 2.0f;
        return l;
    }
    l.Slot = float(chartW) / float(seriesCount);
    l.VisibleCount = seriesCount;
    if (float(minBlockWidth) > l.Slot) {
        float v = float(chartW) / float(minBlockWidth);
        if (v - float(Trunc(v)) >= 0.8f) v = v + 1;
        l.VisibleCount = Trunc(v);
        if (l.VisibleCount <= 0) {
            // No room for one bar: nothing is drawn and the buttons offer the pages.
            l.VisibleCount = 0;
            l.Slot = float(chartW);
            return l;
        }
        l.Slot = float(chartW) / float(l.VisibleCount);
    }
    l.Distance = l.VisibleCount < 2 ? 0 : Trunc(double(chartW) / l.VisibleCount / 4);
    if (l.Distance < 3) l.Distance = 3;
    if (l.Slot - float(l.Distance) <= 0) l.Distance = 1;
    l.BarW = l.Slot - float(l.Distance);
    l.SeriesWidth = Trunc(l.BarW);
    l.ResetFirst = l.VisibleCount >= seriesCount;
    return l;
}

int ComputeNameRows(const std::vector<int>& nameWidths, const TBarLayout& layout, int chartW, int maxRows)
{
    int sum = 0;
    bool tooWide = false;
    for (int w : nameWidths) {
        const int wi = w + 5;
        sum += wi;
        if (wi >= Trunc(layout.BarW) + layout.Distance) tooWide = true;
    }
    int rows = ((layout.VisibleCount - 1) * layout.Distance + sum) / std::max(1, chartW) + 1;
    if (tooWide && rows == 1) rows = 2;
    return std::min(rows, maxRows);
}

std::vector<int> BarLefts(int marginLeft, const TBarLayout& layout)
{
    std::vector<int> lefts;
    float x = float(marginLeft + layout.Distance);
    for (int i = 0; i < layout.VisibleCount; ++i) {
        lefts.push_back(Trunc(x));
        x = x + layout.BarW + float(layout.Distance);
    }
    return lefts;
}

TLabelScale ComputeLabelScale(int bitmapHeight, int marginTop, int marginBottom, int lineH, int nameRows,
                              int blockHeight, int maxValue, int increment)
{
    TLabelScale s;
    const int m = std::max(1, maxValue);
    const int inc = std::max(1, increment);
    s.Span = bitmapHeight - marginTop - marginBottom - (lineH + 2) * nameRows - blockHeight - lineH - 5;
    s.Base = bitmapHeight - (lineH + 2) * nameRows - marginBottom - 1;
    int k = m / inc + 1;
    while (k > 2 && k * (lineH + 3) > s.Span)
        --k;
    s.Count = std::max(2, k);
    s.Step = float(m) / float(s.Count - 1);
    if (float(inc) > s.Step) s.Step = float(inc);
    float value = 0;
    for (int j = 0; j < s.Count; ++j) {
        if (j == s.Count - 1) value = float(m);
        s.Stops.push_back({s.Base - Nearest(double(s.Span) * value / m), Trunc(value)});
        value = value + s.Step;
    }
    return s;
}

TNavigateButton NavigateButtonAt(int width, int legendWidth, int x, int y)
{
    const int left = NavigateButtonLeft(width, legendWidth);
    if (x < left || x >= left + kNavigateWidth || y < kNavigateTop || y >= kNavigateTop + kNavigateHeight)
        return nbNone;
    return x < left + kNavigateButtonWidth ? nbPrev : nbNext;
}

int ClampFirstIndex(int first, int count)
{
    return std::clamp(first, 0, std::max(0, count - 1));
}

int PagedFirstIndex(TNavigateButton button, int first, int visible, int count)
{
    int next = first;
    if (button == nbPrev && first > 0)
        next = first - visible;
    else if (button == nbNext && first + visible < count)
        next = first + visible;
    return ClampFirstIndex(next, count);
}

bool SeriesAreaHit(int left, int top, int right, int bottom, int maxBarWidth, int x, int y)
{
    if (right - left > maxBarWidth) {
        const int d = (maxBarWidth - (right - left)) / 2;
        left -= d;
        right += d;
    }
    return left <= x && x <= right && top <= y && y <= bottom + 30;
}

namespace {
bool IsPlaceholder(QChar c)
{
    return c == u'#' || c == u'0' || c == u',' || c == u'.';
}
} // namespace

QString FormatFloat(const QString& format, double value)
{
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    QString mask = format.section(u';', 0, 0);
    int first = -1, last = -1;
    for (int i = 0; i < mask.size(); ++i) {
        if (IsPlaceholder(mask[i])) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) return format.isEmpty() ? QString::number(value, 'g', 15) : format;
    const QString prefix = mask.left(first);
    const QString suffix = mask.mid(last + 1);
    const QString number = mask.mid(first, last - first + 1);
    const int point = number.indexOf(u'.');
    const QString intPart = point < 0 ? number : number.left(point);
    const QString fracPart = point < 0 ? QString() : number.mid(point + 1);
    const bool thousands = intPart.contains(u',');
    const int minInt = int(intPart.count(u'0'));
    const int minDec = int(fracPart.count(u'0'));
    const int maxDec = int(fracPart.count(u'0') + fracPart.count(u'#'));

    // Fifteen significant digits, rounded half away from zero at the last place shown.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    int pointPos = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    if (value == 0) digits.assign(15, '0'), pointPos = 1;
    const int keep = pointPos + maxDec;
    if (keep < 0) {
        digits.clear();
    } else if (keep < int(digits.size())) {
        const bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9')
                digits[size_t(i--)] = '0';
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                ++pointPos;
            } else {
                ++digits[size_t(i)];
            }
        }
    }
    std::string intDigits, fracDigits;
    if (pointPos > 0) {
        intDigits = digits.substr(0, std::min(size_t(pointPos), digits.size()));
        intDigits.append(size_t(std::max(0, pointPos - int(intDigits.size()))), '0');
        if (size_t(pointPos) < digits.size()) fracDigits = digits.substr(size_t(pointPos));
    } else {
        fracDigits = std::string(size_t(-pointPos), '0') + digits;
    }
    if (int(fracDigits.size()) > maxDec) fracDigits.resize(size_t(maxDec));
    fracDigits.append(size_t(std::max(0, minDec - int(fracDigits.size()))), '0');
    while (int(fracDigits.size()) > minDec && fracDigits.back() == '0')
        fracDigits.pop_back();
    size_t nz = intDigits.find_first_not_of('0');
    intDigits = nz == std::string::npos ? std::string() : intDigits.substr(nz);
    if (int(intDigits.size()) < minInt) intDigits.insert(0, size_t(minInt - int(intDigits.size())), '0');
    const bool isZero =
        intDigits.find_first_not_of('0') == std::string::npos && fracDigits.find_first_not_of('0') == std::string::npos;

    QString text = QString::fromLatin1(intDigits.c_str());
    if (thousands)
        for (int i = int(text.size()) - 3; i > 0; i -= 3)
            text.insert(i, u',');
    if (!fracDigits.empty()) text += u'.' + QString::fromLatin1(fracDigits.c_str());
    if (value < 0 && !isZero) text.prepend(u'-');
    return prefix + text + suffix;
}

QString DropValueText(const QString& format, const QString& zeroText, double total, bool shorten,
                      const std::function<bool(const QString&)>& tooWide)
{
    QString text = FormatFloat(format, total);
    if (total == 0 || text == FormatFloat(format, 0.00001)) text = zeroText;
    if (!shorten) return text;
    static const char* const kShorter[] = {"#,##0.##", "#,##0.#", "#,##0"};
    for (int i = 0; i < 3 && tooWide(text); ++i)
        text = FormatFloat(QString::fromLatin1(kShorter[i]), total);
    return text;
}

namespace {
struct TColorName
{
    const char* Name;
    TColor Color;
};
constexpr TColorName kColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
    {"clNone", clNone},
    {"clDefault", clDefault},
};
} // namespace

TColor StringToColor(const QString& text)
{
    for (const TColorName& n : kColorNames)
        if (text.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0) return n.Color;
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.startsWith(u'-');
        s = s.mid(1);
    }
    bool ok = false;
    qlonglong v = 0;
    if (s.startsWith(u'$'))
        v = s.mid(1).toLongLong(&ok, 16);
    else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = s.mid(2).toLongLong(&ok, 16);
    else if (!s.isEmpty() && s[0].isDigit())
        v = s.toLongLong(&ok, 10);
    if (!ok || v > 0xFFFFFFFFLL) throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return TColor(uint32_t(negative ? -v : v));
}

QString LegendEntry(TColor color, const QString& name)
{
    return QString::asprintf("$%08X;", unsigned(uint32_t(color))) + name;
}

} // namespace Zavadu
