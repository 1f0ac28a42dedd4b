#pragma once

#include "ConnectionStates.h"
#include "IVexaForm.h"
#include "MainChildWindows.h"
#include "MainCommandBar.h"
#include "MainWindowCommands.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class Applet;
class IDeviceInfo;
class DatasetVerdictPrompt;
class MainCaption;
class MainStatusBar;
class MainToolBar;
class QLabel;
class QMdiArea;
class QTimer;
class VexaAppItem;
class VexaControlItemHandler;
class VexaSequenceItem;
class ctlBusyWindow;

// The device's main window: every device dialog and display window is a
// child window in its document area. It follows the host's connection,
// engineering context and dataset check in its menus, toolbar and status
// bar (by the rules of MainCommandTable), keeps its caption equal to the
// device identity, and runs what each menu entry has registered.
//
// A window plugs its menu entry in with a MainCommandTable::Registration in
// its own file; until an entry has a command it stays unavailable and says
// so in its tooltip. wireCommand() puts a command in for this window alone.
class frmMain : public QMainWindow, public IVexaForm
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Program-wide: the device information of the open main window (null
    // while none is loaded) and whether "GetRangeValues" has completed
    // since the connection was last lost.
    static std::shared_ptr<IDeviceInfo> gDeviceInfo;
    static bool rangeValuesRead;

    // IVexaForm
    IViewEx *viewRef() const override { return m_view; }
    void setViewRef(IViewEx *view) override { m_view = view; }
    QString GetTextFromResource(qint16 &iTextID) const override;
    void UpdateVexaControls() override {}

    void setCommands(MainWindowCommands commands);
    const MainWindowCommands &commands() const { return m_commands; }

    // Connects 100 ms from now, outside the caller's notification.
    Q_INVOKABLE void ReConnect();

    // Shows a dialog as child window (adding it on first use) and gives it
    // the focus; the dialog gets this window's view.
    void ShowChildForm(QWidget *dialog) { m_children->ShowChildForm(dialog, m_view); }
    // Every child window that is a form refreshes its display controls.
    void UpdateAllDialogs() { m_children->UpdateAllDialogs(); }
    // Closes every child window.
    bool UnloadChildForms() { return m_children->UnloadChildForms(); }
    // Display commands run this first: the range values are read once per
    // connection.
    void ReadRangeValuesOnce();

    // Puts a command in for a menu entry (and its toolbar button) of this
    // window, ahead of what is registered for it.
    void wireCommand(const QString &entryName, std::function<void()> command)
    {
        m_commandBar->wire(entryName, std::move(command));
    }
    // Runs the command of a menu entry; an error is reported to the user.
    void runMenuCommand(const QString &entryName) { m_commandBar->run(entryName); }
    // Runs the command of a toolbar button; an error is only logged.
    void tbToolBar_ButtonClick(const QString &key) { m_commandBar->click(key); }

    // The commands that need this window's own state.
    void mnuDeviceDisconnect_Click();
    void mnuDeviceReset_Click(MainWindowCommands::Reset kind);
    // The host, through the view's manager; raises error 91 without one.
    std::shared_ptr<Applet> applet() const;
    void startFunctionView(const char *progId);

    QAction *menuEntry(const QString &name) const { return m_commandBar->entry(name); }
    QAction *toolbarButton(const QString &key) const { return m_commandBar->button(key); }
    MainCommandBar &commandBar() const { return *m_commandBar; }
    // 1 connection, 2 source, 3 user level, 4 clock.
    QLabel *panel(int index) const;
    MainChildWindows &childWindows() const { return *m_children; }
    QMdiArea *mdiArea() const { return m_children->area(); }
    MainToolBar *toolBar() const { return m_commandBar->toolBar(); }
    MainStatusBar *sbStatusBar() const { return m_statusBar; }
    bool isLoaded() const { return m_loaded; }
    // Closes without waiting for a child window to finish with the device:
    // the host lets the window go, nothing would answer any more.
    void closeForGood();
    QString helpFile() const { return m_helpFile; }
    bool disconnectRequested() const { return m_disconnectRequested; }

    VexaAppItem *const appConnectionStatus;
    VexaAppItem *const appEngineeringContext;
    VexaAppItem *const appInCompatibleDataset;
    VexaAppItem *const appCurrentSource;
    VexaAppItem *const appUserLevel;
    VexaAppItem *const appTagname;
    VexaAppItem *const appDescriptor;
    VexaAppItem *const appAddress;
    VexaAppItem *const appAbortSequences;
    VexaAppItem *const appCurrentResponseCode;
    VexaAppItem *const appCountryCode;
    VexaAppItem *const appFileName;
    VexaAppItem *const appMenuStateMdiMain;
    VexaAppItem *const appLinkCondition;
    VexaAppItem *const appLinkMessage;
    // The tag and descriptor the device answered, for the caption.
    VexaAppItem *const appDeviceTag;
    VexaAppItem *const appDeviceDescriptor;
    VexaSequenceItem *const seqGetRangeValues;
    VexaSequenceItem *const seqUpload;
    VexaControlItemHandler *const VexaControlItemHandler1;
    ctlBusyWindow *const ctlBusyWindow1;
    QTimer *const timReConnect;

    void setVisible(bool visible) override;
    // Wide enough for every menu title side by side.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectItemControls();
    // The string table's texts, each menu entry with an access key.
    void applyTexts();
    void Load();
    void Unload();
    void Activated();

    // Reactions to the host's items.
    void appConnectionStatus_ValueChanged();
    void appEngineeringContext_ValueChanged();
    void appAddress_ValueChanged();
    void showHistoryUplink();
    void seqGetRangeValues_StatusChanged(qint32 status);
    void refreshClipboardCommands();

    // Nothing for a value outside the host's four.
    std::optional<ConnectionState> connectionStatus() const;

    IViewEx *m_view = nullptr;
    MainWindowCommands m_commands;
    MainStatusBar *m_statusBar;
    MainCaption *m_caption;
    DatasetVerdictPrompt *m_verdict;
    MainCommandBar *m_commandBar;
    MainChildWindows *m_children;
    QString m_helpFile;
    std::shared_ptr<void> m_deviceReset;
    bool m_loaded = false;
    bool m_placed = false;
    bool m_disconnectRequested = false;
    bool m_closeWhenChildrenClosed = false;
    bool m_closingForGood = false;
    bool m_rangeSequenceRunning = false;
    std::optional<ConnectionState> m_previousConnectionStatus = ConnectionState::NotConnected;
};
