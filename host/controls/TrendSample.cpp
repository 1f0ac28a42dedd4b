#include "TrendSample.h"

#include <algorithm>

namespace {
const char *const Words[] = {"good", "uncertain", "bad", "no read"};

// HART device status: bit 7 malfunction; bits 0 to 3: a variable outside its
// limits, the loop current saturated or fixed.
constexpr quint8 Malfunction = 0x80;
constexpr quint8 Questionable = 0x0F;
} // namespace

QString TrendStatusText::word(TrendStatus status)
{
    return QLatin1String(Words[int(status) & 3]);
}

TrendStatus TrendStatusText::fromWord(const QString &word, bool *ok)
{
    for (int i = 0; i < 4; ++i) {
        if (word == QLatin1String(Words[i])) {
            if (ok)
                *ok = true;
            return TrendStatus(i);
        }
    }
    if (ok)
        *ok = false;
    return TrendStatus::NoRead;
}

TrendStatus TrendStatusText::fromDeviceStatus(quint8 deviceStatus)
{
    if (deviceStatus & Malfunction)
        return TrendStatus::Bad;
    if (deviceStatus & Questionable)
        return TrendStatus::Uncertain;
    return TrendStatus::Good;
}

TrendStatus TrendStatusText::worse(TrendStatus a, TrendStatus b)
{
    return quint8(a) >= quint8(b) ? a : b;
}

void TrendSamples::normalise(QList<TrendSample> &samples)
{
    std::stable_sort(
        samples.begin(), samples.end(),
        [](const TrendSample &a, const TrendSample &b) { return a.timeMs < b.timeMs; });
    qsizetype kept = 0;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (kept > 0 && samples[kept - 1].timeMs == samples[i].timeMs) {
            if (samples[kept - 1].isGap() && !samples[i].isGap())
                samples[kept - 1] = samples[i];
            continue;
        }
        samples[kept++] = samples[i];
    }
    samples.resize(kept);
}
