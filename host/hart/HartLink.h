#pragma once

#include "hart/HartFrame.h"
#include "hart/HartTraffic.h"

#include <QObject>
#include <QQueue>
#include <optional>

// The host's way to a HART device. Every request sent gets exactly one outcome,
// always delivered later from the event loop, never from inside send():
// a response, a timeout, a communication error or the loss of the connection.
// A modem or HART-IP link can take the place of the in-process one unchanged.
//
// The base owns the request ids, the queue and the one request in flight; a
// link only moves bytes: it puts the request in flight on its medium, reads
// what comes back and ends the request with one of the finish calls. The
// master is the one that sends requests and matches outcomes to them.
class HartLink : public QObject
{
    Q_OBJECT

public:
    using RequestId = quint64;

    explicit HartLink(QObject *parent = nullptr);
    ~HartLink() override;

    virtual bool open() = 0;
    // Requests still waiting end with connectionLost.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues the request; requests go out one at a time, in the order sent.
    RequestId send(const HartFrame &request);
    // No request in flight and none waiting.
    bool isIdle() const { return !m_inFlight && m_queue.isEmpty(); }
    // Why the link last failed to open or was lost; empty when nothing went wrong.
    QString errorString() const { return m_errorString; }

    // Every byte the link writes and reads, as it travelled, goes to the sink
    // (a traffic record) while one is set.
    void setTrafficSink(HartTrafficSink *sink) { m_sink = sink; }
    HartTrafficSink *trafficSink() const { return m_sink; }

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
    // Puts the request in flight on the medium. Called for one request at a
    // time and only while readyToTransmit(); the link ends it with exactly
    // one finish call, or loses it with the connection.
    virtual void transmit(const HartFrame &request) = 0;
    // Whether a request may go out now (a session up, the line quiet); a link
    // calls resume() when that becomes true.
    virtual bool readyToTransmit() const { return isOpen(); }
    // The next waiting request goes out when the link is ready; on a closed
    // link every waiting request ends as lost.
    void resume();

    bool hasRequestInFlight() const { return m_inFlight.has_value(); }
    std::optional<RequestId> requestIdInFlight() const
    {
        return m_inFlight ? std::optional<RequestId>(m_inFlight->id) : std::nullopt;
    }
    // Only while hasRequestInFlight().
    const HartFrame &requestInFlight() const { return m_inFlight->request; }
    void finishWithResponse(const HartFrame &response);
    void finishWithTimeout();
    void finishWithCommunicationError(quint8 errorByte);
    void finishWithConnectionLost();
    // The request in flight and every waiting one end with connectionLost.
    void loseRequests();

    void setErrorString(const QString &text) { m_errorString = text; }
    // Hands one piece of traffic to the sink; stamped now unless it carries a time.
    void record(HartTraffic traffic);

private:
    struct Pending
    {
        RequestId id = 0;
        HartFrame request;
    };

    std::optional<RequestId> takeInFlight();
    void resumeLater();

    QQueue<Pending> m_queue;
    std::optional<Pending> m_inFlight;
    RequestId m_nextId = 1;
    bool m_resumeQueued = false;
    QString m_errorString;
    HartTrafficSink *m_sink = nullptr;
};
