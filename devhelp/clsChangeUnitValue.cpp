#include "clsChangeUnitValue.h"

#include "DevhelpLog.h"
#include "clsDeviceInfo.h"
#include "hart/HartUnits.h"

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
    // A unit the table does not know converts nothing: the value stays, and
    // the log says why.
    for (const qint16 code : {oldim, newdim}) {
        if (!HartUnits::quantity(code)) {
            qCInfo(lcDevhelp) << "unit code" << code << "is not known: the value" << Value
                              << "is not converted from unit" << oldim << "to" << newdim;
            return Value;
        }
    }
    const double result = fromBase(newdim, toBase(oldim, Value));
    if (std::isfinite(result))
        return result;
    qCInfo(lcDevhelp) << "unit change of" << Value << "from unit" << oldim << "to" << newdim
                      << "gives no finite value; 0 instead";
    return 0;
}

double clsChangeUnitValue::toBase(qint16 code, double v)
{
    return HartUnits::toBase(code, v).value_or(v);
}

double clsChangeUnitValue::fromBase(qint16 code, double b)
{
    return HartUnits::fromBase(code, b).value_or(b);
}
