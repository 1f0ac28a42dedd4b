#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "hart/HartDeviceIdentity.h"
#include "hart/HartFrame.h"
#include "hart/HartManufacturers.h"
#include "simulator/SimulatedTransmitter.h"

#include <QTest>

namespace {
// The simulator's own answer to command 0 at its polling address.
HartFrame commandZeroAnswer(SimulatedTransmitter &device)
{
    const QByteArray request =
        HartFrame::shortFrame(HartFrame::Kind::Request, device.pollingAddress(), 0).encode();
    const std::optional<QByteArray> wire = device.respond(request);
    if (!wire)
        return {};
    return HartFrame::decode(*wire).frame.value_or(HartFrame{});
}
} // namespace

class tst_HartDeviceIdentity : public QObject
{
    Q_OBJECT

private slots:
    void readsTheTransmittersAnswer()
    {
        SimulatedTransmitter device;
        device.setLoopPosition(3, 0x10);
        const auto identity = HartDeviceIdentity::parse(commandZeroAnswer(device));
        QVERIFY(identity);
        QCOMPARE(identity->manufacturer, device.manufacturerId());
        QCOMPARE(identity->deviceType, device.deviceType());
        QCOMPARE(identity->deviceId, device.deviceId());
        QCOMPARE(identity->requestPreambles, quint8(5));
        QCOMPARE(identity->key(), QStringLiteral("%1-%2-%3")
                                      .arg(device.manufacturerId(), 2, 16, QLatin1Char('0'))
                                      .arg(device.deviceType(), 2, 16, QLatin1Char('0'))
                                      .arg(device.deviceId(), 6, 16, QLatin1Char('0'))
                                      .toUpper());
    }

    void refusesWhatIsNoIdentity_data()
    {
        QTest::addColumn<HartFrame>("frame");
        const QByteArray good = QByteArray::fromHex("FE3C9D050501030800ABCDEF");
        const auto answer = [](quint8 command, quint8 code, const QByteArray &data) {
            HartFrame f =
                HartFrame::longFrame(HartFrame::Kind::Response, 0x3C, 0x9D, 1, command, data);
            f.setStatus(code, 0);
            return f;
        };
        QTest::newRow("short") << answer(0, 0, good.left(11));
        QTest::newRow("no expanded marker") << answer(0, 0, "\x01" + good.mid(1));
        QTest::newRow("busy") << answer(0, 32, good);
        QTest::newRow("garbled request") << answer(0, 0x88, good);
        QTest::newRow("other command") << answer(11, 0, good);
        HartFrame request = answer(0, 0, good);
        request.setKind(HartFrame::Kind::Request);
        QTest::newRow("request") << request;
    }
    void refusesWhatIsNoIdentity()
    {
        QFETCH(HartFrame, frame);
        QVERIFY(!HartDeviceIdentity::parse(frame));
    }

    // Answers written byte by byte from the command-0 layouts of HART 5, 6
    // and 7, not by our encoder.
    void decodesEachRevisionsLayout_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("manufacturer");
        QTest::addColumn<QString>("deviceType");
        QTest::addColumn<int>("hartRevision");
        QTest::addColumn<int>("deviceRevision");
        QTest::addColumn<int>("requestPreambles");
        QTest::addColumn<QString>("extended"); // response preambles, variables, changes, status
        QTest::addColumn<QString>("key");
        // marker, mfr, type, preambles, HART, dev, sw, hw/signalling, flags, id.
        QTest::newRow("HART 5") << QByteArray::fromHex("FE 11 45 05 05 01 03 10 00 AB CD EF")
                                << 0x11 << "0x45" << 5 << 1 << 5 << ""
                                << "11-45-ABCDEF";
        QTest::newRow("HART 5 with bytes it does not define")
            << QByteArray::fromHex("FE 11 45 05 05 01 03 10 00 AB CD EF 07 08 00 09 0A") << 0x11
            << "0x45" << 5 << 1 << 5 << ""
            << "11-45-ABCDEF";
        // + response preambles, max device variables, change counter (2), extended status.
        QTest::newRow("HART 6") << QByteArray::fromHex(
                                       "FE 26 0D 04 06 02 07 08 00 00 15 11 06 08 01 2C 01")
                                << 0x26 << "0x0D" << 6 << 2 << 4 << "6 8 300 1"
                                << "26-0D-001511";
        // Bytes 1-2 the expanded device type; + manufacturer (2), distributor (2), profile.
        QTest::newRow("HART 7") << QByteArray::fromHex("FE 2A 61 05 07 03 02 11 01 01 23 45 "
                                                       "05 04 00 2B 02 00 2A 00 26 01")
                                << 0x2A << "0x2A61" << 7 << 3 << 5 << "5 4 43 2"
                                << "2A-61-012345";
        QTest::newRow("HART 7, maker registered after the one-byte codes")
            << QByteArray::fromHex("FE E1 23 05 07 01 01 08 00 00 00 01 "
                                   "05 02 00 00 00 60 01 60 01 01")
            << 0x6001 << "0xE123" << 7 << 1 << 5 << "5 2 0 0"
            << "E1-23-000001";
        // Too short for its own revision: what is there is read, the rest left out.
        QTest::newRow("HART 7 cut after the HART 5 part")
            << QByteArray::fromHex("FE 2A 61 05 07 03 02 11 01 01 23 45") << 0x2A << "0x2A61" << 7
            << 3 << 5 << ""
            << "2A-61-012345";
    }
    void decodesEachRevisionsLayout()
    {
        QFETCH(QByteArray, data);
        const auto id = HartDeviceIdentity::parse(data);
        QVERIFY(id);
        QTEST(int(id->manufacturerCode()), "manufacturer");
        QTEST(id->deviceTypeText(), "deviceType");
        QTEST(int(id->universalRevision), "hartRevision");
        QTEST(int(id->deviceRevision), "deviceRevision");
        QTEST(int(id->requestPreambles), "requestPreambles");
        const QString extended = id->extended ? QStringLiteral("%1 %2 %3 %4")
                                                    .arg(id->extended->responsePreambles)
                                                    .arg(id->extended->maxDeviceVariables)
                                                    .arg(id->extended->configurationChanges)
                                                    .arg(id->extended->extendedStatus)
                                              : QString();
        QTEST(extended, "extended");
        QTEST(id->key(), "key");
    }

    void hart7FieldsAndTheLongAddress()
    {
        const auto id = HartDeviceIdentity::parse(QByteArray::fromHex(
            "FE 2A 61 05 07 03 02 11 01 01 23 45 05 04 00 2B 02 00 2A 00 26 01"));
        QVERIFY(id && id->hart7);
        QCOMPARE(id->hart7->privateLabelDistributor, quint16(0x26));
        QCOMPARE(id->hart7->deviceProfile, quint8(1));
        QCOMPARE(id->hardwareRevision, quint8(2));
        QCOMPARE(id->signallingCode, quint8(1));
        QCOMPARE(id->flags, quint8(1));
        // The long address carries bytes 1 and 2 as they came.
        QCOMPARE(id->manufacturer, quint8(0x2A));
        QCOMPARE(id->deviceType, quint8(0x61));
        QCOMPARE(id->expandedDeviceType(), quint16(0x2A61));
    }

    void namesTheMaker_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("Endress+Hauser") << 0x11 << "Endress+Hauser (0x11)";
        QTest::newRow("Rosemount") << 0x26 << "Rosemount (0x26)";
        QTest::newRow("Siemens") << 0x2A << "Siemens (0x2A)";
        QTest::newRow("Yokogawa") << 0x37 << "Yokogawa (0x37)";
        QTest::newRow("last of the table") << 0xA6 << "Fluid Components International (0xA6)";
        QTest::newRow("unknown one-byte code") << 0xE5 << "0xE5";
        QTest::newRow("unknown two-byte code") << 0x6001 << "0x6001";
        QTest::newRow("zero") << 0 << "0x00";
    }
    void namesTheMaker()
    {
        QFETCH(int, code);
        QTEST(HartManufacturers::describe(quint16(code)), "text");
    }

    // Only a device of the description's maker and type is one of ours,
    // whichever layout its answer has.
    void theDescriptionKnowsItsOwn_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ours");
        QTest::newRow("ours, HART 5") << QByteArray::fromHex("FE3C9D050501030800ABCDEF") << true;
        QTest::newRow("ours as HART 7 states it")
            << QByteArray::fromHex("FE3C9D050702010800ABCDEF 0504000100 003C 003C 01") << true;
        QTest::newRow("our type code, another maker")
            << QByteArray::fromHex("FE269D050501030800ABCDEF") << false;
        QTest::newRow("our maker, another type")
            << QByteArray::fromHex("FE3C9E050501030800ABCDEF") << false;
        QTest::newRow("our expanded type, another maker's code in HART 7")
            << QByteArray::fromHex("FE3C9D050702010800ABCDEF 0504000100 0026 0026 01") << false;
    }
    void theDescriptionKnowsItsOwn()
    {
        QFETCH(QByteArray, data);
        const auto identity = HartDeviceIdentity::parse(data);
        QVERIFY(identity);
        QTEST(testhost::builtInDescription().describes(*identity), "ours");
    }

    void sameDeviceLooksAtTheUniqueIdentityAlone()
    {
        const auto a = HartDeviceIdentity::parse(QByteArray::fromHex("FE3C9D050501030800ABCDEF"));
        QVERIFY(a);
        QCOMPARE(a->deviceId, quint32(0xABCDEF));
        QCOMPARE(a->key(), QStringLiteral("3C-9D-ABCDEF"));
        HartDeviceIdentity updated = *a;
        updated.softwareRevision = 9;
        QVERIFY(a->sameDevice(updated));
        for (auto change : {+[](HartDeviceIdentity &i) { ++i.manufacturer; },
                            +[](HartDeviceIdentity &i) { ++i.deviceType; },
                            +[](HartDeviceIdentity &i) { ++i.deviceId; }}) {
            HartDeviceIdentity other = *a;
            change(other);
            QVERIFY(!a->sameDevice(other));
            QVERIFY(a->key() != other.key());
        }
    }
};

VEX_TEST(tst_HartDeviceIdentity)
#include "tst_HartDeviceIdentity.moc"
