#include "SequenceStarter.h"

#include "VexException.h"
#include "VexaSequenceItem.h"

SequenceStarter::SequenceStarter(VexaSequenceItem *sequence, QObject *parent)
    : QObject(parent), m_sequence(sequence)
{
    connect(sequence, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { onStatus(status); });
}

bool SequenceStarter::start(Command command)
{
    if (!m_sequence)
        return false;
    try {
        if (command == Command::Force)
            m_sequence->Force(true);
        else
            m_sequence->Start(true);
    } catch (const VexException &error) {
        if (error.number() != SEQUENCE_BUSY)
            return false;
        m_queued = true;
        if (command == Command::Force)
            m_sequence->Force();
        else
            m_sequence->Start();
        return true;
    } catch (...) {
        return false;
    }
    m_queued = false;
    Q_EMIT Accepted();
    return true;
}

void SequenceStarter::onStatus(qint32 status)
{
    if (!m_queued || status == 0)
        return;
    m_queued = false;
    Q_EMIT Accepted();
}
