#include "HistoryReportTables.h"

#include "HistoryService.h"
#include "HistoryTexts.h"
#include "mainwin/Toolkit_LoadResource.h"

HistoryReportTables::HistoryReportTables(HistoryService *service, QObject *parent)
    : QObject(parent), m_service(service)
{
}

std::optional<QList<QStringList>> HistoryReportTables::ReportRows(const QString &name)
{
    if (m_service && name.compare(QLatin1String(DatasetCheck), Qt::CaseInsensitive) == 0)
        return datasetCheck();
    if (!m_service || name.compare(QLatin1String(LastChanges), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // Offline the report is the dataset's, with no device to name.
    const DeviceIdentity device = m_service->identity();
    if (!m_service->isConnected() || !device.isKnown() || !m_service->database().isOpen())
        return std::nullopt;
    ChangeFilter filter;
    filter.device = device.key();
    filter.limit = LastChangesCount;
    QList<QStringList> rows;
    for (const ChangeEntry &e : m_service->changeLog().entries(filter)) {
        rows.append({HistoryTexts::time(e.time), e.user, HistoryTexts::itemLabel(e.item),
                     HistoryTexts::oldValue(m_service, e), HistoryTexts::newValue(m_service, e),
                     HistoryTexts::outcome(e)});
    }
    return rows;
}

// What the report's values are: the dataset's, said to match the device
// connected only where what was read from it says so.
QList<QStringList> HistoryReportTables::datasetCheck() const
{
    if (!m_service->isConnected())
        return {{GetResText(7422), GetResText(7421)}};
    return {{GetResText(7422), HistoryTexts::datasetMatch(m_service->datasetMatch())},
            {GetResText(7423), m_service->sensorLimitsVerdict()}};
}
