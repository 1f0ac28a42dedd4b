#include "GrabRegistry.h"
#include "Grabber.h"
#include "SampleDialog.h"
#include "TestHost.h"

#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "VexAppletItemManager.h"
#include "mainwin/HelpBrowser.h"
#include "mainwin/frmAbout.h"
#include "mainwin/frmSelectDefaultDataset.h"
#include "mainwin/frmSplash.h"

#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>

VEX_GRAB(grabNewDataset, "new-dataset", "File New: the choice of a default dataset")
{
    TestHost host(testhost::builtInDescription());
    QTemporaryDir folder;
    host.instance().setItemText("&&private_PM&&VexDPath", folder.path() + QDir::separator());
    host.instance().setItemText("&&private&&countrycode", grab.german() ? "49" : "1");
    SampleView view(host.manager());
    frmSelectDefaultDataset dialog;
    dialog.setViewRef(&view);
    dialog.show();
    dialog.lstDeviceID->setCurrentRow(1);
    grab.save(dialog, QStringLiteral("new-dataset"));
    dialog.close();
}

VEX_GRAB(grabAboutAndSplash, "about", "the about box and the splash window")
{
    frmAbout about;
    grab.save(about, QStringLiteral("about"));
    frmSplash splash;
    grab.save(splash, QStringLiteral("splash"));
}

VEX_GRAB(grabHelp, "help", "the help window: a page with its contents, then the index")
{
    HelpBrowser help(grab.language());
    QString error;
    grab.require(help.load(&error), error);
    help.showPage("reset.html");
    grab.save(help, QStringLiteral("help"));
    help.tbsNavigation->setCurrentIndex(1);
    grab.save(help, QStringLiteral("help-index"));
}
