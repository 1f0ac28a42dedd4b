#include "DeviceBench.h"
#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"
#include "simulator/TransferFunction.h"

#include <QTest>
#include <cmath>

namespace rc = hart::response;

namespace {

QByteArray f(float value)
{
    return HartCodec::fromFloat(value);
}

// Command 153's request: the count, then 21 inputs and 21 outputs (unused points 0).
QByteArray curveRequest(int count, const QList<float> &x, const QList<float> &y)
{
    QByteArray data(1, char(count));
    for (const QList<float> &values : {x, y}) {
        for (int i = 0; i < UserCurve::MaxPoints; ++i)
            data += f(i < values.size() ? values[i] : 0.0f);
    }
    return data;
}

UserCurve curve(const QList<float> &x, const QList<float> &y)
{
    UserCurve c;
    c.points = int(x.size());
    for (int i = 0; i < x.size(); ++i) {
        c.x[i] = x[i];
        c.y[i] = y[i];
    }
    return c;
}

int code(const LinkProbe::Outcome &outcome)
{
    return outcome.kind == LinkProbe::Kind::Response ? outcome.response.responseCode() : -1;
}

} // namespace

class TstTransferFunction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outputFollowsTheFunction_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<double>("percent");
        QTest::addColumn<double>("output");
        const int sqrt = TransferFunction::SquareRoot;
        const int lines = TransferFunction::SinglePolynomial;
        const int smooth = TransferFunction::DoublePolynomial;
        QTest::newRow("linear") << 0 << 37.5 << 37.5;
        QTest::newRow("root") << sqrt << 25.0 << 50.0;
        QTest::newRow("root at the linear point") << sqrt << 10.0 << 100.0 * std::sqrt(0.1);
        QTest::newRow("root, linear start") << sqrt << 8.0 << 80.0 * std::sqrt(0.1);
        QTest::newRow("root, cut off") << sqrt << 5.0 << 0.0;
        QTest::newRow("root, negative") << sqrt << -3.0 << 0.0;
        QTest::newRow("lines, first segment") << lines << 25.0 << 40.0;
        QTest::newRow("lines, at a point") << lines << 50.0 << 80.0;
        QTest::newRow("lines, second segment") << lines << 75.0 << 90.0;
        QTest::newRow("lines, beyond the end") << lines << 110.0 << 104.0;
        QTest::newRow("lines, below the start") << lines << -10.0 << -16.0;
        QTest::newRow("smooth, at a point") << smooth << 50.0 << 80.0;
        QTest::newRow("smooth, at the end") << smooth << 100.0 << 100.0;
        QTest::newRow("smooth, beyond the end") << smooth << 110.0 << 104.0;
    }
    void outputFollowsTheFunction()
    {
        QFETCH(int, function);
        QFETCH(double, percent);
        QFETCH(double, output);
        TransmitterSettings s;
        s.transferFunction = quint8(function);
        s.userCurve = curve({0, 50, 100}, {0, 80, 100});
        QVERIFY(std::abs(TransferFunction::apply(s, percent) - output) < 1e-4);
    }

    void smoothCurveKeepsARisingTableRising()
    {
        TransmitterSettings s;
        s.transferFunction = TransferFunction::DoublePolynomial;
        s.userCurve = curve({0, 10, 20, 90, 100}, {0, 1, 60, 61, 100});
        double previous = -1.0;
        for (double p = 0.0; p <= 100.0; p += 0.5) {
            const double out = TransferFunction::apply(s, p);
            QVERIFY2(out >= previous && out <= 100.0, qPrintable(QString::number(p)));
            previous = out;
        }
        // A curve, not the straight lines between the points.
        const double smooth = TransferFunction::apply(s, 12.0);
        s.transferFunction = TransferFunction::SinglePolynomial;
        QVERIFY(std::abs(TransferFunction::apply(s, 12.0) - smooth) > 1.0);
    }

    void refusesWhatTheDeviceCannotTake_data()
    {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("expected");
        const QList<float> x{0, 50, 100};
        QTest::newRow("curve of 22 points") << 153 << curveRequest(22, x, x) << int(rc::TooLarge);
        QTest::newRow("curve of 1 point") << 153 << curveRequest(1, x, x) << int(rc::TooSmall);
        QTest::newRow("curve input falling")
            << 153 << curveRequest(3, {0, 60, 50}, x) << int(rc::InvalidSelection);
        QTest::newRow("curve input repeated")
            << 153 << curveRequest(3, {0, 50, 50}, x) << int(rc::InvalidSelection);
        QTest::newRow("curve output above 100 %")
            << 153 << curveRequest(3, x, {0, 50, 120}) << int(rc::InvalidSelection);
        QTest::newRow("curve NaN in an unused point")
            << 153 << curveRequest(3, {0, 50, 100, 0, nan}, x) << int(rc::InvalidSelection);
        QTest::newRow("curve cut short")
            << 153 << curveRequest(3, x, x).left(168) << int(rc::TooFewDataBytes);
        QTest::newRow("cut-off NaN") << 155 << f(nan) + f(10) << int(rc::InvalidSelection);
        QTest::newRow("cut-off negative") << 155 << f(-1) + f(10) << int(rc::TooSmall);
        QTest::newRow("linear point above 100 %") << 155 << f(5) + f(101) << int(rc::TooLarge);
        QTest::newRow("root settings cut short") << 155 << f(5) << int(rc::TooFewDataBytes);
        QTest::newRow("integration 5 ms") << 157 << f(5) << int(rc::TooSmall);
        QTest::newRow("integration 2 s") << 157 << f(2000) << int(rc::TooLarge);
        QTest::newRow("integration infinite")
            << 157 << f(std::numeric_limits<float>::infinity()) << int(rc::InvalidSelection);
        QTest::newRow("transfer function 239")
            << 47 << QByteArray(1, char(239)) << int(rc::InvalidSelection);
    }
    void refusesWhatTheDeviceCannotTake()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        QFETCH(int, expected);
        DeviceBench bench;
        const QByteArray before =
            bench.read(15) + bench.read(152) + bench.read(154) + bench.read(156);
        const LinkProbe::Outcome outcome = bench.command(quint8(command), data);
        QCOMPARE(code(outcome), expected);
        QVERIFY(outcome.response.data().isEmpty());
        QCOMPARE(bench.read(15) + bench.read(152) + bench.read(154) + bench.read(156), before);
    }

    void userCurveDrivesTheCurrentUntilAFactoryReset()
    {
        DeviceBench bench; // differential, 0..400 mbar
        const QByteArray request = curveRequest(3, {0, 50, 100}, {0, 80, 100});
        const LinkProbe::Outcome written = bench.command(153, request);
        QCOMPARE(code(written), 0);
        QCOMPARE(written.response.data(), request);
        QCOMPARE(quint8(bench.read(152)[0]), quint8(0)); // stored, not yet in use

        QCOMPARE(code(bench.command(47, QByteArray(1, char(240)))), 0);
        bench.device.setAppliedPressure(200.0);
        QCOMPARE(bench.read(152), QByteArray(1, 1) + request);
        QCOMPARE(quint8(bench.read(15)[1]), quint8(240));
        QVERIFY(std::abs(bench.device.loopCurrent() - 16.8) < 1e-6);

        bench.device.setAppliedPressure(100.0);
        QCOMPARE(code(bench.command(155, f(2) + f(20))), 0);
        QCOMPARE(code(bench.command(47, QByteArray(1, 1))), 0);
        QVERIFY(std::abs(bench.device.loopCurrent() - 12.0) < 1e-6); // root of 25 %

        QCOMPARE(code(bench.command(149)), 0);
        bench.device.advanceTime(2500);
        QCOMPARE(bench.read(152), QByteArray(1, 0) + curveRequest(2, {0, 100}, {0, 100}));
        QCOMPARE(bench.read(154), f(5) + f(10));
        QCOMPARE(bench.read(156), f(100));
    }

    void longerIntegrationQuietsTheNoise()
    {
        const auto deviation = [](float ms) {
            DeviceBench bench;
            bench.device.setNoiseLevel(1.0);
            bench.command(157, f(ms));
            bench.device.seedNoise(7);
            return std::abs(HartCodec::toFloat(bench.read(1), 1) - 120.0);
        };
        const double quick = deviation(10.0f);
        QVERIFY(quick > 0.0);
        QVERIFY(std::abs(quick / deviation(1000.0f) - 10.0) < 0.01);
    }
};

VEX_TEST(TstTransferFunction)
#include "tst_TransferFunction.moc"
