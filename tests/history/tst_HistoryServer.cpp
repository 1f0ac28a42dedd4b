#include "CalibrationStore.h"
#include "ChangeLog.h"
#include "FleetList.h"
#include "HistoryDatabase.h"
#include "HistorySync.h"
#include "PostgresServer.h"
#include "SnapshotStore.h"
#include "TestRegistry.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Device = QStringLiteral("3C-9D-000042");

CalibrationEntry check(const QString &device, const QString &when, double asFoundError,
                       const QString &technician, const QString &workstation)
{
    CalibrationEntry entry;
    entry.device = device;
    entry.tag = QStringLiteral("PT-") + device.right(3);
    entry.checkedAt = QDateTime::fromString(when, Qt::ISODate);
    entry.technician = technician;
    entry.user = technician;
    entry.workstation = workstation;
    entry.asFoundPassed = std::abs(asFoundError) <= 0.25;
    entry.asLeftPassed = true;
    entry.asFoundError = asFoundError;
    entry.document = QStringLiteral("{}");
    return entry;
}

ChangeEntry change(const QString &item, const QString &when)
{
    ChangeEntry entry;
    entry.time = QDateTime::fromString(when, Qt::ISODate);
    entry.user = QStringLiteral("ada");
    entry.device = Device;
    entry.item = item;
    entry.newValue = QStringLiteral("1");
    return entry;
}

// The items of the server's change log, oldest first, and how often each is there.
QStringList serverItems(HistoryDatabase &server)
{
    QStringList items;
    const QList<ChangeEntry> entries = ChangeLog(server).entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        items << it->item;
    return items;
}

} // namespace

// The history on a team's PostgreSQL server, a real one started for this process.
class HistoryServerTest : public QObject
{
    Q_OBJECT

    PostgresServer &m_server = PostgresServer::instance();
    QTemporaryDir m_dir;

    // A new database on the server from the setup script.
    QString newHistory(const QString &name)
    {
        const QString problem = m_server.createHistory(name);
        return problem.isEmpty() ? m_server.location(name, QStringLiteral("tech")) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_server.problem().isEmpty(), qPrintable(m_server.problem()));
        QVERIFY(m_dir.isValid());
        const QString made = m_server.createHistory(QStringLiteral("postgres"));
        QVERIFY2(made.isEmpty(), qPrintable(made));
        const QString role = m_server.createTechnician(QStringLiteral("tech"));
        QVERIFY2(role.isEmpty(), qPrintable(role));
    }

    // Monday's as-found check on one laptop is the baseline of Friday's on another.
    void twoWorkstationsSeeEachOthersChecks()
    {
        const QString location = newHistory(QStringLiteral("team"));
        QVERIFY(!location.isEmpty());
        HistoryDatabase server(location);
        QCOMPARE(server.open(), HistoryDatabase::Status::Open);
        const struct
        {
            const char *workstation;
            const char *when;
            double error;
        } laptops[] = {{"laptop-a", "2026-05-04T08:00:00Z", 0.10},
                       {"laptop-b", "2026-05-08T14:30:00Z", 0.18}};
        for (const auto &laptop : laptops) {
            HistoryDatabase local(m_dir.filePath(QLatin1String(laptop.workstation)));
            local.setQueueForServer(true);
            QCOMPARE(local.open(), HistoryDatabase::Status::Open);
            QVERIFY(CalibrationStore(local).store(check(Device, QLatin1String(laptop.when),
                                                        laptop.error, QStringLiteral("ada"),
                                                        QLatin1String(laptop.workstation))));
            HistorySync sync(local, server);
            QCOMPARE(sync.waiting(), 1);
            QVERIFY2(sync.sendWaiting(), qPrintable(sync.detail()));
            QCOMPARE(sync.waiting(), 0);
        }
        const QList<CalibrationEntry> checks = CalibrationStore(server).list(Device);
        QCOMPARE(checks.size(), 2);
        QCOMPARE(checks[0].workstation, QStringLiteral("laptop-b"));
        QCOMPARE(checks[1].workstation, QStringLiteral("laptop-a"));
        QVERIFY(!checks[0].uuid.isEmpty() && checks[0].uuid != checks[1].uuid);
        const QList<FleetRow> fleet = FleetList::load(server);
        QCOMPARE(fleet.size(), 1);
        QVERIFY(fleet[0].drift.has_value());
        QCOMPARE(qRound(*fleet[0].drift * 1000), 80);
        QCOMPARE(fleet[0].lastSeenBy, QStringLiteral("ada@laptop-b"));
        QCOMPARE(fleet[0].nextDue, QDate(2027, 5, 8));
    }

    void programRoleCannotEditOrDelete_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("update change") << QStringLiteral("UPDATE changes SET new_value = 'x'");
        QTest::newRow("delete change") << QStringLiteral("DELETE FROM changes");
        QTest::newRow("update check") << QStringLiteral("UPDATE calibration_checks SET tag = 'x'");
        QTest::newRow("delete check") << QStringLiteral("DELETE FROM calibration_checks");
        QTest::newRow("delete snapshot values") << QStringLiteral("DELETE FROM snapshot_values");
        QTest::newRow("truncate snapshots") << QStringLiteral("TRUNCATE snapshots CASCADE");
        QTest::newRow("schema version") << QStringLiteral("UPDATE history_schema SET version = 9");
        QTest::newRow("drop table") << QStringLiteral("DROP TABLE changes");
    }

    void programRoleCannotEditOrDelete()
    {
        QFETCH(QString, sql);
        static int database = 0;
        const QString location = newHistory(QStringLiteral("audit%1").arg(++database));
        QVERIFY(!location.isEmpty());
        HistoryDatabase server(location);
        QCOMPARE(server.open(), HistoryDatabase::Status::Open);
        QCOMPARE(
            ChangeLog(server).begin({change(QStringLiteral("Tag"), "2026-05-04T08:00:00Z")}).size(),
            1);
        QVERIFY(CalibrationStore(server).store(
            check(Device, QStringLiteral("2026-05-04T09:00:00Z"), 0.1, "ada", "laptop-a")));
        QSqlQuery query(server.database());
        QVERIFY(!query.exec(sql));
        QCOMPARE(query.lastError().nativeErrorCode(), QStringLiteral("42501"));
        QCOMPARE(ChangeLog(server).entries().size(), 1);
        QCOMPARE(ChangeLog(server).entries().first().newValue, QStringLiteral("1"));
        QCOMPARE(CalibrationStore(server).list(Device).first().tag, QStringLiteral("PT-042"));
    }

    void serverSchemaNotOursRefused_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<HistoryDatabase::Status>("status");
        QTest::newRow("newer") << 5 << HistoryDatabase::Status::NewerVersion;
        QTest::newRow("older") << 3 << HistoryDatabase::Status::MigrationFailed;
    }

    // Refused without a change: the rows and the version stay.
    void serverSchemaNotOursRefused()
    {
        QFETCH(int, version);
        QFETCH(HistoryDatabase::Status, status);
        const QString name = QStringLiteral("schema%1").arg(version);
        const QString location = newHistory(name);
        QVERIFY(!location.isEmpty());
        QCOMPARE(m_server.adminSql(name,
                                   QStringLiteral("UPDATE history_schema SET version = %1;"
                                                  " INSERT INTO calibration_intervals(uuid, device,"
                                                  " days, set_at) VALUES('u', 'd', 30, 't')")
                                       .arg(version)),
                 QString());
        HistoryDatabase server(location);
        QCOMPARE(server.open(), status);
        QCOMPARE(server.fileVersion(), version);
        QVERIFY(!FleetList::setInterval(server, Device, 90, QStringLiteral("ada")));
        QCOMPARE(m_server.adminSql(name, QStringLiteral("DO $$ BEGIN IF (SELECT count(*) FROM"
                                                        " calibration_intervals) <> 1 OR (SELECT"
                                                        " version FROM history_schema) <> %1 THEN"
                                                        " RAISE 'changed'; END IF; END $$")
                                             .arg(version)),
                 QString());
    }

    // The server stops in the middle of a session: the entries wait in the
    // local history and arrive once, in order, when it is back.
    void stoppedServerEntriesWaitAndArriveOnce()
    {
        const QString location = newHistory(QStringLiteral("outage"));
        QVERIFY(!location.isEmpty());
        HistoryDatabase server(location);
        QCOMPARE(server.open(), HistoryDatabase::Status::Open);
        HistoryDatabase local(m_dir.filePath(QStringLiteral("outage.sqlite")));
        local.setQueueForServer(true);
        QCOMPARE(local.open(), HistoryDatabase::Status::Open);
        HistorySync sync(local, server);
        ChangeLog log(local);
        const auto write = [&log](const char *item, const char *when) {
            const QList<qint64> ids = log.begin({change(QLatin1String(item), QLatin1String(when))});
            return ids.size() == 1 && log.complete(ids, ChangeEntry::Outcome::Accepted, 0);
        };
        QVERIFY(write("Tag", "2026-05-04T08:00:00Z"));
        QVERIFY(sync.sendWaiting());
        QVERIFY(m_server.stop());
        QVERIFY(write("Descriptor", "2026-05-04T08:01:00Z"));
        QVERIFY(write("Message", "2026-05-04T08:02:00Z"));
        QVERIFY(!sync.sendWaiting());
        QCOMPARE(sync.waiting(), 2);
        QCOMPARE(server.lastFailure(), HistoryDatabase::Failure::Unreachable);
        // A program started while the server is away reaches it later.
        HistoryDatabase late(location);
        QCOMPARE(late.open(), HistoryDatabase::Status::CannotOpen);
        HistorySync lateSync(local, late);
        QVERIFY(!lateSync.sendWaiting());
        QVERIFY(m_server.start());
        QVERIFY(write("Date", "2026-05-04T08:03:00Z"));
        QVERIFY2(lateSync.sendWaiting(), qPrintable(lateSync.detail()));
        QCOMPARE(sync.waiting(), 0);
        const QStringList inOrder{QStringLiteral("Tag"), QStringLiteral("Descriptor"),
                                  QStringLiteral("Message"), QStringLiteral("Date")};
        QCOMPARE(serverItems(late), inOrder);
        // Sending the whole history again stores nothing twice.
        QCOMPARE(lateSync.queueWholeHistory(), 4);
        QVERIFY(lateSync.sendWaiting());
        QCOMPARE(serverItems(late), inOrder);
    }

    // A write in flight waits for its outcome, which goes with it.
    void changeWithoutOutcomeWaits()
    {
        const QString location = newHistory(QStringLiteral("inflight"));
        QVERIFY(!location.isEmpty());
        HistoryDatabase server(location);
        HistoryDatabase local(m_dir.filePath(QStringLiteral("inflight.sqlite")));
        local.setQueueForServer(true);
        QCOMPARE(local.open(), HistoryDatabase::Status::Open);
        HistorySync sync(local, server);
        ChangeLog log(local);
        const QList<qint64> ids = log.begin(
            {change(QStringLiteral("Tag"),
                    QDateTime::currentDateTimeUtc().addSecs(1).toString(Qt::ISODateWithMs))});
        QCOMPARE(ids.size(), 1);
        QVERIFY(!sync.sendWaiting());
        QCOMPARE(sync.waiting(), 1);
        QVERIFY(log.complete(ids, ChangeEntry::Outcome::Refused, 7));
        QVERIFY(sync.sendWaiting());
        const QList<ChangeEntry> sent = ChangeLog(server).entries();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0].outcome, ChangeEntry::Outcome::Refused);
        QCOMPARE(sent[0].responseCode, 7);
    }

    void fleetDueList_data()
    {
        QTest::addColumn<bool>("onServer");
        QTest::newRow("sqlite") << false;
        QTest::newRow("postgresql") << true;
    }

    // Devices due within N days of a fixed day, from hand-made checks and intervals.
    void fleetDueList()
    {
        QFETCH(bool, onServer);
        const QString location = onServer ? newHistory(QStringLiteral("fleet"))
                                          : m_dir.filePath(QStringLiteral("fleet.sqlite"));
        QVERIFY(!location.isEmpty());
        HistoryDatabase db(location);
        QCOMPARE(db.open(), HistoryDatabase::Status::Open);
        CalibrationStore checks(db);
        const QString a = QStringLiteral("3C-9D-00000A"), b = QStringLiteral("3C-9D-00000B"),
                      c = QStringLiteral("3C-9D-00000C"), d = QStringLiteral("3C-9D-00000D");
        // a: default interval, due 2027-01-10; b: 90 days, due 2026-06-10
        // (overdue); c: never checked; d: 30 days, due 2026-05-31.
        QVERIFY(checks.store(check(a, "2026-01-10T10:00:00Z", 0.05, "ada", "laptop-a")));
        QVERIFY(checks.store(check(b, "2026-01-01T10:00:00Z", 0.30, "bob", "laptop-b")));
        QVERIFY(checks.store(check(b, "2026-03-12T10:00:00Z", 0.12, "bob", "laptop-b")));
        QVERIFY(checks.store(check(d, "2026-05-01T10:00:00Z", -0.02, "ada", "laptop-a")));
        QVERIFY(FleetList::setInterval(db, b, 90, QStringLiteral("bob")));
        QVERIFY(FleetList::setInterval(db, d, 45, QStringLiteral("bob")));
        QVERIFY(FleetList::setInterval(db, d, 30, QStringLiteral("bob")));
        ChangeEntry seen = change(QStringLiteral("Tag"), "2026-05-20T07:00:00Z");
        seen.device = c;
        QCOMPARE(ChangeLog(db).begin({seen}).size(), 1);

        const QList<FleetRow> fleet = FleetList::load(db, 180);
        QCOMPARE(fleet.size(), 4);
        QCOMPARE(fleet[0].nextDue, QDate(2026, 7, 9));
        QCOMPARE(fleet[1].nextDue, QDate(2026, 6, 10));
        QCOMPARE(fleet[1].technician, QStringLiteral("bob"));
        QCOMPARE(qRound(*fleet[1].drift * 100), -18);
        QVERIFY(!fleet[0].drift);
        QVERIFY(!fleet[2].lastCheck.isValid());
        QCOMPARE(fleet[3].nextDue, QDate(2026, 5, 31));
        const auto devicesOf = [](const QList<FleetRow> &rows) {
            QStringList devices;
            for (const FleetRow &row : rows)
                devices << row.device.right(1);
            return devices;
        };
        const QDate today(2026, 5, 25);
        QCOMPARE(devicesOf(FleetList::dueWithin(fleet, today, 0)), QStringList{"C"});
        QCOMPARE(devicesOf(FleetList::dueWithin(fleet, today, 30)), (QStringList{"C", "D", "B"}));
        QCOMPARE(devicesOf(FleetList::dueWithin(fleet, today, 60)),
                 (QStringList{"C", "D", "B", "A"}));
    }
};

VEX_TEST(HistoryServerTest)
#include "tst_HistoryServer.moc"
