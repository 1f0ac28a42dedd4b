#pragma once

#include "CalcheckRecord.h"

#include <QList>
#include <QString>
#include <optional>

// The calibration checks kept per device: one SQLite file in the user's data
// folder, WAL mode, a schema version that only moves forward. Only complete
// checks are kept, so an interrupted one never reads as a calibration.
class CalcheckRecordStore
{
public:
    static constexpr int SchemaVersion = 1;
    static constexpr int ApplicationId = 0x56454343;

    explicit CalcheckRecordStore(QString path = defaultPath());
    ~CalcheckRecordStore();
    CalcheckRecordStore(const CalcheckRecordStore &) = delete;
    CalcheckRecordStore &operator=(const CalcheckRecordStore &) = delete;

    // calibration.sqlite in the user's data folder.
    static QString defaultPath();

    // False with the reason when the file cannot be opened, belongs to
    // another program or a newer version (it is then left untouched).
    bool open(QString *error = nullptr);
    // False for an incomplete check or when the write failed.
    bool save(const CalcheckRecord &record, QString *error = nullptr);
    // Newest first.
    QList<CalcheckRecord> records(const QString &uniqueId) const;
    std::optional<CalcheckRecord> last(const QString &uniqueId) const;

private:
    bool fail(const QString &reason, QString *error);

    QString m_path;
    QString m_connection;
    bool m_open = false;
};
