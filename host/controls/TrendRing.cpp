#include "TrendRing.h"

#include <algorithm>

namespace {
constexpr size_t FirstBlock = 4096;
}

TrendRing::TrendRing(int capacity) : m_capacity(std::max(1, capacity)) {}

void TrendRing::clear()
{
    m_start = 0;
    m_size = 0;
    m_time.clear();
    m_value.clear();
    m_status.clear();
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
        ++m_size;
        return;
    }
    // Full: the oldest makes room.
    m_time[m_start] = sample.timeMs;
    m_value[m_start] = sample.value;
    m_status[m_start] = quint8(sample.status);
    m_start = (m_start + 1) % m_capacity;
}

void TrendRing::set(int i, const TrendSample &sample)
{
    const int s = slot(i);
    m_time[s] = sample.timeMs;
    m_value[s] = sample.value;
    m_status[s] = quint8(sample.status);
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
           m_status.capacity() * sizeof(quint8);
}
