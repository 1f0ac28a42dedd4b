#pragma once

#include "IViewEx.h"
#include "View.h"

#include <memory>

class QWidget;
class frmMain;

// The view through which the host opens the device's user interface
// ("Workbench.clsMainView"): it owns the main window, shows it in front of
// the frame application and leaves the host when the window closes.
class clsMainView final : public View, public IViewEx
{
public:
    static constexpr const char *ProgId = "Workbench.clsMainView";

    clsMainView();
    ~clsMainView() override;
    clsMainView(const clsMainView &) = delete;
    clsMainView &operator=(const clsMainView &) = delete;

    // View
    qint32 SetAppletItemManagRef(qint32 lViewHandle,
                                 std::shared_ptr<AppletItemManager> clsAppletItemManager) override;
    qint32 Show() override;
    qint32 Hide() override;
    qint32 Destroy() override;
    qint32 NotifyChanged(qint32, bool, qint32, qint32) override { return 0; }

    // IViewEx
    std::shared_ptr<AppletItemManager> appletItemManagerRef() const override { return m_manager; }
    void UnRegisterView() override;

    // The main window while the view holds it.
    frmMain *form() const { return m_formHeld ? m_window.get() : nullptr; }

private:
    void releaseWindow();

    std::unique_ptr<frmMain> m_window;
    bool m_formHeld = false;
    qint32 m_viewHandle = 0;
    std::shared_ptr<AppletItemManager> m_manager;
    std::unique_ptr<QWidget> m_splash;
};

// Announces "Workbench.clsMainView" to the host.
void registerWorkbenchViews();
