#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A traffic record read back packet by packet: the UDP payload of each and
// which way it went, with tshark's reading of the same file beside it.
struct RecordFile
{
    struct Packet
    {
        bool toDevice = false;
        QByteArray payload;
        qint64 timeUs = 0;
    };

    // Nothing when the file is no whole pcap record of UDP packets.
    static std::optional<QList<Packet>> read(const QString &path);
    // The payloads of one direction, one after the other.
    static QByteArray joined(const QList<Packet> &packets, bool toDevice, int skip = 0);

    // tshark's path; the tests that need it fail with this text when it is missing.
    static QString tshark();
    static QString tsharkMissing();
    // The packets tshark finds malformed or warns about, or why tshark failed.
    static QStringList problems(const QString &file, const QStringList &extra = {});
    // One line per packet with the fields named, separated by commas.
    static QStringList fields(const QString &file, const QStringList &names,
                              const QStringList &extra = {});
};
