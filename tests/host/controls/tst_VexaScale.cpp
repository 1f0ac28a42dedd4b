#include "TestRegistry.h"

#include "TrendTimeAxis.h"
#include "TrendView.h"
#include "VexaBarGraph.h"
#include "VexaGaugeGeometry.h"
#include "VexaScale.h"

#include <QDateTime>
#include <QTest>
#include <cmath>

using Limits = VexaScale::Limits;
Q_DECLARE_METATYPE(VexaScale::Limits)

// The display arithmetic, without painting.
class TstVexaScale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void ticks_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<double>("large");
        QTest::addColumn<double>("small");
        QTest::addColumn<int>("majors");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("last");
        QTest::addColumn<int>("minors");
        // The steps the display setting gives: a tenth and a fiftieth of the span.
        QTest::newRow("current output") << 3.6 << 21.0 << 1.74 << 0.348 << 11 << 3.6 << 21.0 << 40;
        QTest::newRow("percent") << 0.0 << 100.0 << 10.0 << 2.0 << 11 << 0.0 << 100.0 << 40;
        QTest::newRow("reversed range") << 400.0 << 0.0 << 40.0 << 8.0 << 11 << 0.0 << 400.0 << 40;
        QTest::newRow("no steps: round ones")
            << -40.0 << 85.0 << 0.0 << 0.0 << 7 << -40.0 << 80.0 << 0;
        QTest::newRow("negative steps are magnitudes")
            << 0.0 << 10.0 << -1.0 << -0.5 << 11 << 0.0 << 10.0 << 10;
        QTest::newRow("far too many ticks: round steps")
            << 0.0 << 1000.0 << 0.001 << 0.0001 << 11 << 0.0 << 1000.0 << 0;
        QTest::newRow("small step not below large")
            << 0.0 << 10.0 << 1.0 << 2.0 << 11 << 0.0 << 10.0 << 0;
        QTest::newRow("no span") << 5.0 << 5.0 << 1.0 << 0.2 << 0 << 0.0 << 0.0 << 0;
        QTest::newRow("not a number") << std::nan("") << 5.0 << 1.0 << 0.2 << 0 << 0.0 << 0.0 << 0;
    }
    void ticks()
    {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, large);
        QFETCH(double, small);
        QFETCH(int, majors);
        const VexaScale::Ticks t = VexaScale::ticks(start, end, large, small);
        QCOMPARE(t.major.size(), majors);
        QTEST(int(t.minor.size()), "minors");
        if (majors > 0) {
            QFETCH(double, first);
            QFETCH(double, last);
            QVERIFY(qAbs(t.major.first() - first) < 1e-9);
            QVERIFY(qAbs(t.major.last() - last) < 1e-9);
        }
    }

    void labels_data()
    {
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::newRow("1.74") << 1.74 << 2;
        QTest::newRow("0.348") << 0.348 << 3;
        QTest::newRow("50") << 50.0 << 0;
        QTest::newRow("2.5") << 2.5 << 1;
        QTest::newRow("none") << 0.0 << 0;
    }
    void labels()
    {
        QFETCH(double, step);
        QTEST(VexaScale::labelDecimals(step), "decimals");
    }

    void valueText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("maxDigits");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("fits") << 12.5 << 8 << 2 << "12.50";
        QTest::newRow("fraction cut to fit") << 1234.5678 << 7 << 3 << "1234.57";
        QTest::newRow("whole part too long") << 123456.789 << 6 << 2 << "1.235E+05";
        QTest::newRow("negative") << -0.25 << 8 << 2 << "-0.25";
        QTest::newRow("not a number") << std::nan("") << 8 << 2 << "";
    }
    void valueText()
    {
        QFETCH(double, value);
        QFETCH(int, maxDigits);
        QFETCH(int, decimals);
        QTEST(VexaScale::valueText(value, maxDigits, decimals).toUpper(), "text");
    }

    void bands_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<Limits>("limits");
        QTest::addColumn<QString>("bands"); // from-to:kind, kind a (alarm) or w
        QTest::newRow("all four") << 0.0 << 100.0 << Limits{10.0, 20.0, 80.0, 90.0}
                                  << "0-10:a 10-20:w 80-90:w 90-100:a";
        QTest::newRow("alarms only") << 3.6 << 21.0 << Limits{3.6, {}, {}, 21.0} << "";
        QTest::newRow("alarms inside the scale")
            << 0.0 << 25.0 << Limits{3.6, {}, {}, 21.0} << "0-3.6:a 21-25:a";
        QTest::newRow("warning without alarm runs from the end")
            << 0.0 << 100.0 << Limits{{}, 20.0, {}, {}} << "0-20:w";
        QTest::newRow("limit beyond the scale is cut")
            << 0.0 << 100.0 << Limits{-10.0, {}, {}, 150.0} << "";
        QTest::newRow("reversed scale")
            << 100.0 << 0.0 << Limits{10.0, {}, {}, 90.0} << "0-10:a 90-100:a";
        QTest::newRow("warning inside the alarm is dropped")
            << 0.0 << 100.0 << Limits{20.0, 10.0, {}, {}} << "0-20:a";
    }
    void bands()
    {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(Limits, limits);
        QStringList out;
        for (const VexaScale::Band &b : VexaScale::bands(start, end, limits))
            out << QStringLiteral("%1-%2:%3").arg(b.from).arg(b.to).arg(b.alarm ? 'a' : 'w');
        QTEST(out.join(' '), "bands");
    }

    void roundStep_data()
    {
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("round");
        QTest::newRow("0.13") << 0.13 << 0.2;
        QTest::newRow("7") << 7.0 << 10.0;
        QTest::newRow("1") << 1.0 << 1.0;
        QTest::newRow("2.5") << 2.5 << 5.0;
        QTest::newRow("12.5") << 12.5 << 20.0;
    }
    void roundStep()
    {
        QFETCH(double, step);
        QFETCH(double, round);
        QVERIFY(qAbs(VexaScale::roundStep(step) - round) < 1e-12);
    }

    void gauge_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<double>("angle");
        QTest::newRow("start lower left") << 0.0 << 225.0;
        QTest::newRow("middle on top") << 0.5 << 90.0;
        QTest::newRow("end lower right") << 1.0 << -45.0;
        QTest::newRow("below the scale held near the start") << -1.0 << 225.0 + 270 * 0.03;
        QTest::newRow("above held near the end") << 3.0 << -45.0 - 270 * 0.03;
        QTest::newRow("no value at the start") << std::nan("") << 225.0;
    }
    void gauge()
    {
        QFETCH(double, fraction);
        QFETCH(double, angle);
        QVERIFY(qAbs(VexaGaugeGeometry::angle(fraction) - angle) < 1e-9);
    }

    void gaugeLayoutAndLabels()
    {
        const VexaGaugeGeometry g = VexaGaugeGeometry::layout(QRectF(0, 0, 234, 210));
        QVERIFY(g.radius > 50);
        // The dial and the value text stay inside the window.
        QVERIFY(g.centre.y() - g.radius >= 0 && g.centre.x() + g.radius <= 234);
        QVERIFY(g.valueBox.bottom() <= 210);
        QCOMPARE(VexaGaugeGeometry::labelEvery(11, 20, 200), 1);
        QVERIFY(VexaGaugeGeometry::labelEvery(41, 40, 60) > 1);
    }

    void barFill_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<QRectF>("fill");
        const QRectF bar(0, 0, 20, 100);
        QTest::newRow("half") << 50.0 << 0.0 << 0.0 << 100.0 << QRectF(0, 50, 20, 50);
        QTest::newRow("from zero, below it")
            << -25.0 << 0.0 << -50.0 << 50.0 << QRectF(0, 50, 20, 25);
        QTest::newRow("above the scale held at its end")
            << 150.0 << 0.0 << 0.0 << 100.0 << QRectF(0, 0, 20, 100);
        QTest::newRow("no value") << std::nan("") << 0.0 << 0.0 << 100.0 << QRectF();
    }
    void barFill()
    {
        QFETCH(double, value);
        QFETCH(double, base);
        QFETCH(double, start);
        QFETCH(double, end);
        QTEST(VexaBarGraph::fill(QRectF(0, 0, 20, 100), value, base, start, end), "fill");
    }

    void trendView()
    {
        TrendView view;
        view.follow(1'000'000);
        QVERIFY(view.live);
        // Zooming keeps the time under the pointer where it is.
        const qint64 anchor = view.timeAt(250, 1000);
        const double before = view.xOf(anchor, 1000);
        view.zoom(0.5, anchor);
        QVERIFY(!view.live);
        QCOMPARE(view.spanMs, TrendView::DefaultSpanMs / 2);
        QVERIFY(qAbs(view.xOf(anchor, 1000) - before) < 1.0);
        view.zoom(1e-6, anchor);
        QCOMPARE(view.spanMs, TrendView::MinSpanMs);
        view.zoom(1e9, anchor);
        QCOMPARE(view.spanMs, TrendView::MaxSpanMs);
        const qint64 end = view.endMs;
        view.pan(-100, 1000);
        QCOMPARE(view.endMs, end - TrendView::MaxSpanMs / 10);
    }

    void timeAxis()
    {
        const qint64 hour = 3600 * 1000;
        const qint64 from = QDateTime(QDate(2026, 3, 2), QTime(10, 0, 7)).toMSecsSinceEpoch();
        const TrendTimeAxis ten = TrendTimeAxis::make(from, from + 10 * 60 * 1000, 1000, 80);
        QCOMPARE(ten.stepMs, 60 * 1000);
        QCOMPARE(TrendTimeAxis::label(ten.ticks.first(), ten.stepMs), "10:01");
        const TrendTimeAxis day = TrendTimeAxis::make(from, from + 24 * hour, 1000, 80);
        QCOMPARE(day.stepMs, 2 * hour);
        QCOMPARE(TrendTimeAxis::label(day.ticks.first(), day.stepMs), "12:00");
        const TrendTimeAxis seconds = TrendTimeAxis::make(from, from + 30 * 1000, 600, 70);
        QCOMPARE(TrendTimeAxis::label(seconds.ticks.first(), seconds.stepMs), "10:00:10");
    }
};

VEX_TEST(TstVexaScale)
#include "tst_VexaScale.moc"
