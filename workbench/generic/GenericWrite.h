#pragma once

#include "GenericChangeLog.h"
#include "GenericDevice.h"

#include <QByteArray>
#include <QList>
#include <optional>

struct GenericValues;

// One write of the generic view as it goes out: the command, its request
// and the change-log entries that say what it changes, the values before
// taken from what the device last answered. Made here, sent by
// GenericDevice; what the device holds is read again after it.
struct GenericWrite
{
    GenericDevice::Action action = GenericDevice::Action::WriteTag;
    quint8 command = 0;
    QByteArray request;
    QList<GenericChangeLog::Value> logged;

    // The commands whose answers the write changes.
    QList<quint8> readAfter() const;

    // Nothing for a date the request cannot carry.
    static std::optional<GenericWrite>
    tagDescriptorDate(const UniversalLayout::TagDescriptorDate &values, const GenericValues &old);
    static GenericWrite message(const QString &message, const GenericValues &old);
    static GenericWrite longTag(const QString &tag, const GenericValues &old);
    static GenericWrite range(const CommonPracticeLayout::RangeValues &range,
                              const GenericValues &old);
    static GenericWrite damping(double seconds, const GenericValues &old);
    static GenericWrite unit(quint8 unit, const GenericValues &old);
    static GenericWrite zero();
    // Before: the level held, or normal when the device says it holds none.
    static GenericWrite fixCurrent(double milliamperes, std::optional<float> held,
                                   const GenericValues &old);
    static GenericWrite releaseCurrent(std::optional<float> held);
    static GenericWrite trim(bool gain, double measuredMilliamperes);
};
