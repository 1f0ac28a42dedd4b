#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Tables of the device report whose rows come from outside the always-started
// view, such as the change log the program keeps. The program hands one out
// by ProgId through the applet; the report factory asks it for the rows of
// every table the country's template names. The template holds the headings
// in its language; the cells come as the user reads them.
class IReportTables
{
public:
    static constexpr const char *ProgId = "VexHost.ReportTables";

    virtual ~IReportTables() = default;
    // The rows of the table called name, each a list of cell texts; nothing
    // when there is nothing to say (the table is then left out).
    virtual std::optional<QList<QStringList>> ReportRows(const QString &name) = 0;
};
