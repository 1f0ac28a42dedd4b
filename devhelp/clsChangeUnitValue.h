#pragma once

#include "IChangeUnitValue.h"

#include <memory>

class clsDeviceInfo;

// Converts a value between HART engineering units through the base unit of
// its quantity (pressure mbar, volume flow m³/s, temperature °C, length mm,
// mass flow kg/s, density kg/m³). Codes outside the table pass the value on.
class clsChangeUnitValue final : public IChangeUnitValue
{
public:
    clsChangeUnitValue();
    ~clsChangeUnitValue() override;

    QVariant Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef) override;
    // Before Register the value comes back unchanged; a conversion that
    // overflows or is undefined gives 0.
    double ChangeUnitValue(double Value, qint16 oldim, qint16 newdim) const override;

    static double toBase(qint16 code, double v);
    static double fromBase(qint16 code, double b);

private:
    std::unique_ptr<clsDeviceInfo> m_deviceInfo;
    bool m_registered = false;
};
