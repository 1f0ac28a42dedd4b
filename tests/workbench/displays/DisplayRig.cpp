#include "DisplayRig.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "simulator/SimulatedTransmitter.h"

#include <QTest>

DisplayRig::DisplayRig() : host(testhost::builtInDescription())
{
    host.instance().engine().setAnswerTimeout(3000);
    host.device().setNoiseLevel(0);
    setUpdateUnit(3600 * 1000);
}

DisplayRig::~DisplayRig() = default;

std::shared_ptr<AppletItemManager> DisplayRig::manager() const
{
    return host.manager();
}

ItemStore &DisplayRig::store() const
{
    return host.manager()->store();
}

void DisplayRig::set(const QString &item, const QString &value) const
{
    if (!host.instance().setItemText(item, value))
        qFatal("cannot set %s", qPrintable(item));
}

QString DisplayRig::text(const QString &item) const
{
    return store().text(store().indexOf(item), false);
}

bool DisplayRig::connect()
{
    return host.connect();
}

bool DisplayRig::disconnect()
{
    host.instance().connection().disconnectDevice();
    return QTest::qWaitFor(
        [this] {
            return host.instance().connection().status() == ConnectionController::NotConnected;
        },
        5000);
}

void DisplayRig::setUpdateUnit(int ms) const
{
    host.manager()->updateScheduler().setUnitMilliseconds(ms);
}
