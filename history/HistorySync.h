#pragma once

#include <QObject>
#include <QString>

class HistoryDatabase;

// Sends what the local history keeps for a team's server: each entry once
// (the server keeps an entry's identity, so a batch sent twice is stored
// once), oldest first. The local history stays the place every write goes
// first, so a server that is away loses nothing; what waits there is sent
// when it answers again.
class HistorySync : public QObject
{
    Q_OBJECT

public:
    // Rows sent to the server in one of its transactions.
    static constexpr int BatchSize = 500;

    HistorySync(HistoryDatabase &local, HistoryDatabase &server, QObject *parent = nullptr);

    // Entries that wait for the server.
    int waiting() const;
    // Sends what waits; true when nothing waits any more. A change whose
    // write has no outcome yet stays back until it has one (or came from an
    // earlier run of the program, whose outcome will never come).
    bool sendWaiting();
    // Every entry of the local history, also those made before it had a
    // server, waits for the server (once: what is there already is kept
    // once); the number of entries that now wait.
    int queueWholeHistory();

    HistoryDatabase &server() { return m_server; }
    // Why the last send stopped, for the log.
    const QString &detail() const { return m_detail; }

    // A table whose entries are sent: its columns (without id; uuid first)
    // and the device time they go in.
    struct Table
    {
        const char *name;
        const char *columns;
        const char *time;
        bool hasValues; // a snapshot's values go with it
    };

Q_SIGNALS:
    // While sending: how many of those that waited are on the server.
    void progress(int sent, int total);
    // The number waiting or the server's state changed.
    void changed();

private:
    // One batch of one table; the rows sent, or -1 when the server or the
    // local history failed.
    int sendBatch(const Table &table);

    HistoryDatabase &m_local;
    HistoryDatabase &m_server;
    QString m_sessionStart;
    QString m_detail;
};
