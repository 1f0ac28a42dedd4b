#include "DeviceBench.h"
#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

#include <QTest>
#include <cmath>

// The process the simulated transmitter measures moves by itself when asked
// to, and everything the device puts out follows it.
class tst_ProcessDrift : public QObject
{
    Q_OBJECT

private:
    static float pv(DeviceBench &bench) { return HartCodec::toFloat(bench.read(3), 5); }

private slots:
    void driftMovesTheProcessAndTheOutput()
    {
        // Range 0..400 mbar.
        DeviceBench bench;
        bench.device.setAppliedPressure(200);
        bench.device.setSensorTemperature(25);
        const float still = pv(bench);
        bench.device.setProcessDrift(50, 2, 100);
        QList<float> values;
        QList<float> temperatures;
        for (int step = 0; step < 20; ++step) {
            bench.device.advanceTime(5000);
            const QByteArray vars = bench.read(3);
            values << HartCodec::toFloat(vars, 5);
            temperatures << HartCodec::toFloat(vars, 10);
            // The loop current is the range's share of the value.
            const float current = HartCodec::toFloat(vars, 0);
            QVERIFY(qAbs(current - (4.0f + 16.0f * values.last() / 400.0f)) < 1e-3f);
        }
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        QVERIFY(*high - *low > 50);
        QVERIFY(*low >= 150 && *high <= 250);
        const auto [cold, warm] = std::minmax_element(temperatures.begin(), temperatures.end());
        QVERIFY(*warm - *cold > 1.0f && *cold >= 23.0f && *warm <= 27.0f);

        // Without drift the process stands where it was put.
        bench.device.setProcessDrift(0, 0, 0);
        bench.device.advanceTime(5000);
        QCOMPARE(pv(bench), still);
    }

    // On a calibration bench the process holds still: the port follows the
    // source to the pressure asked for and stays there; taken off the bench,
    // the device sees its process again, which moves on.
    void pressureSourceHoldsTheProcess()
    {
        DeviceBench bench; // range 0..400 mbar
        bench.device.setAppliedPressure(200);
        bench.device.setProcessDrift(50, 0, 100);
        bench.device.advanceTime(10000);
        const float process = pv(bench);
        bench.device.attachPressureSource();
        QCOMPARE(pv(bench), process); // taken over at the pressure it had
        bench.device.setSourcePressure(350);
        bench.device.advanceTime(250);
        const float moving = pv(bench);
        QVERIFY2(moving > process + 10 && moving < 340, qPrintable(QString::number(moving)));
        QList<float> held;
        for (int step = 0; step < 6; ++step) {
            bench.device.advanceTime(5000);
            held << pv(bench);
        }
        QCOMPARE(held, QList<float>(6, 350.0f));
        QVERIFY(qAbs(bench.device.measureLoopCurrent() - 18.0) < 1e-6);

        bench.device.detachPressureSource();
        QCOMPARE(pv(bench), process);
        bench.device.advanceTime(5000);
        QVERIFY(pv(bench) != process);
    }

    // A drift past the sensor's end is what a real process would do: the
    // device reports it and puts out its alarm current.
    void driftBeyondTheSensorSetsTheAlarm()
    {
        DeviceBench bench;
        bench.command(38);
        bench.device.setAppliedPressure(380);
        bench.device.setProcessDrift(60, 0, 40);
        bench.device.advanceTime(10000);
        const LinkProbe::Outcome outcome = bench.command(2);
        QVERIFY(qAbs(HartCodec::toFloat(outcome.response.data()) - 3.6f) < 1e-4f);
        QVERIFY(outcome.response.deviceStatus() & hart::status::DeviceMalfunction);
    }
};

VEX_TEST(tst_ProcessDrift)
#include "tst_ProcessDrift.moc"
