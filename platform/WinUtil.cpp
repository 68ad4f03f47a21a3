#include "platform/WinUtil.h"

#include <limits>

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const int64_t product = int64_t(a) * int64_t(b);
    const int64_t divisor = c;
    int64_t quotient = product / divisor;
    const int64_t remainder = product % divisor;
    // Half away from zero: compare twice the remainder's size with the divisor's.
    const uint64_t twiceRem = uint64_t(remainder < 0 ? -remainder : remainder) * 2;
    const uint64_t absDiv = uint64_t(divisor < 0 ? -divisor : divisor);
    if (twiceRem >= absDiv) quotient += ((product < 0) != (divisor < 0)) ? -1 : 1;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) return -1;
    return int(quotient);
}

namespace {
ushort FoldAscii(ushort c)
{
    return (c >= 'a' && c <= 'z') ? ushort(c - 'a' + 'A') : c;
}
} // namespace

int CompareText(const QString& a, const QString& b)
{
    const int n = int(qMin(a.size(), b.size()));
    for (int i = 0; i < n; ++i) {
        const int d = int(FoldAscii(a.at(i).unicode())) - int(FoldAscii(b.at(i).unicode()));
        if (d != 0) return d;
    }
    return int(a.size() - b.size());
}
