#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class HistoryDatabase;

// One value written to a device. It is stored before the request goes out
// with an unknown outcome, and completed when the answer comes.
struct ChangeEntry
{
    enum class Outcome
    {
        Unknown = 0,
        Accepted = 1,
        Refused = 2,
        NotSent = 3, // kept back: the history could not record it and the user said no
    };

    qint64 id = 0;
    QString uuid;   // made when stored, when empty
    QDateTime time; // UTC
    QString user;
    QString workstation; // this computer's name when empty
    QString device;      // DeviceIdentity::key()
    QString tag;
    QString item; // the record's name for a command that carries no value
    // The device's value before the write; none when it was not read from
    // the device (what it held is not known).
    std::optional<QString> oldValue;
    QString newValue;
    // The units the values were written in (a unit the user can change:
    // the one of each side), empty for a value without one.
    QString oldUnit;
    QString newUnit;
    Outcome outcome = Outcome::Unknown;
    int responseCode = -1; // -1: no response
    int command = -1;
    QString sequence;
};

struct ChangeFilter
{
    QString device; // empty: every device
    QDateTime from; // invalid: open
    QDateTime to;
    QString item;  // part of the item name, without regard to case
    int limit = 0; // 0: all
};

// The change log in the history database.
class ChangeLog
{
public:
    explicit ChangeLog(HistoryDatabase &database) : m_database(database) {}

    // Stores the entries of one request in one transaction with an unknown
    // outcome; their ids in order, or empty when they could not be stored.
    QList<qint64> begin(const QList<ChangeEntry> &entries);
    bool complete(const QList<qint64> &ids, ChangeEntry::Outcome outcome, int responseCode);

    // Newest first.
    QList<ChangeEntry> entries(const ChangeFilter &filter = {}) const;
    QStringList devices() const;

private:
    HistoryDatabase &m_database;
};
