#pragma once

#include "DevhelpEnums.h"

#include <QString>
#include <QVariant>
#include <array>
#include <memory>

class AppletItemManager;

// What the program asks about the connected device and the engineering system.
class IDeviceInfo
{
public:
    virtual ~IDeviceInfo() = default;

    virtual qint16 FixedCurrentModeEnabled() const = 0;
    virtual qint16 SoftwareVersion() const = 0;
    // Major, minor and patch number, in the order to compare them (a missing
    // byte reads 0): version checks compare these, never the joined number.
    virtual std::array<quint8, 3> SoftwareRevision() const = 0;
    virtual QString DeviceIdentName() const = 0;
    virtual enmCommType CommType() const = 0;
    virtual bool DtmIsInSystemBatchMode() const = 0;
    virtual QVariant Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef) = 0;
};
