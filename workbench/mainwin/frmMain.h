#pragma once

#include "IVexaForm.h"
#include "MainWindowCommands.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QSet>
#include <functional>
#include <memory>

class Applet;
class IDeviceInfo;
class MainMenuTree;
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
// bar, keeps its caption equal to the device identity, and runs the menu
// and toolbar commands that need no dialog of their own.
//
// Dialogs and displays plug their commands in with wireCommand(); until
// then their entries stay unavailable and say so in their tooltip.
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
    void ShowChildForm(QWidget *dialog);
    // Every child window that is a form refreshes its display controls.
    void UpdateAllDialogs();
    // Closes every child window.
    void UnloadChildForms();
    // Display commands run this first: the range values are read once per
    // connection.
    void ReadRangeValuesOnce();

    // Makes a menu entry (and its toolbar button) available with the given
    // command; for the dialog and display windows as they arrive.
    void wireCommand(const QString &entryName, std::function<void()> command);
    // Runs the command of a menu entry; an error is reported to the user.
    void runMenuCommand(const QString &entryName);
    // Runs the command of a toolbar button; errors are ignored.
    void tbToolBar_ButtonClick(const QString &key);

    QAction *menuEntry(const QString &name) const;
    QAction *toolbarButton(const QString &key) const;
    // 1 connection, 2 source, 3 user level, 4 clock.
    QLabel *panel(int index) const;
    QMdiArea *mdiArea() const { return m_mdiArea; }
    MainToolBar *toolBar() const { return m_toolBar; }
    bool isLoaded() const { return m_loaded; }
    QString helpFile() const { return m_helpFile; }
    bool disconnectRequested() const { return m_disconnectRequested; }

    // The picture resource for a desktop work area this many pixels wide.
    static QString BackgroundResource(int desktopWidth);

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
    VexaSequenceItem *const seqGetRangeValues;
    VexaSequenceItem *const seqUpload;
    VexaControlItemHandler *const VexaControlItemHandler1;
    ctlBusyWindow *const ctlBusyWindow1;
    QTimer *const timReConnect;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildStatusBar();
    void connectItemControls();
    void connectCommands();
    void Load();
    void Unload();
    void Activated();

    // Reactions to the host's items.
    void appConnectionStatus_ValueChanged();
    void appEngineeringContext_ValueChanged();
    void appInCompatibleDataset_ValueChanged();
    void RefreshSaveToDevice();
    void appAddress_ValueChanged();
    void appCurrentSource_ValueChanged(const QString &value);
    void appUserLevel_ValueChanged(const QString &value);
    void UpdateCaption();
    void seqGetRangeValues_StatusChanged(qint32 status);
    void ChooseBackground();
    void ApplyBackground();

    // The commands.
    void mnuFileNew_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuDeviceDisconnect_Click();
    void mnuDeviceSaveToDevice_Click();
    void mnuDeviceReset_Click(MainWindowCommands::Reset kind);
    void mnuView_Click(const QString &entryName, QWidget *bar);
    void arrangeChildren(Qt::Orientation orientation);
    void helpCommand(const std::function<void(QWidget *)> &command);
    void startFunctionView(const char *progId);
    void listChildWindows();

    // Enabling and hiding by design name, for menu entries and toolbar
    // buttons alike: an entry whose command is missing stays disabled.
    void setEnabledByName(const QString &name, bool enabled);
    void setVisibleByName(const QString &name, bool visible);
    void applyState(const QString &name);
    QAction *element(const QString &name) const;
    bool commandMissing(const QString &name) const;
    void setPanelText(int index, qint16 textId);
    std::shared_ptr<Applet> applet() const;
    double connectionStatus() const;

    IViewEx *m_view = nullptr;
    MainWindowCommands m_commands;
    std::unique_ptr<MainMenuTree> m_menus;
    MainToolBar *m_toolBar;
    QMdiArea *m_mdiArea;
    QList<QLabel *> m_panels;
    QTimer *m_clock;
    QList<QAction *> m_childWindowEntries;
    QHash<QString, std::function<void()>> m_wired;
    QHash<QString, bool> m_wantedEnabled;
    QPixmap m_background;
    QString m_helpFile;
    std::shared_ptr<void> m_deviceReset;
    bool m_loaded = false;
    bool m_disconnectRequested = false;
    bool m_rangeSequenceRunning = false;
    qint32 m_previousConnectionStatus = 0;
};
