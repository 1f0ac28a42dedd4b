#pragma once

class clsStartAlwaysView;

// A component that the always-started view runs for the life of the device
// instance, from Register to UnRegister.
class IStartAlwaysComponent
{
public:
    virtual ~IStartAlwaysComponent() = default;
    virtual void Register(clsStartAlwaysView *myView) = 0;
    virtual void UnRegister() = 0;
};
