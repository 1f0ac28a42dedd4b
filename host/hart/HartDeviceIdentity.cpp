#include "hart/HartDeviceIdentity.h"

#include "hart/HartFrame.h"
#include "hart/HartProtocol.h"

std::optional<HartDeviceIdentity> HartDeviceIdentity::parse(const QByteArray &data)
{
    if (data.size() < MinimumBytes || quint8(data[0]) != ExpandedMarker)
        return std::nullopt;
    const auto at = [&data](int i) { return quint8(data[i]); };
    HartDeviceIdentity id;
    id.manufacturer = at(1);
    id.deviceType = at(2);
    id.requestPreambles = at(3);
    id.universalRevision = at(4);
    id.deviceRevision = at(5);
    id.softwareRevision = at(6);
    id.hardwareRevision = quint8(at(7) >> 3);
    id.deviceId = (quint32(at(9)) << 16) | (quint32(at(10)) << 8) | at(11);
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

QString HartDeviceIdentity::key() const
{
    return QStringLiteral("%1-%2-%3")
        .arg(manufacturer, 2, 16, QLatin1Char('0'))
        .arg(deviceType, 2, 16, QLatin1Char('0'))
        .arg(deviceId, 6, 16, QLatin1Char('0'))
        .toUpper();
}
