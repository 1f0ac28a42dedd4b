#pragma once

#include <QtGlobal>
#include <array>

// The pace at which a curve's reads come, so that only a read late for that
// pace counts as missing: over a slow link, or with a busy device, the reads
// come less often than asked, and a longer interval is no gap.
class TrendCadence
{
public:
    // Reads are late after this long at least, and after three usual
    // intervals; three times as long while the pace is not known yet.
    explicit TrendCadence(qint64 minimumMs) : m_minimumMs(minimumMs) {}

    // A read of the round that began at roundMs ended at atMs (both since the
    // epoch). Several reads of one round count once.
    void read(qint64 roundMs, qint64 atMs);
    void reset();

    // The median of the last intervals between rounds (0 before the second).
    qint64 intervalMs() const;
    // How long after the last read the next may still come.
    qint64 allowanceMs() const;
    // No read for longer than the allowance (never before the first).
    bool overdue(qint64 nowMs) const;
    qint64 lastReadMs() const { return m_lastAtMs; }

private:
    static constexpr int Kept = 8;

    qint64 m_minimumMs;
    std::array<qint64, Kept> m_intervals{};
    int m_count = 0;
    int m_next = 0;
    qint64 m_lastRoundMs = 0;
    qint64 m_lastAtMs = 0;
};
