#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class HistoryDatabase;
class QSqlQuery;

// One calibration check as the history keeps it: the program's whole
// document of the check, and beside it what a list of checks shows.
struct CalibrationEntry
{
    qint64 id = 0;
    QString uuid;   // made when stored, when empty
    QString device; // DeviceIdentity::key()
    QString tag;
    QDateTime checkedAt; // UTC
    QString technician;
    bool asFoundPassed = false;
    bool asLeftPassed = false;
    // The as-found run's largest primary value error in % of span (signed),
    // for the drift from one check to the next; none when not known.
    std::optional<double> asFoundError;
    QString user;        // who was logged in
    QString workstation; // this computer's name when empty
    QString document;
};

// The calibration checks in the history database.
class CalibrationStore
{
public:
    explicit CalibrationStore(HistoryDatabase &database) : m_database(database) {}

    // One check in one transaction; its id, or 0 when it was not stored.
    qint64 store(const CalibrationEntry &entry);
    // Newest first.
    QList<CalibrationEntry> list(const QString &device) const;

    // Whether the checks of this source were taken over already.
    bool imported(const QString &source) const;
    // The checks of a source and the mark that it was taken over, in one
    // transaction: all of them or none. False when the source was taken over
    // before (nothing is stored twice) or the write failed.
    bool importOnce(const QString &source, const QList<CalibrationEntry> &entries);

private:
    bool insert(QSqlQuery &query, const CalibrationEntry &entry) const;

    HistoryDatabase &m_database;
};
