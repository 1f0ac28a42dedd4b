#include "FleetList.h"

#include "HistoryDatabase.h"
#include "HistoryLog.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace {

QDateTime timeOf(const QVariant &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QString whoOf(const QString &user, const QString &workstation)
{
    return workstation.isEmpty() ? user : user + QLatin1Char('@') + workstation;
}

// Where anything was written about a device: each table's newest row per
// device (an index walk on both engines: SQLite takes the other columns from
// the row of max(), PostgreSQL has DISTINCT ON).
struct Source
{
    const char *table;
    const char *time;
    const char *user;
};
const Source Sources[] = {
    {"changes", "time", "\"user\""},
    {"snapshots", "taken", "\"user\""},
    {"calibration_checks", "checked_at", "coalesce(\"user\", technician)"},
};

QString lastSeenSql(const Source &source, bool server)
{
    const QString table = QLatin1String(source.table);
    const QString time = QLatin1String(source.time);
    const QString user = QLatin1String(source.user);
    if (server)
        return QStringLiteral("SELECT DISTINCT ON (device) device, tag, %1, %2, workstation"
                              " FROM %3 ORDER BY device, %1 DESC")
            .arg(time, user, table);
    return QStringLiteral("SELECT device, tag, max(%1), %2, workstation FROM %3 GROUP BY device")
        .arg(time, user, table);
}

const char *const LastChecksSql =
    "SELECT device, checked_at, technician, as_found_passed, as_left_passed, as_found_error, n"
    " FROM (SELECT device, checked_at, technician, as_found_passed, as_left_passed,"
    "  as_found_error, row_number() OVER (PARTITION BY device ORDER BY checked_at DESC, id DESC)"
    "  AS n FROM calibration_checks) AS checks WHERE n <= 2";

const char *const IntervalsSql =
    "SELECT device, days FROM (SELECT device, days,"
    " row_number() OVER (PARTITION BY device ORDER BY set_at DESC, id DESC) AS n"
    " FROM calibration_intervals) AS intervals WHERE n = 1";

} // namespace

QList<FleetRow> FleetList::load(HistoryDatabase &database, int defaultIntervalDays)
{
    QList<FleetRow> rows;
    if (!database.isOpen() && database.open() != HistoryDatabase::Status::Open)
        return rows;
    QSqlQuery query(database.database());
    query.setForwardOnly(true);
    QHash<QString, qsizetype> byDevice;
    for (const Source &source : Sources) {
        if (!query.exec(lastSeenSql(source, database.isServer()))) {
            qCInfo(lcHistory) << "fleet not read:" << query.lastError().text();
            return {};
        }
        while (query.next()) {
            const QString device = query.value(0).toString();
            const QDateTime seen = timeOf(query.value(2));
            auto found = byDevice.constFind(device);
            if (found == byDevice.constEnd()) {
                FleetRow row;
                row.device = device;
                row.intervalDays = defaultIntervalDays;
                found = byDevice.insert(device, rows.size());
                rows.append(row);
            } else if (rows[*found].lastSeen >= seen) {
                continue;
            }
            FleetRow &row = rows[*found];
            row.tag = query.value(1).toString();
            row.lastSeen = seen;
            row.lastSeenBy = whoOf(query.value(3).toString(), query.value(4).toString());
        }
    }
    QHash<QString, double> newestError;
    if (!query.exec(QLatin1String(LastChecksSql))) {
        qCInfo(lcHistory) << "calibration checks not read:" << query.lastError().text();
        return {};
    }
    // The newest (n = 1) and the one before (n = 2), in either order.
    QHash<QString, double> earlierError;
    while (query.next()) {
        const auto found = byDevice.constFind(query.value(0).toString());
        if (found == byDevice.constEnd())
            continue;
        FleetRow &row = rows[*found];
        const bool newest = query.value(6).toInt() == 1;
        if (newest) {
            row.lastCheck = timeOf(query.value(1));
            row.technician = query.value(2).toString();
            row.asFoundPassed = query.value(3).toInt() != 0;
            row.asLeftPassed = query.value(4).toInt() != 0;
        }
        if (!query.value(5).isNull())
            (newest ? newestError : earlierError).insert(row.device, query.value(5).toDouble());
    }
    if (!query.exec(QLatin1String(IntervalsSql))) {
        qCInfo(lcHistory) << "calibration intervals not read:" << query.lastError().text();
        return {};
    }
    while (query.next()) {
        const auto found = byDevice.constFind(query.value(0).toString());
        if (found != byDevice.constEnd())
            rows[*found].intervalDays = query.value(1).toInt();
    }
    for (FleetRow &row : rows) {
        if (newestError.contains(row.device) && earlierError.contains(row.device))
            row.drift = newestError.value(row.device) - earlierError.value(row.device);
        if (row.lastCheck.isValid())
            row.nextDue = row.lastCheck.toUTC().date().addDays(row.intervalDays);
    }
    std::sort(rows.begin(), rows.end(),
              [](const FleetRow &a, const FleetRow &b) { return a.device < b.device; });
    return rows;
}

QList<FleetRow> FleetList::dueWithin(const QList<FleetRow> &rows, const QDate &today, int days)
{
    QList<FleetRow> due;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(due),
                 [&](const FleetRow &row) { return row.dueWithin(today, days); });
    std::stable_sort(due.begin(), due.end(), [](const FleetRow &a, const FleetRow &b) {
        if (a.nextDue.isValid() != b.nextDue.isValid())
            return !a.nextDue.isValid();
        return a.nextDue < b.nextDue;
    });
    return due;
}

bool FleetList::setInterval(HistoryDatabase &database, const QString &device, int days,
                            const QString &user)
{
    if (days <= 0)
        return false;
    const bool pending = database.queuesForServer();
    return database.transaction([&](QSqlQuery &query) {
        query.prepare(QStringLiteral("INSERT INTO calibration_intervals(uuid, device, days, set_at,"
                                     " \"user\", workstation%1) VALUES(?, ?, ?, ?, ?, ?%2)")
                          .arg(pending ? QStringLiteral(", pending") : QString(),
                               pending ? QStringLiteral(", 1") : QString()));
        query.addBindValue(HistoryDatabase::newUuid());
        query.addBindValue(device);
        query.addBindValue(days);
        query.addBindValue(
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")));
        query.addBindValue(user);
        query.addBindValue(HistoryDatabase::workstation());
        return query.exec();
    });
}
