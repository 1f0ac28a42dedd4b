#include "hart/HartFrame.h"

#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

namespace {
constexpr quint8 LongAddressBit = 0x80;
constexpr quint8 FrameTypeMask = 0x07;
constexpr quint8 MasterBit = 0x80;
constexpr quint8 BurstBit = 0x40;
constexpr quint8 PollingMask = 0x0F;
constexpr int ShortAddressSize = 1;
constexpr int LongAddressSize = 5;
constexpr int StatusBytes = 2;
} // namespace

HartFrame HartFrame::shortFrame(Kind kind, quint8 pollingAddress, quint8 command,
                                const QByteArray &data)
{
    HartFrame frame;
    frame.m_kind = kind;
    frame.setShortAddress(pollingAddress);
    frame.m_command = command;
    frame.m_data = data;
    return frame;
}

HartFrame HartFrame::longFrame(Kind kind, quint8 manufacturerId, quint8 deviceType,
                               quint32 deviceId, quint8 command, const QByteArray &data)
{
    HartFrame frame;
    frame.m_kind = kind;
    frame.setLongAddress(manufacturerId, deviceType, deviceId);
    frame.m_command = command;
    frame.m_data = data;
    return frame;
}

void HartFrame::setShortAddress(quint8 pollingAddress)
{
    m_long = false;
    m_pollingAddress = pollingAddress;
    m_manufacturerId = m_deviceType = 0;
    m_deviceId = 0;
}

void HartFrame::setLongAddress(quint8 manufacturerId, quint8 deviceType, quint32 deviceId)
{
    m_long = true;
    m_pollingAddress = 0;
    m_manufacturerId = manufacturerId & 0x3F;
    m_deviceType = deviceType;
    m_deviceId = deviceId & 0xFFFFFF;
}

bool HartFrame::isBroadcast() const
{
    return m_long && m_manufacturerId == 0 && m_deviceType == 0 && m_deviceId == 0;
}

bool HartFrame::hasSameAddress(const HartFrame &other) const
{
    return m_long == other.m_long && m_pollingAddress == other.m_pollingAddress &&
           m_manufacturerId == other.m_manufacturerId && m_deviceType == other.m_deviceType &&
           m_deviceId == other.m_deviceId;
}

void HartFrame::setStatus(quint8 responseCode, quint8 deviceStatus)
{
    m_responseCode = responseCode;
    m_deviceStatus = deviceStatus;
}

QString HartFrame::encodeProblem(int preambles) const
{
    if (preambles < hart::MinPreambles || preambles > hart::MaxPreambles)
        return QStringLiteral("preamble count %1 outside %2..%3")
            .arg(preambles)
            .arg(hart::MinPreambles)
            .arg(hart::MaxPreambles);
    if (!m_long && m_pollingAddress > PollingMask)
        return QStringLiteral("polling address %1 above 15").arg(m_pollingAddress);
    const int statusBytes = m_kind == Kind::Request ? 0 : StatusBytes;
    if (m_data.size() + statusBytes > hart::MaxDataBytes)
        return QStringLiteral("%1 data bytes do not fit one frame").arg(m_data.size());
    return {};
}

QByteArray HartFrame::encode(int preambles) const
{
    if (!encodeProblem(preambles).isEmpty())
        return {};
    QByteArray body;
    body += char(delimiter());
    body += addressBytes();
    body += char(m_command);
    const bool withStatus = m_kind != Kind::Request;
    body += char(m_data.size() + (withStatus ? StatusBytes : 0));
    if (withStatus) {
        body += char(m_responseCode);
        body += char(m_deviceStatus);
    }
    body += m_data;
    body += char(checksum(body));
    return QByteArray(preambles, char(hart::Preamble)) + body;
}

HartFrame::Decoded HartFrame::decode(QByteArrayView wire)
{
    qsizetype preambles = 0;
    while (preambles < wire.size() && quint8(wire[preambles]) == hart::Preamble)
        ++preambles;
    if (preambles < hart::MinPreambles)
        return {std::nullopt, DecodeError::TooFewPreambles};
    if (preambles > hart::MaxPreambles)
        return {std::nullopt, DecodeError::TooManyPreambles};
    return decodeBody(wire.sliced(preambles));
}

HartFrame::Decoded HartFrame::decodeBody(QByteArrayView body)
{
    const std::optional<qsizetype> size = bodySize(body);
    if (!size)
        return {std::nullopt, DecodeError::BadDelimiter};
    if (*size == 0) {
        // Header incomplete: tell a cut-off header from a byte count that points past the end.
        return {std::nullopt, DecodeError::Truncated};
    }
    if (*size > body.size())
        return {std::nullopt, DecodeError::ByteCountBeyondBuffer};
    if (*size < body.size())
        return {std::nullopt, DecodeError::TrailingBytes};
    if (checksum(body.first(*size - 1)) != quint8(body[*size - 1]))
        return {std::nullopt, DecodeError::ChecksumMismatch};

    HartFrame frame;
    frame.m_kind = *kindOf(quint8(body[0]));
    const int addressSize = (quint8(body[0]) & LongAddressBit) ? LongAddressSize : ShortAddressSize;
    if (!frame.readAddress(body.sliced(1, addressSize)))
        return {std::nullopt, DecodeError::BadAddress};
    const qsizetype commandAt = 1 + addressSize;
    frame.m_command = quint8(body[commandAt]);
    QByteArrayView data = body.sliced(commandAt + 2, quint8(body[commandAt + 1]));
    if (frame.m_kind != Kind::Request) {
        if (data.size() < StatusBytes)
            return {std::nullopt, DecodeError::MissingStatusBytes};
        frame.m_responseCode = quint8(data[0]);
        frame.m_deviceStatus = quint8(data[1]);
        data = data.sliced(StatusBytes);
    }
    frame.m_data = data.toByteArray();
    return {frame, DecodeError::None};
}

std::optional<qsizetype> HartFrame::bodySize(QByteArrayView body)
{
    if (body.isEmpty())
        return 0;
    const quint8 delimiter = quint8(body[0]);
    if (!kindOf(delimiter))
        return std::nullopt;
    const int addressSize = (delimiter & LongAddressBit) ? LongAddressSize : ShortAddressSize;
    const qsizetype byteCountAt = 1 + addressSize + 1;
    if (body.size() <= byteCountAt)
        return 0;
    return byteCountAt + 1 + quint8(body[byteCountAt]) + 1;
}

QString HartFrame::errorText(DecodeError error)
{
    switch (error) {
    case DecodeError::None:
        return {};
    case DecodeError::TooFewPreambles:
        return QStringLiteral("fewer than %1 preambles").arg(hart::MinPreambles);
    case DecodeError::TooManyPreambles:
        return QStringLiteral("more than %1 preambles").arg(hart::MaxPreambles);
    case DecodeError::BadDelimiter:
        return QStringLiteral("no HART 5 delimiter after the preambles");
    case DecodeError::BadAddress:
        return QStringLiteral("polling address above 15");
    case DecodeError::Truncated:
        return QStringLiteral("frame ends inside its header");
    case DecodeError::ByteCountBeyondBuffer:
        return QStringLiteral("byte count reaches past the end of the frame");
    case DecodeError::TrailingBytes:
        return QStringLiteral("bytes after the checksum");
    case DecodeError::ChecksumMismatch:
        return QStringLiteral("checksum does not match");
    case DecodeError::MissingStatusBytes:
        return QStringLiteral("response without its two status bytes");
    }
    return {};
}

std::optional<HartFrame::Kind> HartFrame::kindOf(quint8 delimiter)
{
    // HART 5 knows no expansion bytes or physical-layer bits: those must be clear.
    if ((delimiter & ~(LongAddressBit | FrameTypeMask)) != 0)
        return std::nullopt;
    switch (delimiter & FrameTypeMask) {
    case 1:
        return Kind::Burst;
    case 2:
        return Kind::Request;
    case 6:
        return Kind::Response;
    default:
        return std::nullopt;
    }
}

quint8 HartFrame::checksum(QByteArrayView bytes)
{
    quint8 sum = 0;
    for (const char b : bytes)
        sum ^= quint8(b);
    return sum;
}

quint8 HartFrame::delimiter() const
{
    const quint8 type = m_kind == Kind::Request ? 2 : m_kind == Kind::Response ? 6 : 1;
    return type | (m_long ? LongAddressBit : 0);
}

QByteArray HartFrame::addressBytes() const
{
    const quint8 flags = (m_primaryMaster ? MasterBit : 0) | (m_burstMode ? BurstBit : 0);
    if (!m_long)
        return QByteArray(1, char(flags | m_pollingAddress));
    QByteArray address(1, char(flags | m_manufacturerId));
    address += char(m_deviceType);
    address += HartCodec::fromUInt24(m_deviceId);
    return address;
}

bool HartFrame::readAddress(QByteArrayView address)
{
    const quint8 first = quint8(address[0]);
    m_primaryMaster = (first & MasterBit) != 0;
    m_burstMode = (first & BurstBit) != 0;
    if (address.size() == ShortAddressSize) {
        if ((first & 0x30) != 0)
            return false;
        setShortAddress(first & PollingMask);
        return true;
    }
    setLongAddress(first & 0x3F, quint8(address[1]), HartCodec::toUInt24(address, 2));
    return true;
}
