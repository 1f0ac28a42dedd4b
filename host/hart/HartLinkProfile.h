#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QSettings;

// How to reach the device, kept apart from the live link: the kind of link,
// the serial port or network address, and the link's settings. Written as
// text: "sim", "serial:/dev/ttyUSB0", "hartip:HOST[:PORT][/udp]" (an IPv6
// address in brackets).
struct HartLinkProfile
{
    enum class Kind
    {
        Simulator,
        Serial,
        HartIp
    };

    static constexpr int DefaultRetries = 3;
    static constexpr int MaxRetries = 10;

    Kind kind = Kind::Simulator;
    QString serialPort;
    QString host;
    quint16 port = 5094;
    bool udp = false;
    int preambles = 5;            // 5 to 20
    int retries = DefaultRetries; // after the first try
    bool rtsKeying = true;        // key the modem's carrier with RTS
    int pollingAddress = 0;       // 0 to 15
    // Where else a modem may come back after it was unplugged, besides the
    // ports the system lists: paths with wildcards in the name ("/dev/serial/by-id/*").
    QStringList searchPorts;

    // Nothing and the reason for text that names no link.
    static std::optional<HartLinkProfile> parse(const QString &text, QString *error);
    // The link part only (the settings are not in the text).
    QString toString() const;

    // Under the group "Connection" of the settings given.
    void save(QSettings &settings) const;
    static HartLinkProfile load(QSettings &settings);

    bool operator==(const HartLinkProfile &other) const = default;
};
