#include "HistoryController.h"

#include "ChangeLogCsv.h"
#include "HistoryService.h"

HistoryController::HistoryController(QObject *parent) : QObject(parent) {}

void HistoryController::setService(HistoryService *service)
{
    disconnect(m_connection);
    m_service = service;
    if (service)
        m_connection = connect(service, &HistoryService::historyChanged, this,
                               &HistoryController::scheduleReload);
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
    return m_service ? m_service->changeLog().devices() : QStringList();
}

void HistoryController::reload()
{
    m_reloadScheduled = false;
    m_snapshots.clear();
    m_entries.clear();
    if (m_service) {
        m_snapshots = m_service->snapshots().list(m_filter.device);
        m_entries = m_service->changeLog().entries(m_filter);
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
