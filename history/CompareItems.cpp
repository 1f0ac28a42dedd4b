#include "CompareItems.h"

namespace {
using G = CompareItem::Group;

constexpr CompareItem Items[] = {
    {"_tagHART", G::Identification, 4730},
    {"descriptor", G::Identification, 4731},
    {"deviceMessage", G::Identification, 4732},
    {"deviceInstallDate", G::Identification, 4733},
    {"primaryValueUnit", G::RangeAndUnits, 4734},
    {"scaleInLoLim", G::RangeAndUnits, 4735, "primaryValueUnit"},
    {"scaleInHiLim", G::RangeAndUnits, 4736, "primaryValueUnit"},
    {"ptrbLinType", G::RangeAndUnits, 4737},
    {"sensorTemperatureUnit", G::RangeAndUnits, 4738},
    {"alarmSelection", G::Output, 4739},
    {"alarmLowValue", G::Output, 4740, "", "mA"},
    {"alarmHighValue", G::Output, 4741, "", "mA"},
    {"spanLimitLowValue", G::Output, 4742, "", "mA"},
    {"spanLimitHighValue", G::Output, 4743, "", "mA"},
    {"outScaleUnit", G::Output, 4744},
    {"outScaleLoLim", G::Output, 4745, "outScaleUnit"},
    {"outScaleHiLim", G::Output, 4746, "outScaleUnit"},
    {"freeUnitText", G::Output, 4747},
    {"filterTime", G::Damping, 4748, "", "s"},
    {"configurationMeasurement", G::DiagnosisConfiguration, 4749, "", "", true},
    {"configurationProcess", G::DiagnosisConfiguration, 4750, "", "", true},
    {"configurationElectronics", G::DiagnosisConfiguration, 4751, "", "", true},
    {"configurationExtension", G::DiagnosisConfiguration, 4752, "", "", true},
    {"writeProtection", G::LocalOperation, 4753},
    {"keyFunctionSelector", G::LocalOperation, 4754},
    {"hmiMainOperatorView", G::LocalOperation, 4755},
    {"hmiLanguage", G::LocalOperation, 4756},
    {"hmiMainOperatorBargraph", G::LocalOperation, 4757},
    {"installationAngle", G::LocalOperation, 4758},
};
} // namespace

namespace CompareItems {

std::span<const CompareItem> all()
{
    return Items;
}

qint16 groupLabelId(CompareItem::Group group)
{
    return qint16(4720 + int(group));
}

const CompareItem *find(const QString &item)
{
    for (const CompareItem &c : Items) {
        if (item.compare(QLatin1String(c.item), Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

} // namespace CompareItems
