#include "ChangeLog.h"

#include "HistoryDatabase.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ");

QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(TimeFormat);
}
} // namespace

QList<qint64> ChangeLog::begin(const QList<ChangeEntry> &entries)
{
    QList<qint64> ids;
    const bool pending = m_database.queuesForServer();
    const bool ok = m_database.transaction([&](QSqlQuery &query) {
        query.prepare(
            QStringLiteral(
                "INSERT INTO changes(time, \"user\", device, tag, item, old_value, new_value, "
                "outcome,"
                " response_code, command, sequence, old_unit, new_unit, uuid, workstation%1)"
                " VALUES(?, ?, ?, ?, ?, ?, ?, ?, NULL, ?, ?, ?, ?, ?, ?%2)")
                .arg(pending ? QStringLiteral(", pending") : QString(),
                     pending ? QStringLiteral(", 1") : QString()));
        for (const ChangeEntry &e : entries) {
            query.addBindValue(timeText(e.time));
            query.addBindValue(e.user);
            query.addBindValue(e.device);
            query.addBindValue(e.tag);
            query.addBindValue(e.item);
            query.addBindValue(e.oldValue ? QVariant(*e.oldValue) : QVariant());
            query.addBindValue(e.newValue);
            query.addBindValue(int(ChangeEntry::Outcome::Unknown));
            query.addBindValue(e.command);
            query.addBindValue(e.sequence);
            query.addBindValue(e.oldUnit);
            query.addBindValue(e.newUnit);
            query.addBindValue(e.uuid.isEmpty() ? HistoryDatabase::newUuid() : e.uuid);
            query.addBindValue(e.workstation.isEmpty() ? HistoryDatabase::workstation()
                                                       : e.workstation);
            if (!query.exec())
                return false;
            ids.append(query.lastInsertId().toLongLong());
        }
        return true;
    });
    return ok ? ids : QList<qint64>();
}

bool ChangeLog::complete(const QList<qint64> &ids, ChangeEntry::Outcome outcome, int responseCode)
{
    return m_database.transaction([&](QSqlQuery &query) {
        query.prepare(
            QStringLiteral("UPDATE changes SET outcome = ?, response_code = ? WHERE id = ?"));
        for (qint64 id : ids) {
            query.addBindValue(int(outcome));
            query.addBindValue(responseCode < 0 ? QVariant() : QVariant(responseCode));
            query.addBindValue(id);
            if (!query.exec())
                return false;
        }
        return true;
    });
}

QList<ChangeEntry> ChangeLog::entries(const ChangeFilter &filter) const
{
    QList<ChangeEntry> result;
    if (!m_database.isOpen())
        return result;
    QString sql = QStringLiteral(
        "SELECT id, time, \"user\", device, tag, item, old_value, new_value, outcome,"
        " response_code, command, sequence, old_unit, new_unit, uuid, workstation"
        " FROM changes WHERE 1 = 1");
    QVariantList values;
    if (!filter.device.isEmpty()) {
        sql += QStringLiteral(" AND device = ?");
        values << filter.device;
    }
    if (filter.from.isValid()) {
        sql += QStringLiteral(" AND time >= ?");
        values << timeText(filter.from);
    }
    if (filter.to.isValid()) {
        sql += QStringLiteral(" AND time <= ?");
        values << timeText(filter.to);
    }
    if (!filter.item.isEmpty()) {
        sql += m_database.isServer() ? QStringLiteral(" AND strpos(lower(item), lower(?)) > 0")
                                     : QStringLiteral(" AND instr(lower(item), lower(?)) > 0");
        values << filter.item;
    }
    sql += QStringLiteral(" ORDER BY time DESC, id DESC");
    if (filter.limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(filter.limit);
    QSqlQuery query(m_database.database());
    query.prepare(sql);
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        return result;
    while (query.next()) {
        ChangeEntry e;
        e.id = query.value(0).toLongLong();
        e.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
        e.user = query.value(2).toString();
        e.device = query.value(3).toString();
        e.tag = query.value(4).toString();
        e.item = query.value(5).toString();
        if (!query.value(6).isNull())
            e.oldValue = query.value(6).toString();
        e.newValue = query.value(7).toString();
        const int outcome = query.value(8).toInt();
        e.outcome = outcome == 1   ? ChangeEntry::Outcome::Accepted
                    : outcome == 2 ? ChangeEntry::Outcome::Refused
                    : outcome == 3 ? ChangeEntry::Outcome::NotSent
                                   : ChangeEntry::Outcome::Unknown;
        e.responseCode = query.value(9).isNull() ? -1 : query.value(9).toInt();
        e.command = query.value(10).isNull() ? -1 : query.value(10).toInt();
        e.sequence = query.value(11).toString();
        e.oldUnit = query.value(12).toString();
        e.newUnit = query.value(13).toString();
        e.uuid = query.value(14).toString();
        e.workstation = query.value(15).toString();
        result.append(e);
    }
    return result;
}

QStringList ChangeLog::devices() const
{
    QStringList result;
    if (!m_database.isOpen())
        return result;
    QSqlQuery query(m_database.database());
    if (!query.exec(QStringLiteral("SELECT DISTINCT device FROM changes UNION"
                                   " SELECT DISTINCT device FROM snapshots ORDER BY 1")))
        return result;
    while (query.next())
        result << query.value(0).toString();
    return result;
}
