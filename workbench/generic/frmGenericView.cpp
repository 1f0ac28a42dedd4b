#include "frmGenericView.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "GenericConfigurationPage.h"
#include "GenericIdentificationPage.h"
#include "GenericLoopPage.h"
#include "GenericStatusPage.h"
#include "GenericTexts.h"
#include "GenericTrendPage.h"
#include "GenericValuesPage.h"
#include "HistoryService.h"
#include "IViewEx.h"
#include "MessageBoxSeam.h"
#include "VexaAppItem.h"
#include "frame/DeviceFrame.h"
#include "hart/HartMaster.h"
#include "history/HistoryTexts.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

enum : qint16
{
    Title = 7700,
    ReadAgain = 7701,
    CloseText = 4712,
    IdentificationTab = 7780,
    ValuesTab = 7781,
    TrendTab = 7861,
    ConfigurationTab = 7782,
    LoopTab = 7783,
    StatusTab = 7784,
    Releasing = 7839,
    NotReleased = 7852,
    ReleaseLater = 7853,
    OtherDevice = 7854,
};

HartMaster *masterOf(const frmMain &main)
{
    IViewEx *view = main.viewRef();
    const auto manager = view ? view->appletItemManagerRef() : nullptr;
    const auto applet = manager ? manager->fncGetApplet() : nullptr;
    if (!applet)
        return nullptr;
    // The instance owns it: only a plain pointer is kept.
    return qobject_cast<HartMaster *>(
        applet->fncCreateObject(QLatin1String(DeviceFrame::MasterObject)).get());
}

// The main window's polling address and connection tell the view where to
// look and whether the host holds the link.
void openView(frmMain &main)
{
    auto *window = qobject_cast<frmGenericView *>(main.childWindows().instance(
        typeid(frmGenericView).name(), [&main] { return new frmGenericView(masterOf(main)); }));
    GenericDevice *device = window->device();
    device->setPollingAddress(quint8(main.appAddress->UIntValue()));
    QPointer<VexaAppItem> status = main.appConnectionStatus;
    device->setHostStatus([status] { return status ? int(status->UIntValue()) : -1; });
    main.ShowChildForm(window);
}

const MainCommandTable::Registration registration("mnuDeviceGenericView", openView);

} // namespace

frmGenericView::frmGenericView(HartMaster *master, QWidget *parent)
    : QWidget(parent), lblIdentity(new QLabel(this)), lblRevisions(new QLabel(this)),
      lblState(new QLabel(this)), lblResult(new QLabel(this)), tbsGeneric(new QTabWidget(this)),
      cmdRead(new QPushButton(GetResText(ReadAgain), this)),
      cmdClose(new QPushButton(GetResText(CloseText), this)),
      m_device(new GenericDevice(master, this))
{
    setObjectName(QStringLiteral("frmGenericView"));
    setWindowTitle(GetResText(Title));
    lblIdentity->setObjectName(QStringLiteral("lblIdentity"));
    lblRevisions->setObjectName(QStringLiteral("lblRevisions"));
    lblState->setObjectName(QStringLiteral("lblState"));
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    lblState->setWordWrap(true);
    QFont bold = lblIdentity->font();
    bold.setBold(true);
    lblIdentity->setFont(bold);

    pageIdentification = new GenericIdentificationPage(*m_device, tbsGeneric);
    pageValues = new GenericValuesPage(*m_device, tbsGeneric);
    pageTrend = new GenericTrendPage(*m_device, tbsGeneric);
    pageConfiguration = new GenericConfigurationPage(*m_device, tbsGeneric);
    pageLoop = new GenericLoopPage(*m_device, tbsGeneric);
    pageStatus = new GenericStatusPage(*m_device, tbsGeneric);
    tbsGeneric->addTab(pageIdentification, GetResText(IdentificationTab));
    tbsGeneric->addTab(pageValues, GetResText(ValuesTab));
    tbsGeneric->addTab(pageTrend, GetResText(TrendTab));
    tbsGeneric->addTab(pageConfiguration, GetResText(ConfigurationTab));
    tbsGeneric->addTab(pageLoop, GetResText(LoopTab));
    tbsGeneric->addTab(pageStatus, GetResText(StatusTab));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdRead);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblIdentity);
    layout->addWidget(lblRevisions);
    layout->addWidget(lblState);
    layout->addWidget(tbsGeneric, 1);
    layout->addWidget(lblResult);
    layout->addLayout(buttons);
    resize(620, 520);

    connect(m_device, &GenericDevice::stateChanged, this, [this] {
        refreshHeader();
        refreshButtons();
    });
    connect(m_device, &GenericDevice::busyChanged, this, &frmGenericView::refreshButtons);
    connect(m_device, &GenericDevice::finished, this, &frmGenericView::actionFinished);
    connect(m_device, &GenericDevice::deviceReplaced, this, &frmGenericView::deviceReplaced);
    connect(cmdRead, &QPushButton::clicked, this, [this] {
        // Not connected: look for the device again.
        if (m_device->state() == GenericDevice::State::Ready)
            m_device->readAll();
        else
            m_device->start();
    });
    connect(cmdClose, &QPushButton::clicked, this, &frmGenericView::closeFrame);
    refreshHeader();
    refreshButtons();
}

frmGenericView::~frmGenericView() = default;

void frmGenericView::setViewRef(IViewEx *view)
{
    m_view = view;
    // The writes go to the program's history like the host's do.
    QPointer<HistoryService> history = historyServiceOf(view);
    m_device->changeLog().setJournal(
        {[history](const QList<ChangeEntry> &entries, QString *problem) {
             return history ? history->changesStarting(entries, problem) : 0;
         },
         [history](qint64 token, DeviceWriteJournal::Outcome outcome, int responseCode) {
             if (history)
                 history->changesEnded(token, outcome, responseCode);
         }});
}

QString frmGenericView::GetTextFromResource(qint16 &iTextID) const
{
    return GetResText(iTextID);
}

void frmGenericView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        fitTabs();
        RestoreWindowPlacement(this, true, true);
        m_placed = true;
    }
    if (!m_device->isStarted())
        m_device->start();
}

// Every tab's title at once, none behind the scroll arrows, in whichever
// language (German ones are longer); a size the user left it at comes after.
void frmGenericView::fitTabs()
{
    const QTabBar *tabs = tbsGeneric->tabBar();
    const int missing = tabs->sizeHint().width() - tabs->width();
    QWidget *frame = parentWidget() ? parentWidget() : this;
    if (missing > 0)
        frame->resize(frame->width() + missing, frame->height());
}

void frmGenericView::refreshHeader()
{
    const auto &identity = m_device->identity();
    lblIdentity->setText(identity ? GenericTexts::identity(*identity) : QString());
    lblRevisions->setText(identity ? GenericTexts::revisions(*identity) : QString());
    lblState->setText(GenericTexts::state(*m_device));
}

void frmGenericView::refreshButtons()
{
    cmdRead->setEnabled(!m_device->isBusy() && !m_stopping &&
                        m_device->state() != GenericDevice::State::Connecting);
}

void frmGenericView::actionFinished(const GenericDevice::Result &result)
{
    lblResult->setText(GenericTexts::result(result));
}

void frmGenericView::deviceReplaced(const HartDeviceIdentity &previous)
{
    refreshHeader();
    lblResult->setText(
        FormatResText(GetResText(OtherDevice), {m_device->identity()->key(), previous.key()}));
}

void frmGenericView::closeFrame()
{
    if (auto *frame = parentWidget())
        frame->close();
    else
        close();
}

// Leaving the window returns the loop current it fixed to normal: the window
// waits for the device's answer before it goes.
void frmGenericView::closeEvent(QCloseEvent *event)
{
    if (!m_closeAllowed && !m_stopping && !m_device->isStarted()) {
        m_closeAllowed = true;
    } else if (!m_closeAllowed && !m_stopping) {
        m_stopping = true;
        m_stoppedAtOnce = false;
        m_insideStop = true;
        m_device->stop(
            [this](const std::optional<GenericDevice::Result> &release) { stopped(release); });
        m_insideStop = false;
        m_closeAllowed = m_stoppedAtOnce;
    }
    if (!m_closeAllowed) {
        // The release is under way: its answer closes the window.
        event->ignore();
        lblResult->setText(GetResText(Releasing));
        tbsGeneric->setEnabled(false);
        refreshButtons();
        return;
    }
    m_closeAllowed = false;
    SaveWindowPlacement(this, true, true);
    m_placed = false;
    event->accept();
}

void frmGenericView::stopped(const std::optional<GenericDevice::Result> &release)
{
    m_stopping = false;
    tbsGeneric->setEnabled(true);
    refreshButtons();
    if (release && !release->accepted())
        MessageBoxSeam::show(
            this, QMessageBox::Warning, windowTitle(),
            FormatResText(GetResText(NotReleased), {GenericTexts::result(*release)}));
    else if (!release && m_device->releaseWhenBack())
        MessageBoxSeam::show(this, QMessageBox::Information, windowTitle(),
                             GetResText(ReleaseLater));
    if (m_insideStop) {
        m_stoppedAtOnce = true;
        return;
    }
    m_closeAllowed = true;
    closeFrame();
}
