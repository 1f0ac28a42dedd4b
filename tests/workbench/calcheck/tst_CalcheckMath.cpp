#include "TestRegistry.h"

#include "calcheck/CalcheckMath.h"
#include "calcheck/StabilityWatch.h"

#include <QTest>

class TstCalcheckMath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errors_data()
    {
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<double>("reference");
        QTest::addColumn<double>("pv");
        QTest::addColumn<double>("mA");
        QTest::addColumn<double>("pvError");
        QTest::addColumn<double>("mAError");
        QTest::newRow("0..400 mbar at 50 %")
            << 0.0 << 400.0 << 200.0 << 201.0 << 12.0 << 0.25 << 0.0;
        // A differential range around zero: span 120, -60 is 4 mA.
        QTest::newRow("-60..60 at 0 %") << -60.0 << 60.0 << -60.0 << -59.7 << 4.04 << 0.25 << 0.25;
        QTest::newRow("-60..60 at 50 %") << -60.0 << 60.0 << 0.0 << -0.6 << 11.92 << -0.5 << -0.5;
        QTest::newRow("-60..60 at 100 %") << -60.0 << 60.0 << 60.0 << 60.0 << 20.0 << 0.0 << 0.0;
        // The same device after a unit change to kPa (1 kPa = 10 mbar) reads the same %.
        QTest::newRow("-6..6 kPa at 50 %") << -6.0 << 6.0 << 0.0 << -0.06 << 11.92 << -0.5 << -0.5;
        QTest::newRow("inverted range") << 400.0 << 0.0 << 100.0 << 101.0 << 16.0 << 0.25 << 0.0;
    }
    void errors()
    {
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(double, reference);
        QFETCH(double, pv);
        QFETCH(double, mA);
        QFETCH(double, pvError);
        QFETCH(double, mAError);
        CalcheckReading reading;
        reading.reference = reference;
        reading.primaryValue = pv;
        reading.deviceCurrent = mA;
        CalcheckMath::evaluate(reading, lower, upper, 0.25);
        QVERIFY(qAbs(reading.pvError - pvError) < 1e-9);
        QVERIFY(qAbs(reading.currentError - mAError) < 1e-9);
        QCOMPARE(reading.pass, qAbs(pvError) <= 0.25 && qAbs(mAError) <= 0.25);
    }

    void measuredCurrentCountsFirst()
    {
        CalcheckReading reading;
        reading.reference = 0.0;
        reading.primaryValue = 0.0;
        reading.deviceCurrent = 4.0;
        reading.measuredCurrent = 4.08;
        CalcheckMath::evaluate(reading, 0.0, 400.0, 0.25);
        QVERIFY(qAbs(reading.currentError - 0.5) < 1e-9);
        QVERIFY(!reading.pass);
    }

    void points_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("directions"); // r rising, f falling; empty: refused
        QTest::newRow("default") << "0 25 50 75 100 75 50 25 0"
                                 << "rrrrrffff";
        QTest::newRow("separators") << "0;50, 100  50"
                                    << "rrrf";
        QTest::newRow("repeat keeps direction") << "0 100 100 0 0"
                                                << "rrrff";
        QTest::newRow("falling only") << "100 50 0"
                                      << "rff";
        QTest::newRow("not a number") << "0 x 100"
                                      << "";
        QTest::newRow("beyond 110 %") << "0 120"
                                      << "";
        QTest::newRow("empty") << " "
                               << "";
    }
    void points()
    {
        QFETCH(QString, text);
        QFETCH(QString, directions);
        const auto points = CalcheckMath::parsePoints(text);
        QCOMPARE(points.has_value(), !directions.isEmpty());
        if (!points)
            return;
        QString seen;
        for (const CalcheckPoint &point : *points)
            seen += point.rising ? QLatin1Char('r') : QLatin1Char('f');
        QCOMPARE(seen, directions);
        QCOMPARE(CalcheckMath::parsePoints(CalcheckMath::formatPoints(*points)), points);
    }

    void stability()
    {
        StabilityWatch watch(0.025, 2000, 10000);
        watch.restart(0);
        QCOMPARE(watch.add(0, 50.0), StabilityWatch::State::Waiting);
        QCOMPARE(watch.add(1000, 50.02), StabilityWatch::State::Waiting);
        QCOMPARE(watch.progress(), 50);
        // A step larger than the limit starts the calm again.
        QCOMPARE(watch.add(1500, 50.1), StabilityWatch::State::Waiting);
        QCOMPARE(watch.add(3000, 50.11), StabilityWatch::State::Waiting);
        QCOMPARE(watch.add(3500, 50.12), StabilityWatch::State::Stable);
        QCOMPARE(watch.progress(), 100);

        // A steady drift above the limit over two seconds never settles.
        watch.restart(0);
        StabilityWatch::State state = StabilityWatch::State::Waiting;
        for (qint64 ms = 0; state == StabilityWatch::State::Waiting; ms += 250)
            state = watch.add(ms, 50.0 + ms * 0.00002);
        QCOMPARE(state, StabilityWatch::State::TimedOut);
    }
};

VEX_TEST(TstCalcheckMath)
#include "tst_CalcheckMath.moc"
