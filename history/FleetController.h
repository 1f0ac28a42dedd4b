#pragma once

#include "FleetList.h"

#include <QDate>
#include <QObject>
#include <functional>
#include <optional>

class QIODevice;

// What the fleet window shows: every device of the history (a team's server,
// or this computer's file while the server is away or there is none),
// searched by tag and narrowed to the devices due within some days.
class FleetController : public QObject
{
    Q_OBJECT

public:
    explicit FleetController(QObject *parent = nullptr);

    // The history's location (a file or a server's); fallback: the file read
    // when the server cannot be.
    void setLocation(const QString &location, const QString &fallback = QString());
    void setDefaultInterval(int days) { m_defaultInterval = days; }
    // Reads the history again; false when neither could be read.
    bool reload();
    // Why the server's devices are not shown; empty when they are.
    const QString &problem() const { return m_problem; }
    bool showsServer() const { return m_showsServer; }

    void setSearch(const QString &tag);
    // None: every device.
    void setDueWithin(std::optional<int> days, const QDate &today = QDate::currentDate());

    const QList<FleetRow> &rows() const { return m_shown; }
    int total() const { return int(m_all.size()); }

    // The rows shown as CSV: the header and each row's cells as the user reads them.
    using Cells = std::function<QStringList(const FleetRow &)>;
    bool writeCsv(QIODevice &out, const QStringList &header, const Cells &cells) const;

Q_SIGNALS:
    void changed();

private:
    void filter();

    QString m_location;
    QString m_fallback;
    int m_defaultInterval = FleetList::DefaultIntervalDays;
    QList<FleetRow> m_all;
    QList<FleetRow> m_shown;
    QString m_search;
    std::optional<int> m_dueDays;
    QDate m_today = QDate::currentDate();
    QString m_problem;
    bool m_showsServer = false;
};
