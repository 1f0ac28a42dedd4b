#include "HistoryUplink.h"

#include "HistoryUplinkWorker.h"

#include <QUrl>

HistoryUplink::HistoryUplink(const QString &localPath, const QString &serverLocation,
                             QObject *parent)
    : QObject(parent), m_location(serverLocation),
      m_worker(new HistoryUplinkWorker(localPath, serverLocation))
{
    m_thread.setObjectName(QStringLiteral("history uplink"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &HistoryUplinkWorker::updated, this, &HistoryUplink::update);
    connect(m_worker, &HistoryUplinkWorker::progress, this, &HistoryUplink::progress);
    connect(m_worker, &HistoryUplinkWorker::wholeHistorySent, this,
            &HistoryUplink::wholeHistorySent);
    m_thread.start();
    sendSoon();
}

HistoryUplink::~HistoryUplink()
{
    // The connections close in the thread that made them.
    QMetaObject::invokeMethod(m_worker, &HistoryUplinkWorker::stop, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QString HistoryUplink::serverName() const
{
    const QUrl url(m_location);
    QString name = url.host();
    if (url.port() > 0)
        name += QLatin1Char(':') + QString::number(url.port());
    name += url.path();
    return url.userName().isEmpty() ? name : url.userName() + QLatin1Char('@') + name;
}

void HistoryUplink::sendSoon()
{
    QMetaObject::invokeMethod(m_worker, &HistoryUplinkWorker::send, Qt::QueuedConnection);
}

void HistoryUplink::sendWholeHistory()
{
    QMetaObject::invokeMethod(m_worker, &HistoryUplinkWorker::sendWholeHistory,
                              Qt::QueuedConnection);
}

void HistoryUplink::update(HistoryUplink::State state, int waiting, const QString &detail)
{
    m_state = state;
    m_waiting = waiting;
    m_detail = detail;
    Q_EMIT stateChanged();
}
