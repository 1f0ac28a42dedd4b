#pragma once

#include "hart/HartFrame.h"
#include "hart/HartIpMessage.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QTcpServer;
class QTcpSocket;
class QTimer;
class QUdpSocket;

// Serves a HART device (or a loop of them) as a HART-IP server over TCP and
// UDP: session initiate, keep-alive, session close and the token-passing PDU,
// each session closed after its inactivity time. The device is a function from
// request bytes to response bytes; when it stays silent, so does the server.
// Told who is on the loop, it answers a request that no device would take at
// once, as a gateway does, instead of letting the client wait for its time-out.
class HartIpServer : public QObject
{
    Q_OBJECT

public:
    using Responder = std::function<std::optional<QByteArray>(QByteArrayView request)>;
    // Whether a device on the loop takes the request (its address, unique id or tag).
    using Presence = std::function<bool(const HartFrame &request)>;
    static constexpr quint32 MinInactivityMs = 100;
    static constexpr quint32 MaxInactivityMs = 3600 * 1000;

    explicit HartIpServer(Responder responder, QObject *parent = nullptr);
    ~HartIpServer() override;

    void setPresence(Presence presence) { m_presence = std::move(presence); }
    // Port 0 takes any free port; tcpPort()/udpPort() say which.
    bool listenTcp(const QHostAddress &address, quint16 port, QString *error);
    bool listenUdp(const QHostAddress &address, quint16 port, QString *error);
    quint16 tcpPort() const;
    quint16 udpPort() const;
    // Initiated sessions.
    int sessionCount() const;
    void setMaxSessions(int count) { m_maxSessions = count; }
    // Ends every session without a word and stops listening, as a server that dies.
    void stop();

    // The answer a gateway gives for a device that is not there: the request's
    // own address and command with "delayed response dead".
    static QByteArray absentDeviceAnswer(const HartFrame &request);

Q_SIGNALS:
    void sessionsChanged(int count);
    void requestServed(quint8 command);

private:
    struct Session;
    using Reply = std::function<void(const QByteArray &)>;

    void acceptTcp();
    void readTcp(QTcpSocket *socket, const QString &key);
    void readUdp();
    Session &session(const QString &key, Reply reply, std::function<void(bool)> close);
    void serve(const QString &key, const HartIpMessage &message);
    std::optional<HartIpMessage> answer(Session &session, const HartIpMessage &message,
                                        bool *closeAfter);
    HartIpMessage initiate(Session &session, const HartIpMessage &message, bool *closeAfter);
    std::optional<HartIpMessage> passToken(const HartIpMessage &message);
    void endSession(const QString &key);

    Responder m_responder;
    Presence m_presence;
    std::unique_ptr<QTcpServer> m_tcp;
    std::unique_ptr<QUdpSocket> m_udp;
    QHash<QString, std::shared_ptr<Session>> m_sessions;
    int m_maxSessions = 8;
};
