#include "DigitalDisplayBase.h"

#include "VexaAppItem.h"
#include "WinColor.h"
#include "WorkbenchLog.h"

#include <QLocale>

namespace {

VexaAppItem *itemControl(QWidget *parent, const char *name)
{
    auto *control = new VexaAppItem(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

std::array<VexaAppItem *, 2> itemPair(QWidget *parent, const char *name)
{
    std::array<VexaAppItem *, 2> pair{itemControl(parent, name), itemControl(parent, name)};
    pair[0]->setProperty("Index", 0);
    pair[1]->setProperty("Index", 1);
    return pair;
}

// A limit given as a value rather than an item name.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

DigitalDisplayBase::DigitalDisplayBase(QWidget *parent)
    : QWidget(parent), appConnectionStatus(itemControl(this, "appConnectionStatus")),
      appMeasValue(itemControl(this, "appMeasValue")), appUnit(itemControl(this, "appUnit")),
      appWarningLimit(itemPair(this, "appWarningLimit")),
      appAlarmLimit(itemPair(this, "appAlarmLimit")),
      appMinMax(itemPair(this, "appMinMax")), m_state{QString(), WinColor::Green},
      m_textColour(WinColor::Grey)
{
    appConnectionStatus->setAppItemName(QStringLiteral("&&private&&Connect"));
    // A live value: the host reads it from the device every second.
    appMeasValue->setUpdateInterval(1);
    // In the unit the device sent it in (its answers carry the unit), not
    // the dataset's, which may be about to change it.
    appUnit->setRegisterOnShadow(true);
    appMeasValue->setMaxDigits(m_maxDigits);
    appMeasValue->setDecimalPlaces(m_decimalPlaces);
    for (VexaAppItem *control : itemControls())
        control->setDesignMode(false);
    connect(appMeasValue, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appMeasValue_ValueChanged(); });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appConnectionStatus_ValueChanged(); });
}

DigitalDisplayBase::~DigitalDisplayBase() = default;

QList<VexaAppItem *> DigitalDisplayBase::itemControls() const
{
    // Limits before the value, so that the first value is checked against them.
    return {appConnectionStatus, appMinMax[0],     appMinMax[1],     appWarningLimit[0],
            appWarningLimit[1],  appAlarmLimit[0], appAlarmLimit[1], appUnit,
            appMeasValue};
}

void DigitalDisplayBase::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef, qint16,
                                  qint16)
{
    if (m_registered || !AppletItemManagerRef)
        return;
    const auto bindable = [this](Name which) {
        return number(m_names[which]) ? QString() : m_names[which];
    };
    appMinMax[0]->setAppItemName(bindable(Min));
    appMinMax[1]->setAppItemName(bindable(Max));
    appWarningLimit[0]->setAppItemName(bindable(LoLim));
    appWarningLimit[1]->setAppItemName(bindable(HiLim));
    appAlarmLimit[0]->setAppItemName(bindable(LoLoLim));
    appAlarmLimit[1]->setAppItemName(bindable(HiHiLim));
    appUnit->setAppItemName(m_names[Unit]);
    appMeasValue->setAppItemName(m_names[Value]);
    // Registered before the items deliver their values, so that the
    // connection status they deliver at once already counts.
    m_registered = true;
    m_connected = false;
    refreshColour();
    for (VexaAppItem *control : itemControls()) {
        try {
            control->Register(AppletItemManagerRef);
        } catch (const std::exception &error) {
            qCInfo(lcWorkbench) << "display item not bound:" << control->AppItemName()
                                << error.what();
        }
    }
}

void DigitalDisplayBase::UnRegister()
{
    for (VexaAppItem *control : itemControls()) {
        try {
            control->UnRegister();
        } catch (const std::exception &error) {
            qCInfo(lcWorkbench) << "display item not released:" << control->AppItemName()
                                << error.what();
        }
    }
    m_registered = false;
}

void DigitalDisplayBase::setName(Name which, const QString &name, const char *key)
{
    m_names[which] = name;
    Q_EMIT PropertyChanged(QLatin1String(key));
}

void DigitalDisplayBase::setMaxDigits(qint16 digits)
{
    m_maxDigits = digits;
    appMeasValue->setMaxDigits(digits);
    Q_EMIT PropertyChanged(QStringLiteral("MaxDigits"));
}

void DigitalDisplayBase::setDecimalPlaces(qint16 places)
{
    m_decimalPlaces = places;
    appMeasValue->setDecimalPlaces(places);
    Q_EMIT PropertyChanged(QStringLiteral("DecimalPlaces"));
}

void DigitalDisplayBase::setHasWarningLimit(bool has)
{
    m_hasWarningLimit = has;
    Q_EMIT PropertyChanged(QStringLiteral("HasWarningLimit"));
}

void DigitalDisplayBase::setHasAlarmLimit(bool has)
{
    m_hasAlarmLimit = has;
    Q_EMIT PropertyChanged(QStringLiteral("HasAlarmLimit"));
}

std::optional<double> DigitalDisplayBase::limit(Name which, const VexaAppItem *control) const
{
    if (m_names[which].isEmpty())
        return std::nullopt;
    if (const auto value = number(m_names[which]))
        return value;
    return double(control->FloatValue());
}

void DigitalDisplayBase::appMeasValue_ValueChanged()
{
    DisplayLimits limits;
    limits.lowAlarm = limit(LoLoLim, appAlarmLimit[0]);
    limits.highAlarm = limit(HiHiLim, appAlarmLimit[1]);
    limits.lowWarning = limit(LoLim, appWarningLimit[0]);
    limits.highWarning = limit(HiLim, appWarningLimit[1]);
    m_state = DisplayLimitState::evaluate(double(appMeasValue->FloatValue()), limits);
    refreshColour();
    showValue();
}

void DigitalDisplayBase::appConnectionStatus_ValueChanged()
{
    if (!m_registered)
        return;
    bool ok = false;
    m_connected = appConnectionStatus->StringValue().trimmed().toDouble(&ok) == 2.0 && ok;
    // A new connection shows green until the first value tells its limit state.
    m_textColour = m_connected ? WinColor::Green : WinColor::Grey;
    applyTextColour(m_textColour);
}

// A value is only as current as the connection: grey while there is none,
// whatever its limit state was.
void DigitalDisplayBase::refreshColour()
{
    m_textColour = m_connected ? m_state.colour : WinColor::Grey;
    applyTextColour(m_textColour);
}

void DigitalDisplayBase::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_resizing)
        return;
    m_resizing = true;
    resizeValueLabel();
    m_resizing = false;
}
