#include "HartsimProcess.h"

#include <QRegularExpression>
#include <QTest>

HartsimProcess::~HartsimProcess()
{
    kill();
}

bool HartsimProcess::start(const QStringList &arguments)
{
    return run(QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                           QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--udp"),
                           QStringLiteral("0")} +
                   arguments,
               true);
}

bool HartsimProcess::startSerial(const QString &device, const QStringList &arguments)
{
    return run(QStringList{QStringLiteral("--tcp"), QStringLiteral("-1"), QStringLiteral("--udp"),
                           QStringLiteral("-1"), QStringLiteral("--serial"), device} +
                   arguments,
               false);
}

bool HartsimProcess::run(const QStringList &arguments, bool network)
{
    m_process.setProgram(QStringLiteral(HARTSIM_PATH));
    // It ends with this process even when a test crashes.
    m_process.setArguments(QStringList{QStringLiteral("--end-with-input")} + arguments);
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return false;
    static const QRegularExpression Port(QStringLiteral("hart-ip (tcp|udp) \\S+ port (\\d+)"));
    for (;;) {
        const QString line = readLine(5000);
        if (line.isEmpty())
            return false;
        if (line.startsWith(QLatin1String("hartsim: ready")))
            return !network || (m_tcpPort && m_udpPort);
        const QRegularExpressionMatch m = Port.match(line);
        if (m.hasMatch())
            (m.captured(1) == QLatin1String("tcp") ? m_tcpPort : m_udpPort) =
                quint16(m.captured(2).toUInt());
    }
}

QString HartsimProcess::command(const QString &line)
{
    m_process.write(line.toUtf8() + '\n');
    return readLine(5000);
}

QString HartsimProcess::readLine(int timeoutMs)
{
    (void)QTest::qWaitFor(
        [this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; },
        timeoutMs);
    if (!m_process.canReadLine())
        return {};
    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
    m_output += line + QLatin1Char('\n');
    return line;
}

void HartsimProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}
