#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartDeviceIdentity.h"
#include "hart/HartFrame.h"
#include "hart/HartProtocol.h"
#include "simulator/FieldDeviceProfile.h"
#include "simulator/SimulatedFieldDevice.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/SimulatorControl.h"
#include "simulator/TransmitterLoop.h"

#include <QTest>

namespace rc = hart::response;

namespace {

struct Answer
{
    bool came = false;
    int code = -1;
    quint8 status = 0;
    QByteArray data;
};

Answer ask(SimulatedDevice &device, const HartFrame &request)
{
    const std::optional<QByteArray> wire = device.respond(request.encode());
    if (!wire)
        return {};
    const HartFrame::Decoded decoded = HartFrame::decode(*wire);
    if (!decoded.ok())
        return {};
    return {true, decoded.frame->responseCode(), decoded.frame->deviceStatus(),
            decoded.frame->data()};
}

HartDeviceIdentity identify(SimulatedDevice &device)
{
    const Answer a =
        ask(device, HartFrame::shortFrame(HartFrame::Kind::Request, device.pollingAddress(), 0));
    return HartDeviceIdentity::parse(a.data).value_or(HartDeviceIdentity{});
}

Answer ask(SimulatedDevice &device, quint8 command, const QByteArray &data = {})
{
    const HartDeviceIdentity id = identify(device);
    return ask(device, HartFrame::longFrame(HartFrame::Kind::Request, id.manufacturer,
                                            id.deviceType, id.deviceId, command, data));
}

std::unique_ptr<SimulatedFieldDevice> frozen(const QString &profile)
{
    auto device = std::make_unique<SimulatedFieldDevice>(*FieldDeviceProfile::find(profile));
    device->setClock(nullptr);
    return device;
}

} // namespace

// The devices of other makers hartsim puts on the loop: each with its own
// identity in the layout of its HART revision, the commands a generic HART
// view uses, and none of this family's.
class tst_FieldDevices : public QObject
{
    Q_OBJECT

private slots:
    void eachProfileNamesItself_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("manufacturer");
        QTest::addColumn<QString>("deviceType");
        QTest::addColumn<int>("hartRevision");
        QTest::newRow("HART 7 pressure") << "hart7-pressure" << 22 << 0x2A << "0x2A71" << 7;
        QTest::newRow("HART 7 temperature") << "hart7-temperature" << 22 << 0x26 << "0x26A4" << 7;
        QTest::newRow("HART 5 flow") << "hart5-flow" << 12 << 0x11 << "0x5C" << 5;
    }
    void eachProfileNamesItself()
    {
        QFETCH(QString, profile);
        auto device = frozen(profile);
        device->setLoopPosition(4, 0x400);
        const Answer a = ask(*device, HartFrame::shortFrame(HartFrame::Kind::Request, 4, 0));
        QVERIFY(a.came);
        QTEST(int(a.data.size()), "bytes");
        const auto id = HartDeviceIdentity::parse(a.data);
        QVERIFY(id);
        QTEST(int(id->manufacturerCode()), "manufacturer");
        QTEST(id->deviceTypeText(), "deviceType");
        QTEST(int(id->universalRevision), "hartRevision");
        QCOMPARE(id->deviceId, device->deviceId());
        // The first answer after power-on says so, the next does not.
        QVERIFY(a.status & hart::status::ColdStart);
        QVERIFY(!(ask(*device, 1).status & hart::status::ColdStart));
    }

    // Response lengths from the HART layouts of each command and revision;
    // 0 for "command not implemented".
    void answersTheGenericCommands_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("bytes");
        const struct
        {
            int command;
            QByteArray request;
            int hart7; // pressure and temperature: PV and SV only
            int hart5; // flow: PV, SV, TV
        } rows[] = {
            {1, {}, 5, 5},
            {2, {}, 8, 8},
            {3, {}, 14, 19},
            {7, {}, 2, 0},
            {8, {}, 4, 0},
            {9, QByteArray::fromHex("F6F7"), 1 + 2 * 8 + 4, 0},
            {12, {}, 24, 24},
            {13, {}, 21, 21},
            {14, {}, 16, 16},
            {15, {}, 18, 17},
            {16, {}, 3, 3},
            {20, {}, 32, 0},
            {33, QByteArray::fromHex("0001"), 12, 12},
            {48, {}, 9, 6},
        };
        for (const char *profile : {"hart7-pressure", "hart7-temperature", "hart5-flow"}) {
            const bool hart7 = QByteArray(profile).startsWith("hart7");
            for (const auto &r : rows)
                QTest::addRow("%s %d", profile, r.command)
                    << QString::fromLatin1(profile) << r.command << r.request
                    << (hart7 ? r.hart7 : r.hart5);
        }
    }
    void answersTheGenericCommands()
    {
        QFETCH(QString, profile);
        QFETCH(int, command);
        QFETCH(QByteArray, request);
        QFETCH(int, bytes);
        auto device = frozen(profile);
        const Answer a = ask(*device, quint8(command), request);
        QVERIFY(a.came);
        QCOMPARE(a.code, bytes ? int(rc::Success) : int(rc::CommandNotImplemented));
        QCOMPARE(int(a.data.size()), bytes);
    }

    void refusesThisFamilysCommands()
    {
        SimulatedTransmitter ours;
        for (const FieldDeviceProfile &p : FieldDeviceProfile::all()) {
            SimulatedFieldDevice device(p);
            const QList<quint8> theirs = device.supportedCommands();
            for (const quint8 command : ours.supportedCommands()) {
                if (theirs.contains(command))
                    continue;
                const Answer a = ask(device, command, QByteArray(32, '\0'));
                QVERIFY2(a.came && a.code == rc::CommandNotImplemented,
                         qPrintable(QStringLiteral("%1 command %2").arg(p.name).arg(command)));
            }
            // Of ours only universal and common-practice commands are theirs too.
            for (const quint8 command : theirs)
                QVERIFY(command < 128);
        }
    }

    void shortFramesByRevision()
    {
        auto hart5 = frozen(QStringLiteral("hart5-flow"));
        auto hart7 = frozen(QStringLiteral("hart7-pressure"));
        const HartFrame pvRequest = HartFrame::shortFrame(HartFrame::Kind::Request, 0, 1);
        QVERIFY(!ask(*hart5, pvRequest).came);
        QCOMPARE(ask(*hart7, pvRequest).code, int(rc::Success));
    }

    void writesAreKeptAndReported()
    {
        auto device = frozen(QStringLiteral("hart7-pressure"));
        // Tag and descriptor.
        const QByteArray tagged = HartCodec::packAscii(QStringLiteral("PT-9"), 6) +
                                  HartCodec::packAscii(QStringLiteral("NEW LINE"), 12) +
                                  HartCodec::fromDate(QDate(2024, 2, 29));
        QCOMPARE(ask(*device, 18, tagged).code, int(rc::Success));
        QCOMPARE(ask(*device, 13).data, tagged);
        // The configuration-changed bit and the HART 7 counter that resets it.
        const Answer changed = ask(*device, 0);
        QVERIFY(changed.status & hart::status::ConfigurationChanged);
        const quint16 counter =
            HartDeviceIdentity::parse(changed.data)->extended->configurationChanges;
        QCOMPARE(counter, quint16(1));
        QCOMPARE(ask(*device, 38, HartCodec::fromUInt16(counter + 1)).code, 9);
        QCOMPARE(ask(*device, 38, HartCodec::fromUInt16(counter)).code, int(rc::Success));
        QVERIFY(!(ask(*device, 1).status & hart::status::ConfigurationChanged));
        // Range and unit: read back in the new unit.
        const QByteArray range = QByteArray(1, char(hart::unit::Bar)) + HartCodec::fromFloat(6) +
                                 HartCodec::fromFloat(1);
        QCOMPARE(ask(*device, 35, range).code, int(rc::Success));
        QCOMPARE(ask(*device, 44, QByteArray(1, char(hart::unit::KiloPascal))).code,
                 int(rc::Success));
        const QByteArray output = ask(*device, 15).data;
        QCOMPARE(quint8(output[2]), hart::unit::KiloPascal);
        QCOMPARE(HartCodec::toFloat(output, 3), 600.0f);
        QCOMPARE(HartCodec::toFloat(output, 7), 100.0f);
        // A temperature unit is no pressure unit.
        QCOMPARE(ask(*device, 44, QByteArray(1, char(hart::unit::DegC))).code,
                 int(rc::UpperRangeTooLow));
        // Write protection.
        device->setWriteProtected(true);
        QCOMPARE(ask(*device, 18, tagged).code, int(rc::WriteProtected));
    }

    void aMixedLoopAndItsControl()
    {
        TransmitterLoop loop;
        QVERIFY(loop.add(0, QStringLiteral("transmitter")));
        QVERIFY(loop.add(3, QStringLiteral("hart7-temperature")));
        QVERIFY(!loop.add(3, QStringLiteral("hart5-flow"))); // taken
        QVERIFY(!loop.add(4, QStringLiteral("nothing")));
        QCOMPARE(loop.devices().size(), 1);
        QCOMPARE(loop.allDevices().size(), 2);
        QVERIFY(!loop.device(3));
        const QByteArray request = HartFrame::shortFrame(HartFrame::Kind::Request, 3, 0).encode();
        const auto answer = loop.respond(request);
        QVERIFY(answer);
        QCOMPARE(HartFrame::decode(*answer).frame->data().size(), 22);

        SimulatorControl control(loop);
        QVERIFY(control.execute(QStringLiteral("pressure 850 3")).startsWith("error"));
        QCOMPARE(control.execute(QStringLiteral("noanswer 1 3")), QStringLiteral("ok"));
        QVERIFY(!loop.respond(request));
        QVERIFY(loop.respond(request));
        QVERIFY(control.execute(QStringLiteral("devices")).contains("hart7-temperature"));

        // The primary variable held where a test needs it, another maker's only.
        QCOMPARE(control.execute(QStringLiteral("pv 91.25 3")), QStringLiteral("ok"));
        const QByteArray pv = HartFrame::shortFrame(HartFrame::Kind::Request, 3, 1).encode();
        QCOMPARE(HartCodec::toFloat(HartFrame::decode(*loop.respond(pv)).frame->data(), 1), 91.25f);
        for (const char *refused : {"pv 1 0", "pv nan 3", "pv x 3"})
            QVERIFY2(control.execute(QLatin1String(refused)).startsWith("error"), refused);
        QCOMPARE(control.execute(QStringLiteral("pv free")), QStringLiteral("ok"));
        QVERIFY(HartCodec::toFloat(HartFrame::decode(*loop.respond(pv)).frame->data(), 1) !=
                91.25f);
    }
};

VEX_TEST(tst_FieldDevices)
#include "tst_FieldDevices.moc"
