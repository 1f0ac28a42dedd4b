#include "DialogRig.h"
#include "TestRegistry.h"

#include "ScriptedMessageBox.h"
#include "dialogs/frmCalibratePressure.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include "VexaLabelTextUnit.h"
#include "VexaValueEdit.h"

#include <QLabel>
#include <QLineEdit>
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

    // Asked for first; the reference entered then becomes the device's
    // balance point (or its temperature calibration), and the dialog says so.
    // A refusal of the device is told as a sentence.
    void calibrate_data()
    {
        QTest::addColumn<int>("point");
        QTest::addColumn<double>("applied");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("told"); // after the question; empty: nothing
        const int yes = QMessageBox::Yes;
        QTest::newRow("lower") << 0 << -300.0 << "-301.5" << yes
                               << "The lower balance point was set: the pressure applied now "
                                  "reads -301.5\u00a0mbar.";
        QTest::newRow("upper") << 1 << 350.0 << "352.25" << yes
                               << "The upper balance point was set: the pressure applied now "
                                  "reads 352.25\u00a0mbar.";
        QTest::newRow("temperature") << 2 << 30.0 << "31.5" << yes
                                     << "The sensor temperature was calibrated: it now reads "
                                        "31.5\u00a0°C.";
        // 90 mbar above what the sensor measures: more than 10 % of its span.
        QTest::newRow("refused") << 1 << 300.0 << "390" << yes
                                 << "The balance point was not set: the reference pressure "
                                    "entered is more than 10 % of the sensor span above the "
                                    "pressure the sensor measures. Check the reference and the "
                                    "pressure applied.";
        QTest::newRow("not wanted") << 0 << -300.0 << "-301.5" << int(QMessageBox::No) << "";
    }
    void calibrate()
    {
        QFETCH(int, point);
        QFETCH(double, applied);
        QFETCH(QString, reference);
        QFETCH(int, answer);
        QFETCH(QString, told);
        const QString questions[3] = {
            "Set the lower balance point now?\nThe pressure applied to the sensor will then "
            "read %1\u00a0mbar.",
            "Set the upper balance point now?\nThe pressure applied to the sensor will then "
            "read %1\u00a0mbar.",
            "Calibrate the sensor temperature now?\nThe present sensor temperature will then "
            "read %1\u00a0°C."};
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        auto *dialog = rig.open<frmCalibratePressure>();
        QTRY_VERIFY(!dialog->calPointsReadPending() && rig.settled());
        if (point == 2)
            rig.device.setSensorTemperature(applied);
        else
            rig.device.setAppliedPressure(applied);
        const auto &model = rig.device.model();
        const auto measured = [&] {
            return point == 2 ? model.sensorTemperature() : model.trimmedPressure();
        };
        QLineEdit *entry = dialog->txtCalPoint[point]->edit();
        entry->selectAll();
        QTest::keyClicks(entry, reference);
        box.enqueue(QMessageBox::StandardButton(answer));

        QTest::mouseClick(dialog->cmdSetCalPoint[point], Qt::LeftButton);

        QCOMPARE(box.asked().value(0).text, questions[point].arg(reference));
        QCOMPARE(MainWindow()->isEnabled(), answer != QMessageBox::Yes);
        QTRY_VERIFY(rig.settled() && !dialog->calibrationInFlight());
        QTRY_COMPARE(box.texts().mid(1).join(""), told);
        // Only what the dialog confirmed has changed what the device measures.
        const double expected = told.contains("now reads") ? reference.toDouble() : applied;
        QVERIFY2(qAbs(measured() - expected) < 1e-4, qPrintable(QString::number(measured())));
    }
};

VEX_TEST(TstCalibratePressure)
#include "tst_CalibratePressure.moc"
