#include "TrendReduction.h"

#include "TrendRing.h"

#include <algorithm>

namespace {

// A column is a block of its own: the same rules add a sample or a block to it.
TrendColumn columnOf(const TrendRing::Block &b)
{
    TrendColumn c;
    c.hasValue = b.hasValue;
    c.gap = b.gap;
    c.gapBeforeFirst = b.gapBeforeFirst;
    c.gapAfterLast = b.gapAfterLast;
    c.min = b.min;
    c.max = b.max;
    c.first = b.first;
    c.last = b.last;
    c.worst = b.worst;
    return c;
}

} // namespace

std::vector<TrendColumn> TrendReduction::reduce(const TrendRing &ring, qint64 fromMs, qint64 toMs,
                                                int width)
{
    std::vector<TrendColumn> columns(size_t(std::max(0, width)));
    if (width <= 0 || toMs <= fromMs)
        return columns;
    const double columnsPerMs = double(width) / double(toMs - fromMs);
    const auto columnAt = [&](qint64 timeMs) {
        return std::min(width - 1, int(double(timeMs - fromMs) * columnsPerMs));
    };
    const int from = ring.lowerBound(fromMs);
    const int to = ring.lowerBound(toMs);
    std::vector<TrendRing::Block> sums(columns.size());
    const auto sample = [&](qint64 timeMs, float value, TrendStatus status) {
        sums[size_t(columnAt(timeMs))].add(value, status);
    };
    // As many samples a column as the larger blocks hold: each block whole,
    // in the column of its middle, as a plotter's min/max levels do (what it
    // holds of a neighbour moves there by at most half a block). Fewer: a
    // block within one column whole, one across a column's edge sample by
    // sample, exactly.
    const int perColumn = (to - from) / width;
    if (perColumn >= TrendRing::BlockSizes[1]) {
        ring.visitBlocks(1, from, to, sample, [&](const TrendRing::Block &block) {
            sums[size_t(columnAt((block.firstTimeMs + block.lastTimeMs) / 2))].add(block);
            return true;
        });
    } else {
        ring.visitBlocks(0, from, to, sample, [&](const TrendRing::Block &block) {
            const int c = columnAt(block.firstTimeMs);
            if (c != columnAt(block.lastTimeMs))
                return false;
            sums[size_t(c)].add(block);
            return true;
        });
    }
    for (size_t c = 0; c < columns.size(); ++c)
        columns[c] = columnOf(sums[c]);
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
