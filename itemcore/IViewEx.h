#pragma once

#include <memory>

class AppletItemManager;

// A view that can leave the host on its own initiative.
class IViewEx
{
public:
    virtual ~IViewEx() = default;
    virtual std::shared_ptr<AppletItemManager> appletItemManagerRef() const = 0;
    virtual void UnRegisterView() = 0;
};
