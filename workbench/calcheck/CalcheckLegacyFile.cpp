#include "CalcheckLegacyFile.h"

#include "CalcheckRecordStore.h"

#include <QAtomicInteger>
#include <QFile>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace CalcheckLegacyFile {

namespace {

// The file and its write-ahead log, which may hold checks not yet in the file.
bool copyTo(const QString &path, const QString &copy, QString *error)
{
    if (!QFile::copy(path, copy)) {
        *error = QStringLiteral("cannot copy ") + path;
        return false;
    }
    const QString wal = path + QStringLiteral("-wal");
    if (QFile::exists(wal) && !QFile::copy(wal, copy + QStringLiteral("-wal"))) {
        *error = QStringLiteral("cannot copy ") + wal;
        return false;
    }
    return true;
}

// A row as it was written; a document this version cannot read is kept as
// it is, with what the row's own columns tell.
CalibrationEntry entryOf(const QSqlQuery &query)
{
    const QJsonDocument document = QJsonDocument::fromJson(query.value(4).toString().toUtf8());
    if (const auto record = CalcheckRecord::fromJson(document.object()))
        return CalcheckRecordStore::entryOf(*record);
    CalibrationEntry entry;
    entry.device = CalcheckRecordStore::deviceKey(query.value(0).toString());
    entry.tag = query.value(1).toString();
    entry.checkedAt = QDateTime::fromString(query.value(2).toString(), Qt::ISODateWithMs);
    entry.asLeftPassed = query.value(3).toInt() != 0;
    entry.document = query.value(4).toString();
    return entry;
}

std::optional<QList<CalibrationEntry>> readCopy(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next() ||
        query.value(0).toInt() != ApplicationId) {
        *error = QStringLiteral("not a file of calibration checks");
        return std::nullopt;
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next() ||
        query.value(0).toInt() != SchemaVersion) {
        *error = QStringLiteral("an unknown version of the file");
        return std::nullopt;
    }
    if (!query.exec(QStringLiteral("SELECT unique_id, tag, checked_at, passed, record FROM "
                                   "calibration_check ORDER BY id"))) {
        *error = query.lastError().text();
        return std::nullopt;
    }
    QList<CalibrationEntry> entries;
    while (query.next())
        entries.append(entryOf(query));
    if (query.lastError().isValid()) {
        *error = query.lastError().text();
        return std::nullopt;
    }
    return entries;
}

} // namespace

std::optional<QList<CalibrationEntry>> read(const QString &path, QString *error)
{
    QString reason;
    std::optional<QList<CalibrationEntry>> entries;
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("calibration.sqlite"));
    if (!folder.isValid()) {
        reason = QStringLiteral("no temporary folder");
    } else if (copyTo(path, copy, &reason)) {
        static QAtomicInteger<int> counter;
        const QString connection =
            QStringLiteral("vex-calcheck-legacy-%1").arg(counter.fetchAndAddRelaxed(1));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(copy);
            if (db.open())
                entries = readCopy(db, &reason);
            else
                reason = db.lastError().text();
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
    }
    if (!entries && error)
        *error = reason;
    return entries;
}

} // namespace CalcheckLegacyFile
