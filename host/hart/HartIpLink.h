#pragma once

#include "hart/HartIpMessage.h"
#include "hart/HartLink.h"

#include <QAbstractSocket>
#include <QQueue>
#include <QTimer>
#include <memory>
#include <optional>

// A HART-IP client over TCP or UDP. Opening connects and initiates a session
// (primary master, with the inactivity close time); requests travel one at a
// time as token-passing PDUs; keep-alives go out while the link is idle; a
// close ends the session first. A peer that stops answering keep-alives, a
// TCP connection that breaks and a session refused all end the link with
// connectionLost and the reason in errorString(); a device that does not
// answer a request while the server still answers keep-alives is a timeout.
class HartIpLink : public HartLink
{
    Q_OBJECT

public:
    enum class Transport
    {
        Tcp,
        Udp
    };

    struct Settings
    {
        QString host = QStringLiteral("127.0.0.1");
        quint16 port = HartIpMessage::DefaultPort;
        Transport transport = Transport::Tcp;
        int responseTimeoutMs = 3000; // for each request, session message and the connect
        quint32 inactivityCloseMs = 60000;
        int keepAliveMs = 0; // 0: a third of the inactivity close time
    };

    explicit HartIpLink(Settings settings, QObject *parent = nullptr);
    ~HartIpLink() override;

    const Settings &settings() const { return m_settings; }
    // Takes effect at the next open().
    void setSettings(const Settings &settings) { m_settings = settings; }
    // The inactivity close time the server granted.
    quint32 grantedInactivityCloseMs() const { return m_grantedInactivityMs; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_state != State::Closed; }
    RequestId send(const HartFrame &request) override;

Q_SIGNALS:
    void sessionOpened();
    // Every message as it goes out or comes in (for a traffic record).
    void messageSent(const HartIpMessage &message);
    void messageReceived(const HartIpMessage &message);

private:
    enum class State
    {
        Closed,
        Connecting,
        Initiating,
        Ready
    };

    struct Pending
    {
        RequestId id = 0;
        HartFrame request;
        quint16 sequence = 0;
    };

    void socketConnected();
    void readMessages();
    void handle(const HartIpMessage &message);
    void handleSession(const HartIpMessage &message);
    void handlePdu(const HartIpMessage &message);
    void responseTimedOut();
    void sendKeepAlive();
    void keepAliveTimedOut();
    quint16 write(HartIpMessage::Id id, const QByteArray &body);
    void startNext();
    void restartIdleTimer();
    void fail(const QString &reason);
    void shutDown(bool sendClose);

    Settings m_settings;
    std::unique_ptr<QAbstractSocket> m_socket;
    State m_state = State::Closed;
    QByteArray m_buffer;
    QQueue<Pending> m_queue;
    std::optional<Pending> m_inFlight;
    std::optional<quint16> m_keepAliveSequence;
    QTimer m_responseTimer;
    QTimer m_idleTimer;
    QTimer m_keepAliveTimer;
    RequestId m_nextId = 1;
    quint16 m_sequence = 0;
    quint32 m_grantedInactivityMs = 0;
};
