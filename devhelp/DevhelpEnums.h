#pragma once

#include <QtGlobal>

enum enmCommType : qint32
{
    HART = 0,
    PROFIBUS = 1,
};

enum enmModuleType : qint32
{
    ABSOLUT_PRESSURE = 0,
    DIFFERENTIAL_PRESSURE = 1,
};

// Sensor types share the module type's numbers.
using enmSensorType = enmModuleType;

// The verdicts the dataset validation publishes in "InCompatibleDataset".
enum enmDatasetValidation : qint32
{
    OK = 0,
    SENSOR_RANGE_EXCEEDED = 3,
    SPAN_TOO_SMALL = 4,
};
