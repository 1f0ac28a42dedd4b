#include "LoggedHartLink.h"

LoggedHartLink::LoggedHartLink(std::unique_ptr<HartLink> inner, QList<int> &sent)
    : m_inner(std::move(inner)), m_sent(sent)
{
    HartLink *link = m_inner.get();
    connect(link, &HartLink::responseReceived, this, &HartLink::responseReceived);
    connect(link, &HartLink::requestTimedOut, this, &HartLink::requestTimedOut);
    connect(link, &HartLink::communicationError, this, &HartLink::communicationError);
    connect(link, &HartLink::connectionLost, this, [this, link](quint64 id) {
        setErrorString(link->errorString());
        Q_EMIT connectionLost(id);
    });
    connect(link, &HartLink::openChanged, this, &HartLink::openChanged);
}

bool LoggedHartLink::open()
{
    const bool opened = m_inner->open();
    setErrorString(m_inner->errorString());
    return opened;
}

void LoggedHartLink::close()
{
    m_inner->close();
}

HartLink::RequestId LoggedHartLink::send(const HartFrame &request)
{
    m_sent.append(request.command());
    return m_inner->send(request);
}
