#include "clsMenuMgr.h"

#include "clsAppItemCollection.h"
#include "clsDebugInfo.h"

#include <cmath>

clsMenuMgr::clsMenuMgr() = default;
clsMenuMgr::~clsMenuMgr() = default;

void clsMenuMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_debugMode = clsDebugInfo().InDebugMode().toBool();

    m_ConnectionStatus = std::make_unique<clsAppItem>();
    connect(m_ConnectionStatus.get(), &clsAppItem::ValueUpdate, this,
            &clsMenuMgr::m_ConnectionStatus_ValueUpdate);
    m_ConnectionStatus->Register(manager, QStringLiteral("&&private&&Connect"));

    static const struct
    {
        const char *alias;
        const char *item;
    } menu[] = {
        {"MenuConnect", "&&Menu_State&&Connect"},
        {"MenuDisconnect", "&&Menu_State&&Disconnect"},
        {"MenuSetSlaveAddr", "&&Menu_State&&MenuSetSlaveAddr"},
        {"MenuLoadFromFile", "&&Menu_State&&LoadFromFile"},
        {"MenuSaveToFile", "&&Menu_State&&SaveToFile"},
        {"MenuGenericView", "&&Menu_State&&GenericView"},
        {"MenuHTMLPrintView", "&&Menu_State&&HTMLPrintView"},
        {"MenuDebugSequences", "&&Menu_State&&DebugSequences"},
        {"MenuMdiMain", "&&Menu_State&&MdiMain"},
    };
    m_menuItems = std::make_unique<clsAppItemCollection>();
    for (const auto &entry : menu)
        m_menuItems->Add(QLatin1String(entry.item), false, 0, nullptr, QString(),
                         QLatin1String(entry.alias));
    m_menuItems->Register(manager);
}

void clsMenuMgr::unregisterItems()
{
    m_ConnectionStatus->UnRegister();
    m_menuItems->UnRegister();
}

void clsMenuMgr::m_ConnectionStatus_ValueUpdate(QString &)
{
    if (!isRegistered())
        return;
    evaluate();
}

void clsMenuMgr::evaluate()
{
    const double status = std::round(m_ConnectionStatus->UIntValue());
    if (status == 2) {
        setAll(Available);
        set("MenuConnect", Unavailable);
        set("MenuLoadFromFile", Unavailable);
        set("MenuSaveToFile", Unavailable);
    } else if (status == 0) {
        setAll(Unavailable);
        set("MenuConnect", Available);
    }
    set("MenuMdiMain", Available);
    const double debug = m_debugMode ? Available : Unavailable;
    set("MenuDebugSequences", debug);
    set("MenuGenericView", debug);
}

void clsMenuMgr::setAll(double state)
{
    for (const auto &item : m_menuItems->NewEnum())
        item->setUIntValue(state);
}

void clsMenuMgr::set(const char *alias, double state)
{
    if (auto item = m_menuItems->Item(QLatin1String(alias)))
        item->setUIntValue(state);
}
