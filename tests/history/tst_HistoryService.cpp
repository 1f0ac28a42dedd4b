#include "CompareController.h"
#include "CompareItems.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "HistoryService.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "TestHost.h"
#include "TestRegistry.h"
#include "VexAppletItemManager.h"
#include "hart/HartCodec.h"
#include "simulator/SimulatedTransmitter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList differing(const QList<DatasetComparison::Row> &rows)
{
    QStringList names;
    for (const DatasetComparison::Row &row : rows) {
        if (row.differs)
            names << row.name;
    }
    names.sort();
    return names;
}

QString deviceTag(const SimulatedTransmitter &device)
{
    return HartCodec::unpackAscii(device.model().settings().tag).trimmed();
}

} // namespace

// The history through the real host on the simulated transmitter.
class HistoryServiceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<HistoryService> m_service;

    VexAppletItemManager &manager() const { return *m_host->manager(); }
    SimulatedTransmitter &device() const { return m_host->device(); }

    bool readDevice()
    {
        QSignalSpy read(m_service.get(), &HistoryService::deviceRead);
        return m_service->readDevice() == 0 && read.wait(5000) && read.first().first().toBool();
    }

    bool write(const QHash<QString, QString> &values, bool expected = true)
    {
        QSignalSpy done(m_service.get(), &HistoryService::writeFinished);
        return m_service->writeValues(values, "test") == 0 && done.wait(10000) &&
               done.first().first().toBool() == expected;
    }

    // The device read, and the dataset equal to it.
    void startEqual()
    {
        QVERIFY(m_host->connect());
        QVERIFY(readDevice());
        QStringList all;
        for (const CompareItem &item : CompareItems::all())
            all << QLatin1String(item.item);
        m_service->takeIntoDataset(all);
        QCOMPARE(differing(m_service->compareWithDataset()), QStringList());
    }

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_service = std::make_unique<HistoryService>(m_host->instance(),
                                                     m_dir.filePath(QTest::currentTestFunction()));
        QVERIFY(m_service->database().isOpen());
    }

    void cleanup()
    {
        m_service.reset();
        m_host.reset();
    }

    void threeDifferencesShowAsThreeRowsAndTwoAreWritten()
    {
        startEqual();
        // The device's 3.8 mA and the dataset's typed 3.8 are the same float.
        QCOMPARE(device().model().settings().outputLowerLimit, 3.8);
        testhost::setDataset(manager(), "spanLimitLowValue", "3.8");
        testhost::setDataset(manager(), "filterTime", "2.5");
        testhost::setDataset(manager(), "_tagHART", "PT-7");
        testhost::setDataset(manager(), "alarmSelection", "0");
        QCOMPARE(differing(m_service->compareWithDataset()),
                 (QStringList{"_tagHART", "alarmSelection", "filterTime"}));

        const quint8 alarmBefore = device().model().settings().alarmSelection;
        QVERIFY(write({{"filterTime", "2.5"}, {"_tagHART", "PT-7"}}));
        QCOMPARE(device().model().settings().dampingSeconds, 2.5);
        QCOMPARE(deviceTag(device()), QStringLiteral("PT-7"));
        QCOMPARE(device().model().settings().alarmSelection, alarmBefore);
        QCOMPARE(differing(m_service->compareWithDataset()), QStringList{"alarmSelection"});

        // One entry per value, completed; the snapshot holds what was there before.
        const QList<ChangeEntry> log = m_service->changeLog().entries();
        QStringList logged;
        for (const ChangeEntry &e : log) {
            QCOMPARE(e.outcome, ChangeEntry::Outcome::Accepted);
            QCOMPARE(e.device, m_service->identity().key());
            logged << e.item;
        }
        QVERIFY2(logged.contains("filterTime") && logged.contains("_tagHART"),
                 qPrintable(logged.join(',')));
        const auto snapshot = m_service->snapshots().load(m_service->lastSnapshot());
        QVERIFY(snapshot);
        QCOMPARE(snapshot->reason, QStringLiteral("test"));
        QCOMPARE(snapshot->values.value("filterTime"), QStringLiteral("0"));
    }

    void saveToDeviceTakesASnapshotThatRestoresEveryValue()
    {
        startEqual();
        const qint64 before = m_service->lastSnapshot();
        testhost::setDataset(manager(), "filterTime", "4");
        testhost::setDataset(manager(), "outScaleHiLim", "50");
        testhost::setDataset(manager(), "hmiLanguage", "1");
        QSignalSpy ended(&m_host->instance().engine(), &SequenceEngine::sequenceEnded);
        QCOMPARE(m_host->instance().engine().start("DOWNLOAD"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 10000);
        QVERIFY(ended.first().at(1).toBool());
        const qint64 id = m_service->lastSnapshot();
        QVERIFY(id > before);
        QCOMPARE(m_service->snapshots().load(id)->reason, QStringLiteral("DOWNLOAD"));
        QCOMPARE(device().model().settings().dampingSeconds, 4.0);

        QVERIFY(readDevice());
        const auto rows = m_service->compareWithSnapshot(id);
        QVERIFY(rows);
        QCOMPARE(differing(*rows), (QStringList{"filterTime", "hmiLanguage", "outScaleHiLim"}));
        QHash<QString, QString> restore;
        for (const DatasetComparison::Row &row : *rows) {
            if (row.differs)
                restore.insert(row.name, row.other);
        }
        QVERIFY(write(restore));
        QVERIFY(readDevice());
        QCOMPARE(differing(*m_service->compareWithSnapshot(id)), QStringList());
        QCOMPARE(device().model().settings().dampingSeconds, 0.0);
    }

    void refusedWriteIsLoggedWithItsResponseCode()
    {
        startEqual();
        device().setWriteProtected(true);
        QVERIFY(write({{"filterTime", "3"}}, false));
        const QList<ChangeEntry> log = m_service->changeLog().entries();
        QVERIFY(!log.isEmpty());
        QCOMPARE(log.first().item, QStringLiteral("filterTime"));
        QCOMPARE(log.first().outcome, ChangeEntry::Outcome::Refused);
        QCOMPARE(log.first().responseCode, 7);
        QCOMPARE(device().model().settings().dampingSeconds, 0.0);
    }

    void writeWithoutAnAnswerStaysUnknown_data()
    {
        QTest::addColumn<bool>("dropLink");
        QTest::newRow("no answer") << false;
        QTest::newRow("link dropped") << true;
    }

    void writeWithoutAnAnswerStaysUnknown()
    {
        QFETCH(bool, dropLink);
        startEqual();
        if (!dropLink)
            device().injectNoAnswer(-1);
        QSignalSpy done(m_service.get(), &HistoryService::writeFinished);
        QCOMPARE(m_service->writeValues({{"filterTime", "6"}}, "test"), 0);
        // The request is on its way when the link goes.
        if (dropLink)
            device().dropConnection();
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 20000);
        const QList<ChangeEntry> log = m_service->changeLog().entries();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log.first().item, QStringLiteral("filterTime"));
        QCOMPARE(log.first().newValue, QStringLiteral("6"));
        QCOMPARE(log.first().outcome, ChangeEntry::Outcome::Unknown);
    }

    void valuesTheDeviceCannotTakeAreRefusedBeforeAnyWrite_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("value");
        QTest::newRow("unknown item") << "noSuchItem"
                                      << "1";
        QTest::newRow("not a number") << "filterTime"
                                      << "fast";
        QTest::newRow("not in the enumeration") << "alarmSelection"
                                                << "77";
        QTest::newRow("read-only item") << "_deviceIdNumberHART"
                                        << "5";
    }

    void valuesTheDeviceCannotTakeAreRefusedBeforeAnyWrite()
    {
        QFETCH(QString, item);
        QFETCH(QString, value);
        startEqual();
        QVERIFY(m_service->writeValues({{item, value}}, "test") != 0);
        QVERIFY(!m_host->instance().engine().isRunning());
        QVERIFY(m_service->changeLog().entries().isEmpty());
    }

    // The range record carries the unit and both range values: a number
    // written is meant in the unit it comes with, whichever path writes it.
    void rangeValuesKeepTheirPressureAcrossUnits()
    {
        startEqual();
        const TransmitterSettings &settings = device().model().settings();
        QCOMPARE(settings.pressureUnit, quint8(8)); // mbar
        const double span = settings.upperRangeMbar;
        QVERIFY(span > 0);
        QVERIFY(write({{"scaleInLoLim", QString::number(span / 10)}}));

        // A new unit with one range value: the other keeps its pressure.
        QVERIFY(write(
            {{"primaryValueUnit", "7"}, {"scaleInHiLim", QString::number(span * 0.8 / 1000)}}));
        QCOMPARE(settings.pressureUnit, quint8(7)); // bar
        QVERIFY(qAbs(settings.lowerRangeMbar - span / 10) < span * 1e-6);
        QVERIFY(qAbs(settings.upperRangeMbar - span * 0.8) < span * 1e-6);

        // The dataset still in mbar: its upper range value ticked alone in
        // the Compare window is that many mbar, written in the device's bar.
        QVERIFY(readDevice());
        testhost::setDataset(manager(), "primaryValueUnit", "8");
        testhost::setDataset(manager(), "scaleInHiLim", QString::number(span * 0.9));
        CompareController compare;
        compare.setService(m_service.get());
        compare.compareWithDataset();
        QTRY_VERIFY(compare.state() == CompareController::State::Idle && !compare.rows().isEmpty());
        compare.setChecked("scaleInHiLim", true);
        QSignalSpy written(m_service.get(), &HistoryService::writeFinished);
        QVERIFY(compare.writeChecked());
        QVERIFY(written.wait(10000));
        QVERIFY(written.first().first().toBool());
        QCOMPARE(settings.pressureUnit, quint8(7));
        QVERIFY(qAbs(settings.upperRangeMbar - span * 0.9) < span * 1e-6);
        QVERIFY(qAbs(settings.lowerRangeMbar - span / 10) < span * 1e-6);

        // Compared again, the same pressure in mbar and in bar is no difference;
        // the unit still is.
        compare.compareWithDataset();
        QTRY_VERIFY(compare.state() == CompareController::State::Idle);
        QStringList differing;
        for (const DatasetComparison::Row &row : compare.rows()) {
            if (row.differs)
                differing << row.name;
        }
        QVERIFY2(differing.contains("primaryValueUnit") && !differing.contains("scaleInHiLim"),
                 qPrintable(differing.join(',')));
    }
};

VEX_TEST(HistoryServiceTest)
#include "tst_HistoryService.moc"
