#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

#include <unistd.h>

namespace {

const QString Bin = QStringLiteral("/usr/lib/postgresql/15/bin/");
const QString Admin = QStringLiteral("admin");

int freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

PostgresServer &PostgresServer::instance()
{
    static PostgresServer server;
    return server;
}

PostgresServer::PostgresServer() : m_dir(std::make_unique<QTemporaryDir>())
{
    if (!m_dir->isValid()) {
        m_problem = QStringLiteral("no temporary folder: ") + m_dir->errorString();
        return;
    }
    if (!QFile::exists(Bin + QStringLiteral("initdb"))) {
        m_problem = QStringLiteral("%1initdb missing (package postgresql)").arg(Bin);
        return;
    }
    if (::geteuid() == 0) {
        m_runAs = QStringLiteral("nobody");
        const QString owned = run({QStringLiteral("chown"), m_runAs, m_dir->path()}, false);
        if (!owned.isEmpty()) {
            m_problem = owned;
            return;
        }
    }
    m_port = freePort();
    const QString made =
        run({Bin + QStringLiteral("initdb"), QStringLiteral("-D"),
             m_dir->filePath(QStringLiteral("data")), QStringLiteral("-A"), QStringLiteral("trust"),
             QStringLiteral("-U"), Admin, QStringLiteral("--no-sync"), QStringLiteral("-E"),
             QStringLiteral("UTF8"), QStringLiteral("--locale=C")},
            true);
    if (!made.isEmpty()) {
        m_problem = QStringLiteral("initdb: ") + made;
        return;
    }
    if (!start())
        return;
}

PostgresServer::~PostgresServer()
{
    stop();
}

bool PostgresServer::start()
{
    if (m_running)
        return true;
    const QString options = QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2 -c fsync=off"
                                           " -c full_page_writes=off -c synchronous_commit=off")
                                .arg(m_port)
                                .arg(m_dir->path());
    const QString started =
        run({Bin + QStringLiteral("pg_ctl"), QStringLiteral("-D"),
             m_dir->filePath(QStringLiteral("data")), QStringLiteral("-w"), QStringLiteral("-l"),
             m_dir->filePath(QStringLiteral("server.log")), QStringLiteral("-o"), options,
             QStringLiteral("start")},
            true);
    if (!started.isEmpty()) {
        QFile log(m_dir->filePath(QStringLiteral("server.log")));
        m_problem = QStringLiteral("pg_ctl start: ") + started +
                    (log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString());
        return false;
    }
    m_running = true;
    return true;
}

bool PostgresServer::stop()
{
    if (!m_running)
        return true;
    const QString stopped =
        run({Bin + QStringLiteral("pg_ctl"), QStringLiteral("-D"),
             m_dir->filePath(QStringLiteral("data")), QStringLiteral("-w"), QStringLiteral("-m"),
             QStringLiteral("fast"), QStringLiteral("stop")},
            true);
    m_running = !stopped.isEmpty();
    return !m_running;
}

QString PostgresServer::run(const QStringList &command, bool asServerUser)
{
    QProcess process;
    QStringList arguments = command;
    QString program = arguments.takeFirst();
    if (asServerUser && !m_runAs.isEmpty()) {
        arguments =
            QStringList{QStringLiteral("-u"), m_runAs, QStringLiteral("--"), program} + arguments;
        program = QStringLiteral("runuser");
    }
    process.setWorkingDirectory(m_dir->path());
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return program + QStringLiteral(": ") + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString::fromUtf8(process.readAllStandardError() + process.readAllStandardOutput());
    return QString();
}

QString PostgresServer::adminSql(const QString &database, const QString &sql)
{
    return run({QStringLiteral("psql"), QStringLiteral("-X"), QStringLiteral("-q"),
                QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(m_port),
                QStringLiteral("-U"), Admin, QStringLiteral("-d"), database, QStringLiteral("-c"),
                sql},
               false);
}

QString PostgresServer::createHistory(const QString &database)
{
    return run({QStringLiteral("psql"), QStringLiteral("-X"), QStringLiteral("-q"),
                QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                QString::number(m_port), QStringLiteral("-U"), Admin, QStringLiteral("-d"),
                QStringLiteral("postgres"), QStringLiteral("-v"),
                QStringLiteral("dbname=") + database, QStringLiteral("-f"),
                QStringLiteral(VEX_HISTORY_SETUP_SQL)},
               false);
}

QString PostgresServer::createTechnician(const QString &role)
{
    return adminSql(
        QStringLiteral("postgres"),
        QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname "
                       "= '%1') THEN CREATE ROLE %1 LOGIN IN ROLE vex_history_writer; "
                       "END IF; END $$")
            .arg(role));
}

QString PostgresServer::location(const QString &database, const QString &role) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(role).arg(m_port).arg(database);
}
