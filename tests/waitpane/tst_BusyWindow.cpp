#include "TestHost.h"
#include "TestRegistry.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "ctlBusyWindow.h"
#include "frmBusyWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The busy window on a host window, fed through the items the always-started
// components publish, written here as the host would.
class TstBusyWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<QWidget> m_hostWindow;
    ctlBusyWindow *m_control = nullptr;
    std::unique_ptr<QSignalSpy> m_enabled;
    std::unique_ptr<QSignalSpy> m_disabled;

    frmBusyWindow &busy() const { return *m_control->busyWindow(); }
    void publish(const QString &item, const QString &value)
    {
        testhost::setDataset(*m_host->manager(), item, value);
    }
    QString hostText(const QString &item) const
    {
        const ItemStore &store = m_host->manager()->store();
        return store.text(store.indexOf(item), false);
    }
    void resetSpies()
    {
        m_enabled->clear();
        m_disabled->clear();
    }

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_hostWindow = std::make_unique<QWidget>();
        m_hostWindow->setGeometry(100, 120, 800, 600);
        m_hostWindow->show();
        m_control = new ctlBusyWindow(m_hostWindow.get());
        m_control->setDesignMode(false);
        m_enabled = std::make_unique<QSignalSpy>(m_control, &ctlBusyWindow::EnableWindow);
        m_disabled = std::make_unique<QSignalSpy>(m_control, &ctlBusyWindow::DisableWindow);
        m_control->Register(m_host->manager());
    }
    void cleanup()
    {
        m_enabled.reset();
        m_disabled.reset();
        m_hostWindow.reset();
        m_host.reset();
    }

    // Nothing runs at load: the window hides at once, the host is enabled
    // and the timer rests until the next show.
    void loadWithoutSequence()
    {
        QVERIFY(busy().isRegistered());
        QVERIFY(!busy().isVisible());
        QCOMPARE(m_enabled->count(), 1);
        QCOMPARE(m_disabled->count(), 0);
        QVERIFY(!busy().Timer1->isActive());
        QCOMPARE(busy().cmdCancel->text(), QString("Cancel"));
    }

    void statusBySequenceName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cancel");
        const QString unchanged = "(previous text)";
        const struct
        {
            const char *name;
            const char *text;
            bool cancel;
        } rows[] = {
            {"GetDeviceInfo", "Loading deviceinfo", false},
            {"PerformResetToFactoryData", "Resetting ...", false},
            {"Read_TfrFnct", "Loading usercurve ...", true},
            {"Write_TfrFnct_Linear", "Saving usercurve ...", true},
            {"Write_TfrFnct_Sqr", "Saving usercurve ...", true},
            {"Write_TfrFnct_Single_Poly", "Saving usercurve ...", true},
            {"Write_TfrFnct_Double_Poly", "Saving usercurve ...", true},
            {"GetRangeValues", "Loading measuring ranges ...", false},
            {"SetCalPointLo", "Saving calibration data ...", false},
            {"SetCalPointHi", "Saving calibration data ...", false},
            {"ReadAdditionalTransmitterStatus", "Loading diagnostics data ...", false},
            {"PerformTransmitterSelfTest", "Perform transmitter selftest ...", false},
            {"GetPressureCalPoints", "Loading last calibration points ...", false},
            {"SetPvZeroAlignment", "Adjust oblique sensor ...", false},
            {"SetPvCurrentDacZero", "Transferring current output value...", false},
            {"SetPvCurrentDacGain", "Transferring current output value...", false},
            {"PerformOffsetShift", "Parallel shift ...", false},
            {"SetActualOutputValue", "Setting current level ...", false},
            {"ResetMaxValues", "Resetting peak values ...", false},
            {"SetDiagnosisSimulation", "Setting diagnostics simulation ...", false},
            {"UPLOAD", "Loading devicedata ...", true},
            {"UPLOAD_PARTIAL", "Loading devicedata ...", true},
            {"DOWNLOAD", "Saving devicedata ...", true},
            {"upload", "(previous text)", true},
            {"SetPrimaryVariableLowerRange", "(previous text)", true},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.name << row.text << row.cancel;
    }
    void statusBySequenceName()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, cancel);
        busy().lblDeviceStatus->setText("(previous text)");
        resetSpies();
        publish("currentSequence", name);
        QVERIFY(busy().isVisible());
        QCOMPARE(busy().lblDeviceStatus->text(), text);
        QCOMPARE(busy().cmdCancel->isEnabled(), cancel);
        QCOMPARE(busy().windowTitle(), QString("PT-1: PRESSURE"));
        QCOMPARE(m_disabled->count(), 1);
        QCOMPARE(m_enabled->count(), 0);
        QVERIFY(busy().Timer1->isActive());
        // Centred over the host window.
        const QPoint offset =
            busy().frameGeometry().center() - m_hostWindow->frameGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2,
                 qPrintable(QString("off by %1,%2").arg(offset.x()).arg(offset.y())));
    }

    void fileOperationsDisableWithoutWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("read") << "ReadFile";
        QTest::newRow("write") << "WriteFile";
    }
    void fileOperationsDisableWithoutWindow()
    {
        QFETCH(QString, name);
        resetSpies();
        publish("currentSequence", name);
        QCOMPARE(m_disabled->count(), 1);
        QVERIFY(!busy().isVisible());
        publish("currentSequence", "");
        QCOMPARE(m_enabled->count(), 1);
        QVERIFY(!busy().isVisible());
    }

    void silentSequenceShowsNothing()
    {
        publish("&&Sequence_State&&GetDeviceInfo", "128");
        resetSpies();
        publish("currentSequence", "GetDeviceInfo");
        QVERIFY(!busy().isVisible());
        QVERIFY(!busy().cmdCancel->isEnabled());
        QCOMPARE(m_disabled->count(), 0);
    }

    // One sequence after another: progress and state follow the new one.
    void followsTheNextSequence()
    {
        publish("currentSequence", "GetRangeValues");
        publish("&&Sequence_Progress&&GetRangeValues", "40");
        QCOMPARE(busy().ProgressBar->value(), 40);
        publish("currentSequence", "");
        QVERIFY(!busy().isVisible());

        publish("&&Sequence_Progress&&GetDeviceInfo", "70");
        publish("currentSequence", "UPLOAD");
        publish("&&Sequence_Progress&&GetRangeValues", "90");
        QCOMPARE(busy().ProgressBar->value(), 0);
        publish("&&Sequence_State&&GetDeviceInfo", "128");
        publish("currentSequence", "GetDeviceInfo");
        QCOMPARE(busy().ProgressBar->value(), 70);
        QVERIFY2(busy().isVisible(), "a silent sequence hides nothing that is shown");
        publish("currentSequence", "");
        publish("currentSequence", "GetDeviceInfo");
        QVERIFY2(!busy().isVisible(), "state of the second sequence not read");
    }

    void responseCodes_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<bool>("shownAfterGood");
        QTest::newRow("no sequence") << "" << false;
        QTest::newRow("sequence running") << "GetRangeValues" << true;
    }
    void responseCodes()
    {
        QFETCH(QString, sequence);
        QFETCH(bool, shownAfterGood);
        publish("currentSequence", sequence);
        publish("currentResponseCode", "01 20 00");
        QVERIFY(busy().isVisible());
        QCOMPARE(busy().lblDeviceStatus->text(), QString("Device busy"));
        QVERIFY(!busy().cmdCancel->isEnabled());
        publish("currentResponseCode", "01 00 00");
        QCOMPARE(busy().isVisible(), shownAfterGood);
    }

    void cancelAbortsAndHides()
    {
        publish("currentSequence", "UPLOAD");
        QVERIFY(busy().cmdCancel->isEnabled());
        resetSpies();
        QTest::mouseClick(busy().cmdCancel, Qt::LeftButton);
        QCOMPARE(hostText("abortSequences"), QString("1"));
        QVERIFY(!busy().isVisible());
        QVERIFY(!busy().Timer1->isActive());
        QCOMPARE(m_enabled->count(), 1);
    }

    // The title bar's close button and Escape: Cancel where Cancel is
    // offered, refused where it is not; the window never goes while the host
    // stays disabled.
    void closingDoesWhatCancelDoes_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<bool>("byEscape");
        QTest::addColumn<bool>("cancels");
        QTest::newRow("close, cancel offered") << "UPLOAD" << false << true;
        QTest::newRow("Escape, cancel offered") << "DOWNLOAD" << true << true;
        QTest::newRow("close, cancel not offered") << "GetDeviceInfo" << false << false;
        QTest::newRow("Escape, cancel not offered") << "GetRangeValues" << true << false;
    }
    void closingDoesWhatCancelDoes()
    {
        QFETCH(QString, sequence);
        QFETCH(bool, byEscape);
        QFETCH(bool, cancels);
        publish("currentSequence", sequence);
        QVERIFY(busy().isVisible());
        resetSpies();
        if (byEscape)
            QTest::keyClick(&busy(), Qt::Key_Escape);
        else
            busy().close();
        QCOMPARE(hostText("abortSequences"), QString(cancels ? "1" : "0"));
        QCOMPARE(busy().isVisible(), !cancels);
        QCOMPARE(busy().isShown(), !cancels);
        QCOMPARE(m_enabled->count(), cancels ? 1 : 0);
        QVERIFY(busy().isRegistered());
    }

    // A device-busy answer without a following good one: the timer's first
    // tick finds no sequence and gives the host back.
    void firstTickHidesWhenNothingRuns()
    {
        publish("currentResponseCode", "01 20 00");
        QVERIFY(busy().isVisible());
        resetSpies();
        QVERIFY(m_enabled->wait(frmBusyWindow::TimerIntervalMs + 1000));
        QVERIFY(!busy().isVisible());
        QVERIFY(!busy().Timer1->isActive());
        QCOMPARE(m_enabled->count(), 1);
    }

    void secondRegistrationReplacesTheWindow()
    {
        QPointer<frmBusyWindow> first = m_control->busyWindow();
        m_control->Register(m_host->manager());
        QVERIFY(first.isNull());
        publish("currentSequence", "UPLOAD");
        QCOMPARE(m_disabled->count(), 1);
    }
};

VEX_TEST(TstBusyWindow)
#include "tst_BusyWindow.moc"
