#include "ctlDeviceStatus.h"

#include "ItemStore.h"
#include "VexAppletItemManager.h"

#include <QPointer>
#include <QTimer>

namespace {
// HART device status: bit 7 malfunction; bits 0 to 4 a value out of limits,
// the output fixed or saturated, more status available.
constexpr quint8 Malfunction = 0x80;
constexpr quint8 Attention = 0x1F;
} // namespace

ctlDeviceStatus::ctlDeviceStatus(QWidget *parent) : QWidget(parent), m_poll(new QTimer(this))
{
    setVisible(false);
    m_poll->setInterval(1000);
    connect(m_poll, &QTimer::timeout, this, &ctlDeviceStatus::checkDataset);
}

ctlDeviceStatus::~ctlDeviceStatus()
{
    UnRegister();
}

ctlDeviceStatus::Health ctlDeviceStatus::healthOf(quint8 deviceStatus)
{
    if (deviceStatus & Malfunction)
        return Health::Failure;
    if (deviceStatus & Attention)
        return Health::Maintenance;
    return Health::Good;
}

VexAppletItemManager *ctlDeviceStatus::host() const
{
    return dynamic_cast<VexAppletItemManager *>(m_manager.get());
}

void ctlDeviceStatus::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    UnRegister();
    m_manager = std::move(AppletItemManagerRef);
    if (VexAppletItemManager *h = host()) {
        const QPointer<ctlDeviceStatus> self(this);
        m_listener = h->addReadListener(
            [self](const QList<int> &, const VexAppletItemManager::ReadOutcome &outcome) {
                if (!self || !outcome.valid)
                    return;
                const Health health = healthOf(outcome.deviceStatus);
                if (health != self->m_health) {
                    self->m_health = health;
                    Q_EMIT self->changed();
                }
            });
    }
    m_poll->start();
    checkDataset();
}

void ctlDeviceStatus::UnRegister()
{
    if (VexAppletItemManager *h = host(); h && m_listener)
        h->removeReadListener(m_listener);
    m_listener = 0;
    m_poll->stop();
    m_manager.reset();
}

void ctlDeviceStatus::checkDataset()
{
    const VexAppletItemManager *h = host();
    if (!h)
        return;
    const ItemStore &store = h->store();
    bool differs = false;
    for (int i = 0; i < store.count() && !differs; ++i)
        differs = store.definition(i).dataset && store.isModified(i);
    if (differs != m_differs) {
        m_differs = differs;
        Q_EMIT changed();
    }
}
