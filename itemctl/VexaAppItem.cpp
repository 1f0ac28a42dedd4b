#include "VexaAppItem.h"

#include "ItemctlLog.h"
#include "Module1.h"
#include "clsAppItem.h"

#include <cmath>

VexaAppItem::VexaAppItem(QWidget *parent)
    : VexaDesignControl(QStringLiteral("AppItem: "), parent), m_item(std::make_unique<clsAppItem>())
{
    connect(m_item.get(), &clsAppItem::ValueUpdate3, this,
            [this](QString &, qint32 &itemState) { m_itemState = itemState; });
    connect(m_item.get(), &clsAppItem::ValueUpdate2, this, [this](QString &value, bool &suppress) {
        Q_EMIT ValueChanged(value);
        Q_EMIT ValueChanged2(value, suppress);
    });
}

VexaAppItem::~VexaAppItem()
{
    UnRegister();
}

void VexaAppItem::Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef)
{
    if (m_appItemName.isEmpty())
        return;
    UnRegister();
    try {
        m_item->Register(std::move(AppletItemManagerRef), m_appItemName, m_registerOnShadow,
                         m_updateInterval);
    } catch (...) {
        // A refused item still counts as registered: the dialog then shows its name.
        qCInfo(lcItemctl).noquote() << "AppItem" << m_appItemName
                                    << "not registered, shows its name:" << CurrentErrorText();
    }
    m_registered = true;
    // The dialog shows the current value at once, not only after the next change.
    QString value = StringValue();
    bool suppressRule = false;
    Q_EMIT ValueChanged(value);
    Q_EMIT ValueChanged2(value, suppressRule);
}

void VexaAppItem::UnRegister()
{
    if (!m_registered)
        return;
    try {
        m_item->UnRegister();
    } catch (...) {
        qCInfo(lcItemctl).noquote()
            << "AppItem" << m_appItemName << "not unregistered:" << CurrentErrorText();
    }
    m_registered = false;
}

void VexaAppItem::Adjust()
{
    m_item->Adjust();
}

void VexaAppItem::setAppItemName(const QString &name)
{
    m_appItemName = name;
    setCaption(QStringLiteral("AppItem: ") + name);
}

void VexaAppItem::setRegisterOnShadow(bool registerOnShadow)
{
    if (!DesignMode())
        raiseSetAtRunTime("RegisterOnShadow");
    m_registerOnShadow = registerOnShadow;
}

template <class Read>
auto VexaAppItem::readQuietly(const char *property, Read read) const -> decltype(read())
{
    try {
        return read();
    } catch (...) {
        qCInfo(lcItemctl).noquote() << "AppItem" << m_appItemName << "did not read" << property
                                    << "and gives the empty value:" << CurrentErrorText();
        return decltype(read())();
    }
}

template <class Write> void VexaAppItem::writeQuietly(const char *property, Write write)
{
    if (DesignMode())
        raiseSetAtDesignTime(property);
    try {
        write();
    } catch (...) {
        qCInfo(lcItemctl).noquote() << "AppItem" << m_appItemName << "did not write" << property
                                    << "and keeps the value:" << CurrentErrorText();
    }
}

QString VexaAppItem::StringValue() const
{
    return readQuietly("StringValue", [this] { return m_item->StringValue(); });
}

void VexaAppItem::setStringValue(const QString &value)
{
    writeQuietly("StringValue", [&] { m_item->setStringValue(value); });
}

qint32 VexaAppItem::BCDValue() const
{
    return readQuietly("BCDValue", [this] { return m_item->BCDValue(); });
}

void VexaAppItem::setBCDValue(qint32 value)
{
    writeQuietly("BCDValue", [&] { m_item->setBCDValue(value); });
}

float VexaAppItem::FloatValue() const
{
    return readQuietly("FloatValue", [this] { return m_item->FloatValue(); });
}

void VexaAppItem::setFloatValue(float value)
{
    writeQuietly("FloatValue", [&] { m_item->setFloatValue(value); });
}

QVariant VexaAppItem::HartDateValue() const
{
    return readQuietly("HartDateValue", [this] { return QVariant(m_item->HartDateValue()); });
}

void VexaAppItem::setHartDateValue(const QVariant &value)
{
    writeQuietly("HartDateValue", [&] { m_item->setHartDateValue(value.toByteArray()); });
}

qint32 VexaAppItem::IntValue() const
{
    return readQuietly("IntValue", [this] { return m_item->IntValue(); });
}

void VexaAppItem::setIntValue(qint32 value)
{
    writeQuietly("IntValue", [&] { m_item->setIntValue(value); });
}

QVariant VexaAppItem::OctetValue() const
{
    return readQuietly("OctetValue", [this] { return m_item->OctetValue(); });
}

void VexaAppItem::setOctetValue(const QVariant &value)
{
    writeQuietly("OctetValue", [&] { m_item->setOctetValue(value); });
}

QVariant VexaAppItem::PCAValue() const
{
    return readQuietly("PCAValue", [this] { return QVariant(m_item->PCAValue()); });
}

void VexaAppItem::setPCAValue(const QVariant &value)
{
    writeQuietly("PCAValue", [&] { m_item->setPCAValue(value.toByteArray()); });
}

double VexaAppItem::UIntValue() const
{
    return readQuietly("UIntValue", [this] { return m_item->UIntValue(); });
}

void VexaAppItem::setUIntValue(double value)
{
    writeQuietly("UIntValue", [&] { m_item->setUIntValue(value); });
}

QString VexaAppItem::EnumValue() const
{
    return readQuietly("EnumValue", [this] { return m_item->EnumValue(); });
}

qint32 VexaAppItem::DataType() const
{
    return readQuietly("DataType", [this] { return m_item->DataType(); });
}

QString VexaAppItem::FloatValueFormatted() const
{
    const QString text = StringValue();
    return FormatFloatValue(double(FloatValue()), text, m_maxDigits, m_decimalPlaces);
}

namespace {

// Rounds to the given decimal places; an exact half goes to the even digit
// (the default floating-point rounding mode).
double roundHalfEven(double value, int places)
{
    const double scale = std::pow(10.0, places);
    const double scaled = value * scale;
    // Beyond 2^53 a double has no fraction left at this scale.
    if (!std::isfinite(scaled) || std::abs(scaled) >= 9007199254740992.0)
        return value;
    return std::nearbyint(scaled) / scale;
}

// "0.000E+00": three decimals, an exponent with sign and at least two digits.
QString scientific(double value, const QLocale &locale)
{
    QString text = QString::number(value, 'e', 3).toUpper();
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

// The host writes floats with '.', but the user's separator is accepted too.
double hostNumber(const QString &text, double fallback)
{
    bool ok = false;
    double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? value : fallback;
}

} // namespace

QString VexaAppItem::FormatFloatValue(double value, const QString &stringValue, qint16 maxDigits,
                                      qint16 decimalPlaces, const QLocale &locale)
{
    if (!std::isfinite(value) || decimalPlaces < 0 || decimalPlaces > 22)
        return stringValue;
    QLocale plain(locale);
    plain.setNumberOptions(QLocale::OmitGroupSeparator);

    // Adding 0.0 turns -0 into 0, so that it counts one character.
    const int integerDigits = int(QString::number(std::floor(value) + 0.0, 'f', 0).size());
    if (maxDigits < integerDigits)
        return scientific(hostNumber(stringValue, value), plain);

    const double rounded = roundHalfEven(value, decimalPlaces);
    if (maxDigits == integerDigits + 1) {
        // Room for the integer part only: no separator left dangling at the end.
        return plain.toString(rounded, 'g', 15).left(maxDigits - 1);
    }
    return plain.toString(rounded, 'f', std::max<int>(1, decimalPlaces)).left(maxDigits);
}
