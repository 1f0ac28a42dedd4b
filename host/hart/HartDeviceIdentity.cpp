#include "hart/HartDeviceIdentity.h"

#include "hart/HartFrame.h"
#include "hart/HartProtocol.h"

std::optional<HartDeviceIdentity> HartDeviceIdentity::parse(const QByteArray &data)
{
    if (data.size() < MinimumBytes || quint8(data[0]) != ExpandedMarker)
        return std::nullopt;
    const auto at = [&data](int i) { return quint8(data[i]); };
    const auto word = [&at](int i) { return quint16(at(i) << 8 | at(i + 1)); };
    HartDeviceIdentity id;
    id.manufacturer = at(1);
    id.deviceType = at(2);
    id.requestPreambles = at(3);
    id.universalRevision = at(4);
    id.deviceRevision = at(5);
    id.softwareRevision = at(6);
    id.hardwareRevision = quint8(at(7) >> 3);
    id.signallingCode = quint8(at(7) & 0x07);
    id.flags = at(8);
    id.deviceId = (quint32(at(9)) << 16) | (quint32(at(10)) << 8) | at(11);
    // A HART 5 device may send more bytes than its revision defines; what
    // they hold is its own affair.
    if (id.universalRevision >= 6 && data.size() >= Hart6Bytes)
        id.extended = Extended{at(12), at(13), word(14), at(16)};
    if (id.universalRevision >= 7 && data.size() >= Hart7Bytes)
        id.hart7 = Hart7{word(17), word(19), at(21)};
    return id;
}

std::optional<HartDeviceIdentity> HartDeviceIdentity::parse(const HartFrame &response)
{
    // A device reporting a garbled request or refusing the command sends no identity.
    if (response.kind() != HartFrame::Kind::Response ||
        response.command() != hart::command::ReadUniqueIdentifier ||
        response.responseCode() != hart::response::Success)
        return std::nullopt;
    return parse(response.data());
}

QString HartDeviceIdentity::deviceTypeText() const
{
    const bool expanded = universalRevision >= 7;
    return QStringLiteral("0x") + QStringLiteral("%1")
                                      .arg(expanded ? expandedDeviceType() : deviceType,
                                           expanded ? 4 : 2, 16, QLatin1Char('0'))
                                      .toUpper();
}

QString HartDeviceIdentity::key() const
{
    return QStringLiteral("%1-%2-%3")
        .arg(manufacturer, 2, 16, QLatin1Char('0'))
        .arg(deviceType, 2, 16, QLatin1Char('0'))
        .arg(deviceId, 6, 16, QLatin1Char('0'))
        .toUpper();
}
