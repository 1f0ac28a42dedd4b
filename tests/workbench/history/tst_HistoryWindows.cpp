#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "CompareController.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "HistoryController.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "hart/HartCodec.h"
#include "history/CompareTable.h"
#include "history/frmCompare.h"
#include "history/frmHistory.h"
#include "history/frmSavePreview.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

template <class T> T *childWindow(const MainWindowRig &rig)
{
    for (QMdiSubWindow *frame : rig.form().mdiArea()->subWindowList()) {
        if (auto *window = qobject_cast<T *>(frame->widget()))
            return window;
    }
    return nullptr;
}

frmSavePreview *openPreview()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *p = qobject_cast<frmSavePreview *>(w); p && p->isVisible())
            return p;
    }
    return nullptr;
}

QStringList differing(const CompareController &controller)
{
    QStringList names;
    for (const DatasetComparison::Row &row : controller.rows()) {
        if (row.differs)
            names << row.name;
    }
    names.sort();
    return names;
}

} // namespace

class TstHistoryWindows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindowRig> m_rig;

    const TransmitterSettings &device() const { return m_rig->device.model().settings(); }

    // The Compare window through the menu, once it has read the device.
    frmCompare *openCompare()
    {
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceCompare"));
        auto *window = childWindow<frmCompare>(*m_rig);
        // The read it starts shows the busy state until the busy window goes.
        if (window && !QTest::qWaitFor([this, window] {
                return window->controller()->state() == CompareController::State::Idle &&
                       m_rig->form().isEnabled();
            }))
            return nullptr;
        return window;
    }

    // The dataset equal to the device, then three values changed.
    frmCompare *threeDifferences()
    {
        if (!m_rig->connect())
            return nullptr;
        QSignalSpy ended(&m_rig->instance().engine(), &SequenceEngine::sequenceEnded);
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceLoadFromDevice"));
        // The upload (its start is posted) over, and the busy state with it.
        if (!QTest::qWaitFor([&] {
                const bool uploaded = std::any_of(ended.begin(), ended.end(), [](const auto &e) {
                    return e.first().toString() == "UPLOAD";
                });
                return uploaded && m_rig->idle() && m_rig->form().isEnabled();
            }))
            return nullptr;
        frmCompare *window = openCompare();
        m_rig->set("filterTime", "2.5");
        m_rig->set("_tagHART", "PT-7");
        m_rig->set("alarmSelection", "0");
        return window;
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }

    void init()
    {
        QSettings().clear();
        m_rig = std::make_unique<MainWindowRig>(
            QStringList{"--history", m_dir.filePath(QTest::currentTestFunction())});
    }

    void cleanup() { m_rig.reset(); }

    void compareShowsTheDifferencesAndWritesTheTickedOnes()
    {
        frmCompare *window = threeDifferences();
        QVERIFY(window);
        CompareController &controller = *window->controller();
        QTRY_COMPARE(differing(controller),
                     (QStringList{"_tagHART", "alarmSelection", "filterTime"}));
        QVERIFY(!window->cmdWrite->isEnabled());

        window->chkOnlyDifferences->setChecked(true);
        QCOMPARE(window->table()->topLevelItemCount(), 3); // one group each
        window->table()->rowOf("filterTime")->setCheckState(0, Qt::Checked);
        window->table()->rowOf("_tagHART")->setCheckState(0, Qt::Checked);
        QCOMPARE(controller.checkedItems(), (QStringList{"_tagHART", "filterTime"}));
        QVERIFY(window->cmdWrite->isEnabled());
        const quint8 alarm = device().alarmSelection;
        QTest::mouseClick(window->cmdWrite, Qt::LeftButton);
        QTRY_COMPARE(device().dampingSeconds, 2.5);
        QCOMPARE(HartCodec::unpackAscii(device().tag).trimmed(), QStringLiteral("PT-7"));
        QCOMPARE(device().alarmSelection, alarm);
        QTRY_COMPARE(differing(controller), QStringList{"alarmSelection"});

        // The History window lists the snapshot and the two values written.
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceHistory"));
        auto *history = childWindow<frmHistory>(*m_rig);
        QVERIFY(history);
        QTRY_COMPARE(history->lvwSnapshots->topLevelItemCount(), 1);
        QCOMPARE(history->lvwChanges->topLevelItemCount(), 2);
        history->txtItem->setText("filter");
        QTRY_COMPARE(history->lvwChanges->topLevelItemCount(), 1);
    }

    void takingIntoTheDatasetLeavesTheDevice()
    {
        frmCompare *window = threeDifferences();
        QVERIFY(window);
        QTRY_COMPARE(differing(*window->controller()).size(), 3);
        window->table()->rowOf("alarmSelection")->setCheckState(0, Qt::Checked);
        QTest::mouseClick(window->cmdTake, Qt::LeftButton);
        QCOMPARE(m_rig->text("alarmSelection"), QString::number(device().alarmSelection));
        QTRY_COMPARE(differing(*window->controller()), (QStringList{"_tagHART", "filterTime"}));
    }

    void saveToDeviceShowsThePreviewFirst_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("write") << true;
        QTest::newRow("cancel") << false;
    }

    void saveToDeviceShowsThePreviewFirst()
    {
        QFETCH(bool, write);
        MainWindowCommands commands = m_rig->form().commands();
        commands.previewSaveToDevice = MainWindowCommands::program().previewSaveToDevice;
        m_rig->form().setCommands(commands);
        QVERIFY(threeDifferences());
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceSaveToDevice"));
        frmSavePreview *preview = openPreview();
        QVERIFY(preview);
        QTRY_COMPARE(differing(*preview->controller()),
                     (QStringList{"_tagHART", "alarmSelection", "filterTime"}));
        QTRY_VERIFY(preview->cmdWrite->isEnabled());
        QTest::mouseClick(write ? preview->cmdWrite : preview->cmdCancel, Qt::LeftButton);
        if (!write) {
            QVERIFY(m_rig->idle());
            QCOMPARE(device().dampingSeconds, 0.0);
            return;
        }
        QTRY_COMPARE(device().dampingSeconds, 2.5);
        QTRY_VERIFY(m_rig->idle());
        QCOMPARE(device().alarmSelection, quint8(0));
    }

    void thePreviewCanBeSwitchedOff()
    {
        MainWindowCommands commands = m_rig->form().commands();
        commands.previewSaveToDevice = MainWindowCommands::program().previewSaveToDevice;
        m_rig->form().setCommands(commands);
        frmSavePreview::setEnabled(false);
        QVERIFY(threeDifferences());
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceSaveToDevice"));
        QVERIFY(!openPreview());
        QTRY_COMPARE(device().dampingSeconds, 2.5);
    }

    void aSnapshotIsRestoredAfterThePreview()
    {
        QVERIFY(threeDifferences());
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceSaveToDevice"));
        QTRY_COMPARE(device().dampingSeconds, 2.5);
        QTRY_VERIFY(m_rig->idle());

        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceHistory"));
        auto *history = childWindow<frmHistory>(*m_rig);
        QVERIFY(history);
        QTRY_COMPARE(history->lvwSnapshots->topLevelItemCount(), 1);
        history->lvwSnapshots->topLevelItem(0)->setSelected(true);
        QVERIFY(history->cmdRestore->isEnabled());
        QTest::mouseClick(history->cmdRestore, Qt::LeftButton);
        frmSavePreview *preview = openPreview();
        QVERIFY(preview);
        QTRY_COMPARE(differing(*preview->controller()),
                     (QStringList{"_tagHART", "alarmSelection", "filterTime"}));
        QTest::mouseClick(preview->cmdWrite, Qt::LeftButton);
        QTRY_COMPARE(device().dampingSeconds, 0.0);
        QTRY_COMPARE(device().alarmSelection, quint8(1));
        QCOMPARE(HartCodec::unpackAscii(device().tag).trimmed(), QStringLiteral("PT-1"));
    }

    void theLogIsExportedAsCsv()
    {
        QVERIFY(threeDifferences());
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceSaveToDevice"));
        QTRY_VERIFY(m_rig->idle());
        QTRY_COMPARE(device().dampingSeconds, 2.5);
        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceHistory"));
        auto *history = childWindow<frmHistory>(*m_rig);
        QVERIFY(history);
        // The values the download changed; those it wrote as they were are not logged.
        QTRY_COMPARE(history->lvwChanges->topLevelItemCount(), 3);
        ScriptedFileChooser chooser;
        ScriptedMessageBox box;
        chooser.enqueue(m_dir.filePath("log.csv"));
        QTest::mouseClick(history->cmdExport, Qt::LeftButton);
        QCOMPARE(box.texts(), QStringList());
        QFile file(m_dir.filePath("log.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), frmHistory::logHeader().join(','));
        QCOMPARE(lines.size(), history->lvwChanges->topLevelItemCount() + 1);
        QVERIFY(lines.join('\n').contains(",filterTime,0,2.5,"));
        QVERIFY(QDateTime::fromString(lines[1].section(',', 0, 0), Qt::ISODate).isValid());
    }
};

VEX_TEST(TstHistoryWindows)
#include "tst_HistoryWindows.moc"
