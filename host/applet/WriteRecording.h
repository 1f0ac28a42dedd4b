#pragma once

#include "DeviceWriteJournal.h"
#include "RecordCodec.h"

#include <QString>

class ItemStore;
struct RecordDefinition;

// The writes of one sequence run as the journal hears of them: each write is
// announced before its request goes out and ended with the device's answer.
// When the journal cannot keep what a write changes, the user is asked once
// a run whether to write all the same: nothing goes to the device unrecorded
// without the user knowing.
class WriteRecording
{
public:
    explicit WriteRecording(const ItemStore &store) : m_store(store) {}

    void setJournal(DeviceWriteJournal *journal) { m_journal = journal; }
    // A new run begins.
    void start(const QString &sequence);
    // False when the write must not be sent: the journal could not keep it and
    // the user chose not to write.
    bool announce(const RecordDefinition &record, const RecordCodec::ValueOverrides &overrides);
    // The answer to the write in flight, if one is.
    void end(DeviceWriteJournal::Outcome outcome, int responseCode);

private:
    bool goOnWithout(const QString &problem);

    const ItemStore &m_store;
    DeviceWriteJournal *m_journal = nullptr;
    QString m_sequence;
    bool m_announced = false;
    bool m_unrecordedAccepted = false; // the user chose to write without the record
    qint64 m_token = -1;               // the journal's token of the write in flight
};
