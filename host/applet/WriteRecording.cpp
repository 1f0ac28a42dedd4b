#include "WriteRecording.h"

#include "HostTexts.h"
#include "ItemStore.h"
#include "MessageBoxSeam.h"

#include <utility>

void WriteRecording::start(const QString &sequence)
{
    m_sequence = sequence;
    m_announced = false;
    m_unrecordedAccepted = false;
    m_token = -1;
}

bool WriteRecording::announce(const RecordDefinition &record,
                              const RecordCodec::ValueOverrides &overrides)
{
    if (!m_journal)
        return true;
    QString problem;
    if (!m_announced) {
        m_announced = true;
        problem = m_journal->writesStarting(m_sequence);
    }
    DeviceWrite write;
    write.sequence = m_sequence;
    write.record = record.name;
    write.command = record.command;
    for (int index : RecordCodec::requestItems(record, m_store)) {
        const ItemDefinition &definition = m_store.definition(index);
        const auto given = overrides.constFind(index);
        const ItemValue &after =
            given != overrides.constEnd() ? *given : m_store.value(index, false);
        write.values.append(
            {definition.name, m_store.text(index, true), after.toString(definition)});
    }
    QString entryProblem;
    m_token = m_journal->writeStarting(write, &entryProblem);
    if (problem.isEmpty())
        problem = entryProblem;
    if (problem.isEmpty() || goOnWithout(problem))
        return true;
    // Not sent: the journal hears that the write came to nothing.
    end(DeviceWriteJournal::Outcome::NotSent, -1);
    return false;
}

bool WriteRecording::goOnWithout(const QString &problem)
{
    if (m_unrecordedAccepted)
        return true;
    m_unrecordedAccepted =
        MessageBoxSeam::show(nullptr, QMessageBox::Warning,
                             HostTexts::text(HostTexts::WriteStoppedTitle),
                             HostTexts::text(HostTexts::HistoryNotKept).arg(problem),
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    return m_unrecordedAccepted;
}

void WriteRecording::end(DeviceWriteJournal::Outcome outcome, int responseCode)
{
    if (!m_journal || m_token < 0)
        return;
    m_journal->writeEnded(std::exchange(m_token, -1), outcome, responseCode);
}
