#pragma once

#include "DatasetComparison.h"

#include <QCoreApplication>
#include <QString>

class ItemStore;

// The range the values to write would leave the device with, against its
// sensor's limits and smallest span as the device has read them: a range
// the device would refuse is refused here, before any value of the write
// goes out, so that a refusal never leaves half a configuration behind.
class RangeCheck
{
    Q_DECLARE_TR_FUNCTIONS(RangeCheck)

public:
    static QStringList sensorItems();
    // Why the device would refuse the range; empty when it takes it or the
    // write leaves the range alone.
    static QString refusal(const ItemStore &store, const DatasetComparison::Values &device,
                           const DatasetComparison::Values &target);
};
