#pragma once

#include <QString>
#include <memory>

class AppletItemManager;

// What the busy window needs of the device information: bind it to the
// host once, then the device's identity for the window caption.
class IBusyDeviceInfo
{
public:
    virtual ~IBusyDeviceInfo() = default;
    virtual void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef) = 0;
    virtual QString DeviceIdentName() = 0;
};
