#include "clsConnEventMgr.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "clsAppItemCollection.h"

#include <cmath>

clsConnEventMgr::clsConnEventMgr() = default;
clsConnEventMgr::~clsConnEventMgr() = default;

void clsConnEventMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_items = std::make_unique<clsAppItemCollection>();
    m_ConnectionStatus = m_items->Add(QStringLiteral("&&private&&Connect"), false, 0);
    connect(m_ConnectionStatus.get(), &clsAppItem::ValueUpdate, this,
            &clsConnEventMgr::m_ConnectionStatus_ValueUpdate);
    m_abortSequences = m_items->Add(QStringLiteral("abortSequences"), false, 0);
    m_foreignDevice = m_items->Add(QStringLiteral("&&private&&ForeignDevice"), false, 0);
    m_items->Register(manager);
}

void clsConnEventMgr::unregisterItems()
{
    m_items->UnRegister();
}

void clsConnEventMgr::m_ConnectionStatus_ValueUpdate(QString &)
{
    if (!isRegistered())
        return;
    const qint16 status = qint16(std::lrint(m_ConnectionStatus->UIntValue()));
    if (status == 0)
        m_abortSequences->setUIntValue(1);
    // Remember the status first: the device read below reports back at once.
    const qint16 previous = m_previousStatus;
    m_previousStatus = status;
    // The host says who answers before it reports the connection.
    const bool foreign = std::lrint(m_foreignDevice->UIntValue()) == 1;
    if (status == 2 && previous != 2 && !foreign) {
        if (auto manager = this->manager()) {
            if (auto applet = manager->fncGetApplet())
                applet->fncStartSequence(QLatin1String(DeviceInfoSequence));
        }
    }
}
