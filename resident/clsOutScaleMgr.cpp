#include "clsOutScaleMgr.h"

#include "clsAppItemCollection.h"

clsOutScaleMgr::clsOutScaleMgr() = default;
clsOutScaleMgr::~clsOutScaleMgr() = default;

void clsOutScaleMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_items = std::make_unique<clsAppItemCollection>();
    m_items->Add(QStringLiteral("currentSequence"), false, 0);
    m_outScaleUnitGui = m_items->Add(QStringLiteral("outScaleUnitGui"), false, 0);
    m_OutScaleUnit = m_items->Add(QStringLiteral("outScaleUnit"), false, 0);
    m_FreeUnitText = m_items->Add(QStringLiteral("freeUnitText"), false, 0);
    connect(m_OutScaleUnit.get(), &clsAppItem::ValueUpdate, this,
            [this](QString &) { updateUnitText(); });
    connect(m_FreeUnitText.get(), &clsAppItem::ValueUpdate, this,
            [this](QString &) { updateUnitText(); });
    m_items->Register(manager);
}

void clsOutScaleMgr::unregisterItems()
{
    m_items->UnRegister();
}

void clsOutScaleMgr::updateUnitText()
{
    if (m_OutScaleUnit->UIntValue() == SpecialUnit)
        m_outScaleUnitGui->setStringValue(m_FreeUnitText->StringValue());
    else
        m_outScaleUnitGui->setStringValue(m_OutScaleUnit->EnumValue());
}
