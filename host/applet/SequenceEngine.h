#pragma once

#include "DeviceWriteJournal.h"
#include "ItemValue.h"
#include "ShadowReader.h"
#include "WriteRecording.h"
#include "hart/HartMaster.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class DeviceDescription;
class ItemStore;
class VexAppletItemManager;
struct RecordDefinition;
struct SequenceDefinition;
struct SequenceStep;

// Runs the device's sequences: their records over the HART master, their
// handshakes through the state and control items. One sequence at a time.
//
// Sequence states: 32 reading, 64 writing, 128 running without a busy
// window, 1 waiting for the go to write, 2 data read and waiting for the go,
// 0 ended. Record states: 16 / 32 read / write response, 17 / 33 timeout,
// 18 / 34 communication error (the link could not read the answer; a device
// that reports communication errors answers with state 16 / 32). A state only
// waits for an answer when a view holds the control item that would carry it;
// an answer that does not come within the answer timeout counts as abort
// (sequence) or give-up (record).
class SequenceEngine : public QObject
{
    Q_OBJECT

public:
    static constexpr int StateReading = 32;
    static constexpr int StateWriting = 64;
    static constexpr int StateSilent = 128;
    static constexpr int DefaultAnswerTimeoutMs = 10 * 60 * 1000;

    SequenceEngine(std::shared_ptr<const DeviceDescription> description,
                   VexAppletItemManager &manager, HartMaster &master, QObject *parent = nullptr);
    ~SequenceEngine() override;

    void setConnectedProbe(std::function<bool()> probe) { m_connected = std::move(probe); }
    // Asked before the first write of a run; answers, now or later, with an
    // empty text to go on or the reason the write must not happen. A run
    // refused ends before anything is written, and the reason is shown.
    using WriteCheck = std::function<void(std::function<void(const QString &refusal)>)>;
    void setWriteCheck(WriteCheck check) { m_writeCheck = std::move(check); }
    void setAnswerTimeout(int ms) { m_answerTimer.setInterval(ms); }

    // Told of every write request and its outcome; null for none. Not owned.
    void setWriteJournal(DeviceWriteJournal *journal) { m_recording.setJournal(journal); }

    // The applet's return codes: 0 started, busy, unknown sequence, not connected.
    qint32 start(const QString &name);
    // Runs the sequence `name` (its state items report the run) as the writes
    // of these values alone, by store index: each through the first write
    // record of `recordsFrom` that carries it; the other fields of those
    // records carry the values last read from the device. Refused when a
    // value has no such record.
    qint32 startWrite(const QString &name, const QString &recordsFrom,
                      const QHash<int, ItemValue> &values);
    qint32 adjust(const QString &name);
    bool isRunning() const { return m_run != nullptr; }
    QString runningSequence() const;

    // Ends a running sequence at once (the link is gone or closing).
    void abortRunning();
    // Reads the shadow values of these items outside any sequence.
    void readItems(const QList<int> &items) { m_reader.readItems(items); }
    // Reads outside sequences, refused while one runs.
    ShadowReader &reader() { return m_reader; }

Q_SIGNALS:
    void sequenceEnded(const QString &name, bool completed);
    // A sequence that restarts the device has ended: the link goes down.
    void deviceRestarting();
    void connectionLost();
    // A write request of a run has ended and was not refused: the device's
    // configuration may have changed.
    void deviceWritten();

private:
    struct Run;

    void onItemChanged(int index, bool shadow);
    // Runs work on a later turn of the event loop if the current run still is.
    void postToRun(std::function<void()> work);
    void advance();
    void runRecord(const RecordDefinition &record, bool writing);
    void checkWrite(const RecordDefinition &record);
    void writeChecked(const RecordDefinition &record, const QString &refusal);
    void onOutcome(const HartMaster::Outcome &outcome);
    void onRecordAnswer(int action);
    void onSequenceAnswer(int action);
    void onAnswerTimeout();
    void finish(bool completed);
    void setNumber(const QString &name, double value);
    int indexOf(const QString &prefix, const QString &name) const;
    bool hasListener(const QString &prefix, const QString &name) const;
    int runningState(bool writing) const;
    void reportProgress();
    void takeOver(const QList<int> &items);
    qint32 begin(const SequenceDefinition &sequence, QList<SequenceStep> steps);
    void endWrite(const HartMaster::Outcome &outcome);

    std::shared_ptr<const DeviceDescription> m_description;
    VexAppletItemManager &m_manager;
    ItemStore &m_store;
    HartMaster &m_master;
    std::function<bool()> m_connected;
    WriteCheck m_writeCheck;
    WriteRecording m_recording;
    std::unique_ptr<Run> m_run;
    QTimer m_answerTimer;
    QString m_lastName;
    QList<int> m_lastRead;
    ShadowReader m_reader;
};
