#pragma once

#include "VexaDesignControl.h"

#include <QPointer>
#include <functional>
#include <memory>

class AppletItemManager;
class IVexaForm;

// One per dialog: binds the whole dialog to the host with one call. The
// framework's own handler (created by programmatic identifier, see
// FrameworkProgId) binds the framework's display controls; this control
// registers every item control of this system it finds on the dialog.
//
// An item control is any widget whose "Typ" property reads "VexaItem" and
// that offers Q_INVOKABLE Register(std::shared_ptr<AppletItemManager>) and
// UnRegister().
//
// The framework handler object is used by name: Q_INVOKABLE
// Register(QWidget *dialog, std::shared_ptr<AppletItemManager>),
// UnRegister(), Update(), and an optional signal Deactivated().
class VexaControlItemHandler : public VexaDesignControl
{
    Q_OBJECT
    Q_PROPERTY(bool StandAlone READ StandAlone WRITE setStandAlone)

public:
    static constexpr const char *FrameworkProgId = "VexaCtrItemHandler.VexaCtrlItemHandler";

    explicit VexaControlItemHandler(QWidget *parent = nullptr);
    ~VexaControlItemHandler() override;

    void Register1(QWidget *parentForm, std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    void Register(IVexaForm *parentForm, std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    void UnRegister();
    void UpdateVexaControls();

    bool StandAlone() const { return m_standAlone; }
    void setStandAlone(bool standAlone);
    QWidget *parentForm() const { return m_parentForm; }

    // Puts another framework handler in place of the one the registry makes.
    void setFrameworkHandler(std::shared_ptr<QObject> handler);

    // The controls of a dialog, in control order: depth first, each parent's
    // children in creation order, not descending into other windows or forms,
    // nor into an item control (a display control binds its own insides).
    static QList<QWidget *> Controls(QWidget *dialog);
    // Takes every control of the dialog out of design mode (the dialog is loaded).
    static void LeaveDesignMode(QWidget *dialog);

Q_SIGNALS:
    void Deactivated();

private:
    QObject *framework();
    void callFramework(const char *operation);

    QPointer<QWidget> m_parentForm;
    bool m_standAlone = false;
    bool m_frameworkLookedUp = false;
    std::shared_ptr<QObject> m_framework;
};
