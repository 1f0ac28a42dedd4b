#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;
class clsDeviceInfo;
class clsRecItemCollection;
class clsRecordItem;

// Watches every record the host transfers: publishes the record being
// transferred and its last response, evaluates each response, asks the user
// on a command error and tells the host how to go on with the record.
class clsRecordMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    clsRecordMgr();
    ~clsRecordMgr() override;

    int recordCount() const;

    // Called by name for every record of every sequence.
    Q_INVOKABLE void RecordItem_StatusChanged(const QString &recordItemName, qint32 recordStatus);

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void evaluateResponse(clsRecordItem &record, qint32 status);
    void doAction(clsRecordItem &record, qint32 action);

    std::unique_ptr<clsDeviceInfo> m_deviceInfo;
    std::unique_ptr<clsAppItemCollection> m_items;
    std::unique_ptr<clsRecItemCollection> m_records;
    std::shared_ptr<clsAppItem> m_abortSequences;
    std::shared_ptr<clsAppItem> m_connectionStatus;
    std::shared_ptr<clsAppItem> m_currentRecord;
    std::shared_ptr<clsAppItem> m_currentRecordState;
    std::shared_ptr<clsAppItem> m_currentResponseCode;
};
