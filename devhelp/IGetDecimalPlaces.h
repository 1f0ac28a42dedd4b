#pragma once

#include <QtGlobal>

class IGetDecimalPlaces
{
public:
    virtual ~IGetDecimalPlaces() = default;
    virtual qint16 GetDecimalPlaces(double span) const = 0;
};
