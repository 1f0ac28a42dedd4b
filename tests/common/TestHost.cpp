#include "TestHost.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QTest>

TestHost::TestHost() : TestHost(testhost::description()) {}

TestHost::TestHost(const DeviceDescription &description)
    : m_device(std::make_unique<SimulatedTransmitter>()),
      m_link(std::make_unique<InProcessHartLink>(m_device.get()))
{
    m_device->setRealTimeClock(false);
    m_link->setBitRate(0);
    m_instance = std::make_unique<DeviceInstance>(description, m_link.get());
}

TestHost::~TestHost()
{
    m_instance.reset();
    m_link.reset();
}

const std::shared_ptr<VexAppletItemManager> &TestHost::manager() const
{
    return m_instance->manager();
}

bool TestHost::connect()
{
    m_instance->connection().connectDevice();
    return QTest::qWaitFor(
        [this] { return m_instance->connection().status() == ConnectionController::Connected; },
        5000);
}

namespace testhost {

namespace {
const char *const Json = R"({
  "deviceType": "test", "deviceRevision": 1,
  "enumerations": [
    {"name": "UnitCodes", "entries": [[7, "bar"], [8, "mbar"], [255, "not used"]]}
  ],
  "items": [
    {"name": "pbTagDesc", "type": "PCA", "length": 8, "default": "TAG"},
    {"name": "scaleInLoLim", "type": "Float", "default": 0, "min": -1e6, "max": 1e6},
    {"name": "primaryValueUnit", "type": "UInt", "enum": "UnitCodes", "default": 7},
    {"name": "counter", "type": "Int", "default": -5},
    {"name": "sensorCode", "type": "Int", "enum": "UnitCodes", "default": 8},
    {"name": "bcdItem", "type": "BCD", "default": 1234},
    {"name": "octets8", "type": "Octets", "length": 8},
    {"name": "installDate", "type": "HartDate", "default": "2020-02-29"},
    {"name": "message", "type": "String", "length": 32, "default": "hello"},
    {"name": "&&private&&Connect", "type": "UInt", "dataset": false}
  ],
  "records": [ {"name": "ReadPrimaryVariable", "command": 1} ],
  "sequences": [
    {"name": "Upload", "records": ["ReadPrimaryVariable"]},
    {"name": "PerformTransmitterSelfTest", "records": []}
  ]
})";
} // namespace

DeviceDescription description()
{
    QString error;
    auto d = DeviceDescription::fromJson(QByteArray(Json), &error);
    if (!d)
        qFatal("testhost: %s", qPrintable(error));
    return *d;
}

DeviceDescription builtInDescription()
{
    // Read once: many tests start from it.
    static const DeviceDescription builtIn = [] {
        QString error;
        auto d = DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
        if (!d)
            qFatal("testhost: %s", qPrintable(error));
        return *d;
    }();
    return builtIn;
}

void setShadow(VexAppletItemManager &manager, const QString &name, const QString &value)
{
    ItemStore &store = manager.store();
    const int index = store.indexOf(name);
    ItemValue v = store.value(index, true);
    if (index < 0 || !v.parse(store.definition(index), value))
        qFatal("testhost: cannot set %s", qPrintable(name));
    store.writeShadow(index, v);
}

void setDataset(VexAppletItemManager &manager, const QString &name, const QString &value)
{
    ItemStore &store = manager.store();
    const int index = store.indexOf(name);
    ItemValue v = store.value(index, false);
    if (index < 0 || !v.parse(store.definition(index), value))
        qFatal("testhost: cannot set %s", qPrintable(name));
    store.writeDataset(index, v);
}

} // namespace testhost
