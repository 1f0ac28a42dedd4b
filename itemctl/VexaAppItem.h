#pragma once

#include "VexaDesignControl.h"

#include <QLocale>
#include <QVariant>
#include <memory>

class AppletItemManager;
class clsAppItem;

// A dialog's binding of one device parameter: configured by its design
// properties, registered by the dialog's item handler, read and written
// through its typed value properties. Every change of the item reaches the
// dialog as ValueChanged and ValueChanged2.
class VexaAppItem : public VexaDesignControl
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)
    Q_PROPERTY(QString AppItemName READ AppItemName WRITE setAppItemName)
    Q_PROPERTY(bool RegisterOnShadow READ RegisterOnShadow WRITE setRegisterOnShadow)
    Q_PROPERTY(qint16 UpdateInterval READ UpdateInterval WRITE setUpdateInterval)
    Q_PROPERTY(qint16 DecimalPlaces READ DecimalPlaces WRITE setDecimalPlaces)
    Q_PROPERTY(qint16 MaxDigits READ MaxDigits WRITE setMaxDigits)
    Q_PROPERTY(QString FloatValueFormatted READ FloatValueFormatted)
    Q_PROPERTY(QString StringValue READ StringValue WRITE setStringValue)
    Q_PROPERTY(qint32 BCDValue READ BCDValue WRITE setBCDValue)
    Q_PROPERTY(float FloatValue READ FloatValue WRITE setFloatValue)
    Q_PROPERTY(QVariant HartDateValue READ HartDateValue WRITE setHartDateValue)
    Q_PROPERTY(qint32 IntValue READ IntValue WRITE setIntValue)
    Q_PROPERTY(QVariant OctetValue READ OctetValue WRITE setOctetValue)
    Q_PROPERTY(QVariant PCAValue READ PCAValue WRITE setPCAValue)
    Q_PROPERTY(double UIntValue READ UIntValue WRITE setUIntValue)
    Q_PROPERTY(QString EnumValue READ EnumValue)
    Q_PROPERTY(qint32 DataType READ DataType)
    Q_PROPERTY(qint32 ItemState READ ItemState)

public:
    static constexpr qint16 DefaultDecimalPlaces = 10;
    static constexpr qint16 DefaultMaxDigits = 255;

    explicit VexaAppItem(QWidget *parent = nullptr);
    ~VexaAppItem() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    Q_INVOKABLE void Adjust();

    QString Typ() const { return QStringLiteral("VexaItem"); }
    QString AppItemName() const { return m_appItemName; }
    void setAppItemName(const QString &name);
    bool RegisterOnShadow() const { return m_registerOnShadow; }
    void setRegisterOnShadow(bool registerOnShadow);
    qint16 UpdateInterval() const { return m_updateInterval; }
    void setUpdateInterval(qint16 interval) { m_updateInterval = interval; }
    qint16 DecimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(qint16 places) { m_decimalPlaces = places; }
    qint16 MaxDigits() const { return m_maxDigits; }
    void setMaxDigits(qint16 digits) { m_maxDigits = digits; }
    bool isRegistered() const { return m_registered; }

    QString FloatValueFormatted() const;

    // Reads never fail towards the dialog; writes fail only in design mode.
    QString StringValue() const;
    void setStringValue(const QString &value);
    qint32 BCDValue() const;
    void setBCDValue(qint32 value);
    float FloatValue() const;
    void setFloatValue(float value);
    QVariant HartDateValue() const;
    void setHartDateValue(const QVariant &value);
    qint32 IntValue() const;
    void setIntValue(qint32 value);
    QVariant OctetValue() const;
    void setOctetValue(const QVariant &value);
    QVariant PCAValue() const;
    void setPCAValue(const QVariant &value);
    double UIntValue() const;
    void setUIntValue(double value);
    QString EnumValue() const;
    qint32 DataType() const;
    qint32 ItemState() const { return m_itemState; }

    // The formatting behind FloatValueFormatted: value is the item's float,
    // stringValue its host text (the answer whenever formatting fails).
    static QString FormatFloatValue(double value, const QString &stringValue, qint16 maxDigits,
                                    qint16 decimalPlaces, const QLocale &locale = QLocale());

Q_SIGNALS:
    void ValueChanged(QString &Value);
    void ValueChanged2(QString &Value, bool &suppressRule);

private:
    template <class Read>
    auto readQuietly(const char *property, Read read) const -> decltype(read());
    template <class Write> void writeQuietly(const char *property, Write write);

    bool m_registered = false;
    qint16 m_updateInterval = 0;
    bool m_registerOnShadow = false;
    QString m_appItemName;
    qint16 m_decimalPlaces = DefaultDecimalPlaces;
    qint16 m_maxDigits = DefaultMaxDigits;
    qint32 m_itemState = 0;
    std::unique_ptr<clsAppItem> m_item;
};
