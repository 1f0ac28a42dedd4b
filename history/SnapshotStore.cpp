#include "SnapshotStore.h"

#include "HistoryDatabase.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
Snapshot fromRow(const QSqlQuery &query)
{
    Snapshot s;
    s.id = query.value(0).toLongLong();
    s.device = query.value(1).toString();
    s.tag = query.value(2).toString();
    s.taken = QDateTime::fromString(query.value(3).toString(), Qt::ISODateWithMs);
    s.user = query.value(4).toString();
    s.reason = query.value(5).toString();
    s.uuid = query.value(6).toString();
    s.workstation = query.value(7).toString();
    return s;
}

const QString Columns =
    QStringLiteral("id, device, tag, taken, \"user\", reason, uuid, workstation");
} // namespace

qint64 SnapshotStore::store(const Snapshot &snapshot)
{
    qint64 id = 0;
    const bool pending = m_database.queuesForServer();
    const bool ok = m_database.transaction([&](QSqlQuery &query) {
        query.prepare(QStringLiteral("INSERT INTO snapshots(device, tag, taken, \"user\", reason,"
                                     " uuid, workstation%1) VALUES(?, ?, ?, ?, ?, ?, ?%2)")
                          .arg(pending ? QStringLiteral(", pending") : QString(),
                               pending ? QStringLiteral(", 1") : QString()));
        query.addBindValue(snapshot.device);
        query.addBindValue(snapshot.tag);
        query.addBindValue(
            snapshot.taken.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")));
        query.addBindValue(snapshot.user);
        query.addBindValue(snapshot.reason);
        query.addBindValue(snapshot.uuid.isEmpty() ? HistoryDatabase::newUuid() : snapshot.uuid);
        query.addBindValue(snapshot.workstation.isEmpty() ? HistoryDatabase::workstation()
                                                          : snapshot.workstation);
        if (!query.exec())
            return false;
        id = query.lastInsertId().toLongLong();
        query.prepare(
            QStringLiteral("INSERT INTO snapshot_values(snapshot, item, value) VALUES(?, ?, ?)"));
        for (auto it = snapshot.values.begin(); it != snapshot.values.end(); ++it) {
            query.addBindValue(id);
            query.addBindValue(it.key());
            query.addBindValue(it.value());
            if (!query.exec())
                return false;
        }
        return true;
    });
    return ok ? id : 0;
}

QList<Snapshot> SnapshotStore::list(const QString &device) const
{
    QList<Snapshot> result;
    if (!m_database.isOpen())
        return result;
    QSqlQuery query(m_database.database());
    const QString where = device.isEmpty() ? QString() : QStringLiteral(" WHERE device = ?");
    query.prepare(QStringLiteral("SELECT ") + Columns + QStringLiteral(" FROM snapshots") + where +
                  QStringLiteral(" ORDER BY taken DESC, id DESC"));
    if (!device.isEmpty())
        query.addBindValue(device);
    if (!query.exec())
        return result;
    while (query.next())
        result.append(fromRow(query));
    return result;
}

std::optional<Snapshot> SnapshotStore::load(qint64 id) const
{
    if (!m_database.isOpen())
        return std::nullopt;
    QSqlQuery query(m_database.database());
    query.prepare(QStringLiteral("SELECT ") + Columns +
                  QStringLiteral(" FROM snapshots WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return std::nullopt;
    Snapshot s = fromRow(query);
    query.prepare(QStringLiteral("SELECT item, value FROM snapshot_values WHERE snapshot = ?"));
    query.addBindValue(id);
    if (!query.exec())
        return std::nullopt;
    while (query.next())
        s.values.insert(query.value(0).toString(), query.value(1).toString());
    return s;
}
