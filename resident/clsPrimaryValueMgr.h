#pragma once

#include "clsComponentBase.h"

class clsAppItem;
class clsAppItemCollection;
class clsChangeUnitValue;

// Converts the sensor limits, the minimum span and the measuring range into a
// newly chosen pressure unit, keeps the range inside the sensor limits plus
// the spare margin, keeps rounded copies of the range values and announces
// every accepted range change.
class clsPrimaryValueMgr final : public clsComponentBase
{
    Q_OBJECT

public:
    clsPrimaryValueMgr();
    ~clsPrimaryValueMgr() override;

    qint16 rememberedUnit() const { return m_primaryValueUnit; }

    // Rounds to the given decimals, a half to the even digit.
    static double roundHalfEven(double value, int decimals);

protected:
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;

private:
    void m_PrimaryValueUnit_ValueUpdate2(QString &appItemValue, bool &suppressRule);
    void m_ScaleInHiLim_ValueUpdate2(QString &appItemValue, bool &suppressRule);
    void m_ScaleInLoLim_ValueUpdate2(QString &appItemValue, bool &suppressRule);

    void limitChanged(clsAppItem &limit, clsAppItem &rounded, bool suppressRule);
    void checkLimit(clsAppItem &limit);
    void refreshRounded(const clsAppItem &limit, clsAppItem &rounded);
    bool rulesMayRun(bool suppressRule) const;
    qint16 unitNow() const;
    float value(const char *key) const;

    std::unique_ptr<clsChangeUnitValue> m_unitChanger;
    std::unique_ptr<clsAppItemCollection> m_items;
    std::shared_ptr<clsAppItem> m_currentSequence;
    std::shared_ptr<clsAppItem> m_scaleInHiLim;
    std::shared_ptr<clsAppItem> m_scaleInLoLim;
    std::shared_ptr<clsAppItem> m_scaleInHiLimRounded;
    std::shared_ptr<clsAppItem> m_scaleInLoLimRounded;
    std::shared_ptr<clsAppItem> m_PrimaryValueUnit;
    bool m_converting = false;
    bool m_limitGuard = false;
    qint16 m_primaryValueUnit = 0;
};
