#pragma once

#include "IChangeUnitValue.h"

#include <memory>

class clsDeviceInfo;

// Converts a value between HART engineering units through the base unit of
// its quantity, by the host's one unit table (HartUnits). A code the table
// does not know converts nothing.
class clsChangeUnitValue final : public IChangeUnitValue
{
public:
    clsChangeUnitValue();
    ~clsChangeUnitValue() override;

    QVariant Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef) override;
    // Before Register the value comes back unchanged; a conversion that
    // overflows or is undefined gives 0.
    double ChangeUnitValue(double Value, qint16 oldim, qint16 newdim) const override;

    // The table's steps; a code it does not know leaves the value as it is.
    static double toBase(qint16 code, double v);
    static double fromBase(qint16 code, double b);

private:
    std::unique_ptr<clsDeviceInfo> m_deviceInfo;
    bool m_registered = false;
};
