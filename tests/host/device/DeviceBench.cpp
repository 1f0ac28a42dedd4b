#include "DeviceBench.h"

DeviceBench::DeviceBench(SimulatedTransmitter::SensorType type, int rangeIndex)
    : device(type, rangeIndex), link(&device), probe(&link)
{
    device.setRealTimeClock(false);
    device.setNoiseLevel(0.0);
    link.setBitRate(0);
    link.open();
}

HartFrame DeviceBench::longRequest(quint8 command, const QByteArray &data) const
{
    return HartFrame::longFrame(HartFrame::Kind::Request, device.manufacturerId(),
                                device.deviceType(), device.deviceId(), command, data);
}

LinkProbe::Outcome DeviceBench::send(const HartFrame &request)
{
    return probe.waitFor(link.send(request));
}

LinkProbe::Outcome DeviceBench::command(quint8 command, const QByteArray &data)
{
    return send(longRequest(command, data));
}

QByteArray DeviceBench::read(quint8 command, const QByteArray &data)
{
    const LinkProbe::Outcome outcome = this->command(command, data);
    if (outcome.kind != LinkProbe::Kind::Response || outcome.response.responseCode() != 0)
        return {};
    return outcome.response.data();
}
