#pragma once

#include "ChangeLog.h"
#include "SnapshotStore.h"

#include <QObject>
#include <QPointer>
#include <functional>

#include "HistoryService.h"
class QIODevice;

// What the History window shows, without its widgets: the snapshots of the
// device and the change log under the user's filter, kept current while
// the history grows, and the log's export. With a team's server in reach
// the log is the team's: what others wrote beside this computer's own
// (which holds what still waits to be sent).
class HistoryController : public QObject
{
    Q_OBJECT

public:
    explicit HistoryController(QObject *parent = nullptr);

    void setService(HistoryService *service);
    HistoryService *service() const { return m_service; }

    const ChangeFilter &filter() const { return m_filter; }
    void setDeviceFilter(const QString &device);
    void setTimeFilter(const QDateTime &from, const QDateTime &to);
    // Entries whose item's name or label holds the text (without regard to case).
    void setItemFilter(const QString &item);
    // How the user reads an item's name, for the item filter.
    void setItemLabel(std::function<QString(const QString &item)> label)
    {
        m_itemLabel = std::move(label);
    }

    // Every device that has entries or snapshots (the team's too).
    QStringList devices() const;
    // Snapshots of the filtered device (all without a device filter).
    const QList<Snapshot> &snapshots() const { return m_snapshots; }
    const QList<ChangeEntry> &entries() const { return m_entries; }

    // The entries shown, as CSV.
    bool exportCsv(QIODevice &out, const QStringList &header,
                   const std::function<QStringList(const ChangeEntry &)> &cells) const;

    void reload();

Q_SIGNALS:
    void changed();

private:
    void scheduleReload();
    // The server while the uplink reaches it: asked only then, so that a
    // server away never holds up the window.
    QString teamServer() const;
    void addTeamEntries(const QString &server);

    QPointer<HistoryService> m_service;
    bool m_reloadScheduled = false;
    QMetaObject::Connection m_connection;
    QMetaObject::Connection m_uplinkConnection;
    ChangeFilter m_filter; // its item filter stays empty: the labels are matched here
    QString m_itemText;
    std::function<QString(const QString &item)> m_itemLabel;
    QList<Snapshot> m_snapshots;
    QList<ChangeEntry> m_entries;
};
