#pragma once

#include <QByteArray>
#include <QtGlobal>

// One piece of traffic as it travelled on a link, taken before any decoding:
// a HART-IP message as it went over the network, or what a serial line
// carried (preambles, frame and checksum as they were, a frame that failed,
// the garbage between frames).
struct HartTraffic
{
    enum class Direction : quint8
    {
        ToDevice,
        FromDevice
    };
    enum class Medium : quint8
    {
        HartIp,
        Serial
    };
    enum class Shape : quint8
    {
        Frame,
        FailedFrame,
        Garbage
    };

    Direction direction = Direction::ToDevice;
    Medium medium = Medium::HartIp;
    Shape shape = Shape::Frame;
    // For a failed frame or garbage: the communication error bits it stands for.
    quint8 errorBits = 0;
    QByteArray bytes;
    qint64 timeUs = 0; // microseconds since the epoch

    static qint64 now();
};

// Where a link hands its traffic.
class HartTrafficSink
{
public:
    virtual ~HartTrafficSink() = default;
    virtual void take(const HartTraffic &traffic) = 0;
};
