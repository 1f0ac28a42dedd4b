#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A PostgreSQL server of the system's own package for the tests of one test
// process: made in a temporary folder, listening on a free port of
// 127.0.0.1 only (its socket in that folder), started at the first use and
// stopped when the process ends. As root it runs as the user "nobody", since
// the server refuses to run as root.
class PostgresServer
{
public:
    static PostgresServer &instance();
    ~PostgresServer();

    // Empty when the server runs, else why it does not.
    const QString &problem() const { return m_problem; }
    int port() const { return m_port; }

    // A new database set up by the repository's setup script; empty on
    // success, else what failed.
    QString createHistory(const QString &database);
    // A login role of the program's kind (a member of vex_history_writer).
    QString createTechnician(const QString &role);
    // The location the program is given for that database and role.
    QString location(const QString &database, const QString &role) const;
    // Runs SQL as the superuser; empty on success, else psql's words.
    QString adminSql(const QString &database, const QString &sql);

    // Stops the server (fast), or starts it again on the same port.
    bool stop();
    bool start();

private:
    PostgresServer();
    QString run(const QStringList &command, bool asServerUser);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_problem;
    QString m_runAs;
    int m_port = 0;
    bool m_running = false;
};
