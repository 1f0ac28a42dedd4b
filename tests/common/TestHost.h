#pragma once

#include <QString>
#include <memory>

class VexAppletItemManager;
class DeviceDescription;

// A small device description with one item of every type, a record and two
// sequences, for tests of the item core against the real host.
namespace testhost {
DeviceDescription description();
std::shared_ptr<VexAppletItemManager> manager();
// Writes the shadow copy of an item as the device side does.
void setShadow(VexAppletItemManager &manager, const QString &name, const QString &value);
void setDataset(VexAppletItemManager &manager, const QString &name, const QString &value);
} // namespace testhost
