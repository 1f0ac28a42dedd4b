#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <optional>

// One HART-IP message: the 8-byte header (version, message type, message id,
// status, sequence number, byte count of the whole message) and its body.
// Every version shares the header, so a message of another version is read
// as well and its version left for the receiver to judge.
class HartIpMessage
{
public:
    static constexpr int HeaderSize = 8;
    static constexpr quint8 Version = 1;
    static constexpr quint16 DefaultPort = 5094;
    // The byte count field is 16 bits; a token-passing body is one HART frame.
    static constexpr int MaxMessageSize = 0xFFFF;

    enum class Type : quint8
    {
        Request = 0,
        Response = 1,
        Notification = 2,
        Error = 3,
        Nak = 15
    };

    enum class Id : quint8
    {
        SessionInitiate = 0,
        SessionClose = 1,
        KeepAlive = 2,
        TokenPassingPdu = 3
    };

    // Header status codes of a response, error or NAK.
    enum Status : quint8
    {
        Success = 0,
        InvalidSelection = 2, // also: a master type other than primary
        TooFewDataBytes = 5,
        SetToNearest = 8,
        VersionNotSupported = 14,
        AllSessionsInUse = 15,
        SessionAlreadyOpen = 16,
    };

    enum class ReadError
    {
        None,
        NeedMore,
        BadLength
    };

    HartIpMessage() = default;
    HartIpMessage(Type type, Id id, quint16 sequence, const QByteArray &body = {},
                  quint8 status = Success);

    quint8 version() const { return m_version; }
    void setVersion(quint8 version) { m_version = version; }
    Type type() const { return m_type; }
    Id id() const { return m_id; }
    quint8 status() const { return m_status; }
    quint16 sequence() const { return m_sequence; }
    const QByteArray &body() const { return m_body; }
    QByteArray encode() const;

    // Session initiate body: master type (1 primary) and the inactivity close time in ms.
    static QByteArray sessionBody(quint32 inactivityCloseMs, quint8 masterType = 1);
    static std::optional<quint32> inactivityCloseTime(QByteArrayView body);

    // Takes one whole message from the front of a stream buffer. NeedMore leaves
    // the buffer as it is; BadLength means the stream is lost.
    static std::optional<HartIpMessage> take(QByteArray &buffer, ReadError *error);
    // One datagram holds exactly one message.
    static std::optional<HartIpMessage> decode(QByteArrayView datagram, ReadError *error);

    static QString statusText(quint8 status);

private:
    quint8 m_version = Version;
    Type m_type = Type::Request;
    Id m_id = Id::KeepAlive;
    quint8 m_status = Success;
    quint16 m_sequence = 0;
    QByteArray m_body;
};
Q_DECLARE_METATYPE(HartIpMessage)
