#include "LoggedHartLink.h"

// The inner link queues and matches its own requests; this one hands it one
// request at a time and ends its own in-flight request with the inner outcome.
LoggedHartLink::LoggedHartLink(std::unique_ptr<HartLink> inner, QList<int> &sent)
    : m_inner(std::move(inner)), m_sent(sent)
{
    HartLink *link = m_inner.get();
    connect(link, &HartLink::responseReceived, this,
            [this](quint64, const HartFrame &response) { finishWithResponse(response); });
    connect(link, &HartLink::requestTimedOut, this, [this](quint64) { finishWithTimeout(); });
    connect(link, &HartLink::communicationError, this,
            [this](quint64, quint8 errorByte) { finishWithCommunicationError(errorByte); });
    connect(link, &HartLink::connectionLost, this, [this, link](quint64) {
        setErrorString(link->errorString());
        loseRequests();
    });
    connect(link, &HartLink::openChanged, this, [this](bool open) {
        Q_EMIT openChanged(open);
        resume();
    });
}

bool LoggedHartLink::open()
{
    const bool opened = m_inner->open();
    setErrorString(m_inner->errorString());
    resume();
    return opened;
}

void LoggedHartLink::close()
{
    m_inner->close();
    loseRequests();
}

void LoggedHartLink::transmit(const HartFrame &request)
{
    m_sent.append(request.command());
    m_inner->send(request);
}
