#pragma once

#include "TrendSample.h"

#include <algorithm>
#include <vector>

// The samples of one curve in bounded memory: once full, each new sample
// replaces the oldest. The samples stay in time order: one older than the
// newest (a slow read that ended after a later gap was noted) goes in at its
// place. 13 bytes a sample, allocated as the ring fills.
class TrendRing
{
public:
    explicit TrendRing(int capacity);

    int capacity() const { return m_capacity; }
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    void clear();

    // False when the ring is full and the sample older than all it keeps.
    bool append(const TrendSample &sample);
    // Another sample at the same place (its time unchanged in order).
    void replace(int i, const TrendSample &sample);
    // 0 is the oldest sample kept.
    TrendSample at(int i) const;
    qint64 timeAt(int i) const { return m_time[slot(i)]; }
    // The first sample at or after the time (size() when none).
    int lowerBound(qint64 timeMs) const;
    // The last sample at or before the time (-1 when none).
    int lastAtOrBefore(qint64 timeMs) const;

    // Calls f(timeMs, value, status) for the samples [from, to) in order,
    // straight from the storage: the inner loop of every redraw.
    template <typename F> void visit(int from, int to, F &&f) const
    {
        from = std::max(from, 0);
        to = std::min(to, m_size);
        while (from < to) {
            const int first = slot(from);
            const int run = std::min(to - from, m_capacity - first);
            for (int s = first; s < first + run; ++s)
                f(m_time[size_t(s)], m_value[size_t(s)], TrendStatus(m_status[size_t(s)]));
            from += run;
        }
    }

    // Bytes held for samples (what the vectors have allocated).
    size_t memoryBytes() const;

private:
    int slot(int i) const { return (m_start + i) % m_capacity; }
    void grow();
    void push(const TrendSample &sample);
    void set(int i, const TrendSample &sample);

    int m_capacity;
    int m_start = 0;
    int m_size = 0;
    std::vector<qint64> m_time;
    std::vector<float> m_value;
    std::vector<quint8> m_status;
};
