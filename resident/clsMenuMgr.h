#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;

// Keeps the states of the host's menu entries for this device instance in
// line with the connection status and the debug switch.
class clsMenuMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    static constexpr double Available = 3;
    static constexpr double Unavailable = 0;

    clsMenuMgr();
    ~clsMenuMgr() override;

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;
    void afterRegister() override { evaluate(); }

private:
    void m_ConnectionStatus_ValueUpdate(QString &appItemValue);
    void evaluate();
    void setAll(double state);
    void set(const char *alias, double state);

    bool m_debugMode = false;
    std::unique_ptr<clsAppItem> m_ConnectionStatus;
    std::unique_ptr<clsAppItemCollection> m_menuItems;
};
