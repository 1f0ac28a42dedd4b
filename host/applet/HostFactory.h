#pragma once

#include <QString>
#include <memory>

class DeviceDescription;
class VexAppletItemManager;

// Builds the item store, dictionary, manager and applet of one device
// instance from its description.
namespace HostFactory {
std::shared_ptr<VexAppletItemManager> createManager(const DeviceDescription &description);
}
