#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;

// Provides the text of the output scale unit: the free text of the special
// unit, or the name of the unit chosen.
class clsOutScaleMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    static constexpr double SpecialUnit = 253;

    clsOutScaleMgr();
    ~clsOutScaleMgr() override;

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void updateUnitText();

    std::unique_ptr<clsAppItemCollection> m_items;
    std::shared_ptr<clsAppItem> m_outScaleUnitGui;
    std::shared_ptr<clsAppItem> m_OutScaleUnit;
    std::shared_ptr<clsAppItem> m_FreeUnitText;
};
