#pragma once

#include "HistoryDatabase.h"
#include "HistorySync.h"
#include "HistoryUplink.h"

#include <QObject>
#include <QTimer>
#include <memory>

// HistoryUplink's side in its thread: its own connections to the local file
// and to the server (a connection serves the thread that made it).
class HistoryUplinkWorker : public QObject
{
    Q_OBJECT

public:
    HistoryUplinkWorker(QString localPath, QString serverLocation);

public Q_SLOTS:
    void send();
    void sendWholeHistory();
    void stop();

Q_SIGNALS:
    void updated(HistoryUplink::State state, int waiting, const QString &detail);
    void progress(int sent, int total);
    void wholeHistorySent(bool complete);

private:
    bool ready();

    QString m_localPath;
    QString m_serverLocation;
    std::unique_ptr<HistoryDatabase> m_local;
    std::unique_ptr<HistoryDatabase> m_server;
    std::unique_ptr<HistorySync> m_sync;
    QTimer *m_retry = nullptr;
};
