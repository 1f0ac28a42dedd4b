#pragma once

#include <QVariant>
#include <memory>

class AppletItemManager;

class IChangeUnitValue
{
public:
    virtual ~IChangeUnitValue() = default;
    virtual QVariant Register(const std::shared_ptr<AppletItemManager> &AppletItemManagerRef) = 0;
    virtual double ChangeUnitValue(double Value, qint16 oldim, qint16 newdim) const = 0;
};
