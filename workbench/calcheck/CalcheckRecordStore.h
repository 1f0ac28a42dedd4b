#pragma once

#include "CalcheckRecord.h"
#include "CalibrationStore.h"

#include <QList>
#include <QString>
#include <optional>

class HistoryDatabase;

// The calibration checks of each device, kept in the history database with
// the device's change log. Only complete checks are kept, so an interrupted
// one never reads as a calibration. The checks of earlier versions lay in a
// file of their own; they are taken over once, and that file is left as it
// was.
class CalcheckRecordStore
{
public:
    explicit CalcheckRecordStore(HistoryDatabase &database,
                                 QString legacyPath = defaultLegacyPath());

    // calibration.sqlite in the user's data folder, where earlier versions kept the checks.
    static QString defaultLegacyPath();
    // The history's key of a device ("3C-9D-000001") from its unique id ("3C9D000001").
    static QString deviceKey(const QString &uniqueId);
    static CalibrationEntry entryOf(const CalcheckRecord &record);

    // Opens the history database when it is not open yet and takes over the
    // checks of the old file; false when the database cannot be used.
    bool open();
    // False for an incomplete check or when the write failed.
    bool save(const CalcheckRecord &record, QString *error = nullptr);
    // Newest first.
    QList<CalcheckRecord> records(const QString &uniqueId) const;
    std::optional<CalcheckRecord> last(const QString &uniqueId) const;

private:
    void takeOverLegacyFile();

    HistoryDatabase &m_database;
    CalibrationStore m_store;
    QString m_legacyPath;
};
