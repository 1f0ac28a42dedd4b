#include "RecordFile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

namespace {

constexpr int GlobalHeader = 24;
constexpr int PacketHeader = 16;
constexpr int EthernetIpUdp = 14 + 20 + 8;
constexpr quint16 DevicePort = 5094;

quint32 little(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QStringList run(const QStringList &arguments)
{
    QProcess p;
    p.start(RecordFile::tshark(), arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {QStringLiteral("tshark failed: ") + QString::fromUtf8(p.readAllStandardError())};
    return QString::fromUtf8(p.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

std::optional<QList<RecordFile::Packet>> RecordFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < GlobalHeader || little(bytes, 0) != 0xA1B2C3D4)
        return std::nullopt;
    QList<Packet> packets;
    for (qsizetype at = GlobalHeader; at < bytes.size();) {
        if (bytes.size() - at < PacketHeader)
            return std::nullopt;
        const quint32 length = little(bytes, at + 8);
        const QByteArray frame = bytes.mid(at + PacketHeader, length);
        if (frame.size() != qsizetype(length) || frame.size() < EthernetIpUdp)
            return std::nullopt;
        Packet packet;
        packet.timeUs = qint64(little(bytes, at)) * 1000000 + little(bytes, at + 4);
        packet.toDevice = qFromBigEndian<quint16>(frame.constData() + 14 + 20 + 2) == DevicePort;
        packet.payload = frame.mid(EthernetIpUdp);
        packets << packet;
        at += PacketHeader + length;
    }
    return packets;
}

QByteArray RecordFile::joined(const QList<Packet> &packets, bool toDevice, int skip)
{
    QByteArray bytes;
    for (const Packet &p : packets) {
        if (p.toDevice == toDevice)
            bytes += p.payload.mid(skip);
    }
    return bytes;
}

QString RecordFile::tshark()
{
    return QStandardPaths::findExecutable(QStringLiteral("tshark"));
}

QString RecordFile::tsharkMissing()
{
    return QStringLiteral("tshark is not installed; it judges the traffic records "
                          "(Debian package tshark, ./dev installs it)");
}

QStringList RecordFile::problems(const QString &file, const QStringList &extra)
{
    return run(QStringList{QStringLiteral("-r"), file, QStringLiteral("-n")} + extra +
               QStringList{QStringLiteral("-Y"),
                           QStringLiteral("_ws.malformed || _ws.expert.severity >= 0x00800000")});
}

QStringList RecordFile::fields(const QString &file, const QStringList &names,
                               const QStringList &extra)
{
    QStringList arguments{QStringLiteral("-r"),         file,
                          QStringLiteral("-n"),         QStringLiteral("-T"),
                          QStringLiteral("fields"),     QStringLiteral("-E"),
                          QStringLiteral("separator=,")};
    for (const QString &name : names)
        arguments << QStringLiteral("-e") << name;
    return run(arguments + extra);
}
