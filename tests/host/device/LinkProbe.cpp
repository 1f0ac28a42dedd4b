#include "LinkProbe.h"

#include <QDeadlineTimer>
#include <QSignalSpy>

LinkProbe::LinkProbe(HartLink *link)
{
    connect(link, &HartLink::responseReceived, this,
            [this](quint64 id, const HartFrame &frame) { record(id, Kind::Response, frame); });
    connect(link, &HartLink::requestTimedOut, this,
            [this](quint64 id) { record(id, Kind::Timeout); });
    connect(link, &HartLink::communicationError, this,
            [this](quint64 id, quint8 error) { record(id, Kind::CommunicationError, {}, error); });
    connect(link, &HartLink::connectionLost, this,
            [this](quint64 id) { record(id, Kind::ConnectionLost); });
}

LinkProbe::Outcome LinkProbe::waitFor(HartLink::RequestId id, int timeoutMs)
{
    QSignalSpy spy(this, &LinkProbe::recorded);
    QDeadlineTimer deadline(timeoutMs);
    while (!m_outcomes.contains(id) && !deadline.hasExpired())
        spy.wait(int(qMax<qint64>(1, deadline.remainingTime())));
    return m_outcomes.value(id);
}

void LinkProbe::record(quint64 id, Kind kind, const HartFrame &response, quint8 errorByte)
{
    Outcome &outcome = m_outcomes[id];
    outcome.kind = kind;
    outcome.response = response;
    outcome.errorByte = errorByte;
    ++outcome.count;
    ++m_total;
    emit recorded();
}
