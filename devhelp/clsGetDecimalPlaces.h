#pragma once

#include "IGetDecimalPlaces.h"

// Display digits that suit a measuring span: 4 for a span of 1, one less for
// every tenfold wider span, at least 1.
class clsGetDecimalPlaces final : public IGetDecimalPlaces
{
public:
    // More decimals than a double carries digits show only noise.
    static constexpr qint16 MaxDecimalPlaces = 15;

    qint16 GetDecimalPlaces(double span) const override;
};
