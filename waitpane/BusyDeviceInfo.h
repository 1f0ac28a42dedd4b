#pragma once

#include "IBusyDeviceInfo.h"

#include <memory>

class clsAppItem;

// The busy window's own device identity: tag and descriptor of the device in
// the project, read from the host's items.
class BusyDeviceInfo : public IBusyDeviceInfo
{
public:
    BusyDeviceInfo();
    ~BusyDeviceInfo() override;

    void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef) override;
    // Tag and descriptor without surrounding blanks, joined by ": ".
    QString DeviceIdentName() override;

private:
    std::unique_ptr<clsAppItem> m_tagName;
    std::unique_ptr<clsAppItem> m_descriptor;
};
