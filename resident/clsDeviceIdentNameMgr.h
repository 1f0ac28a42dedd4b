#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;

// Keeps the device's HART tag and descriptor equal to the project's tag name
// and descriptor of the instance, in both directions.
class clsDeviceIdentNameMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    static constexpr int TagLength = 8;
    static constexpr int DescriptorLength = 16;

    clsDeviceIdentNameMgr();
    ~clsDeviceIdentNameMgr() override;

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_TagHart_ValueUpdate(QString &appItemValue, bool &suppressRule);
    void m_Descriptor_ValueUpdate(QString &appItemValue, bool &suppressRule);
    void m_ProjectItemTag_ValueUpdate(QString &appItemValue);
    void m_ProjectItemDescriptor_ValueUpdate(QString &appItemValue);
    void m_MyView_UploadCompleted();

    void toProject(clsAppItem &target, const QString &value, bool suppressRule);
    void toDevice(clsAppItem &target, const QString &value, int length);

    std::unique_ptr<clsAppItemCollection> m_items;
    std::shared_ptr<clsAppItem> m_currentSequence;
    std::shared_ptr<clsAppItem> m_ProjectItemTag;
    std::shared_ptr<clsAppItem> m_ProjectItemDescriptor;
    std::shared_ptr<clsAppItem> m_TagHart;
    std::shared_ptr<clsAppItem> m_Descriptor;
    bool m_busy = false;
};
