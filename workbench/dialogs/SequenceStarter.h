#pragma once

#include <QObject>
#include <QPointer>

class VexaAppItem;
class VexaSequenceItem;

// Starts a dialog's sequence at once and says when the host has taken it, so
// that the busy state and the dialog's running flags follow what really runs.
// A start the host refuses (another sequence runs, or any other reason)
// leaves everything as it was: nothing is asked again in a loop. A start
// that must not be lost (a re-read the dialog depends on) waits instead for
// the host's next report of the running sequence ("currentSequence") and is
// tried once per report until the host takes it.
class SequenceStarter : public QObject
{
    Q_OBJECT

public:
    enum class Command
    {
        Start,
        Force
    };
    enum class WhenBusy
    {
        Refuse,
        WaitForHost
    };

    // sequenceReport: the dialog's item bound to "currentSequence"; without
    // it a start that waits for the host is refused like any other.
    SequenceStarter(VexaSequenceItem *sequence, VexaAppItem *sequenceReport,
                    QObject *parent = nullptr);

    // True when the host took the start (Accepted came), or when it waits
    // for the host; false when nothing will follow.
    bool start(Command command, WhenBusy whenBusy = WhenBusy::Refuse);
    // A waiting start is forgotten (the connection went, the dialog closes).
    void forget() { m_waiting = false; }
    bool isWaiting() const { return m_waiting; }

Q_SIGNALS:
    void Accepted();

private:
    enum class Outcome
    {
        Taken,
        Busy,
        Refused
    };
    Outcome tryStart();
    void onSequenceReport();

    QPointer<VexaSequenceItem> m_sequence;
    QPointer<VexaAppItem> m_report;
    Command m_command = Command::Start;
    bool m_waiting = false;
};
