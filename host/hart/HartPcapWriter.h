#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A traffic record in the pcap format: every message as one UDP datagram
// between the master (127.0.0.1, port 49152) and the device (127.0.0.1,
// port 5094) in Ethernet and IPv4, with the time it was sent or received, so
// that protocol analysers decode the HART-IP messages as they stand.
class HartPcapWriter
{
public:
    static constexpr quint16 MasterPort = 49152;
    static constexpr quint16 DevicePort = 5094;

    bool open(const QString &path, QString *error);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    // One datagram; toDevice tells the direction. The time is now.
    bool write(const QByteArray &payload, bool toDevice);
    int packetCount() const { return m_packets; }

    static QByteArray ipv4Header(int payloadSize, quint16 identification);
    static quint16 ipChecksum(const QByteArray &header);

private:
    QFile m_file;
    int m_packets = 0;
};
