#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

class HistoryDatabase;

// The device's dataset as read, kept before a write changed it.
struct Snapshot
{
    qint64 id = 0;
    QString uuid;   // made when stored, when empty
    QString device; // DeviceIdentity::key()
    QString tag;
    QDateTime taken; // UTC
    QString user;
    QString workstation;           // this computer's name when empty
    QString reason;                // the sequence that wrote, or what the program said
    QMap<QString, QString> values; // item -> host string form
};

class SnapshotStore
{
public:
    explicit SnapshotStore(HistoryDatabase &database) : m_database(database) {}

    // The snapshot and its values in one transaction; its id, or 0.
    qint64 store(const Snapshot &snapshot);
    // Newest first, without their values; every device for an empty key.
    QList<Snapshot> list(const QString &device = {}) const;
    std::optional<Snapshot> load(qint64 id) const;

private:
    HistoryDatabase &m_database;
};
