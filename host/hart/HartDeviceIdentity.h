#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class HartFrame;

// Who a field device is, from its answer to command 0: manufacturer, device
// type and device id together name one transmitter wherever it is connected,
// whatever port or polling address it answers on. The revisions, the
// preambles it asks for and the status fields of HART 6 and 7 come along for
// lists and checks.
//
// The answer grew with the protocol: HART 5 sends 12 bytes, HART 6 adds five
// (response preambles, device variables, change counter, extended status),
// HART 7 five more (16-bit manufacturer and distributor codes, profile) and
// reads its bytes 1 and 2 as one expanded device type.
struct HartDeviceIdentity
{
    // Command 0 answers at least this many data bytes (HART 5).
    static constexpr int MinimumBytes = 12;
    static constexpr int Hart6Bytes = 17;
    static constexpr int Hart7Bytes = 22;
    static constexpr quint8 ExpandedMarker = 254;

    // Bytes 1 and 2, which a long frame's address carries with the device id:
    // up to HART 6 the manufacturer code and the device type code, from HART
    // 7 on the expanded device type, high byte first (for a maker registered
    // before HART 7 still its old manufacturer code).
    quint8 manufacturer = 0;
    quint8 deviceType = 0;
    quint32 deviceId = 0; // 24 bits
    quint8 requestPreambles = 0;
    quint8 universalRevision = 0; // the HART revision
    quint8 deviceRevision = 0;
    quint8 softwareRevision = 0;
    quint8 hardwareRevision = 0; // the upper five bits of its byte
    quint8 signallingCode = 0;   // the lower three
    quint8 flags = 0;

    // HART 6 and later; nothing in a HART 5 answer.
    struct Extended
    {
        quint8 responsePreambles = 0;
        quint8 maxDeviceVariables = 0;
        quint16 configurationChanges = 0;
        quint8 extendedStatus = 0;
        bool operator==(const Extended &) const = default;
    };
    std::optional<Extended> extended;
    // HART 7 and later.
    struct Hart7
    {
        quint16 manufacturerCode = 0;
        quint16 privateLabelDistributor = 0;
        quint8 deviceProfile = 0;
        bool operator==(const Hart7 &) const = default;
    };
    std::optional<Hart7> hart7;

    // The data of a command-0 answer (after the two status bytes); nothing
    // when it is too short or does not open with the expanded marker.
    static std::optional<HartDeviceIdentity> parse(const QByteArray &data);
    // A whole answer: nothing unless it is a successful command-0 response.
    static std::optional<HartDeviceIdentity> parse(const HartFrame &response);

    // Who made it: HART 7 says it in bytes 17 and 18, older devices in byte 1.
    quint16 manufacturerCode() const
    {
        return hart7 ? hart7->manufacturerCode : quint16(manufacturer);
    }
    // Bytes 1 and 2 as one number. For a device older than HART 7 this is
    // its manufacturer and device type codes, which is what a HART 7 device
    // of the same maker and type reports as its expanded device type.
    quint16 expandedDeviceType() const { return quint16(manufacturer << 8 | deviceType); }
    // The device type as the device's HART revision states it: "0x9D" up to
    // HART 6, "0x2A61" from HART 7 on.
    QString deviceTypeText() const;

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
