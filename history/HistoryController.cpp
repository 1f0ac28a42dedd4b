#include "HistoryController.h"

#include "ChangeLogCsv.h"
#include "HistoryDatabase.h"
#include "HistoryService.h"
#include "HistoryUplink.h"

#include <QSet>
#include <algorithm>

HistoryController::HistoryController(QObject *parent) : QObject(parent) {}

void HistoryController::setService(HistoryService *service)
{
    disconnect(m_connection);
    disconnect(m_uplinkConnection);
    m_service = service;
    if (service)
        m_connection = connect(service, &HistoryService::historyChanged, this,
                               &HistoryController::scheduleReload);
    if (HistoryUplink *uplink = service ? service->uplink() : nullptr)
        m_uplinkConnection =
            connect(uplink, &HistoryUplink::stateChanged, this, &HistoryController::scheduleReload);
    reload();
}

void HistoryController::setDeviceFilter(const QString &device)
{
    m_filter.device = device;
    reload();
}

void HistoryController::setTimeFilter(const QDateTime &from, const QDateTime &to)
{
    m_filter.from = from;
    m_filter.to = to;
    reload();
}

void HistoryController::setItemFilter(const QString &item)
{
    m_itemText = item.trimmed();
    reload();
}

QStringList HistoryController::devices() const
{
    if (!m_service)
        return {};
    QStringList devices = m_service->changeLog().devices();
    const QString server = teamServer();
    if (!server.isEmpty()) {
        HistoryDatabase team(server);
        if (team.open() == HistoryDatabase::Status::Open)
            devices += ChangeLog(team).devices();
        devices.removeDuplicates();
        devices.sort();
    }
    return devices;
}

QString HistoryController::teamServer() const
{
    const HistoryUplink *uplink = m_service ? m_service->uplink() : nullptr;
    return uplink && uplink->state() == HistoryUplink::State::Connected ? uplink->location()
                                                                        : QString();
}

void HistoryController::addTeamEntries(const QString &server)
{
    HistoryDatabase team(server);
    if (team.open() != HistoryDatabase::Status::Open)
        return; // away after all: this computer's own entries stay
    QSet<QString> known;
    for (const ChangeEntry &entry : std::as_const(m_entries))
        known.insert(entry.uuid);
    for (ChangeEntry &entry : ChangeLog(team).entries(m_filter)) {
        if (!known.contains(entry.uuid))
            m_entries.append(std::move(entry));
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const ChangeEntry &a, const ChangeEntry &b) { return a.time > b.time; });
}

void HistoryController::reload()
{
    m_reloadScheduled = false;
    m_snapshots.clear();
    m_entries.clear();
    if (m_service) {
        m_snapshots = m_service->snapshots().list(m_filter.device);
        m_entries = m_service->changeLog().entries(m_filter);
        if (const QString server = teamServer(); !server.isEmpty())
            addTeamEntries(server);
        const auto matches = [this](const ChangeEntry &e) {
            return e.item.contains(m_itemText, Qt::CaseInsensitive) ||
                   (m_itemLabel && m_itemLabel(e.item).contains(m_itemText, Qt::CaseInsensitive));
        };
        if (!m_itemText.isEmpty())
            m_entries.removeIf([&matches](const ChangeEntry &e) { return !matches(e); });
    }
    Q_EMIT changed();
}

bool HistoryController::exportCsv(
    QIODevice &out, const QStringList &header,
    const std::function<QStringList(const ChangeEntry &)> &cells) const
{
    return ChangeLogCsv::write(out, header, m_entries, cells);
}

// A write stores and completes several entries in a row: one reload for all.
void HistoryController::scheduleReload()
{
    if (m_reloadScheduled)
        return;
    m_reloadScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_reloadScheduled = false;
            reload();
        },
        Qt::QueuedConnection);
}
