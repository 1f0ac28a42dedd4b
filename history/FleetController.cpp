#include "FleetController.h"

#include "ChangeLogCsv.h"
#include "HistoryDatabase.h"

#include <QIODevice>

FleetController::FleetController(QObject *parent) : QObject(parent) {}

void FleetController::setLocation(const QString &location, const QString &fallback)
{
    m_location = location;
    m_fallback = fallback;
}

bool FleetController::reload()
{
    m_problem.clear();
    m_showsServer = false;
    m_all.clear();
    bool read = false;
    {
        HistoryDatabase database(m_location);
        if (database.open() == HistoryDatabase::Status::Open ||
            database.status() == HistoryDatabase::Status::ReadOnly) {
            m_all = FleetList::load(database, m_defaultInterval);
            m_showsServer = database.isServer();
            read = true;
        } else {
            m_problem = database.detail();
        }
    }
    if (!read && !m_fallback.isEmpty()) {
        HistoryDatabase local(m_fallback);
        if (local.open() == HistoryDatabase::Status::Open ||
            local.status() == HistoryDatabase::Status::ReadOnly) {
            m_all = FleetList::load(local, m_defaultInterval);
            read = true;
        }
    }
    filter();
    return read;
}

void FleetController::setSearch(const QString &tag)
{
    m_search = tag.trimmed();
    filter();
}

void FleetController::setDueWithin(std::optional<int> days, const QDate &today)
{
    m_dueDays = days;
    m_today = today;
    filter();
}

void FleetController::filter()
{
    const QList<FleetRow> due =
        m_dueDays ? FleetList::dueWithin(m_all, m_today, *m_dueDays) : m_all;
    m_shown.clear();
    for (const FleetRow &row : due) {
        if (m_search.isEmpty() || row.tag.contains(m_search, Qt::CaseInsensitive))
            m_shown.append(row);
    }
    Q_EMIT changed();
}

bool FleetController::writeCsv(QIODevice &out, const QStringList &header, const Cells &cells) const
{
    const auto line = [&out](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << ChangeLogCsv::field(f);
        const QByteArray bytes = (quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
        return out.write(bytes) == bytes.size();
    };
    if (!line(header))
        return false;
    for (const FleetRow &row : m_shown) {
        if (!line(cells(row)))
            return false;
    }
    return true;
}
