#include "frmMain.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "DatasetVerdictPrompt.h"
#include "HistoryService.h"
#include "HistoryUplink.h"
#include "IViewEx.h"
#include "MainCaption.h"
#include "MainChildWindows.h"
#include "MainCommandBar.h"
#include "MainMenuTree.h"
#include "MainStatusBar.h"
#include "MainWindowLog.h"
#include "MainWindowParts.h"
#include "MenuAccessKeys.h"
#include "Toolkit_LoadResource.h"
#include "TransferReport.h"
#include "VexException.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "VexaSequenceItem.h"
#include "clsDeviceInfo.h"
#include "ctlBusyWindow.h"
#include "dialogs/DialogControls.h"
#include "global.h"
#include "history/HistoryStatusText.h"
#include "history/HistoryTexts.h"
#include "links/LinkCommands.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <utility>

std::shared_ptr<IDeviceInfo> frmMain::gDeviceInfo;
bool frmMain::rangeValuesRead = false;

namespace {

constexpr int ReConnectIntervalMs = 100;

using DialogControls::appItem;
using DialogControls::sequence;

// An item control that follows the value read from the device.
VexaAppItem *deviceValue(VexaAppItem *control)
{
    control->setRegisterOnShadow(true);
    return control;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent),
      appConnectionStatus(appItem(this, "appConnectionStatus", "&&private&&Connect")),
      appEngineeringContext(
          appItem(this, "appEngineeringContext", "&&private_FDT&&EngineeringContext")),
      appInCompatibleDataset(appItem(this, "appInCompatibleDataset", "IncompatibleDataset")),
      appCurrentSource(appItem(this, "appCurrentSource", "&&private&&CurrentSource")),
      appUserLevel(appItem(this, "appUserLevel", "&&private&&UserLevel")),
      appTagname(appItem(this, "appTagname", "&&private_PM&&TagName")),
      appDescriptor(appItem(this, "appDescriptor", "&&private_PM&&Descriptor")),
      appAddress(appItem(this, "appAddress", "&&private_PM&&Address")),
      appAbortSequences(appItem(this, "appAbortSequences", "abortSequences")),
      appCurrentResponseCode(appItem(this, "appCurrentResponseCode", "currentResponseCode")),
      appCountryCode(appItem(this, "appCountryCode", "&&private&&countrycode")),
      appFileName(appItem(this, "appFileName", "&&private_PM&&FileName")),
      appMenuStateMdiMain(appItem(this, "appMenuStateMdiMain", "&&Menu_State&&MDIMain")),
      appLinkCondition(appItem(this, "appLinkCondition", "&&private&&LinkCondition")),
      appLinkMessage(appItem(this, "appLinkMessage", "&&private&&LinkMessage")),
      appDeviceTag(deviceValue(appItem(this, "appDeviceTag", "_tagHART"))),
      appDeviceDescriptor(deviceValue(appItem(this, "appDeviceDescriptor", "descriptor"))),
      seqGetRangeValues(sequence(this, "seqGetRangeValues", "GetRangeValues")),
      seqUpload(sequence(this, "seqUpload", "Upload")),
      VexaControlItemHandler1(new VexaControlItemHandler(this)),
      ctlBusyWindow1(new ctlBusyWindow(this)), timReConnect(new QTimer(this)),
      m_statusBar(new MainStatusBar(this)), m_caption(new MainCaption(*this)),
      m_verdict(new DatasetVerdictPrompt(*this))
{
    setObjectName(QStringLiteral("frmMain"));
    VexaControlItemHandler1->setObjectName(QStringLiteral("VexaControlItemHandler1"));
    ctlBusyWindow1->setObjectName(QStringLiteral("ctlBusyWindow1"));
    timReConnect->setObjectName(QStringLiteral("timReConnect"));
    timReConnect->setInterval(ReConnectIntervalMs);
    m_commandBar = new MainCommandBar(*this);
    m_children = new MainChildWindows(m_commandBar->menu(QStringLiteral("mnuWindow")), this);
    setCentralWidget(m_children->area());
    setStatusBar(m_statusBar);
    connect(new TransferReport(this, appAbortSequences, appConnectionStatus),
            &TransferReport::ended, m_statusBar, &MainStatusBar::showTransfer);
    connectItemControls();
    MainWindowParts::makeAll(*this);
}

frmMain::~frmMain()
{
    // The busy window reports its last EnableWindow as it goes; this window
    // must still be whole to hear it.
    disconnect(ctlBusyWindow1, nullptr, this, nullptr);
    delete ctlBusyWindow1;
}

QString frmMain::GetTextFromResource(qint16 &iTextID) const
{
    return resText(iTextID);
}

void frmMain::setCommands(MainWindowCommands commands)
{
    m_commands = std::move(commands);
    m_commandBar->applyAll();
}

QLabel *frmMain::panel(int index) const
{
    return m_statusBar->panel(index);
}

void frmMain::connectItemControls()
{
    const auto on = [this](VexaAppItem *item, const char *what, auto reaction) {
        connect(item, &VexaAppItem::ValueChanged, this, [this, what, reaction](QString &value) {
            guarded(what, [&] { reaction(value); });
        });
    };
    on(appConnectionStatus, "connection status",
       [this](QString &) { appConnectionStatus_ValueChanged(); });
    on(appEngineeringContext, "engineering context",
       [this](QString &) { appEngineeringContext_ValueChanged(); });
    on(appAddress, "polling address", [this](QString &) { appAddress_ValueChanged(); });
    on(appCurrentSource, "source", [this](QString &v) { m_statusBar->showSource(v); });
    on(appUserLevel, "user level", [this](QString &v) { m_statusBar->showUserLevel(v); });
    // The message is set before the condition: the condition shows both.
    on(appLinkCondition, "link condition", [this](QString &) {
        m_statusBar->showLinkCondition(qRound(appLinkCondition->UIntValue()),
                                       appLinkMessage->StringValue());
    });
    connect(seqGetRangeValues, &VexaSequenceItem::StatusChanged, this, [this](qint32 &status) {
        guarded("GetRangeValues", [&] { seqGetRangeValues_StatusChanged(status); });
    });
    connect(ctlBusyWindow1, &ctlBusyWindow::EnableWindow, this, [] { EnableMainWindow(true); });
    connect(ctlBusyWindow1, &ctlBusyWindow::DisableWindow, this, [] { EnableMainWindow(false); });
    connect(m_children, &MainChildWindows::allClosed, this, [this] {
        if (std::exchange(m_closeWhenChildrenClosed, false))
            close();
    });
    connect(m_children, &MainChildWindows::clipboardTargetChanged, this,
            &frmMain::refreshClipboardCommands);
    connect(timReConnect, &QTimer::timeout, this, [this] {
        timReConnect->stop();
        runMenuCommand(QStringLiteral("mnuDeviceConnect"));
    });
}

// ---------------------------------------------------------------- load

// Placed before it first shows: moved after showing, a window manager takes
// the position for the frame's and the window creeps by its title bar.
void frmMain::setVisible(bool visible)
{
    if (visible && !m_placed) {
        m_placed = true;
        // Sized for the menus in the user's language.
        applyTexts();
        RestoreMainWindowPlacement(this);
    }
    QMainWindow::setVisible(visible);
}

QSize frmMain::sizeHint() const
{
    return QMainWindow::sizeHint().expandedTo(QSize(MainMenuTree::barWidth(menuBar()), 0));
}

void frmMain::applyTexts()
{
    LoadResStrings(this);
    MainMenuTree::applyOwnTexts(menuBar());
    MenuAccessKeys::assign(menuBar());
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_loaded)
        return;
    Load();
    Activated();
}

void frmMain::Load()
{
    const auto manager = m_view ? m_view->appletItemManagerRef() : nullptr;
    auto deviceInfo = std::make_shared<clsDeviceInfo>();
    deviceInfo->Register(manager);
    gDeviceInfo = deviceInfo;
    VexaControlItemHandler1->Register1(this, manager);

    const auto chooseBackground = [this] {
        guarded("background", [this] { m_children->chooseBackground(screen()); });
    };
    chooseBackground();
    if (QScreen *display = screen())
        connect(display, &QScreen::availableGeometryChanged, this, chooseBackground);
    setWindowIcon(QIcon(LoadJpegResource(QStringLiteral(":/pictures/ICON.svg"))));

    applyTexts();
    m_commandBar->applyAll();

    m_helpFile = QCoreApplication::applicationDirPath() + QLatin1Char('/') + resText(1100);
    appUserLevel->setStringValue(QStringLiteral("1"));
    // Where the dataset came from is the host's to say (defaults, a file, the
    // device): claiming the device here would be a value nobody read.
    m_statusBar->showSource(appCurrentSource->StringValue().trimmed());
    // Caption and polling address as they are now, not only after a change:
    // a device at a multidrop address from the start has no current output.
    guarded("caption", [this] { m_caption->update(); });
    guarded("polling address", [this] { appAddress_ValueChanged(); });
    refreshClipboardCommands();
    LinkCommands::attach(*this);
    showHistoryUplink();
    m_loaded = true;
}

// A team's history: the status bar follows what waits for the server.
void frmMain::showHistoryUplink()
{
    HistoryService *service = historyServiceOf(m_view);
    HistoryUplink *uplink = service ? service->uplink() : nullptr;
    if (!uplink)
        return;
    const auto show = [this, uplink] {
        m_statusBar->showHistory(HistoryStatusText::text(*uplink), HistoryStatusText::tip(*uplink));
    };
    connect(uplink, &HistoryUplink::stateChanged, m_statusBar, show);
    show();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !m_loaded)
        return;
    if (isActiveWindow())
        Activated();
    else
        guarded("refreshing the dialogs", [this] { UpdateAllDialogs(); });
}

void frmMain::Activated()
{
    guarded("connection status", [this] { appConnectionStatus_ValueChanged(); });
    guarded("engineering context", [this] { appEngineeringContext_ValueChanged(); });
}

// ---------------------------------------------------------------- unload

void frmMain::closeEvent(QCloseEvent *event)
{
    // A child window still finishing with the device (a loop current it
    // fixed goes back to normal) keeps the program open until it has closed:
    // ended now, the request would never leave.
    if (m_loaded && !m_closingForGood && !UnloadChildForms()) {
        m_closeWhenChildrenClosed = true;
        event->ignore();
        return;
    }
    if (m_commands.closeHelp)
        guarded("closing the help", [this] { m_commands.closeHelp(); });
    Unload();
    event->accept();
}

void frmMain::closeForGood()
{
    m_closingForGood = true;
    close();
}

void frmMain::Unload()
{
    if (!m_loaded)
        return;
    // The dialogs unbind their items while the host is still there.
    UnloadChildForms();
    SaveMainWindowPlacement(this);
    VexaControlItemHandler1->UnRegister();
    timReConnect->stop();
    m_deviceReset.reset();
    gDeviceInfo.reset();
    if (IViewEx *view = m_view) {
        m_view = nullptr;
        view->UnRegisterView();
    }
    m_loaded = false;
}

// ---------------------------------------------------------------- reactions

std::optional<ConnectionState> frmMain::connectionStatus() const
{
    const int status = qRound(appConnectionStatus->UIntValue());
    if (!ConnectionStates::isKnown(status))
        return std::nullopt;
    return ConnectionState(status);
}

void frmMain::appConnectionStatus_ValueChanged()
{
    if (!m_loaded)
        return;
    const std::optional<ConnectionState> status = connectionStatus();
    if (status) {
        m_statusBar->showConnection(*status);
        m_commandBar->states().connectionChanged(*status);
    }
    if (status == ConnectionState::Connected) {
        // A dataset found not to fit the device stays barred from it.
        m_verdict->refresh();
    } else if (status == ConnectionState::NotConnected) {
        m_disconnectRequested = false;
        rangeValuesRead = false;
        // A connection lost during a device operation releases the window.
        if (m_previousConnectionStatus == ConnectionState::Connected ||
            m_previousConnectionStatus == ConnectionState::Disconnecting)
            EnableMainWindow(true);
    } else if (status == ConnectionState::Connecting &&
               m_previousConnectionStatus == ConnectionState::Connected) {
        // The link went and is being brought back: the operation it ended
        // releases the window as a lost connection does.
        EnableMainWindow(true);
    }
    guarded("engineering context", [this] { appEngineeringContext_ValueChanged(); });
    m_previousConnectionStatus = status;
}

void frmMain::appEngineeringContext_ValueChanged()
{
    if (!m_loaded)
        return;
    bool ok = false;
    const int context = appEngineeringContext->StringValue().right(2).toInt(&ok, 16);
    if (ok)
        m_commandBar->states().engineeringContextChanged(
            quint8(context), connectionStatus().value_or(ConnectionState::NotConnected));
}

void frmMain::appAddress_ValueChanged()
{
    m_commandBar->states().pollingAddressChanged(appAddress->StringValue().trimmed().toDouble());
}

void frmMain::refreshClipboardCommands()
{
    m_commandBar->states().clipboardTargetChanged(m_children->canCopy(), m_children->canPaste());
}

void frmMain::ReadRangeValuesOnce()
{
    if (!rangeValuesRead)
        seqGetRangeValues->Start();
}

void frmMain::seqGetRangeValues_StatusChanged(qint32 status)
{
    if (status == 2) {
        m_rangeSequenceRunning = true;
        seqGetRangeValues->DoAction(1);
    } else if (status == 0 && m_rangeSequenceRunning) {
        m_rangeSequenceRunning = false;
        seqGetRangeValues->Adjust();
        rangeValuesRead = true;
    }
}

void frmMain::ReConnect()
{
    timReConnect->start();
}

// ---------------------------------------------------------------- commands

std::shared_ptr<Applet> frmMain::applet() const
{
    const auto manager = m_view ? m_view->appletItemManagerRef() : nullptr;
    if (!manager)
        throw VexException(91, QStringLiteral("frmMain.applet"),
                           QStringLiteral("Objektvariable nicht festgelegt"));
    return manager->fncGetApplet();
}

void frmMain::startFunctionView(const char *progId)
{
    applet()->fncStartView(QLatin1String(progId));
}

void frmMain::mnuDeviceDisconnect_Click()
{
    m_disconnectRequested = true;
    applet()->fncDisconnect(0);
}

void frmMain::mnuDeviceReset_Click(MainWindowCommands::Reset kind)
{
    if (!m_commands.deviceReset || !m_view)
        return;
    m_deviceReset = m_commands.deviceReset(m_view->appletItemManagerRef(), kind);
}
