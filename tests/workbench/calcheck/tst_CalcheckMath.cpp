#include "TestRegistry.h"

#include "calcheck/CalcheckMath.h"
#include "calcheck/StabilityWatch.h"

#include <QTest>
#include <cmath>

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
        QTest::addColumn<bool>("multidrop");
        QTest::addColumn<double>("pvError");
        QTest::addColumn<double>("mAError"); // NaN: does not apply
        QTest::newRow("0..400 mbar at 50 %")
            << 0.0 << 400.0 << 200.0 << 201.0 << 12.0 << false << 0.25 << 0.0;
        // A differential range around zero: span 120, -60 is 4 mA.
        QTest::newRow("-60..60 at 0 %")
            << -60.0 << 60.0 << -60.0 << -59.7 << 4.04 << false << 0.25 << 0.25;
        QTest::newRow("-60..60 at 50 %")
            << -60.0 << 60.0 << 0.0 << -0.6 << 11.92 << false << -0.5 << -0.5;
        QTest::newRow("-60..60 at 100 %")
            << -60.0 << 60.0 << 60.0 << 60.0 << 20.0 << false << 0.0 << 0.0;
        // The same device after a unit change to kPa (1 kPa = 10 mbar) reads the same %.
        QTest::newRow("-6..6 kPa at 50 %")
            << -6.0 << 6.0 << 0.0 << -0.06 << 11.92 << false << -0.5 << -0.5;
        QTest::newRow("inverted range")
            << 400.0 << 0.0 << 100.0 << 101.0 << 16.0 << false << 0.25 << 0.0;
        // At a multidrop address the current stays at 4 mA: the pressure decides.
        const double none = std::nan("");
        QTest::newRow("multidrop at 50 %")
            << 0.0 << 400.0 << 200.0 << 199.976 << 4.0 << true << -0.006 << none;
        QTest::newRow("multidrop, pressure out")
            << 0.0 << 400.0 << 300.0 << 301.2 << 4.0 << true << 0.3 << none;
    }
    void errors()
    {
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(double, reference);
        QFETCH(double, pv);
        QFETCH(double, mA);
        QFETCH(bool, multidrop);
        QFETCH(double, pvError);
        QFETCH(double, mAError);
        CalcheckReading reading;
        reading.reference = reference;
        reading.primaryValue = pv;
        reading.deviceCurrent = mA;
        CalcheckMath::evaluate(reading, lower, upper, 0.25, multidrop);
        QVERIFY(qAbs(reading.pvError - pvError) < 1e-9);
        QCOMPARE(reading.currentApplies(), !std::isnan(mAError));
        if (reading.currentApplies())
            QVERIFY(qAbs(reading.currentError - mAError) < 1e-9);
        QCOMPARE(reading.pass, qAbs(pvError) <= 0.25 && !(qAbs(mAError) > 0.25));
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

    void stability_data()
    {
        // Samples every quarter second; limits 0.025 on the trend across the
        // two-second window, 0.05 on the scatter; time-out after 10 s.
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<qint64>("stableAtMs"); // -1: times out
        QList<double> noisy, creeping, step, rough;
        for (int i = 0; i <= 40; ++i) {
            const double sign = i % 2 ? -1.0 : 1.0;
            noisy << 50.0 + sign * 0.04 * (i % 3 ? 1.0 : 0.5);
            creeping << 50.0 + i * 250 * 0.00002; // 0.04 in two seconds
            step << (i < 4 ? 50.0 : 50.1);
            rough << 50.0 + sign * 0.2;
        }
        QTest::newRow("steady with noise above the limit") << noisy << qint64(2000);
        QTest::newRow("creeping above the limit") << creeping << qint64(-1);
        QTest::newRow("a step: a window after it") << step << qint64(3000);
        QTest::newRow("noise beyond the scatter limit") << rough << qint64(-1);
    }
    void stability()
    {
        QFETCH(QList<double>, values);
        QFETCH(qint64, stableAtMs);
        StabilityWatch watch(0.025, 0.05, 2000, 10000);
        watch.restart(0);
        StabilityWatch::State state = StabilityWatch::State::Waiting;
        qint64 ms = 0;
        for (int i = 0; i < values.size() && state == StabilityWatch::State::Waiting; ++i) {
            ms = i * 250;
            state = watch.add(ms, values.at(i));
            QVERIFY(watch.progress() >= 0 && watch.progress() <= 100);
        }
        if (stableAtMs < 0) {
            QCOMPARE(state, StabilityWatch::State::TimedOut);
            QCOMPARE(ms, qint64(10000));
            QVERIFY(watch.progress() < 100);
        } else {
            QCOMPARE(state, StabilityWatch::State::Stable);
            QCOMPARE(ms, stableAtMs);
            QCOMPARE(watch.progress(), 100);
        }
    }
};

VEX_TEST(TstCalcheckMath)
#include "tst_CalcheckMath.moc"
