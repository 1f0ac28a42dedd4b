#include "clsDatasetvalidation.h"

#include "DevhelpEnums.h"
#include "clsAppItemCollection.h"
#include "clsChangeUnitValue.h"
#include "clsDeviceInfo.h"
#include "clsSeqItemCollection.h"
#include "clsStartAlwaysView.h"
#include "enmRegMask.h"

#include <cmath>

clsDatasetvalidation::clsDatasetvalidation() = default;
clsDatasetvalidation::~clsDatasetvalidation() = default;

void clsDatasetvalidation::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    connect(myView(), &clsStartAlwaysView::UploadCompleted, this,
            &clsDatasetvalidation::m_MyView_UploadCompleted);
    connect(myView(), &clsStartAlwaysView::ScaleInChanged, this,
            &clsDatasetvalidation::m_MyView_ScaleInChanged);
    m_unitChanger = std::make_unique<clsChangeUnitValue>();
    m_unitChanger->Register(manager);
    m_deviceInfo = std::make_unique<clsDeviceInfo>();
    m_deviceInfo->Register(manager);

    m_items = std::make_unique<clsAppItemCollection>();
    // The device's values are the shadow copies, read under their aliases.
    static const struct
    {
        const char *name;
        const char *alias;
        bool shadow;
    } items[] = {
        {"&&private&&Connect", "connectionStatus", false},
        {"&&private&&ForeignDevice", "foreignDevice", false},
        {"scaleInSpare", "deviceScaleInSpare", true},
        {"sensorRangeHiLim", "deviceSensorRangeHiLim", true},
        {"sensorRangeLoLim", "deviceSensorRangeLoLim", true},
        {"minSpan", "deviceMinSpan", true},
        {"primaryValueUnit", "devicePrimaryValueUnit", true},
        {"scaleInSpare", "", false},
        {"sensorRangeHiLim", "", false},
        {"sensorRangeLoLim", "", false},
        {"minSpan", "", false},
        {"scaleInHiLim", "", false},
        {"scaleInLoLim", "", false},
        {"primaryValueUnit", "", false},
        {"InCompatibleDataset", "", false},
    };
    for (const auto &entry : items)
        m_items->Add(QLatin1String(entry.name), entry.shadow, 0, nullptr, QString(),
                     QLatin1String(entry.alias));

    m_sequences = std::make_unique<clsSeqItemCollection>();
    m_SeqGetDeviceInfo = m_sequences->Add(QStringLiteral("GetDeviceInfo"), false, 0,
                                          REGISTER_STATE | REGISTER_CONTROL);
    connect(m_SeqGetDeviceInfo.get(), &clsSequenceItem::StatusChanged, this,
            &clsDatasetvalidation::m_SeqGetDeviceInfo_StatusChanged);
    m_items->Register(manager);
    m_sequences->Register(manager);
}

void clsDatasetvalidation::unregisterItems()
{
    disconnect(myView(), nullptr, this, nullptr);
    m_items->UnRegister();
    m_sequences->UnRegister();
}

std::shared_ptr<clsAppItem> clsDatasetvalidation::item(const char *key) const
{
    return m_items->Item(QLatin1String(key));
}

qint16 clsDatasetvalidation::unit(const char *key) const
{
    return qint16(std::lrint(item(key)->UIntValue()));
}

void clsDatasetvalidation::m_SeqGetDeviceInfo_StatusChanged(qint32 &sequenceStatus)
{
    if (sequenceStatus == 2) {
        qint32 go = 1;
        m_SeqGetDeviceInfo->DoAction(go);
    } else if (sequenceStatus == 0) {
        Validate();
    }
}

void clsDatasetvalidation::m_MyView_UploadCompleted()
{
    item("InCompatibleDataset")->setUIntValue(OK);
}

void clsDatasetvalidation::m_MyView_ScaleInChanged()
{
    Validate();
}

double clsDatasetvalidation::deviceValueInDatasetUnit(const char *alias) const
{
    return m_unitChanger->ChangeUnitValue(item(alias)->FloatValue(), unit("devicePrimaryValueUnit"),
                                          unit("primaryValueUnit"));
}

void clsDatasetvalidation::Validate()
{
    if (!isRegistered())
        return;
    const auto verdict = item("InCompatibleDataset");
    const double devLo = deviceValueInDatasetUnit("deviceSensorRangeLoLim");
    const double devHi = deviceValueInDatasetUnit("deviceSensorRangeHiLim");
    const double margin = double(item("deviceScaleInSpare")->FloatValue()) * devHi / 100;

    // A range entered upside down is checked as if its limits were exchanged.
    const double low = item("scaleInLoLim")->FloatValue();
    const double high = item("scaleInHiLim")->FloatValue();
    const double min = high > low ? low : high;
    const double max = high > low ? high : low;

    // A millionth of the limit absorbs the rounding of the unit conversion; it
    // widens the range also below a negative lower limit.
    const bool fits = devLo - margin - std::fabs(devLo) * 0.000001 <= min &&
                      devHi + margin + std::fabs(devHi) * 0.000001 >= max;
    if (!fits) {
        verdict->setUIntValue(SENSOR_RANGE_EXCEEDED);
        return;
    }
    const double deviceMinSpan = deviceValueInDatasetUnit("deviceMinSpan");
    // A device of another kind has no limits to check the dataset against:
    // the dataset is checked as without a device.
    const double status =
        item("foreignDevice")->UIntValue() == 1 ? 0 : item("connectionStatus")->UIntValue();
    if (status == 2 && max - min < deviceMinSpan) {
        verdict->setUIntValue(SPAN_TOO_SMALL);
        copyDeviceLimits();
        return;
    }
    bool numeric = false;
    const double datasetMinSpan = item("minSpan")->StringValue().toDouble(&numeric);
    if (status == 0 && numeric && datasetMinSpan > max - min) {
        verdict->setUIntValue(SPAN_TOO_SMALL);
        return;
    }
    verdict->setUIntValue(OK);
    copyDeviceLimits();
}

void clsDatasetvalidation::copyDeviceLimits()
{
    item("sensorRangeLoLim")
        ->setFloatValue(float(deviceValueInDatasetUnit("deviceSensorRangeLoLim")));
    item("sensorRangeHiLim")
        ->setFloatValue(float(deviceValueInDatasetUnit("deviceSensorRangeHiLim")));
    item("minSpan")->setFloatValue(float(deviceValueInDatasetUnit("deviceMinSpan")));
    item("scaleInSpare")->setFloatValue(item("deviceScaleInSpare")->FloatValue());
}
