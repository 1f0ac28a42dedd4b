#include "CalibrationStore.h"
#include "ChangeLog.h"
#include "ChangeLogCsv.h"
#include "HistoryDatabase.h"
#include "SnapshotStore.h"
#include "TestRegistry.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An SQLite file as another program or version leaves it.
void writeForeignDatabase(const QString &path, int applicationId, int userVersion)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE things(a TEXT)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO things VALUES('kept')")));
        QVERIFY(query.exec(QStringLiteral("PRAGMA application_id=%1").arg(applicationId)));
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version=%1").arg(userVersion)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
}

// A history as the first version of the program left it: its schema as it
// was then, one snapshot and one change.
void writeVersionOneDatabase(const QString &path)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("version1"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        const char *const statements[] = {
            "PRAGMA journal_mode=WAL",
            "CREATE TABLE snapshots(id INTEGER PRIMARY KEY, device TEXT NOT NULL, tag TEXT,"
            " taken TEXT NOT NULL, user TEXT, reason TEXT)",
            "CREATE INDEX snapshots_device ON snapshots(device, taken)",
            "CREATE TABLE snapshot_values(snapshot INTEGER NOT NULL"
            " REFERENCES snapshots(id) ON DELETE CASCADE, item TEXT NOT NULL, value TEXT NOT NULL,"
            " PRIMARY KEY(snapshot, item))",
            "CREATE TABLE changes(id INTEGER PRIMARY KEY, time TEXT NOT NULL, user TEXT,"
            " device TEXT NOT NULL, tag TEXT, item TEXT NOT NULL, old_value TEXT, new_value TEXT,"
            " outcome INTEGER NOT NULL, response_code INTEGER, command INTEGER, sequence TEXT)",
            "CREATE INDEX changes_device_time ON changes(device, time)",
            "INSERT INTO snapshots VALUES(1, '3C-91-000001', 'PT-101',"
            " '2026-03-01T08:00:00.000Z', 'anna', 'DOWNLOAD')",
            "INSERT INTO snapshot_values VALUES(1, 'filterTime', '2.5')",
            "INSERT INTO changes VALUES(1, '2026-03-01T08:00:01.000Z', 'anna', '3C-91-000001',"
            " 'PT-101', 'filterTime', '2.5', '4', 1, 0, 34, 'DOWNLOAD')",
            // Not read before the write: it was kept as an empty text then.
            "INSERT INTO changes VALUES(2, '2026-03-01T08:00:02.000Z', 'anna', '3C-91-000001',"
            " 'PT-101', 'fixedOutputValue', '', '4', 1, 0, 40, 'SetActualOutputValue')",
            "PRAGMA application_id=1447385160",
            "PRAGMA user_version=1",
        };
        for (const char *sql : statements)
            QVERIFY2(query.exec(QLatin1String(sql)), sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("version1"));
}

CalibrationEntry calibration(const QString &device, const QDateTime &checkedAt, bool passed)
{
    CalibrationEntry entry;
    entry.device = device;
    entry.tag = QStringLiteral("PT-101");
    entry.checkedAt = checkedAt;
    entry.technician = QStringLiteral("R. Lindqvist");
    entry.asFoundPassed = false;
    entry.asLeftPassed = passed;
    entry.document = QStringLiteral("{\"checkedAt\":\"%1\"}").arg(checkedAt.toString(Qt::ISODate));
    return entry;
}

// Splits CSV as a spreadsheet reads it: quoted fields, doubled quotes, CRLF rows.
QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\r')) {
            continue;
        } else if (c == QLatin1Char('\n')) {
            rows << (row << field);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

class HistoryDatabaseTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void newDatabaseIsWalAtTheCurrentVersion()
    {
        const QString path = m_dir.filePath("fresh/history.sqlite");
        HistoryDatabase db(path);
        QCOMPARE(db.open(), HistoryDatabase::Status::Open);
        QCOMPARE(db.fileVersion(), HistoryDatabase::SchemaVersion);
        QSqlQuery query(db.database());
        QVERIFY(query.exec("PRAGMA journal_mode") && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));

        // Opened again, it is taken as it is.
        HistoryDatabase again(path);
        QCOMPARE(again.open(), HistoryDatabase::Status::Open);
    }

    void foreignFilesAreRefusedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::newRow("newer version") << "newer" << int(HistoryDatabase::Status::NewerVersion);
        QTest::newRow("another program's database")
            << "other" << int(HistoryDatabase::Status::NotHistory);
        QTest::newRow("not a database") << "text" << int(HistoryDatabase::Status::NotHistory);
    }

    void foreignFilesAreRefusedAndLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);
        const QString path = m_dir.filePath(kind + ".sqlite");
        if (kind == "newer") {
            writeForeignDatabase(path, HistoryDatabase::ApplicationId,
                                 HistoryDatabase::SchemaVersion + 1);
        } else if (kind == "other") {
            writeForeignDatabase(path, 0, 0);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("time,item\n2024-01-01,damping\n");
        }
        const QByteArray before = fileBytes(path);
        {
            HistoryDatabase db(path);
            QCOMPARE(int(db.open()), status);
            QVERIFY(!db.isOpen());
            ChangeLog log(db);
            QVERIFY(log.begin({ChangeEntry()}).isEmpty());
            QVERIFY(log.entries().isEmpty());
            CalibrationStore calibrations(db);
            QCOMPARE(calibrations.store(
                         calibration("3C-91-000001", QDateTime::currentDateTimeUtc(), true)),
                     0);
            QVERIFY(!calibrations.importOnce("calibration.sqlite", {}));
        }
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!QFile::exists(path + "-wal"));
    }

    void firstVersionMigratesKeepingItsHistory()
    {
        const QString path = m_dir.filePath("version1.sqlite");
        writeVersionOneDatabase(path);
        HistoryDatabase db(path);
        QCOMPARE(db.open(), HistoryDatabase::Status::Open);
        QCOMPARE(db.fileVersion(), HistoryDatabase::SchemaVersion);
        QCOMPARE(SnapshotStore(db).load(1)->values.value("filterTime"), QStringLiteral("2.5"));
        const QList<ChangeEntry> changes = ChangeLog(db).entries(); // newest first
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes[1].oldValue.value_or("not read"), QStringLiteral("2.5"));
        QVERIFY(!changes[0].oldValue);
        CalibrationStore calibrations(db);
        const QDateTime when(QDate(2026, 4, 1), QTime(9, 30), Qt::UTC);
        QVERIFY(calibrations.store(calibration("3C-91-000001", when, true)) > 0);
        QSqlQuery query(db.database());
        QVERIFY(query.exec("PRAGMA user_version") && query.next());
        QCOMPARE(query.value(0).toInt(), HistoryDatabase::SchemaVersion);
        QVERIFY(query.exec("PRAGMA integrity_check") && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("ok"));
    }

    void calibrationChecksByDeviceAndTakenOverOnce()
    {
        HistoryDatabase db(m_dir.filePath("calibrations.sqlite"));
        QCOMPARE(db.open(), HistoryDatabase::Status::Open);
        CalibrationStore store(db);
        const QDateTime march(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC);
        QVERIFY(store.store(calibration("3C-91-000001", march, false)) > 0);
        QVERIFY(store.store(calibration("3C-91-000002", march.addDays(1), true)) > 0);
        QVERIFY(store.importOnce("/old/calibration.sqlite",
                                 {calibration("3C-91-000001", march.addDays(60), true),
                                  calibration("3C-91-000001", march.addDays(-30), true)}));
        const QList<CalibrationEntry> first = store.list("3C-91-000001");
        QCOMPARE(first.size(), 3);
        QCOMPARE(first[0].checkedAt, march.addDays(60)); // newest first
        QCOMPARE(first[1].checkedAt, march);
        QCOMPARE(first[2].checkedAt, march.addDays(-30));
        QVERIFY(!first[1].asLeftPassed && first[0].asLeftPassed);
        QCOMPARE(first[0].technician, QStringLiteral("R. Lindqvist"));
        QCOMPARE(first[0].document, calibration("", march.addDays(60), true).document);

        // A source taken over once is not taken over again, not even in part.
        QVERIFY(store.imported("/old/calibration.sqlite"));
        QVERIFY(!store.importOnce("/old/calibration.sqlite",
                                  {calibration("3C-91-000003", march, true)}));
        QVERIFY(store.list("3C-91-000003").isEmpty());
        QCOMPARE(store.list("3C-91-000001").size(), 3);
    }

    void snapshotsKeepTheirValues()
    {
        HistoryDatabase db(m_dir.filePath("snapshots.sqlite"));
        QCOMPARE(db.open(), HistoryDatabase::Status::Open);
        SnapshotStore store(db);
        Snapshot s;
        s.device = "3C-91-000001";
        s.tag = "O'Brien";
        s.taken = QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC);
        s.reason = "DOWNLOAD";
        s.values = {{"filterTime", "2.5"}, {"_tagHART", "A,B\"C"}};
        const qint64 id = store.store(s);
        QVERIFY(id > 0);
        const auto back = store.load(id);
        QVERIFY(back);
        QCOMPARE(back->values, s.values);
        QCOMPARE(back->taken, s.taken);
        QCOMPARE(back->tag, s.tag);
        QCOMPARE(store.list("3C-91-000001").size(), 1);
        QCOMPARE(store.list("other").size(), 0);
    }

    void killedWriterLeavesAReadableDatabase()
    {
        const QString path = m_dir.filePath("killed.sqlite");
        QProcess child;
        child.start(QCoreApplication::applicationDirPath() + "/history_write_child", {path});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("writing") && child.waitForReadyRead(20000))
            output += child.readAllStandardOutput();
        QVERIFY(output.contains("writing"));
        child.kill();
        QVERIFY(child.waitForFinished());

        HistoryDatabase db(path);
        QCOMPARE(db.open(), HistoryDatabase::Status::Open);
        QSqlQuery query(db.database());
        QVERIFY(query.exec("PRAGMA integrity_check") && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("ok"));
        const QList<ChangeEntry> entries = ChangeLog(db).entries();
        QVERIFY(entries.size() >= 150);
        // Whole requests only: each transaction stored three entries or none.
        QCOMPARE(entries.size() % 3, 0);
    }

    void csvReadsBackWithHeaderAndIsoTimes()
    {
        ChangeEntry a;
        a.time = QDateTime(QDate(2026, 3, 1), QTime(8, 5, 7), Qt::UTC);
        a.user = "anna";
        a.device = "3C-91-000001";
        a.tag = "PT,101";
        a.item = "deviceMessage";
        a.oldValue = "said \"hi\"";
        a.newValue = "=SUM(A1)";
        ChangeEntry b = a;
        b.item = "filterTime";
        b.oldValue = "-1.5";
        b.newValue = " padded ";
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        const QStringList header{"Time", "User", "Device", "Tag", "Item", "Old", "New", "Outcome"};
        QVERIFY(ChangeLogCsv::write(buffer, header, {a, b}, [](const ChangeEntry &e) {
            return QStringList{e.user,
                               e.device,
                               e.tag,
                               e.item,
                               *e.oldValue,
                               e.newValue,
                               QStringLiteral("accepted")};
        }));
        const QList<QStringList> rows = readCsv(QString::fromUtf8(buffer.data()));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], header);
        QCOMPARE(rows[1][0], QStringLiteral("2026-03-01T08:05:07Z"));
        QCOMPARE(QDateTime::fromString(rows[1][0], Qt::ISODate), a.time);
        QCOMPARE(rows[1][3], a.tag);
        QCOMPARE(rows[1][5], *a.oldValue);
        // A formula stays text.
        QCOMPARE(rows[1][6], QStringLiteral("'=SUM(A1)"));
        QCOMPARE(rows[2][5], *b.oldValue);
        QCOMPARE(rows[2][6], b.newValue);
    }
};

VEX_TEST(HistoryDatabaseTest)
#include "tst_HistoryDatabase.moc"
