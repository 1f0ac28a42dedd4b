#include "MethodTarget.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "Applet.h"
#include "ConnectionController.h"
#include "DatasetFile.h"
#include "DatasetFileService.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "HostResult.h"
#include "ItemStore.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexException.h"
#include "clsAppItem.h"
#include "clsRecordItem.h"
#include "clsSequenceItem.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers records the way the program's record manager does: accept a good
// response, give up on anything else (or as told).
class RecordAnswers
{
public:
    RecordAnswers(const std::shared_ptr<VexAppletItemManager> &manager, const QStringList &records)
    {
        m_target.onStatus = [this](const QString &name, qint32 status) { answer(name, status); };
        for (const QString &name : records) {
            auto record = std::make_shared<clsRecordItem>();
            record->Register(manager, name, false, 0, 7, &m_target,
                             QStringLiteral("RecordItem_StatusChanged"));
            m_records.insert(name.toLower(), record);
        }
    }
    QStringList seen;
    int retries = 0;
    bool silent = false;

private:
    void answer(const QString &name, qint32 status)
    {
        if (status == 0)
            return;
        auto record = m_records.value(name.toLower());
        const QByteArray response = record->ResponseCode();
        seen << QStringLiteral("%1:%2:%3")
                    .arg(name)
                    .arg(status)
                    .arg(response.size() > 1 ? quint8(response[1]) : -1);
        qint32 action =
            (status == 16 || status == 32) && response.size() > 1 && response[1] == 0 ? 2 : 4;
        if (retries > 0 && action == 4) {
            --retries;
            action = 1;
        }
        if (silent)
            return;
        record->DoAction(action);
    }

    MethodTarget m_target;
    QHash<QString, std::shared_ptr<clsRecordItem>> m_records;
};

// Runs a sequence as a dialog would: answers 1 and 2 with go and, for the
// upload, adjusts at the first 0 and waits for the second.
class SequenceRunner : public QObject
{
    Q_OBJECT
public:
    SequenceRunner(const std::shared_ptr<VexAppletItemManager> &manager, const QString &name,
                   bool adjustAtEnd)
        : m_adjust(adjustAtEnd)
    {
        m_sequence.Register(manager, name, false, 0, 3);
        connect(&m_sequence, &clsSequenceItem::StatusChanged, this, [this](qint32 &status) {
            statuses << status;
            if ((status == 1 || status == 2) && answer) {
                qint32 go = 1;
                m_sequence.DoAction(go);
                m_phase = 1;
            } else if (status == 0 && m_adjust && m_phase == 1) {
                m_phase = 2;
                m_sequence.Adjust();
            } else if (status == 0) {
                done = true;
            }
        });
    }
    clsSequenceItem &sequence() { return m_sequence; }
    QList<qint32> statuses;
    bool done = false;
    bool answer = true;

private:
    clsSequenceItem m_sequence;
    bool m_adjust;
    int m_phase = 0;
};

QStringList recordsOf(const DeviceDescription &d, const QString &sequence)
{
    return d.findSequence(sequence)->records;
}

} // namespace

class TstHostEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_description = testhost::builtInDescription();
        m_host = std::make_unique<TestHost>(m_description);
        m_manager = m_host->manager();
        m_host->instance().engine().setAnswerTimeout(2000);
    }
    void cleanup()
    {
        m_manager.reset();
        m_host.reset();
    }

    void connectAndDisconnect()
    {
        clsAppItem connect;
        connect.Register(m_manager, QStringLiteral("&&private&&Connect"));
        QList<QString> seen;
        QObject::connect(&connect, &clsAppItem::ValueUpdate, this, [&](QString &v) { seen << v; });
        QVERIFY(m_host->connect());
        QCOMPARE(store().text(store().indexOf("_deviceIdNumberHART"), true),
                 QString::number(m_host->device().deviceId()));
        QCOMPARE(m_manager->fncGetApplet()->fncDisconnect(0), 0);
        QCOMPARE(seen, (QList<QString>{"1", "2", "3", "0"}));
    }

    void nobodyAtThePollingAddress()
    {
        m_host->instance().setItemText(QStringLiteral("&&private_PM&&Address"), "5");
        m_host->link().setResponseTimeout(5);
        m_host->instance().connection().setIdentifyWindow(50);
        QSignalSpy failed(&m_host->instance().connection(), &ConnectionController::connectFailed);
        m_host->instance().connection().connectDevice();
        QVERIFY(failed.wait(3000));
        QCOMPARE(m_host->instance().connection().status(), 0);
    }

    void reconnectWaitsForARestartingDevice()
    {
        QVERIFY(m_host->connect());
        m_host->link().setResponseTimeout(20);
        SequenceRunner reset(m_manager, QStringLiteral("PerformMasterReset"), false);
        reset.sequence().Start();
        QTRY_COMPARE_WITH_TIMEOUT(m_host->instance().connection().status(), 0, 3000);
        // Silent while it restarts; the connect keeps asking until it answers.
        QSignalSpy unanswered(&m_host->link(), &HartLink::requestTimedOut);
        m_host->instance().connection().connectDevice();
        m_host->device().advanceTime(500);
        QTRY_VERIFY(unanswered.count() >= 3);
        QCOMPARE(m_host->instance().connection().status(), 1);
        m_host->device().advanceTime(2000);
        QTRY_COMPARE_WITH_TIMEOUT(m_host->instance().connection().status(), 2, 3000);
    }

    void datasetCommandsThroughTheFileChooser()
    {
        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        ScriptedMessageBox box;
        auto applet = m_manager->fncGetApplet();
        QVERIFY(applet->fncSaveAsToFile() != 0); // cancelled
        chooser.enqueue(dir.filePath("a.vexds"));
        QCOMPARE(applet->fncSaveAsToFile(), 0);
        QCOMPARE(store().text(store().indexOf("&&private_PM&&FileName"), false),
                 dir.filePath("a.vexds"));
        testhost::setDataset(*m_manager, "filterTime", "7");
        QCOMPARE(applet->fncSave(0), 0); // to the same file, without asking
        QCOMPARE(chooser.asked(), 2);

        QFile broken(dir.filePath("broken.vexds"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{\"format\":\"vex-dataset\",\"version\":1,");
        broken.close();
        chooser.enqueue(broken.fileName());
        QVERIFY(applet->fncLoadFromFile() != 0);
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked().first().text.contains("broken.vexds"));
        QCOMPARE(store().text(store().indexOf("filterTime"), false), "7");

        testhost::setDataset(*m_manager, "filterTime", "1");
        chooser.enqueue(dir.filePath("a.vexds"));
        QCOMPARE(applet->fncLoadFromFile(), 0);
        QCOMPARE(store().text(store().indexOf("filterTime"), false), "7");
        QCOMPARE(store().text(store().indexOf("&&private&&CurrentSource"), false), "1");
    }

    void uploadFillsTheDatasetAndSetsTheSource()
    {
        QVERIFY(m_host->connect());
        m_host->device().setWriteProtected(false);
        RecordAnswers records(m_manager, recordsOf(m_description, "UPLOAD"));
        SequenceRunner upload(m_manager, QStringLiteral("upload"), true);
        upload.sequence().Start();
        QTRY_VERIFY_WITH_TIMEOUT(upload.done, 5000);
        QCOMPARE(upload.statuses, (QList<qint32>{32, 2, 0, 0}));
        // The device's identity and range are now the dataset's.
        QCOMPARE(store().text(store().indexOf("_deviceIdNumberHART"), false),
                 QString::number(m_host->device().deviceId()));
        const int high = store().indexOf(QStringLiteral("scaleInHiLim"));
        QCOMPARE(store().value(high, false).number(), store().value(high, true).number());
        QVERIFY(!store().isModified(high));
        QCOMPARE(store().text(store().indexOf("&&private&&CurrentSource"), false), "2");
        QVERIFY(!m_host->instance().engine().isRunning());
    }

    void downloadWritesEditedValues()
    {
        QVERIFY(m_host->connect());
        uploadQuietly();
        RecordAnswers records(m_manager, recordsOf(m_description, "DOWNLOAD"));
        SequenceRunner download(m_manager, QStringLiteral("download"), false);
        clsAppItem damping;
        damping.Register(m_manager, QStringLiteral("filterTime"));
        damping.setFloatValue(4.5f);
        QList<qint32> states;
        connect(&damping, &clsAppItem::ValueUpdate3, this,
                [&](QString &, qint32 &state) { states << state; });
        const int index = store().indexOf(QStringLiteral("filterTime"));
        QVERIFY(store().isModified(index));
        QCOMPARE(m_manager->fncGetApplet()->fncSaveToDevice(0), 0);
        QTRY_VERIFY_WITH_TIMEOUT(download.done, 5000);
        QCOMPARE(download.statuses.mid(0, 2), (QList<qint32>{64, 1}));
        QCOMPARE(download.statuses.last(), 0);
        QVERIFY(!store().isModified(index));
        // Whoever shows the modified mark heard that it went.
        QCOMPARE(states.last() & ItemStore::StateModified, 0);
        // Read it back from the device.
        uploadQuietly();
        QCOMPARE(store().value(index, true).number(), 4.5);
    }

    void writeProtectionAnswersSevenThroughTheRecord()
    {
        QVERIFY(m_host->connect());
        m_host->device().setWriteProtected(true);
        RecordAnswers records(m_manager, recordsOf(m_description, "DOWNLOAD"));
        SequenceRunner download(m_manager, QStringLiteral("DOWNLOAD"), false);
        clsAppItem message;
        message.Register(m_manager, QStringLiteral("deviceMessage"));
        message.setStringValue(QStringLiteral("CHANGED"));
        download.sequence().Start();
        QTRY_VERIFY_WITH_TIMEOUT(download.done, 5000);
        QVERIFY(!records.seen.isEmpty());
        QVERIFY2(records.seen.first().endsWith(":32:7"), qPrintable(records.seen.join(',')));
        // Given up: nothing written, the value stays modified.
        QVERIFY(store().isModified(store().indexOf("deviceMessage")));
    }

    void aDeviceReportingACommunicationErrorIsAskedAgain()
    {
        QVERIFY(m_host->connect());
        RecordAnswers records(m_manager, recordsOf(m_description, "UPLOAD"));
        records.retries = 1;
        m_host->device().injectCommunicationError(0x40, 1); // parity, once
        SequenceRunner upload(m_manager, QStringLiteral("UPLOAD"), true);
        upload.sequence().Start();
        QTRY_VERIFY_WITH_TIMEOUT(upload.done, 5000);
        // Reported as a read response carrying the error bits, retried, then good.
        QVERIFY2(records.seen.first().endsWith(QStringLiteral(":16:%1").arg(0xC0)),
                 qPrintable(records.seen.join(',')));
        QVERIFY(records.seen.at(1).endsWith(":16:0"));
        QCOMPARE(store().text(store().indexOf("&&private&&CurrentSource"), false), "2");
    }

    void secondStartWhileBusy()
    {
        QVERIFY(m_host->connect());
        SequenceRunner upload(m_manager, QStringLiteral("UPLOAD"), true);
        upload.sequence().Start();
        clsSequenceItem other;
        other.Register(m_manager, QStringLiteral("GetDeviceInfo"), false, 0, 1);
        try {
            other.Start();
            QFAIL("started while busy");
        } catch (const VexException &e) {
            QCOMPARE(e.number(), qint32(SEQUENCE_BUSY));
            QCOMPARE(e.source(),
                     QStringLiteral("clsSequenceItem.StartSequence(\"GetDeviceInfo\")"));
        }
        QCOMPARE(m_manager->fncGetApplet()->fncStartAdjust("UPLOAD"), HostResult::SequenceBusy);
        QTRY_VERIFY_WITH_TIMEOUT(upload.done, 5000);
        other.Start();
        QTRY_COMPARE_WITH_TIMEOUT(other.SequenceState(), 0.0, 5000);
    }

    void interruptions_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("at"); // the status at which to interrupt
        for (const char *how : {"abort", "drop", "silence"}) {
            QTest::addRow("upload reading, %s", how) << "UPLOAD" << how << 32;
            QTest::addRow("upload waiting, %s", how) << "UPLOAD" << how << 2;
            QTest::addRow("download waiting, %s", how) << "DOWNLOAD" << how << 1;
            QTest::addRow("download writing, %s", how) << "DOWNLOAD" << how << 64;
            QTest::addRow("device info, %s", how) << "GetDeviceInfo" << how << 32;
        }
    }

    void interruptions()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, how);
        QFETCH(int, at);
        QVERIFY(m_host->connect());
        m_host->instance().engine().setAnswerTimeout(100);
        m_host->link().setResponseTimeout(20);
        RecordAnswers records(m_manager, recordsOf(m_description, sequence));
        SequenceRunner runner(m_manager, sequence, sequence == "UPLOAD");
        runner.answer = at != 1 && at != 2;
        clsSequenceItem &seq = runner.sequence();
        bool interrupted = false;
        connect(&seq, &clsSequenceItem::StatusChanged, this, [&](qint32 &status) {
            if (status != at || interrupted)
                return;
            interrupted = true;
            if (how == "abort") {
                qint32 abort = 2;
                seq.DoAction(abort);
            } else if (how == "drop") {
                m_host->device().dropConnection();
            } else {
                records.silent = true; // no answer ever comes
                m_host->device().injectNoAnswer(-1);
            }
        });
        const QString before = store().text(store().indexOf("scaleInHiLim"), false);
        seq.Start();
        QTRY_VERIFY_WITH_TIMEOUT(interrupted, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_host->instance().engine().isRunning(), 5000);
        QCOMPARE(seq.SequenceState(), 0.0);
        QCOMPARE(store().text(store().indexOf("scaleInHiLim"), false), before);
        if (how == "drop")
            QTRY_COMPARE(m_host->instance().connection().status(), 0);
        // Every record that reported ended with 0 again.
        for (const QString &record : recordsOf(m_description, sequence))
            QCOMPARE(store().value(store().indexOf("&&Record_State&&" + record), false).number(),
                     0.0);
    }

    // A value the request cannot carry ends the record as a communication
    // error; the run may be gone by the time that outcome is taken.
    void unencodableRequestAfterTheRunEnded_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("disconnect") << "disconnect";
        QTest::newRow("lost link") << "drop";
    }
    void unencodableRequestAfterTheRunEnded()
    {
        QFETCH(QString, how);
        QVERIFY(m_host->connect());
        testhost::setDataset(*m_manager, "primaryValueUnit", "300"); // one byte on the wire
        RecordAnswers records(m_manager, {"SetLowerBalancePoint"});
        clsSequenceItem seq;
        seq.Register(m_manager, QStringLiteral("SetCalPointLo"), false, 0, 3);

        seq.Start();
        // Queued behind the engine's first step, ahead of the outcome it posts.
        QMetaObject::invokeMethod(
            this,
            [&] {
                if (how == "disconnect")
                    m_manager->fncGetApplet()->fncDisconnect(0);
                else
                    m_host->device().dropConnection();
            },
            Qt::QueuedConnection);

        QTRY_COMPARE(m_host->instance().connection().status(), 0);
        QTRY_VERIFY(!m_host->instance().engine().isRunning());
        QCOMPARE(seq.SequenceState(), 0.0);
        QVERIFY(records.seen.isEmpty());
        // The host goes on: the next connection runs a sequence to its end.
        m_host->device().restoreConnection();
        testhost::setDataset(*m_manager, "primaryValueUnit", "8");
        QVERIFY(m_host->connect());
        SequenceRunner runner(m_manager, QStringLiteral("SetCalPointLo"), false);
        runner.sequence().Start();
        QTRY_VERIFY(runner.done);
    }

    void aListenerOfTheValuesReadDisconnects()
    {
        QVERIFY(m_host->connect());
        const int tag = store().indexOf("_tagHART");
        m_manager->addObserver([this, tag, once = false](int index, bool shadow, qint32) mutable {
            if (index == tag && shadow && !once) {
                once = true;
                m_manager->fncGetApplet()->fncDisconnect(0);
            }
        });
        SequenceRunner upload(m_manager, QStringLiteral("UPLOAD"), true);
        upload.sequence().Start();
        QTRY_VERIFY(!m_host->instance().engine().isRunning());
        QCOMPARE(m_host->instance().connection().status(), 0);
        QCOMPARE(upload.sequence().SequenceState(), 0.0);
    }

    // Disconnect and connect again in one turn of the event loop while a
    // request of the old connection is still on the wire: its outcome
    // ("connection lost") belongs to the old connection, not the new one.
    void reconnectWhileARequestIsOnTheWire_data()
    {
        QTest::addColumn<bool>("periodicRead");
        QTest::newRow("periodic read") << true;
        QTest::newRow("connecting") << false;
    }
    void reconnectWhileARequestIsOnTheWire()
    {
        QFETCH(bool, periodicRead);
        auto applet = m_manager->fncGetApplet();
        QSignalSpy failed(&m_host->instance().connection(), &ConnectionController::connectFailed);
        UpdateScheduler &scheduler = m_manager->updateScheduler();
        scheduler.setUnitMilliseconds(5);
        clsAppItem pressure;
        pressure.Register(m_manager, QStringLiteral("primaryValue"), false, 1);
        QVERIFY(pressure.RegisterOnShadow());
        // Shared with the reader, which outlives this function in the host.
        struct Seen
        {
            int reads = 0;
            bool bounced = false;
        };
        auto seen = std::make_shared<Seen>();
        scheduler.setReader([this, applet, periodicRead, seen](const QList<int> &items) {
            m_host->instance().engine().readItems(items);
            ++seen->reads;
            if (periodicRead && !seen->bounced) {
                seen->bounced = true;
                applet->fncDisconnect(0);
                applet->fncConnect(0);
            }
        });
        if (periodicRead) {
            QVERIFY(m_host->connect());
            QTRY_VERIFY(seen->bounced);
        } else {
            applet->fncConnect(0); // command 0 goes out
            applet->fncDisconnect(0);
            applet->fncConnect(0);
        }
        QTRY_COMPARE(m_host->instance().connection().status(), 2);
        // Still connected after the old outcome came: reads go on.
        const int before = seen->reads;
        QTRY_VERIFY(seen->reads > before + 2);
        QCOMPARE(m_host->instance().connection().status(), 2);
        QCOMPARE(failed.count(), 0);
    }

    void periodicReadsFollowTheInterval()
    {
        QVERIFY(m_host->connect());
        m_manager->updateScheduler().setUnitMilliseconds(10);
        clsAppItem pressure;
        pressure.Register(m_manager, QStringLiteral("primaryValue"), false, 1);
        QVERIFY(pressure.RegisterOnShadow());
        m_host->device().setAppliedPressure(123.0);
        m_host->device().setNoiseLevel(0);
        QStringList values;
        connect(&pressure, &clsAppItem::ValueUpdate, this, [&](QString &v) { values << v; });
        QTRY_VERIFY_WITH_TIMEOUT(!values.isEmpty(), 3000);
        QVERIFY(std::abs(pressure.FloatValue() - 123.0f) < 1.0f ||
                store().text(store().indexOf("primaryValueUnit"), true) != "8");
        // Not connected: no reads, tick after tick.
        UpdateScheduler &scheduler = m_manager->updateScheduler();
        int ticks = 0;
        scheduler.setConnectedProbe([&ticks, probe = scheduler.connectedProbe()] {
            ++ticks;
            return probe();
        });
        m_manager->fncGetApplet()->fncDisconnect(0);
        values.clear();
        QTRY_VERIFY(ticks >= 5);
        QVERIFY(values.isEmpty());
    }

    void datasetRoundTripOfEveryItem()
    {
        QVERIFY(m_host->connect());
        uploadQuietly();
        QTemporaryDir dir;
        const QString path = dir.filePath("device.vexds");
        QCOMPARE(m_host->instance().files().saveFile(path), 0);
        TestHost other(m_description);
        QCOMPARE(other.instance().files().loadFile(path), 0);
        int compared = 0;
        for (int i = 0; i < store().count(); ++i) {
            if (!store().definition(i).dataset)
                continue;
            QCOMPARE(other.manager()->store().text(i, false), store().text(i, false));
            ++compared;
        }
        QVERIFY(compared > 50);
        QCOMPARE(other.manager()->store().text(store().indexOf("&&private&&CurrentSource"), false),
                 "1");
    }

private:
    ItemStore &store() const { return m_manager->store(); }

    void uploadQuietly()
    {
        RecordAnswers records(m_manager, recordsOf(m_description, "UPLOAD"));
        SequenceRunner upload(m_manager, QStringLiteral("UPLOAD"), true);
        upload.sequence().Start();
        QVERIFY(QTest::qWaitFor([&] { return upload.done; }, 5000));
    }

    DeviceDescription m_description;
    std::unique_ptr<TestHost> m_host;
    std::shared_ptr<VexAppletItemManager> m_manager;
};

VEX_TEST(TstHostEndToEnd)
#include "tst_HostEndToEnd.moc"
