#include "clsPrimaryValueMgr.h"

#include "clsAppItemCollection.h"
#include "clsChangeUnitValue.h"
#include "clsGetDecimalPlaces.h"
#include "clsStartAlwaysView.h"

#include <cmath>

namespace {
// Sets a flag for one scope and clears it however the scope ends.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};
} // namespace

clsPrimaryValueMgr::clsPrimaryValueMgr() = default;
clsPrimaryValueMgr::~clsPrimaryValueMgr() = default;

void clsPrimaryValueMgr::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    m_unitChanger = std::make_unique<clsChangeUnitValue>();
    m_unitChanger->Register(manager);

    m_items = std::make_unique<clsAppItemCollection>();
    m_currentSequence = m_items->Add(QStringLiteral("currentSequence"), false, 0);
    for (const char *name : {"scaleInSpare", "sensorRangeHiLim", "sensorRangeLoLim", "minSpan"})
        m_items->Add(QLatin1String(name), false, 0);
    m_scaleInHiLim = m_items->Add(QStringLiteral("scaleInHiLim"), false, 0);
    m_scaleInLoLim = m_items->Add(QStringLiteral("scaleInLoLim"), false, 0);
    m_scaleInHiLimRounded = m_items->Add(QStringLiteral("scaleInHiLimRounded"), false, 0);
    m_scaleInLoLimRounded = m_items->Add(QStringLiteral("scaleInLoLimRounded"), false, 0);
    m_PrimaryValueUnit = m_items->Add(QStringLiteral("primaryValueUnit"), false, 0);
    connect(m_PrimaryValueUnit.get(), &clsAppItem::ValueUpdate2, this,
            &clsPrimaryValueMgr::m_PrimaryValueUnit_ValueUpdate2);
    connect(m_scaleInHiLim.get(), &clsAppItem::ValueUpdate2, this,
            &clsPrimaryValueMgr::m_ScaleInHiLim_ValueUpdate2);
    connect(m_scaleInLoLim.get(), &clsAppItem::ValueUpdate2, this,
            &clsPrimaryValueMgr::m_ScaleInLoLim_ValueUpdate2);
    m_items->Register(manager);
    // The values are in the dataset's unit now; a first change converts from it.
    m_primaryValueUnit = unitNow();
}

void clsPrimaryValueMgr::unregisterItems()
{
    m_items->UnRegister();
}

qint16 clsPrimaryValueMgr::unitNow() const
{
    return qint16(std::lrint(m_PrimaryValueUnit->UIntValue()));
}

float clsPrimaryValueMgr::value(const char *key) const
{
    const auto item = m_items->Item(QLatin1String(key));
    return item ? item->FloatValue() : 0.0f;
}

bool clsPrimaryValueMgr::rulesMayRun(bool suppressRule) const
{
    return !suppressRule && m_currentSequence->StringValue().isEmpty();
}

void clsPrimaryValueMgr::m_PrimaryValueUnit_ValueUpdate2(QString &, bool &suppressRule)
{
    const qint16 newUnit = unitNow();
    if (rulesMayRun(suppressRule) && m_primaryValueUnit != 0) {
        FlagScope converting(m_converting);
        for (const char *key :
             {"sensorRangeLoLim", "sensorRangehiLim", "minSpan", "scaleInHiLim", "scaleInLoLim"}) {
            const auto item = m_items->Item(QLatin1String(key));
            const double converted =
                m_unitChanger->ChangeUnitValue(item->FloatValue(), m_primaryValueUnit, newUnit);
            item->setFloatValue(float(converted));
        }
    }
    m_primaryValueUnit = newUnit;
}

void clsPrimaryValueMgr::m_ScaleInHiLim_ValueUpdate2(QString &, bool &suppressRule)
{
    limitChanged(*m_scaleInHiLim, *m_scaleInHiLimRounded, suppressRule);
}

void clsPrimaryValueMgr::m_ScaleInLoLim_ValueUpdate2(QString &, bool &suppressRule)
{
    limitChanged(*m_scaleInLoLim, *m_scaleInLoLimRounded, suppressRule);
}

void clsPrimaryValueMgr::limitChanged(clsAppItem &limit, clsAppItem &rounded, bool suppressRule)
{
    if (rulesMayRun(suppressRule) && !m_converting)
        checkLimit(limit);
    refreshRounded(limit, rounded);
}

// The range may reach beyond the sensor limits by the spare, a percentage of
// the upper sensor limit.
void clsPrimaryValueMgr::checkLimit(clsAppItem &limit)
{
    if (m_limitGuard)
        return;
    const float margin = value("scaleInSpare") * value("sensorRangehiLim") / 100.0f;
    const float lower = value("sensorRangeLoLim") - margin;
    const float upper = value("sensorRangehiLim") + margin;
    {
        FlagScope guard(m_limitGuard);
        const float current = limit.FloatValue();
        if (current < lower)
            limit.setFloatValue(lower);
        else if (current > upper)
            limit.setFloatValue(upper);
    }
    if (myView())
        myView()->OnScaleInChanged();
}

void clsPrimaryValueMgr::refreshRounded(const clsAppItem &limit, clsAppItem &rounded)
{
    const double span =
        std::fabs(double(m_scaleInHiLim->FloatValue()) - double(m_scaleInLoLim->FloatValue()));
    const int decimals = clsGetDecimalPlaces().GetDecimalPlaces(span);
    rounded.setFloatValue(float(roundHalfEven(limit.FloatValue(), decimals)));
}

double clsPrimaryValueMgr::roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value; // nothing left to round at this many decimals
    // nearbyint rounds in the current mode, which is to-nearest-even.
    return std::nearbyint(scaled) / scale;
}
