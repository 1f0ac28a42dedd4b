#include "HistoryDatabase.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>

#include <sys/stat.h>

namespace {

// Each step takes the schema from its position to the next version.
const char *const Migrations[] = {
    // 0 -> 1
    "CREATE TABLE snapshots(id INTEGER PRIMARY KEY, device TEXT NOT NULL, tag TEXT,"
    " taken TEXT NOT NULL, user TEXT, reason TEXT);"
    "CREATE INDEX snapshots_device ON snapshots(device, taken);"
    "CREATE TABLE snapshot_values(snapshot INTEGER NOT NULL"
    " REFERENCES snapshots(id) ON DELETE CASCADE, item TEXT NOT NULL, value TEXT NOT NULL,"
    " PRIMARY KEY(snapshot, item));"
    "CREATE TABLE changes(id INTEGER PRIMARY KEY, time TEXT NOT NULL, user TEXT,"
    " device TEXT NOT NULL, tag TEXT, item TEXT NOT NULL, old_value TEXT, new_value TEXT,"
    " outcome INTEGER NOT NULL, response_code INTEGER, command INTEGER, sequence TEXT);"
    "CREATE INDEX changes_device_time ON changes(device, time);",
    // 1 -> 2: calibration checks, each kept whole as the program's document
    // beside the columns a list of them needs; the files they were taken
    // over from, so that each is taken over once.
    "CREATE TABLE calibration_checks(id INTEGER PRIMARY KEY, device TEXT NOT NULL, tag TEXT,"
    " checked_at TEXT NOT NULL, technician TEXT, as_found_passed INTEGER NOT NULL,"
    " as_left_passed INTEGER NOT NULL, document TEXT NOT NULL);"
    "CREATE INDEX calibration_checks_device ON calibration_checks(device, checked_at);"
    "CREATE TABLE calibration_imports(source TEXT PRIMARY KEY, imported_at TEXT NOT NULL,"
    " checks INTEGER NOT NULL);",
    // 2 -> 3: the units of the values; a value before the write that was not
    // read is NULL (until now it was an empty text, as was an empty value).
    "ALTER TABLE changes ADD COLUMN old_unit TEXT;"
    "ALTER TABLE changes ADD COLUMN new_unit TEXT;"
    "UPDATE changes SET old_value = NULL WHERE old_value = '';",
};
static_assert(std::size(Migrations) == HistoryDatabase::SchemaVersion);

QString nextConnectionName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("vex-history-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The first bytes of every SQLite file.
bool looksLikeSqlite(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(16);
    return head.isEmpty() || head == QByteArray("SQLite format 3\0", 16);
}

// SQLite's primary result codes, as the driver reports them.
HistoryDatabase::Failure failureOf(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return HistoryDatabase::Failure::Busy;
    case 13: // SQLITE_FULL
        return HistoryDatabase::Failure::Full;
    case 8: // SQLITE_READONLY
        return HistoryDatabase::Failure::ReadOnly;
    default:
        return HistoryDatabase::Failure::Other;
    }
}

bool identityOf(const QString &path, quint64 &device, quint64 &inode)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    device = quint64(info.st_dev);
    inode = quint64(info.st_ino);
    return true;
}

} // namespace

HistoryDatabase::HistoryDatabase(QString path)
    : m_path(std::move(path)), m_connection(nextConnectionName())
{
}

HistoryDatabase::~HistoryDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

QString HistoryDatabase::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/history.sqlite");
}

QSqlDatabase HistoryDatabase::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

HistoryDatabase::Status HistoryDatabase::fail(Status status, const QString &detail)
{
    m_status = status;
    m_detail = detail;
    QSqlDatabase db = database();
    if (db.isValid())
        db.close();
    return status;
}

bool HistoryDatabase::exec(QSqlQuery &query, const QString &sql) const
{
    if (query.exec(sql))
        return true;
    m_detail = query.lastError().text();
    return false;
}

HistoryDatabase::Status HistoryDatabase::open()
{
    if (m_status == Status::Open)
        return m_status;
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(Status::CannotOpen, info.absolutePath());
    // Refused before SQLite sees it: opening would not change a foreign
    // file, but a journal mode switch would.
    if (info.exists() && !looksLikeSqlite(m_path))
        return fail(Status::NotHistory, QStringLiteral("not an SQLite file"));
    // A file or folder that cannot be written still shows what it holds.
    if (info.exists() ? !info.isWritable() : !QFileInfo(info.absolutePath()).isWritable())
        return info.exists() ? openReadOnly() : fail(Status::CannotOpen, info.absolutePath());
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    // Another program holding the file keeps the window waiting no longer.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyWaitMs));
    if (!db.open())
        return fail(Status::CannotOpen, db.lastError().text());
    QSqlQuery query(db);
    if (!exec(query, QStringLiteral("PRAGMA application_id")) || !query.next())
        return fail(Status::NotHistory, m_detail);
    const int applicationId = query.value(0).toInt();
    if (!exec(query, QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(Status::NotHistory, m_detail);
    m_fileVersion = query.value(0).toInt();
    if (!exec(query, QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return fail(Status::NotHistory, m_detail);
    const bool empty = query.value(0).toInt() == 0;
    if (!empty && applicationId != ApplicationId)
        return fail(Status::NotHistory, QStringLiteral("application id %1").arg(applicationId));
    if (m_fileVersion > SchemaVersion)
        return fail(Status::NewerVersion, QStringLiteral("schema %1").arg(m_fileVersion));
    query.finish();
    if (!exec(query, QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !exec(query, QStringLiteral("PRAGMA foreign_keys=ON")) ||
        !exec(query, QStringLiteral("PRAGMA synchronous=NORMAL")))
        return fail(Status::CannotOpen, m_detail);
    if (!migrate())
        return fail(Status::MigrationFailed, m_detail);
    identityOf(m_path, m_fileDevice, m_fileInode);
    m_status = Status::Open;
    return m_status;
}

HistoryDatabase::Status HistoryDatabase::openReadOnly()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    // A file in WAL mode needs its shared-memory file beside it; on a disk
    // that cannot be written there is none, and nobody else writes the file.
    const QString immutable = QStringLiteral("file:%1?immutable=1")
                                  .arg(QString::fromUtf8(QUrl::fromLocalFile(m_path).toEncoded(
                                      QUrl::RemoveScheme | QUrl::FullyEncoded)));
    for (const QString &name : {m_path, immutable}) {
        db.close();
        db.setDatabaseName(name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;"
                                            "QSQLITE_BUSY_TIMEOUT=%1")
                                 .arg(BusyWaitMs));
        if (!db.open())
            return fail(Status::CannotOpen, db.lastError().text());
        QSqlQuery probe(db);
        if (exec(probe, QStringLiteral("PRAGMA schema_version")) && probe.next())
            break;
    }
    QSqlQuery query(db);
    if (!exec(query, QStringLiteral("PRAGMA application_id")) || !query.next())
        return fail(Status::NotHistory, m_detail);
    const int applicationId = query.value(0).toInt();
    if (!exec(query, QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(Status::NotHistory, m_detail);
    m_fileVersion = query.value(0).toInt();
    if (applicationId != ApplicationId)
        return fail(Status::NotHistory, QStringLiteral("application id %1").arg(applicationId));
    // An older schema cannot be brought forward in a file that cannot be written.
    if (m_fileVersion != SchemaVersion)
        return fail(m_fileVersion > SchemaVersion ? Status::NewerVersion : Status::CannotOpen,
                    QStringLiteral("schema %1, read-only").arg(m_fileVersion));
    m_detail = QStringLiteral("read-only");
    m_status = Status::ReadOnly;
    return m_status;
}

void HistoryDatabase::checkFile()
{
    quint64 device = 0;
    quint64 inode = 0;
    if (identityOf(m_path, device, inode) && device == m_fileDevice && inode == m_fileInode)
        return;
    // Gone or replaced: what is written now would go nowhere, or into another file.
    {
        QSqlDatabase db = database();
        if (db.isValid())
            db.close();
    }
    m_status = Status::Closed;
    m_recreated = open() == Status::Open;
}

// Every step and its version mark in one transaction: a step that fails
// leaves the file at the version before it.
bool HistoryDatabase::migrate()
{
    for (int version = m_fileVersion; version < SchemaVersion; ++version) {
        const bool ok = transaction([this, version](QSqlQuery &query) {
            const QStringList statements = QString::fromLatin1(Migrations[version])
                                               .split(QLatin1Char(';'), Qt::SkipEmptyParts);
            for (const QString &sql : statements) {
                if (!exec(query, sql))
                    return false;
            }
            return exec(query, QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId)) &&
                   exec(query, QStringLiteral("PRAGMA user_version=%1").arg(version + 1));
        });
        if (!ok)
            return false;
        m_fileVersion = version + 1;
    }
    return true;
}

bool HistoryDatabase::transaction(const std::function<bool(QSqlQuery &query)> &work)
{
    m_failure = Failure::None;
    if (m_status == Status::ReadOnly) {
        m_failure = Failure::ReadOnly;
        m_detail = QStringLiteral("read-only");
        return false;
    }
    if (m_status == Status::Open)
        checkFile();
    QSqlDatabase db = database();
    if (!db.isValid() || !db.isOpen() || !db.transaction()) {
        m_detail = db.isValid() ? db.lastError().text() : QStringLiteral("closed");
        m_failure = db.isValid() ? failureOf(db.lastError()) : Failure::Other;
        return false;
    }
    bool ok = false;
    {
        QSqlQuery query(db);
        ok = work(query);
        if (!ok) {
            m_detail = query.lastError().text();
            m_failure = failureOf(query.lastError());
        }
    }
    if (ok && db.commit())
        return true;
    if (ok) {
        m_detail = db.lastError().text();
        m_failure = failureOf(db.lastError());
    }
    db.rollback();
    return false;
}
