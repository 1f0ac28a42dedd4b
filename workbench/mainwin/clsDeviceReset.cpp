#include "clsDeviceReset.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "MessageBoxSeam.h"
#include "Module1.h"
#include "Toolkit_LoadResource.h"
#include "WorkbenchLog.h"
#include "clsAppItem.h"
#include "clsSeqItemCollection.h"
#include "enmRegMask.h"
#include "global.h"

#include <QPointer>
#include <utility>

namespace {
const QString MasterReset = QStringLiteral("PerformMasterReset");
const QString FactoryReset = QStringLiteral("PerformResetToFactoryData");
constexpr qint16 ResetRegMask = REGISTER_STATE | REGISTER_CONTROL;
constexpr int NotConnected = 0;
constexpr int Disconnecting = 3;
// A host may report the end of the warm start twice; each report is answered.
constexpr int WarmStartReports = 2;
} // namespace

QPointer<clsDeviceReset> clsDeviceReset::s_current;

clsDeviceReset::clsDeviceReset(QObject *parent)
    : QObject(parent), m_ConnectionStatus(std::make_unique<clsAppItem>())
{
    connect(m_ConnectionStatus.get(), &clsAppItem::ValueUpdate3, this,
            &clsDeviceReset::onConnectionStatus);
}

clsDeviceReset::~clsDeviceReset()
{
    UnRegister();
}

void clsDeviceReset::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    if (m_registered || !AppletItemManagerRef)
        return;
    m_ConnectionStatus->Register(AppletItemManagerRef, QStringLiteral("&&private&&Connect"));
    if (!m_sequences)
        m_sequences = std::make_unique<clsSeqItemCollection>();
    for (const QString &name : {MasterReset, FactoryReset})
        m_sequences->Add(name, false, 0, ResetRegMask, this,
                         QStringLiteral("SequenceItem_StatusChanged"));
    m_sequences->Register(AppletItemManagerRef);
    m_manager = std::move(AppletItemManagerRef);
    m_registered = true;
}

void clsDeviceReset::UnRegister()
{
    if (!m_registered)
        return;
    m_sequences->UnRegister();
    m_ConnectionStatus->UnRegister();
    m_registered = false;
}

void clsDeviceReset::PerformMasterReset()
{
    confirmAndStart(3505, MasterReset, 2212);
}

void clsDeviceReset::PerformResetToFactoryData()
{
    confirmAndStart(2146, FactoryReset, 2144);
}

void clsDeviceReset::confirmAndStart(qint16 titleId, const QString &sequenceName, qint16 messageId)
{
    if (!m_registered) {
        release();
        return;
    }
    try {
        const auto answer =
            MessageBoxSeam::show(MainWindow(), QMessageBox::Warning, GetResText(titleId),
                                 GetResText(messageId), QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok) {
            release();
            return;
        }
        takeOver();
        m_sequences->Item(sequenceName)->Start();
    } catch (...) {
        // A start the host refuses leaves the window usable and says nothing.
        qCInfo(lcWorkbench).noquote()
            << "device reset" << sequenceName << "not started:" << CurrentErrorText();
        release();
        return;
    }
    EnableMainWindow(false);
}

void clsDeviceReset::SequenceItem_StatusChanged(const QString &sequenceItemName,
                                                qint32 sequenceStatus)
{
    if (!m_registered || m_released || sequenceStatus != 0)
        return;
    const bool factory = sequenceItemName.compare(FactoryReset, Qt::CaseInsensitive) == 0;
    if (factory && m_reconnectPending) {
        m_disconnectRequested = true;
        if (auto applet = m_manager->fncGetApplet())
            applet->fncDisconnect(0);
    }
    if (auto sequence = m_sequences->Item(sequenceItemName)) {
        qint32 go = 1;
        sequence->DoAction(go);
    }
    if (factory) {
        // The reconnect follows the connection's drop, whenever it comes.
        m_reconnectPending = true;
    } else if (++m_warmStartReports == WarmStartReports) {
        release();
    }
}

void clsDeviceReset::onConnectionStatus(QString &, qint32 &)
{
    if (!m_registered || m_released)
        return;
    const int status = qRound(m_ConnectionStatus->UIntValue());
    if (status == Disconnecting && !m_disconnectRequested) {
        // The user's own disconnect: a reset the device refused must not
        // bring the connection back later.
        m_reconnectPending = false;
        release();
        return;
    }
    if (status != NotConnected)
        return;
    if (std::exchange(m_reconnectPending, false)) {
        if (m_reConnect)
            m_reConnect();
        else if (QWidget *main = MainWindow())
            QMetaObject::invokeMethod(main, "ReConnect", Qt::DirectConnection);
    }
    release();
}

void clsDeviceReset::takeOver()
{
    // An earlier reset still waiting (one the device refused stays until
    // the connection ends) would answer this reset's reports as its own.
    if (s_current && s_current != this)
        s_current->release();
    s_current = this;
}

void clsDeviceReset::release()
{
    // Often called from inside a host notification: the items are let go
    // with the object, once that call has returned.
    if (m_released)
        return;
    m_released = true;
    if (s_current == this)
        s_current = nullptr;
    deleteLater();
}
