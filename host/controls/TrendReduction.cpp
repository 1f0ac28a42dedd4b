#include "TrendReduction.h"

#include "TrendRing.h"

#include <algorithm>

namespace {

void addSample(TrendColumn &col, float value, TrendStatus status)
{
    if (status == TrendStatus::NoRead) {
        col.gap = true;
        (col.hasValue ? col.gapAfterLast : col.gapBeforeFirst) = true;
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
}

// A block's summary as its samples one after the other would leave the column.
void addBlock(TrendColumn &col, const TrendRing::Block &block)
{
    if (block.gap) {
        col.gap = true;
        if (block.gapBeforeFirst || !block.hasValue)
            (col.hasValue ? col.gapAfterLast : col.gapBeforeFirst) = true;
    }
    if (!block.hasValue)
        return;
    if (!col.hasValue) {
        col.hasValue = true;
        col.min = block.min;
        col.max = block.max;
        col.first = block.first;
        col.worst = block.worst;
    } else {
        col.min = std::min(col.min, block.min);
        col.max = std::max(col.max, block.max);
        col.worst = std::max(col.worst, block.worst);
    }
    col.last = block.last;
    col.gapAfterLast = block.gapAfterLast;
}

} // namespace

std::vector<TrendColumn> TrendReduction::reduce(const TrendRing &ring, qint64 fromMs, qint64 toMs,
                                                int width)
{
    std::vector<TrendColumn> columns(size_t(std::max(0, width)));
    if (width <= 0 || toMs <= fromMs)
        return columns;
    const double columnsPerMs = double(width) / double(toMs - fromMs);
    const auto columnOf = [&](qint64 timeMs) {
        return std::min(width - 1, int(double(timeMs - fromMs) * columnsPerMs));
    };
    const int from = ring.lowerBound(fromMs);
    const int to = ring.lowerBound(toMs);
    const auto sample = [&](qint64 timeMs, float value, TrendStatus status) {
        addSample(columns[size_t(columnOf(timeMs))], value, status);
    };
    // A block that lies within one column counts as a whole; one across a
    // column's edge, sample by sample.
    ring.visitBlocks(from, to, sample, [&](const TrendRing::Block &block) {
        const int c = columnOf(block.firstTimeMs);
        if (c != columnOf(block.lastTimeMs))
            return false;
        addBlock(columns[size_t(c)], block);
        return true;
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
