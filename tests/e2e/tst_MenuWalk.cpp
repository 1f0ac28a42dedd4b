#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "clsHTMLPrintView.h"
#include "clsHTMLPrintWindow.h"
#include "history/frmHistoryServer.h"
#include "history/frmSavePreview.h"
#include "links/frmConnectionSettings.h"
#include "mainwin/HelpBrowser.h"
#include "mainwin/MainCommandBar.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/MainToolBar.h"
#include "mainwin/ReadMe.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

// The child window a menu entry opens, by the entry's name.
const QHash<QString, QString> ChildWindows{
    {"mnuDeviceIdentification", "frmIdentification"},
    {"mnuDeviceCompare", "frmCompare"},
    {"mnuDeviceHistory", "frmHistory"},
    {"mnuDeviceFleet", "frmFleet"},
    {"mnuDeviceGenericView", "frmGenericView"},
    {"mnuDisplayBar", "frmDisplayBar"},
    {"mnuDisplayDigital", "frmDisplayDigital"},
    {"mnuDisplayGauge", "frmDisplayNeedle"},
    {"mnuDisplayTrend", "frmDisplayTrend"},
    {"mnuDisplayMeasuredValues", "frmMeasuredValues"},
    {"mnuDiagnosticsStatus", "frmStatus"},
    {"mnuDiagnosticsMaxValues", "frmMaxValues"},
    {"mnuDiagnosticsEventCounter", "frmEventCounter"},
    {"mnuDiagnosticsSimulateCurrent", "frmSimulateCurrent"},
    {"mnuDiagnosticsSimulateStatus", "frmSimulateStatus"},
    {"mnuConfigurePrimaryMeasurement", "frmConfigPrimaryMeas"},
    {"mnuConfigureDiagnosis", "frmConfigDiagnosis"},
    {"mnuConfigureBasicParameter", "frmBasicParameter"},
    {"mnuCalibratePressure", "frmCalibratePressure"},
    {"mnuCalibrateCurrent", "frmCalibrateCurrent"},
    {"mnuCalibrateCheck", "frmCalcheck"},
};
// Entries whose windows are not there yet are passed over; once wired, the
// walk opens them like the others: remove them here then.
const QStringList WiredLater;
// The question asked before the window opens (text id).
const QHash<QString, int> Questions{{"mnuDiagnosticsSimulateCurrent", 2534},
                                    {"mnuDiagnosticsSimulateStatus", 3516}};

} // namespace

// Every menu entry and toolbar button of the main window, chosen as a person
// chooses it, while not connected and while connected: each opens its window
// or does what its command does. A window that opened is closed again, a
// device left in a simulation mode is taken out of it.
class TstMenuWalk : public QObject
{
    Q_OBJECT

private:
    MainWindowRig *m_rig = nullptr;
    ScriptedMessageBox *m_box = nullptr;
    ScriptedFileChooser *m_chooser = nullptr;
    QStringList m_failures;
    QStringList m_walked;

    frmMain &form() const { return m_rig->form(); }
    DeviceInstance &instance() const { return m_rig->instance(); }
    int connection() const { return instance().connection().status(); }

    void expect(bool ok, const QString &element, const QString &what)
    {
        if (!ok)
            m_failures << element + ": " + what;
    }
    static frmSavePreview *savePreview()
    {
        for (QWidget *widget : QApplication::allWidgets())
            if (auto *preview = qobject_cast<frmSavePreview *>(widget);
                preview && preview->isVisible())
                return preview;
        return nullptr;
    }

    static bool waitFor(const std::function<bool()> &condition, int ms = 5000)
    {
        return QTest::qWaitFor(condition, ms);
    }
    bool settled() const
    {
        return waitFor([this] { return m_rig->idle() && form().isEnabled(); });
    }

    // The menus above a menu entry, outermost first.
    static QStringList menusAbove(const QString &entry)
    {
        QStringList open;
        for (const MainMenuEntry &e : MainCommandTable::entries()) {
            open = open.mid(0, e.level);
            if (entry == QLatin1String(e.name))
                return open;
            if (e.opensMenu())
                open << QLatin1String(e.name);
        }
        return {};
    }
    // Whether a person can choose it: it and every menu above it shown and enabled.
    bool reachable(const QString &element) const
    {
        QAction *a = action(element);
        if (!a || !a->isVisible() || !a->isEnabled())
            return false;
        for (const QString &menu : menusAbove(element)) {
            QAction *opens = form().commandBar().menu(menu)->menuAction();
            if (!opens->isVisible() || !opens->isEnabled())
                return false;
        }
        return true;
    }

    QAction *action(const QString &element) const
    {
        QAction *a = form().menuEntry(element);
        return a ? a : form().toolbarButton(element);
    }
    // As a person chooses it: the menu entry's or the button's action.
    void choose(const QString &element) { action(element)->trigger(); }

    // The modal window the element opens, by name; closed at once.
    QString chooseModal(const QString &element)
    {
        QString seen;
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, this, [&seen] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                seen = modal->objectName();
                modal->close();
            }
        });
        closer.start();
        choose(element);
        return seen;
    }

    QMdiSubWindow *child(const QString &name) const
    {
        for (QMdiSubWindow *frame : form().mdiArea()->subWindowList()) {
            if (frame->isVisible() && frame->widget() && frame->widget()->objectName() == name)
                return frame;
        }
        return nullptr;
    }
    int openChildren() const
    {
        int open = 0;
        for (QMdiSubWindow *frame : form().mdiArea()->subWindowList())
            open += frame->isVisible();
        return open;
    }
    bool simulating() const
    {
        const TransmitterModel &model = m_rig->device.model();
        return model.diagnosis().isSimulationActive() || model.fixedCurrent() > 0.0;
    }
    // Closes every child window; one that asks whether to end its simulation
    // is answered Yes and closes itself once the device has answered.
    void closeChildren()
    {
        for (int i = 0; i < 4; ++i)
            m_box->enqueue(QMessageBox::Yes);
        form().UnloadChildForms();
        waitFor([this] { return openChildren() == 0 && m_rig->idle(); });
    }

    void openWindow(const QString &element, const QString &entry)
    {
        const QString name = ChildWindows.value(entry);
        if (Questions.contains(entry))
            m_box->enqueue(QMessageBox::Yes);
        choose(element);
        if (Questions.contains(entry)) {
            expect(!m_box->asked().isEmpty() &&
                       m_box->asked().first().text == GetResText(qint16(Questions[entry])),
                   element, "no question first");
        }
        QMdiSubWindow *frame = child(name);
        expect(frame, element, name + " not opened");
        if (!frame)
            return;
        if (entry == "mnuDiagnosticsSimulateStatus" && connection() == 2)
            simulateStatus(element, frame->widget());
        // Compare reads the device when it has not read all of it yet.
        if (entry == "mnuDeviceCompare")
            settled();
        closeChildren();
        expect(!child(name), element, name + " not closed");
        expect(!simulating(), element, "the device still simulates");
    }

    // Switches the status simulation on, as a person does, so that closing
    // has a simulation to end.
    void simulateStatus(const QString &element, QWidget *dialog)
    {
        dialog->findChild<QAbstractButton *>("optToggleSimulation1")->click();
        dialog->findChild<QAbstractButton *>("cmdSetDiagnosisSimulation")->click();
        settled();
        expect(m_rig->device.model().diagnosis().isSimulationActive(), element,
               "the simulation did not start");
        EnableMainWindow(true);
    }

    QLineEdit *tagField(const QString &element)
    {
        form().runMenuCommand("mnuDeviceIdentification");
        QMdiSubWindow *frame = child("frmIdentification");
        auto *field = frame ? frame->widget()->findChild<QLineEdit *>() : nullptr;
        expect(field, element, "no field to work on");
        if (field)
            field->setFocus();
        return field;
    }

    void clipboard(const QString &element, const QString &entry)
    {
        QLineEdit *field = tagField(element);
        if (!field)
            return;
        if (entry == "mnuEditCopy") {
            QGuiApplication::clipboard()->clear();
            choose(element);
            expect(QGuiApplication::clipboard()->text() == field->text(), element,
                   "the field's text is not on the clipboard");
        } else {
            QGuiApplication::clipboard()->setText("PT-9");
            choose(element);
            expect(field->text() == "PT-9", element, "the clipboard's text is not in the field");
        }
        closeChildren();
    }

    void arrange(const QString &element, const QString &entry)
    {
        form().runMenuCommand("mnuDeviceIdentification");
        form().runMenuCommand("mnuDiagnosticsMaxValues");
        QList<QMdiSubWindow *> frames;
        for (QMdiSubWindow *frame : form().mdiArea()->subWindowList()) {
            if (frame->isVisible())
                frames << frame;
        }
        if (frames.size() != 2) {
            expect(false, element, "no windows to arrange");
            return;
        }
        choose(element);
        if (entry == "mnuWindowClose") {
            expect(!frames[0]->isVisible() || !frames[1]->isVisible(), element, "none closed");
            closeChildren();
            return;
        }
        const QRect a = frames[0]->geometry();
        const QRect b = frames[1]->geometry();
        if (entry == "mnuWindowCascade")
            expect(a.intersects(b) && a.topLeft() != b.topLeft(), element, "not cascaded");
        else
            expect(!a.intersects(b), element, "not tiled");
        closeChildren();
    }

    void fileCommand(const QString &element, const QString &entry)
    {
        if (entry == "mnuFileNew") {
            expect(chooseModal(element) == "frmSelectDefaultDataset", element,
                   "no default dataset selection");
            return;
        }
        if (entry == "mnuFilePrintPreview") {
            choose(element);
            expect(waitFor([] {
                       return clsHTMLPrintView::window() && clsHTMLPrintView::window()->isVisible();
                   }),
                   element, "no print preview");
            if (clsHTMLPrintView::window())
                clsHTMLPrintView::window()->close();
            return;
        }
        // Open, Save (no file yet) and Save As ask for a file; cancelled.
        const int asked = m_chooser->asked();
        m_chooser->enqueue(QString());
        choose(element);
        expect(waitFor([&] { return m_chooser->asked() == asked + 1; }), element,
               "no file asked for");
        settled();
    }

    void deviceCommand(const QString &element, const QString &entry)
    {
        if (entry == "mnuDeviceConnect") {
            choose(element);
            expect(waitFor([this] { return connection() == 2 && m_rig->idle(); }), element,
                   "not connected");
            instance().connection().disconnectDevice();
            waitFor([this] { return connection() == 0; });
        } else if (entry == "mnuDeviceDisconnect") {
            choose(element);
            expect(waitFor([this] { return connection() == 0; }), element, "not disconnected");
            expect(m_rig->connect(), element, "could not connect again");
        } else if (entry == "mnuDeviceLoadFromDevice") {
            m_rig->set("&&private&&CurrentSource", "0");
            choose(element);
            expect(waitFor([this] { return m_rig->text("&&private&&CurrentSource") == "2"; }),
                   element, "nothing loaded");
            settled();
        } else if (entry == "mnuDeviceSaveToDevice") {
            QSignalSpy ended(&instance().engine(), &SequenceEngine::sequenceEnded);
            choose(element);
            // The preview of what will change comes first; its Write starts the download.
            frmSavePreview *preview = nullptr;
            expect(waitFor([&] {
                       preview = savePreview();
                       return preview && preview->cmdWrite->isEnabled();
                   }),
                   element, "no preview to write from");
            if (preview)
                preview->cmdWrite->click();
            const auto downloaded = [&] {
                for (const QList<QVariant> &end : ended)
                    if (end.at(0).toString() == "DOWNLOAD")
                        return true;
                return false;
            };
            expect(waitFor(downloaded), element, "nothing written");
            expect(settled(), element, "the main window stays busy");
        } else if (entry == "mnuDeviceConnectionSettings") {
            choose(element);
            auto *dialog = form().findChild<frmConnectionSettings *>();
            expect(dialog && dialog->isVisible(), element, "no connection settings");
            if (dialog)
                dialog->close();
        } else if (entry == "mnuDeviceHistoryServer") {
            choose(element);
            auto *dialog = form().findChild<frmHistoryServer *>();
            expect(dialog && dialog->isVisible(), element, "no history server settings");
            if (dialog)
                dialog->close();
        } else if (entry == "mnuDeviceTrafficRecord") {
            // Asks for the file; cancelled, nothing is recorded.
            const int asked = m_chooser->asked();
            m_chooser->enqueue(QString());
            choose(element);
            expect(m_chooser->asked() == asked + 1, element, "no file asked for");
            expect(!action(element)->isChecked(), element, "checked without a record");
        } else {
            // The reset asks first; cancelled, nothing starts.
            m_box->enqueue(QMessageBox::Cancel);
            choose(element);
            const qint16 title = entry == "mnuDeviceResetLoadDefault" ? 2146 : 3505;
            expect(!m_box->asked().isEmpty() && m_box->asked().first().title == GetResText(title),
                   element, "no confirmation");
            expect(form().isEnabled() && m_rig->idle(), element, "something started");
        }
    }

    void bar(const QString &element, QWidget *bar)
    {
        const bool shown = bar->isVisible();
        choose(element);
        expect(bar->isVisible() != shown && action(element)->isChecked() == !shown, element,
               "not switched");
        choose(element);
        expect(bar->isVisible() == shown, element, "not switched back");
    }

    void helpCommand(const QString &element, const QString &entry)
    {
        if (entry == "mnuHelpAbout") {
            expect(chooseModal(element) == "frmAbout", element, "no about box");
        } else if (entry == "mnuHelpReadme") {
            choose(element);
            expect(ReadMe::current() && ReadMe::current()->isVisible(), element, "no readme");
            if (ReadMe::current())
                ReadMe::current()->close();
        } else {
            choose(element);
            expect(HelpBrowser::current() && HelpBrowser::current()->isVisible(), element,
                   "no help");
            HelpBrowser::closeAll();
        }
    }

    void walk(const QString &element)
    {
        const QString entry = MainCommandTable::commandEntry(element);
        const MainMenuEntry *e = MainCommandTable::entry(entry);
        if (!e || e->opensMenu() || e->is(MainMenuEntry::NoCommand))
            return;
        if (MainCommandTable::commandMissing(entry)) {
            expect(WiredLater.contains(entry), element, "no command");
            return;
        }
        if (!reachable(element))
            return; // the state or the design keeps it from the user
        m_walked << element;
        m_box->clear();
        if (ChildWindows.contains(entry))
            openWindow(element, entry);
        else if (entry == "mnuEditCopy" || entry == "mnuEditPaste")
            clipboard(element, entry);
        else if (entry.startsWith("mnuWindow"))
            arrange(element, entry);
        else if (entry.startsWith("mnuFile"))
            fileCommand(element, entry);
        else if (entry.startsWith("mnuDevice"))
            deviceCommand(element, entry);
        else if (entry == "mnuViewToolbar")
            bar(element, form().toolBar());
        else if (entry == "mnuViewStatusBar")
            bar(element, form().statusBar());
        else if (entry == "mnuViewDeviceSummary")
            bar(element, form().findChild<QDockWidget *>("DeviceSummaryDock"));
        else if (entry.startsWith("mnuHelp"))
            helpCommand(element, entry);
        else
            expect(false, element, "not walked");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        registerResidentViews();
        registerWorkbenchViews();
    }

    void everyEntryAndButton_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::newRow("not connected") << false;
        QTest::newRow("connected") << true;
    }
    void everyEntryAndButton()
    {
        QFETCH(bool, connected);
        MainWindowRig rig;
        m_rig = &rig;
        rig.form().setCommands(MainWindowCommands::program());
        ScriptedMessageBox box;
        ScriptedFileChooser chooser;
        m_box = &box;
        m_chooser = &chooser;
        m_failures.clear();
        m_walked.clear();
        // Room for two windows side by side or one above the other.
        form().resize(1600, 1400);
        if (connected)
            QVERIFY(rig.connect());
        QVERIFY(form().commandBar().menu("mnuView")->menuAction()->isVisible());

        QStringList elements;
        for (const MainMenuEntry &e : MainCommandTable::entries()) {
            if (*e.name && QLatin1String(e.name) != QLatin1String("mnuFileExit"))
                elements << QLatin1String(e.name);
        }
        for (const MainToolbarButton &b : MainCommandTable::buttons()) {
            if (*b.key)
                elements << QLatin1String(b.key);
        }
        for (const QString &element : elements) {
            walk(element);
            QVERIFY2(connection() == (connected ? 2 : 0),
                     qPrintable(element + ": connection " + QString::number(connection()) + "\n" +
                                m_failures.join(QLatin1Char('\n'))));
        }
        QVERIFY2(m_failures.isEmpty(), qPrintable(m_failures.join(QLatin1Char('\n'))));
        QVERIFY(m_walked.size() > 20);

        // Last, Exit closes the main window.
        choose("mnuFileExit");
        QTRY_VERIFY(!form().isVisible());
        m_rig = nullptr;
    }
};

VEX_TEST(TstMenuWalk)
#include "tst_MenuWalk.moc"
