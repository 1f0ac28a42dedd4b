#include "VexAppletItemManager.h"

#include "HostResult.h"
#include "ItemStore.h"
#include "UpdateScheduler.h"
#include "View.h"

#include <QVarLengthArray>

VexAppletItemManager::VexAppletItemManager(std::shared_ptr<ItemStore> store,
                                           std::shared_ptr<Dictionary> dictionary)
    : m_store(std::move(store)), m_dictionary(std::move(dictionary)),
      m_scheduler(std::make_unique<UpdateScheduler>())
{
    m_items.resize(m_store->count());
    m_store->setListener(this);
}

VexAppletItemManager::~VexAppletItemManager()
{
    m_store->setListener(nullptr);
}

qint32 VexAppletItemManager::fncRegisterView(View *view)
{
    if (!view)
        return HostResult::UnknownView;
    const qint32 handle = m_nextViewHandle++;
    m_views.insert(handle, view);
    view->SetAppletItemManagRef(handle, shared_from_this());
    return HostResult::Ok;
}

qint32 VexAppletItemManager::fncUnregisterView(View *view)
{
    const qint32 handle = m_views.key(view, 0);
    if (handle == 0)
        return HostResult::UnknownView;
    m_views.remove(handle);
    ++m_viewsLeft;
    if (m_viewLeft)
        m_viewLeft(view);
    for (int index = 0; index < int(m_items.size()); ++index) {
        QList<Registration> &list = m_items[index].views;
        for (qsizetype i = list.size() - 1; i >= 0; --i) {
            if (list[i].viewHandle == handle) {
                m_scheduler->remove(index, list[i].interval);
                list.removeAt(i);
            }
        }
    }
    return HostResult::Ok;
}

void VexAppletItemManager::fncRegisterItem(const QString &name, bool sh, qint32 viewHandle,
                                           qint32 &itemHandle, qint32, qint16 updateInterval,
                                           qint32 &rc)
{
    itemHandle = 0;
    const int index = m_store->indexOf(name);
    if (index < 0) {
        rc = HostResult::UnknownItem;
        return;
    }
    if (!m_views.contains(viewHandle)) {
        rc = HostResult::UnknownView;
        return;
    }
    itemHandle = index + 1;
    rc = HostResult::Ok;
    for (const Registration &r : m_items[index].views) {
        if (r.viewHandle == viewHandle && r.shadow == sh && r.interval == updateInterval)
            return;
    }
    m_items[index].views.append({m_views.value(viewHandle), viewHandle, sh, updateInterval});
    m_scheduler->add(index, updateInterval);
}

void VexAppletItemManager::fncUnregisterItem(const QVariant &viewHandle, qint32 itemHandle, bool sh,
                                             qint32 &rc)
{
    rc = HostResult::NotRegistered;
    const int index = itemHandle - 1;
    if (index < 0 || index >= int(m_items.size()))
        return;
    const qint32 view = viewHandle.toInt();
    QList<Registration> &list = m_items[index].views;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i].viewHandle == view && list[i].shadow == sh) {
            m_scheduler->remove(index, list[i].interval);
            list.removeAt(i);
            rc = HostResult::Ok;
            return;
        }
    }
}

int VexAppletItemManager::registrationCount(int itemIndex) const
{
    if (itemIndex < 0 || itemIndex >= int(m_items.size()))
        return 0;
    return int(m_items[itemIndex].views.size());
}

void VexAppletItemManager::itemChanged(int index, bool shadow, qint32 state)
{
    const Listeners &item = m_items[index];
    // Most changes reach one view and no observer: told straight away, a
    // copy of the registration being all that must outlive the view leaving
    // while it is told.
    if (m_observers.isEmpty() && item.observers.isEmpty() && item.views.size() == 1) {
        const Registration r = item.views.front();
        if (r.shadow == shadow)
            r.view->NotifyChanged(index + 1, shadow, state, 0);
        return;
    }
    tellAll(item, index, shadow, state);
}

void VexAppletItemManager::tellAll(const Listeners &item, int index, bool shadow, qint32 state)
{
    tellObservers(m_observers, index, shadow, state);
    tellObservers(item.observers, index, shadow, state);
    if (!item.views.isEmpty())
        tellViews(item.views, index, shadow, state);
}

void VexAppletItemManager::tellObservers(const QList<Observer> &observers, int index, bool shadow,
                                         qint32 state)
{
    for (const Observer &observer : observers)
        observer(index, shadow, state);
}

void VexAppletItemManager::tellViews(const QList<Registration> &registrations, int index,
                                     bool shadow, qint32 state)
{
    // A view may register or leave the host while it is being told: work on
    // a copy, and once any view has left, tell only those still here.
    QVarLengthArray<Registration, 8> targets;
    for (const Registration &r : registrations) {
        if (r.shadow == shadow)
            targets.append(r);
    }
    const quint64 viewsLeft = m_viewsLeft;
    for (const Registration &r : targets) {
        if (m_viewsLeft == viewsLeft || m_views.contains(r.viewHandle))
            r.view->NotifyChanged(index + 1, shadow, state, 0);
    }
}

int VexAppletItemManager::checked(qint32 item, ItemType type, qint32 &rc) const
{
    const int index = checkedAny(item, rc);
    if (index >= 0 && m_store->definition(index).type != type) {
        rc = HostResult::WrongType;
        return -1;
    }
    return index;
}

void VexAppletItemManager::getNumber(qint32 item, ItemType type, double &value, bool sh,
                                     qint32 &rc) const
{
    const int index = checked(item, type, rc);
    value = index >= 0 ? m_store->value(index, sh).number() : 0;
}

void VexAppletItemManager::putNumber(qint32 item, ItemType type, double value, qint32 &rc)
{
    const int index = checked(item, type, rc);
    if (index < 0)
        return;
    if (!ItemValue::acceptNumber(type, value)) {
        rc = HostResult::BadValue;
        return;
    }
    ItemValue v = m_store->value(index, false);
    v.setNumber(type == ItemType::Float ? double(float(value)) : value);
    m_store->writeDataset(index, v);
}

void VexAppletItemManager::getBytes(qint32 item, ItemType type, QByteArray &value, bool sh,
                                    qint32 &rc) const
{
    const int index = checked(item, type, rc);
    value = index >= 0 ? m_store->value(index, sh).bytes() : QByteArray();
}

void VexAppletItemManager::putBytes(qint32 item, ItemType type, const QByteArray &value, qint32 &rc)
{
    const int index = checked(item, type, rc);
    if (index < 0)
        return;
    QByteArray bytes = value;
    if (!ItemValue::acceptBytes(m_store->definition(index), bytes)) {
        rc = HostResult::BadValue;
        return;
    }
    ItemValue v = m_store->value(index, false);
    v.setBytes(bytes);
    m_store->writeDataset(index, v);
}

void VexAppletItemManager::fncGetUIntValueEx(qint32 item, double &value, bool sh, qint32 &rc)
{
    getNumber(item, ItemType::UInt, value, sh, rc);
}

void VexAppletItemManager::fncPutUintValue(qint32 item, double value, qint32 &rc)
{
    putNumber(item, ItemType::UInt, value, rc);
}

void VexAppletItemManager::fncGetIntValueEx(qint32 item, qint32 &value, bool sh, qint32 &rc)
{
    double v = 0;
    getNumber(item, ItemType::Int, v, sh, rc);
    value = qint32(v);
}

void VexAppletItemManager::fncPutIntValue(qint32 item, qint32 value, qint32 &rc)
{
    putNumber(item, ItemType::Int, value, rc);
}

void VexAppletItemManager::fncGetFloatValueEx(qint32 item, float &value, bool sh, qint32 &rc)
{
    double v = 0;
    getNumber(item, ItemType::Float, v, sh, rc);
    value = float(v);
}

void VexAppletItemManager::fncPutFloatValue(qint32 item, float value, qint32 &rc)
{
    putNumber(item, ItemType::Float, value, rc);
}

void VexAppletItemManager::fncGetBCDValueEx(qint32 item, qint32 &value, bool sh, qint32 &rc)
{
    double v = 0;
    getNumber(item, ItemType::BCD, v, sh, rc);
    value = qint32(v);
}

void VexAppletItemManager::fncPutBCDValue(qint32 item, qint32 value, qint32 &rc)
{
    putNumber(item, ItemType::BCD, value, rc);
}

void VexAppletItemManager::fncGetOctetsValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc)
{
    getBytes(item, ItemType::Octets, value, sh, rc);
}

void VexAppletItemManager::fncPutOctetsValue(qint32 item, const QByteArray &value, qint32 &rc)
{
    putBytes(item, ItemType::Octets, value, rc);
}

void VexAppletItemManager::fncGetPCAValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc)
{
    getBytes(item, ItemType::PCA, value, sh, rc);
}

void VexAppletItemManager::fncPutPCAValue(qint32 item, const QByteArray &value, qint32 &rc)
{
    putBytes(item, ItemType::PCA, value, rc);
}

void VexAppletItemManager::fncGetHartDateValueEx(qint32 item, QByteArray &value, bool sh,
                                                 qint32 &rc)
{
    getBytes(item, ItemType::HartDate, value, sh, rc);
}

void VexAppletItemManager::fncPutHartDateValue(qint32 item, const QByteArray &value, qint32 &rc)
{
    putBytes(item, ItemType::HartDate, value, rc);
}

void VexAppletItemManager::fncGetUIntValue(qint32 item, double &value, qint32 &rc)
{
    getNumber(item, ItemType::UInt, value, false, rc);
}

void VexAppletItemManager::fncGetOctetsValue(qint32 item, QByteArray &value, qint32 &rc)
{
    getBytes(item, ItemType::Octets, value, false, rc);
}

void VexAppletItemManager::fncPutStringValue(qint32 item, const QString &value, qint32 &rc)
{
    const int index = checkedAny(item, rc);
    if (index < 0)
        return;
    ItemValue v = m_store->value(index, false);
    if (!v.parse(m_store->definition(index), value, m_store->enumeration(index))) {
        rc = HostResult::BadValue;
        return;
    }
    m_store->writeDataset(index, v);
}

void VexAppletItemManager::fncGetStringValueEx(qint32 item, QString &value, bool sh, qint32 &rc)
{
    const int index = checkedAny(item, rc);
    if (index >= 0)
        QString(m_store->text(index, sh)).swap(value); // the inline copy: a hot path
    else
        value.clear();
}

void VexAppletItemManager::fncAdjustItem(const QString &name, QVariant &value)
{
    const int index = m_store->indexOf(name);
    if (index < 0)
        return;
    m_store->adjust(index);
    value = m_store->text(index, false);
}

int VexAppletItemManager::addReadListener(ReadListener listener)
{
    const int id = m_nextReadListener++;
    m_readListeners.insert(id, std::move(listener));
    return id;
}

void VexAppletItemManager::removeReadListener(int id)
{
    m_readListeners.remove(id);
}

void VexAppletItemManager::reportRead(const QList<int> &items, const ReadOutcome &outcome) const
{
    // A listener may leave while it is told.
    const QMap<int, ReadListener> listeners = m_readListeners;
    for (auto it = listeners.begin(); it != listeners.end(); ++it) {
        if (m_readListeners.contains(it.key()))
            it.value()(items, outcome);
    }
}
