#include "clsComponentBase.h"

#include "clsStartAlwaysView.h"

clsComponentBase::clsComponentBase(QObject *parent) : QObject(parent) {}

void clsComponentBase::Register(clsStartAlwaysView *myView)
{
    if (m_registered)
        return;
    m_myView = myView;
    registerItems(myView->AppletItemManagerRef());
    m_registered = true;
    afterRegister();
}

void clsComponentBase::UnRegister()
{
    if (!m_registered)
        return;
    unregisterItems();
    m_registered = false;
}

std::shared_ptr<AppletItemManager> clsComponentBase::manager() const
{
    return m_myView ? m_myView->AppletItemManagerRef() : nullptr;
}
