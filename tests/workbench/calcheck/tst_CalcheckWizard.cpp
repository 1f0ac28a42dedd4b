#include "CalcheckDemo.h"
#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "FileChooser.h"
#include "ScriptedMessageBox.h"
#include "calcheck/CalcheckController.h"
#include "calcheck/CalcheckRecordStore.h"
#include "calcheck/frmCalcheck.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
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

} // namespace

class TstCalcheckWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CalcheckDemo::registerViews(); }
    void init() { QFile::remove(CalcheckRecordStore::defaultPath()); }

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
        CalcheckRecordStore store;
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
        QVERIFY(CalcheckDemo::runAsFound(rig, *wizard));
        QVERIFY(CalcheckDemo::adjustAndRunAsLeft(rig, *wizard));
        QVERIFY2(wizard->lblDrift->text().contains(QLocale().toString(0.5, 'f', 3)),
                 qPrintable(wizard->lblDrift->text()));
        QCOMPARE(store.records(record.device.uniqueId).size(), 2);
    }

    void incompleteCheckIsNotKept()
    {
        CalcheckRecord record;
        record.device.uniqueId = QStringLiteral("3C9D000001");
        record.asFound.complete = true;
        CalcheckRecordStore store;
        QVERIFY(store.open());
        QString error;
        QVERIFY(!store.save(record, &error));
        QVERIFY(store.records(record.device.uniqueId).isEmpty());
        // A file of another program is left as it is.
        QTemporaryDir folder;
        const QString foreign = folder.filePath(QStringLiteral("other.sqlite"));
        QFile file(foreign);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a database at all, just text that must stay");
        file.close();
        CalcheckRecordStore other(foreign);
        QVERIFY(!other.open(&error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a database at all, just text that must stay"));
    }
};

VEX_TEST(TstCalcheckWizard)
#include "tst_CalcheckWizard.moc"
