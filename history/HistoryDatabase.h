#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

class QSqlQuery;

// The user's local history of device changes and calibration checks: one
// SQLite file in WAL mode with a schema version that only moves forward. A
// file that another program or a newer version wrote is refused and left
// exactly as it is.
class HistoryDatabase
{
public:
    static constexpr int SchemaVersion = 3;
    // Marks the file as ours (PRAGMA application_id).
    static constexpr int ApplicationId = 0x56455848;

    enum class Status
    {
        Closed,
        Open,
        CannotOpen,   // the folder or file cannot be opened or created
        NotHistory,   // not an SQLite file, or one of another program
        NewerVersion, // written by a version whose schema this one cannot read
        MigrationFailed,
    };

    explicit HistoryDatabase(QString path);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // history.sqlite in the user's data folder.
    static QString defaultPath();

    Status open();
    Status status() const { return m_status; }
    bool isOpen() const { return m_status == Status::Open; }
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
    bool migrate();
    bool exec(QSqlQuery &query, const QString &sql);

    QString m_path;
    QString m_connection;
    Status m_status = Status::Closed;
    int m_fileVersion = 0;
    QString m_detail;
};
