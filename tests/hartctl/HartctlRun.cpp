#include "HartctlRun.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcessEnvironment>

HartctlRun::HartctlRun()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Nothing of the user's own: settings, description folder, history.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    m_process.setProcessEnvironment(env);
    m_process.setProgram(QStringLiteral(HARTCTL_PATH));
    m_process.setStandardInputFile(QProcess::nullDevice());
}

QString HartctlRun::write(const QString &name, const QByteArray &text) const
{
    QFile f(m_dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return f.fileName();
}

void HartctlRun::start(const QStringList &arguments)
{
    m_process.setArguments(arguments + QStringList{QStringLiteral("--history"),
                                                   m_dir.filePath(QStringLiteral("history.db"))});
    m_process.start();
}

int HartctlRun::run(const QStringList &arguments, int timeoutMs)
{
    start(arguments);
    const bool ended = m_process.waitForFinished(timeoutMs);
    m_out = QString::fromUtf8(m_process.readAllStandardOutput());
    m_err = QString::fromUtf8(m_process.readAllStandardError());
    if (!ended) {
        m_process.kill();
        m_process.waitForFinished();
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QJsonObject HartctlRun::json() const
{
    return QJsonDocument::fromJson(m_out.toUtf8()).object();
}
