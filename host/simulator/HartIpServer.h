#pragma once

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
class HartIpServer : public QObject
{
    Q_OBJECT

public:
    using Responder = std::function<std::optional<QByteArray>(QByteArrayView request)>;
    static constexpr quint32 MinInactivityMs = 100;
    static constexpr quint32 MaxInactivityMs = 3600 * 1000;

    explicit HartIpServer(Responder responder, QObject *parent = nullptr);
    ~HartIpServer() override;

    // Port 0 takes any free port; tcpPort()/udpPort() say which.
    bool listenTcp(const QHostAddress &address, quint16 port, QString *error);
    bool listenUdp(const QHostAddress &address, quint16 port, QString *error);
    quint16 tcpPort() const;
    quint16 udpPort() const;
    int sessionCount() const { return int(m_sessions.size()); }
    void setMaxSessions(int count) { m_maxSessions = count; }
    // Ends every session without a word and stops listening, as a server that dies.
    void stop();

Q_SIGNALS:
    void sessionsChanged(int count);
    void requestServed(quint8 command);

private:
    struct Session;
    using Reply = std::function<void(const QByteArray &)>;

    void acceptTcp();
    void readTcp(QTcpSocket *socket, const QString &key);
    void readUdp();
    Session &session(const QString &key, Reply reply, std::function<void()> close);
    void serve(const QString &key, const HartIpMessage &message);
    std::optional<HartIpMessage> answer(Session &session, const HartIpMessage &message,
                                        bool *closeAfter);
    HartIpMessage initiate(Session &session, const HartIpMessage &message);
    HartIpMessage passToken(const HartIpMessage &message, bool *silent);
    void endSession(const QString &key);

    Responder m_responder;
    std::unique_ptr<QTcpServer> m_tcp;
    std::unique_ptr<QUdpSocket> m_udp;
    QHash<QString, std::shared_ptr<Session>> m_sessions;
    int m_maxSessions = 8;
};
