#pragma once

#include "DeviceWriteJournal.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class ChangeLog;
class DeviceDescription;
class ItemStore;
class SnapshotStore;
class VexAppletItemManager;
struct ChangeEntry;

// Keeps what the host writes to the device: before the first write of a
// sequence a snapshot of the device's dataset as read, and one change-log
// entry per value, stored before its request goes out and completed with
// the device's answer. Knows which values were read from the device since
// it connected, so that a snapshot holds only what the device said and an
// entry's old value is the device's, or plainly not known.
class HistoryRecorder final : public DeviceWriteJournal
{
public:
    HistoryRecorder(VexAppletItemManager &manager, const DeviceDescription &description,
                    ChangeLog &log, SnapshotStore &snapshots);
    ~HistoryRecorder() override;

    // The login name of the user.
    static QString loginName();
    void setUser(const QString &user) { m_user = user; }
    // Why the next sequence writes, for its snapshot (the sequence's name otherwise).
    void setNextReason(const QString &reason) { m_nextReason = reason; }
    // Told after each entry or snapshot stored or completed.
    void setChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }
    // Told when a dataset item's value changes, on either side.
    void setValueHandler(std::function<void(int index)> handler) { m_value = std::move(handler); }
    // Told before a snapshot or log entry is stored (the store may open its
    // database then).
    void setStoreHandler(std::function<void()> handler) { m_beforeStore = std::move(handler); }
    // Told when the connection status changes.
    void setConnectionHandler(std::function<void()> handler) { m_connection = std::move(handler); }

    // Store indexes of the dataset items read from the device since it connected.
    const QSet<int> &readItems() const { return m_read; }
    qint64 lastSnapshot() const { return m_lastSnapshot; }

    void writesStarting(const QString &sequence) override;
    qint64 writeStarting(const DeviceWrite &write) override;
    void writeEnded(qint64 token, Outcome outcome, int responseCode) override;

private:
    struct ResponseField
    {
        int item;
        int end; // offset behind its bytes in the response data
    };

    void itemChanged(int index, bool shadow);
    void responseArrived(const QList<ResponseField> &fields, int responseIndex);
    // What the device held before the write, as last read from it.
    std::optional<QString> deviceValue(int index, const QString &before) const;
    void addValue(QList<ChangeEntry> &entries, ChangeEntry entry, const QString &item,
                  const std::optional<QString> &before, const QString &after,
                  const DeviceWrite &write) const;
    QString unitOf(const QString &item, const DeviceWrite &write, bool before) const;
    void beforeStore() const;
    void changed() const;

    ItemStore &m_store;
    ChangeLog &m_log;
    SnapshotStore &m_snapshots;
    QString m_user;
    QString m_nextReason;
    std::function<void()> m_changed;
    std::function<void()> m_connection;
    std::function<void()> m_beforeStore;
    std::function<void(int index)> m_value;
    QSet<int> m_read;
    // Items outside the dataset keep one value for what the user enters and
    // what the device answers: the device's is taken as its response arrives.
    QHash<int, QList<ResponseField>> m_responses; // response item -> the items it fills
    QHash<int, QString> m_deviceValues;
    int m_connectIndex = -1;
    QHash<qint64, QList<qint64>> m_pending; // token -> log entry ids
    qint64 m_nextToken = 1;
    qint64 m_lastSnapshot = 0;
    std::shared_ptr<HistoryRecorder *> m_self; // lets the manager's observer outlive us
};
