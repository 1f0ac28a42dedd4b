#pragma once

#include "VexaDesignControl.h"

#include <memory>

class AppletItemManager;
class frmBusyWindow;

// Placed once on a window (the main window): when its dialog's item handler
// registers it, it creates the busy window, which from then on follows the
// running sequence by itself. While the busy window is shown the control asks
// its hosting window to disable itself (DisableWindow) and, when it hides,
// to enable itself again (EnableWindow).
class ctlBusyWindow : public VexaDesignControl
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)

public:
    explicit ctlBusyWindow(QWidget *parent = nullptr);
    ~ctlBusyWindow() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    // The busy window stays loaded for the life of the control.
    Q_INVOKABLE void UnRegister() {}

    QString Typ() const { return QStringLiteral("VexaItem"); }
    frmBusyWindow *busyWindow() const { return m_form.get(); }

    // Used by the busy window.
    void RaiseEnableWindow() { Q_EMIT EnableWindow(); }
    void RaiseDisableWindow() { Q_EMIT DisableWindow(); }
    QWidget *HostWindow() const { return window(); }

Q_SIGNALS:
    void EnableWindow();
    void DisableWindow();

private:
    std::unique_ptr<frmBusyWindow> m_form;
    bool m_registered = false;
};
