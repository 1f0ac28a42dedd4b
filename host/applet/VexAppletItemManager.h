#pragma once

#include "AppletItemManager.h"
#include "HostResult.h"
#include "ItemDefinition.h"
#include "ItemStore.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <functional>
#include <memory>
#include <vector>

class ItemValue;
class UpdateScheduler;

// The host's item manager: hands out view and item handles, gives typed
// access to the item store and tells registered views of every change.
// Item handles are the item's position in the store plus one.
class VexAppletItemManager final : public AppletItemManager,
                                   private ItemStore::Listener,
                                   public std::enable_shared_from_this<VexAppletItemManager>
{
public:
    VexAppletItemManager(std::shared_ptr<ItemStore> store, std::shared_ptr<Dictionary> dictionary);
    ~VexAppletItemManager() override;

    void setApplet(std::shared_ptr<Applet> applet) { m_applet = std::move(applet); }
    ItemStore &store() const { return *m_store; }
    UpdateScheduler &updateScheduler() const { return *m_scheduler; }

    qint32 fncRegisterView(View *view) override;
    qint32 fncUnregisterView(View *view) override;
    std::shared_ptr<Dictionary> fncGetDictionary() override { return m_dictionary; }
    std::shared_ptr<Applet> fncGetApplet() override { return m_applet; }

    void fncRegisterItem(const QString &name, bool sh, qint32 viewHandle, qint32 &itemHandle,
                         qint32 reserved, qint16 updateInterval, qint32 &rc) override;
    void fncUnregisterItem(const QVariant &viewHandle, qint32 itemHandle, bool sh,
                           qint32 &rc) override;

    void fncGetUIntValueEx(qint32 item, double &value, bool sh, qint32 &rc) override;
    void fncPutUintValue(qint32 item, double value, qint32 &rc) override;
    void fncGetIntValueEx(qint32 item, qint32 &value, bool sh, qint32 &rc) override;
    void fncPutIntValue(qint32 item, qint32 value, qint32 &rc) override;
    void fncGetFloatValueEx(qint32 item, float &value, bool sh, qint32 &rc) override;
    void fncPutFloatValue(qint32 item, float value, qint32 &rc) override;
    void fncGetBCDValueEx(qint32 item, qint32 &value, bool sh, qint32 &rc) override;
    void fncPutBCDValue(qint32 item, qint32 value, qint32 &rc) override;
    void fncGetOctetsValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc) override;
    void fncPutOctetsValue(qint32 item, const QByteArray &value, qint32 &rc) override;
    void fncGetPCAValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc) override;
    void fncPutPCAValue(qint32 item, const QByteArray &value, qint32 &rc) override;
    void fncGetHartDateValueEx(qint32 item, QByteArray &value, bool sh, qint32 &rc) override;
    void fncPutHartDateValue(qint32 item, const QByteArray &value, qint32 &rc) override;
    void fncGetUIntValue(qint32 item, double &value, qint32 &rc) override;
    void fncGetOctetsValue(qint32 item, QByteArray &value, qint32 &rc) override;
    void fncPutStringValue(qint32 item, const QString &value, qint32 &rc) override;
    void fncGetStringValueEx(qint32 item, QString &value, bool sh, qint32 &rc) override;
    void fncAdjustItem(const QString &name, QVariant &value) override;

    // The host's own parts hear of every change before the views do: of
    // every item's, or of one item's only (which costs the others nothing).
    using Observer = std::function<void(int index, bool shadow, qint32 state)>;
    void addObserver(Observer observer) { m_observers.append(std::move(observer)); }
    void addItemObserver(int itemIndex, Observer observer)
    {
        m_items[itemIndex].observers.append(std::move(observer));
    }
    // Told when a view leaves the host on its own (fncUnregisterView).
    void setViewLeftHandler(std::function<void(View *)> handler)
    {
        m_viewLeft = std::move(handler);
    }
    bool hasListeners(int itemIndex) const { return registrationCount(itemIndex) > 0; }

    // Periodic reads as they end: the items the record carries, whether the
    // device answered with data, its status byte, and when the read began.
    // Displays need this to tell a failed read from a value that did not change.
    struct ReadOutcome
    {
        bool valid = false;
        quint8 deviceStatus = 0;
        qint64 timeMs = 0;
    };
    using ReadListener = std::function<void(const QList<int> &items, const ReadOutcome &)>;
    int addReadListener(ReadListener listener);
    void removeReadListener(int id);
    void reportRead(const QList<int> &items, const ReadOutcome &outcome) const;

    // Host side: names and handles of registered views, for the frame.
    int viewCount() const { return int(m_views.size()); }
    int registrationCount(int itemIndex) const;

private:
    struct Registration
    {
        View *view;
        qint32 viewHandle;
        bool shadow;
        qint16 interval;
    };
    // Who hears of one item's changes.
    struct Listeners
    {
        QList<Observer> observers;
        QList<Registration> views;
    };

    // The slot behind a handle, when it holds the type asked for.
    int checked(qint32 item, ItemType type, qint32 &rc) const;
    int checkedAny(qint32 item, qint32 &rc) const
    {
        const int index = item - 1;
        if (index < 0 || index >= m_store->count()) {
            rc = HostResult::UnknownItem;
            return -1;
        }
        rc = HostResult::Ok;
        return index;
    }
    void getNumber(qint32 item, ItemType type, double &value, bool sh, qint32 &rc) const;
    void putNumber(qint32 item, ItemType type, double value, qint32 &rc);
    void getBytes(qint32 item, ItemType type, QByteArray &value, bool sh, qint32 &rc) const;
    void putBytes(qint32 item, ItemType type, const QByteArray &value, qint32 &rc);
    // Tells the host's parts, then the views, of a change in the store.
    void itemChanged(int index, bool shadow, qint32 state) override;
    void tellAll(const Listeners &item, int index, bool shadow, qint32 state);
    static void tellObservers(const QList<Observer> &observers, int index, bool shadow,
                              qint32 state);
    void tellViews(const QList<Registration> &registrations, int index, bool shadow, qint32 state);

    std::shared_ptr<ItemStore> m_store;
    std::shared_ptr<Dictionary> m_dictionary;
    std::shared_ptr<Applet> m_applet;
    std::unique_ptr<UpdateScheduler> m_scheduler;
    QList<Observer> m_observers;
    QMap<int, ReadListener> m_readListeners;
    int m_nextReadListener = 1;
    std::function<void(View *)> m_viewLeft;
    QHash<qint32, View *> m_views;
    std::vector<Listeners> m_items; // by item index
    qint32 m_nextViewHandle = 1;
    quint64 m_viewsLeft = 0; // counts fncUnregisterView calls
};
