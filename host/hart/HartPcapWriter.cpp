#include "hart/HartPcapWriter.h"

#include "hart/HartCodec.h"
#include "hart/HartIpMessage.h"

#include <QFileInfo>
#include <QtEndian>

namespace {

constexpr quint32 Magic = 0xA1B2C3D4; // microsecond time stamps
constexpr quint32 LinkTypeEthernet = 1;
constexpr quint32 SnapLength = 262144;
constexpr int UdpHeader = 8;
constexpr int Ipv4HeaderSize = 20;

template <typename T> void appendLittle(QByteArray &out, T value)
{
    const T le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

QByteArray ethernet(bool toDevice)
{
    // Locally administered addresses, one for each end.
    const QByteArray master = QByteArray::fromHex("020000000001");
    const QByteArray device = QByteArray::fromHex("020000000002");
    return (toDevice ? device + master : master + device) + QByteArray::fromHex("0800");
}

} // namespace

bool HartPcapWriter::open(const QString &path, QString *error)
{
    close();
    m_error.clear();
    m_file.setFileName(path);
    // Unbuffered: each packet reaches the system at once and a full disk says so at once.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = m_file.errorString();
        return false;
    }
    QByteArray header;
    appendLittle<quint32>(header, Magic);
    appendLittle<quint16>(header, 2);
    appendLittle<quint16>(header, 4);
    appendLittle<qint32>(header, 0);
    appendLittle<quint32>(header, 0);
    appendLittle<quint32>(header, SnapLength);
    appendLittle<quint32>(header, LinkTypeEthernet);
    m_packets = 0;
    m_written = 0;
    m_nextSequence = m_sequence = 0;
    if (!append(header)) {
        *error = m_error;
        // An empty file would look like a record; a device file is left alone.
        const bool plainFile = QFileInfo(path).isFile();
        m_file.close();
        if (plainFile)
            QFile::remove(path);
        return false;
    }
    return true;
}

void HartPcapWriter::close()
{
    if (m_file.isOpen())
        m_file.close();
}

quint16 HartPcapWriter::ipChecksum(const QByteArray &header)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i + 1 < header.size(); i += 2)
        sum += HartCodec::toUInt16(header, i);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray HartPcapWriter::ipv4Header(int payloadSize, quint16 identification)
{
    QByteArray ip;
    ip.append(char(0x45)).append(char(0));
    ip.append(HartCodec::fromUInt16(quint16(Ipv4HeaderSize + UdpHeader + payloadSize)));
    ip.append(HartCodec::fromUInt16(identification));
    ip.append(HartCodec::fromUInt16(0x4000)); // do not fragment
    ip.append(char(64)).append(char(17));     // time to live, UDP
    ip.append(HartCodec::fromUInt16(0));
    ip.append(QByteArray::fromHex("7F000001")).append(QByteArray::fromHex("7F000001"));
    const QByteArray sum = HartCodec::fromUInt16(ipChecksum(ip));
    ip[10] = sum[0];
    ip[11] = sum[1];
    return ip;
}

QList<QByteArray> HartPcapWriter::payloads(const HartTraffic &traffic)
{
    if (traffic.medium == HartTraffic::Medium::HartIp)
        return {traffic.bytes};
    using Type = HartIpMessage::Type;
    const bool toDevice = traffic.direction == HartTraffic::Direction::ToDevice;
    if (toDevice)
        m_sequence = m_nextSequence++;
    const Type type = toDevice                                       ? Type::Request
                      : traffic.shape == HartTraffic::Shape::Garbage ? Type::Error
                                                                     : Type::Response;
    const quint8 status = traffic.shape == HartTraffic::Shape::Frame ? 0 : traffic.errorBits;
    QList<QByteArray> out;
    for (qsizetype at = 0; at < qMax<qsizetype>(1, traffic.bytes.size()); at += MaxSerialPiece)
        out << HartIpMessage(type, HartIpMessage::Id::TokenPassingPdu, m_sequence,
                             traffic.bytes.mid(at, MaxSerialPiece), status)
                   .encode();
    return out;
}

QByteArray HartPcapWriter::packet(const QByteArray &payload, bool toDevice, qint64 timeUs) const
{
    QByteArray udp;
    udp.append(HartCodec::fromUInt16(toDevice ? MasterPort : DevicePort));
    udp.append(HartCodec::fromUInt16(toDevice ? DevicePort : MasterPort));
    udp.append(HartCodec::fromUInt16(quint16(UdpHeader + payload.size())));
    udp.append(HartCodec::fromUInt16(0)); // no checksum, allowed over IPv4
    const QByteArray frame =
        ethernet(toDevice) + ipv4Header(int(payload.size()), quint16(m_packets)) + udp + payload;
    QByteArray record;
    appendLittle<quint32>(record, quint32(timeUs / 1000000));
    appendLittle<quint32>(record, quint32(timeUs % 1000000));
    appendLittle<quint32>(record, quint32(frame.size()));
    appendLittle<quint32>(record, quint32(frame.size()));
    return record + frame;
}

bool HartPcapWriter::write(const HartTraffic &traffic)
{
    if (!m_file.isOpen()) {
        m_error = QStringLiteral("not open");
        return false;
    }
    const bool toDevice = traffic.direction == HartTraffic::Direction::ToDevice;
    for (const QByteArray &payload : payloads(traffic)) {
        if (!append(packet(payload, toDevice, traffic.timeUs))) {
            close();
            return false;
        }
        ++m_packets;
    }
    return true;
}

bool HartPcapWriter::append(const QByteArray &bytes)
{
    if (m_file.write(bytes) == bytes.size()) {
        m_written += bytes.size();
        return true;
    }
    m_error = m_file.errorString();
    // Half a packet would spoil the record for every reader: it ends where
    // the last whole one did.
    m_file.resize(m_written);
    return false;
}
