#pragma once

#include "hart/HartFrame.h"

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
    // Why the link last failed to open or was lost; empty when nothing went wrong.
    QString errorString() const { return m_errorString; }

signals:
    void responseReceived(quint64 requestId, const HartFrame &response);
    void requestTimedOut(quint64 requestId);
    // A response the link itself could not read (garbled on the wire), with
    // the communication error bits it found (bit 7 set). A device reporting
    // that it could not read the request answers with a response instead.
    void communicationError(quint64 requestId, quint8 errorByte);
    void connectionLost(quint64 requestId);
    void openChanged(bool open);

protected:
    void setErrorString(const QString &text) { m_errorString = text; }

private:
    QString m_errorString;
};
