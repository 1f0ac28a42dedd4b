#include "frmMain.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "IViewEx.h"
#include "MainMenuTree.h"
#include "MainToolBar.h"
#include "MessageBoxSeam.h"
#include "Toolkit_LoadResource.h"
#include "VexException.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "VexaSequenceItem.h"
#include "clsDeviceInfo.h"
#include "ctlBusyWindow.h"
#include "global.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

#include <utility>

std::shared_ptr<IDeviceInfo> frmMain::gDeviceInfo;
bool frmMain::rangeValuesRead = false;

namespace {

constexpr int ReConnectIntervalMs = 100;
constexpr qint16 NotAvailableYet = 3901;

// Toolbar buttons run the command of their menu entry.
const QHash<QString, QString> &toolbarCommands()
{
    static const QHash<QString, QString> map{
        {QStringLiteral("tbNew"), QStringLiteral("mnuFileNew")},
        {QStringLiteral("tbopen"), QStringLiteral("mnuFileOpen")},
        {QStringLiteral("tbSave"), QStringLiteral("mnuFileSave")},
        {QStringLiteral("tbCopy"), QStringLiteral("mnuEditCopy")},
        {QStringLiteral("tbPaste"), QStringLiteral("mnuEditPaste")},
        {QStringLiteral("tbConnect"), QStringLiteral("mnuDeviceConnect")},
        {QStringLiteral("tbDisconnect"), QStringLiteral("mnuDeviceDisconnect")},
        {QStringLiteral("tbReadFromDevice"), QStringLiteral("mnuDeviceLoadFromDevice")},
        {QStringLiteral("tbWriteToDevice"), QStringLiteral("mnuDeviceSaveToDevice")},
        {QStringLiteral("tbDiagnostics"), QStringLiteral("mnuDiagnosticsStatus")},
    };
    return map;
}

// Entries that open a device dialog or a display window: they wait for
// wireCommand.
const QSet<QString> &dialogEntries()
{
    static const QSet<QString> entries{
        QStringLiteral("mnuDeviceIdentification"),
        QStringLiteral("mnuDisplayBar"),
        QStringLiteral("mnuDisplayDigital"),
        QStringLiteral("mnuDisplayGauge"),
        QStringLiteral("mnuDisplayTrend"),
        QStringLiteral("mnuDisplayMeasuredValues"),
        QStringLiteral("mnuDiagnosticsStatus"),
        QStringLiteral("mnuDiagnosticsMaxValues"),
        QStringLiteral("mnuDiagnosticsSimulateCurrent"),
        QStringLiteral("mnuDiagnosticsSimulateStatus"),
        QStringLiteral("mnuConfigurePrimaryMeasurement"),
        QStringLiteral("mnuConfigureDiagnosis"),
        QStringLiteral("mnuConfigureBasicParameter"),
        QStringLiteral("mnuCalibratePressure"),
        QStringLiteral("mnuCalibrateCurrent"),
    };
    return entries;
}

VexaAppItem *itemControl(QWidget *parent, const char *objectName, const char *item)
{
    auto *control = new VexaAppItem(parent);
    control->setObjectName(QLatin1String(objectName));
    control->setAppItemName(QLatin1String(item));
    return control;
}

VexaSequenceItem *sequenceControl(QWidget *parent, const char *objectName, const char *sequence)
{
    auto *control = new VexaSequenceItem(parent);
    control->setObjectName(QLatin1String(objectName));
    control->setAppItemName(QLatin1String(sequence));
    return control;
}

// A reaction or command must never take the window down with it.
template <class Fn> void guarded(Fn fn)
{
    try {
        fn();
    } catch (...) {
    }
}

QString resText(qint16 id)
{
    try {
        return GetResText(id);
    } catch (...) {
        return QString();
    }
}

// The main window's placement: per user, under the application's title,
// section "Settings", in twips.
std::unique_ptr<QSettings> placementStore()
{
    const QString title = QCoreApplication::applicationName();
    const QString organization = QCoreApplication::organizationName();
    auto settings = std::make_unique<QSettings>(
        QSettings::UserScope, organization.isEmpty() ? title : organization, title);
    settings->beginGroup(QStringLiteral("Settings"));
    return settings;
}

int storedTwips(const QSettings &settings, const char *name, int fallback)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(name)).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent),
      appConnectionStatus(itemControl(this, "appConnectionStatus", "&&private&&Connect")),
      appEngineeringContext(
          itemControl(this, "appEngineeringContext", "&&private_FDT&&EngineeringContext")),
      appInCompatibleDataset(itemControl(this, "appInCompatibleDataset", "IncompatibleDataset")),
      appCurrentSource(itemControl(this, "appCurrentSource", "&&private&&CurrentSource")),
      appUserLevel(itemControl(this, "appUserLevel", "&&private&&UserLevel")),
      appTagname(itemControl(this, "appTagname", "&&private_PM&&TagName")),
      appDescriptor(itemControl(this, "appDescriptor", "&&private_PM&&Descriptor")),
      appAddress(itemControl(this, "appAddress", "&&private_PM&&Address")),
      appAbortSequences(itemControl(this, "appAbortSequences", "abortSequences")),
      appCurrentResponseCode(itemControl(this, "appCurrentResponseCode", "currentResponseCode")),
      appCountryCode(itemControl(this, "appCountryCode", "&&private&&countrycode")),
      appFileName(itemControl(this, "appFileName", "&&private_PM&&FileName")),
      appMenuStateMdiMain(itemControl(this, "appMenuStateMdiMain", "&&Menu_State&&MDIMain")),
      seqGetRangeValues(sequenceControl(this, "seqGetRangeValues", "GetRangeValues")),
      seqUpload(sequenceControl(this, "seqUpload", "Upload")),
      VexaControlItemHandler1(new VexaControlItemHandler(this)),
      ctlBusyWindow1(new ctlBusyWindow(this)), timReConnect(new QTimer(this)),
      m_toolBar(new MainToolBar(this)), m_mdiArea(new QMdiArea(this)), m_clock(new QTimer(this))
{
    setObjectName(QStringLiteral("frmMain"));
    VexaControlItemHandler1->setObjectName(QStringLiteral("VexaControlItemHandler1"));
    ctlBusyWindow1->setObjectName(QStringLiteral("ctlBusyWindow1"));
    timReConnect->setObjectName(QStringLiteral("timReConnect"));
    timReConnect->setInterval(ReConnectIntervalMs);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->viewport()->installEventFilter(this);
    setCentralWidget(m_mdiArea);
    m_menus = std::make_unique<MainMenuTree>(this);
    addToolBar(m_toolBar);
    buildStatusBar();
    connectItemControls();
    connectCommands();
    for (QAction *entry : m_menus->commands())
        applyState(entry->objectName());
    for (const QString &key : m_toolBar->keys())
        applyState(key);
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
    for (QAction *entry : m_menus->commands())
        applyState(entry->objectName());
    for (const QString &key : m_toolBar->keys())
        applyState(key);
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    for (const char *key : {"Verbindung", "Quelle", "Userlevel", "Uhrzeit"}) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QLatin1String(key));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        m_panels.append(panel);
    }
    m_panels[0]->setProperty("Tag", 2001);
    bar->addWidget(m_panels[0], 1);
    bar->addWidget(m_panels[1]);
    bar->addWidget(m_panels[2]);
    bar->addPermanentWidget(m_panels[3]);
    const auto tick = [this] {
        m_panels[3]->setText(QLocale().toString(QTime::currentTime(), QLocale::ShortFormat));
    };
    tick();
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, tick);
    m_clock->start();
}

QLabel *frmMain::panel(int index) const
{
    return index >= 1 && index <= m_panels.size() ? m_panels[index - 1] : nullptr;
}

void frmMain::connectItemControls()
{
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded([this] { appConnectionStatus_ValueChanged(); }); });
    connect(appEngineeringContext, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded([this] { appEngineeringContext_ValueChanged(); }); });
    connect(appInCompatibleDataset, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded([this] { appInCompatibleDataset_ValueChanged(); }); });
    connect(appAddress, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded([this] { appAddress_ValueChanged(); }); });
    connect(appCurrentSource, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { guarded([&] { appCurrentSource_ValueChanged(value); }); });
    connect(appUserLevel, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { guarded([&] { appUserLevel_ValueChanged(value); }); });
    connect(appTagname, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded([this] { UpdateCaption(); }); });
    connect(appDescriptor, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded([this] { UpdateCaption(); }); });
    connect(seqGetRangeValues, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { guarded([&] { seqGetRangeValues_StatusChanged(status); }); });
    connect(ctlBusyWindow1, &ctlBusyWindow::EnableWindow, this, [] { EnableMainWindow(true); });
    connect(ctlBusyWindow1, &ctlBusyWindow::DisableWindow, this, [] { EnableMainWindow(false); });
    connect(timReConnect, &QTimer::timeout, this, [this] {
        timReConnect->stop();
        runMenuCommand(QStringLiteral("mnuDeviceConnect"));
    });
}

// ---------------------------------------------------------------- load

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

    const auto store = placementStore();
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    const auto px = [pixelsPerTwip](int twips) { return int(twips * pixelsPerTwip + 0.5); };
    move(px(storedTwips(*store, "MainLeft", 1000)), px(storedTwips(*store, "MainTop", 1000)));
    resize(px(storedTwips(*store, "MainWidth", 6500)), px(storedTwips(*store, "MainHeight", 6500)));

    guarded([this] { ChooseBackground(); });
    if (QScreen *display = screen())
        connect(display, &QScreen::availableGeometryChanged, this,
                [this] { guarded([this] { ChooseBackground(); }); });
    setWindowIcon(QIcon(LoadJpegResource(QStringLiteral(":/pictures/ICON.svg"))));

    LoadResStrings(this);
    for (QAction *entry : m_menus->commands())
        applyState(entry->objectName());
    for (const QString &key : m_toolBar->keys())
        applyState(key);

    m_helpFile = QCoreApplication::applicationDirPath() + QLatin1Char('/') + resText(1100);
    appUserLevel->setStringValue(QStringLiteral("1"));
    appCurrentSource->setStringValue(QStringLiteral("2"));
    // Caption and polling address as they are now, not only after a change:
    // a device at a multidrop address from the start has no current output.
    guarded([this] { UpdateCaption(); });
    guarded([this] { appAddress_ValueChanged(); });
    m_loaded = true;
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !m_loaded)
        return;
    if (isActiveWindow())
        Activated();
    else
        guarded([this] { UpdateAllDialogs(); });
}

void frmMain::Activated()
{
    guarded([this] { appConnectionStatus_ValueChanged(); });
    guarded([this] { appEngineeringContext_ValueChanged(); });
}

// ---------------------------------------------------------------- unload

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_commands.closeHelp)
        guarded([this] { m_commands.closeHelp(); });
    Unload();
    event->accept();
}

void frmMain::Unload()
{
    if (!m_loaded)
        return;
    // The dialogs unbind their items while the host is still there.
    UnloadChildForms();
    if (!isMinimized()) {
        const auto store = placementStore();
        const double twipsPerPixel = 1440.0 / logicalDpiX();
        const auto twips = [twipsPerPixel](int px) {
            return QString::number(qRound(px * twipsPerPixel));
        };
        store->setValue(QStringLiteral("MainLeft"), twips(x()));
        store->setValue(QStringLiteral("MainTop"), twips(y()));
        store->setValue(QStringLiteral("MainWidth"), twips(width()));
        store->setValue(QStringLiteral("MainHeight"), twips(height()));
    }
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

double frmMain::connectionStatus() const
{
    return appConnectionStatus->UIntValue();
}

void frmMain::setPanelText(int index, qint16 textId)
{
    if (QLabel *label = panel(index))
        label->setText(resText(textId));
}

void frmMain::appConnectionStatus_ValueChanged()
{
    if (!m_loaded)
        return;
    const qint32 status = qRound(connectionStatus());
    switch (status) {
    case 2:
        setPanelText(1, 2000);
        for (const char *on :
             {"tbDiagnostics", "tbReadFromDevice", "tbWriteToDevice", "tbDisconnect",
              "mnuDeviceReset", "mnuDeviceLoadFromDevice", "mnuDeviceSaveToDevice", "mnuDisplay",
              "mnuDiagnostics", "mnuCalibrate"})
            setEnabledByName(QLatin1String(on), true);
        for (const char *off : {"tbConnect", "tbNew", "tbopen", "mnuFileNew", "mnuFileOpen"})
            setEnabledByName(QLatin1String(off), false);
        setVisibleByName(QStringLiteral("mnuDeviceConnect"), false);
        setVisibleByName(QStringLiteral("mnuDeviceDisconnect"), true);
        // A dataset found not to fit the device stays barred from it.
        RefreshSaveToDevice();
        break;
    case 1:
        setPanelText(1, 2007);
        break;
    case 3:
        setPanelText(1, 2008);
        break;
    case 0:
        m_disconnectRequested = false;
        rangeValuesRead = false;
        setPanelText(1, 2001);
        for (const char *on : {"tbConnect", "tbNew", "tbopen", "mnuFileNew", "mnuFileOpen"})
            setEnabledByName(QLatin1String(on), true);
        for (const char *off : {"tbDiagnostics", "tbReadFromDevice", "tbWriteToDevice",
                                "tbDisconnect", "mnuDeviceLoadFromDevice", "mnuDeviceSaveToDevice",
                                "mnuDeviceReset", "mnuDisplay", "mnuDiagnostics", "mnuCalibrate"})
            setEnabledByName(QLatin1String(off), false);
        setVisibleByName(QStringLiteral("mnuDeviceConnect"), true);
        setVisibleByName(QStringLiteral("mnuDeviceDisconnect"), false);
        // A connection lost during a device operation releases the window.
        if (m_previousConnectionStatus == 2 || m_previousConnectionStatus == 3)
            EnableMainWindow(true);
        break;
    default:
        break;
    }
    guarded([this] { appEngineeringContext_ValueChanged(); });
    m_previousConnectionStatus = status;
}

void frmMain::appEngineeringContext_ValueChanged()
{
    if (!m_loaded)
        return;
    bool ok = false;
    const int context = appEngineeringContext->StringValue().right(2).toInt(&ok, 16);
    if (!ok)
        return;
    if (context & 0xAC) {
        if (qRound(connectionStatus()) == 2) {
            setEnabledByName(QStringLiteral("tbDisconnect"), true);
            setEnabledByName(QStringLiteral("mnuDeviceDisconnect"), true);
        } else {
            setEnabledByName(QStringLiteral("tbConnect"), true);
            setEnabledByName(QStringLiteral("mnuDeviceConnect"), true);
        }
        return;
    }
    // The frame application does not let this instance change the connection.
    for (const char *off : {"tbConnect", "tbDisconnect", "mnuDeviceConnect", "mnuDeviceDisconnect"})
        setEnabledByName(QLatin1String(off), false);
}

void frmMain::appInCompatibleDataset_ValueChanged()
{
    if (!m_loaded)
        return;
    const qint32 verdict = qRound(appInCompatibleDataset->UIntValue());
    if (verdict == 3 && qRound(connectionStatus()) == 2) {
        const QString text =
            appInCompatibleDataset->EnumValue() + QLatin1Char('\n') + resText(2227);
        if (MessageBoxSeam::show(this, QMessageBox::Question, windowTitle(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            runMenuCommand(QStringLiteral("mnuDeviceLoadFromDevice"));
            return;
        }
    } else if (verdict == 4 && !m_disconnectRequested) {
        MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(),
                             appInCompatibleDataset->EnumValue());
    }
    RefreshSaveToDevice();
}

void frmMain::RefreshSaveToDevice()
{
    const QString verdict = appInCompatibleDataset->StringValue();
    if (verdict == QLatin1String("0") || verdict == QLatin1String("4")) {
        if (appConnectionStatus->StringValue() == QLatin1String("2")) {
            setEnabledByName(QStringLiteral("mnuDeviceSaveToDevice"), true);
            setEnabledByName(QStringLiteral("tbWriteToDevice"), true);
        }
    } else if (verdict == QLatin1String("3")) {
        setEnabledByName(QStringLiteral("mnuDeviceSaveToDevice"), false);
        setEnabledByName(QStringLiteral("tbWriteToDevice"), false);
    }
}

void frmMain::appAddress_ValueChanged()
{
    // Current simulation and calibration need the analogue output, which
    // only a device at address 0 drives.
    const bool pointToPoint = appAddress->StringValue().trimmed().toDouble() <= 0;
    setEnabledByName(QStringLiteral("mnuDiagnosticsSimulateCurrent"), pointToPoint);
    setEnabledByName(QStringLiteral("mnuCalibrateCurrent"), pointToPoint);
}

void frmMain::appCurrentSource_ValueChanged(const QString &value)
{
    static const QHash<QString, qint16> texts{
        {QStringLiteral("0"), 2006}, {QStringLiteral("1"), 2004}, {QStringLiteral("2"), 2005}};
    if (texts.contains(value))
        setPanelText(2, texts.value(value));
}

void frmMain::appUserLevel_ValueChanged(const QString &value)
{
    if (value == QLatin1String("0"))
        setPanelText(3, 2003);
    else if (value == QLatin1String("1"))
        setPanelText(3, 2002);
}

void frmMain::UpdateCaption()
{
    if (gDeviceInfo)
        setWindowTitle(gDeviceInfo->DeviceIdentName());
}

QString frmMain::BackgroundResource(int desktopWidth)
{
    const int width = desktopWidth < 800    ? 640
                      : desktopWidth < 1024 ? 800
                      : desktopWidth < 1280 ? 1024
                      : desktopWidth < 1600 ? 1280
                                            : 1600;
    return QStringLiteral(":/pictures/BACKGROUND%1.svg").arg(width);
}

void frmMain::ChooseBackground()
{
    const QScreen *display = screen();
    const int width = display ? display->availableGeometry().width() : 1024;
    const QPixmap picture = LoadJpegResource(BackgroundResource(width));
    if (picture.isNull())
        return;
    m_background = picture;
    ApplyBackground();
}

// The picture covers the client area, whatever its size.
void frmMain::ApplyBackground()
{
    if (m_background.isNull())
        return;
    const QSize area = m_mdiArea->viewport()->size();
    if (area.isEmpty())
        return;
    m_mdiArea->setBackground(QBrush(
        m_background.scaled(area, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::Resize)
        ApplyBackground();
    return QMainWindow::eventFilter(watched, event);
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

// ---------------------------------------------------------------- child windows

void frmMain::ShowChildForm(QWidget *dialog)
{
    if (!dialog)
        return;
    if (auto *form = dynamic_cast<IVexaForm *>(dialog))
        form->setViewRef(m_view);
    auto *frame = qobject_cast<QMdiSubWindow *>(dialog->parentWidget());
    if (!frame || frame->mdiArea() != m_mdiArea) {
        frame = m_mdiArea->addSubWindow(dialog);
        // A dialog kept program-wide survives its closing; one made per
        // command (the digital display) asks to be deleted.
        frame->setAttribute(Qt::WA_DeleteOnClose, dialog->testAttribute(Qt::WA_DeleteOnClose));
    }
    dialog->show();
    frame->showNormal();
    guarded([&] {
        m_mdiArea->setActiveSubWindow(frame);
        dialog->setFocus();
    });
}

void frmMain::UpdateAllDialogs()
{
    for (QMdiSubWindow *frame : m_mdiArea->subWindowList()) {
        if (auto *form = dynamic_cast<IVexaForm *>(frame->widget()))
            form->UpdateVexaControls();
    }
}

void frmMain::UnloadChildForms()
{
    for (QMdiSubWindow *frame : m_mdiArea->subWindowList())
        frame->close();
}

// Windows' meaning: tiled horizontally, the windows lie one above the other.
void frmMain::arrangeChildren(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *frame : m_mdiArea->subWindowList()) {
        if (frame->isVisible() && !frame->isMinimized())
            shown.append(frame);
    }
    if (shown.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = int(shown.size());
    for (int i = 0; i < count; ++i) {
        shown[i]->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / count;
            shown[i]->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / count;
            shown[i]->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void frmMain::listChildWindows()
{
    QMenu *menu = m_menus->menu(QStringLiteral("mnuWindow"));
    for (QAction *old : std::as_const(m_childWindowEntries)) {
        menu->removeAction(old);
        old->deleteLater();
    }
    m_childWindowEntries.clear();
    const QList<QMdiSubWindow *> frames = m_mdiArea->subWindowList();
    if (frames.isEmpty())
        return;
    m_childWindowEntries.append(menu->addSeparator());
    int number = 1;
    for (QMdiSubWindow *frame : frames) {
        QAction *entry = menu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(frame->widget()->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(frame == m_mdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, frame = QPointer<QMdiSubWindow>(frame)] {
            if (frame)
                m_mdiArea->setActiveSubWindow(frame);
        });
        m_childWindowEntries.append(entry);
    }
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

void frmMain::connectCommands()
{
    struct Command
    {
        const char *entry;
        std::function<void()> run;
    };
    const Command builtIn[] = {
        {"mnuFileNew", [this] { mnuFileNew_Click(); }},
        {"mnuFileOpen", [this] { startFunctionView("Resident.clsLoadFromFile"); }},
        {"mnuFileSave",
         [this] {
             UpdateAllDialogs();
             startFunctionView("Resident.clsSaveToFile");
         }},
        {"mnuFileSaveAs",
         [this] {
             UpdateAllDialogs();
             startFunctionView("Resident.clsSaveAsToFile");
         }},
        {"mnuFilePrintPreview", [this] { startFunctionView("Resident.clsHTMLPrintOut"); }},
        {"mnuFileExit", [this] { close(); }},
        {"mnuEditCopy", [this] { mnuEditCopy_Click(); }},
        {"mnuEditPaste", [this] { mnuEditPaste_Click(); }},
        {"mnuDeviceConnect", [this] { applet()->fncConnect(0); }},
        {"mnuDeviceDisconnect", [this] { mnuDeviceDisconnect_Click(); }},
        {"mnuDeviceLoadFromDevice", [this] { seqUpload->Start(); }},
        {"mnuDeviceSaveToDevice", [this] { mnuDeviceSaveToDevice_Click(); }},
        {"mnuDeviceResetLoadDefault",
         [this] { mnuDeviceReset_Click(MainWindowCommands::Reset::FactoryData); }},
        {"mnuDeviceResetWarmStart",
         [this] { mnuDeviceReset_Click(MainWindowCommands::Reset::WarmStart); }},
        {"mnuViewToolbar", [this] { mnuView_Click(QStringLiteral("mnuViewToolbar"), m_toolBar); }},
        {"mnuViewStatusBar",
         [this] { mnuView_Click(QStringLiteral("mnuViewStatusBar"), statusBar()); }},
        {"mnuWindowCascade", [this] { m_mdiArea->cascadeSubWindows(); }},
        {"mnuWindowTileHorizontal", [this] { arrangeChildren(Qt::Horizontal); }},
        {"mnuWindowTileVertical", [this] { arrangeChildren(Qt::Vertical); }},
        {"mnuHelpContents", [this] { helpCommand(m_commands.helpContents); }},
        {"mnuHelpSearchForHelpOn", [this] { helpCommand(m_commands.helpIndex); }},
        {"mnuHelpReadme",
         [this] {
             if (m_commands.readMe)
                 m_commands.readMe(this);
         }},
        {"mnuHelpAbout",
         [this] {
             if (m_commands.about)
                 m_commands.about(this);
         }},
    };
    for (const Command &c : builtIn)
        m_wired.insert(QLatin1String(c.entry), c.run);
    // Every entry runs whatever is wired to it when it is chosen, so that a
    // command wired later needs no connection of its own.
    for (QAction *entry : m_menus->commands()) {
        const QString name = entry->objectName();
        connect(entry, &QAction::triggered, this, [this, name] { runMenuCommand(name); });
    }
    connect(m_toolBar, &MainToolBar::ButtonClick, this, &frmMain::tbToolBar_ButtonClick);
    connect(m_menus->menu(QStringLiteral("mnuWindow")), &QMenu::aboutToShow, this,
            [this] { listChildWindows(); });
}

void frmMain::wireCommand(const QString &entryName, std::function<void()> command)
{
    m_wired.insert(entryName, std::move(command));
    applyState(entryName);
    for (auto it = toolbarCommands().cbegin(); it != toolbarCommands().cend(); ++it) {
        if (it.value() == entryName)
            applyState(it.key());
    }
}

void frmMain::runMenuCommand(const QString &entryName)
{
    const auto command = m_wired.value(entryName);
    if (!command || commandMissing(entryName))
        return;
    try {
        command();
    } catch (const VexException &e) {
        MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(), e.description());
    } catch (const std::exception &e) {
        MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(),
                             QString::fromLocal8Bit(e.what()));
    }
}

void frmMain::tbToolBar_ButtonClick(const QString &key)
{
    const QString entry = toolbarCommands().value(key);
    const auto command = m_wired.value(entry);
    if (!command || commandMissing(entry))
        return;
    guarded(command);
}

void frmMain::mnuFileNew_Click()
{
    UnloadChildForms();
    if (m_commands.selectDefaultDataset)
        m_commands.selectDefaultDataset(this, m_view);
}

// The text of the active control of the active child window.
void frmMain::mnuEditCopy_Click()
{
    guarded([this] {
        QMdiSubWindow *frame = m_mdiArea->currentSubWindow();
        QWidget *control = frame && frame->widget() ? frame->widget()->focusWidget() : nullptr;
        if (!control)
            return;
        const QVariant text = control->property("text");
        if (text.isValid())
            QGuiApplication::clipboard()->setText(text.toString());
    });
}

void frmMain::mnuEditPaste_Click()
{
    guarded([this] {
        QMdiSubWindow *frame = m_mdiArea->currentSubWindow();
        QWidget *control = frame && frame->widget() ? frame->widget()->focusWidget() : nullptr;
        const QString text = QGuiApplication::clipboard()->text();
        if (!control || text.isEmpty() || !control->property("text").isValid())
            return;
        control->setProperty("text", text);
    });
}

void frmMain::mnuDeviceDisconnect_Click()
{
    m_disconnectRequested = true;
    applet()->fncDisconnect(0);
}

void frmMain::mnuDeviceSaveToDevice_Click()
{
    UpdateAllDialogs();
    EnableMainWindow(false);
    qint32 rc = -1;
    try {
        rc = applet()->fncSaveToDevice(0);
    } catch (...) {
        EnableMainWindow(true);
        throw;
    }
    // Refused, or aborted at once: nothing will end the busy state but us.
    if (rc != 0 || qRound(appAbortSequences->UIntValue()) == 1)
        EnableMainWindow(true);
}

void frmMain::mnuDeviceReset_Click(MainWindowCommands::Reset kind)
{
    if (!m_commands.deviceReset || !m_view)
        return;
    m_deviceReset = m_commands.deviceReset(m_view->appletItemManagerRef(), kind);
}

void frmMain::mnuView_Click(const QString &entryName, QWidget *bar)
{
    // A click has toggled the check mark already; a command run by name
    // toggles it here. Either way the mark follows the bar.
    const bool shown = bar->isHidden();
    m_menus->entry(entryName)->setChecked(shown);
    bar->setVisible(shown);
}

void frmMain::helpCommand(const std::function<void(QWidget *)> &command)
{
    if (!command)
        return;
    try {
        command(this);
    } catch (const VexException &e) {
        MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(), e.description());
    }
}

// ---------------------------------------------------------------- states

QAction *frmMain::element(const QString &name) const
{
    if (QAction *entry = m_menus->entry(name))
        return entry;
    return m_toolBar->button(name);
}

QAction *frmMain::menuEntry(const QString &name) const
{
    return m_menus->entry(name);
}

QAction *frmMain::toolbarButton(const QString &key) const
{
    return m_toolBar->button(key);
}

bool frmMain::commandMissing(const QString &name) const
{
    const QString entry = toolbarCommands().value(name, name);
    if (dialogEntries().contains(entry))
        return !m_wired.contains(entry);
    if (entry == QLatin1String("mnuFileNew"))
        return !m_commands.selectDefaultDataset;
    if (entry == QLatin1String("mnuDeviceResetLoadDefault") ||
        entry == QLatin1String("mnuDeviceResetWarmStart"))
        return !m_commands.deviceReset;
    if (entry == QLatin1String("mnuHelpContents"))
        return !m_commands.helpContents;
    if (entry == QLatin1String("mnuHelpSearchForHelpOn"))
        return !m_commands.helpIndex;
    if (entry == QLatin1String("mnuHelpReadme"))
        return !m_commands.readMe;
    if (entry == QLatin1String("mnuHelpAbout"))
        return !m_commands.about;
    return false;
}

void frmMain::setEnabledByName(const QString &name, bool enabled)
{
    m_wantedEnabled.insert(name, enabled);
    applyState(name);
}

void frmMain::setVisibleByName(const QString &name, bool visible)
{
    if (QAction *action = element(name))
        action->setVisible(visible);
}

void frmMain::applyState(const QString &name)
{
    QAction *action = element(name);
    if (!action)
        return;
    const bool missing = commandMissing(name);
    // Until a reaction decides, an element keeps its design state.
    const bool wanted = m_wantedEnabled.value(name, action->isEnabled());
    m_wantedEnabled.insert(name, wanted);
    action->setEnabled(wanted && !missing);
    const bool isButton = m_toolBar->button(name) == action;
    const QString design =
        isButton ? resText(qint16(action->property("ToolTipId").toInt())) : QString();
    if (missing)
        action->setToolTip(isButton && !design.isEmpty()
                               ? design + QLatin1Char('\n') + resText(NotAvailableYet)
                               : resText(NotAvailableYet));
    else if (isButton && !design.isEmpty())
        action->setToolTip(design);
    else if (!isButton)
        action->setToolTip(QString());
}
