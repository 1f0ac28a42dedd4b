#pragma once

#include <QtGlobal>
#include <array>
#include <memory>

class IViewEx;
class clsDeviceInfo;

// A dialog's own device information component, bound to the dialog's host
// while the dialog is open: for the checks that depend on the device's
// software version.
class DialogDeviceInfo
{
public:
    DialogDeviceInfo();
    ~DialogDeviceInfo();

    // The version as major, minor, patch; zeros while the dialog has no host.
    std::array<quint8, 3> softwareRevision(IViewEx *view);
    bool atLeast(IViewEx *view, const std::array<quint8, 3> &version);
    void release();

private:
    std::shared_ptr<clsDeviceInfo> m_info;
};
