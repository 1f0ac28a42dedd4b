#include "HartsimProcess.h"
#include "HostOnLink.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "hart/HartIpLink.h"
#include "hart/ProfiledHartLink.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString tshark()
{
    return QStandardPaths::findExecutable(QStringLiteral("tshark"));
}

// tshark's reading of a record: one line a message, or the problems it found.
QStringList readWithTshark(const QString &file, const QStringList &extra)
{
    QProcess p;
    p.start(tshark(), QStringList{QStringLiteral("-r"), file, QStringLiteral("-n")} + extra);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {QStringLiteral("tshark failed: ") + QString::fromUtf8(p.readAllStandardError())};
    return QString::fromUtf8(p.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString row(int type, int id, int command, int length)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(type)
        .arg(id)
        .arg(command < 0 ? QString() : QString::number(command))
        .arg(length);
}

} // namespace

// The traffic record of a whole session read by a decoder nobody here wrote.
class TstTrafficCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (tshark().isEmpty())
            QSKIP("tshark is not installed (Debian package tshark); ./dev installs it");
    }

    void aWholeSessionDecodes_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("tcp") << false;
        QTest::newRow("udp") << true;
    }
    void aWholeSessionDecodes()
    {
        QFETCH(bool, udp);
        HartsimProcess sim;
        QVERIFY(sim.start());
        HartLinkProfile profile;
        profile.kind = HartLinkProfile::Kind::HartIp;
        profile.host = QStringLiteral("127.0.0.1");
        profile.port = udp ? sim.udpPort() : sim.tcpPort();
        profile.udp = udp;
        ProfiledHartLink link(&ProfiledHartLink::standardLink, profile);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("session.pcap"));
        QString error;
        QVERIFY2(link.startCapture(file, &error), qPrintable(error));

        HostOnLink host(&link);
        host.instance().connection().connectDevice();
        // What went over the wire, in order: the frames the host sent and got back.
        QStringList expected{row(0, 0, -1, 13), row(1, 0, -1, 13)};
        auto *live = static_cast<HartIpLink *>(link.live());
        QObject::connect(live, &HartIpLink::messageSent, &link, [&](const HartIpMessage &m) {
            if (m.id() == HartIpMessage::Id::TokenPassingPdu)
                expected << row(0, 3, quint8(m.body()[m.body()[0] & 0x80 ? 6 : 2]),
                                int(m.encode().size()));
        });
        QObject::connect(live, &HartIpLink::messageReceived, &link, [&](const HartIpMessage &m) {
            if (m.id() == HartIpMessage::Id::TokenPassingPdu)
                expected << row(1, 3, quint8(m.body()[m.body()[0] & 0x80 ? 6 : 2]),
                                int(m.encode().size()));
        });
        QTRY_COMPARE_WITH_TIMEOUT(host.status(), ConnectionController::Connected, 5000);
        QVERIFY(host.run(QStringLiteral("UPLOAD")));
        host.instance().connection().disconnectDevice();
        link.stopCapture();
        expected << row(0, 1, -1, 8) << row(1, 1, -1, 8);

        const QStringList problems = readWithTshark(
            file, {QStringLiteral("-Y"),
                   QStringLiteral("_ws.malformed || _ws.expert.severity >= 0x00800000")});
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        const QStringList messages = readWithTshark(
            file, {QStringLiteral("-Y"), QStringLiteral("hart_ip"), QStringLiteral("-T"),
                   QStringLiteral("fields"), QStringLiteral("-E"), QStringLiteral("separator=,"),
                   QStringLiteral("-e"), QStringLiteral("hart_ip.message_type"),
                   QStringLiteral("-e"), QStringLiteral("hart_ip.message_id"), QStringLiteral("-e"),
                   QStringLiteral("hart_ip.pt.command"), QStringLiteral("-e"),
                   QStringLiteral("hart_ip.msg_length")});
        QVERIFY(expected.size() > 30);
        QCOMPARE(messages, expected);
    }
};

VEX_TEST(TstTrafficCapture)
#include "tst_TrafficCapture.moc"
