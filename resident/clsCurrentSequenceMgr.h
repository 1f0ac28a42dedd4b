#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;
class clsSeqItemCollection;

// Publishes the running sequence in "currentSequence" and aborts the running
// sequence and record when "abortSequences" is set to 1.
class clsCurrentSequenceMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    clsCurrentSequenceMgr();
    ~clsCurrentSequenceMgr() override;

    const QString &lastStartedSequence() const { return m_lastStarted; }

    // Called by name for every sequence of the host.
    Q_INVOKABLE void SequenceItem_StatusChanged(const QString &sequenceItemName,
                                                qint32 sequenceStatus);

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_AbortSequences_ValueUpdate(QString &appItemValue);
    void abortSequence();
    void abortRecord();

    std::unique_ptr<clsAppItemCollection> m_items;
    std::unique_ptr<clsSeqItemCollection> m_sequences;
    std::shared_ptr<clsAppItem> m_currentRecord;
    std::shared_ptr<clsAppItem> m_currentSequence;
    std::shared_ptr<clsAppItem> m_AbortSequences;
    QString m_lastStarted;
};
