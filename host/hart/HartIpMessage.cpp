#include "hart/HartIpMessage.h"

#include "hart/HartCodec.h"
#include "hart/HartLinkTexts.h"

HartIpMessage::HartIpMessage(Type type, Id id, quint16 sequence, const QByteArray &body,
                             quint8 status)
    : m_type(type), m_id(id), m_status(status), m_sequence(sequence), m_body(body)
{
}

QByteArray HartIpMessage::encode() const
{
    QByteArray out;
    out.reserve(HeaderSize + m_body.size());
    out.append(char(m_version));
    out.append(char(m_type));
    out.append(char(m_id));
    out.append(char(m_status));
    out.append(HartCodec::fromUInt16(m_sequence));
    out.append(HartCodec::fromUInt16(quint16(HeaderSize + m_body.size())));
    out.append(m_body);
    return out;
}

QByteArray HartIpMessage::sessionBody(quint32 inactivityCloseMs, quint8 masterType)
{
    return QByteArray(1, char(masterType)) + HartCodec::fromUInt32(inactivityCloseMs);
}

std::optional<quint32> HartIpMessage::inactivityCloseTime(QByteArrayView body)
{
    if (body.size() < 5)
        return std::nullopt;
    return HartCodec::toUInt32(body, 1);
}

std::optional<HartIpMessage> HartIpMessage::take(QByteArray &buffer, ReadError *error)
{
    *error = ReadError::NeedMore;
    if (buffer.size() < HeaderSize)
        return std::nullopt;
    const int length = HartCodec::toUInt16(buffer, 6);
    if (length < HeaderSize) {
        *error = ReadError::BadLength;
        return std::nullopt;
    }
    if (buffer.size() < length)
        return std::nullopt;
    HartIpMessage m(Type(quint8(buffer[1])), Id(quint8(buffer[2])), HartCodec::toUInt16(buffer, 4),
                    buffer.mid(HeaderSize, length - HeaderSize), quint8(buffer[3]));
    m.setVersion(quint8(buffer[0]));
    buffer.remove(0, length);
    *error = ReadError::None;
    return m;
}

std::optional<HartIpMessage> HartIpMessage::decode(QByteArrayView datagram, ReadError *error)
{
    QByteArray buffer = datagram.toByteArray();
    std::optional<HartIpMessage> m = take(buffer, error);
    if (m && !buffer.isEmpty()) {
        *error = ReadError::BadLength;
        return std::nullopt;
    }
    if (!m && *error == ReadError::NeedMore)
        *error = ReadError::BadLength;
    return m;
}

QString HartIpMessage::statusText(quint8 status)
{
    switch (status) {
    case Success:
        return HartLinkTexts::text(HartLinkTexts::IpStatusSuccess);
    case InvalidSelection:
        return HartLinkTexts::text(HartLinkTexts::IpStatusInvalidSelection);
    case TooFewDataBytes:
        return HartLinkTexts::text(HartLinkTexts::IpStatusTooFewDataBytes);
    case SetToNearest:
        return HartLinkTexts::text(HartLinkTexts::IpStatusSetToNearest);
    case VersionNotSupported:
        return HartLinkTexts::text(HartLinkTexts::IpStatusVersionNotSupported);
    case AllSessionsInUse:
        return HartLinkTexts::text(HartLinkTexts::IpStatusAllSessionsInUse);
    case SessionAlreadyOpen:
        return HartLinkTexts::text(HartLinkTexts::IpStatusSessionAlreadyOpen);
    default:
        return HartLinkTexts::text(HartLinkTexts::IpStatusOther).arg(status);
    }
}
