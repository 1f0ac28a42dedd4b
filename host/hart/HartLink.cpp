#include "hart/HartLink.h"

#include "hart/HartProtocol.h"

HartLink::HartLink(QObject *parent) : QObject(parent) {}

HartLink::~HartLink() = default;

HartLink::RequestId HartLink::send(const HartFrame &request)
{
    const RequestId id = m_nextId++;
    m_queue.enqueue({id, request});
    // Never from inside send(): the caller has the id before any outcome.
    resumeLater();
    return id;
}

void HartLink::resumeLater()
{
    if (m_resumeQueued)
        return;
    m_resumeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_resumeQueued = false;
            resume();
        },
        Qt::QueuedConnection);
}

void HartLink::resume()
{
    while (!m_inFlight && !m_queue.isEmpty()) {
        if (!isOpen()) {
            // Nothing to send it on: it ends as a line that went dead.
            loseRequests();
            return;
        }
        if (!readyToTransmit())
            return;
        m_inFlight = m_queue.dequeue();
        if (!m_inFlight->request.encodeProblem(hart::MinPreambles).isEmpty()) {
            const RequestId id = m_inFlight->id;
            m_inFlight.reset();
            Q_EMIT communicationError(id, hart::commerror::Flag | hart::commerror::Undefined);
            continue;
        }
        transmit(m_inFlight->request);
        return;
    }
}

std::optional<HartLink::RequestId> HartLink::takeInFlight()
{
    if (!m_inFlight)
        return std::nullopt;
    const RequestId id = m_inFlight->id;
    m_inFlight.reset();
    return id;
}

void HartLink::finishWithResponse(const HartFrame &response)
{
    if (const auto id = takeInFlight()) {
        Q_EMIT responseReceived(*id, response);
        resume();
    }
}

void HartLink::finishWithTimeout()
{
    if (const auto id = takeInFlight()) {
        Q_EMIT requestTimedOut(*id);
        resume();
    }
}

void HartLink::finishWithCommunicationError(quint8 errorByte)
{
    if (const auto id = takeInFlight()) {
        Q_EMIT communicationError(*id, errorByte);
        resume();
    }
}

void HartLink::finishWithConnectionLost()
{
    if (const auto id = takeInFlight()) {
        Q_EMIT connectionLost(*id);
        resume();
    }
}

void HartLink::loseRequests()
{
    QList<RequestId> lost;
    if (const auto id = takeInFlight())
        lost << *id;
    while (!m_queue.isEmpty())
        lost << m_queue.dequeue().id;
    for (const RequestId id : lost)
        Q_EMIT connectionLost(id);
}

void HartLink::record(HartTraffic traffic)
{
    if (!m_sink)
        return;
    if (traffic.timeUs == 0)
        traffic.timeUs = HartTraffic::now();
    m_sink->take(traffic);
}
