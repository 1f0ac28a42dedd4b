#include "clsCurrentSequenceMgr.h"

#include "AppletItemManager.h"
#include "ResidentLog.h"
#include "SequenceWalk.h"
#include "clsAppItemCollection.h"
#include "clsRecordItem.h"
#include "clsSeqItemCollection.h"
#include "enmRegMask.h"

namespace {
constexpr qint32 SequenceAbort = 2;
constexpr qint32 RecordGiveUp = 4;
} // namespace

clsCurrentSequenceMgr::clsCurrentSequenceMgr() = default;
clsCurrentSequenceMgr::~clsCurrentSequenceMgr() = default;

void clsCurrentSequenceMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_items = std::make_unique<clsAppItemCollection>();
    m_currentRecord = m_items->Add(QStringLiteral("currentRecord"), false, 0);
    m_currentSequence = m_items->Add(QStringLiteral("currentSequence"), false, 0);
    m_AbortSequences = m_items->Add(QStringLiteral("abortSequences"), false, 0);
    connect(m_AbortSequences.get(), &clsAppItem::ValueUpdate, this,
            &clsCurrentSequenceMgr::m_AbortSequences_ValueUpdate);

    m_sequences = std::make_unique<clsSeqItemCollection>();
    walkSequences(*manager->fncGetDictionary(), [this](qint32, const QString &name) {
        m_sequences->Add(name, false, 0, REGISTER_STATE, this,
                         QStringLiteral("SequenceItem_StatusChanged"));
    });
    m_items->Register(manager);
    m_sequences->Register(manager);
}

void clsCurrentSequenceMgr::unregisterItems()
{
    m_items->UnRegister();
    m_sequences->UnRegister();
}

void clsCurrentSequenceMgr::SequenceItem_StatusChanged(const QString &sequenceItemName,
                                                       qint32 sequenceStatus)
{
    if (!isRegistered())
        return;
    if (sequenceStatus == 0) {
        // Only the sequence shown clears the item.
        if (m_currentSequence->StringValue() == sequenceItemName)
            m_currentSequence->setStringValue(QString());
    } else if (sequenceStatus == 32 || sequenceStatus == 64 || sequenceStatus == 128) {
        m_currentSequence->setStringValue(sequenceItemName);
        m_lastStarted = sequenceItemName;
    }
}

void clsCurrentSequenceMgr::m_AbortSequences_ValueUpdate(QString &)
{
    if (!isRegistered() || m_AbortSequences->UIntValue() != 1)
        return;
    try {
        abortSequence();
        abortRecord();
    } catch (const std::exception &error) {
        // The reset below must still happen, or no later abort would be heard.
        qCInfo(lcResident) << "abort not passed on:" << error.what();
    }
    m_AbortSequences->setUIntValue(0);
}

void clsCurrentSequenceMgr::abortSequence()
{
    QString name = m_currentSequence->StringValue();
    if (name.isEmpty())
        name = m_lastStarted;
    if (name.isEmpty())
        return;
    clsSequenceItem sequence;
    sequence.Init(name, false, 0, REGISTER_CONTROL);
    sequence.Register1(manager());
    qint32 action = SequenceAbort;
    sequence.DoAction(action);
    sequence.UnRegister();
}

void clsCurrentSequenceMgr::abortRecord()
{
    const QString name = m_currentRecord->StringValue();
    if (name.isEmpty())
        return;
    clsRecordItem record;
    record.Init(name, false, 0, REGISTER_CONTROL);
    record.Register1(manager());
    qint32 action = RecordGiveUp;
    record.DoAction(action);
    record.UnRegister();
}
