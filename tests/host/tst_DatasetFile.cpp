#include "TestHost.h"
#include "TestRegistry.h"

#include "DatasetFile.h"
#include "DeviceDescription.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList datasetTexts(const ItemStore &store)
{
    QStringList texts;
    for (int i = 0; i < store.count(); ++i)
        texts << store.text(i, false);
    return texts;
}
} // namespace

class TstDatasetFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_description = testhost::description();
        m_host = std::make_unique<TestHost>();
        m_manager = m_host->manager();
        QVERIFY(m_dir.isValid());
    }

    void roundTripOfEveryItem()
    {
        ItemStore &store = m_manager->store();
        testhost::setDataset(*m_manager, "pbTagDesc", "PT-7");
        testhost::setDataset(*m_manager, "scaleInLoLim", "-0.1");
        testhost::setDataset(*m_manager, "primaryValueUnit", "8");
        testhost::setDataset(*m_manager, "counter", "-2147483648");
        testhost::setDataset(*m_manager, "bcdItem", "99999999");
        testhost::setDataset(*m_manager, "octets8", "01 02 fe");
        testhost::setDataset(*m_manager, "installDate", "2026-12-07");
        testhost::setDataset(*m_manager, "message", "Grüße, \"quoted\"");
        const QString path = m_dir.filePath("set.json");
        QVERIFY(DatasetFile::save(path, store, m_description).ok);

        TestHost otherHost;
        auto other = otherHost.manager();
        const auto result = DatasetFile::load(path, other->store(), m_description);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.warnings.isEmpty());
        QCOMPARE(datasetTexts(other->store()), datasetTexts(store));
        // Loaded values are not on the device yet.
        QVERIFY(other->store().isModified(other->store().indexOf("scaleInLoLim")));
    }

    void badFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("complaint");
        const QByteArray head =
            "{\"format\":\"vex-dataset\",\"version\":1,\"deviceType\":\"test\",";
        QTest::newRow("garbage") << QByteArray("\x00\x01zz", 4) << "not a dataset file";
        QTest::newRow("truncated")
            << head + "\"items\":[{\"name\":\"counter\",\"type\":\"Int\",\"value\":\"3\"},{\"na"
            << "not a dataset file";
        QTest::newRow("other format")
            << QByteArray("{\"format\":\"x\",\"items\":[]}") << "not a dataset file";
        QTest::newRow("other device") << QByteArray("{\"format\":\"vex-dataset\",\"version\":1,"
                                                    "\"deviceType\":\"pump\",\"items\":[]}")
                                      << "device type";
        QTest::newRow("wrong type")
            << head + "\"items\":[{\"name\":\"counter\",\"type\":\"Int\",\"value\":\"3\"},"
                      "{\"name\":\"scaleInLoLim\",\"type\":\"Int\",\"value\":\"1\"}]}"
            << "\"scaleInLoLim\" has the type";
        QTest::newRow("bad value")
            << head + "\"items\":[{\"name\":\"counter\",\"type\":\"Int\",\"value\":\"3\"},"
                      "{\"name\":\"primaryValueUnit\",\"type\":\"UInt\",\"value\":\"-4\"}]}"
            << "cannot hold the value";
        QTest::newRow("user number format")
            << head +
                   "\"items\":[{\"name\":\"scaleInLoLim\",\"type\":\"Float\",\"value\":\"1,5\"}]}"
            << "cannot hold the value";
        QTest::newRow("out of limits")
            << head +
                   "\"items\":[{\"name\":\"scaleInLoLim\",\"type\":\"Float\",\"value\":\"2e6\"}]}"
            << "outside";
        QTest::newRow("twice")
            << head + "\"items\":[{\"name\":\"counter\",\"type\":\"Int\",\"value\":\"3\"},"
                      "{\"name\":\"COUNTER\",\"type\":\"Int\",\"value\":\"4\"}]}"
            << "appears twice";
        QTest::newRow("no value")
            << head + "\"items\":[{\"name\":\"counter\",\"type\":\"Int\",\"value\":3}]}"
            << "has no value";
    }

    void badFilesChangeNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, complaint);
        const QString path = m_dir.filePath("bad.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        ItemStore &store = m_manager->store();
        const QStringList before = datasetTexts(store);
        const auto result = DatasetFile::load(path, store, m_description);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(complaint), qPrintable(result.error));
        QVERIFY(result.error.contains("bad.json"));
        QCOMPARE(datasetTexts(store), before);
    }

    void unknownItemsAreSkippedAndReported()
    {
        const QString path = m_dir.filePath("newer.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"format\":\"vex-dataset\",\"version\":2,\"deviceType\":\"test\",\"items\":[\n"
                   "            {\"name\":\"counter\",\"type\":\"Int\",\"value\":\"17\"},\n"
                   "            {\"name\":\"futureItem\",\"type\":\"Float\",\"value\":\"1\"}]}");
        file.close();
        const auto result = DatasetFile::load(path, m_manager->store(), m_description);
        QVERIFY(result.ok);
        QCOMPARE(result.warnings.size(), 1);
        QVERIFY(result.warnings.first().contains("futureItem"));
        QCOMPARE(m_manager->store().text(m_manager->store().indexOf("counter"), false), "17");
    }

    void killedSaveLeavesThePreviousFile()
    {
        const QString path = m_dir.filePath("keep.json");
        QVERIFY(DatasetFile::save(path, m_manager->store(), m_description).ok);
        QFile original(path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();

        QProcess child;
        child.start(QCoreApplication::applicationDirPath() + "/dataset_save_child", {path});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("half") && child.waitForReadyRead(20000))
            output += child.readAllStandardOutput();
        QVERIFY(output.contains("half"));
        QCOMPARE(child.state(), QProcess::Running);
        child.kill();
        QVERIFY(child.waitForFinished());

        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
        TestHost otherHost;
        auto other = otherHost.manager();
        QVERIFY(DatasetFile::load(path, other->store(), m_description).ok);
    }

private:
    DeviceDescription m_description;
    std::unique_ptr<TestHost> m_host;
    std::shared_ptr<VexAppletItemManager> m_manager;
    QTemporaryDir m_dir;
};

VEX_TEST(TstDatasetFile)
#include "tst_DatasetFile.moc"
