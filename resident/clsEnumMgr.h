#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;
class clsDeviceInfo;

// Offers the third display language only on devices whose software knows it.
class clsEnumMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    static constexpr qint16 FirstRevisionWithAllLanguages = 141;

    clsEnumMgr();
    ~clsEnumMgr() override;

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;
    void afterRegister() override { evaluate(); }

private:
    void m_SoftwareRevision_ValueUpdate(QString &appItemValue);
    void evaluate();

    std::unique_ptr<clsDeviceInfo> m_deviceInfo;
    std::unique_ptr<clsAppItemCollection> m_items;
    std::shared_ptr<clsAppItem> m_SoftwareRevision;
    std::shared_ptr<clsAppItem> m_languageLimit;
    std::shared_ptr<clsAppItem> m_language;
};
