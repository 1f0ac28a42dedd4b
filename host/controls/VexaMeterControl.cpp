#include "VexaMeterControl.h"

#include "VexaItemBinding.h"
#include "VexaLimitSource.h"

#include <cmath>

namespace {
constexpr double DefaultStart = 0.0;
constexpr double DefaultEnd = 100.0;
} // namespace

VexaMeterControl::VexaMeterControl(QWidget *parent)
    : QWidget(parent), m_value(new VexaItemBinding(this)), m_unit(new VexaItemBinding(this)),
      m_connection(new VexaItemBinding(this))
{
    for (auto &limit : m_limits) {
        limit = new VexaLimitSource(this);
        connect(limit, &VexaLimitSource::changed, this, &VexaMeterControl::refresh);
    }
    for (VexaItemBinding *binding : {m_value, m_unit})
        connect(binding, &VexaItemBinding::changed, this, &VexaMeterControl::refresh);
    connect(m_connection, &VexaItemBinding::changed, this, [this] {
        m_connected = m_connection->hostText().trimmed() == QLatin1String("2");
        refresh();
    });
}

VexaMeterControl::~VexaMeterControl() = default;

void VexaMeterControl::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    registerItems(AppletItemManagerRef);
}

void VexaMeterControl::UnRegister()
{
    unregisterItems();
}

void VexaMeterControl::registerItems(const std::shared_ptr<AppletItemManager> &manager)
{
    unregisterItems();
    if (!manager)
        return;
    for (VexaLimitSource *limit : m_limits)
        limit->bind(manager);
    m_unit->bind(manager, m_unitName);
    // A live value: read from the device every second.
    m_value->bind(manager, m_valueName, 1);
    m_connection->bind(manager, QStringLiteral("&&private&&Connect"));
    m_connected = m_connection->hostText().trimmed() == QLatin1String("2");
    m_registered = true;
    refresh();
}

void VexaMeterControl::unregisterItems()
{
    m_value->unbind();
    m_unit->unbind();
    m_connection->unbind();
    for (VexaLimitSource *limit : m_limits)
        limit->unbind();
    m_registered = false;
    m_connected = false;
}

void VexaMeterControl::updateItems()
{
    refresh();
}

void VexaMeterControl::refresh()
{
    update();
    Q_EMIT displayChanged();
}

QString VexaMeterControl::ObjectNameMin() const
{
    return m_limits[Min]->text();
}
void VexaMeterControl::setObjectNameMin(const QString &text)
{
    m_limits[Min]->setText(text);
}
QString VexaMeterControl::ObjectNameMax() const
{
    return m_limits[Max]->text();
}
void VexaMeterControl::setObjectNameMax(const QString &text)
{
    m_limits[Max]->setText(text);
}
QString VexaMeterControl::ObjectNameLoLim() const
{
    return m_limits[LoLim]->text();
}
void VexaMeterControl::setObjectNameLoLim(const QString &text)
{
    m_limits[LoLim]->setText(text);
}
QString VexaMeterControl::ObjectNameHiLim() const
{
    return m_limits[HiLim]->text();
}
void VexaMeterControl::setObjectNameHiLim(const QString &text)
{
    m_limits[HiLim]->setText(text);
}
QString VexaMeterControl::ObjectNameLoLoLim() const
{
    return m_limits[LoLoLim]->text();
}
void VexaMeterControl::setObjectNameLoLoLim(const QString &text)
{
    m_limits[LoLoLim]->setText(text);
}
QString VexaMeterControl::ObjectNameHiHiLim() const
{
    return m_limits[HiHiLim]->text();
}
void VexaMeterControl::setObjectNameHiHiLim(const QString &text)
{
    m_limits[HiHiLim]->setText(text);
}

void VexaMeterControl::setLargeStep(double step)
{
    m_largeStep = step;
    update();
}

void VexaMeterControl::setSmallStep(double step)
{
    m_smallStep = step;
    update();
}

void VexaMeterControl::setMaxDigits(qint16 digits)
{
    m_maxDigits = digits;
    update();
}

void VexaMeterControl::setDecimalPlaces(qint16 places)
{
    m_decimalPlaces = places;
    update();
}

std::optional<double> VexaMeterControl::value() const
{
    if (!m_value->isBound())
        return std::nullopt;
    return VexaLimitSource::number(m_value->hostText());
}

QString VexaMeterControl::valueText() const
{
    const auto v = value();
    return v ? VexaScale::valueText(*v, m_maxDigits, m_decimalPlaces) : QString();
}

QString VexaMeterControl::unitText() const
{
    return m_unit->displayText();
}

double VexaMeterControl::scaleStart() const
{
    return m_limits[Min]->value().value_or(DefaultStart);
}

double VexaMeterControl::scaleEnd() const
{
    const double end = m_limits[Max]->value().value_or(DefaultEnd);
    // A scale without a span cannot place anything: show one unit around it.
    return end == scaleStart() ? end + 1.0 : end;
}

VexaScale::Limits VexaMeterControl::limits() const
{
    return {m_limits[LoLoLim]->value(), m_limits[LoLim]->value(), m_limits[HiLim]->value(),
            m_limits[HiHiLim]->value()};
}

VexaScale::Ticks VexaMeterControl::ticks() const
{
    return VexaScale::ticks(scaleStart(), scaleEnd(), m_largeStep, m_smallStep);
}

VexaMeterControl::State VexaMeterControl::state() const
{
    const auto v = value();
    if (!v)
        return State::NoValue;
    const VexaScale::Limits l = limits();
    // Alarms first, a value on a limit violates it.
    if ((l.lowAlarm && *l.lowAlarm >= *v) || (l.highAlarm && *l.highAlarm <= *v))
        return State::Alarm;
    if ((l.lowWarning && *l.lowWarning >= *v) || (l.highWarning && *l.highWarning <= *v))
        return State::Warning;
    return State::Normal;
}

QColor VexaMeterControl::stateColour() const
{
    if (!m_connected)
        return QColor(0x80, 0x80, 0x80);
    switch (state()) {
    case State::Alarm:
        return QColor(0xD0, 0x10, 0x10);
    case State::Warning:
        return QColor(0xE8, 0xB0, 0x00);
    default:
        return QColor(0x10, 0x90, 0x30);
    }
}

QColor VexaMeterControl::inkColour() const
{
    return m_connected ? palette().color(QPalette::WindowText) : QColor(0x80, 0x80, 0x80);
}

QColor VexaMeterControl::bandColour(bool alarm)
{
    return alarm ? QColor(0xE0, 0x30, 0x30) : QColor(0xF0, 0xC0, 0x20);
}
