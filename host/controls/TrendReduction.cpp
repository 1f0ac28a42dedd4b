#include "TrendReduction.h"

#include "TrendRing.h"

#include <algorithm>

std::vector<TrendColumn> TrendReduction::reduce(const TrendRing &ring, qint64 fromMs, qint64 toMs,
                                                int width)
{
    std::vector<TrendColumn> columns(size_t(std::max(0, width)));
    if (width <= 0 || toMs <= fromMs)
        return columns;
    const double columnsPerMs = double(width) / double(toMs - fromMs);
    ring.visit(ring.lowerBound(fromMs), ring.lowerBound(toMs),
               [&](qint64 timeMs, float value, TrendStatus status) {
                   const int c = std::min(width - 1, int(double(timeMs - fromMs) * columnsPerMs));
                   TrendColumn &col = columns[size_t(c)];
                   if (status == TrendStatus::NoRead) {
                       col.gap = true;
                       if (col.hasValue)
                           col.gapAfterLast = true;
                       else
                           col.gapBeforeFirst = true;
                       return;
                   }
                   if (!col.hasValue) {
                       col.hasValue = true;
                       col.min = col.max = col.first = value;
                       col.worst = status;
                   } else {
                       col.min = std::min(col.min, value);
                       col.max = std::max(col.max, value);
                       col.worst = std::max(col.worst, status);
                   }
                   col.last = value;
                   col.gapAfterLast = false;
               });
    return columns;
}

bool TrendReduction::joins(const std::vector<TrendColumn> &columns, int a, int b)
{
    if (a < 0 || b <= a || b >= int(columns.size()))
        return false;
    if (columns[size_t(a)].gapAfterLast || columns[size_t(b)].gapBeforeFirst)
        return false;
    for (int c = a + 1; c < b; ++c) {
        if (columns[size_t(c)].gap)
            return false;
    }
    return true;
}

std::vector<TrendStretch> TrendReduction::stretches(const std::vector<TrendColumn> &columns)
{
    std::vector<TrendStretch> out;
    int previous = -1;
    for (int c = 0; c < int(columns.size()); ++c) {
        const TrendColumn &col = columns[size_t(c)];
        if (!col.hasValue)
            continue;
        if (col.worst != TrendStatus::Good) {
            if (!out.empty() && out.back().last == previous && out.back().status == col.worst &&
                joins(columns, previous, c))
                out.back().last = c;
            else
                out.push_back({c, c, col.worst});
        }
        previous = c;
    }
    return out;
}
