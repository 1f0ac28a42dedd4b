#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// hartctl run as a script runs it: its own settings, data and history in a
// folder of the test, the link given, standard input closed (no terminal).
class HartctlRun
{
public:
    HartctlRun();

    QString folder() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // Writes a file into the folder and returns its path.
    QString write(const QString &name, const QByteArray &text) const;

    // Runs to its end; the exit code, -1 when it did not end in time.
    int run(const QStringList &arguments, int timeoutMs = 60000);
    // Starts without waiting (for a test that interrupts it).
    void start(const QStringList &arguments);
    QProcess &process() { return m_process; }

    QString out() const { return m_out; }
    QString err() const { return m_err; }
    // The --json document of the last run; empty when it was none.
    QJsonObject json() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_out;
    QString m_err;
};
