#pragma once

#include <QObject>
#include <QString>
#include <QThread>

class HistoryUplinkWorker;

// The way from the local history to a team's server, in a thread of its
// own: a server that does not answer never holds up the window. Told after
// each entry stored, it sends what waits; while the server is away it tries
// again every RetryMs.
class HistoryUplink : public QObject
{
    Q_OBJECT

public:
    static constexpr int RetryMs = 15000;

    enum class State
    {
        Sending,     // not known yet, or a send is under way
        Connected,   // the last send reached the server
        Unreachable, // the server did not answer: entries wait locally
        Refused,     // the server's history is not one this version can use
    };
    Q_ENUM(State)

    HistoryUplink(const QString &localPath, const QString &serverLocation,
                  QObject *parent = nullptr);
    ~HistoryUplink() override;

    // The server as the user reads it: user@host:port/database, no secrets.
    QString serverName() const;
    const QString &location() const { return m_location; }
    State state() const { return m_state; }
    int waiting() const { return m_waiting; }
    const QString &detail() const { return m_detail; }

    // Sends what waits, soon, in the uplink's thread.
    void sendSoon();
    // The whole local history once (take-over); progress comes as it goes.
    void sendWholeHistory();

Q_SIGNALS:
    void stateChanged();
    void progress(int sent, int total);
    // A take-over ended: whether everything is on the server.
    void wholeHistorySent(bool complete);

private:
    void update(HistoryUplink::State state, int waiting, const QString &detail);

    QString m_location;
    QThread m_thread;
    HistoryUplinkWorker *m_worker = nullptr;
    State m_state = State::Sending;
    int m_waiting = 0;
    QString m_detail;
};
