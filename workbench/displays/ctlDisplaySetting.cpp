#include "ctlDisplaySetting.h"

#include "VexaAppItem.h"
#include "WorkbenchLog.h"
#include "clsGetDecimalPlaces.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QComboBox>
#include <QLocale>
#include <cmath>

namespace {

// Slots of appValueLimits, as bound at design.
enum Slot
{
    ScaleInHi,
    ScaleInLo,
    SensorRangeHi,
    SensorRangeLo,
    AlarmHigh,
    AlarmLow,
    OutScaleHi,
    OutScaleLo,
    TemperatureHi,
    TemperatureLo,
    SlotCount,
    Fixed = -1
};

const char *const LimitItems[SlotCount] = {"scaleInHiLIm",
                                           "scaleInLoLim",
                                           "sensorRangeHiLim",
                                           "sensorRangeLoLim",
                                           "alarmHighValue",
                                           "alarmLowValue",
                                           "outScaleHiLim",
                                           "outScaleLoLim",
                                           "sensorTemperatureRangeHiLim",
                                           "sensorTemperatureRangeLoLim"};

struct TableRow
{
    qint16 textId;
    const char *valueItem;
    const char *unitItem;
    int upper; // slot, or Fixed
    int lower;
    bool alarms;
};

const TableRow Table[ctlDisplaySetting::EntryCount] = {
    {2281, "actualOutputValue", "Unit_mA", AlarmHigh, AlarmLow, true},
    {2286, "percentRangeValue", "Unit_Percent", Fixed, Fixed, false},
    {2219, "primaryValue", "primaryValueUnit", ScaleInHi, ScaleInLo, false},
    {2284, "trimmedValue", "primaryValueUnit", ScaleInHi, ScaleInLo, false},
    {2069, "sensorTemperatureValue", "sensorTemperatureUnit", TemperatureHi, TemperatureLo, false},
    {2283, "outValue", "outScaleUnit", OutScaleHi, OutScaleLo, false},
};

double number(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString listText(qint16 id)
{
    return GetResTextOr(id, QString::number(id));
}

} // namespace

ctlDisplaySetting::ctlDisplaySetting(QWidget *parent)
    : QWidget(parent), appUserLevel(new VexaAppItem(this)), appCountryCode(new VexaAppItem(this))
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        auto *control = new VexaAppItem(this);
        control->setObjectName(QStringLiteral("appValueLimits"));
        control->setProperty("Index", slot);
        control->setAppItemName(QLatin1String(LimitItems[slot]));
        control->setDesignMode(false);
        connect(control, &VexaAppItem::ValueChanged, this,
                [this, slot](QString &) { appValueLimits_ValueChanged(slot); });
        appValueLimits[slot] = control;
    }
    appUserLevel->setObjectName(QStringLiteral("appUserLevel"));
    appUserLevel->setAppItemName(QStringLiteral("&&private&&UserLevel"));
    appUserLevel->setDesignMode(false);
    appCountryCode->setObjectName(QStringLiteral("appCountryCode"));
    appCountryCode->setAppItemName(QStringLiteral("&&private&&CountryCode"));
    appCountryCode->setDesignMode(false);
    setVisible(false);
}

ctlDisplaySetting::~ctlDisplaySetting() = default;

void ctlDisplaySetting::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    m_manager = AppletItemManagerRef;
    for (VexaAppItem *control : appValueLimits)
        control->Register(AppletItemManagerRef);
    appUserLevel->Register(AppletItemManagerRef);
    appCountryCode->Register(AppletItemManagerRef);
    m_registered = true;
}

void ctlDisplaySetting::UnRegister()
{
    for (VexaAppItem *control : appValueLimits)
        control->UnRegister();
    appUserLevel->UnRegister();
    appCountryCode->UnRegister();
    m_registered = false;
    m_manager.reset();
}

ctlDisplaySetting::Scale ctlDisplaySetting::scaleOf(const QString &upper, const QString &lower)
{
    Scale scale;
    scale.span = number(upper) - number(lower);
    scale.decimalPlaces = clsGetDecimalPlaces().GetDecimalPlaces(scale.span);
    // The steps count up the scale whichever way the range runs.
    scale.largeStep = std::fabs(scale.span) / 10.0;
    scale.smallStep = scale.largeStep / 5.0;
    return scale;
}

QString ctlDisplaySetting::limitText(int slot) const
{
    return appValueLimits[slot]->StringValue();
}

void ctlDisplaySetting::buildTable()
{
    m_settings.clear();
    for (int slot = 0; slot < SlotCount; ++slot)
        m_limitTexts[slot] = limitText(slot);
    for (const TableRow &row : Table) {
        Setting setting;
        setting.textId = row.textId;
        setting.flags = {false, row.alarms, true};
        setting.maximum = row.upper == Fixed ? QStringLiteral("100") : m_limitTexts[row.upper];
        setting.minimum = row.lower == Fixed ? QStringLiteral("0") : m_limitTexts[row.lower];
        if (row.alarms) {
            setting.upperAlarm = setting.maximum;
            setting.lowerAlarm = setting.minimum;
        }
        setting.valueItem = QLatin1String(row.valueItem);
        setting.unitItem = QLatin1String(row.unitItem);
        const Scale scale = scaleOf(setting.maximum, setting.minimum);
        setting.decimalPlaces = scale.decimalPlaces;
        setting.largeStep = scale.largeStep;
        setting.smallStep = scale.smallStep;
        setting.valid = true;
        m_settings.append(setting);
    }
}

void ctlDisplaySetting::fillList(QComboBox *list) const
{
    const int remembered = list->currentIndex();
    const QSignalBlocker quiet(list);
    list->clear();
    for (const Setting &setting : m_settings)
        list->addItem(listText(setting.textId));
    list->setCurrentIndex(remembered);
}

void ctlDisplaySetting::Init(QObject *displayCtrl, QComboBox *cmbMeasValue)
{
    if (!displayCtrl || !cmbMeasValue)
        return;
    m_initializing = true;
    m_current = -1;
    for (int i = 0; i < m_targets.size(); ++i) {
        if (m_targets[i].display == displayCtrl)
            m_current = i;
    }
    if (m_current < 0) {
        m_current = int(m_targets.size());
        m_targets.append(Target{displayCtrl, cmbMeasValue, -1});
    }
    m_targets[m_current].list = cmbMeasValue;
    buildTable();
    fillList(cmbMeasValue);
    m_initializing = false;
}

int ctlDisplaySetting::entryOf(const QObject *displayCtrl) const
{
    for (const Target &target : m_targets) {
        if (target.display == displayCtrl)
            return target.entry;
    }
    return -1;
}

void ctlDisplaySetting::ChangeDisplayedValue()
{
    if (m_current < 0 || m_current >= m_targets.size() || !m_targets[m_current].list)
        return;
    Target &target = m_targets[m_current];
    const int entry = target.list->currentIndex();
    if (entry < 0 || entry >= MaxEntries || entry >= m_settings.size())
        return;
    target.entry = entry;
    apply(target);
}

void ctlDisplaySetting::apply(const Target &target)
{
    QObject *display = target.display;
    if (!display || target.entry < 0 || target.entry >= m_settings.size())
        return;
    const Setting &s = m_settings[target.entry];
    QMetaObject::invokeMethod(display, "UnRegister", Qt::DirectConnection);
    const int curve = target.list ? target.list->property("Index").toInt() : 0;
    const bool perCurve = target.list && target.list->property("Index").isValid();
    if (perCurve) {
        const auto set = [&](const char *method, const QString &value) {
            QMetaObject::invokeMethod(display, method, Qt::DirectConnection, Q_ARG(int, curve),
                                      Q_ARG(QString, value));
        };
        set("setObjectNameMin", s.minimum);
        set("setObjectNameMax", s.maximum);
        set("setObjectNameUnit", s.unitItem);
        set("setObjectNameValue", s.valueItem);
        set("setObjectCaption", target.list->itemText(target.entry));
    } else {
        display->setProperty("ObjectNameMin", s.minimum);
        display->setProperty("ObjectNameMax", s.maximum);
        display->setProperty("ObjectNameLoLim", QString());
        display->setProperty("ObjectNameHiLim", QString());
        display->setProperty("ObjectNameLoLoLim", s.lowerAlarm);
        display->setProperty("ObjectNameHiHiLim", s.upperAlarm);
        display->setProperty("LargeStep", s.largeStep);
        display->setProperty("SmallStep", s.smallStep);
        display->setProperty("ObjectNameUnit", s.unitItem);
        display->setProperty("ObjectNameValue", s.valueItem);
        display->setProperty("MaxDigits", QVariant::fromValue(s.maxDigits));
        display->setProperty("DecimalPlaces", QVariant::fromValue(s.decimalPlaces));
    }
    if (m_manager)
        QMetaObject::invokeMethod(display, "Register", Qt::DirectConnection,
                                  Q_ARG(std::shared_ptr<AppletItemManager>, m_manager));
}

void ctlDisplaySetting::appValueLimits_ValueChanged(int slot)
{
    if (!m_registered || m_initializing)
        return;
    try {
        if (limitText(slot) == m_limitTexts[slot])
            return;
        // Scales follow a changed range; each display keeps its own entry.
        buildTable();
        for (const Target &target : std::as_const(m_targets))
            apply(target);
    } catch (const std::exception &error) {
        qCWarning(lcWorkbench).noquote()
            << "display scales not updated to the new range:" << error.what();
    }
}
