#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "TrendCanvas.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexaPlotter.h"
#include "displays/ctlDigitalDisplay.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "displays/frmDisplayBar.h"
#include "displays/frmDisplayDigital.h"
#include "displays/frmDisplayNeedle.h"
#include "displays/frmDisplayTrend.h"
#include "displays/frmMeasuredValues.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

// Pictures of the five display windows with live values from the simulated
// transmitter, in English and German, small and large, connected and not,
// for a person to look at. Runs only when VEX_GRAB_DIR names the folder.
class TstDisplayGrabs : public QObject
{
    Q_OBJECT

private:
    QString m_folder;

    QMdiSubWindow *frameOf(frmMain &form, const char *name)
    {
        for (QMdiSubWindow *frame : form.mdiArea()->subWindowList()) {
            if (frame->widget()->objectName() == QLatin1String(name))
                return frame;
        }
        return nullptr;
    }

private Q_SLOTS:
    void init()
    {
        if (m_folder.isEmpty())
            QSKIP("VEX_GRAB_DIR not set");
    }
    void initTestCase()
    {
        m_folder = qEnvironmentVariable("VEX_GRAB_DIR");
        if (!m_folder.isEmpty())
            QDir().mkpath(m_folder);
        registerResidentViews();
        registerWorkbenchViews();
    }
    void cleanupTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void grabs_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        QTest::newRow("de") << "de";
    }
    void grabs()
    {
        QFETCH(QString, language);
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        MainWindowRig rig({"--lang", language});
        rig.instance().manager()->updateScheduler().setUnitMilliseconds(100);
        rig.form().resize(1400, 1000);
        const TransmitterSettings &range = rig.device.model().settings();
        const double span = range.upperRangeMbar - range.lowerRangeMbar;
        rig.device.setAppliedPressure(range.lowerRangeMbar + 0.6 * span);
        rig.device.setProcessDrift(0.25 * span, 2, 8);
        QVERIFY(rig.connect());
        for (const char *entry : {"mnuDisplayGauge", "mnuDisplayBar", "mnuDisplayDigital",
                                  "mnuDisplayTrend", "mnuDisplayMeasuredValues"})
            rig.form().runMenuCommand(entry);
        QTRY_VERIFY(rig.idle());
        auto *trend =
            qobject_cast<frmDisplayTrend *>(frameOf(rig.form(), "frmDisplayTrend")->widget());
        TrendView view;
        view.spanMs = 12000;
        view.follow(QDateTime::currentMSecsSinceEpoch());
        trend->plotter->canvas()->setView(view);
        // Some seconds of moving process.
        QTRY_VERIFY_WITH_TIMEOUT(trend->plotter->recorder().ring(0).size() > 80, 30000);

        const struct
        {
            const char *name;
            QSize small;
            QSize large;
        } windows[] = {{"frmDisplayNeedle", {240, 260}, {520, 540}},
                       {"frmDisplayBar", {190, 300}, {360, 620}},
                       {"frmDisplayDigital", {200, 0}, {640, 0}},
                       {"frmDisplayTrend", {520, 340}, {1100, 600}},
                       {"frmMeasuredValues", {0, 0}, {0, 0}}};
        const auto grab = [&](const QString &state, bool small, bool large) {
            for (const auto &w : windows) {
                QMdiSubWindow *frame = frameOf(rig.form(), w.name);
                QVERIFY2(frame, w.name);
                for (const auto &[size, label] :
                     {std::pair{w.small, "small"}, std::pair{w.large, "large"}}) {
                    if ((label == QLatin1String("small") && !small) ||
                        (label == QLatin1String("large") && !large))
                        continue;
                    if (size.width() > 0)
                        frame->resize(size.width(),
                                      size.height() > 0 ? size.height() : frame->height());
                    QCoreApplication::processEvents();
                    const QString file =
                        QString("%1-%2-%3-%4.png").arg(w.name, language, label, state);
                    QVERIFY(frame->grab().save(QDir(m_folder).filePath(file)));
                }
            }
        };
        grab("normal", true, true);
        // The main window with its device summary, the windows arranged.
        rig.form().childWindows().cascade();
        QVERIFY(rig.form().grab().save(
            QDir(m_folder).filePath(QString("frmMain-%1-normal.png").arg(language))));

        // Beyond the sensor the device fails and puts out its alarm current.
        rig.device.setProcessDrift(0, 0, 0);
        rig.device.setAppliedPressure(range.upperRangeMbar * 10);
        auto *digital =
            qobject_cast<frmDisplayDigital *>(frameOf(rig.form(), "frmDisplayDigital")->widget());
        QTRY_VERIFY(digital->displayCtrl->limitCode() == "LA" ||
                    digital->displayCtrl->limitCode() == "UA");
        grab("alarm", false, true);

        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_COMPARE(rig.text("&&private&&Connect"), QString("0"));
        grab("disconnected", true, false);
        QVERIFY(rig.form().grab().save(
            QDir(m_folder).filePath(QString("frmMain-%1-disconnected.png").arg(language))));
    }
};

VEX_TEST(TstDisplayGrabs)
#include "tst_DisplayGrabs.moc"
