#pragma once

#include "device/HartFrame.h"

#include <QObject>

// The host's way to a HART device. Every request sent gets exactly one outcome,
// always delivered later from the event loop, never from inside send():
// a response, a timeout, a communication error or the loss of the connection.
// A modem or HART-IP link can take the place of the in-process one unchanged.
class HartLink : public QObject
{
    Q_OBJECT

public:
    using RequestId = quint64;

    explicit HartLink(QObject *parent = nullptr);

    virtual bool open() = 0;
    // Requests still waiting end with connectionLost.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues the request; requests go out one at a time, in the order sent.
    virtual RequestId send(const HartFrame &request) = 0;

signals:
    void responseReceived(quint64 requestId, const HartFrame &response);
    void requestTimedOut(quint64 requestId);
    // The first status byte with bit 7 set: which errors the far end, or the
    // link itself on a garbled response, found on the wire.
    void communicationError(quint64 requestId, quint8 errorByte);
    void connectionLost(quint64 requestId);
    void openChanged(bool open);
};
