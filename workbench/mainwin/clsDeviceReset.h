#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class AppletItemManager;
class clsAppItem;
class clsSeqItemCollection;

// The two reset procedures of the transmitter: warm start ("PerformMasterReset")
// and factory data ("PerformResetToFactoryData"). Asks for confirmation, starts
// the sequence, switches the busy state on and answers the sequence's reports;
// after the factory reset has restarted the device it has the main window
// connect again.
//
// One object per command, created with new: it releases itself once its reset
// is over (cancelled, refused, warm start answered, reconnect requested, or a
// factory reset that ended without restarting the device).
//
//     auto *reset = new clsDeviceReset(this);
//     reset->setReConnectHandler([this] { ReConnect(); });
//     reset->Register(manager);
//     reset->PerformResetToFactoryData();
//
// Without a handler the reconnect calls the Q_INVOKABLE "ReConnect" of the
// window registered with SetMainWindow.
class clsDeviceReset : public QObject
{
    Q_OBJECT

public:
    using ReConnectHandler = std::function<void()>;

    explicit clsDeviceReset(QObject *parent = nullptr);
    ~clsDeviceReset() override;

    void setReConnectHandler(ReConnectHandler handler) { m_reConnect = std::move(handler); }

    void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    void UnRegister();
    bool isRegistered() const { return m_registered; }
    bool reconnectPending() const { return m_reconnectPending; }

    void PerformMasterReset();
    void PerformResetToFactoryData();

    Q_INVOKABLE void SequenceItem_StatusChanged(const QString &sequenceItemName,
                                                qint32 sequenceStatus);

private:
    void confirmAndStart(qint16 titleId, const QString &sequenceName, qint16 messageId);
    void onConnectionStatus(QString &appItemValue, qint32 &itemState);
    void checkRestarted();
    void release();

    std::unique_ptr<clsSeqItemCollection> m_sequences;
    std::shared_ptr<AppletItemManager> m_manager;
    bool m_registered = false;
    bool m_reconnectPending = false;
    bool m_released = false;
    std::unique_ptr<clsAppItem> m_ConnectionStatus;
    ReConnectHandler m_reConnect;
};
