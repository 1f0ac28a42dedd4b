#pragma once

#include "hart/HartTraffic.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// A traffic record in the pcap format: every piece of traffic as one UDP
// datagram between the master (127.0.0.1, port 49152) and the device
// (127.0.0.1, port 5094) in Ethernet and IPv4, with the time it travelled, so
// that protocol analysers decode the HART-IP messages as they stand. HART-IP
// messages go in as they travelled; what a serial line carried goes in as
// the body of a token-passing PDU (preambles and checksum as received),
// its header status holding the communication error bits of a frame that
// failed, and garbage between frames as the body of an error message.
// Each packet goes to the file at once, so a record survives a crash; a
// packet that cannot be written is taken back whole and the record closed.
class HartPcapWriter
{
public:
    static constexpr quint16 MasterPort = 49152;
    static constexpr quint16 DevicePort = 5094;
    // A serial piece longer than this is split over several packets.
    static constexpr int MaxSerialPiece = 1024;

    bool open(const QString &path, QString *error);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    // False when the packet could not be written; the record is closed then
    // and errorString() says why.
    bool write(const HartTraffic &traffic);
    QString errorString() const { return m_error; }
    int packetCount() const { return m_packets; }

    static QByteArray ipv4Header(int payloadSize, quint16 identification);
    static quint16 ipChecksum(const QByteArray &header);

private:
    QList<QByteArray> payloads(const HartTraffic &traffic);
    QByteArray packet(const QByteArray &payload, bool toDevice, qint64 timeUs) const;
    bool append(const QByteArray &bytes);

    QFile m_file;
    QString m_error;
    qint64 m_written = 0; // bytes of whole packets in the file
    int m_packets = 0;
    quint16 m_nextSequence = 0; // of serial requests in the record
    quint16 m_sequence = 0;     // of the request the device answers
};
