#pragma once

#include "IReportTables.h"

#include <QObject>
#include <QPointer>

class HistoryService;

// The report's tables from the history: "lastChanges" holds the newest
// change-log entries of the connected device, as the History window shows
// them; "datasetCheck" whether the dataset matches that device. The frame hands it out to the
// report factory through the device instance.
class HistoryReportTables : public QObject, public IReportTables
{
    Q_OBJECT

public:
    static constexpr const char *LastChanges = "lastChanges";
    // Whether the dataset matches the device connected, and its range the
    // device's sensor limits.
    static constexpr const char *DatasetCheck = "datasetCheck";
    static constexpr int LastChangesCount = 20;

    explicit HistoryReportTables(HistoryService *service, QObject *parent = nullptr);

    // Nothing without a connected device or without a history database.
    std::optional<QList<QStringList>> ReportRows(const QString &name) override;

private:
    QList<QStringList> datasetCheck() const;

    QPointer<HistoryService> m_service;
};
