#include "DialogRig.h"
#include "TestRegistry.h"

#include "dialogs/frmCalibratePressure.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TstCalibratePressure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Read once per opening, on the first activation while online, and again
    // after the connection came back.
    void balancePointsRead()
    {
        DialogRig rig;
        const auto reads = rig.countStarts("GetPressureCalPoints");
        auto *dialog = rig.open<frmCalibratePressure>();
        for (QPushButton *button : dialog->cmdSetCalPoint)
            QVERIFY(!button->isEnabled());
        QCOMPARE(*reads, 0);
        QCOMPARE(dialog->lblName[0]->text(), "Pressure, damped");
        QCOMPARE(dialog->displayCtrl[1]->ObjectNameValue(), "sensorTemperatureValue");

        QVERIFY(rig.connect());
        QTRY_VERIFY(*reads == 1 && rig.settled());
        rig.device.setAppliedPressure(12.5);
        QTRY_VERIFY(dialog->displayCtrl[0]->lblValue()->text().contains("12.5"));
        for (QPushButton *button : dialog->cmdSetCalPoint)
            QVERIFY(button->isEnabled());
        // The device's factory points: the sensor limits.
        QCOMPARE(rig.number("calibrationCalHi"), 400.0);

        // Another activation reads nothing.
        rig.form().activateWindow();
        rig.show(dialog);
        QCOMPARE(*reads, 1);

        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_VERIFY(!dialog->cmdSetCalPoint[0]->isEnabled());
        QVERIFY(dialog->calPointsReadPending());
        QVERIFY(rig.connect());
        QTRY_VERIFY(*reads == 2 && rig.settled());
    }

    // The reference entered becomes the device's balance point (or its
    // temperature calibration): the device then measures it.
    void calibrate_data()
    {
        QTest::addColumn<int>("point");
        QTest::addColumn<QString>("item");
        QTest::addColumn<double>("applied");
        QTest::addColumn<double>("reference");
        QTest::newRow("lower") << 0 << "calibrationCalLo" << -300.0 << -301.5;
        QTest::newRow("upper") << 1 << "calibrationCalHi" << 350.0 << 352.25;
        QTest::newRow("temperature") << 2 << "sensorTemperatureCalibVal" << 30.0 << 31.5;
    }
    void calibrate()
    {
        QFETCH(int, point);
        QFETCH(QString, item);
        QFETCH(double, applied);
        QFETCH(double, reference);
        DialogRig rig;
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmCalibratePressure>();
        QTRY_VERIFY(!dialog->calPointsReadPending() && rig.settled());
        if (point == 2)
            rig.device.setSensorTemperature(applied);
        else
            rig.device.setAppliedPressure(applied);
        rig.set(item, QString::number(reference));
        QTest::mouseClick(dialog->cmdSetCalPoint[point], Qt::LeftButton);
        QVERIFY(!MainWindow()->isEnabled());
        QTRY_VERIFY(rig.settled());
        const auto &model = rig.device.model();
        const double measured = point == 2 ? model.sensorTemperature() : model.trimmedPressure();
        QVERIFY2(qAbs(measured - reference) < 1e-4, qPrintable(QString::number(measured)));
    }
};

VEX_TEST(TstCalibratePressure)
#include "tst_CalibratePressure.moc"
