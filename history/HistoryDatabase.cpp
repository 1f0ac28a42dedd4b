#include "HistoryDatabase.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

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
    // 3 -> 4: each entry carries its own identity (the same on a team's
    // server, so that sending twice stores once), the workstation and the
    // user; pending marks what waits for the server. A check keeps its
    // largest as-found error for the drift between checks, and a device may
    // have its own calibration interval.
    "ALTER TABLE changes ADD COLUMN uuid TEXT;"
    "ALTER TABLE changes ADD COLUMN workstation TEXT;"
    "ALTER TABLE changes ADD COLUMN pending INTEGER NOT NULL DEFAULT 0;"
    "UPDATE changes SET uuid = lower(hex(randomblob(16)));"
    "CREATE UNIQUE INDEX changes_uuid ON changes(uuid);"
    "CREATE INDEX changes_pending ON changes(pending) WHERE pending = 1;"
    "ALTER TABLE snapshots ADD COLUMN uuid TEXT;"
    "ALTER TABLE snapshots ADD COLUMN workstation TEXT;"
    "ALTER TABLE snapshots ADD COLUMN pending INTEGER NOT NULL DEFAULT 0;"
    "UPDATE snapshots SET uuid = lower(hex(randomblob(16)));"
    "CREATE UNIQUE INDEX snapshots_uuid ON snapshots(uuid);"
    "ALTER TABLE calibration_checks ADD COLUMN uuid TEXT;"
    "ALTER TABLE calibration_checks ADD COLUMN workstation TEXT;"
    "ALTER TABLE calibration_checks ADD COLUMN user TEXT;"
    "ALTER TABLE calibration_checks ADD COLUMN as_found_error REAL;"
    "ALTER TABLE calibration_checks ADD COLUMN pending INTEGER NOT NULL DEFAULT 0;"
    "UPDATE calibration_checks SET uuid = lower(hex(randomblob(16)));"
    "CREATE UNIQUE INDEX calibration_checks_uuid ON calibration_checks(uuid);"
    "CREATE TABLE calibration_intervals(id INTEGER PRIMARY KEY, uuid TEXT NOT NULL UNIQUE,"
    " device TEXT NOT NULL, days INTEGER NOT NULL, set_at TEXT NOT NULL, user TEXT,"
    " workstation TEXT, pending INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX calibration_intervals_device ON calibration_intervals(device, set_at);",
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

// PostgreSQL's SQLSTATE classes: 08 connection, 57P0x server shut down,
// 53 out of resources. The driver leaves the code empty when the connection
// itself broke.
HistoryDatabase::Failure serverFailureOf(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    if (state.isEmpty() || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P0")))
        return HistoryDatabase::Failure::Unreachable;
    if (state.startsWith(QLatin1String("53")))
        return HistoryDatabase::Failure::Full;
    if (state == QLatin1String("42501") || state == QLatin1String("25006"))
        return HistoryDatabase::Failure::ReadOnly;
    return HistoryDatabase::Failure::Other;
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
    : m_path(std::move(path)), m_connection(nextConnectionName()),
      m_server(isServerLocation(m_path))
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

bool HistoryDatabase::isServerLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString HistoryDatabase::workstation()
{
    return QSysInfo::machineHostName();
}

QString HistoryDatabase::newUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
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
    if (m_server)
        return openServer();
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

// The secrets stay with libpq: a password comes from ~/.pgpass (PGPASSFILE)
// or a service file, never from the location or the program's settings. A
// password written into the location is refused rather than sent.
HistoryDatabase::Status HistoryDatabase::openServer()
{
    const QUrl url(m_path, QUrl::StrictMode);
    if (!url.isValid() || url.path().size() < 2)
        return fail(Status::CannotOpen, QStringLiteral("not a server location: %1")
                                            .arg(url.toDisplayString(QUrl::RemovePassword)));
    if (!url.password().isEmpty())
        return fail(Status::CannotOpen,
                    QStringLiteral("a password belongs in ~/.pgpass, not in the location"));
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    if (!db.isValid())
        return fail(Status::CannotOpen, QStringLiteral("no PostgreSQL driver (QPSQL)"));
    db.close();
    db.setHostName(url.host());
    db.setPort(url.port(5432));
    db.setUserName(url.userName());
    db.setDatabaseName(url.path().mid(1));
    // libpq's own options pass through (sslmode, service, sslrootcert...);
    // a server that does not answer keeps the program waiting no longer.
    QStringList options{QStringLiteral("connect_timeout=%1").arg(ConnectTimeoutS)};
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto &[key, value] : items) {
        if (key != QLatin1String("password") && !key.contains(QLatin1Char(';')) &&
            !value.contains(QLatin1Char(';')))
            options << key + QLatin1Char('=') + value;
    }
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        m_failure = Failure::Unreachable;
        return fail(Status::CannotOpen, db.lastError().text());
    }
    QSqlQuery query(db);
    if (!exec(query, QStringLiteral("SELECT max(version) FROM history_schema")) || !query.next())
        return fail(Status::NotHistory,
                    QStringLiteral("no history schema on the server (run its setup script): ") +
                        m_detail);
    m_fileVersion = query.value(0).toInt();
    if (m_fileVersion > SchemaVersion)
        return fail(Status::NewerVersion, QStringLiteral("schema %1").arg(m_fileVersion));
    // The program's role cannot change the schema: the setup script moves
    // it forward.
    if (m_fileVersion < SchemaVersion)
        return fail(Status::MigrationFailed,
                    QStringLiteral("server schema %1, run the setup script").arg(m_fileVersion));
    m_status = Status::Open;
    m_failure = Failure::None;
    return m_status;
}

void HistoryDatabase::noteServerFailure(const QSqlError &error)
{
    m_failure = serverFailureOf(error);
    if (m_failure != Failure::Unreachable)
        return;
    QSqlDatabase db = database();
    if (db.isValid())
        db.close();
    m_status = Status::Closed;
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
    // A server that did not answer (at the start, or since) is asked again.
    if (m_server && (m_status == Status::Closed || m_status == Status::CannotOpen) &&
        open() != Status::Open) {
        m_failure = Failure::Unreachable;
        return false;
    }
    if (m_status == Status::Open && !m_server)
        checkFile();
    QSqlDatabase db = database();
    if (!db.isValid() || !db.isOpen() || !db.transaction()) {
        m_detail = db.isValid() ? db.lastError().text() : QStringLiteral("closed");
        m_failure = db.isValid() ? failureOf(db.lastError()) : Failure::Other;
        if (m_server && db.isValid())
            noteServerFailure(db.lastError());
        return false;
    }
    bool ok = false;
    QSqlError lastError;
    {
        QSqlQuery query(db);
        ok = work(query);
        if (!ok) {
            m_detail = query.lastError().text();
            m_failure = failureOf(query.lastError());
            lastError = query.lastError();
        }
    }
    if (ok && db.commit())
        return true;
    if (ok) {
        m_detail = db.lastError().text();
        m_failure = failureOf(db.lastError());
        lastError = db.lastError();
    }
    db.rollback();
    if (m_server)
        noteServerFailure(lastError);
    return false;
}
