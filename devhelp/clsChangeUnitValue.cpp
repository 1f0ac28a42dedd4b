#include "clsChangeUnitValue.h"

#include "DevhelpLog.h"
#include "clsDeviceInfo.h"

#include <cmath>

clsChangeUnitValue::clsChangeUnitValue() = default;
clsChangeUnitValue::~clsChangeUnitValue() = default;

QVariant
clsChangeUnitValue::Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef)
{
    if (m_registered)
        return QVariant();
    m_deviceInfo = std::make_unique<clsDeviceInfo>();
    m_deviceInfo->Register(AppletItemManagerRef);
    m_registered = true;
    return QVariant();
}

double clsChangeUnitValue::ChangeUnitValue(double Value, qint16 oldim, qint16 newdim) const
{
    if (!m_registered)
        return Value;
    // Only the HART table exists; the device information always says HART.
    if (m_deviceInfo->CommType() != HART)
        return 0;
    const double result = fromBase(newdim, toBase(oldim, Value));
    if (std::isfinite(result))
        return result;
    qCInfo(lcDevhelp) << "unit change of" << Value << "from unit" << oldim << "to" << newdim
                      << "gives no finite value; 0 instead";
    return 0;
}

// Each constant as the unit table gives it; "b × (1 ÷ c)" takes the
// reciprocal first, as written. One line a unit keeps the table readable.
// clang-format off
double clsChangeUnitValue::toBase(qint16 code, double v)
{
    switch (code) {
    case 1: return v * 2.49089;
    case 2: return v * 33.8639;
    case 3: return v * 29.8907;
    case 4: return v * 0.0980665;
    case 5: return v * 1.33322;
    case 6: return v * 68.9476;
    case 7: return v * 1000;
    case 8: return v;
    case 9: return v * 0.980665;
    case 10: return v * 980.665;
    case 11: return v * 0.01;
    case 12: return v * 10;
    case 13: return v * 1.33322;
    case 14: return v * 1013.25;
    case 15: return v / 2118.879;
    case 16: return v / 15850.32;
    case 17: return v / 60000;
    case 18: return v / 13198.16;
    case 19: return v / 3600;
    case 22: return v / 264.172;
    case 23: return v / 22.82446;
    case 24: return v / 1000;
    case 25: return v / 86.4;
    case 26: return v / 35.31466;
    case 27: return v / 3051187;
    case 29: return v / 86400;
    case 30: return v / 791889.5;
    case 31: return v / 19005350;
    case 32: return v;
    case 33: return (v - 32) / 1.8;
    case 34: return (v - 491.67) / 1.8;
    case 35: return v - 273.15;
    case 47: return v * 25.4;
    case 70: return v * 0.001;
    case 71: return v * 0.00001666667;
    case 72: return v * 2.777778E-07;
    case 74: return v * 0.01666667;
    case 75: return v * 0.0002777778;
    case 76: return v * 0.00001157407;
    case 77: return v * 16.66667;
    case 78: return v * 0.2777778;
    case 79: return v * 0.01157407;
    case 80: return v * 0.4535924;
    case 81: return v * 0.007559873;
    case 82: return v * 0.0001259979;
    case 83: return v * 0.000005249912;
    case 84: return v * 15.11975;
    case 85: return v * 0.2519958;
    case 86: return v * 0.01049982;
    case 87: return v * 0.2822353;
    case 88: return v * 0.0117598;
    case 90: return v * 1000;
    case 91: return v * 1000;
    case 93: return v * 119.8264;
    case 94: return v * 16.01846;
    case 95: return v * 1000;
    case 96: return v * 1000;
    case 97: return v;
    case 98: return v * 27679.9;
    case 99: return v * 1186.553;
    case 130: return v / 127132.8;
    case 131: return v / 60;
    case 132: return v / 6.289811;
    case 133: return v / 377.3887;
    case 134: return v / 22643.32;
    case 135: return v / 543439.7;
    case 136: return v / 951019.2;
    case 137: return v / 219.9693;
    case 138: return v / 3600000;
    case 145: return v * 2.48865;
    case 235: return v / 22824460;
    case 237: return v * 10000;
    case 238: return v * 2.49089;
    case 239: return v * 0.0980665;
    case 242: return v / 3051187 * 1000000;
    default: return v;
    }
}

double clsChangeUnitValue::fromBase(qint16 code, double b)
{
    switch (code) {
    case 1: return b * (1 / 2.49089);
    case 2: return b * (1 / 33.8639);
    case 3: return b * (1 / 29.8907);
    case 4: return b * (1 / 0.0980665);
    case 5: return b * (1 / 1.33322);
    case 6: return b * (1 / 68.9476);
    case 7: return b * 0.001;
    case 8: return b;
    case 9: return b * (1 / 0.980665);
    case 10: return b * (1 / 980.665);
    case 11: return b * 100;
    case 12: return b * 0.1;
    case 13: return b * (1 / 1.33322);
    case 14: return b * (1 / 1013.25);
    case 15: return b * 2118.879;
    case 16: return b * 15850.32;
    case 17: return b * 60000;
    case 18: return b * 13198.16;
    case 19: return b * 3600;
    case 22: return b * 264.172;
    case 23: return b * 22.82446;
    case 24: return b * 1000;
    case 25: return b * 86.4;
    case 26: return b * 35.31466;
    case 27: return b * 3051187;
    case 29: return b * 86400;
    case 30: return b * 791889.5;
    case 31: return b * 19005350;
    case 32: return b;
    case 33: return b * 1.8 + 32;
    case 34: return b * 1.8 + 491.67;
    case 35: return b + 273.15;
    case 47: return b * (1 / 25.4);
    case 70: return b / 0.001;
    case 71: return b / 0.00001666667;
    case 72: return b / 2.777778E-07;
    case 74: return b / 0.01666667;
    case 75: return b / 0.0002777778;
    case 76: return b / 0.00001157407;
    case 77: return b / 16.66667;
    case 78: return b / 0.2777778;
    case 79: return b / 0.01157407;
    case 80: return b / 0.4535924;
    case 81: return b / 0.007559873;
    case 82: return b / 0.0001259979;
    case 83: return b / 0.000005249912;
    case 84: return b / 15.11975;
    case 85: return b / 0.2519958;
    case 86: return b / 0.01049982;
    case 87: return b / 0.2822353;
    case 88: return b / 0.0117598;
    case 90: return b / 1000;
    case 91: return b / 1000;
    case 93: return b / 119.8264;
    case 94: return b / 16.01846;
    case 95: return b / 1000;
    case 96: return b / 1000;
    case 97: return b / 1;
    case 98: return b / 27679.9;
    case 99: return b / 1186.553;
    case 130: return b * 127132.8;
    case 131: return b * 60;
    case 132: return b * 6.289811;
    case 133: return b * 377.3887;
    case 134: return b * 22643.32;
    case 135: return b * 543439.7;
    case 136: return b * 951019.2;
    case 137: return b * 219.9693;
    case 138: return b * 3600000;
    case 145: return b * (1 / 2.48865);
    case 235: return b * 22824460;
    case 237: return b / 10000;
    case 238: return b * (1 / 2.49089);
    case 239: return b * (1 / 0.0980665);
    case 242: return b * 3051187 / 1000000;
    default: return b;
    }
}
// clang-format on
