#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;

// Follows the connection: a lost connection aborts what runs, a new one
// reads the device information, unless the device connected is of another
// maker or type (it gets nothing of this family).
class clsConnEventMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    static constexpr const char *DeviceInfoSequence = "GetDeviceInfo";

    clsConnEventMgr();
    ~clsConnEventMgr() override;

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_ConnectionStatus_ValueUpdate(QString &appItemValue);

    std::unique_ptr<clsAppItemCollection> m_items;
    std::shared_ptr<clsAppItem> m_ConnectionStatus;
    std::shared_ptr<clsAppItem> m_abortSequences;
    std::shared_ptr<clsAppItem> m_foreignDevice;
    qint16 m_previousStatus = 0;
};
