#pragma once

#include "hart/HartMaster.h"
#include "simulator/InProcessHartLink.h"

#include <QByteArray>

class SimulatedDevice;

// A second master on the same simulated device, as a handheld on the loop:
// it talks to the device past the program.
class OtherMaster
{
public:
    explicit OtherMaster(SimulatedDevice *device);

    // Finds the device at polling address 0 and sends the command; the
    // response code, or -1 when no response came.
    int send(quint8 command, const QByteArray &data);

private:
    InProcessHartLink m_line;
    HartMaster m_master{&m_line};
};
