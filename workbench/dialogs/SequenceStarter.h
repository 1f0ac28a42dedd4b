#pragma once

#include <QObject>
#include <QPointer>

class VexaSequenceItem;

// Starts a dialog's sequence and says when the host has taken it, so that the
// busy state and the dialog's running flags follow what really runs. The
// start is tried at once; while another sequence runs it is queued on the
// sequence control (which asks again until the host takes it) and Accepted
// comes with the first running state the host reports.
class SequenceStarter : public QObject
{
    Q_OBJECT

public:
    enum class Command
    {
        Start,
        Force
    };

    explicit SequenceStarter(VexaSequenceItem *sequence, QObject *parent = nullptr);

    // False when the host refused the start outright: nothing will follow.
    bool start(Command command);
    // A queued start is forgotten (the connection went).
    void forget() { m_queued = false; }
    bool isQueued() const { return m_queued; }

Q_SIGNALS:
    void Accepted();

private:
    void onStatus(qint32 status);

    QPointer<VexaSequenceItem> m_sequence;
    bool m_queued = false;
};
