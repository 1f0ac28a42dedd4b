#pragma once

#include "hart/HartIpMessage.h"
#include "hart/HartLink.h"

#include <QAbstractSocket>
#include <QTimer>
#include <memory>
#include <optional>

// A HART-IP client over TCP or UDP. Opening connects and initiates a session
// (primary master, asking for the inactivity close time; the time the server
// grants paces the keep-alives); requests travel one at a time as
// token-passing PDUs; keep-alives go out while the link is idle; a close ends
// the session first and waits a little for its answer. A peer that stops
// answering keep-alives, a TCP connection that breaks and a session refused
// all end the link with connectionLost and the reason in errorString(); a
// device that does not answer a request while the server still answers
// keep-alives is a timeout, and so is a gateway's answer that nobody is at
// the address, only sooner.
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
        int keepAliveMs = 0; // 0: a third of the inactivity close time granted
    };
    // How long a close waits for the server's answer before it lets go.
    static constexpr int MaxCloseWaitMs = 1000;

    explicit HartIpLink(Settings settings, QObject *parent = nullptr);
    ~HartIpLink() override;

    const Settings &settings() const { return m_settings; }
    // Takes effect at the next open().
    void setSettings(const Settings &settings) { m_settings = settings; }
    // The inactivity close time the server granted.
    quint32 grantedInactivityCloseMs() const { return m_grantedInactivityMs; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_state != State::Closed && m_state != State::Closing; }

Q_SIGNALS:
    void sessionOpened();
    // Every message as it goes out or comes in.
    void messageSent(const HartIpMessage &message);
    void messageReceived(const HartIpMessage &message);

protected:
    void transmit(const HartFrame &request) override;
    bool readyToTransmit() const override { return m_state == State::Ready; }

private:
    enum class State
    {
        Closed,
        Connecting,
        Initiating,
        Ready,
        Closing // the session close sent, its answer awaited
    };

    void socketConnected();
    void readMessages();
    void readStream();
    void readDatagrams();
    void received(const QByteArray &bytes, const HartIpMessage &message);
    void handleSession(const HartIpMessage &message);
    void handlePdu(const HartIpMessage &message);
    void responseTimedOut();
    void sendKeepAlive();
    void keepAliveTimedOut();
    quint16 write(HartIpMessage::Id id, const QByteArray &body);
    void writeMessage(const HartIpMessage &message);
    void restartIdleTimer();
    void fail(const QString &reason);
    void shutDown();
    void dropSocket();

    Settings m_settings;
    std::unique_ptr<QAbstractSocket> m_socket;
    State m_state = State::Closed;
    QByteArray m_buffer;
    std::optional<quint16> m_pduSequence;     // the request in flight
    std::optional<quint16> m_sessionSequence; // an initiate, keep-alive or close
    QTimer m_responseTimer;
    QTimer m_idleTimer;
    QTimer m_keepAliveTimer;
    quint16 m_sequence = 0;
    quint32 m_grantedInactivityMs = 0;
};
