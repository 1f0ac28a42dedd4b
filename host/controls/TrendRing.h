#pragma once

#include "TrendSample.h"

#include <algorithm>
#include <array>
#include <vector>

// The samples of one curve in bounded memory: once full, each new sample
// replaces the oldest. The samples stay in time order: one older than the
// newest (a slow read that ended after a later gap was noted) goes in at its
// place. 13 bytes a sample and summaries of every 16 and every 64,
// allocated as the ring fills.
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

    // A run of samples that lie next to each other in the storage, summed up:
    // what one pixel column needs of them. Two sizes: 16 and 64 samples.
    static constexpr int Levels = 2;
    static constexpr int BlockSizes[Levels] = {16, 64};
    struct Block
    {
        qint64 firstTimeMs = 0;
        qint64 lastTimeMs = 0;
        bool hasValue = false;
        bool gap = false;
        bool gapBeforeFirst = false;
        bool gapAfterLast = false;
        TrendStatus worst = TrendStatus::Good;
        float min = 0.0f;
        float max = 0.0f;
        float first = 0.0f;
        float last = 0.0f;

        // Adds what comes next, as if its samples followed one by one.
        void add(const Block &next);
        void add(float value, TrendStatus status);
    };
    // Like visit(), but each whole block of the level inside [from, to) is
    // offered as one call of block(Block); where it returns false, its samples
    // come one by one.
    template <typename F, typename B>
    void visitBlocks(int level, int from, int to, F &&f, B &&block) const
    {
        const int size = BlockSizes[level];
        from = std::max(from, 0);
        to = std::min(to, m_size);
        while (from < to) {
            const int first = slot(from);
            const int run = std::min(to - from, m_capacity - first);
            int s = first;
            const int end = first + run;
            while (s < end) {
                if (s % size == 0 && s + size <= end && block(summary(level, s / size))) {
                    s += size;
                } else {
                    f(m_time[size_t(s)], m_value[size_t(s)], TrendStatus(m_status[size_t(s)]));
                    ++s;
                }
            }
            from += run;
        }
    }

    // Bytes held for samples (what the vectors have allocated).
    size_t memoryBytes() const;

private:
    // The summary of the storage block b of a level, made again when a sample
    // in it changed.
    Block summary(int level, int b) const;
    void touch(int s) const;
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
    // Per level and storage block its summary values and flags, kept apart
    // so that they take 17 bytes a block (about 1.3 bytes a sample in all).
    struct Summaries
    {
        std::vector<float> min, max, first, last;
        std::vector<quint8> flags; // Valid, HasValue, Gap, GapBefore, GapAfter, worst
    };
    mutable std::array<Summaries, Levels> m_levels;
};
