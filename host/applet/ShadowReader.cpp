#include "ShadowReader.h"

#include "DeviceDescription.h"
#include "ItemStore.h"
#include "RecordCodec.h"
#include "VexAppletItemManager.h"
#include "hart/HartMaster.h"

#include <QDateTime>
#include <QPointer>

#include <algorithm>

ShadowReader::ShadowReader(std::shared_ptr<const DeviceDescription> description,
                           VexAppletItemManager &manager, HartMaster &master, QObject *parent)
    : QObject(parent), m_description(std::move(description)), m_manager(manager), m_master(master)
{
}

bool ShadowReader::readItems(const QList<int> &items)
{
    const ItemStore &store = m_manager.store();
    QList<const RecordDefinition *> records;
    for (int index : items) {
        const QString &name = store.definition(index).name;
        for (const RecordDefinition &record : m_description->records) {
            if (!record.request.isEmpty())
                continue;
            const bool carries = std::any_of(
                record.response.begin(), record.response.end(), [&](const FieldDefinition &f) {
                    return f.item.compare(name, Qt::CaseInsensitive) == 0;
                });
            if (carries) {
                if (!records.contains(&record))
                    records.append(&record);
                break;
            }
        }
    }
    return readRecords(records);
}

bool ShadowReader::readSequence(const QString &name)
{
    const SequenceDefinition *sequence = m_description->findSequence(name);
    if (!sequence)
        return false;
    QList<const RecordDefinition *> records;
    for (const SequenceStep &step : sequence->steps) {
        const RecordDefinition *record = step.kind == SequenceStep::Kind::Read
                                             ? m_description->findRecord(step.record)
                                             : nullptr;
        if (record && record->request.isEmpty() && !records.contains(record))
            records.append(record);
    }
    return readRecords(records);
}

bool ShadowReader::readRecords(const QList<const RecordDefinition *> &records)
{
    if (m_busy || records.isEmpty() || (m_mayRead && !m_mayRead()))
        return false;
    QPointer<ShadowReader> self(this);
    // The reads of one round share its time, so that displays can line them up.
    const qint64 roundMs = QDateTime::currentMSecsSinceEpoch();
    m_busy = true;
    for (const RecordDefinition *record : records) {
        const bool last = record == records.last();
        m_master.transact(quint8(record->command), QByteArray(),
                          [self, record, last, roundMs](const HartMaster::Outcome &outcome) {
                              if (!self)
                                  return;
                              if (last)
                                  self->m_busy = false;
                              // Sent on a connection that is gone: neither its
                              // values nor its loss concern the link of now.
                              if (!self->m_master.isCurrent(outcome))
                                  return;
                              ItemStore &store = self->m_manager.store();
                              const bool valid =
                                  outcome.kind == HartMaster::Outcome::Kind::Response &&
                                  RecordCodec::dataValid(outcome.responseCode);
                              if (valid)
                                  RecordCodec::decodeResponse(*record, outcome.data, store);
                              self->m_manager.reportRead(RecordCodec::responseItems(*record, store),
                                                         {valid, outcome.deviceStatus, roundMs});
                              if (outcome.kind == HartMaster::Outcome::Kind::ConnectionLost)
                                  Q_EMIT self->connectionLost();
                          });
    }
    return true;
}
