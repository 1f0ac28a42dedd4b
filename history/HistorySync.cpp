#include "HistorySync.h"

#include "HistoryDatabase.h"
#include "HistoryLog.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

} // namespace

namespace {
// Snapshots first: a change log names the snapshot taken before it by time.
const HistorySync::Table Tables[] = {
    {"snapshots", "uuid, device, tag, taken, \"user\", workstation, reason", "taken", true},
    {"changes",
     "uuid, time, \"user\", workstation, device, tag, item, old_value, new_value, outcome,"
     " response_code, command, sequence, old_unit, new_unit",
     "time", false},
    {"calibration_checks",
     "uuid, device, tag, checked_at, technician, \"user\", workstation, as_found_passed,"
     " as_left_passed, as_found_error, document",
     "checked_at", false},
    {"calibration_intervals", "uuid, device, days, set_at, \"user\", workstation", "set_at", false},
};
} // namespace

HistorySync::HistorySync(HistoryDatabase &local, HistoryDatabase &server, QObject *parent)
    : QObject(parent), m_local(local), m_server(server),
      m_sessionStart(
          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")))
{
}

int HistorySync::waiting() const
{
    if (!m_local.isOpen())
        return 0;
    QSqlQuery query(m_local.database());
    int count = 0;
    for (const Table &table : Tables) {
        if (query.exec(QStringLiteral("SELECT count(*) FROM %1 WHERE pending = 1")
                           .arg(QLatin1String(table.name))) &&
            query.next())
            count += query.value(0).toInt();
    }
    return count;
}

bool HistorySync::sendWaiting()
{
    if (!m_local.isOpen())
        return false;
    const int total = waiting();
    int sent = 0;
    for (const Table &table : Tables) {
        for (;;) {
            const int rows = sendBatch(table);
            if (rows < 0) {
                Q_EMIT changed();
                return false;
            }
            if (rows == 0)
                break;
            sent += rows;
            Q_EMIT progress(sent, total);
        }
    }
    const bool complete = waiting() == 0;
    Q_EMIT changed();
    return complete;
}

int HistorySync::sendBatch(const Table &table)
{
    const QString name = QLatin1String(table.name);
    const QString columns = QLatin1String(table.columns);
    const int columnCount = int(columns.count(QLatin1Char(',')) + 1);
    // A write in flight has no outcome yet: it goes when it has one.
    const QString held =
        name == QLatin1String("changes")
            ? QStringLiteral(" AND (outcome <> 0 OR time < '%1')").arg(m_sessionStart)
            : QString();
    QSqlQuery local(m_local.database());
    if (!local.exec(
            QStringLiteral("SELECT id, %1 FROM %2 WHERE pending = 1%3 ORDER BY %4, id LIMIT %5")
                .arg(columns, name, held, QLatin1String(table.time))
                .arg(BatchSize))) {
        m_detail = local.lastError().text();
        return -1;
    }
    QList<qint64> ids;
    QList<QVariantList> rows;
    while (local.next()) {
        ids << local.value(0).toLongLong();
        QVariantList row;
        for (int i = 1; i <= columnCount; ++i)
            row << local.value(i);
        rows << row;
    }
    local.finish();
    if (rows.isEmpty())
        return 0;
    QList<QList<std::pair<QString, QString>>> values;
    if (table.hasValues) {
        for (qint64 id : ids) {
            QList<std::pair<QString, QString>> snapshotValues;
            local.prepare(
                QStringLiteral("SELECT item, value FROM snapshot_values WHERE snapshot = ?"));
            local.addBindValue(id);
            if (!local.exec()) {
                m_detail = local.lastError().text();
                return -1;
            }
            while (local.next())
                snapshotValues.append({local.value(0).toString(), local.value(1).toString()});
            values << snapshotValues;
        }
    }
    // Entries without values go to a server in one statement a batch: one
    // round trip instead of one a row (an SQLite file takes rows one by one
    // faster than it parses thousands of parameters).
    const auto sendRows = [&](QSqlQuery &query) {
        QStringList tuples;
        for (qsizetype row = 0; row < rows.size(); ++row)
            tuples << QLatin1Char('(') + placeholders(columnCount) + QLatin1Char(')');
        query.prepare(QStringLiteral("INSERT INTO %1(%2) VALUES%3 ON CONFLICT (uuid) DO NOTHING")
                          .arg(name, columns, tuples.join(QLatin1Char(','))));
        for (const QVariantList &row : rows) {
            for (const QVariant &value : row)
                query.addBindValue(value);
        }
        return query.exec();
    };
    const bool sent = m_server.transaction([&](QSqlQuery &query) {
        if (!table.hasValues && m_server.isServer())
            return sendRows(query);
        const QString insert =
            QStringLiteral("INSERT INTO %1(%2) VALUES(%3) ON CONFLICT (uuid) DO NOTHING%4")
                .arg(name, columns, placeholders(columnCount),
                     table.hasValues ? QStringLiteral(" RETURNING id") : QString());
        for (int row = 0; row < rows.size(); ++row) {
            query.prepare(insert);
            for (const QVariant &value : rows[row])
                query.addBindValue(value);
            if (!query.exec())
                return false;
            // Nothing returned: the snapshot and its values are there already.
            if (!table.hasValues || !query.next())
                continue;
            const qint64 serverId = query.value(0).toLongLong();
            query.prepare(QStringLiteral(
                "INSERT INTO snapshot_values(snapshot, item, value) VALUES(?, ?, ?)"));
            for (const auto &[item, value] : values[row]) {
                query.addBindValue(serverId);
                query.addBindValue(item);
                query.addBindValue(value);
                if (!query.exec())
                    return false;
            }
        }
        return true;
    });
    if (!sent) {
        m_detail = m_server.detail();
        qCInfo(lcHistory) << "history not sent to the server:" << m_detail;
        return -1;
    }
    // Marked after the server took them: a mark that fails sends them once
    // more, and the server keeps them once.
    const bool marked = m_local.transaction([&](QSqlQuery &query) {
        query.prepare(QStringLiteral("UPDATE %1 SET pending = 0 WHERE id = ?").arg(name));
        for (qint64 id : ids) {
            query.addBindValue(id);
            if (!query.exec())
                return false;
        }
        return true;
    });
    if (!marked) {
        m_detail = m_local.detail();
        qCInfo(lcHistory) << "sent history not marked as sent:" << m_detail;
        return -1;
    }
    return int(rows.size());
}

int HistorySync::queueWholeHistory()
{
    const bool queued = m_local.transaction([](QSqlQuery &query) {
        for (const Table &table : Tables) {
            if (!query.exec(QStringLiteral("UPDATE %1 SET pending = 1 WHERE pending = 0")
                                .arg(QLatin1String(table.name))))
                return false;
        }
        return true;
    });
    if (!queued)
        m_detail = m_local.detail();
    Q_EMIT changed();
    return waiting();
}
