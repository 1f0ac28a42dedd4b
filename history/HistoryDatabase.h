#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <utility>

class QSqlError;
class QSqlQuery;

// The history of device changes and calibration checks: the user's own
// SQLite file in WAL mode, or a team's PostgreSQL server (a location
// "postgresql://user@host:port/database"). Both have the same tables and a
// schema version that only moves forward; a file or server that another
// program or a newer version wrote is refused and left exactly as it is.
// The server's schema comes from its setup script; the program's role may
// only read and add to it.
class HistoryDatabase
{
public:
    static constexpr int SchemaVersion = 4;
    // Marks the file as ours (PRAGMA application_id).
    static constexpr int ApplicationId = 0x56455848;

    enum class Status
    {
        Closed,
        Open,
        ReadOnly,     // ours, but the file or its folder cannot be written: shown, not kept
        CannotOpen,   // the folder or file cannot be opened or created
        NotHistory,   // not an SQLite file, or one of another program
        NewerVersion, // written by a version whose schema this one cannot read
        MigrationFailed,
    };
    // Why the last write transaction failed.
    enum class Failure
    {
        None,
        Busy,        // another program holds the file; may work a moment later
        Full,        // the disk is full
        ReadOnly,    // the file or the disk cannot be written
        Unreachable, // the server does not answer
        Other,
    };
    // How long a write waits for another program that holds the file.
    static constexpr int BusyWaitMs = 250;
    // How long the program waits for a team's server to answer a connection.
    static constexpr int ConnectTimeoutS = 3;

    // A file path, or a server's "postgresql://" location.
    explicit HistoryDatabase(QString path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // history.sqlite in the user's data folder.
    static QString defaultPath();
    static bool isServerLocation(const QString &location);
    // The name this computer goes by in the entries it makes.
    static QString workstation();
    // A new entry's identity, the same in every copy of the entry.
    static QString newUuid();

    Status open();
    Status status() const { return m_status; }
    // Readable: open, or open read-only.
    bool isOpen() const { return m_status == Status::Open || m_status == Status::ReadOnly; }
    bool isWritable() const { return m_status == Status::Open; }
    bool isServer() const { return m_server; }
    // A local history that a team's server stands behind marks what it
    // stores as waiting to be sent there.
    void setQueueForServer(bool queue) { m_queueForServer = queue; }
    bool queuesForServer() const { return m_queueForServer && !m_server; }
    Failure lastFailure() const { return m_failure; }
    // True once for a file that was deleted or replaced while the program ran
    // and was made anew before a write.
    bool takeRecreated() { return std::exchange(m_recreated, false); }
    const QString &path() const { return m_path; }
    // The schema version the file has (also when it was refused).
    int fileVersion() const { return m_fileVersion; }
    // The driver's words for what failed, for the log.
    const QString &detail() const { return m_detail; }

    QSqlDatabase database() const;

    // Runs work in one transaction: committed when it returns true, rolled
    // back otherwise (or when the commit fails).
    bool transaction(const std::function<bool(QSqlQuery &query)> &work);

private:
    Status fail(Status status, const QString &detail);
    Status openReadOnly();
    Status openServer();
    // A lost server connection is made anew at the next use.
    void noteServerFailure(const QSqlError &error);
    // Before a write: the file on disk is still the one opened; made anew
    // (and marked recreated) when it is gone or another took its place.
    void checkFile();
    bool exec(QSqlQuery &query, const QString &sql) const;
    bool migrate();

    QString m_path;
    QString m_connection;
    bool m_server = false;
    bool m_queueForServer = false;
    Status m_status = Status::Closed;
    int m_fileVersion = 0;
    mutable QString m_detail;
    Failure m_failure = Failure::None;
    bool m_recreated = false;
    // The file opened (device and inode), to notice one deleted or replaced.
    quint64 m_fileDevice = 0;
    quint64 m_fileInode = 0;
};
