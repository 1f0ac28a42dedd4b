#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class HistoryDatabase;

// One device the history knows, as the fleet list shows it.
struct FleetRow
{
    QString device; // DeviceIdentity::key()
    QString tag;    // the newest the history has
    QDateTime lastSeen;
    QString lastSeenBy; // user, and the workstation after an "@"
    // The newest calibration check; lastCheck invalid when there is none.
    QDateTime lastCheck;
    QString technician;
    bool asFoundPassed = false;
    bool asLeftPassed = false;
    // Change of the largest as-found error (% of span) from the check
    // before to the newest; none without two checks that know it.
    std::optional<double> drift;
    int intervalDays = 0;
    // Invalid for a device never checked: it is due now.
    QDate nextDue;

    bool dueWithin(const QDate &today, int days) const
    {
        return !nextDue.isValid() || nextDue <= today.addDays(days);
    }
};

// Every device of a history (local or a team's server) with its last
// calibration check and when the next is due.
class FleetList
{
public:
    static constexpr int DefaultIntervalDays = 365;

    // Sorted by device; empty when the history cannot be read.
    static QList<FleetRow> load(HistoryDatabase &database,
                                int defaultIntervalDays = DefaultIntervalDays);
    // The devices due within days from today, soonest first (never checked first).
    static QList<FleetRow> dueWithin(const QList<FleetRow> &rows, const QDate &today, int days);
    // A device's own interval from now on (an entry of its own: the newest counts).
    static bool setInterval(HistoryDatabase &database, const QString &device, int days,
                            const QString &user);
};
