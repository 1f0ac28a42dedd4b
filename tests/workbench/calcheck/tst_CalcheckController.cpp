#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "VexAppletItemManager.h"
#include "calcheck/CalcheckController.h"
#include "calcheck/CalcheckMath.h"
#include "clsSequenceItem.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "simulator/SimulatedTransmitter.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The controller on the real host and simulated transmitter, with a clock
// that moves a quarter second each time the controller looks at it.
struct CheckRig
{
    CheckRig()
    {
        QVERIFY(host.connect());
        host.device().setNoiseLevel(0.0);
        controller.setPollInterval(0);
        controller.setClock([this] { return nowMs += 250; });
    }

    SimulatedTransmitter &device() const { return host.device(); }

    // Runs a host sequence as a dialog would and waits for its end.
    bool runSequence(const QString &name)
    {
        clsSequenceItem sequence;
        sequence.Register(host.manager(), name, false, 0, 1);
        bool done = false;
        QObject::connect(&sequence, &clsSequenceItem::StatusChanged, &sequence,
                         [&done](qint32 &status) { done = done || status == 0; });
        sequence.Start();
        return QTest::qWaitFor([&done] { return done; }, 5000);
    }

    // A full pass: the pressure of each point applied, the reference reads
    // what was applied (shifted by `falling` on the way down, as a device
    // with hysteresis would read), an ammeter in the loop when asked.
    bool runAll(CalcheckRun::Kind kind, bool ammeter = false, double falling = 0.0)
    {
        QSignalSpy rangeRead(&controller, &CalcheckController::rangeRead);
        controller.beginRun(kind);
        if (!rangeRead.wait(5000))
            return false;
        for (int i = 0; i < controller.points.size(); ++i) {
            const double pressure = controller.nominalPressure();
            const bool rising = controller.points.at(i).rising;
            device().setAppliedPressure(pressure + (rising ? 0.0 : falling));
            QSignalSpy recorded(&controller, &CalcheckController::pointRecorded);
            std::optional<double> current;
            if (ammeter)
                current = device().analogOutputCurrent();
            controller.measure(pressure, current);
            if (!recorded.wait(5000))
                return false;
        }
        return controller.run(kind).complete;
    }

    TestHost host{testhost::builtInDescription()};
    qint64 nowMs = 0;
    CalcheckController controller{host.manager()};
};

QList<double> pvErrors(const CalcheckRun &run)
{
    QList<double> errors;
    for (const CalcheckReading &reading : run.readings)
        errors << std::round(reading.pvError * 1000.0) / 1000.0;
    return errors;
}

} // namespace

class TstCalcheckController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void zeroErrorFailsAsFoundAndZeroAdjustmentCuresIt()
    {
        CheckRig rig;
        // 2 mbar on a 400 mbar span: 0.5 % everywhere, twice the tolerance.
        rig.device().injectZeroError(2.0);
        QVERIFY(rig.runAll(CalcheckRun::Kind::AsFound));
        const CalcheckRun &found = rig.controller.run(CalcheckRun::Kind::AsFound);
        QCOMPARE(found.readings.size(), 9);
        QCOMPARE(found.upperRange - found.lowerRange, 400.0);
        QCOMPARE(pvErrors(found), QList<double>(9, 0.5));
        QVERIFY(!found.passed());
        for (const CalcheckReading &reading : found.readings) {
            QVERIFY(!reading.pass);
            // Command 3's current follows the pressure the device measures.
            QVERIFY(qAbs(reading.currentError - 0.5) < 0.001);
        }

        rig.device().setAppliedPressure(0.0);
        QVERIFY(rig.runSequence(QStringLiteral("SetPvZeroAlignment")));
        QVERIFY(rig.runAll(CalcheckRun::Kind::AsLeft));
        QCOMPARE(pvErrors(rig.controller.run(CalcheckRun::Kind::AsLeft)), QList<double>(9, 0.0));
        QVERIFY(rig.controller.passed());
        // The as-found run is kept as it was.
        QCOMPARE(pvErrors(rig.controller.run(CalcheckRun::Kind::AsFound)), QList<double>(9, 0.5));
    }

    void currentErrorFollowsOutputTrim()
    {
        CheckRig rig;
        // 0.06 mA of 16: 0.375 % at every point, seen by the ammeter only.
        rig.device().injectOutputError(0.06);
        QVERIFY(rig.runAll(CalcheckRun::Kind::AsFound, true));
        for (const CalcheckReading &reading :
             rig.controller.run(CalcheckRun::Kind::AsFound).readings) {
            QVERIFY(qAbs(reading.pvError) < 0.001);
            QVERIFY2(qAbs(reading.currentError - 0.375) < 0.001,
                     qPrintable(QString::number(reading.currentError)));
            QVERIFY(!reading.pass);
        }

        auto &manager = *rig.host.manager();
        testhost::setDataset(manager, QStringLiteral("fixedOutputValue"), QStringLiteral("4"));
        QVERIFY(rig.runSequence(QStringLiteral("SetActualOutputValue")));
        testhost::setDataset(manager, QStringLiteral("trimDacLowerEndpoint"),
                             QString::number(rig.device().analogOutputCurrent(), 'g', 9));
        QVERIFY(rig.runSequence(QStringLiteral("SetPvCurrentDacZero")));
        testhost::setDataset(manager, QStringLiteral("fixedOutputValue"), QStringLiteral("0"));
        QVERIFY(rig.runSequence(QStringLiteral("SetActualOutputValue")));

        QVERIFY(rig.runAll(CalcheckRun::Kind::AsLeft, true));
        for (const CalcheckReading &reading :
             rig.controller.run(CalcheckRun::Kind::AsLeft).readings)
            QVERIFY2(reading.pass, qPrintable(QString::number(reading.currentError)));
        QVERIFY(rig.controller.passed());
    }

    void risingAndFallingKeptApart()
    {
        CheckRig rig;
        rig.controller.points = *CalcheckMath::parsePoints(QStringLiteral("0 50 100 50 0"));
        // On the way down the device reads 0.8 mbar (0.2 %) low against the reference.
        QVERIFY(rig.runAll(CalcheckRun::Kind::AsFound, false, -0.8));
        const CalcheckRun &run = rig.controller.run(CalcheckRun::Kind::AsFound);
        QCOMPARE(pvErrors(run), (QList<double>{0.0, 0.0, 0.0, -0.2, -0.2}));
        QCOMPARE(run.readings.at(1).point, (CalcheckPoint{50.0, true}));
        QCOMPARE(run.readings.at(3).point, (CalcheckPoint{50.0, false}));
        QVERIFY(run.passed());
    }

    void unstablePointEndsWithMessage()
    {
        CheckRig rig;
        rig.device().seedNoise(7);
        rig.device().setNoiseLevel(200.0);
        rig.controller.setTimeoutMs(5000);
        QSignalSpy rangeRead(&rig.controller, &CalcheckController::rangeRead);
        rig.controller.beginRun(CalcheckRun::Kind::AsFound);
        QVERIFY(rangeRead.wait(5000));
        QSignalSpy failed(&rig.controller, &CalcheckController::pointFailed);
        QSignalSpy recorded(&rig.controller, &CalcheckController::pointRecorded);
        rig.controller.measure(0.0);
        QVERIFY(failed.wait(5000));
        QCOMPARE(failed.first().first().toString(), GetResText(5700));
        QCOMPARE(recorded.count(), 0);
        QVERIFY(!rig.controller.isMeasuring());
        QVERIFY(!rig.controller.run(CalcheckRun::Kind::AsFound).complete);
        QVERIFY(!rig.controller.passed());
        // The clock moved 20 looks at most: the wait ended by its time-out.
        QVERIFY(rig.nowMs >= 5000 && rig.nowMs <= 6000);
    }
};

VEX_TEST(TstCalcheckController)
#include "tst_CalcheckController.moc"
