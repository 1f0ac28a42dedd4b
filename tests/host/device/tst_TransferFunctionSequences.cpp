// The description's transfer-function sequences run through the real host
// against the simulated transmitter: what the dataset says reaches the device,
// and what the device holds comes back into the dataset.

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "TestHost.h"
#include "TestRegistry.h"
#include "VexAppletItemManager.h"
#include "hart/HartCodec.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/TransferFunction.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>

namespace {

// 21 floats as the octets item's text; the points after the given ones are 100.
QString points(const QList<float> &values)
{
    QByteArray bytes;
    for (int i = 0; i < UserCurve::MaxPoints; ++i)
        bytes += HartCodec::fromFloat(i < values.size() ? values[i] : 100.0f);
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

class TstTransferFunctionSequences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_host->device().setNoiseLevel(0.0);
        QVERIFY(m_host->connect());
    }
    void cleanup() { m_host.reset(); }

    void writeSequencesReachTheDevice_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<int>("function");
        QTest::addColumn<double>("current"); // at 50 % of the range
        QTest::newRow("square root") << "Write_TfrFnct_Sqr" << int(TransferFunction::SquareRoot)
                                     << 4.0 + 16.0 * std::sqrt(0.5);
        QTest::newRow("single polynomial")
            << "Write_TfrFnct_Single_Poly" << int(TransferFunction::SinglePolynomial) << 16.8;
        QTest::newRow("double polynomial")
            << "Write_TfrFnct_Double_Poly" << int(TransferFunction::DoublePolynomial) << 16.8;
        QTest::newRow("linear") << "Write_TfrFnct_Linear" << int(TransferFunction::Linear) << 12.0;
    }
    void writeSequencesReachTheDevice()
    {
        QFETCH(QString, sequence);
        QFETCH(int, function);
        QFETCH(double, current);
        set("ptrbLowFlowCutOff", "2.5");
        set("ptrbFlowLinSqrtPoint", "12");
        set("UserCurveActualNumber", "3");
        set("UserCurveX", points({0, 50, 100}));
        set("UserCurveY", points({0, 80, 100}));
        QVERIFY(run(sequence));

        const TransmitterSettings &s = m_host->device().model().settings();
        QCOMPARE(int(s.transferFunction), function);
        if (function == TransferFunction::SquareRoot) {
            QCOMPARE(s.lowFlowCutOffPercent, 2.5);
            QCOMPARE(s.linearToSquareRootPercent, 12.0);
        }
        if (TransferFunction::usesUserCurve(quint8(function))) {
            QCOMPARE(s.userCurve.points, 3);
            QCOMPARE(s.userCurve.y[1], 80.0f);
        }
        m_host->device().setAppliedPressure(200.0); // half of 0..400 mbar
        QVERIFY(std::abs(m_host->device().loopCurrent() - current) < 1e-6);
    }

    void readSequenceBringsTheDeviceIntoTheDataset()
    {
        set("UserCurveActualNumber", "4");
        set("UserCurveX", points({0, 20, 60, 100}));
        set("UserCurveY", points({0, 10, 70, 100}));
        QVERIFY(run("Write_TfrFnct_Double_Poly"));
        set("UserCurveActualNumber", "2");
        set("UserCurveX", points({}));
        set("ptrbLinType", "0");

        QVERIFY(run("Read_TfrFnct"));
        QCOMPARE(text("ptrbLinType"), QStringLiteral("241"));
        QCOMPARE(text("ptrbTabStatus"), QStringLiteral("1"));
        QCOMPARE(text("UserCurveActualNumber"), QStringLiteral("4"));
        QCOMPARE(text("UserCurveX"), points({0, 20, 60, 100}));
        QCOMPARE(text("ptrbLowFlowCutOff"), QStringLiteral("5"));
        QCOMPARE(text("ptrbFlowLinSqrtPoint"), QStringLiteral("10"));
    }

    void aCurveTheDeviceRefusesEndsTheSequenceEarly()
    {
        set("UserCurveActualNumber", "3");
        set("UserCurveX", points({0, 60, 50}));
        QVERIFY(!run("Write_TfrFnct_Single_Poly"));
        QCOMPARE(int(m_host->device().model().settings().transferFunction),
                 int(TransferFunction::Linear));
    }

private:
    void set(const char *item, const QString &value)
    {
        QVERIFY2(m_host->instance().setItemText(QLatin1String(item), value), item);
    }
    QString text(const char *item) const
    {
        const ItemStore &store = m_host->manager()->store();
        return store.text(store.indexOf(QLatin1String(item)), false);
    }
    // Runs a sequence to its end; true when it completed.
    bool run(const QString &name)
    {
        SequenceEngine &engine = m_host->instance().engine();
        QSignalSpy ended(&engine, &SequenceEngine::sequenceEnded);
        if (engine.start(name) != 0 || !ended.wait(5000))
            return false;
        return ended.first().at(0).toString() == name && ended.first().at(1).toBool();
    }

    std::unique_ptr<TestHost> m_host;
};

VEX_TEST(TstTransferFunctionSequences)
#include "tst_TransferFunctionSequences.moc"
