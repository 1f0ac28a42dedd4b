#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ChangeNames.h"
#include "CompareController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "HistoryController.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "TestHost.h"
#include "VexaLabelTextUnit.h"
#include "VexaValueEdit.h"
#include "dialogs/frmCalibrateCurrent.h"
#include "dialogs/frmCalibratePressure.h"
#include "hart/HartCodec.h"
#include "history/CompareTable.h"
#include "history/HistoryTexts.h"
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
#include <QRadioButton>
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

// Item, old value and new value of each change the History window lists.
QList<QStringList> loggedValues(const frmHistory &history)
{
    QList<QStringList> rows;
    for (int i = 0; i < history.lvwChanges->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = history.lvwChanges->topLevelItem(i);
        rows.append({row->text(4), row->text(5), row->text(6)});
    }
    return rows;
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

    void cleanup()
    {
        m_rig.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // Whatever the device's sequences write has a name the user knows: each
    // value a write carries, each command without one, each dialog action.
    void everyWriteHasTheUsersName()
    {
        const DeviceDescription description = testhost::builtInDescription();
        const auto record = [&description](const QString &name) {
            return std::find_if(description.records.begin(), description.records.end(),
                                [&name](const RecordDefinition &r) { return r.name == name; });
        };
        QStringList unnamed;
        for (const SequenceDefinition &sequence : description.sequences) {
            bool writes = false;
            for (const SequenceStep &step : sequence.steps) {
                if (step.kind != SequenceStep::Kind::Write)
                    continue;
                writes = true;
                const auto written = record(step.record);
                QVERIFY(written != description.records.end());
                QStringList names;
                for (const FieldDefinition &field : written->request) {
                    if (!field.item.isEmpty() && !field.isConstant)
                        names << field.item;
                }
                if (names.isEmpty() && ChangeNames::fixedWrite(written->name))
                    names << QLatin1String(ChangeNames::fixedWrite(written->name)->item);
                if (names.isEmpty())
                    names << written->name; // a command without a value
                for (const QString &name : names) {
                    if (HistoryTexts::itemLabel(name) == name)
                        unnamed << name;
                }
            }
            // Save to device and the Compare window's writes have reasons of their own.
            if (writes && sequence.name != "DOWNLOAD" &&
                HistoryTexts::reason(sequence.name).contains(sequence.name))
                unnamed << sequence.name;
        }
        QCOMPARE(unnamed, QStringList());
    }

    // What a dialog writes is listed by the names the dialog gives it, with
    // units, and with the device's value before the write or plainly
    // "not read" where the device was never asked for it.
    void dialogWritesAreLoggedAsTheDialogNamesThem_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QList<QStringList>>("logged"); // newest first
        QTest::addColumn<QString>("reason");
        QTest::newRow("balance point")
            << "en"
            << "pressure" << QList<QStringList>{{"Upper Balance Point", "400 mbar", "352.25 mbar"}}
            << "Calibrate Pressure Measurement: Upper Balance Point";
        QTest::newRow("balance point, German")
            << "de"
            << "pressure" << QList<QStringList>{{"Oberer Abgleichpunkt", "400 mbar", "352,25 mbar"}}
            << "Kalibrieren Druckmessung: Oberer Abgleichpunkt";
        QTest::newRow("current trim")
            << "en"
            << "current"
            << QList<QStringList>{{"Adjustment 4 mA: Measured Current", "not read", "4.02 mA"},
                                  {"Fixed output current", "not read", "4 mA"}}
            << "Calibrate Current Output: Adjustment 4 mA";
        QTest::newRow("current trim, German")
            << "de"
            << "current"
            << QList<QStringList>{{"Abgleich 4 mA: Gemessener Strom", "nicht gelesen", "4,02 mA"},
                                  {"Fester Ausgangsstrom", "nicht gelesen", "4 mA"}}
            << "Kalibrieren Ausgangsstrom: Abgleich 4 mA";
    }

    void dialogWritesAreLoggedAsTheDialogNamesThem()
    {
        QFETCH(QString, language);
        QFETCH(QString, dialog);
        QFETCH(QList<QStringList>, logged);
        QFETCH(QString, reason);
        // One program at a time: the main window's device information is global.
        m_rig.reset();
        QLocale::setDefault(language == "de" ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedStates));
        m_rig = std::make_unique<MainWindowRig>(
            QStringList{"--history", m_dir.filePath(QTest::currentDataTag())});
        QVERIFY(m_rig->connect());
        // A question before sending gets its default answer.
        ScriptedMessageBox box;
        const auto settled = [this] { return m_rig->idle() && m_rig->form().isEnabled(); };
        if (dialog == "pressure") {
            m_rig->form().runMenuCommand(QStringLiteral("mnuCalibratePressure"));
            auto *window = childWindow<frmCalibratePressure>(*m_rig);
            QVERIFY(window);
            QTRY_VERIFY(!window->calPointsReadPending() && settled());
            m_rig->set("calibrationCalHi", "352.25");
            QTest::mouseClick(window->cmdSetCalPoint[1], Qt::LeftButton);
        } else {
            m_rig->form().runMenuCommand(QStringLiteral("mnuCalibrateCurrent"));
            auto *window = childWindow<frmCalibrateCurrent>(*m_rig);
            QVERIFY(window);
            QTRY_VERIFY(window->IsInitialized() && settled());
            QTest::mouseClick(window->optAbgleich[1], Qt::LeftButton);
            QTRY_VERIFY(settled() && !window->awaitingOutputResponse());
            QLineEdit *measured = window->txtMeasPvCurrLevel[0]->edit();
            measured->selectAll();
            QTest::keyClicks(measured, QLocale().toString(4.02, 'f', 2));
            QTest::keyClick(measured, Qt::Key_Return);
            QTest::mouseClick(window->cmdAbgleichen, Qt::LeftButton);
        }
        QTRY_VERIFY(settled());

        m_rig->form().runMenuCommand(QStringLiteral("mnuDeviceHistory"));
        auto *history = childWindow<frmHistory>(*m_rig);
        QVERIFY(history);
        QTRY_COMPARE(loggedValues(*history), logged);
        QCOMPARE(history->lvwSnapshots->topLevelItem(0)->text(4), reason);
    }

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
        // By the name the user reads or the device's.
        for (const char *part : {"damp", "filter"}) {
            history->txtItem->setText(part);
            QTRY_COMPARE(history->lvwChanges->topLevelItemCount(), 1);
            history->txtItem->clear();
            QTRY_COMPARE(history->lvwChanges->topLevelItemCount(), 2);
        }
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
        // As the window shows it.
        QVERIFY(lines.join('\n').contains(",Damping,0 s,2.5 s,Accepted"));
        QVERIFY(QDateTime::fromString(lines[1].section(',', 0, 0), Qt::ISODate).isValid());
    }
};

VEX_TEST(TstHistoryWindows)
#include "tst_HistoryWindows.moc"
