#pragma once

#include <memory>

class AppletItemManager;

// What the framework's item handler asks of every framework control it finds
// on a dialog: bind the items named in the control's properties, let them go
// again, and bring the control in step with the host (write a pending edit,
// show the host's values).
class IVexaFrameworkControl
{
public:
    virtual ~IVexaFrameworkControl() = default;

    virtual void registerItems(const std::shared_ptr<AppletItemManager> &manager) = 0;
    virtual void unregisterItems() = 0;
    virtual void updateItems() = 0;
};
