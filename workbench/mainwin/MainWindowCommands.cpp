#include "MainWindowCommands.h"

#include "HelpBrowser.h"
#include "ReadMe.h"
#include "clsDeviceReset.h"
#include "frmAbout.h"
#include "frmSelectDefaultDataset.h"
#include "frmSplash.h"
#include "global.h"

#include <QMetaObject>

// The one place where the program's windows and procedures are plugged into
// the main window's commands.
MainWindowCommands MainWindowCommands::program()
{
    MainWindowCommands commands;
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
