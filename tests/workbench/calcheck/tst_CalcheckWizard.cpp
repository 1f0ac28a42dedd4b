#include "CalcheckDemo.h"
#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "CalibrationStore.h"
#include "FileChooser.h"
#include "HistoryDatabase.h"
#include "ScriptedMessageBox.h"
#include "calcheck/CalcheckCertificate.h"
#include "calcheck/CalcheckController.h"
#include "calcheck/CalcheckLegacyFile.h"
#include "calcheck/CalcheckRecordStore.h"
#include "calcheck/CalcheckSource.h"
#include "calcheck/frmCalcheck.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {

QStringList openChildren(MainWindowRig &rig)
{
    QStringList names;
    for (QMdiSubWindow *frame : rig.form().mdiArea()->subWindowList()) {
        if (frame->isVisible())
            names << frame->widget()->objectName();
    }
    return names;
}

clsHTMLPrintWindow *certificateWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *print = qobject_cast<clsHTMLPrintWindow *>(window); print && print->isVisible())
            return print;
    }
    return nullptr;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CalcheckRecord oldCheck()
{
    CalcheckRecord check;
    check.device.uniqueId = QStringLiteral("3C9D000001");
    check.device.tag = QStringLiteral("PT-101");
    check.technician = QStringLiteral("A. Berg");
    check.checkedAt = QDateTime(QDate(2026, 1, 10), QTime(9, 0), Qt::UTC);
    for (CalcheckRun *run : {&check.asFound, &check.asLeft}) {
        CalcheckReading reading;
        reading.pass = true;
        run->readings = {reading};
        run->complete = true;
    }
    return check;
}

// The file of checks an earlier version kept, its writer still open, so that
// the checks lie in its write-ahead log as after a crash.
struct OldCheckFile
{
    OldCheckFile(const QString &path, int version)
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE calibration_check (id INTEGER PRIMARY KEY,"
                                          " unique_id TEXT NOT NULL, tag TEXT NOT NULL, checked_at"
                                          " TEXT NOT NULL, passed INTEGER NOT NULL, record TEXT"
                                          " NOT NULL)")));
        QVERIFY(query.exec(
            QStringLiteral("PRAGMA application_id=%1").arg(CalcheckLegacyFile::ApplicationId)));
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version=%1").arg(version)));
        const QString readable = QString::fromUtf8(QJsonDocument(oldCheck().toJson()).toJson());
        for (const QString &document : {readable, QStringLiteral("{written by hand")}) {
            query.prepare(QStringLiteral("INSERT INTO calibration_check (unique_id, tag,"
                                         " checked_at, passed, record) VALUES (?, ?, ?, 1, ?)"));
            query.addBindValue(QStringLiteral("3C9D000001"));
            query.addBindValue(QStringLiteral("PT-101"));
            query.addBindValue(QStringLiteral("2026-01-10T09:00:00.000Z"));
            query.addBindValue(document);
            QVERIFY(query.exec());
        }
    }
    ~OldCheckFile()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
    }

    QSqlDatabase db;
};

} // namespace

class TstCalcheckWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CalcheckDemo::registerViews(); }
    // Each test starts with an empty history; no rig holds it open here.
    void init()
    {
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(HistoryDatabase::defaultPath() + QLatin1String(suffix));
    }

    void refusesPointsThatAreNoNumbers()
    {
        MainWindowRig rig;
        QVERIFY(rig.connect());
        frmCalcheck *wizard = CalcheckDemo::open(rig);
        QVERIFY(wizard);
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Ok);
        wizard->txtPoints->setText(QStringLiteral("0 fifty 100"));
        QTest::mouseClick(wizard->cmdStartAsFound, Qt::LeftButton);
        QCOMPARE(box.texts(), QStringList{GetResText(5746)});
        QCOMPARE(wizard->page(), int(frmCalcheck::SetupPage));
    }

    void adjustOpensTheCalibrationDialogs()
    {
        MainWindowRig rig;
        const auto bench = CalcheckDemo::defaultSimulator(rig);
        QVERIFY(rig.connect());
        frmCalcheck *wizard = CalcheckDemo::open(rig);
        QVERIFY(wizard);
        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard));
        // Each dialog reads the device first; the window is busy meanwhile.
        for (QPushButton *button : {wizard->cmdZero, wizard->cmdBalance, wizard->cmdCurrentTrim}) {
            QTRY_VERIFY(rig.idle() && button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QTRY_VERIFY(rig.idle());
        const QStringList open = openChildren(rig);
        QVERIFY2(open.contains(QStringLiteral("frmConfigPrimaryMeas")), qPrintable(open.join(' ')));
        QVERIFY2(open.contains(QStringLiteral("frmCalibratePressure")), qPrintable(open.join(' ')));
        QVERIFY2(open.contains(QStringLiteral("frmCalibrateCurrent")), qPrintable(open.join(' ')));
        QVERIFY(open.contains(QStringLiteral("frmCalcheck")));
    }

    void checkIsRecordedWithItsCertificate()
    {
        MainWindowRig rig;
        const auto bench = CalcheckDemo::defaultSimulator(rig);
        rig.device.setNoiseLevel(0); // the drift between checks to the digit
        QVERIFY(rig.connect());
        frmCalcheck *wizard = CalcheckDemo::open(rig);
        QVERIFY(wizard);
        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard));
        QCOMPARE(wizard->tblReadings->rowCount(), 9);
        QVERIFY(!wizard->controller()->run(CalcheckRun::Kind::AsFound).passed());
        QVERIFY(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard));
        QCOMPARE(wizard->lblResult->text(), GetResText(5748));
        QCOMPARE(wizard->lblDrift->text(), GetResText(5751));

        const CalcheckRecord &record = wizard->finishedRecord();
        QVERIFY(record.device.uniqueId.endsWith(QString::number(rig.device.deviceId(), 16)
                                                    .toUpper()
                                                    .rightJustified(6, QLatin1Char('0'))));
        // The identity the device reported, not the dataset's defaults.
        QVERIFY(record.device.sensorSerialNumber.toLongLong() > 0);
        HistoryDatabase history(HistoryDatabase::defaultPath());
        CalcheckRecordStore store(history);
        QVERIFY(store.open());
        const QList<CalcheckRecord> kept = store.records(record.device.uniqueId);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept.first().technician, QStringLiteral("R. Lindqvist"));
        QCOMPARE(kept.first().asFound.readings.size(), 9);
        QVERIFY(kept.first().passed());

        QTest::mouseClick(wizard->cmdCertificate, Qt::LeftButton);
        clsHTMLPrintWindow *certificate = certificateWindow();
        QVERIFY(certificate);
        const QString page = certificate->browser()->toPlainText();
        QVERIFY(page.contains(record.device.tag));
        QVERIFY(page.contains(QStringLiteral("PC6-20417")));
        QCOMPARE(page.count(GetResText(5737)), 9); // every as-found point failed
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("certificate.pdf"));
        ScriptedFileChooser chooser;
        chooser.enqueue(pdf);
        QVERIFY(certificate->exportPdf());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        certificate->close();

        // The next check shows how far the device drifted since this one.
        rig.device.injectZeroError(0.4); // 0.1 %
        QTest::mouseClick(wizard->cmdNewCheck, Qt::LeftButton);
        // Its set-up lists this one, whose certificate opens again.
        QTableWidget *past = wizard->tblPastChecks;
        QCOMPARE(past->rowCount(), 1);
        QCOMPARE(past->item(0, 1)->text(), QStringLiteral("R. Lindqvist"));
        QCOMPARE(past->item(0, 2)->text(), GetResText(5737));
        QCOMPARE(past->item(0, 3)->text(), GetResText(5736));
        QVERIFY(!wizard->cmdPastCertificate->isEnabled());
        past->selectRow(0);
        QTest::mouseClick(wizard->cmdPastCertificate, Qt::LeftButton);
        certificate = certificateWindow();
        QVERIFY(certificate);
        QCOMPARE(certificate->browser()->toPlainText(), page);
        certificate->close();

        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard));
        QVERIFY(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard));
        QVERIFY2(wizard->lblDrift->text().contains(QLocale().toString(0.5, 'f', 3)),
                 qPrintable(wizard->lblDrift->text()));
        QCOMPARE(store.records(record.device.uniqueId).size(), 2);
        QTest::mouseClick(wizard->cmdNewCheck, Qt::LeftButton);
        QCOMPARE(past->rowCount(), 2);
    }

    void closingTheWindowStopsAskingTheDevice()
    {
        MainWindowRig rig;
        const auto bench = CalcheckDemo::defaultSimulator(rig);
        QVERIFY(rig.connect());
        frmCalcheck *wizard = CalcheckDemo::open(rig);
        QVERIFY(wizard);
        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard, 1));
        QTRY_VERIFY(rig.idle());
        QTest::mouseClick(wizard->cmdMeasure, Qt::LeftButton);
        QVERIFY(wizard->controller()->isMeasuring());
        QVERIFY(rig.device.model().isPressureSourceAttached());
        wizard->parentWidget()->close();
        QSignalSpy answers(&rig.link(), &HartLink::responseReceived);
        QVERIFY(!wizard->controller()->isMeasuring());
        // The device is back on its moving process.
        QVERIFY(!rig.device.model().isPressureSourceAttached());
        // The request out when the window closed is answered; none follows,
        // and no further read is due that could send one later.
        QTRY_VERIFY(rig.idle());
        QVERIFY(!wizard->controller()->isPolling());
        QVERIFY2(answers.size() <= 1, qPrintable(QString::number(answers.size())));
        QCOMPARE(wizard->controller()->run(CalcheckRun::Kind::AsFound).readings.size(), 1);

        // Opened again, the point waits for its Measure and the run goes on.
        rig.form().runMenuCommand(QStringLiteral("mnuCalibrateCheck"));
        QVERIFY(wizard->isVisible());
        QVERIFY(wizard->cmdMeasure->isEnabled());
        QVERIFY(CalcheckDemo::finishRun(rig, *wizard));
    }

    // The program's own device as it starts: its process moves by itself and
    // its sensor is noisy. On the bench the source takes each point's
    // pressure, each reading settles within seconds, the ammeter's current
    // is the one of the stable reading; the whole check ends in its
    // certificate and the process moves again.
    void wholeCheckOnTheDefaultSimulator()
    {
        MainWindowRig rig;
        const auto bench = CalcheckDemo::defaultSimulator(rig);
        rig.device.seedNoise(11);
        QVERIFY(rig.connect());
        frmCalcheck *wizard = CalcheckDemo::open(rig);
        QVERIFY(wizard);
        CalcheckController &controller = *wizard->controller();
        controller.setTimeoutMs(10000);
        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard, 1));
        // The ammeter writes the field: it follows the source on its way to
        // the next point (8 mA) from the current of the first reading.
        QVERIFY(wizard->cmdApply->isVisibleTo(wizard));
        QVERIFY(wizard->txtMeasuredCurrent->isReadOnly());
        const CalcheckReading first = controller.run(CalcheckRun::Kind::AsFound).readings.first();
        QVERIFY(qAbs(first.measuredCurrent - 4.0) < 0.1);
        const double shown = QLocale().toDouble(wizard->txtMeasuredCurrent->text());
        QVERIFY2(shown > first.measuredCurrent && shown < 8.1,
                 qPrintable(wizard->txtMeasuredCurrent->text()));
        QVERIFY(CalcheckDemo::finishRun(rig, *wizard));
        QVERIFY(!controller.run(CalcheckRun::Kind::AsFound).passed());
        QVERIFY(rig.device.model().isPressureSourceAttached()); // held for the adjustment
        QVERIFY(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard));
        QCOMPARE(wizard->lblResult->text(), GetResText(5748));
        const CalcheckRun &left = wizard->finishedRecord().asLeft;
        QCOMPARE(left.readings.size(), 9);
        // The ammeter read the current of the stable reading, not of the
        // moment the point came up: it agrees with the pressure read with it.
        for (const CalcheckReading &reading : left.readings) {
            QVERIFY(reading.hasMeasuredCurrent() && reading.currentApplies());
            QVERIFY2(qAbs(reading.currentError - reading.pvError) < 0.005,
                     qPrintable(QString::number(reading.currentError)));
        }
        QTest::mouseClick(wizard->cmdCertificate, Qt::LeftButton);
        clsHTMLPrintWindow *certificate = certificateWindow();
        QVERIFY(certificate);
        QCOMPARE(certificate->browser()->toPlainText().count(GetResText(5736)), 10);
        certificate->close();
        QVERIFY(!rig.device.model().isPressureSourceAttached());
    }

    // At a multidrop address the loop current stays at 4 mA: the check says
    // so, shows no current and judges each point by its pressure alone.
    void multidropCheckRestsOnThePressure()
    {
        MainWindowRig rig({QStringLiteral("--address"), QStringLiteral("3")});
        rig.device.setLoopPosition(3, 0);
        const auto bench = CalcheckDemo::defaultSimulator(rig);
        rig.device.setNoiseLevel(0);
        QVERIFY(rig.connect());
        frmCalcheck *wizard = CalcheckDemo::open(rig);
        QVERIFY(wizard);
        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard, 1));
        QVERIFY(wizard->lblMultidrop->isVisibleTo(wizard));
        QVERIFY(wizard->lblMultidrop->text().contains(QStringLiteral("3")));
        QCOMPARE(wizard->txtMeasuredCurrent->text(), GetResText(7101));
        QVERIFY(!wizard->txtMeasuredCurrent->isEnabled());
        QVERIFY(CalcheckDemo::finishRun(rig, *wizard));
        QVERIFY(!wizard->cmdCurrentTrim->isEnabled());
        QVERIFY(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard));
        QCOMPARE(wizard->lblResult->text(), GetResText(5748));
        QVERIFY(wizard->lblDrift->text().endsWith(
            CalcheckCertificate::multidropNote(wizard->finishedRecord().asLeft)));
        QCOMPARE(wizard->tblAsLeft->item(2, 4)->text(), GetResText(7101));
        QCOMPARE(wizard->tblAsLeft->item(2, 6)->text(), GetResText(7101));

        // Kept so, and so on its certificate.
        HistoryDatabase history(HistoryDatabase::defaultPath());
        CalcheckRecordStore store(history);
        QVERIFY(store.open());
        const CalcheckRecord kept = store.last(wizard->finishedRecord().device.uniqueId).value();
        QCOMPARE(kept.asLeft.pollingAddress, 3);
        QVERIFY(kept.passed());
        QVERIFY(!kept.asLeft.readings.first().currentApplies());
        QTest::mouseClick(wizard->cmdCertificate, Qt::LeftButton);
        clsHTMLPrintWindow *certificate = certificateWindow();
        QVERIFY(certificate);
        const QString page = certificate->browser()->toPlainText();
        QCOMPARE(page.count(CalcheckCertificate::multidropNote(kept.asLeft)), 2);
        QCOMPARE(page.count(GetResText(7101)), 36);
        certificate->close();
    }

    // The bench belongs to the simulated transmitter: over another link the
    // check has no source that would drive a device it is not talking to.
    void sourceOnlyWhileTheLinkGoesToTheSimulator()
    {
        MainWindowRig rig;
        auto bench = CalcheckDemo::defaultSimulator(rig);
        QVERIFY(CalcheckSource::current());
        HartLinkProfile profile = rig.link().profile();
        profile.kind = HartLinkProfile::Kind::HartIp;
        profile.host = QStringLiteral("127.0.0.1");
        rig.link().setProfile(profile);
        QVERIFY(!CalcheckSource::current());
        profile.kind = HartLinkProfile::Kind::Simulator;
        rig.link().setProfile(profile);
        QVERIFY(CalcheckSource::current());
        bench.reset();
        QVERIFY(!CalcheckSource::current());
    }

    void incompleteCheckIsNotKept()
    {
        CalcheckRecord record = oldCheck();
        record.asLeft.complete = false;
        QTemporaryDir folder;
        HistoryDatabase history(folder.filePath(QStringLiteral("history.sqlite")));
        CalcheckRecordStore store(history, QString());
        QString error;
        QVERIFY(!store.save(record, &error));
        QVERIFY(store.open());
        QVERIFY(store.records(record.device.uniqueId).isEmpty());
    }

    void checksOfTheOldFileAreTakenOverOnce_data()
    {
        QTest::addColumn<int>("version");
        QTest::newRow("the old file") << CalcheckLegacyFile::SchemaVersion;
        QTest::newRow("a version this one cannot read") << CalcheckLegacyFile::SchemaVersion + 1;
    }

    void checksOfTheOldFileAreTakenOverOnce()
    {
        QFETCH(int, version);
        const bool known = version == CalcheckLegacyFile::SchemaVersion;
        QTemporaryDir folder;
        const QString old = folder.filePath(QStringLiteral("calibration.sqlite"));
        OldCheckFile writer(old, version);
        QVERIFY(QFile::exists(old + QStringLiteral("-wal")));
        const QByteArray before = fileBytes(old) + fileBytes(old + QStringLiteral("-wal"));

        HistoryDatabase history(folder.filePath(QStringLiteral("history.sqlite")));
        for (int open = 0; open < 2; ++open) {
            CalcheckRecordStore store(history, old);
            QVERIFY(store.open());
            const QList<CalcheckRecord> kept = store.records(QStringLiteral("3C9D000001"));
            QCOMPARE(kept.size(), known ? 1 : 0);
            if (known) {
                // The drift of the next check is counted from it.
                QCOMPARE(store.last(QStringLiteral("3C9D000001"))->technician,
                         QStringLiteral("A. Berg"));
                QCOMPARE(kept.first().asLeft.readings.size(), 1);
            }
        }
        // What this version cannot read is kept as it was, and nothing twice.
        CalibrationStore calibrations(history);
        QCOMPARE(calibrations.list(QStringLiteral("3C-9D-000001")).size(), known ? 2 : 0);
        QCOMPARE(calibrations.imported(QFileInfo(old).absoluteFilePath()), known);
        QCOMPARE(fileBytes(old) + fileBytes(old + QStringLiteral("-wal")), before);
    }
};

VEX_TEST(TstCalcheckWizard)
#include "tst_CalcheckWizard.moc"
