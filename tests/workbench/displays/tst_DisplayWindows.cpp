#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "DynamicLabel.h"
#include "ResidentViews.h"
#include "SequenceEngine.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexaAnalog.h"
#include "VexaBarGraph.h"
#include "VexaPlotter.h"
#include "WinColor.h"
#include "displays/ctlDigitalDisplay.h"
#include "displays/ctlDisplaySetting.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "displays/frmDisplayBar.h"
#include "displays/frmDisplayDigital.h"
#include "displays/frmDisplayNeedle.h"
#include "displays/frmDisplayTrend.h"
#include "displays/frmMeasuredValues.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

namespace {

template <class T> QList<T *> windows(const frmMain &form)
{
    QList<T *> found;
    for (QMdiSubWindow *frame : form.mdiArea()->subWindowList()) {
        if (auto *w = qobject_cast<T *>(frame->widget()))
            found << w;
    }
    return found;
}

// Live values from the device twenty times a second.
void liveValues(MainWindowRig &rig)
{
    rig.instance().manager()->updateScheduler().setUnitMilliseconds(50);
    rig.device.setNoiseLevel(0);
}

} // namespace

class TstDisplayWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        registerResidentViews();
        registerWorkbenchViews();
    }

    // Every entry of the Display menu opens its window; Digital opens one
    // more each time, the others bring their one window to the front.
    void displayMenuOpensWindows()
    {
        MainWindowRig rig;
        QVERIFY(rig.connect());
        frmMain &form = rig.form();
        for (const char *entry : {"mnuDisplayBar", "mnuDisplayDigital", "mnuDisplayGauge",
                                  "mnuDisplayTrend", "mnuDisplayMeasuredValues"}) {
            QVERIFY2(form.menuEntry(entry)->isEnabled(), entry);
            form.runMenuCommand(entry);
        }
        form.runMenuCommand("mnuDisplayBar");
        form.runMenuCommand("mnuDisplayDigital");
        QCOMPARE(windows<frmDisplayBar>(form).size(), 1);
        QCOMPARE(windows<frmDisplayDigital>(form).size(), 2);
        QCOMPARE(windows<frmDisplayNeedle>(form).size(), 1);
        QCOMPARE(windows<frmDisplayTrend>(form).size(), 1);
        QCOMPARE(windows<frmMeasuredValues>(form).size(), 1);
        QCOMPARE(windows<frmDisplayBar>(form)[0]->windowTitle(), "Bar Graph");
        QTRY_VERIFY(frmMain::rangeValuesRead);
        QTRY_VERIFY(rig.idle());
    }

    // The gauge window does not shrink below its minimum size.
    void gaugeMinimumSize()
    {
        frmDisplayNeedle needle;
        const double perTwip = needle.logicalDpiX() / 1440.0;
        QCOMPARE(needle.minimumSize(), QSize(qRound(3510 * perTwip), qRound(3150 * perTwip)));
        needle.resize(50, 50);
        QCOMPARE(needle.size(), needle.minimumSize());
    }

    // Two digital windows, each on its own measured value, live.
    void twoDigitalWindows()
    {
        MainWindowRig rig;
        liveValues(rig);
        QVERIFY(rig.connect());
        rig.form().runMenuCommand("mnuDisplayDigital");
        rig.form().runMenuCommand("mnuDisplayDigital");
        const auto digital = windows<frmDisplayDigital>(rig.form());
        QCOMPARE(digital.size(), 2);
        digital[1]->cmbMeasValue->setCurrentIndex(ctlDisplaySetting::PercentRange);
        digital[1]->ctlDisplaySetting1->ChangeDisplayedValue();
        QCOMPARE(digital[0]->displayCtrl->ObjectNameValue(), "actualOutputValue");
        QCOMPARE(digital[1]->displayCtrl->ObjectNameValue(), "percentRangeValue");

        rig.device.setAppliedPressure(250);
        const auto shows = [](frmDisplayDigital *w, double value, int decimals) {
            return w->displayCtrl->lblValue()->Caption().contains(
                QString::number(value, 'f', decimals));
        };
        QTRY_VERIFY(shows(digital[0], float(rig.device.loopCurrent()),
                          digital[0]->displayCtrl->DecimalPlaces()));
        QTRY_VERIFY(shows(digital[1], float(rig.device.model().percentOfRange()),
                          digital[1]->displayCtrl->DecimalPlaces()));
        QCOMPARE(digital[0]->displayCtrl->textColour(), WinColor::Green);
        // Its height is the digits'.
        QCOMPARE(digital[0]->height(),
                 digital[0]->fraStatus->geometry().bottom() + 1 + DisplayWindow::Margin);

        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_COMPARE(digital[0]->displayCtrl->textColour(), WinColor::Grey);
        QCOMPARE(digital[1]->displayCtrl->textColour(), WinColor::Grey);
    }

    // Each first activation of the trend reads the range values; its
    // exported picture is headed with the window's title and the device's tag.
    void trendReadsRangesAtEachOpening()
    {
        MainWindowRig rig;
        QVERIFY(rig.connect());
        QStringList ended;
        QObject::connect(&rig.instance().engine(), &SequenceEngine::sequenceEnded, &rig.form(),
                         [&ended](const QString &name, bool) { ended << name; });
        rig.form().runMenuCommand("mnuDisplayTrend");
        QTRY_COMPARE(ended.count("GetRangeValues"), 1);
        frmDisplayTrend *trend = windows<frmDisplayTrend>(rig.form()).value(0);
        QVERIFY(trend);
        QTRY_VERIFY(rig.idle());
        for (int c = 0; c < frmDisplayTrend::CurveCount; ++c)
            QCOMPARE(trend->plotter->ObjectCaption(c), trend->cmbMeasValue[c]->itemText(c));
        QCOMPARE(trend->plotter->ObjectNameMax(0), rig.text("alarmHighValue"));
        QCOMPARE(trend->plotter->pictureHeading().value(0),
                 "Trend: " + rig.text("&&private_PM&&TagName"));

        trend->parentWidget()->close();
        rig.form().runMenuCommand("mnuDisplayTrend");
        QTRY_COMPARE(ended.count("GetRangeValues"), 2);
        QTRY_VERIFY(rig.idle());
    }

    // The overview shows the six values under their names, live, grey when
    // the connection goes.
    void overview()
    {
        MainWindowRig rig;
        liveValues(rig);
        QVERIFY(rig.connect());
        rig.form().runMenuCommand("mnuDisplayMeasuredValues");
        frmMeasuredValues *overview = windows<frmMeasuredValues>(rig.form()).value(0);
        QVERIFY(overview);
        QStringList names;
        for (QLabel *label : overview->lblName)
            names << label->text();
        QCOMPARE(names, QStringList({"Current Output", "Percent Range", "Pressure, damped",
                                     "Pressure, trimmed", "Sensor Temperature", "HART Output"}));
        QTRY_VERIFY(overview->displayCtrl[0]->lblValue()->text().endsWith(" mA"));
        QTRY_VERIFY(overview->displayCtrl[1]->lblValue()->text().endsWith(" %"));
        QCOMPARE(overview->displayCtrl[4]->ObjectNameValue(), "sensorTemperatureValue");
        QCOMPARE(overview->displayCtrl[0]->textColour(), WinColor::Green);
        rig.form().runMenuCommand("mnuDeviceDisconnect");
        for (ctlFixedDigitalDisplay *display : overview->displayCtrl)
            QTRY_COMPARE(display->textColour(), WinColor::Grey);
    }

    // Gauge and bar follow the value chosen, and go grey without a connection.
    void gaugeAndBar()
    {
        MainWindowRig rig;
        liveValues(rig);
        QVERIFY(rig.connect());
        rig.form().runMenuCommand("mnuDisplayGauge");
        rig.form().runMenuCommand("mnuDisplayBar");
        frmDisplayNeedle *needle = windows<frmDisplayNeedle>(rig.form()).value(0);
        frmDisplayBar *bar = windows<frmDisplayBar>(rig.form()).value(0);
        QVERIFY(needle && bar);
        bar->cmbMeasValue->setCurrentIndex(ctlDisplaySetting::PressureDamped);
        bar->ctlDisplaySetting1->ChangeDisplayedValue();
        QCOMPARE(bar->displayCtrl->ObjectNameValue(), "primaryValue");
        QCOMPARE(bar->displayCtrl->ObjectNameMax(), rig.text("scaleInHiLim"));
        QTRY_VERIFY(needle->displayCtrl->value().has_value());
        QTRY_VERIFY(bar->displayCtrl->value().has_value());
        QVERIFY(needle->displayCtrl->connected());
        QCOMPARE(needle->displayCtrl->state(), VexaMeterControl::State::Normal);
        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_VERIFY(!needle->displayCtrl->connected());
        QVERIFY(!bar->displayCtrl->connected());
    }
};

VEX_TEST(TstDisplayWindows)
#include "tst_DisplayWindows.moc"
