#pragma once

#include <QObject>
#include <QPointer>
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
// is over: cancelled or refused at the start, every status report answered
// (the warm start's two), the connection dropped (after the reconnect is
// requested when it was armed), the user disconnecting, or a later reset
// taking its place.
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
    void takeOver();
    void release();

    std::unique_ptr<clsSeqItemCollection> m_sequences;
    std::shared_ptr<AppletItemManager> m_manager;
    bool m_registered = false;
    bool m_reconnectPending = false;
    bool m_released = false;
    // The disconnect this object asked for (second report of the factory reset).
    bool m_disconnectRequested = false;
    int m_warmStartReports = 0;
    std::unique_ptr<clsAppItem> m_ConnectionStatus;
    ReConnectHandler m_reConnect;
    // The reset started last; the one before it is over.
    static QPointer<clsDeviceReset> s_current;
};
