#include "TrendRing.h"

#include <algorithm>

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
    m_blockFlags.clear();
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

// The block of storage slot s is summed up again when it is next asked for.
void TrendRing::touch(int s) const
{
    const size_t b = size_t(s / BlockSize);
    if (b >= m_blockFlags.size()) {
        const size_t blocks = (m_time.capacity() + BlockSize - 1) / BlockSize;
        m_blockFlags.resize(blocks, 0);
        m_blockMin.resize(blocks);
        m_blockMax.resize(blocks);
        m_blockFirst.resize(blocks);
        m_blockLast.resize(blocks);
    }
    m_blockFlags[b] = 0;
}

TrendRing::Block TrendRing::summary(int b) const
{
    const size_t i = size_t(b);
    const int first = b * BlockSize;
    Block block;
    block.firstTimeMs = m_time[size_t(first)];
    block.lastTimeMs = m_time[size_t(first + BlockSize - 1)];
    if (!(m_blockFlags[i] & Valid)) {
        Block &s = block;
        for (int k = first; k < first + BlockSize; ++k) {
            const auto status = TrendStatus(m_status[size_t(k)]);
            const float value = m_value[size_t(k)];
            if (status == TrendStatus::NoRead) {
                s.gap = true;
                (s.hasValue ? s.gapAfterLast : s.gapBeforeFirst) = true;
                continue;
            }
            if (!s.hasValue) {
                s.hasValue = true;
                s.min = s.max = s.first = value;
                s.worst = status;
            } else {
                s.min = std::min(s.min, value);
                s.max = std::max(s.max, value);
                s.worst = std::max(s.worst, status);
            }
            s.last = value;
            s.gapAfterLast = false;
        }
        m_blockMin[i] = s.min;
        m_blockMax[i] = s.max;
        m_blockFirst[i] = s.first;
        m_blockLast[i] = s.last;
        m_blockFlags[i] = quint8(Valid | (s.hasValue ? HasValue : 0) | (s.gap ? Gap : 0) |
                                 (s.gapBeforeFirst ? GapBefore : 0) |
                                 (s.gapAfterLast ? GapAfter : 0) | (quint8(s.worst) << WorstShift));
        return block;
    }
    const quint8 flags = m_blockFlags[i];
    block.hasValue = flags & HasValue;
    block.gap = flags & Gap;
    block.gapBeforeFirst = flags & GapBefore;
    block.gapAfterLast = flags & GapAfter;
    block.worst = TrendStatus(flags >> WorstShift);
    block.min = m_blockMin[i];
    block.max = m_blockMax[i];
    block.first = m_blockFirst[i];
    block.last = m_blockLast[i];
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
           m_blockFlags.capacity() * (sizeof(quint8) + 4 * sizeof(float));
}
