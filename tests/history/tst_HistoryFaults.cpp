#include "ChangeLog.h"
#include "DeviceDescription.h"
#include "HistoryDatabase.h"
#include "HistoryService.h"
#include "ScratchFileSystem.h"
#include "ScriptedMessageBox.h"
#include "TestHost.h"
#include "TestRegistry.h"
#include "simulator/SimulatedTransmitter.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// The history on a real file system that fails under it: a full disk, a
// file another program holds, a file deleted while the program runs, a
// read-only disk. Whatever happens, no device write goes ahead unrecorded
// without the user knowing, and what can be kept is kept.
class HistoryFaultsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestHost> m_host;
    std::unique_ptr<HistoryService> m_service;

    void start(const QString &path)
    {
        m_service.reset();
        m_host = std::make_unique<TestHost>(testhost::builtInDescription());
        m_service = std::make_unique<HistoryService>(m_host->instance(), path);
        QVERIFY(m_host->connect());
    }
    // Damping written through the history; whether the sequence completed.
    bool writeDamping(const QString &seconds)
    {
        QSignalSpy done(m_service.get(), &HistoryService::writeFinished);
        return m_service->writeValues({{"filterTime", seconds}}, "test") == 0 && done.wait(10000) &&
               done.first().first().toBool();
    }
    double deviceDamping() const { return m_host->device().model().settings().dampingSeconds; }
    static int entriesIn(const QString &path)
    {
        HistoryDatabase db(path);
        db.open();
        return int(ChangeLog(db).entries().size());
    }

private Q_SLOTS:
    void cleanup()
    {
        m_service.reset();
        m_host.reset();
    }

    // Full disk: the user is asked before the write; No keeps the device as
    // it was, Yes writes; what waits is stored once there is room again.
    void diskFullAsksFirst()
    {
        ScratchFileSystem disk(512 * 1024);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString path = disk.filePath("history.sqlite");
        start(path);
        QVERIFY(writeDamping("1.5"));
        QVERIFY(disk.fill());
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::No);
        QVERIFY(!writeDamping("2.5"));
        QCOMPARE(box.asked().size(), 1);
        QVERIFY2(box.asked()[0].text.contains("full"), qPrintable(box.asked()[0].text));
        QCOMPARE(deviceDamping(), 1.5);
        box.enqueue(QMessageBox::Yes);
        QVERIFY(writeDamping("3.5"));
        QCOMPARE(deviceDamping(), 3.5);
        // Room again: the kept-back write and the one written both reach the log.
        QVERIFY(QFile::remove(disk.filePath("filler")));
        QTRY_COMPARE_WITH_TIMEOUT(entriesIn(path), 3, 5000);
    }

    // Another program holds the file: the write goes ahead at once, nobody is
    // asked, and its entry is stored when the file is free again.
    void lockedFileDoesNotHoldTheWrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("history.sqlite");
        start(path);
        QVERIFY(writeDamping("1.5"));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-program");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec("BEGIN EXCLUSIVE"));
            ScriptedMessageBox box;
            QVERIFY(writeDamping("2.5"));
            QCOMPARE(box.asked().size(), 0);
            QCOMPARE(deviceDamping(), 2.5);
            QVERIFY(hold.exec("COMMIT"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other-program");
        QTRY_COMPARE_WITH_TIMEOUT(entriesIn(path), 2, 5000);
    }

    // Deleted while the program runs: noticed before the next write, made
    // again, the user told, and the write kept in the new file.
    void deletedFileIsMadeAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("history.sqlite");
        start(path);
        QVERIFY(writeDamping("1.5"));
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        ScriptedMessageBox box;
        QVERIFY(writeDamping("2.5"));
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked()[0].text.contains("deleted or replaced"));
        QCOMPARE(entriesIn(path), 1);
    }

    // A read-only disk: the history is shown, named read-only (not foreign),
    // and a write asks first.
    void readOnlyFileIsNamedSo()
    {
        ScratchFileSystem disk(512 * 1024);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString path = disk.filePath("history.sqlite");
        start(path);
        QVERIFY(writeDamping("1.5"));
        m_service.reset();
        QVERIFY(disk.makeReadOnly());
        start(path);
        QCOMPARE(m_service->database().status(), HistoryDatabase::Status::ReadOnly);
        QCOMPARE(m_service->changeLog().entries().size(), 1);
        const double before = deviceDamping();
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::No);
        QVERIFY(!writeDamping("2.5"));
        QCOMPARE(box.asked().size(), 1);
        QVERIFY2(box.asked()[0].text.contains("read-only"), qPrintable(box.asked()[0].text));
        QCOMPARE(deviceDamping(), before);
    }
};

VEX_TEST(HistoryFaultsTest)
#include "tst_HistoryFaults.moc"
