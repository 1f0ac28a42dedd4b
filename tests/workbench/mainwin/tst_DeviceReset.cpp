#include "TestHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "clsAppItem.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/clsDeviceReset.h"
#include "mainwin/global.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The reset procedures through the real host and the simulated transmitter:
// confirmation, busy state, the sequence's report and the reconnect.
class TstDeviceReset : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<QWidget> m_main;
    int m_reconnects = 0;

    int connection() const { return m_host->instance().connection().status(); }

    // A reset object wired as the main window wires it: its reconnect runs
    // the connect 100 ms later, outside the notification.
    QPointer<clsDeviceReset> makeReset()
    {
        auto *reset = new clsDeviceReset;
        reset->setReConnectHandler([this] {
            ++m_reconnects;
            QTimer::singleShot(100, m_main.get(),
                               [this] { m_host->manager()->fncGetApplet()->fncConnect(0); });
        });
        reset->Register(m_host->manager());
        return reset;
    }

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_host->link().setResponseTimeout(20);
        m_main = std::make_unique<QWidget>();
        SetMainWindow(m_main.get());
        m_reconnects = 0;
    }
    void cleanup()
    {
        EnableMainWindow(true);
        SetMainWindow(nullptr);
        m_main.reset();
        m_host.reset();
    }

    void factoryResetReconnects()
    {
        QVERIFY(m_host->connect());
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        QPointer<clsDeviceReset> reset = makeReset();
        QSignalSpy ended(&m_host->instance().engine(), &SequenceEngine::sequenceEnded);

        reset->PerformResetToFactoryData();

        QCOMPARE(box.asked().size(), 1);
        const MessageBoxRequest &asked = box.asked().first();
        QCOMPARE(asked.title, GetResText(2146));
        QCOMPARE(asked.text, GetResText(2144));
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QCOMPARE(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(!m_main->isEnabled());

        QVERIFY(ended.wait(3000));
        QCOMPARE(ended.first().at(0).toString(), QStringLiteral("PerformResetToFactoryData"));
        QCOMPARE(ended.first().at(1).toBool(), true);
        QTRY_COMPARE(m_reconnects, 1);
        // The device restarts: the connect keeps asking until it answers.
        QTRY_COMPARE(connection(), int(ConnectionController::Connecting));
        QVERIFY(m_host->device().isRestarting());
        m_host->device().advanceTime(TransmitterModel::RestartMs);
        QTRY_COMPARE_WITH_TIMEOUT(connection(), int(ConnectionController::Connected), 3000);
        QCOMPARE(m_reconnects, 1);
        QTRY_VERIFY(reset.isNull());
    }

    void nothingStarts_data()
    {
        QTest::addColumn<bool>("factory");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("answer");
        QTest::newRow("factory reset cancelled") << true << true << int(QMessageBox::Cancel);
        QTest::newRow("warm start cancelled") << false << true << int(QMessageBox::Cancel);
        QTest::newRow("start refused by the host") << true << false << int(QMessageBox::Ok);
    }
    void nothingStarts()
    {
        QFETCH(bool, factory);
        QFETCH(bool, connected);
        QFETCH(int, answer);
        if (connected)
            QVERIFY(m_host->connect());
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::StandardButton(answer));
        QPointer<clsDeviceReset> reset = makeReset();

        factory ? reset->PerformResetToFactoryData() : reset->PerformMasterReset();

        QCOMPARE(box.asked().size(), 1); // the confirmation, nothing about a refusal
        QVERIFY(!m_host->instance().engine().isRunning());
        QVERIFY(m_main->isEnabled());
        QTRY_VERIFY(reset.isNull());
        QCOMPARE(m_host->device().isRestarting(), false);
    }

    void warmStartDoesNotReconnect()
    {
        QVERIFY(m_host->connect());
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        QPointer<clsDeviceReset> reset = makeReset();

        reset->PerformMasterReset();

        QCOMPARE(box.asked().first().title, GetResText(3505));
        QCOMPARE(box.asked().first().text, GetResText(2212));
        QVERIFY(!m_main->isEnabled());
        QTRY_COMPARE(connection(), int(ConnectionController::NotConnected));
        QVERIFY(m_host->device().isRestarting());
        QTRY_VERIFY(reset.isNull());
        QCOMPARE(m_reconnects, 0);
    }

    // A factory reset the device refuses ends without a restart: the object
    // waits for the connection to end, and a later disconnect by the user
    // must not bring the connection back.
    void refusedFactoryResetDoesNotReconnectLater()
    {
        QVERIFY(m_host->connect());
        m_host->device().setWriteProtected(true);
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        QPointer<clsDeviceReset> reset = makeReset();
        QSignalSpy ended(&m_host->instance().engine(), &SequenceEngine::sequenceEnded);

        reset->PerformResetToFactoryData();

        QVERIFY(ended.wait(3000));
        QCOMPARE(ended.first().at(1).toBool(), false);
        QVERIFY(reset->reconnectPending());
        QCOMPARE(connection(), int(ConnectionController::Connected));
        m_host->manager()->fncGetApplet()->fncDisconnect(0);
        QTRY_COMPARE(connection(), int(ConnectionController::NotConnected));
        QTRY_VERIFY(reset.isNull());
        QCOMPARE(m_reconnects, 0);
    }

    // A host that reports the end of a reset twice, as the procedure expects
    // of it: the device refuses the first transfer (busy), so our host ends the
    // sequence without a restart, and the test reports the second 0, at once
    // or after the event loop has turned.
    void twoEndReports_data()
    {
        QTest::addColumn<bool>("factory");
        QTest::addColumn<bool>("eventLoopBetween");
        QTest::newRow("warm start, back to back") << false << false;
        QTest::newRow("warm start, event loop between") << false << true;
        QTest::newRow("factory reset, back to back") << true << false;
        QTest::newRow("factory reset, event loop between") << true << true;
    }
    void twoEndReports()
    {
        QFETCH(bool, factory);
        QFETCH(bool, eventLoopBetween);
        QVERIFY(m_host->connect());
        const QString name = factory ? "PerformResetToFactoryData" : "PerformMasterReset";
        clsAppItem control;
        control.Register(m_host->manager(), "&&Sequence_Control&&" + name);
        QStringList answers;
        connect(&control, &clsAppItem::ValueUpdate2, &control,
                [&answers](QString &value, bool &) { answers << value; });
        int reports = 0;
        const auto reportEnd = [this, &reports, name] {
            ++reports;
            testhost::setDataset(*m_host->manager(), "&&Sequence_State&&" + name, "0");
        };
        SequenceEngine &engine = m_host->instance().engine();
        connect(&engine, &SequenceEngine::sequenceEnded, &control, [&](const QString &, bool) {
            if (eventLoopBetween)
                QTimer::singleShot(0, &control, reportEnd);
            else
                reportEnd();
        });
        m_host->device().injectBusy(1);
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        QPointer<clsDeviceReset> reset = makeReset();

        factory ? reset->PerformResetToFactoryData() : reset->PerformMasterReset();

        QTRY_COMPARE(reports, 1);
        QTRY_COMPARE(answers.size(), 2);
        QCOMPARE(answers, QStringList({"1", "1"}));
        if (factory) {
            // The second report disconnects; the drop brings the reconnect.
            QTRY_COMPARE(m_reconnects, 1);
            QTRY_COMPARE(connection(), int(ConnectionController::Connected));
        } else {
            QCOMPARE(connection(), int(ConnectionController::Connected));
            QCOMPARE(m_reconnects, 0);
        }
        QTRY_VERIFY(reset.isNull());
        QCOMPARE(answers.size(), 2);
    }

    // A reset started while an earlier one still waits takes its place: the
    // earlier one does not answer the new reset's reports.
    void laterResetReplacesWaitingOne()
    {
        QVERIFY(m_host->connect());
        m_host->device().setWriteProtected(true);
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        box.enqueue(QMessageBox::Ok);
        QSignalSpy ended(&m_host->instance().engine(), &SequenceEngine::sequenceEnded);
        QPointer<clsDeviceReset> refused = makeReset();
        refused->PerformResetToFactoryData();
        QVERIFY(ended.wait(3000));
        QVERIFY(!refused.isNull());
        EnableMainWindow(true);

        m_host->device().setWriteProtected(false);
        QPointer<clsDeviceReset> second = makeReset();
        second->PerformResetToFactoryData();

        QTRY_VERIFY(refused.isNull());
        QTRY_COMPARE(m_reconnects, 1);
        QTRY_VERIFY(second.isNull());
        m_host->device().advanceTime(TransmitterModel::RestartMs);
        QTRY_COMPARE_WITH_TIMEOUT(connection(), int(ConnectionController::Connected), 3000);
        QCOMPARE(m_reconnects, 1);
    }
};

VEX_TEST(TstDeviceReset)
#include "tst_DeviceReset.moc"
