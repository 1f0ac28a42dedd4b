#include "HartsimProcess.h"
#include "HostOnLink.h"
#include "RecordFile.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "hart/HartIpLink.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

Q_DECLARE_METATYPE(HartIpLink::Transport)

namespace {

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

// One field of every HART-IP message in the capture, in order (a packet
// may carry several messages).
QStringList field(const QString &file, const QString &decodeAs, const QString &filter,
                  const char *name, QString *problem)
{
    QProcess p;
    p.start(tool("tshark"),
            {QStringLiteral("-r"), file, QStringLiteral("-n"), QStringLiteral("-d"), decodeAs,
             QStringLiteral("-Y"), filter, QStringLiteral("-T"), QStringLiteral("fields"),
             QStringLiteral("-E"), QStringLiteral("aggregator=;"), QStringLiteral("-e"),
             QLatin1String(name)});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        *problem = QStringLiteral("tshark failed: ") + QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    QStringList values;
    for (const QString &line :
         QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        values += line.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return values;
}

QStringList problems(const QString &file, const QString &decodeAs)
{
    QProcess p;
    p.start(tool("tshark"), {QStringLiteral("-r"), file, QStringLiteral("-n"), QStringLiteral("-d"),
                             decodeAs, QStringLiteral("-Y"),
                             QStringLiteral("_ws.malformed || _ws.expert.severity >= 0x00800000")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {QStringLiteral("tshark failed: ") + QString::fromUtf8(p.readAllStandardError())};
    return QString::fromUtf8(p.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// dumpcap on the loopback interface, for the one port and a probe port of
// its own, for at most a minute. The probe tells when the capture has
// really begun, and when every packet before it has been taken.
class LoopbackCapture
{
public:
    ~LoopbackCapture()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Empty when capturing; otherwise why not.
    QString start(const QString &file, quint16 port)
    {
        if (!m_probe.bind(QHostAddress::LocalHost, 0))
            return QStringLiteral("no probe port");
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(tool("dumpcap"),
                        {QStringLiteral("-i"), QStringLiteral("lo"), QStringLiteral("-f"),
                         QStringLiteral("port %1 or port %2").arg(port).arg(m_probe.localPort()),
                         QStringLiteral("-a"), QStringLiteral("duration:60"), QStringLiteral("-w"),
                         file});
        if (!m_process.waitForStarted(5000))
            return QStringLiteral("dumpcap does not start");
        if (!probed())
            return m_output.trimmed().isEmpty() ? QStringLiteral("dumpcap captures nothing")
                                                : m_output.trimmed();
        return {};
    }
    // Ends the capture once everything before now is in it.
    bool stop()
    {
        if (!probed())
            return false;
        m_process.terminate();
        return m_process.waitForFinished(10000);
    }

private:
    // Sends probes until dumpcap counts one more packet than before.
    bool probed()
    {
        const int before = count();
        return QTest::qWaitFor(
                   [this, before] {
                       m_probe.writeDatagram("probe", QHostAddress::LocalHost, m_probe.localPort());
                       QTest::qWait(50);
                       m_output += QString::fromUtf8(m_process.readAll());
                       return count() > before || m_process.state() == QProcess::NotRunning;
                   },
                   10000) &&
               m_process.state() == QProcess::Running;
    }
    // The packets dumpcap says it has taken so far.
    int count() const
    {
        static const QRegularExpression packets(QStringLiteral("Packets: (\\d+)"));
        int last = 0;
        for (QRegularExpressionMatchIterator i = packets.globalMatch(m_output); i.hasNext();)
            last = i.next().captured(1).toInt();
        return last;
    }

    QProcess m_process;
    QUdpSocket m_probe;
    QString m_output;
};

} // namespace

// A HART-IP session as it went over the loopback interface, captured by
// dumpcap and read by tshark's own dissector: what the link puts on the wire,
// not what it says it did.
class TstLoopbackCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (tool("tshark").isEmpty() || tool("dumpcap").isEmpty())
            QFAIL(qPrintable(RecordFile::tsharkMissing()));
    }

    void aSessionOnTheWire_data()
    {
        QTest::addColumn<HartIpLink::Transport>("transport");
        QTest::newRow("tcp") << HartIpLink::Transport::Tcp;
        QTest::newRow("udp") << HartIpLink::Transport::Udp;
    }
    void aSessionOnTheWire()
    {
        QFETCH(HartIpLink::Transport, transport);
        const bool tcp = transport == HartIpLink::Transport::Tcp;
        HartsimProcess sim;
        QVERIFY(sim.start());
        const quint16 port = tcp ? sim.tcpPort() : sim.udpPort();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("lo.pcapng"));
        if (tool("dumpcap").isEmpty())
            QFAIL("dumpcap is not installed (it comes with Debian's tshark, which ./dev installs)");
        LoopbackCapture capture;
        if (const QString why = capture.start(file, port); !why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("capturing on the loopback interface is not allowed "
                                            "here (needs root or dumpcap's capabilities): ") +
                             why));

        HartIpLink::Settings s;
        s.port = port;
        s.transport = transport;
        HartIpLink link(s);
        // What the link sent, in order: message id, command, byte count.
        QStringList ids, commands, lengths;
        QObject::connect(&link, &HartIpLink::messageSent, &link, [&](const HartIpMessage &m) {
            ids << QString::number(int(m.id()));
            lengths << QString::number(m.encode().size());
            if (m.id() == HartIpMessage::Id::TokenPassingPdu)
                commands << QString::number(quint8(m.body()[m.body()[0] & 0x80 ? 6 : 2]));
        });
        bool closeAnswered = false;
        QObject::connect(&link, &HartIpLink::messageReceived, &link, [&](const HartIpMessage &m) {
            closeAnswered = closeAnswered || m.id() == HartIpMessage::Id::SessionClose;
        });
        {
            HostOnLink host(&link);
            QVERIFY(host.connect());
            QVERIFY(host.run(QStringLiteral("UPLOAD")));
            host.instance().connection().disconnectDevice();
        }
        QTRY_VERIFY(closeAnswered);
        QVERIFY(capture.stop());

        const QString decodeAs = QStringLiteral("%1.port==%2,hart_ip")
                                     .arg(tcp ? QLatin1String("tcp") : QLatin1String("udp"))
                                     .arg(port);
        const QStringList bad = problems(file, decodeAs);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
        QString problem;
        const auto wire = [&](const char *filter, const char *name) {
            return field(file, decodeAs, QLatin1String(filter), name, &problem);
        };
        const char *requests = "hart_ip.message_type == 0";
        const char *responses = "hart_ip.message_type == 1";
        QVERIFY(ids.size() > 15);
        // Session initiate first, session close last; every request as sent.
        QCOMPARE(wire(requests, "hart_ip.message_id"), ids);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(ids.first(), QStringLiteral("0"));
        QCOMPARE(ids.last(), QStringLiteral("1"));
        QCOMPARE(wire(requests, "hart_ip.pt.command"), commands);
        QCOMPARE(wire(requests, "hart_ip.msg_length"), lengths);
        // And each answered in turn, the close too: the server answers it
        // before it ends the connection, and the link waits for that.
        QCOMPARE(wire(responses, "hart_ip.message_id"), ids);
        QCOMPARE(wire(responses, "hart_ip.pt.command"), commands);
    }
};

VEX_TEST(TstLoopbackCapture)
#include "tst_LoopbackCapture.moc"
