#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class HartFrame;

// Who a field device is, from its answer to command 0: manufacturer, device
// type and device id together name one transmitter wherever it is connected,
// whatever port or polling address it answers on. The revisions and the
// preambles it asks for come along for lists and checks.
struct HartDeviceIdentity
{
    // Command 0 answers at least this many data bytes (HART 5).
    static constexpr int MinimumBytes = 12;
    static constexpr quint8 ExpandedMarker = 254;

    quint8 manufacturer = 0;
    quint8 deviceType = 0;
    quint32 deviceId = 0; // 24 bits
    quint8 requestPreambles = 0;
    quint8 universalRevision = 0;
    quint8 deviceRevision = 0;
    quint8 softwareRevision = 0;
    quint8 hardwareRevision = 0; // the upper five bits of its byte

    // The data of a command-0 answer (after the two status bytes); nothing
    // when it is too short or does not open with the expanded marker.
    static std::optional<HartDeviceIdentity> parse(const QByteArray &data);
    // A whole answer: nothing unless it is a successful command-0 response.
    static std::optional<HartDeviceIdentity> parse(const HartFrame &response);

    // The same transmitter: the revisions may change with a firmware update.
    bool sameDevice(const HartDeviceIdentity &other) const
    {
        return manufacturer == other.manufacturer && deviceType == other.deviceType &&
               deviceId == other.deviceId;
    }
    // "MM-TT-DDDDDD" in hex: stable text for settings, lists and messages.
    QString key() const;

    bool operator==(const HartDeviceIdentity &other) const = default;
};
