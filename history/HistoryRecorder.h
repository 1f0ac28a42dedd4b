#pragma once

#include "ChangeLog.h"
#include "DeviceWriteJournal.h"
#include "SnapshotStore.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class DeviceDescription;
class ItemStore;
class VexAppletItemManager;

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

    QString writesStarting(const QString &sequence) override;
    qint64 writeStarting(const DeviceWrite &write, QString *problem) override;
    void writeEnded(qint64 token, Outcome outcome, int responseCode) override;
    // Entries made past the host's sequences (the generic view's writes to a
    // device of any maker): kept, waiting and ended like the host's.
    qint64 entriesStarting(const QList<ChangeEntry> &entries, QString *problem);

    // Snapshots and entries the database could not take yet (another
    // program held it, the disk was full): kept here and stored by
    // storeWaiting(), which says whether all of them are stored now.
    bool hasWaiting() const
    {
        return !m_waitingSnapshots.isEmpty() || !m_waitingEntries.isEmpty() ||
               !m_lateOutcomes.isEmpty();
    }
    bool storeWaiting();
    // Why the database would not take the last thing given, in the user's words.
    void setProblemText(std::function<QString()> problem) { m_problem = std::move(problem); }

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
    QString problemText() const;

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
    // Not stored yet, in the order given: snapshots, and entries by token
    // with the outcome once it is known.
    struct WaitingEntries
    {
        qint64 token = 0;
        QList<ChangeEntry> entries;
        std::optional<Outcome> outcome;
        int responseCode = -1;
    };
    QList<Snapshot> m_waitingSnapshots;
    QList<WaitingEntries> m_waitingEntries;
    // Outcomes the database did not take when they came: token -> outcome, code.
    QHash<qint64, std::pair<Outcome, int>> m_lateOutcomes;
    std::function<QString()> m_problem;
    qint64 m_nextToken = 1;
    qint64 m_lastSnapshot = 0;
    std::shared_ptr<HistoryRecorder *> m_self; // lets the manager's observer outlive us
};
