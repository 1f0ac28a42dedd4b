#include "clsGetDecimalPlaces.h"

#include <QString>

#include <cmath>

qint16 clsGetDecimalPlaces::GetDecimalPlaces(double span) const
{
    if (span == 0 || std::isnan(span))
        return 0;
    const double x = 1000.0 / std::fabs(span);
    // A span so small that the quotient overflows, or has more digits than
    // can be shown, gets the most decimals there are.
    if (!std::isfinite(x) || x >= 1e15)
        return MaxDecimalPlaces;
    return qint16(QString::number(std::floor(x), 'f', 0).size());
}
