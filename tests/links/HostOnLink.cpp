#include "HostOnLink.h"

#include "TestHost.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"

#include <QSignalSpy>
#include <QTest>

HostOnLink::HostOnLink(HartLink *link)
    : m_instance(std::make_unique<DeviceInstance>(testhost::builtInDescription(), link))
{
    m_instance->connection().setIdentifyWindow(500);
}

HostOnLink::~HostOnLink() = default;

bool HostOnLink::connect(int timeoutMs)
{
    m_instance->connection().connectDevice();
    return QTest::qWaitFor([this] { return status() == ConnectionController::Connected; },
                           timeoutMs);
}

int HostOnLink::status() const
{
    return m_instance->connection().status();
}

bool HostOnLink::run(const QString &name)
{
    QSignalSpy ended(&m_instance->engine(), &SequenceEngine::sequenceEnded);
    if (m_instance->engine().start(name) != 0)
        return false;
    if (!ended.wait(20000))
        return false;
    return ended.last().at(1).toBool();
}

void HostOnLink::setDataset(const char *item, const QString &value)
{
    m_instance->setItemText(QLatin1String(item), value);
}

QString HostOnLink::text(const char *item, bool shadow) const
{
    const ItemStore &store = m_instance->manager()->store();
    return store.text(store.indexOf(QLatin1String(item)), shadow);
}
