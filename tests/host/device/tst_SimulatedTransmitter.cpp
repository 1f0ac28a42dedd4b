#include "DeviceBench.h"
#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

#include <QTest>

using Kind = LinkProbe::Kind;
using SensorType = SimulatedTransmitter::SensorType;
namespace rc = hart::response;

namespace {
QByteArray f(float value)
{
    return HartCodec::fromFloat(value);
}

QByteArray rangeRequest(quint8 unit, float upper, float lower)
{
    return QByteArray(1, char(unit)) + f(upper) + f(lower);
}

int code(const LinkProbe::Outcome &outcome)
{
    return outcome.kind == Kind::Response ? outcome.response.responseCode() : -1;
}
} // namespace

class tst_SimulatedTransmitter : public QObject
{
    Q_OBJECT

private slots:
    void commandZeroByPollingAddress_data()
    {
        QTest::addColumn<int>("deviceAddress");
        QTest::addColumn<int>("requestAddress");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("answers");
        QTest::newRow("address 0") << 0 << 0 << 0 << true;
        QTest::newRow("multidrop address 7") << 7 << 7 << 0 << true;
        QTest::newRow("another address") << 7 << 0 << 0 << false;
        QTest::newRow("short frame for command 1") << 0 << 0 << 1 << false;
    }
    void commandZeroByPollingAddress()
    {
        QFETCH(int, deviceAddress);
        QFETCH(int, requestAddress);
        QFETCH(int, command);
        QFETCH(bool, answers);
        DeviceBench bench;
        if (deviceAddress != 0)
            QCOMPARE(code(bench.command(6, QByteArray(1, char(deviceAddress)))), 0);
        const LinkProbe::Outcome outcome = bench.send(HartFrame::shortFrame(
            HartFrame::Kind::Request, quint8(requestAddress), quint8(command)));
        QCOMPARE(outcome.kind, answers ? Kind::Response : Kind::Timeout);
        if (!answers)
            return;
        const QByteArray id = outcome.response.data();
        QCOMPARE(id.size(), 12);
        QCOMPARE(quint8(id[0]), quint8(254));
        QCOMPARE(quint8(id[1]), bench.device.manufacturerId());
        QCOMPARE(quint8(id[2]), bench.device.deviceType());
        QCOMPARE(quint8(id[4]), quint8(5));
        QCOMPARE(HartCodec::toUInt24(id, 9), bench.device.deviceId());
        QVERIFY(!outcome.response.isLongAddress());
    }

    void longFrameAddressing_data()
    {
        QTest::addColumn<int>("manufacturerDelta");
        QTest::addColumn<int>("typeDelta");
        QTest::addColumn<int>("idDelta");
        QTest::addColumn<bool>("answers");
        QTest::newRow("own address") << 0 << 0 << 0 << true;
        QTest::newRow("manufacturer") << 1 << 0 << 0 << false;
        QTest::newRow("device type") << 0 << 1 << 0 << false;
        QTest::newRow("device id") << 0 << 0 << 1 << false;
    }
    void longFrameAddressing()
    {
        QFETCH(int, manufacturerDelta);
        QFETCH(int, typeDelta);
        QFETCH(int, idDelta);
        QFETCH(bool, answers);
        DeviceBench bench;
        HartFrame request = bench.longRequest(1);
        request.setLongAddress(bench.device.manufacturerId() + manufacturerDelta,
                               bench.device.deviceType() + typeDelta,
                               bench.device.deviceId() + idDelta);
        const LinkProbe::Outcome outcome = bench.send(request);
        QCOMPARE(outcome.kind, answers ? Kind::Response : Kind::Timeout);
        if (answers)
            QVERIFY(outcome.response.hasSameAddress(request));
    }

    void findsTheDeviceByTag()
    {
        DeviceBench bench;
        const QByteArray tag = HartCodec::packAscii("PT-1", 6);
        const auto broadcast = [&](const QByteArray &data) {
            return bench.send(HartFrame::longFrame(HartFrame::Kind::Request, 0, 0, 0, 11, data));
        };
        const LinkProbe::Outcome found = broadcast(tag);
        QCOMPARE(code(found), 0);
        QCOMPARE(HartCodec::toUInt24(found.response.data(), 9), bench.device.deviceId());
        QCOMPARE(broadcast(HartCodec::packAscii("OTHER", 6)).kind, Kind::Timeout);
        QCOMPARE(broadcast(tag.left(4)).kind, Kind::Timeout);
    }

    void rangeInEveryPressureUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<float>("upper");
        QTest::addColumn<float>("lower");
        QTest::addColumn<double>("mbarPerUnit");
        QTest::newRow("mbar") << 8 << 300.0f << -100.0f << 1.0;
        QTest::newRow("bar") << 7 << 0.3f << -0.1f << 1000.0;
        QTest::newRow("psi") << 6 << 4.0f << -1.0f << 68.9476;
        QTest::newRow("Pa") << 11 << 30000.0f << -10000.0f << 0.01;
        QTest::newRow("kPa") << 12 << 30.0f << -10.0f << 10.0;
        QTest::newRow("MPa") << 237 << 0.03f << -0.01f << 10000.0;
        QTest::newRow("inH2O") << 1 << 120.0f << -40.0f << 2.49089;
        QTest::newRow("mmH2O") << 4 << 3000.0f << -1000.0f << 0.0980665;
        QTest::newRow("mmHg") << 5 << 225.0f << -75.0f << 1.33322;
        QTest::newRow("torr") << 13 << 225.0f << -75.0f << 1.33322;
        QTest::newRow("g/cm2") << 9 << 300.0f << -100.0f << 0.980665;
        QTest::newRow("kg/cm2") << 10 << 0.3f << -0.1f << 980.665;
        QTest::newRow("atm") << 14 << 0.3f << -0.1f << 1013.25;
        QTest::newRow("inHg") << 2 << 8.0f << -3.0f << 33.8639;
        QTest::newRow("ftH2O") << 3 << 10.0f << -3.0f << 29.8907;
    }
    void rangeInEveryPressureUnit()
    {
        QFETCH(int, unit);
        QFETCH(float, upper);
        QFETCH(float, lower);
        QFETCH(double, mbarPerUnit);
        DeviceBench bench; // differential, -400..400 mbar
        const LinkProbe::Outcome written = bench.command(35, rangeRequest(unit, upper, lower));
        QCOMPARE(code(written), 0);
        // The answer repeats the request: units, then upper, then lower.
        QCOMPARE(written.response.data(), rangeRequest(unit, upper, lower));

        // Read back in mbar: the device kept the physical range.
        QByteArray info = bench.read(15);
        QCOMPARE(quint8(info[2]), quint8(8));
        QVERIFY(qAbs(HartCodec::toFloat(info, 3) - upper * mbarPerUnit) < 1e-3 * 400);
        QVERIFY(qAbs(HartCodec::toFloat(info, 7) - lower * mbarPerUnit) < 1e-3 * 400);

        // And in the unit itself after switching the primary variable unit.
        QCOMPARE(code(bench.command(44, QByteArray(1, char(unit)))), 0);
        info = bench.read(15);
        QCOMPARE(quint8(info[2]), quint8(unit));
        QVERIFY(qAbs(HartCodec::toFloat(info, 3) / upper - 1.0f) < 1e-5f);
        QVERIFY(qAbs(HartCodec::toFloat(info, 7) / lower - 1.0f) < 1e-5f);
    }

    void rangeChecks_data()
    {
        // Sensor -400..400 mbar, spare 10 % of 400: limits -440..440, minimum span 4.
        QTest::addColumn<float>("upper");
        QTest::addColumn<float>("lower");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("stored");
        QTest::newRow("inside") << 400.0f << -400.0f << int(rc::Success) << true;
        QTest::newRow("inside the spare") << 440.0f << -440.0f << int(rc::Success) << true;
        QTest::newRow("inverted") << -100.0f << 100.0f << int(rc::Success) << true;
        QTest::newRow("lower too high")
            << 450.0f << 441.0f << int(rc::BothRangeValuesOutside) << false;
        QTest::newRow("lower above limit")
            << 100.0f << 441.0f << int(rc::LowerRangeTooHigh) << false;
        QTest::newRow("lower too low") << 100.0f << -441.0f << int(rc::LowerRangeTooLow) << false;
        QTest::newRow("upper too high") << 441.0f << 0.0f << int(rc::UpperRangeTooHigh) << false;
        QTest::newRow("upper too low") << -441.0f << 0.0f << int(rc::UpperRangeTooLow) << false;
        QTest::newRow("span below minimum") << 2.0f << 0.0f << int(rc::SpanTooSmall) << true;
        QTest::newRow("no span") << 50.0f << 50.0f << int(rc::InvalidSpan) << false;
    }
    void rangeChecks()
    {
        QFETCH(float, upper);
        QFETCH(float, lower);
        QFETCH(int, expected);
        QFETCH(bool, stored);
        DeviceBench bench;
        const QByteArray before = bench.read(15);
        QCOMPARE(code(bench.command(35, rangeRequest(8, upper, lower))), expected);
        const QByteArray after = bench.read(15);
        QCOMPARE(after.mid(3, 8) == rangeRequest(8, upper, lower).mid(1), stored);
        if (!stored)
            QCOMPARE(after, before);
    }

    void rejectsBadNumbersAndUnits_data()
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("expected");
        QTest::newRow("range NaN") << 35 << rangeRequest(8, nan, 0) << int(rc::InvalidSelection);
        QTest::newRow("range infinite")
            << 35 << rangeRequest(8, 100, -inf) << int(rc::InvalidSelection);
        QTest::newRow("range in degC")
            << 35 << rangeRequest(32, 100, 0) << int(rc::InvalidSelection);
        QTest::newRow("damping NaN") << 34 << f(nan) << int(rc::InvalidSelection);
        QTest::newRow("damping too long") << 34 << f(101) << int(rc::TooLarge);
        QTest::newRow("damping negative") << 34 << f(-1) << int(rc::TooSmall);
        QTest::newRow("unit not a pressure")
            << 44 << QByteArray(1, 32) << int(rc::UpperRangeTooLow);
        QTest::newRow("unit unknown")
            << 44 << QByteArray(1, char(200)) << int(rc::UpperRangeTooLow);
        QTest::newRow("polling address 16") << 6 << QByteArray(1, 16) << int(rc::InvalidSelection);
        QTest::newRow("transfer function 2") << 47 << QByteArray(1, 2) << int(rc::InvalidSelection);
        QTest::newRow("variable 9") << 33 << QByteArray(1, 9) << int(rc::InvalidSelection);
        QTest::newRow("variable unit for pressure")
            << 53 << QByteArray::fromHex("0020") << int(rc::UpperRangeTooLow);
        QTest::newRow("preambles 21") << 59 << QByteArray(1, 21) << int(rc::TooLarge);
        QTest::newRow("preambles 4") << 59 << QByteArray(1, 4) << int(rc::TooSmall);
        QTest::newRow("fixed current NaN") << 40 << f(nan) << int(rc::InvalidSelection);
        QTest::newRow("fixed current 24 mA") << 40 << f(24) << int(rc::TooLarge);
        QTest::newRow("fixed current 2 mA") << 40 << f(2) << int(rc::TooSmall);
        QTest::newRow("too few bytes for range")
            << 35 << rangeRequest(8, 1, 0).left(8) << int(rc::TooFewDataBytes);
        QTest::newRow("too few bytes for message")
            << 17 << QByteArray(23, 'a') << int(rc::TooFewDataBytes);
        QTest::newRow("unknown command") << 127 << QByteArray() << int(rc::CommandNotImplemented);
    }
    void rejectsBadNumbersAndUnits()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        QFETCH(int, expected);
        DeviceBench bench;
        const QByteArray before = bench.read(15);
        const LinkProbe::Outcome outcome = bench.command(quint8(command), data);
        QCOMPARE(code(outcome), expected);
        QVERIFY(outcome.response.data().isEmpty());
        QCOMPARE(bench.read(15), before);
    }

    void writeProtectionRefusesEveryWrite_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("polling address") << 6 << QByteArray(1, 3);
        QTest::newRow("message") << 17 << QByteArray(24, 'a');
        QTest::newRow("tag") << 18 << QByteArray(21, 'a');
        QTest::newRow("final assembly") << 19 << QByteArray(3, 'a');
        QTest::newRow("damping") << 34 << f(2);
        QTest::newRow("range") << 35 << rangeRequest(8, 100, 0);
        QTest::newRow("upper from applied") << 36 << QByteArray();
        QTest::newRow("lower from applied") << 37 << QByteArray();
        QTest::newRow("zero") << 43 << QByteArray();
        QTest::newRow("unit") << 44 << QByteArray(1, 7);
        QTest::newRow("trim 4 mA") << 45 << f(4);
        QTest::newRow("trim 20 mA") << 46 << f(20);
        QTest::newRow("transfer function") << 47 << QByteArray(1, 1);
        QTest::newRow("sensor serial") << 49 << QByteArray(3, 'a');
        QTest::newRow("variable unit") << 53 << QByteArray::fromHex("0133");
        QTest::newRow("preambles") << 59 << QByteArray(1, 7);
    }
    void writeProtectionRefusesEveryWrite()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        DeviceBench bench;
        bench.device.setWriteProtected(true);
        bench.command(38); // clear the configuration-changed flag first
        const QByteArray before = bench.read(15) + bench.read(13) + bench.read(12);
        const LinkProbe::Outcome outcome = bench.command(quint8(command), data);
        QCOMPARE(code(outcome), int(rc::WriteProtected));
        QCOMPARE(outcome.response.deviceStatus() & hart::status::ConfigurationChanged, 0);
        QCOMPARE(bench.read(15) + bench.read(13) + bench.read(12), before);
        QCOMPARE(quint8(bench.read(15)[15]), quint8(1));
        // Reading and leaving the write-protected state stay possible.
        QCOMPARE(code(bench.command(1)), 0);
        bench.device.setWriteProtected(false);
        QCOMPARE(code(bench.command(quint8(command), data)) == rc::WriteProtected, false);
    }

    void localOperationRestrictsAccess()
    {
        DeviceBench bench;
        bench.device.setLocalOperationActive(true);
        QCOMPARE(code(bench.command(34, f(1))), int(rc::AccessRestricted));
        QCOMPARE(code(bench.command(1)), 0);
        QCOMPARE(quint8(bench.read(48)[4]) & 0x20, 0x20);
    }

    void fixedCurrentMode()
    {
        DeviceBench bench;
        LinkProbe::Outcome outcome = bench.command(40, f(12.5f));
        QCOMPARE(code(outcome), 0);
        QCOMPARE(HartCodec::toFloat(outcome.response.data()), 12.5f);
        QCOMPARE(outcome.response.deviceStatus() & hart::status::OutputFixed,
                 hart::status::OutputFixed);
        QCOMPARE(HartCodec::toFloat(bench.read(2)), 12.5f);
        bench.device.setAppliedPressure(-1000); // the output no longer follows the process
        QCOMPARE(bench.device.loopCurrent(), 12.5);

        outcome = bench.command(40, f(0));
        QCOMPARE(code(outcome), 0);
        QCOMPARE(outcome.response.deviceStatus() & hart::status::OutputFixed, 0);
        QVERIFY(HartCodec::toFloat(bench.read(2)) < 4.0f); // alarm: below the sensor limit
    }

    void multidropFixesTheCurrentAndRefusesOutputCommands()
    {
        DeviceBench bench;
        QCOMPARE(code(bench.command(6, QByteArray(1, 5))), 0);
        const LinkProbe::Outcome read = bench.command(2);
        QCOMPARE(HartCodec::toFloat(read.response.data()), 4.0f);
        QCOMPARE(read.response.deviceStatus() & hart::status::OutputFixed,
                 hart::status::OutputFixed);
        QCOMPARE(code(bench.command(40, f(12))), int(rc::UpperRangeTooHigh));
        QCOMPARE(code(bench.command(45, f(4))), int(rc::UpperRangeTooHigh));
    }

    void outputFollowsThePressure_data()
    {
        // Range 0..400 mbar, sensor -400..400.
        QTest::addColumn<double>("pressure");
        QTest::addColumn<float>("current");
        QTest::addColumn<int>("statusBits");
        QTest::newRow("lower range value") << 0.0 << 4.0f << 0;
        QTest::newRow("half") << 200.0 << 12.0f << 0;
        QTest::newRow("upper range value") << 400.0 << 20.0f << 0;
        QTest::newRow("below the range")
            << -100.0 << 3.8f
            << int(hart::status::OutputSaturated | hart::status::MoreStatusAvailable);
        QTest::newRow("beyond the sensor")
            << 420.0 << 3.6f
            << int(hart::status::DeviceMalfunction | hart::status::MoreStatusAvailable |
                   hart::status::PrimaryOutOfLimits);
        QTest::newRow("too hot") << 100.0 << 8.0f
                                 << int(hart::status::MoreStatusAvailable |
                                        hart::status::NonPrimaryOutOfLimits);
    }
    void outputFollowsThePressure()
    {
        QFETCH(double, pressure);
        QFETCH(float, current);
        QFETCH(int, statusBits);
        DeviceBench bench;
        bench.command(38);
        bench.device.setAppliedPressure(pressure);
        if (QByteArray(QTest::currentDataTag()) == "too hot")
            bench.device.setSensorTemperature(90);
        const LinkProbe::Outcome outcome = bench.command(2);
        QVERIFY(qAbs(HartCodec::toFloat(outcome.response.data()) - current) < 1e-4f);
        QCOMPARE(int(outcome.response.deviceStatus()) & ~int(hart::status::ColdStart), statusBits);
    }

    void coldStartAndConfigurationChangedFlags()
    {
        DeviceBench bench;
        QVERIFY(bench.command(1).response.deviceStatus() & hart::status::ColdStart);
        QVERIFY(!(bench.command(1).response.deviceStatus() & hart::status::ColdStart));
        QCOMPARE(code(bench.command(34, f(1))), 0);
        QVERIFY(bench.command(1).response.deviceStatus() & hart::status::ConfigurationChanged);
        QVERIFY(!(bench.command(38).response.deviceStatus() & hart::status::ConfigurationChanged));
    }

    void busyAndSilenceLastForTheRequestedCount()
    {
        DeviceBench bench;
        bench.device.injectBusy(2);
        QCOMPARE(code(bench.command(1)), int(rc::Busy));
        QCOMPARE(code(bench.command(1)), int(rc::Busy));
        QCOMPARE(code(bench.command(1)), 0);
        bench.device.injectNoAnswer(2);
        QCOMPARE(bench.command(1).kind, Kind::Timeout);
        QCOMPARE(bench.command(1).kind, Kind::Timeout);
        QCOMPARE(code(bench.command(1)), 0);
        bench.device.injectNoAnswer(-1);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(bench.command(1).kind, Kind::Timeout);
        bench.device.clearFaults();
        QCOMPARE(code(bench.command(1)), 0);
    }

    void warmStartSilencesTheDeviceBriefly()
    {
        DeviceBench bench;
        bench.command(1);
        QCOMPARE(code(bench.command(40, f(8))), 0);
        QCOMPARE(code(bench.command(42)), 0);
        QCOMPARE(bench.command(1).kind, Kind::Timeout);
        bench.device.advanceTime(1999);
        QCOMPARE(bench.command(1).kind, Kind::Timeout);
        bench.device.advanceTime(1);
        const LinkProbe::Outcome back = bench.command(2);
        QCOMPARE(code(back), 0);
        QVERIFY(back.response.deviceStatus() & hart::status::ColdStart);
        QVERIFY(!(back.response.deviceStatus() & hart::status::OutputFixed)); // fixed mode ended
    }

    // An injected clock drives the device's time: the restart ends when the
    // clock has moved 2 s, whether in one step or in half milliseconds that
    // each request sees on its own.
    void injectedClockDrivesTheRestart_data()
    {
        QTest::addColumn<qint64>("stepNs");
        QTest::newRow("one step") << qint64(2'000'000'000);
        QTest::newRow("half milliseconds") << qint64(500'000);
    }
    void injectedClockDrivesTheRestart()
    {
        QFETCH(qint64, stepNs);
        DeviceBench bench;
        qint64 now = 123; // any start
        bench.device.setClock([&now] { return now; });
        QCOMPARE(code(bench.command(42)), 0);
        const qint64 steps = qint64(TransmitterModel::RestartMs) * 1'000'000 / stepNs;
        for (qint64 i = 0; i < steps - 1; ++i) {
            now += stepNs;
            bench.device.respond(QByteArray()); // a request the device cannot read
        }
        QCOMPARE(bench.command(1).kind, Kind::Timeout);
        now += stepNs;
        QCOMPARE(code(bench.command(1)), 0);
    }

    void valuesInTheChosenUnits()
    {
        DeviceBench bench;
        bench.device.setAppliedPressure(68.9476); // 1 psi
        bench.device.setSensorTemperature(100.0);
        QCOMPARE(code(bench.command(44, QByteArray(1, 6))), 0);
        QCOMPARE(code(bench.command(53, QByteArray::fromHex("0121"))), 0); // degF
        const QByteArray pv = bench.read(1);
        QCOMPARE(quint8(pv[0]), quint8(6));
        QVERIFY(qAbs(HartCodec::toFloat(pv, 1) - 1.0f) < 1e-5f);
        const QByteArray vars = bench.read(33, QByteArray::fromHex("0100"));
        QCOMPARE(vars.size(), 12);
        QCOMPARE(quint8(vars[1]), quint8(33));
        QVERIFY(qAbs(HartCodec::toFloat(vars, 2) - 212.0f) < 1e-3f);
        QCOMPARE(quint8(vars[6]), quint8(0));
        QVERIFY(qAbs(HartCodec::toFloat(vars, 8) - 1.0f) < 1e-5f);
    }

    void rangeFromAppliedPressure()
    {
        DeviceBench bench; // range 0..400
        bench.device.setAppliedPressure(300);
        QCOMPARE(code(bench.command(36)), 0);
        QByteArray info = bench.read(15);
        QCOMPARE(HartCodec::toFloat(info, 3), 300.0f);
        // Lower from applied keeps the span; past the limit the upper value stops there.
        bench.device.setAppliedPressure(200);
        QCOMPARE(code(bench.command(37)), int(rc::SpanTooSmall));
        info = bench.read(15);
        QCOMPARE(HartCodec::toFloat(info, 7), 200.0f);
        QCOMPARE(HartCodec::toFloat(info, 3), 440.0f);
        bench.device.setAppliedPressure(500);
        QCOMPARE(code(bench.command(36)), int(rc::LowerRangeTooHigh)); // applied too high
        bench.device.setAppliedPressure(-500);
        QCOMPARE(code(bench.command(37)), int(rc::LowerRangeTooLow));
    }

    void zeroShift()
    {
        DeviceBench bench;
        bench.device.setAppliedPressure(12.0);
        QCOMPARE(code(bench.command(43)), 0);
        QCOMPARE(HartCodec::toFloat(bench.read(1), 1), 0.0f);
        bench.device.setAppliedPressure(112.0); // a further 100 mbar is beyond 5 % of 800
        QCOMPARE(code(bench.command(43)), int(rc::LowerRangeTooHigh));
        bench.device.setAppliedPressure(-100.0);
        QCOMPARE(code(bench.command(43)), int(rc::LowerRangeTooLow));
    }

    void outputTrimAtBothEnds()
    {
        DeviceBench bench;
        QCOMPARE(code(bench.command(45, f(4.0f))), int(rc::LowerRangeTooHigh)); // not fixed at 4
        QCOMPARE(code(bench.command(40, f(4.0f))), 0);
        QVERIFY(qAbs(bench.device.analogOutputCurrent() - 4.0) < 1e-9);
        QCOMPARE(code(bench.command(45, f(4.6f))), int(rc::TooLarge));
        // The meter shows 4.02 mA: the device lowers its output by as much.
        QCOMPARE(code(bench.command(45, f(4.02f))), 0);
        QVERIFY(qAbs(bench.device.analogOutputCurrent() - 3.98) < 1e-4);
        QCOMPARE(code(bench.command(46, f(20.0f))), int(rc::LowerRangeTooHigh));
        QCOMPARE(code(bench.command(40, f(20.0f))), 0);
        const double at20 = bench.device.analogOutputCurrent();
        QCOMPARE(code(bench.command(46, f(float(at20)))), 0);
        QVERIFY(qAbs(bench.device.analogOutputCurrent() - 20.0) < 1e-3);
        QCOMPARE(code(bench.command(40, f(4.0f))), 0);
        QVERIFY(qAbs(bench.device.analogOutputCurrent() - 3.98) < 1e-3);
    }

    void dampingNeedsTime()
    {
        DeviceBench bench;
        bench.device.setAppliedPressure(0);
        QCOMPARE(code(bench.command(34, f(2.0f))), 0);
        bench.device.setAppliedPressure(100);
        QCOMPARE(HartCodec::toFloat(bench.read(1), 1), 0.0f);
        bench.device.advanceTime(2000); // one time constant
        QVERIFY(qAbs(HartCodec::toFloat(bench.read(1), 1) - 63.21f) < 0.01f);
        // The undamped value of command 3 follows at once.
        QCOMPARE(HartCodec::toFloat(bench.read(3), 15), 100.0f);
    }

    void noiseIsRepeatableBySeed()
    {
        const auto readings = [](quint32 seed) {
            DeviceBench bench;
            bench.device.setNoiseLevel(1.0);
            bench.device.seedNoise(seed);
            QList<float> values;
            for (int i = 0; i < 3; ++i)
                values << HartCodec::toFloat(bench.read(1), 1);
            return values;
        };
        const QList<float> first = readings(7);
        QCOMPARE(readings(7), first);
        QVERIFY(readings(8) != first);
        QVERIFY(first[0] != first[1]);
        for (const float value : first)
            QVERIFY(qAbs(value - 120.0f) < 0.2f); // 0.02 % of 800 mbar at most
    }
};

VEX_TEST(tst_SimulatedTransmitter)
#include "tst_SimulatedTransmitter.moc"
