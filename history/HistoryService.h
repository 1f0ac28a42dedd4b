#pragma once

#include "ChangeLog.h"
#include "DatasetComparison.h"
#include "DatasetMatch.h"
#include "DeviceIdentity.h"
#include "DeviceWriteJournal.h"
#include "HistoryDatabase.h"
#include "SnapshotStore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <memory>

class DeviceInstance;
class HistoryRecorder;
class HistoryUplink;

// The history of one device instance for the program's windows: what the
// device holds beside the dataset or a snapshot, writes of chosen values,
// the snapshots and the change log. The frame creates it with the instance
// and hands it out by programmatic identifier (ProgId); it records every
// write the host sends from then on.
class HistoryService : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *ProgId = "VexHost.History";
    // The sequences this service runs.
    static constexpr const char *ReadSequence = "ReadDeviceDataset";
    static constexpr const char *WriteSequence = "WriteChosenValues";
    static constexpr const char *DownloadSequence = "DOWNLOAD";

    // databasePath: the local file, or a team server's "postgresql://"
    // location; then every entry goes first to the user's own file and on
    // from there to the server.
    HistoryService(DeviceInstance &instance, const QString &databasePath,
                   QObject *parent = nullptr);
    ~HistoryService() override;

    // The database opens at its first use (these, or a write the host
    // sends), not while the program starts.
    HistoryDatabase &database();
    ChangeLog &changeLog();
    SnapshotStore &snapshots();
    // The way to a team's server; null without one.
    HistoryUplink *uplink() const { return m_uplink.get(); }

    DeviceIdentity identity() const;
    // Whether the dataset matches the device connected now, from what was
    // read from it since it connected.
    DatasetMatch datasetMatch() const;
    // The dataset check's verdict on the range against the device's sensor
    // limits, as the user reads it.
    QString sensorLimitsVerdict() const;
    QString tag() const;
    bool isConnected() const;
    // Whether every compared item was read from the device since it connected.
    bool deviceReadComplete() const;

    DatasetComparison::Values deviceValues() const;
    DatasetComparison::Values datasetValues() const;
    QList<DatasetComparison::Row> compareWithDataset() const;
    // Nothing when the snapshot cannot be read.
    std::optional<QList<DatasetComparison::Row>> compareWithSnapshot(qint64 id);

    // Reads the whole dataset from the device into the values as read.
    qint32 readDevice();
    // Writes these values (item -> host string form) to the device alone;
    // reason goes with the snapshot taken before. Refused (non-zero) when a
    // value cannot be read or has no record that writes it.
    qint32 writeValues(const QHash<QString, QString> &values, const QString &reason);
    // The dataset takes the device's values of these items.
    void takeIntoDataset(const QStringList &items);

    // The generic view's writes, which go past the host's sequences: their
    // entries are kept like the host's (waiting while the database does not
    // take them). problem says why they cannot be kept, empty when they are.
    qint64 changesStarting(const QList<ChangeEntry> &entries, QString *problem);
    void changesEnded(qint64 token, DeviceWriteJournal::Outcome outcome, int responseCode);

    qint64 lastSnapshot() const;
    // A logged or stored value as the user reads it: enumeration text in the
    // user's language, the user's number format, with its unit (as logged).
    QString shownValue(const QString &item, const QString &value,
                       const QString &unit = QString()) const;
    // Whether name is an item of the device (not a command's record).
    bool isItem(const QString &name) const;

Q_SIGNALS:
    void historyChanged();
    void deviceRead(bool completed);
    void writeFinished(bool completed);
    void connectionChanged();
    // A value of the device or the dataset changed.
    void valuesChanged();

private:
    // How often what the database did not take is tried again.
    static constexpr int RetryMs = 1000;

    void openDatabase();
    void stored();
    QString problemText() const;
    void sequenceEnded(const QString &name, bool completed);

    QPointer<DeviceInstance> m_instance;
    HistoryDatabase m_database;
    ChangeLog m_log{m_database};
    SnapshotStore m_snapshots{m_database};
    std::unique_ptr<HistoryRecorder> m_recorder;
    std::unique_ptr<HistoryUplink> m_uplink;
    QSet<int> m_compared; // store indexes of the compared items
    QTimer m_retry;
};
