#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;
class clsChangeUnitValue;
class clsDeviceInfo;
class clsSeqItemCollection;
class clsSequenceItem;

// Checks the dataset's measuring range against the connected device's sensor
// range and minimum span, publishes the verdict in "InCompatibleDataset" and
// copies the device's sensor limits into the dataset where the verdict allows.
class clsDatasetvalidation final : public clsComponentBase
{
    Q_OBJECT

public:
    clsDatasetvalidation();
    ~clsDatasetvalidation() override;

    void Validate();

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_SeqGetDeviceInfo_StatusChanged(qint32 &sequenceStatus);
    void m_MyView_UploadCompleted();
    void m_MyView_ScaleInChanged();

    void copyDeviceLimits();
    double deviceValueInDatasetUnit(const char *alias) const;
    std::shared_ptr<clsAppItem> item(const char *key) const;
    qint16 unit(const char *key) const;

    std::unique_ptr<clsChangeUnitValue> m_unitChanger;
    std::unique_ptr<clsDeviceInfo> m_deviceInfo;
    std::unique_ptr<clsAppItemCollection> m_items;
    std::unique_ptr<clsSeqItemCollection> m_sequences;
    std::shared_ptr<clsSequenceItem> m_SeqGetDeviceInfo;
};
