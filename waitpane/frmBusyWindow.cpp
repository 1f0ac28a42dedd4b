#include "frmBusyWindow.h"

#include "BusyDeviceInfo.h"
#include "BusyStatusTable.h"
#include "Module1.h"
#include "ResTextLoader.h"
#include "VexaAppItem.h"
#include "VexaControlItemHandler.h"
#include "VexaSequenceItem.h"
#include "WaitpaneLog.h"
#include "ctlBusyWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString ProgressPrefix = QStringLiteral("&&Sequence_Progress&&");
constexpr qint16 CancelText = 101;
constexpr qint16 DeviceBusyText = 102;
constexpr qint16 FirstStatusText = 102;
constexpr qint16 LastStatusText = 124;

frmBusyWindow::DeviceInfoFactory &deviceInfoFactory()
{
    static frmBusyWindow::DeviceInfoFactory factory = [] {
        return std::make_shared<BusyDeviceInfo>();
    };
    return factory;
}

const ResStringTable &strings()
{
    static const ResStringTable table =
        ResStringTable::fromFile(QStringLiteral(":/waitpane/strings.tsv"));
    return table;
}

VexaAppItem *itemControl(QWidget *form, const char *objectName, const char *itemName)
{
    auto *control = new VexaAppItem(form);
    control->setObjectName(QLatin1String(objectName));
    control->setAppItemName(QLatin1String(itemName));
    return control;
}

} // namespace

void frmBusyWindow::setDeviceInfoFactory(DeviceInfoFactory factory)
{
    deviceInfoFactory() = std::move(factory);
}

QString frmBusyWindow::ResText(qint16 id)
{
    return strings().text(id);
}

// The window is a top-level window of its own, not a child of the hosting
// window: disabling the host must leave Cancel usable.
frmBusyWindow::frmBusyWindow(ctlBusyWindow *owner,
                             std::shared_ptr<AppletItemManager> AppletItemManagerRef)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      appCurrentSequence(itemControl(this, "appCurrentSequence", "currentSequence")),
      appCurrentRecord(itemControl(this, "appCurrentRecord", "currentRecord")),
      appCurrentResponseCode(itemControl(this, "appCurrentResponseCode", "currentResponseCode")),
      appConnectionStatus(itemControl(this, "appConnectionStatus", "&&private&&Connect")),
      appAbortSequences(itemControl(this, "appAbortSequences", "abortSequences")),
      appSequenceProgress(itemControl(this, "appSequenceProgress", "")),
      sequenceItem(new VexaSequenceItem(this)),
      VexaControlItemHandler1(new VexaControlItemHandler(this)),
      ProgressBar(new QProgressBar(this)), lblDeviceStatus(new QLabel(this)),
      cmdCancel(new QPushButton(this)), Timer1(new QTimer(this)),
      m_manager(std::move(AppletItemManagerRef)), m_owner(owner)
{
    setObjectName(QStringLiteral("frmBusyWindow"));
    sequenceItem->setObjectName(QStringLiteral("sequenceItem"));
    sequenceItem->setRegisterControlItem(false);
    VexaControlItemHandler1->setObjectName(QStringLiteral("VexaControlItemHandler1"));
    VexaControlItemHandler1->setStandAlone(true);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    lblDeviceStatus->setObjectName(QStringLiteral("lblDeviceStatus"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setProperty("Tag", CancelText);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TimerIntervalMs);
    buildLayout();

    connect(appCurrentSequence, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { appCurrentSequence_ValueChanged(value); });
    connect(appSequenceProgress, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { appSequenceProgress_ValueChanged(value); });
    connect(appCurrentResponseCode, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appCurrentResponseCode_ValueChanged(); });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appConnectionStatus_ValueChanged(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

frmBusyWindow::~frmBusyWindow()
{
    Unload();
}

void frmBusyWindow::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblDeviceStatus);
    layout->addWidget(ProgressBar);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Wide enough for the longest status text of the user's language, so the
// window keeps its size from one sequence to the next.
void frmBusyWindow::fitStatusTexts()
{
    int width = 0;
    for (qint16 id = FirstStatusText; id <= LastStatusText; ++id)
        width = std::max(width, lblDeviceStatus->fontMetrics().horizontalAdvance(ResText(id)));
    lblDeviceStatus->setMinimumWidth(width + 8);
}

void frmBusyWindow::Load()
{
    if (m_registered)
        return;
    Timer1->start();
    ResTextLoader::Apply(this, [](qint16 id) { return ResText(id); });
    fitStatusTexts();
    VexaControlItemHandler1->Register1(this, m_manager);
    m_deviceInfo = deviceInfoFactory()();
    try {
        m_deviceInfo->Register(m_manager);
    } catch (...) {
        // Without tag and descriptor the window only lacks its caption.
        qCInfo(lcWaitpane).noquote()
            << "busy window without device information for its caption:" << CurrentErrorText();
    }
    m_registered = true;
    QString sequenceName = appCurrentSequence->StringValue();
    appCurrentSequence_ValueChanged(sequenceName);
    appCurrentResponseCode_ValueChanged();
}

void frmBusyWindow::Unload()
{
    if (!m_registered)
        return;
    Timer1->stop();
    m_owner->RaiseEnableWindow();
    VexaControlItemHandler1->UnRegister();
    m_registered = false;
}

void frmBusyWindow::Show()
{
    if (m_shown)
        return;
    m_shown = true;
    m_owner->RaiseDisableWindow();
    centreOverHost();
    show();
    Timer1->start();
}

void frmBusyWindow::Hide()
{
    Timer1->stop();
    m_shown = false;
    m_owner->RaiseEnableWindow();
    hide();
}

void frmBusyWindow::centreOverHost()
{
    adjustSize();
    const QWidget *host = m_owner->HostWindow();
    if (!host)
        return;
    const QRect hostFrame = host->frameGeometry();
    const QSize own = frameGeometry().size();
    move(hostFrame.left() + hostFrame.width() / 2 - own.width() / 2,
         hostFrame.top() + hostFrame.height() / 2 - own.height() / 2);
}

void frmBusyWindow::appCurrentSequence_ValueChanged(const QString &sequenceName)
{
    if (!m_registered)
        return;
    if (sequenceName.isEmpty()) {
        Hide();
        return;
    }
    // File operations keep the host disabled without a busy window.
    if (sequenceName == QLatin1String("ReadFile") || sequenceName == QLatin1String("WriteFile")) {
        m_owner->RaiseDisableWindow();
        return;
    }
    try {
        setWindowTitle(m_deviceInfo->DeviceIdentName());
    } catch (...) {
        qCInfo(lcWaitpane).noquote()
            << "busy window keeps its caption, no device name:" << CurrentErrorText();
    }
    bindRunningSequence(sequenceName);
    cmdCancel->setEnabled(false);
    if (sequenceItem->SequenceState() == SilentSequenceState)
        return;
    const BusyStatus status = BusyStatusTable::lookup(sequenceName);
    if (status.textId != 0)
        lblDeviceStatus->setText(ResText(status.textId));
    cmdCancel->setEnabled(status.cancelEnabled);
    Show();
}

void frmBusyWindow::bindRunningSequence(const QString &sequenceName)
{
    if (appSequenceProgress->AppItemName() == ProgressPrefix + sequenceName)
        return;
    appSequenceProgress->setAppItemName(ProgressPrefix + sequenceName);
    appSequenceProgress->Register(m_manager);
    sequenceItem->setAppItemName(sequenceName);
    sequenceItem->Register(m_manager);
}

void frmBusyWindow::appSequenceProgress_ValueChanged(const QString &value)
{
    if (!m_registered)
        return;
    bool ok = false;
    const double progress = value.toDouble(&ok);
    if (ok)
        ProgressBar->setValue(int(progress));
}

void frmBusyWindow::appCurrentResponseCode_ValueChanged()
{
    if (!m_registered)
        return;
    // Command number, response code, device status: anything shorter is no
    // response and is passed over.
    const QByteArray response = appCurrentResponseCode->OctetValue().toByteArray();
    if (response.size() < 3)
        return;
    const quint8 code = quint8(response[1]);
    if (code == 0) {
        if (appCurrentSequence->StringValue().isEmpty() && m_lastResponseCode != 0)
            Hide();
    } else if (code == DeviceBusyResponse) {
        lblDeviceStatus->setText(ResText(DeviceBusyText));
        cmdCancel->setEnabled(false);
        Show();
    }
    m_lastResponseCode = code;
}

void frmBusyWindow::appConnectionStatus_ValueChanged()
{
    if (appConnectionStatus->UIntValue() == 0 && m_shown)
        Hide();
}

void frmBusyWindow::cmdCancel_Click()
{
    appAbortSequences->setStringValue(QStringLiteral("1"));
    Hide();
}

void frmBusyWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_shown && cmdCancel->isEnabled())
        cmdCancel_Click();
}

void frmBusyWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmBusyWindow::Timer1_Timer()
{
    if (appCurrentSequence->StringValue().trimmed().isEmpty())
        Hide();
}
