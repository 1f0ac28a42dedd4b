#include "TrendRing.h"

#include <algorithm>
#include <numeric>

namespace {
constexpr size_t FirstBlock = 4096;

// The flags byte of a block summary; the worst status in its upper bits.
enum BlockFlag : quint8
{
    Valid = 0x01,
    HasValue = 0x02,
    Gap = 0x04,
    GapBefore = 0x08,
    GapAfter = 0x10,
    WorstShift = 5,
};
} // namespace

TrendRing::TrendRing(int capacity) : m_capacity(std::max(1, capacity)) {}

void TrendRing::clear()
{
    m_start = 0;
    m_size = 0;
    m_time.clear();
    m_value.clear();
    m_status.clear();
    for (Summaries &level : m_levels)
        level = Summaries();
}

// Grows the vectors in steps up to the capacity and never beyond it.
void TrendRing::grow()
{
    const size_t wanted = std::min<size_t>(m_capacity, std::max(FirstBlock, m_time.capacity() * 2));
    m_time.reserve(wanted);
    m_value.reserve(wanted);
    m_status.reserve(wanted);
}

void TrendRing::push(const TrendSample &sample)
{
    if (m_size < m_capacity) {
        if (m_time.size() == m_time.capacity())
            grow();
        m_time.push_back(sample.timeMs);
        m_value.push_back(sample.value);
        m_status.push_back(quint8(sample.status));
        touch(m_size);
        ++m_size;
        return;
    }
    // Full: the oldest makes room.
    m_time[m_start] = sample.timeMs;
    m_value[m_start] = sample.value;
    m_status[m_start] = quint8(sample.status);
    touch(m_start);
    m_start = (m_start + 1) % m_capacity;
}

void TrendRing::set(int i, const TrendSample &sample)
{
    const int s = slot(i);
    m_time[s] = sample.timeMs;
    m_value[s] = sample.value;
    m_status[s] = quint8(sample.status);
    touch(s);
}

// The blocks of storage slot s are summed up again when next asked for.
void TrendRing::touch(int s) const
{
    for (int level = 0; level < Levels; ++level) {
        Summaries &l = m_levels[size_t(level)];
        const size_t b = size_t(s / BlockSizes[level]);
        if (b >= l.flags.size()) {
            const size_t blocks =
                (m_time.capacity() + BlockSizes[level] - 1) / size_t(BlockSizes[level]);
            l.flags.resize(blocks, 0);
            l.min.resize(blocks);
            l.max.resize(blocks);
            l.first.resize(blocks);
            l.last.resize(blocks);
        }
        l.flags[b] = 0;
    }
}

void TrendRing::Block::add(float value, TrendStatus status)
{
    if (status == TrendStatus::NoRead) {
        gap = true;
        (hasValue ? gapAfterLast : gapBeforeFirst) = true;
        return;
    }
    if (!hasValue) {
        hasValue = true;
        min = max = first = value;
        worst = status;
    } else {
        min = std::min(min, value);
        max = std::max(max, value);
        worst = std::max(worst, status);
    }
    last = value;
    gapAfterLast = false;
}

void TrendRing::Block::add(const Block &next)
{
    if (next.gap) {
        gap = true;
        if (next.gapBeforeFirst || !next.hasValue)
            (hasValue ? gapAfterLast : gapBeforeFirst) = true;
    }
    if (!next.hasValue)
        return;
    if (!hasValue) {
        hasValue = true;
        min = next.min;
        max = next.max;
        first = next.first;
        worst = next.worst;
    } else {
        min = std::min(min, next.min);
        max = std::max(max, next.max);
        worst = std::max(worst, next.worst);
    }
    last = next.last;
    gapAfterLast = next.gapAfterLast;
}

TrendRing::Block TrendRing::summary(int level, int b) const
{
    const int size = BlockSizes[level];
    const int first = b * size;
    const size_t i = size_t(b);
    Summaries &l = m_levels[size_t(level)];
    Block block;
    if (!(l.flags[i] & Valid)) {
        // From the samples, or from the blocks of the level below.
        if (level == 0) {
            for (int k = first; k < first + size; ++k)
                block.add(m_value[size_t(k)], TrendStatus(m_status[size_t(k)]));
        } else {
            const int parts = size / BlockSizes[level - 1];
            for (int k = 0; k < parts; ++k)
                block.add(summary(level - 1, b * parts + k));
        }
        l.min[i] = block.min;
        l.max[i] = block.max;
        l.first[i] = block.first;
        l.last[i] = block.last;
        l.flags[i] =
            quint8(Valid | (block.hasValue ? HasValue : 0) | (block.gap ? Gap : 0) |
                   (block.gapBeforeFirst ? GapBefore : 0) | (block.gapAfterLast ? GapAfter : 0) |
                   (quint8(block.worst) << WorstShift));
    } else {
        const quint8 flags = l.flags[i];
        block.hasValue = flags & HasValue;
        block.gap = flags & Gap;
        block.gapBeforeFirst = flags & GapBefore;
        block.gapAfterLast = flags & GapAfter;
        block.worst = TrendStatus(flags >> WorstShift);
        block.min = l.min[i];
        block.max = l.max[i];
        block.first = l.first[i];
        block.last = l.last[i];
    }
    block.firstTimeMs = m_time[size_t(first)];
    block.lastTimeMs = m_time[size_t(first + size - 1)];
    return block;
}

bool TrendRing::append(const TrendSample &sample)
{
    if (m_size == 0 || sample.timeMs >= timeAt(m_size - 1)) {
        push(sample);
        return true;
    }
    // Older than the newest: the later ones move up by one. Only the last
    // few ever do, so this stays cheap.
    int place = lowerBound(sample.timeMs + 1);
    const bool full = m_size == m_capacity;
    if (full && place == 0)
        return false;
    push(at(m_size - 1));
    if (full)
        --place;
    for (int i = m_size - 1; i > place; --i)
        set(i, at(i - 1));
    set(place, sample);
    return true;
}

void TrendRing::replace(int i, const TrendSample &sample)
{
    if (i >= 0 && i < m_size)
        set(i, {timeAt(i), sample.value, sample.status});
}

TrendSample TrendRing::at(int i) const
{
    const int s = slot(i);
    return {m_time[s], m_value[s], TrendStatus(m_status[s])};
}

int TrendRing::lowerBound(qint64 timeMs) const
{
    int low = 0;
    int high = m_size;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (timeAt(mid) < timeMs)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

int TrendRing::lastAtOrBefore(qint64 timeMs) const
{
    return lowerBound(timeMs + 1) - 1;
}

size_t TrendRing::memoryBytes() const
{
    return m_time.capacity() * sizeof(qint64) + m_value.capacity() * sizeof(float) +
           m_status.capacity() * sizeof(quint8) +
           std::accumulate(
               m_levels.begin(), m_levels.end(), size_t(0), [](size_t sum, const Summaries &l) {
                   return sum + l.flags.capacity() * (sizeof(quint8) + 4 * sizeof(float));
               });
}
