#include "TestRegistry.h"
#include "hart/HartDeviceIdentity.h"
#include "hart/HartFrame.h"
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
