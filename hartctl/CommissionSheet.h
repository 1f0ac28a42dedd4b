#pragma once

#include "DatasetComparison.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class ItemStore;

// A commissioning sheet from the instrument list: a CSV file (comma or
// semicolon), a header, then one row a device. Each row names the device
// by its polling address or by the tag it carries now ("current_tag"; with
// an address, the device there must carry it), may name its unique id
// ("unique_id", MM-TT-DDDDDD) to be sure of it, and gives the values to
// set by the names of hartctl set. The whole sheet is checked before the
// first device is talked to.
class CommissionSheet
{
    Q_DECLARE_TR_FUNCTIONS(CommissionSheet)

public:
    struct Row
    {
        int line = 0;     // in the file, for messages
        int address = -1; // -1: found by current_tag
        QString currentTag;
        QString uniqueId;
        QStringList given;                // "name=value" as the sheet says it, for the summary
        DatasetComparison::Values target; // item -> host string form
    };

    // Nothing and the reason (file, line, column) when the sheet cannot be used.
    static std::optional<CommissionSheet> load(const QString &path, const ItemStore &store,
                                               QString *error);
    static std::optional<CommissionSheet> parse(const QByteArray &text, const QString &path,
                                                const ItemStore &store, QString *error);
    // One CSV line into its fields (quotes may hold the separator and "" a quote).
    static QStringList fields(const QString &line, QChar separator);

    const QList<Row> &rows() const { return m_rows; }

private:
    QList<Row> m_rows;
};
