#include "TestHost.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ScriptedMessageBox.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexaAnalog.h"
#include "VexaBarGraph.h"
#include "VexaCtrlItemHandler.h"
#include "VexaUserCurve.h"
#include "VexaUserCurveTable.h"
#include "simulator/SimulatedTransmitter.h"

#include <QTableWidget>
#include <QTest>

namespace {

DeviceDescription builtIn()
{
    QString error;
    auto d = DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
    if (!d)
        qFatal("%s", qPrintable(error));
    return *d;
}

struct MeterRig
{
    MeterRig() : host(builtIn())
    {
        host.device().setNoiseLevel(0);
        host.manager()->updateScheduler().setUnitMilliseconds(3600 * 1000);
    }
    void set(const QString &item, const QString &value) const
    {
        if (!host.instance().setItemText(item, value))
            qFatal("cannot set %s", qPrintable(item));
    }
    QString text(const QString &item) const
    {
        const ItemStore &store = host.manager()->store();
        return store.text(store.indexOf(item), false);
    }
    TestHost host;
};

// As the display setting configures a display for the current output.
void configure(VexaMeterControl &meter)
{
    meter.setObjectNameValue("actualOutputValue");
    meter.setObjectNameUnit("Unit_mA");
    meter.setObjectNameMin("3.6");
    meter.setObjectNameMax("21");
    meter.setObjectNameLoLoLim("3.6");
    meter.setObjectNameHiHiLim("alarmHighValue");
    meter.setLargeStep(1.74);
    meter.setSmallStep(0.348);
    meter.setDecimalPlaces(2);
    meter.setMaxDigits(8);
}

} // namespace

class TstMeters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void state_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("lo"); // warning limits
        QTest::addColumn<QString>("hi");
        QTest::addColumn<int>("state");
        QTest::newRow("normal") << "12"
                                << ""
                                << "" << int(VexaMeterControl::State::Normal);
        QTest::newRow("on the lower alarm") << "3.6"
                                            << ""
                                            << "" << int(VexaMeterControl::State::Alarm);
        QTest::newRow("upper alarm from its item") << "21.5"
                                                   << ""
                                                   << "" << int(VexaMeterControl::State::Alarm);
        QTest::newRow("upper warning") << "19"
                                       << "4"
                                       << "18.5" << int(VexaMeterControl::State::Warning);
        QTest::newRow("alarm before warning") << "3"
                                              << "4"
                                              << "" << int(VexaMeterControl::State::Alarm);
    }
    // Both meters, registered by the dialog's framework handler.
    void state()
    {
        QFETCH(QString, value);
        QFETCH(QString, lo);
        QFETCH(QString, hi);
        MeterRig rig;
        QVERIFY(rig.host.connect());
        rig.set("alarmHighValue", "21");
        rig.set("actualOutputValue", value);
        QWidget dialog;
        auto *gauge = new VexaAnalog(&dialog);
        auto *bar = new VexaBarGraph(&dialog);
        VexaCtrlItemHandler handler;
        for (VexaMeterControl *meter :
             {static_cast<VexaMeterControl *>(gauge), static_cast<VexaMeterControl *>(bar)}) {
            configure(*meter);
            meter->setObjectNameLoLim(lo);
            meter->setObjectNameHiLim(hi);
        }
        handler.registerControls(&dialog, rig.host.manager());
        for (VexaMeterControl *meter :
             {static_cast<VexaMeterControl *>(gauge), static_cast<VexaMeterControl *>(bar)}) {
            QVERIFY(meter->isRegistered());
            QTEST(int(meter->state()), "state");
            QCOMPARE(meter->value().value_or(-1), value.toDouble());
            QCOMPARE(meter->unitText(), "mA");
            QCOMPARE(meter->scaleStart(), 3.6);
            QCOMPARE(meter->scaleEnd(), 21.0);
            QCOMPARE(meter->ticks().major.size(), 11);
            QVERIFY(meter->connected());
        }
        handler.unregisterControls();
        QVERIFY(!gauge->isRegistered() && !bar->isRegistered());
    }

    // Grey without a connection; the value stays.
    void greyWhileNotConnected()
    {
        MeterRig rig;
        rig.set("actualOutputValue", "12.5");
        VexaAnalog gauge;
        configure(gauge);
        gauge.Register(rig.host.manager());
        QVERIFY(!gauge.connected());
        QCOMPARE(gauge.stateColour(), QColor(0x80, 0x80, 0x80));
        QCOMPARE(gauge.valueText(), "12.50");
        QVERIFY(rig.host.connect());
        QVERIFY(gauge.connected());
        QVERIFY(gauge.stateColour() != QColor(0x80, 0x80, 0x80));
        // Every size paints, down to the smallest.
        for (const QSize size : {QSize(120, 110), QSize(234, 210), QSize(800, 700)}) {
            gauge.resize(size);
            QVERIFY(!gauge.grab().isNull());
        }
    }

    // Live: the host reads the value every second while connected.
    void readsLiveValues()
    {
        MeterRig rig;
        rig.host.manager()->updateScheduler().setUnitMilliseconds(20);
        VexaBarGraph bar;
        configure(bar);
        QVERIFY(rig.host.connect());
        bar.Register(rig.host.manager());
        rig.host.device().setAppliedPressure(200);
        QTRY_COMPARE(bar.value().value_or(0), double(float(rig.host.device().loopCurrent())));
    }

    void userCurveTable_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("insert");
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("points");
        QTest::newRow("insert after the first") << 0 << true << true << 4;
        QTest::newRow("insert after the last") << 2 << true << false << 3;
        QTest::newRow("remove the middle") << 1 << false << true << 2;
        QTest::newRow("fixed start stays") << 0 << false << false << 3;
        QTest::newRow("fixed end stays") << 2 << false << false << 3;
    }
    void userCurveTable()
    {
        QFETCH(int, index);
        QFETCH(bool, insert);
        VexaUserCurveTable table;
        table.points = {{0, 0}, {50, 40}, {100, 100}};
        const bool done =
            insert ? table.insertAfter(index, 21) : table.remove(index, 2, true, true);
        QTEST(done, "done");
        QTEST(int(table.points.size()), "points");
        QVERIFY(table.isValid());
    }

    // Edits reach the host's items; an input out of order is refused.
    void userCurveWritesItems()
    {
        MeterRig rig;
        VexaUserCurveTable start;
        start.points = {{0, 0}, {40, 20}, {100, 100}};
        rig.set("UserCurveActualNumber", "3");
        rig.set("UserCurveX", QString::fromLatin1(start.encodeX(84).toHex(' ')));
        rig.set("UserCurveY", QString::fromLatin1(start.encodeY(84).toHex(' ')));
        VexaUserCurve curve;
        curve.setObjectNameX("UserCurveX");
        curve.setObjectNameY("UserCurveY");
        curve.setObjectNameCount("UserCurveActualNumber");
        curve.setObjectNameType("ptrbLinType");
        curve.setFixedStart(true);
        curve.setFixedEnd(true);
        curve.Register(rig.host.manager());
        QCOMPARE(curve.table().points, start.points);
        QCOMPARE(curve.tableWidget()->rowCount(), 3);

        QVERIFY(curve.addPointAfter(1));
        QCOMPARE(rig.text("UserCurveActualNumber"), "4");
        QVERIFY(curve.setPoint(1, 30, 15));
        const auto stored =
            VexaUserCurveTable::decode(QByteArray::fromHex(rig.text("UserCurveX").toLatin1()),
                                       QByteArray::fromHex(rig.text("UserCurveY").toLatin1()), 4);
        QCOMPARE(stored.points, QList<QPointF>({{0, 0}, {30, 15}, {70, 60}, {100, 100}}));

        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        curve.tableWidget()->item(2, 0)->setText("20");
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(curve.table().points[2], QPointF(70, 60));
        QCOMPARE(curve.tableWidget()->item(2, 0)->text(), "70.00");

        curve.resetToLinear();
        QCOMPARE(rig.text("UserCurveActualNumber"), "2");
    }
};

VEX_TEST(TstMeters)
#include "tst_Meters.moc"
