#include "SequenceStarter.h"

#include "VexException.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "WorkbenchLog.h"

SequenceStarter::SequenceStarter(VexaSequenceItem *sequence, VexaAppItem *sequenceReport,
                                 QObject *parent)
    : QObject(parent), m_sequence(sequence), m_report(sequenceReport)
{
    if (sequenceReport)
        connect(sequenceReport, &VexaAppItem::ValueChanged, this,
                [this](QString &) { onSequenceReport(); });
}

bool SequenceStarter::start(Command command, WhenBusy whenBusy)
{
    m_waiting = false;
    m_command = command;
    switch (tryStart()) {
    case Outcome::Taken:
        return true;
    case Outcome::Refused:
        return false;
    case Outcome::Busy:
        break;
    }
    if (whenBusy == WhenBusy::Refuse || !m_report) {
        qCInfo(lcWorkbench).noquote()
            << "Sequence" << m_sequence->AppItemName() << "not started: another one runs";
        return false;
    }
    m_waiting = true;
    return true;
}

SequenceStarter::Outcome SequenceStarter::tryStart()
{
    if (!m_sequence)
        return Outcome::Refused;
    try {
        if (m_command == Command::Force)
            m_sequence->Force(true);
        else
            m_sequence->Start(true);
    } catch (const VexException &error) {
        if (error.number() == SEQUENCE_BUSY)
            return Outcome::Busy;
        qCInfo(lcWorkbench).noquote()
            << "Sequence" << m_sequence->AppItemName() << "not started:" << error.what();
        return Outcome::Refused;
    }
    Q_EMIT Accepted();
    return Outcome::Taken;
}

// One try for each report of the host: while the other sequence runs, the
// reports are few, so the host is not asked again and again.
void SequenceStarter::onSequenceReport()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    if (tryStart() == Outcome::Busy)
        m_waiting = true;
}
