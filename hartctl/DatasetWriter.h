#pragma once

#include "DatasetComparison.h"
#include "ExitCode.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QStringList>

class Console;
class DeviceSession;

// What every write of this program goes through, as the Compare window
// writes: the device read first, the values that differ shown beside the
// device's, then (unless only a preview is wanted, or nobody agreed) those
// values written with a snapshot before and a change-log entry each, and
// read back to see that the device keeps them.
class DatasetWriter
{
    Q_DECLARE_TR_FUNCTIONS(DatasetWriter)

public:
    struct Outcome
    {
        ExitCode code = ExitCode::Done;
        QString message;
        QJsonArray changes; // item, label, device, value (as the user reads them)
        bool written = false;
    };

    enum class Consent
    {
        Given,   // --yes, or the sheet was agreed to as a whole
        Ask,     // on the terminal; refused without one
        Preview, // --dry-run: nothing is written
    };

    DatasetWriter(DeviceSession &session, Console &console);

    // Writes the target values (item -> host string form) where the device
    // differs; reason goes with the snapshot.
    Outcome write(DatasetComparison::Values target, Consent consent, const QString &reason);
    // Only the preview rows: the values in target that the device holds otherwise.
    QList<DatasetComparison::Row> differences(const DatasetComparison::Values &target) const;

private:
    void show(const QList<DatasetComparison::Row> &rows, Outcome &outcome) const;
    // The target values the device does not hold after the write, by label.
    QStringList notKept(const DatasetComparison::Values &target) const;

    DeviceSession &m_session;
    Console &m_console;
};
