#include "HistoryUplinkWorker.h"

#include "HistoryLog.h"

HistoryUplinkWorker::HistoryUplinkWorker(QString localPath, QString serverLocation)
    : m_localPath(std::move(localPath)), m_serverLocation(std::move(serverLocation))
{
}

// Made in the worker's thread at its first use.
bool HistoryUplinkWorker::ready()
{
    if (!m_retry) {
        m_retry = new QTimer(this);
        m_retry->setSingleShot(true);
        m_retry->setInterval(HistoryUplink::RetryMs);
        connect(m_retry, &QTimer::timeout, this, &HistoryUplinkWorker::send);
    }
    if (!m_local) {
        m_local = std::make_unique<HistoryDatabase>(m_localPath);
        m_local->setQueueForServer(true);
        m_server = std::make_unique<HistoryDatabase>(m_serverLocation);
        m_sync = std::make_unique<HistorySync>(*m_local, *m_server);
        connect(m_sync.get(), &HistorySync::progress, this, &HistoryUplinkWorker::progress);
    }
    if (!m_local->isOpen() && m_local->open() != HistoryDatabase::Status::Open) {
        Q_EMIT updated(HistoryUplink::State::Unreachable, 0, m_local->detail());
        return false;
    }
    return true;
}

void HistoryUplinkWorker::send()
{
    if (!ready())
        return;
    Q_EMIT updated(HistoryUplink::State::Sending, m_sync->waiting(), QString());
    const bool complete = m_sync->sendWaiting();
    const HistoryDatabase::Status status = m_server->status();
    const bool refused = status == HistoryDatabase::Status::NewerVersion ||
                         status == HistoryDatabase::Status::NotHistory ||
                         status == HistoryDatabase::Status::MigrationFailed;
    const HistoryUplink::State state =
        complete  ? HistoryUplink::State::Connected
        : refused ? HistoryUplink::State::Refused
        : m_server->lastFailure() == HistoryDatabase::Failure::Unreachable
            ? HistoryUplink::State::Unreachable
            : HistoryUplink::State::Connected;
    const int waiting = m_sync->waiting();
    Q_EMIT updated(state, waiting, complete ? QString() : m_sync->detail());
    // A change whose write is under way waits for its outcome, and a server
    // away for its return: tried again a while later.
    if (waiting > 0 && !refused)
        m_retry->start();
}

void HistoryUplinkWorker::sendWholeHistory()
{
    if (!ready())
        return;
    m_sync->queueWholeHistory();
    send();
    Q_EMIT wholeHistorySent(m_sync->waiting() == 0);
}

void HistoryUplinkWorker::stop()
{
    if (m_retry)
        m_retry->stop();
    m_sync.reset();
    m_server.reset();
    m_local.reset();
}
