#include "DeviceBench.h"
#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

#include <QTest>

using Kind = LinkProbe::Kind;
namespace rc = hart::response;

namespace {
QByteArray f(float value)
{
    return HartCodec::fromFloat(value);
}

int code(const LinkProbe::Outcome &outcome)
{
    return outcome.kind == Kind::Response ? outcome.response.responseCode() : -1;
}

QByteArray settingsBytes(quint8 selection, float alarmLow, float alarmHigh, float lowLimit,
                         float highLimit)
{
    return QByteArray(1, char(selection)) + f(alarmLow) + f(alarmHigh) + f(lowLimit) + f(highLimit);
}
} // namespace

class tst_DeviceSpecificCommands : public QObject
{
    Q_OBJECT

private slots:
    void writeProtectionCoversDeviceCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("lower balance point") << 131 << QByteArray(1, 8) + f(0);
        QTest::newRow("upper balance point") << 132 << QByteArray(1, 8) + f(400);
        QTest::newRow("temperature") << 133 << QByteArray(1, 32) + f(23);
        QTest::newRow("output settings") << 135 << settingsBytes(0, 3.6f, 21, 3.8f, 20.5f);
        QTest::newRow("local settings") << 137 << QByteArray(5, '\1');
        QTest::newRow("diagnosis configuration") << 140 << QByteArray(4, '\0');
        QTest::newRow("diagnosis simulation") << 142 << QByteArray::fromHex("010100000000");
        QTest::newRow("counter reset") << 144 << QByteArray(1, 1);
        QTest::newRow("peak reset") << 146 << QByteArray(1, 3);
        QTest::newRow("parallel shift") << 148 << f(50);
        QTest::newRow("factory reset") << 149 << QByteArray();
        QTest::newRow("output scaling") << 151 << QByteArray(1, 57) + f(100) + f(0) + "        ";
    }
    void writeProtectionCoversDeviceCommands()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        DeviceBench bench;
        QCOMPARE(code(bench.command(138, QByteArray(1, 1))), 0); // software lock
        QCOMPARE(code(bench.command(quint8(command), data)), int(rc::WriteProtected));
        QCOMPARE(quint8(bench.read(136)[5]), quint8(1));
        QCOMPARE(code(bench.command(138, QByteArray(1, 0))), 0); // the lock opens itself
        QVERIFY(code(bench.command(quint8(command), data)) != rc::WriteProtected);
    }

    void theSwitchGuardsTheSoftwareLock()
    {
        DeviceBench bench;
        bench.device.setWriteProtected(true);
        QCOMPARE(code(bench.command(138, QByteArray(1, 0))), int(rc::WriteProtected));
        bench.device.setWriteProtected(false);
        QCOMPARE(code(bench.command(138, QByteArray(1, 2))), int(rc::InvalidSelection));
    }

    void balancePoints()
    {
        DeviceBench bench; // -400..400 mbar
        bench.device.setAppliedPressure(-2.0);
        QCOMPARE(code(bench.command(131, QByteArray(1, 8) + f(0))), 0);
        bench.device.setAppliedPressure(398.0);
        QCOMPARE(code(bench.command(132, QByteArray(1, 7) + f(0.4f))), 0); // in bar
        // The two points now map -2..398 onto 0..400.
        bench.device.setAppliedPressure(198.0);
        QVERIFY(qAbs(HartCodec::toFloat(bench.read(1), 1) - 200.0f) < 1e-3f);
        const QByteArray points = bench.read(130);
        QCOMPARE(HartCodec::toFloat(points, 1), 0.0f);
        QVERIFY(qAbs(HartCodec::toFloat(points, 5) - 400.0f) < 1e-3f);

        QCOMPARE(code(bench.command(132, QByteArray(1, 8) + f(198 + 81))), int(rc::TooLarge));
        QCOMPARE(code(bench.command(131, QByteArray(1, 8) + f(198 - 81))), int(rc::TooSmall));
        // A lower point right under the upper one leaves no slope to compute.
        bench.device.setAppliedPressure(397.0);
        QCOMPARE(code(bench.command(131, QByteArray(1, 8) + f(399))), int(rc::DeviceSpecificError));
        QCOMPARE(code(bench.command(131, QByteArray(1, 32) + f(0))), int(rc::InvalidSelection));
    }

    void temperatureCalibration()
    {
        DeviceBench bench;
        bench.device.setSensorTemperature(20.0);
        QCOMPARE(code(bench.command(133, QByteArray(1, 33) + f(71.6f))), 0); // 22 degC
        QVERIFY(qAbs(HartCodec::toFloat(bench.read(33, QByteArray(1, 1)), 2) - 22.0f) < 1e-4f);
        QCOMPARE(code(bench.command(133, QByteArray(1, 32) + f(31))), int(rc::TooLarge));
        QCOMPARE(code(bench.command(133, QByteArray(1, 32) + f(9))), int(rc::TooSmall));
    }

    void outputSettings_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("expected");
        QTest::newRow("valid") << settingsBytes(0, 3.5f, 22.5f, 3.9f, 20.2f) << int(rc::Success);
        QTest::newRow("hold last value")
            << settingsBytes(239, 3.6f, 21, 3.8f, 20.5f) << int(rc::Success);
        QTest::newRow("unknown selection")
            << settingsBytes(2, 3.6f, 21, 3.8f, 20.5f) << int(rc::InvalidSelection);
        QTest::newRow("low alarm too high")
            << settingsBytes(1, 3.8f, 21, 3.8f, 20.5f) << int(rc::TooLarge);
        QTest::newRow("high alarm too low")
            << settingsBytes(1, 3.6f, 20.9f, 3.8f, 20.5f) << int(rc::TooSmall);
        QTest::newRow("upper limit too high")
            << settingsBytes(1, 3.6f, 21, 3.8f, 21) << int(rc::TooLarge);
        QTest::newRow("NaN") << settingsBytes(1, std::numeric_limits<float>::quiet_NaN(), 21, 3.8f,
                                              20.5f)
                             << int(rc::InvalidSelection);
    }
    void outputSettings()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, expected);
        DeviceBench bench;
        const QByteArray before = bench.read(134);
        QCOMPARE(code(bench.command(135, data)), expected);
        QCOMPARE(bench.read(134), expected == rc::Success ? data : before);
    }

    void alarmCurrentFollowsTheSelection()
    {
        DeviceBench bench;
        QCOMPARE(code(bench.command(135, settingsBytes(0, 3.6f, 22.0f, 3.8f, 20.5f))), 0);
        bench.device.setDiagnosisFaults(TransmitterDiagnosis::Electronics, 0x02); // EEPROM
        QCOMPARE(HartCodec::toFloat(bench.read(2)), 22.0f);
        QCOMPARE(code(bench.command(135, settingsBytes(239, 3.6f, 22.0f, 3.8f, 20.5f))), 0);
        bench.device.setDiagnosisFaults(TransmitterDiagnosis::Electronics, 0);
        const float normal = HartCodec::toFloat(bench.read(2));
        bench.device.setDiagnosisFaults(TransmitterDiagnosis::Measurement, 0x01);
        bench.device.setAppliedPressure(0);
        QCOMPARE(HartCodec::toFloat(bench.read(2)), normal); // held
    }

    void diagnosisConfigurationDecidesFailure()
    {
        DeviceBench bench;
        const QByteArray configuration = bench.read(139);
        QCOMPARE(configuration.size(), 8);
        QCOMPARE(HartCodec::toUInt32(configuration, 4), 0x0117070Fu);
        bench.device.setDiagnosisFaults(TransmitterDiagnosis::Extensions, 0x01); // display
        QCOMPARE(bench.command(1).response.deviceStatus() & hart::status::DeviceMalfunction, 0);
        QCOMPARE(quint8(bench.read(48)[4]) & 0x03, 0x02); // warning only

        // Undefined bits are dropped and the device says so.
        const LinkProbe::Outcome written = bench.command(140, QByteArray::fromHex("FF000001"));
        QCOMPARE(code(written), int(rc::SetToNearest));
        QCOMPARE(written.response.data(), QByteArray::fromHex("0F000001"));
        QVERIFY(bench.command(1).response.deviceStatus() & hart::status::DeviceMalfunction);
        QCOMPARE(quint8(bench.read(48)[4]) & 0x01, 0x01);
        QVERIFY(HartCodec::toFloat(bench.read(2)) < 3.7f); // alarm low by default
    }

    void diagnosisSimulation()
    {
        DeviceBench bench;
        bench.command(1);
        QCOMPARE(code(bench.command(142, QByteArray::fromHex("010004000001"))), 0);
        const QByteArray status = bench.read(48);
        QCOMPARE(status.left(4), QByteArray::fromHex("00040000"));
        QCOMPARE(quint8(status[4]) & 0x15, 0x15); // failure, simulated output, simulation on
        const LinkProbe::Outcome pv = bench.command(1);
        QVERIFY(pv.response.deviceStatus() & hart::status::DeviceMalfunction);
        QVERIFY(pv.response.deviceStatus() & hart::status::NonPrimaryOutOfLimits);
        QCOMPARE(bench.read(141), QByteArray::fromHex("010004000001"));

        QCOMPARE(code(bench.command(142, QByteArray::fromHex("020000000000"))),
                 int(rc::InvalidSelection));
        QCOMPARE(code(bench.command(142, QByteArray::fromHex("00F000000000"))),
                 int(rc::SetToNearest));
        QCOMPARE(bench.read(48).left(5), QByteArray(5, '\0'));
        QCOMPARE(bench.command(1).response.deviceStatus() & 0x80, 0);
    }

    void selfTestTakesItsTime()
    {
        constexpr qint64 Duration = TransmitterDiagnosis::SelfTestMs;
        DeviceBench bench;
        QCOMPARE(quint8(bench.read(48)[5]), quint8(0));
        QCOMPARE(code(bench.command(41)), 0);
        QCOMPARE(quint8(bench.read(48)[5]), quint8(3)); // running
        bench.device.advanceTime(Duration - 1);
        QCOMPARE(quint8(bench.read(48)[5]), quint8(3));
        bench.device.advanceTime(1);
        QCOMPARE(quint8(bench.read(48)[5]), quint8(1)); // passed

        // A fault found while the test runs fails it; a simulated one does not.
        QCOMPARE(code(bench.command(142, QByteArray::fromHex("010100000000"))), 0);
        QCOMPARE(code(bench.command(41)), 0);
        bench.device.advanceTime(Duration);
        QCOMPARE(quint8(bench.read(48)[5]), quint8(1));
        QCOMPARE(code(bench.command(41)), 0);
        bench.device.setDiagnosisFaults(TransmitterDiagnosis::Measurement, 0x08);
        bench.device.advanceTime(Duration);
        QCOMPARE(quint8(bench.read(48)[5]), quint8(2));
        // A warm start forgets the result.
        QCOMPARE(code(bench.command(42)), 0);
        bench.device.advanceTime(TransmitterModel::RestartMs);
        QCOMPARE(quint8(bench.read(48)[5]), quint8(0));
    }

    void eventCountersAndWorkingTime()
    {
        DeviceBench bench; // sensor -400..400 mbar
        bench.device.advanceTime(3725 * 1000);
        bench.device.setAppliedPressure(450);
        bench.device.setAppliedPressure(460); // still the same violation
        bench.device.setAppliedPressure(0);
        bench.device.advanceTime(1000);
        bench.device.setAppliedPressure(-450);
        bench.device.setSensorTemperature(90);
        bench.device.setStaticPressure(170000);
        QByteArray counters = bench.read(143);
        QCOMPARE(counters.size(), 32);
        QCOMPARE(HartCodec::toUInt16(counters, 0), quint16(1));  // power-ons
        QCOMPARE(HartCodec::toUInt16(counters, 6), quint16(2));  // over range
        QCOMPARE(HartCodec::toUInt32(counters, 8), 3726u);       // last at 3726 s
        QCOMPARE(HartCodec::toUInt16(counters, 12), quint16(1)); // static pressure
        QCOMPARE(HartCodec::toUInt16(counters, 18), quint16(1)); // temperature
        QCOMPARE(HartCodec::toUInt32(counters, 24), 3726u);      // total working time
        QCOMPARE(HartCodec::toUInt32(counters, 28), 3726u);      // partial working time

        for (int selector = 1; selector <= 4; ++selector)
            QCOMPARE(code(bench.command(144, QByteArray(1, char(selector)))), 0);
        QCOMPARE(code(bench.command(144, QByteArray(1, 5))), int(rc::InvalidSelection));
        counters = bench.read(143);
        QCOMPARE(HartCodec::toUInt16(counters, 6), quint16(0));
        QCOMPARE(HartCodec::toUInt16(counters, 12), quint16(0));
        QCOMPARE(HartCodec::toUInt16(counters, 18), quint16(0));
        QCOMPARE(HartCodec::toUInt32(counters, 24), 3726u); // total stays
        QCOMPARE(HartCodec::toUInt32(counters, 28), 0u);
        QCOMPARE(HartCodec::toUInt16(counters, 0), quint16(1)); // power-ons cannot be reset
    }

    void peakValues_data()
    {
        QTest::addColumn<int>("selector");
        QTest::addColumn<bool>("pressureReset");
        QTest::addColumn<bool>("temperatureReset");
        QTest::newRow("temperature") << 1 << false << true;
        QTest::newRow("pressure") << 2 << true << false;
        QTest::newRow("both") << 3 << true << true;
    }
    void peakValues()
    {
        QFETCH(int, selector);
        QFETCH(bool, pressureReset);
        QFETCH(bool, temperatureReset);
        DeviceBench bench;
        bench.device.setAppliedPressure(-300);
        bench.device.setAppliedPressure(350);
        bench.device.setAppliedPressure(100);
        bench.device.setSensorTemperature(-10);
        bench.device.setSensorTemperature(60);
        bench.device.setSensorTemperature(25);
        QCOMPARE(bench.read(145),
                 QByteArray(1, 8) + f(-300) + f(350) + QByteArray(1, 32) + f(-10) + f(60));
        QCOMPARE(code(bench.command(146, QByteArray(1, char(selector)))), 0);
        const QByteArray peaks = bench.read(145);
        QCOMPARE(peaks.mid(1, 8), pressureReset ? f(100) + f(100) : f(-300) + f(350));
        QCOMPARE(peaks.mid(10, 8), temperatureReset ? f(25) + f(25) : f(-10) + f(60));
        QCOMPARE(code(bench.command(146, QByteArray(1, 0))), int(rc::InvalidSelection));
    }

    void parallelShift()
    {
        DeviceBench bench; // range 0..400
        bench.device.setAppliedPressure(100);
        const LinkProbe::Outcome shifted = bench.command(148, f(50));
        QCOMPARE(code(shifted), 0);
        QCOMPARE(shifted.response.data(), QByteArray(1, 8) + f(300) + f(-100));
        QCOMPARE(HartCodec::toFloat(bench.read(2), 4), 50.0f);
        QCOMPARE(code(bench.command(148, f(-50))), int(rc::UpperRangeTooHigh));
        QCOMPARE(code(bench.command(148, f(std::numeric_limits<float>::infinity()))),
                 int(rc::InvalidSelection));
    }

    void factoryResetRestoresSettingsAndRestarts()
    {
        DeviceBench bench;
        QCOMPARE(code(bench.command(18, QByteArray(21, 'x'))), 0);
        QCOMPARE(code(bench.command(35, QByteArray(1, 8) + f(100) + f(-100))), 0);
        QCOMPARE(code(bench.command(44, QByteArray(1, 6))), 0);
        QCOMPARE(code(bench.command(140, QByteArray(4, '\0'))), 0);
        bench.device.advanceTime(10000);
        bench.device.setAppliedPressure(500);
        bench.device.setAppliedPressure(0);
        const QByteArray countersBefore = bench.read(143);

        QCOMPARE(code(bench.command(149)), 0);
        QCOMPARE(bench.command(13).kind, Kind::Timeout);
        bench.device.advanceTime(TransmitterModel::RestartMs);
        const LinkProbe::Outcome back = bench.command(13);
        QCOMPARE(back.response.data().left(6), HartCodec::packAscii("PT-1", 6));
        QVERIFY(back.response.deviceStatus() & hart::status::ColdStart);
        QVERIFY(back.response.deviceStatus() & hart::status::ConfigurationChanged);
        const QByteArray info = bench.read(15);
        QCOMPARE(quint8(info[2]), quint8(8));
        QCOMPARE(info.mid(3, 8), f(400) + f(0));
        QCOMPARE(bench.read(139).left(4), QByteArray::fromHex("0F021300"));
        // The device's history survives; one more power-on is counted.
        const QByteArray counters = bench.read(143);
        QCOMPARE(HartCodec::toUInt16(counters, 0), quint16(2));
        QCOMPARE(counters.mid(6, 6), countersBefore.mid(6, 6));
    }

    void identification()
    {
        DeviceBench absolute(SimulatedTransmitter::SensorType::Absolute, 2);
        const QByteArray id = absolute.read(147);
        QCOMPARE(id.left(6), QByteArray::fromHex("010502020501"));
        QCOMPARE(HartCodec::unpackAscii(id.mid(12, 12)).trimmed(), QStringLiteral("ABS PRESSURE"));
        const QByteArray sensor = absolute.read(128);
        QCOMPARE(quint8(sensor[0]), quint8(0));
        QCOMPARE(quint8(sensor[1]), quint8(2));
        QCOMPARE(HartCodec::toFloat(absolute.read(14), 4), 25000.0f);
        QCOMPARE(HartCodec::toFloat(sensor, 7), 0.0f); // no static pressure limit

        DeviceBench differential;
        QVERIFY(differential.device.deviceId() != absolute.device.deviceId());
        QCOMPARE(HartCodec::toFloat(differential.read(128), 7), 160000.0f);
    }

    void outputScaling()
    {
        DeviceBench bench; // range 0..400
        const QByteArray scaling = QByteArray(1, char(253)) + f(10) + f(2) + "m3/h    ";
        QCOMPARE(code(bench.command(151, scaling)), 0);
        QCOMPARE(bench.read(150), scaling);
        bench.device.setAppliedPressure(100);
        const QByteArray vars = bench.read(3);
        QCOMPARE(quint8(vars[19]), quint8(253));
        QCOMPARE(HartCodec::toFloat(vars, 20), 4.0f);
        // Huge scaling values stay representable instead of overflowing the float.
        const float largest = std::numeric_limits<float>::max();
        QCOMPARE(
            code(bench.command(151, QByteArray(1, 57) + f(largest) + f(-largest) + "        ")), 0);
        bench.device.setAppliedPressure(600); // 150 % of the range
        QCOMPARE(HartCodec::toFloat(bench.read(3), 20), largest);
        QByteArray control = scaling;
        control[12] = '\n';
        QCOMPARE(code(bench.command(151, control)), int(rc::InvalidSelection));
    }
};

VEX_TEST(tst_DeviceSpecificCommands)
#include "tst_DeviceSpecificCommands.moc"
