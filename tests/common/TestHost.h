#pragma once

#include <QString>
#include <memory>

class DeviceDescription;
class DeviceInstance;
class InProcessHartLink;
class SimulatedTransmitter;
class VexAppletItemManager;

// A device instance of the real host on a simulated transmitter behind an
// in-process link without wire time, over a small device description with
// one item of every type, or over the description given.
class TestHost
{
public:
    TestHost();
    explicit TestHost(const DeviceDescription &description);
    ~TestHost();

    const std::shared_ptr<VexAppletItemManager> &manager() const;
    DeviceInstance &instance() const { return *m_instance; }
    SimulatedTransmitter &device() const { return *m_device; }
    InProcessHartLink &link() const { return *m_link; }

    // Connects and waits until the host reports status 2.
    bool connect();

private:
    std::unique_ptr<SimulatedTransmitter> m_device;
    std::unique_ptr<InProcessHartLink> m_link;
    std::unique_ptr<DeviceInstance> m_instance;
};

namespace testhost {
// A small description with one item of every type.
DeviceDescription description();
// The description the program ships with.
DeviceDescription builtInDescription();
// Writes the shadow copy of an item as the device side does.
void setShadow(VexAppletItemManager &manager, const QString &name, const QString &value);
void setDataset(VexAppletItemManager &manager, const QString &name, const QString &value);
} // namespace testhost
