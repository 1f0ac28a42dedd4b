#include "clsMainView.h"

#include "AppletItemManager.h"
#include "MainWindowCommands.h"
#include "Module1.h"
#include "ProgIdRegistry.h"
#include "WorkbenchLog.h"
#include "frmMain.h"
#include "global.h"

#include <QWidget>

clsMainView::clsMainView()
{
    MainWindowCommands commands = MainWindowCommands::program();
    if (commands.splash) {
        m_splash = commands.splash();
        if (m_splash)
            m_splash->show();
    }
    m_window = std::make_unique<frmMain>();
    m_window->setCommands(std::move(commands));
    m_window->setViewRef(this);
    m_formHeld = true;
    SetMainWindow(m_window.get());
}

// The host lets the view go a moment after it left (or after Destroy):
// the window goes with it, outside any of its own events.
clsMainView::~clsMainView()
{
    if (m_window && m_window->isLoaded()) {
        // Nobody to leave any more: the window only unbinds its items.
        m_window->setViewRef(nullptr);
        m_window->closeForGood();
    }
    releaseWindow();
}

void clsMainView::releaseWindow()
{
    if (m_window && MainWindow() == m_window.get())
        SetMainWindow(nullptr);
    m_window.reset();
    m_formHeld = false;
}

qint32 clsMainView::SetAppletItemManagRef(qint32 lViewHandle,
                                          std::shared_ptr<AppletItemManager> clsAppletItemManager)
{
    m_viewHandle = lViewHandle;
    m_manager = std::move(clsAppletItemManager);
    return 0;
}

// In front of the frame application: on top while it loads, then an
// ordinary window again.
qint32 clsMainView::Show()
{
    frmMain *window = form();
    if (!window)
        return 0;
    SetTopMost(window, true);
    window->show();
    m_splash.reset();
    SetTopMost(window, false);
    window->raise();
    window->activateWindow();
    return 0;
}

qint32 clsMainView::Hide()
{
    if (frmMain *window = form())
        window->hide();
    return 0;
}

qint32 clsMainView::Destroy()
{
    if (m_window && m_window->isLoaded())
        m_window->closeForGood();
    releaseWindow();
    return 0;
}

void clsMainView::UnRegisterView()
{
    m_formHeld = false;
    try {
        if (m_manager)
            m_manager->fncUnregisterView(this);
    } catch (...) {
        qCInfo(lcWorkbench).noquote()
            << "main view not unregistered from the host:" << CurrentErrorText();
    }
    m_manager.reset();
}

void registerWorkbenchViews()
{
    ProgIdRegistry::instance().registerView(QLatin1String(clsMainView::ProgId),
                                            [] { return std::make_shared<clsMainView>(); });
}
