#pragma once

#include <QProcess>
#include <QStringList>

// hartsim started by a test: waits until it serves, knows the ports it took,
// passes control commands and reads their answers, and ends it again.
class HartsimProcess
{
public:
    HartsimProcess() = default;
    ~HartsimProcess();
    HartsimProcess(const HartsimProcess &) = delete;
    HartsimProcess &operator=(const HartsimProcess &) = delete;

    // Starts with any free TCP and UDP port on 127.0.0.1 and the given options.
    bool start(const QStringList &arguments = {});
    // Starts as a serial slave on the device only.
    bool startSerial(const QString &device, const QStringList &arguments = {});
    quint16 tcpPort() const { return m_tcpPort; }
    quint16 udpPort() const { return m_udpPort; }
    // The answer line ("ok", "error: ...") or empty when none came.
    QString command(const QString &line);
    // Ends the process at once, as a server that dies.
    void kill();
    QString output() const { return m_output; }

private:
    bool run(const QStringList &arguments, bool network);
    QString readLine(int timeoutMs);

    QProcess m_process;
    quint16 m_tcpPort = 0;
    quint16 m_udpPort = 0;
    QString m_output;
};
