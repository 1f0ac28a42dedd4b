#pragma once

#include "LinkProbe.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

// A simulated transmitter behind an in-process link at zero wire time, with
// frozen time and no noise, and shortcuts to send it one command and wait.
class DeviceBench
{
public:
    explicit DeviceBench(
        SimulatedTransmitter::SensorType type = SimulatedTransmitter::SensorType::Differential,
        int rangeIndex = 1);

    HartFrame longRequest(quint8 command, const QByteArray &data = {}) const;
    LinkProbe::Outcome send(const HartFrame &request);
    LinkProbe::Outcome command(quint8 command, const QByteArray &data = {});
    // The response data of a command expected to succeed; empty on any other outcome.
    QByteArray read(quint8 command, const QByteArray &data = {});

    SimulatedTransmitter device;
    InProcessHartLink link;
    LinkProbe probe;
};
