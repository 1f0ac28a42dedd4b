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
constexpr quint8 OutputFixed = 0x08;
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

ctlDeviceStatus::Health ctlDeviceStatus::healthOf(quint8 deviceStatus, bool multidrop)
{
    if (deviceStatus & Malfunction)
        return Health::Failure;
    // At a multidrop address the current is fixed by design, not by a fault.
    const quint8 attention = multidrop ? quint8(Attention & ~OutputFixed) : Attention;
    if (deviceStatus & attention)
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
                const ItemStore &store = self->host()->store();
                const int address = store.indexOf(QStringLiteral("&&private_PM&&Address"));
                const bool multidrop = address >= 0 && store.value(address, false).number() > 0;
                const Health health = healthOf(outcome.deviceStatus, multidrop);
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
    const int connect = store.indexOf(QStringLiteral("&&private&&Connect"));
    const bool connected = connect >= 0 && store.value(connect, false).number() == 2;
    DatasetMatch match = DatasetMatch::of(store, connected);
    if (match.kind != m_match.kind || match.differing != m_match.differing) {
        m_match = std::move(match);
        Q_EMIT changed();
    }
}

bool ctlDeviceStatus::readFromDevice(const QString &item) const
{
    return readFromDevice(m_manager.get(), item);
}

bool ctlDeviceStatus::readFromDevice(const AppletItemManager *manager, const QString &item)
{
    const auto *h = dynamic_cast<const VexAppletItemManager *>(manager);
    if (!h)
        return false;
    const int index = h->store().indexOf(item);
    return index >= 0 && h->store().fromDevice(index);
}
