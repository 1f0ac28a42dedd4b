#include "TestHost.h"
#include "TestRegistry.h"

#include "DatasetFile.h"
#include "DatasetFileService.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ScratchFileSystem.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {
QStringList datasetTexts(const ItemStore &store)
{
    QStringList texts;
    for (int i = 0; i < store.count(); ++i)
        texts << store.text(i, false);
    return texts;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A device whose fields are narrower than the items' types.
DeviceDescription narrowDevice()
{
    const char *json = R"({
      "deviceType": "test", "deviceRevision": 1,
      "enumerations": [ {"name": "Units", "entries": [[7, "bar"], [8, "mbar"]]} ],
      "items": [
        {"name": "level", "type": "Float", "min": 0, "max": 100},
        {"name": "gain", "type": "Float", "default": 1},
        {"name": "unit", "type": "UInt", "enum": "Units", "default": 7},
        {"name": "mode", "type": "UInt"},
        {"name": "offset", "type": "Int"},
        {"name": "label", "type": "String", "default": "A"}
      ],
      "records": [ {"name": "WriteAll", "command": 130, "request": [
        {"item": "unit", "wire": "u8"}, {"item": "mode", "wire": "u8"},
        {"item": "offset", "wire": "i16"}, {"item": "label", "wire": "ascii", "chars": 4},
        {"item": "gain", "wire": "f32"}, {"item": "level", "wire": "f32"}]} ],
      "sequences": []
    })";
    QString error;
    const auto d = DeviceDescription::fromJson(QByteArray(json), &error);
    if (!d)
        qFatal("%s", qPrintable(error));
    return *d;
}

QByteArray datasetWith(const QString &item, const QString &type, const QString &value)
{
    return QStringLiteral("{\"format\":\"vex-dataset\",\"version\":1,\"deviceType\":\"test\","
                          "\"items\":[{\"name\":\"%1\",\"type\":\"%2\",\"value\":\"%3\"}]}")
        .arg(item, type, value)
        .toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
        QVERIFY(result.skipped.isEmpty());
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

    // Values the item's type holds but the device does not: refused on
    // loading, not at Save to device.
    void valuesTheDeviceCannotTake_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("complaint"); // empty: taken
        const QString notFinite = "not a finite number", notACode = "not one of its codes",
                      tooWide = "does not fit its field";
        const struct
        {
            const char *row, *item, *type, *value;
            QString complaint;
        } rows[] = {
            {"NaN within limits", "level", "Float", "nan", notFinite},
            {"infinity within limits", "level", "Float", "inf", notFinite},
            {"-infinity within limits", "level", "Float", "-inf", notFinite},
            {"NaN without limits: the device's 'not used'", "gain", "Float", "nan", {}},
            {"code outside its table", "unit", "UInt", "200", notACode},
            {"unit 300", "unit", "UInt", "300", notACode},
            {"one-byte field", "mode", "UInt", "256", tooWide},
            {"one-byte field, largest", "mode", "UInt", "255", {}},
            {"two-byte signed field", "offset", "Int", "-32769", tooWide},
            {"text longer than its field", "label", "String", "ABCDE", tooWide},
        };
        for (const auto &r : rows)
            QTest::newRow(r.row) << r.item << r.type << r.value << r.complaint;
    }
    void valuesTheDeviceCannotTake()
    {
        QFETCH(QString, item);
        QFETCH(QString, type);
        QFETCH(QString, value);
        QFETCH(QString, complaint);
        TestHost host(narrowDevice());
        const ItemStore &store = host.manager()->store();
        const int index = store.indexOf(item);
        const QString before = store.text(index, false);
        const QString path = m_dir.filePath("narrow.vexds");
        QVERIFY(writeFile(path, datasetWith(item, type, value)));
        ScriptedMessageBox box;

        const qint32 rc = host.instance().files().loadFile(path);

        if (complaint.isEmpty()) {
            QCOMPARE(rc, 0);
            QVERIFY(box.asked().isEmpty());
            QCOMPARE(store.text(index, false), value);
            return;
        }
        QVERIFY(rc != 0);
        QCOMPARE(box.asked().size(), 1);
        const QString text = box.asked().first().text;
        QVERIFY2(text.contains(complaint) && text.contains(item) && text.contains("narrow.vexds"),
                 qPrintable(text));
        QCOMPARE(store.text(index, false), before);
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
        QCOMPARE(result.skipped, QStringList{"futureItem"});
        QCOMPARE(m_manager->store().text(m_manager->store().indexOf("counter"), false), "17");
    }

    void manyUnknownItemsAreSummarised()
    {
        QByteArray items = "{\"name\":\"counter\",\"type\":\"Int\",\"value\":\"17\"}";
        for (int i = 0; i < 100000; ++i)
            items += QStringLiteral(",{\"name\":\"future%1\",\"type\":\"Float\",\"value\":\"1\"}")
                         .arg(i)
                         .toLatin1();
        items += ",{\"name\":\"" + QByteArray(5000, 'n') + "\",\"type\":\"Int\",\"value\":\"1\"}";
        const QString path = m_dir.filePath("crowded.vexds");
        QVERIFY(writeFile(path, "{\"format\":\"vex-dataset\",\"version\":2,\"deviceType\":\"test\","
                                "\"items\":[" +
                                    items + "]}"));
        ScriptedMessageBox box;

        QCOMPARE(m_host->instance().files().loadFile(path), 0);

        QCOMPARE(box.asked().size(), 1);
        const QString text = box.asked().first().text;
        QVERIFY2(text.size() < 600, qPrintable(text.left(600)));
        QVERIFY(text.contains("\"future0\"") && text.contains("\"future4\""));
        QVERIFY(!text.contains("future5"));
        QVERIFY2(text.contains("99996 more (100001 in all)"), qPrintable(text));
        QCOMPARE(m_manager->store().text(m_manager->store().indexOf("counter"), false), "17");
    }

    // What is not a regular file never opens as a dataset: a device or a pipe
    // would be read until memory runs out, or wait for a writer for ever.
    void onlyRegularFilesOfBoundedSize_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("device") << "/dev/zero"
                                << "not a regular file";
        QTest::newRow("named pipe") << "fifo"
                                    << "not a regular file";
        QTest::newRow("folder") << "folder"
                                << "not a regular file";
        QTest::newRow("one byte over the limit") << "large"
                                                 << "too large";
    }
    void onlyRegularFilesOfBoundedSize()
    {
        QFETCH(QString, kind);
        QFETCH(QString, complaint);
        QTemporaryDir dir;
        QString path = kind;
        if (kind == "fifo") {
            path = dir.filePath("pipe.vexds");
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "folder") {
            path = dir.path();
        } else if (kind == "large") {
            path = dir.filePath("large.vexds");
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(DatasetFile::MaxFileSize + 1)); // sparse: costs no disk
        }
        const QStringList before = datasetTexts(m_manager->store());
        ScriptedMessageBox box;

        QVERIFY(m_host->instance().files().loadFile(path) != 0);

        QCOMPARE(box.asked().size(), 1);
        const QString text = box.asked().first().text;
        QVERIFY2(text.contains(complaint) && text.contains(QDir::toNativeSeparators(path)),
                 qPrintable(text));
        QCOMPARE(datasetTexts(m_manager->store()), before);
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

    void fullDiskKeepsThePreviousFile()
    {
        ScratchFileSystem disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString path = disk.filePath(QStringLiteral("device.vexds"));
        DatasetFileService &files = m_host->instance().files();
        QCOMPARE(files.saveFile(path), 0);
        const QByteArray before = contents(path);
        QVERIFY(disk.fill());

        testhost::setDataset(*m_manager, "message", QString(32, QLatin1Char('m')));
        ScriptedMessageBox box;
        QVERIFY(files.saveFile(path) != 0);

        QCOMPARE(box.asked().size(), 1);
        QVERIFY2(box.asked().first().text.startsWith("The dataset was not saved."),
                 qPrintable(box.asked().first().text));
        QVERIFY(box.asked().first().text.contains("device.vexds"));
        QCOMPARE(contents(path), before);
        const QStringList names = QDir(disk.filePath(".")).entryList(QDir::Files);
        QCOMPARE(names, (QStringList{"device.vexds", "filler"}));
    }

    void failedFlushKeepsThePreviousFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.vexds");
        QVERIFY(DatasetFile::save(path, m_manager->store(), m_description).ok);
        const QByteArray before = contents(path);
        testhost::setDataset(*m_manager, "counter", "42");

        DatasetFile::SaveSeam seam;
        seam.flush = [](QFileDevice &) { return false; };
        const auto result = DatasetFile::save(path, m_manager->store(), m_description, seam);

        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains("keep.vexds"), qPrintable(result.error));
        QCOMPARE(contents(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.vexds"});
    }

private:
    DeviceDescription m_description;
    std::unique_ptr<TestHost> m_host;
    std::shared_ptr<VexAppletItemManager> m_manager;
    QTemporaryDir m_dir;
};

VEX_TEST(TstDatasetFile)
#include "tst_DatasetFile.moc"
