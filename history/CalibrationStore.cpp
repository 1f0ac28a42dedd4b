#include "CalibrationStore.h"

#include "HistoryDatabase.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// As the change log and the snapshots write times: sorts as text.
QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

} // namespace

bool CalibrationStore::insert(QSqlQuery &query, const CalibrationEntry &entry) const
{
    const bool pending = m_database.queuesForServer();
    query.prepare(
        QStringLiteral("INSERT INTO calibration_checks(device, tag, checked_at, technician,"
                       " as_found_passed, as_left_passed, document, as_found_error, uuid,"
                       " workstation, \"user\"%1) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?%2)")
            .arg(pending ? QStringLiteral(", pending") : QString(),
                 pending ? QStringLiteral(", 1") : QString()));
    query.addBindValue(entry.device);
    query.addBindValue(entry.tag);
    query.addBindValue(timeText(entry.checkedAt));
    query.addBindValue(entry.technician);
    query.addBindValue(entry.asFoundPassed ? 1 : 0);
    query.addBindValue(entry.asLeftPassed ? 1 : 0);
    query.addBindValue(entry.document);
    query.addBindValue(entry.asFoundError ? QVariant(*entry.asFoundError) : QVariant());
    query.addBindValue(entry.uuid.isEmpty() ? HistoryDatabase::newUuid() : entry.uuid);
    query.addBindValue(entry.workstation.isEmpty() ? HistoryDatabase::workstation()
                                                   : entry.workstation);
    query.addBindValue(entry.user);
    return query.exec();
}

qint64 CalibrationStore::store(const CalibrationEntry &entry)
{
    qint64 id = 0;
    const bool ok = m_database.transaction([&](QSqlQuery &query) {
        if (!insert(query, entry))
            return false;
        id = query.lastInsertId().toLongLong();
        return true;
    });
    return ok ? id : 0;
}

QList<CalibrationEntry> CalibrationStore::list(const QString &device) const
{
    QList<CalibrationEntry> result;
    if (!m_database.isOpen())
        return result;
    QSqlQuery query(m_database.database());
    query.prepare(QStringLiteral(
        "SELECT id, device, tag, checked_at, technician, as_found_passed, as_left_passed, document,"
        " as_found_error, uuid, workstation, \"user\""
        " FROM calibration_checks WHERE device = ? ORDER BY checked_at DESC, id DESC"));
    query.addBindValue(device);
    if (!query.exec())
        return result;
    while (query.next()) {
        CalibrationEntry entry;
        entry.id = query.value(0).toLongLong();
        entry.device = query.value(1).toString();
        entry.tag = query.value(2).toString();
        entry.checkedAt = QDateTime::fromString(query.value(3).toString(), Qt::ISODateWithMs);
        entry.technician = query.value(4).toString();
        entry.asFoundPassed = query.value(5).toInt() != 0;
        entry.asLeftPassed = query.value(6).toInt() != 0;
        entry.document = query.value(7).toString();
        if (!query.value(8).isNull())
            entry.asFoundError = query.value(8).toDouble();
        entry.uuid = query.value(9).toString();
        entry.workstation = query.value(10).toString();
        entry.user = query.value(11).toString();
        result.append(entry);
    }
    return result;
}

bool CalibrationStore::imported(const QString &source) const
{
    if (!m_database.isOpen())
        return false;
    QSqlQuery query(m_database.database());
    query.prepare(QStringLiteral("SELECT 1 FROM calibration_imports WHERE source = ?"));
    query.addBindValue(source);
    return query.exec() && query.next();
}

bool CalibrationStore::importOnce(const QString &source, const QList<CalibrationEntry> &entries)
{
    return m_database.transaction([&](QSqlQuery &query) {
        // The mark first: a source taken over before fails on its key, and
        // the transaction stores nothing.
        query.prepare(QStringLiteral(
            "INSERT INTO calibration_imports(source, imported_at, checks) VALUES(?, ?, ?)"));
        query.addBindValue(source);
        query.addBindValue(timeText(QDateTime::currentDateTimeUtc()));
        query.addBindValue(int(entries.size()));
        if (!query.exec())
            return false;
        for (const CalibrationEntry &entry : entries) {
            if (!insert(query, entry))
                return false;
        }
        return true;
    });
}
