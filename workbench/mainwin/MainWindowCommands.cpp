#include "MainWindowCommands.h"

#include "Applet.h"
#include "HelpBrowser.h"
#include "MainChildWindows.h"
#include "MainCommandTable.h"
#include "MainToolBar.h"
#include "MessageBoxSeam.h"
#include "ReadMe.h"
#include "VexException.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "clsDeviceReset.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSelectDefaultDataset.h"
#include "frmSplash.h"
#include "global.h"
#include "history/HistoryTexts.h"
#include "history/frmSavePreview.h"

#include <QAction>
#include <QMetaObject>
#include <QPointer>
#include <QStatusBar>

namespace {

using Registration = MainCommandTable::Registration;

void writeDataset(frmMain &main)
{
    EnableMainWindow(false);
    qint32 rc = -1;
    try {
        rc = main.applet()->fncSaveToDevice(0);
    } catch (...) {
        EnableMainWindow(true);
        throw;
    }
    // Refused, or aborted at once: nothing will end the busy state but us.
    if (rc != 0 || qRound(main.appAbortSequences->UIntValue()) == 1)
        EnableMainWindow(true);
}

void saveToDevice(frmMain &main)
{
    main.UpdateAllDialogs();
    const auto &preview = main.commands().previewSaveToDevice;
    if (!preview) {
        writeDataset(main);
        return;
    }
    // The write comes later, from the preview: its errors are told here.
    QPointer<frmMain> window(&main);
    preview(&main, main.viewRef(), [window] {
        if (!window)
            return;
        try {
            writeDataset(*window);
        } catch (const VexException &e) {
            MessageBoxSeam::show(window, QMessageBox::Warning, window->windowTitle(),
                                 e.description());
        }
    });
}

// A click has toggled the check mark already; a command run by name toggles
// it here. Either way the mark follows the bar.
void toggleBar(frmMain &main, const char *entryName, QWidget *bar)
{
    const bool shown = bar->isHidden();
    main.menuEntry(QLatin1String(entryName))->setChecked(shown);
    bar->setVisible(shown);
}

// A window given to the main window through MainWindowCommands.
MainCommand plugged(std::function<void(QWidget *)> MainWindowCommands::*member)
{
    return [member](frmMain &main) {
        if (const auto &command = main.commands().*member)
            command(&main);
    };
}

// The main window's own commands; the dialogs and display windows register
// theirs in their own files.
const Registration builtIn[] = {
    {"mnuFileNew",
     [](frmMain &main) {
         main.UnloadChildForms();
         if (main.commands().selectDefaultDataset)
             main.commands().selectDefaultDataset(&main, main.viewRef());
     }},
    {"mnuFileOpen", [](frmMain &main) { main.startFunctionView("Resident.clsLoadFromFile"); }},
    {"mnuFileSave",
     [](frmMain &main) {
         main.UpdateAllDialogs();
         main.startFunctionView("Resident.clsSaveToFile");
     }},
    {"mnuFileSaveAs",
     [](frmMain &main) {
         main.UpdateAllDialogs();
         main.startFunctionView("Resident.clsSaveAsToFile");
     }},
    {"mnuFilePrintPreview",
     [](frmMain &main) { main.startFunctionView("Resident.clsHTMLPrintOut"); }},
    {"mnuFileExit", [](frmMain &main) { main.close(); }},
    {"mnuEditCopy", [](frmMain &main) { main.childWindows().copyFromActiveControl(); }},
    {"mnuEditPaste", [](frmMain &main) { main.childWindows().pasteIntoActiveControl(); }},
    {"mnuDeviceConnect", [](frmMain &main) { main.applet()->fncConnect(0); }},
    {"mnuDeviceDisconnect", [](frmMain &main) { main.mnuDeviceDisconnect_Click(); }},
    {"mnuDeviceLoadFromDevice", [](frmMain &main) { main.seqUpload->Start(); }},
    {"mnuDeviceSaveToDevice", saveToDevice},
    {"mnuDeviceResetLoadDefault",
     [](frmMain &main) { main.mnuDeviceReset_Click(MainWindowCommands::Reset::FactoryData); }},
    {"mnuDeviceResetWarmStart",
     [](frmMain &main) { main.mnuDeviceReset_Click(MainWindowCommands::Reset::WarmStart); }},
    {"mnuViewToolbar", [](frmMain &main) { toggleBar(main, "mnuViewToolbar", main.toolBar()); }},
    {"mnuViewStatusBar",
     [](frmMain &main) { toggleBar(main, "mnuViewStatusBar", main.statusBar()); }},
    {"mnuWindowCascade", [](frmMain &main) { main.childWindows().cascade(); }},
    {"mnuWindowTileHorizontal", [](frmMain &main) { main.childWindows().tile(Qt::Horizontal); }},
    {"mnuWindowTileVertical", [](frmMain &main) { main.childWindows().tile(Qt::Vertical); }},
    {"mnuWindowClose", [](frmMain &main) { main.childWindows().closeActive(); }},
    {"mnuHelpContents", plugged(&MainWindowCommands::helpContents)},
    {"mnuHelpSearchForHelpOn", plugged(&MainWindowCommands::helpIndex)},
    {"mnuHelpReadme", plugged(&MainWindowCommands::readMe)},
    {"mnuHelpAbout", plugged(&MainWindowCommands::about)},
};

} // namespace

// The one place where the program's windows and procedures are plugged into
// the main window's commands.
MainWindowCommands MainWindowCommands::program()
{
    MainWindowCommands commands;
    commands.previewSaveToDevice = [](QWidget *mainWindow, IViewEx *view,
                                      std::function<void()> save) {
        frmSavePreview::previewSaveToDevice(mainWindow, historyServiceOf(view), std::move(save));
    };
    commands.selectDefaultDataset = [](QWidget *mainWindow, IViewEx *view) {
        frmSelectDefaultDataset dialog(mainWindow);
        dialog.setViewRef(view);
        dialog.ShowModal();
    };
    // The reset procedure releases itself once its reset is over, so the
    // main window has nothing to keep.
    commands.deviceReset = [](std::shared_ptr<AppletItemManager> manager,
                              Reset kind) -> std::shared_ptr<void> {
        auto *reset = new clsDeviceReset(MainWindow());
        reset->setReConnectHandler([] {
            if (QWidget *window = MainWindow())
                QMetaObject::invokeMethod(window, "ReConnect", Qt::DirectConnection);
        });
        reset->Register(std::move(manager));
        if (kind == Reset::FactoryData)
            reset->PerformResetToFactoryData();
        else
            reset->PerformMasterReset();
        return nullptr;
    };
    commands.helpContents = [](QWidget *mainWindow) { HelpBrowser::showContents(mainWindow); };
    commands.helpIndex = [](QWidget *mainWindow) { HelpBrowser::showIndex(mainWindow); };
    commands.readMe = [](QWidget *mainWindow) { ReadMe::open(mainWindow); };
    commands.about = [](QWidget *mainWindow) {
        frmAbout about(mainWindow);
        about.exec();
    };
    commands.closeHelp = [] { HelpBrowser::closeAll(); };
    commands.splash = [] { return std::unique_ptr<QWidget>(new frmSplash); };
    return commands;
}
