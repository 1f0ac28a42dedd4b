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

#include <QTimer>

namespace {
const QString MasterReset = QStringLiteral("PerformMasterReset");
const QString FactoryReset = QStringLiteral("PerformResetToFactoryData");
constexpr qint16 ResetRegMask = REGISTER_STATE | REGISTER_CONTROL;
constexpr int NotConnected = 0;
} // namespace

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
        if (auto applet = m_manager->fncGetApplet())
            applet->fncDisconnect(0);
    }
    if (auto sequence = m_sequences->Item(sequenceItemName)) {
        qint32 go = 1;
        sequence->DoAction(go);
    }
    if (!factory) {
        release();
        return;
    }
    m_reconnectPending = true;
    // The host drops the link of a restarting device while it reports the
    // end; a reset that failed leaves the link up and must not reconnect
    // on some later, unrelated disconnect.
    QTimer::singleShot(0, this, &clsDeviceReset::checkRestarted);
}

void clsDeviceReset::checkRestarted()
{
    if (!m_reconnectPending || !m_registered || m_released)
        return;
    if (qRound(m_ConnectionStatus->UIntValue()) != NotConnected) {
        m_reconnectPending = false;
        release();
    }
}

void clsDeviceReset::onConnectionStatus(QString &, qint32 &)
{
    if (!m_registered || m_released || !m_reconnectPending)
        return;
    if (qRound(m_ConnectionStatus->UIntValue()) != NotConnected)
        return;
    m_reconnectPending = false;
    if (m_reConnect)
        m_reConnect();
    else if (QWidget *main = MainWindow())
        QMetaObject::invokeMethod(main, "ReConnect", Qt::DirectConnection);
    release();
}

void clsDeviceReset::release()
{
    // Often called from inside a host notification: the items are let go
    // with the object, once that call has returned.
    m_released = true;
    deleteLater();
}
