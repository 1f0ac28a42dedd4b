#pragma once

#include "DatasetComparison.h"

#include <QObject>
#include <QPointer>
#include <QSet>

#include "HistoryService.h"

// What the Compare window shows and does, without its widgets: the device's
// values beside the dataset's or a snapshot's, the rows the user ticked, the
// filter, and the writes and take-overs of the ticked rows. Reads the device
// first when some of its values were not read since it connected.
class CompareController : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Idle,
        NotConnected, // the device's values cannot be read
        Reading,
        Writing,
    };

    explicit CompareController(QObject *parent = nullptr);

    void setService(HistoryService *service);
    HistoryService *service() const { return m_service; }

    // Against the dataset (0) or a snapshot.
    void compareWithDataset();
    void compareWithSnapshot(qint64 snapshot);
    qint64 snapshot() const { return m_snapshot; }

    // Fills the rows again; reads the device first when it must.
    void refresh();
    // Reads the device whatever was read before.
    void readDevice();

    const QList<DatasetComparison::Row> &rows() const { return m_rows; }
    // The rows shown: all, or only those that differ.
    QList<DatasetComparison::Row> visibleRows() const;
    int differenceCount() const;
    bool onlyDifferences() const { return m_onlyDifferences; }
    void setOnlyDifferences(bool only);

    bool isChecked(const QString &item) const { return m_checked.contains(item); }
    void setChecked(const QString &item, bool checked);
    // Ticks every row that differs and whose other value is known (what a
    // write can put on the device), and nothing else.
    void checkDifferences();
    QStringList checkedItems() const;

    State state() const { return m_state; }
    bool canWrite() const;
    bool canTakeIntoDataset() const;
    // Writes the ticked rows' dataset or snapshot values to the device.
    bool writeChecked();
    // The dataset takes the device's values of the ticked rows.
    void takeCheckedIntoDataset();
    // The reason the next write gives its snapshot.
    QString writeReason() const;

Q_SIGNALS:
    void rowsChanged();
    void stateChanged(State state);
    // The device refused a write or the link failed.
    void writeFailed();

private:
    void fill();
    void setState(State state);
    void deviceRead(bool completed);
    void writeFinished(bool completed);
    void connectionChanged();
    void scheduleFill();

    QPointer<HistoryService> m_service;
    qint64 m_snapshot = 0;
    QList<DatasetComparison::Row> m_rows;
    QSet<QString> m_checked;
    bool m_onlyDifferences = false;
    State m_state = State::Idle;
    QList<QMetaObject::Connection> m_connections;
    bool m_fillScheduled = false;
};
