#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "mainwin/MainWindowCommands.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

// What a person does in one sitting, through the program's own menu commands
// and windows, on the real host and the simulated transmitter.
class TstUserSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }

    void aWholeSession()
    {
        MainWindowRig rig;
        rig.form().setCommands(MainWindowCommands::program());
        ScriptedMessageBox box;
        ScriptedFileChooser chooser;
        QTemporaryDir dir;

        // Connect and load the dataset from the device.
        QVERIFY(rig.connect());
        rig.form().runMenuCommand("mnuDeviceLoadFromDevice");
        QTRY_COMPARE_WITH_TIMEOUT(rig.text("&&private&&CurrentSource"), "2", 5000);
        QTRY_VERIFY(rig.idle());
        const QString damping = rig.text("filterTime");

        // Save it to a file, change a value, open the file again.
        const QString path = dir.filePath("site.vexds");
        chooser.enqueue(path);
        rig.form().runMenuCommand("mnuFileSaveAs");
        QTRY_VERIFY(QFile::exists(path));
        rig.set("filterTime", "9.5");
        chooser.enqueue(path);
        rig.form().runMenuCommand("mnuFileOpen");
        QTRY_COMPARE(rig.text("filterTime"), damping);
        QCOMPARE(rig.text("&&private&&CurrentSource"), "1");

        // Print preview: the report with the device's tag.
        rig.form().runMenuCommand("mnuFilePrintPreview");
        QTRY_VERIFY(clsHTMLPrintView::window() && clsHTMLPrintView::window()->isVisible());
        QVERIFY(clsHTMLPrintView::window()->browser()->toPlainText().contains(
            rig.text("_tagHART").trimmed()));
        clsHTMLPrintView::window()->close();

        // Factory reset: confirmed, the device restarts, the program connects again.
        box.enqueue(QMessageBox::Ok);
        rig.form().runMenuCommand("mnuDeviceResetLoadDefault");
        QTRY_VERIFY(rig.device.isRestarting());
        QTRY_VERIFY(rig.instance().connection().status() != 2); // dropped, or asking again
        rig.advanceDeviceClock(TransmitterModel::RestartMs);
        QTRY_COMPARE(rig.instance().connection().status(), 2);
        QVERIFY(box.asked().size() >= 1);

        // A new dataset from the default datasets: the first type and range.
        // Answered as soon as the modal dialog is up and has its lists filled;
        // given up (closed) after a while so that a fault cannot hang the run.
        bool accepted = false;
        int tries = 0;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            auto *ok = dialog ? dialog->findChild<QPushButton *>("cmdOK") : nullptr;
            if (ok && ok->isEnabled() && dialog->objectName() == "frmSelectDefaultDataset") {
                answer.stop();
                ok->click();
                accepted = true;
            } else if (++tries > 250 && dialog) {
                answer.stop();
                dialog->close();
            }
        });
        answer.start(20);
        rig.set("InCompatibleDataset", "3");
        rig.form().runMenuCommand("mnuFileNew");
        QVERIFY(accepted);
        QCOMPARE(rig.text("InCompatibleDataset"), "0");
        QCOMPARE(rig.text("&&private&&CurrentSource"), "0");
    }
};

VEX_TEST(TstUserSession)
#include "tst_UserSession.moc"
