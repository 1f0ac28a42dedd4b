#include "hart/HartPcapWriter.h"

#include "hart/HartCodec.h"

#include <QtEndian>
#include <chrono>

namespace {

constexpr quint32 Magic = 0xA1B2C3D4; // microsecond time stamps
constexpr quint32 LinkTypeEthernet = 1;
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
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = m_file.errorString();
        return false;
    }
    QByteArray header;
    appendLittle<quint32>(header, Magic);
    appendLittle<quint16>(header, 2);
    appendLittle<quint16>(header, 4);
    appendLittle<qint32>(header, 0);
    appendLittle<quint32>(header, 0);
    appendLittle<quint32>(header, 65535);
    appendLittle<quint32>(header, LinkTypeEthernet);
    m_packets = 0;
    if (m_file.write(header) != header.size()) {
        *error = m_file.errorString();
        m_file.close();
        return false;
    }
    m_file.flush();
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

bool HartPcapWriter::write(const QByteArray &payload, bool toDevice)
{
    if (!m_file.isOpen())
        return false;
    QByteArray udp;
    udp.append(HartCodec::fromUInt16(toDevice ? MasterPort : DevicePort));
    udp.append(HartCodec::fromUInt16(toDevice ? DevicePort : MasterPort));
    udp.append(HartCodec::fromUInt16(quint16(UdpHeader + payload.size())));
    udp.append(HartCodec::fromUInt16(0)); // no checksum, allowed over IPv4
    const QByteArray packet =
        ethernet(toDevice) + ipv4Header(int(payload.size()), quint16(m_packets)) + udp + payload;
    const qint64 us = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    QByteArray record;
    appendLittle<quint32>(record, quint32(us / 1000000));
    appendLittle<quint32>(record, quint32(us % 1000000));
    appendLittle<quint32>(record, quint32(packet.size()));
    appendLittle<quint32>(record, quint32(packet.size()));
    record += packet;
    ++m_packets;
    // Flushed at once: a record is for trouble, and trouble may end the program.
    const bool ok = m_file.write(record) == record.size();
    m_file.flush();
    return ok;
}
