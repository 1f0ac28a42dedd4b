#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// How far a recorded value can be trusted. A read that failed or did not
// happen is a gap: it has no value at all.
enum class TrendStatus : quint8
{
    Good = 0,
    Uncertain = 1, // the device flags the value (out of limits, output fixed or saturated)
    Bad = 2,       // the device reports a malfunction
    NoRead = 3,
};

struct TrendSample
{
    qint64 timeMs = 0; // since the epoch
    float value = 0.0f;
    TrendStatus status = TrendStatus::NoRead;

    bool isGap() const { return status == TrendStatus::NoRead; }
};

namespace TrendStatusText {
// The words of the recording file and the exported status column.
QString word(TrendStatus status);
TrendStatus fromWord(const QString &word, bool *ok = nullptr);
// The status of a value the device answered with this status byte.
TrendStatus fromDeviceStatus(quint8 deviceStatus);
// The worse of two.
TrendStatus worse(TrendStatus a, TrendStatus b);
} // namespace TrendStatusText

namespace TrendSamples {
// One sample a time, in time order: of two at the same time (two records of
// one read) the first with a value stays.
void normalise(QList<TrendSample> &samples);
} // namespace TrendSamples
