#include "FakeHartIpPeer.h"
#include "FileSizeLimit.h"
#include "PtyPair.h"
#include "RecordFile.h"
#include "TestRegistry.h"

#include "hart/HartFrameReader.h"
#include "hart/HartIpLink.h"
#include "hart/HartMaster.h"
#include "hart/HartProtocol.h"
#include "hart/ProfiledHartLink.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = HartMaster::Outcome::Kind;

// A frame from its delimiter on, its checksum added as the data-link layer
// defines it: the XOR of every byte before it.
QByteArray withChecksum(const QByteArray &frame)
{
    char sum = 0;
    for (const char b : frame)
        sum ^= b;
    return frame + sum;
}

// Command 0 answered at polling address 0 by a device 1A-2B-123456.
const QByteArray CommandZeroAnswer =
    withChecksum(QByteArray::fromHex("0680000e0000fe1a2b050501020800123456"));

// What a test's script answers: an initiate with its own body, keep-alive and
// close plainly, the first token-passing PDU with command 0's answer and every
// later one with an error message ("service unavailable").
QByteArray serverScript(const QByteArray &m, int &pdus)
{
    const quint8 id = quint8(m[2]);
    const quint16 sequence = quint16((quint8(m[4]) << 8) | quint8(m[5]));
    switch (id) {
    case 0:
        return FakeHartIpPeer::header(1, 0, 0, sequence, 5) + m.mid(8);
    case 1:
    case 2:
        return FakeHartIpPeer::header(1, id, 0, sequence, 0);
    case 3:
        if (pdus++ == 0)
            return FakeHartIpPeer::header(1, 3, 0, sequence, int(CommandZeroAnswer.size())) +
                   CommandZeroAnswer;
        return FakeHartIpPeer::header(3, 3, 0, sequence, 1) + QByteArray(1, '\x02');
    default:
        return {};
    }
}

// Outcomes of a master's requests, in order.
struct Outcomes
{
    QList<HartMaster::Outcome> list;
    HartMaster::Callback take()
    {
        return [this](const HartMaster::Outcome &o) { list << o; };
    }
};

} // namespace

// The traffic record against what the wire carried: the bytes a peer on the
// other end read and wrote, byte for byte, and tshark's reading of the file.
class TstTrafficRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (RecordFile::tshark().isEmpty())
            QFAIL(qPrintable(RecordFile::tsharkMissing()));
    }

    void aHartIpSessionAsItTravelled_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("tcp") << false;
        QTest::newRow("udp") << true;
    }
    void aHartIpSessionAsItTravelled()
    {
        QFETCH(bool, udp);
        int pdus = 0;
        FakeHartIpPeer peer([&pdus](const QByteArray &m) { return serverScript(m, pdus); });
        QVERIFY(peer.listen(udp));
        ProfiledHartLink link([&](const HartLinkProfile &, QString *) {
            HartIpLink::Settings s;
            s.port = peer.port();
            s.transport = udp ? HartIpLink::Transport::Udp : HartIpLink::Transport::Tcp;
            s.keepAliveMs = 40;
            return std::make_unique<HartIpLink>(s);
        });
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("session.pcap"));
        QString error;
        QVERIFY2(link.startCapture(file, &error), qPrintable(error));
        HartMaster master(&link);
        Outcomes outcomes;
        QVERIFY(link.open());

        master.poll(0, outcomes.take());
        QTRY_COMPARE(outcomes.list.size(), 1);
        QCOMPARE(outcomes.list[0].kind, Kind::Response);
        // Idle, the link keeps its session alive.
        QTRY_VERIFY(peer.received(quint8(HartIpMessage::Id::KeepAlive)) >= 1);
        // The server's error answer to a request.
        master.request(HartFrame::longFrame(HartFrame::Kind::Request, 0x1A, 0x2B, 0x123456,
                                            hart::command::ReadPrimaryVariable),
                       outcomes.take());
        QTRY_COMPARE(outcomes.list.size(), 2);
        QCOMPARE(outcomes.list[1].kind, Kind::CommunicationError);
        // The close and its answer, which the link waits for.
        QSignalSpy answered(static_cast<HartIpLink *>(link.live()), &HartIpLink::messageReceived);
        link.close();
        QTRY_VERIFY(!answered.isEmpty() && answered.last().first().value<HartIpMessage>().id() ==
                                               HartIpMessage::Id::SessionClose);
        // Still recording, the file holds every packet: a crash now would lose none.
        const auto packets = RecordFile::read(file);
        QVERIFY(packets);
        link.stopCapture();
        QCOMPARE(RecordFile::read(file)->size(), packets->size());
        if (udp) {
            QList<QByteArray> sent, received;
            for (const RecordFile::Packet &p : *packets)
                (p.toDevice ? sent : received) << p.payload;
            QCOMPARE(sent, peer.readPieces());
            QCOMPARE(received, peer.writtenPieces());
        } else {
            QCOMPARE(RecordFile::joined(*packets, true), peer.read());
            QCOMPARE(RecordFile::joined(*packets, false), peer.written());
        }
        for (qsizetype i = 1; i < packets->size(); ++i)
            QVERIFY((*packets)[i].timeUs >= (*packets)[i - 1].timeUs);
        const QStringList problems = RecordFile::problems(file);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        // Every packet is a HART-IP message to tshark: the session's first and last.
        const QStringList ids =
            RecordFile::fields(file, {QStringLiteral("hart_ip.message_id")},
                               {QStringLiteral("-Y"), QStringLiteral("hart_ip")});
        QCOMPARE(ids.size(), packets->size());
        QCOMPARE(ids.first(), QStringLiteral("0"));
        QCOMPARE(ids.last(), QStringLiteral("1"));
    }

    // A serial line as the modem delivered it: a response with a bad
    // checksum, then garbage and a good response.
    void aSerialLineAsItTravelled()
    {
        if (!PtyPair::available())
            QFAIL(PtyPair::missing());
        QTemporaryDir dir;
        PtyPair pty;
        QVERIFY(pty.start(dir.filePath(QStringLiteral("modem")),
                          dir.filePath(QStringLiteral("device"))));
        QSerialPort device(pty.deviceEnd());
        QVERIFY(device.open(QIODevice::ReadWrite));
        const QByteArray answer = QByteArray(5, char(0xFF)) + CommandZeroAnswer;
        QByteArray badSum = answer;
        badSum[badSum.size() - 1] = char(badSum.back() ^ 0x20);
        const QByteArray garbage = QByteArray::fromHex("123456");
        const QList<QByteArray> replies{badSum, garbage + answer};
        QByteArray deviceRead, deviceWrote;
        HartFrameReader requests;
        connect(&device, &QSerialPort::readyRead, this, [&] {
            const QByteArray bytes = device.readAll();
            deviceRead += bytes;
            for (qsizetype i = requests.feed(bytes).size(); i > 0; --i) {
                const QByteArray reply = replies.value(deviceWrote.isEmpty() ? 0 : 1);
                device.write(reply);
                deviceWrote += reply;
            }
        });

        HartLinkProfile profile;
        profile.kind = HartLinkProfile::Kind::Serial;
        profile.serialPort = pty.hostEnd();
        profile.retries = 0;
        ProfiledHartLink link(&ProfiledHartLink::standardLink, profile);
        const QString file = dir.filePath(QStringLiteral("serial.pcap"));
        QString error;
        QVERIFY2(link.startCapture(file, &error), qPrintable(error));
        QVERIFY(link.open());
        HartMaster master(&link);
        Outcomes outcomes;
        master.poll(0, outcomes.take());
        master.poll(0, outcomes.take());
        QTRY_COMPARE_WITH_TIMEOUT(outcomes.list.size(), 2, 5000);
        QCOMPARE(outcomes.list[0].kind, Kind::CommunicationError);
        QCOMPARE(outcomes.list[0].responseCode,
                 quint8(hart::commerror::Flag | hart::commerror::Checksum));
        QCOMPARE(outcomes.list[1].kind, Kind::Response);
        link.close();
        link.stopCapture();

        const auto packets = RecordFile::read(file);
        QVERIFY(packets);
        // Each packet a HART-IP message around the bytes as they travelled.
        QCOMPARE(RecordFile::joined(*packets, true, 8), deviceRead);
        QCOMPARE(RecordFile::joined(*packets, false, 8), deviceWrote);
        // Marked where they failed: the header status carries the error bits,
        // garbage travels as an error message.
        QList<QByteArray> answers;
        for (const RecordFile::Packet &p : *packets) {
            if (!p.toDevice)
                answers << p.payload;
        }
        QVERIFY(answers.size() >= 3);
        QCOMPARE(answers.first().mid(1, 3), QByteArray::fromHex("010388"));
        QCOMPARE(answers.last().mid(1, 3), QByteArray::fromHex("010300"));
        const QList<QByteArray> garbagePackets = answers.mid(1, answers.size() - 2);
        QByteArray between;
        for (const QByteArray &a : garbagePackets) {
            QCOMPARE(a.mid(1, 3), QByteArray::fromHex("030390"));
            between += a.mid(8);
        }
        QCOMPARE(between, garbage);
        const QStringList problems = RecordFile::problems(file);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        // tshark reads every frame, the failed one too, as command 0.
        const QStringList commands =
            RecordFile::fields(file, {QStringLiteral("hart_ip.pt.command")},
                               {QStringLiteral("-Y"), QStringLiteral("hart_ip.message_type != 3")});
        QCOMPARE(commands.size(), packets->size() - garbagePackets.size());
        QCOMPARE(commands, QStringList(commands.size(), QStringLiteral("0")));
    }

    // A record that cannot be written says so and stops; what it holds is whole.
    void aRecordThatCannotBeWrittenSaysSo()
    {
        SimulatedTransmitter device;
        ProfiledHartLink link([&device](const HartLinkProfile &, QString *) {
            auto l = std::make_unique<InProcessHartLink>(&device);
            l->setBitRate(0);
            return l;
        });
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("full.pcap"));
        QString error;
        QVERIFY(!link.startCapture(QStringLiteral("/dev/full"), &error));
        QVERIFY(!error.isEmpty());
        {
            const FileSizeLimit noRoom(10);
            QVERIFY(!link.startCapture(file, &error));
        }
        QVERIFY2(!QFile::exists(file), "an empty record is left behind");
        QVERIFY(!link.isCapturing());

        QSignalSpy failed(&link, &ProfiledHartLink::captureFailed);
        QSignalSpy changed(&link, &ProfiledHartLink::captureChanged);
        {
            const FileSizeLimit fillsUp(2000);
            QVERIFY2(link.startCapture(file, &error), qPrintable(error));
            QVERIFY(link.open());
            HartMaster master(&link);
            Outcomes outcomes;
            for (int i = 0; i < 40; ++i)
                master.poll(0, outcomes.take());
            QTRY_COMPARE(outcomes.list.size(), 40);
        }
        QCOMPARE(failed.size(), 1);
        QVERIFY2(failed.first().first().toString().contains(file),
                 qPrintable(failed.first().first().toString()));
        QCOMPARE(changed.last().first().toBool(), false);
        QVERIFY(!link.isCapturing());
        const auto packets = RecordFile::read(file);
        QVERIFY2(packets, "the record ends inside a packet");
        QVERIFY(packets->size() > 10);
        const QStringList problems = RecordFile::problems(file);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

VEX_TEST(TstTrafficRecord)
#include "tst_TrafficRecord.moc"
