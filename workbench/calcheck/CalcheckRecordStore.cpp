#include "CalcheckRecordStore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

namespace {

const char *const CreateTable = "CREATE TABLE IF NOT EXISTS calibration_check ("
                                " id INTEGER PRIMARY KEY,"
                                " unique_id TEXT NOT NULL,"
                                " tag TEXT NOT NULL,"
                                " checked_at TEXT NOT NULL,"
                                " passed INTEGER NOT NULL,"
                                " record TEXT NOT NULL)";
const char *const CreateIndex =
    "CREATE INDEX IF NOT EXISTS calibration_check_device ON calibration_check (unique_id, "
    "checked_at)";

} // namespace

CalcheckRecordStore::CalcheckRecordStore(QString path)
    : m_path(std::move(path)),
      m_connection(QStringLiteral("calcheck-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

CalcheckRecordStore::~CalcheckRecordStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

QString CalcheckRecordStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/calibration.sqlite");
}

bool CalcheckRecordStore::fail(const QString &reason, QString *error)
{
    if (error)
        *error = reason;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (db.isValid())
        db.close();
    m_open = false;
    return false;
}

bool CalcheckRecordStore::open(QString *error)
{
    if (m_open)
        return true;
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(info.absolutePath(), error);
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    if (!db.open())
        return fail(db.lastError().text(), error);
    QSqlQuery query(db);
    // A file of another program or a newer version is refused before anything is written.
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        return fail(m_path + QStringLiteral(": not a database"), error);
    const int applicationId = query.value(0).toInt();
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(query.lastError().text(), error);
    const int version = query.value(0).toInt();
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return fail(query.lastError().text(), error);
    const bool empty = query.value(0).toInt() == 0;
    if (!empty && applicationId != ApplicationId)
        return fail(m_path + QStringLiteral(": a file of another program"), error);
    if (version > SchemaVersion)
        return fail(m_path + QStringLiteral(": written by a newer version"), error);
    query.finish();
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !query.exec(QString::fromLatin1(CreateTable)) ||
        !query.exec(QString::fromLatin1(CreateIndex)) ||
        !query.exec(QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId)) ||
        !query.exec(QStringLiteral("PRAGMA user_version=%1").arg(SchemaVersion)))
        return fail(query.lastError().text(), error);
    m_open = true;
    return true;
}

bool CalcheckRecordStore::save(const CalcheckRecord &record, QString *error)
{
    if (!record.complete()) {
        if (error)
            *error = QStringLiteral("incomplete check");
        return false;
    }
    if (!open(error))
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("INSERT INTO calibration_check (unique_id, tag, checked_at, "
                                 "passed, record) VALUES (?, ?, ?, ?, ?)"));
    query.addBindValue(record.device.uniqueId);
    query.addBindValue(record.device.tag);
    query.addBindValue(record.checkedAt.toUTC().toString(Qt::ISODateWithMs));
    query.addBindValue(record.passed() ? 1 : 0);
    query.addBindValue(
        QString::fromUtf8(QJsonDocument(record.toJson()).toJson(QJsonDocument::Compact)));
    if (query.exec())
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

QList<CalcheckRecord> CalcheckRecordStore::records(const QString &uniqueId) const
{
    QList<CalcheckRecord> found;
    if (!m_open)
        return found;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT record FROM calibration_check WHERE unique_id = ? "
                                 "ORDER BY checked_at DESC, id DESC"));
    query.addBindValue(uniqueId);
    if (!query.exec())
        return found;
    while (query.next()) {
        const auto record = CalcheckRecord::fromJson(
            QJsonDocument::fromJson(query.value(0).toString().toUtf8()).object());
        if (record)
            found.append(*record);
    }
    return found;
}

std::optional<CalcheckRecord> CalcheckRecordStore::last(const QString &uniqueId) const
{
    const QList<CalcheckRecord> all = records(uniqueId);
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}
