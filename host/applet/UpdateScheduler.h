#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

// Re-reads items that were registered with an update interval: every n
// interval units (seconds, unless a test shortens them) while the device is
// connected, the reader is asked for the shadow values of the items due.
class UpdateScheduler : public QObject
{
    Q_OBJECT

public:
    using Reader = std::function<void(const QList<int> &items)>;
    using ConnectedProbe = std::function<bool()>;

    explicit UpdateScheduler(QObject *parent = nullptr);

    void setReader(Reader reader) { m_reader = std::move(reader); }
    void setConnectedProbe(ConnectedProbe probe) { m_connected = std::move(probe); }
    const ConnectedProbe &connectedProbe() const { return m_connected; }
    // Length of one interval unit; 1000 ms by default.
    void setUnitMilliseconds(int ms);

    // One registration of an item with an interval > 0; registrations of the
    // same item share the shortest interval.
    void add(int item, int interval);
    void remove(int item, int interval);
    int interval(int item) const;

private:
    void tick();

    struct Schedule
    {
        QList<int> intervals;
        int elapsed = 0;
    };

    QHash<int, Schedule> m_items;
    QTimer m_timer;
    Reader m_reader;
    ConnectedProbe m_connected;
};
