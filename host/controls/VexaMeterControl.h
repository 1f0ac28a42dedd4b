#pragma once

#include "IVexaFrameworkControl.h"
#include "VexaScale.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class VexaItemBinding;
class VexaLimitSource;

// What the gauge and the bar graph share: one measured value with its unit,
// display limits and warning and alarm limits (each a value as text or an
// item name), scale steps and number format, all set while the control is
// unregistered and bound by Register. The value is read every second while
// the device is connected; without a connection everything is drawn grey.
class VexaMeterControl : public QWidget, public IVexaFrameworkControl
{
    Q_OBJECT
    Q_PROPERTY(QString ObjectNameValue READ ObjectNameValue WRITE setObjectNameValue)
    Q_PROPERTY(QString ObjectNameUnit READ ObjectNameUnit WRITE setObjectNameUnit)
    Q_PROPERTY(QString ObjectNameMin READ ObjectNameMin WRITE setObjectNameMin)
    Q_PROPERTY(QString ObjectNameMax READ ObjectNameMax WRITE setObjectNameMax)
    Q_PROPERTY(QString ObjectNameLoLim READ ObjectNameLoLim WRITE setObjectNameLoLim)
    Q_PROPERTY(QString ObjectNameHiLim READ ObjectNameHiLim WRITE setObjectNameHiLim)
    Q_PROPERTY(QString ObjectNameLoLoLim READ ObjectNameLoLoLim WRITE setObjectNameLoLoLim)
    Q_PROPERTY(QString ObjectNameHiHiLim READ ObjectNameHiHiLim WRITE setObjectNameHiHiLim)
    Q_PROPERTY(double LargeStep READ LargeStep WRITE setLargeStep)
    Q_PROPERTY(double SmallStep READ SmallStep WRITE setSmallStep)
    Q_PROPERTY(qint16 MaxDigits READ MaxDigits WRITE setMaxDigits)
    Q_PROPERTY(qint16 DecimalPlaces READ DecimalPlaces WRITE setDecimalPlaces)

public:
    enum class State
    {
        NoValue,
        Normal,
        Warning,
        Alarm
    };

    ~VexaMeterControl() override;

    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    void registerItems(const std::shared_ptr<AppletItemManager> &manager) override;
    void unregisterItems() override;
    void updateItems() override;
    bool isRegistered() const { return m_registered; }

    QString ObjectNameValue() const { return m_valueName; }
    void setObjectNameValue(const QString &name) { m_valueName = name; }
    QString ObjectNameUnit() const { return m_unitName; }
    void setObjectNameUnit(const QString &name) { m_unitName = name; }
    QString ObjectNameMin() const;
    void setObjectNameMin(const QString &text);
    QString ObjectNameMax() const;
    void setObjectNameMax(const QString &text);
    QString ObjectNameLoLim() const;
    void setObjectNameLoLim(const QString &text);
    QString ObjectNameHiLim() const;
    void setObjectNameHiLim(const QString &text);
    QString ObjectNameLoLoLim() const;
    void setObjectNameLoLoLim(const QString &text);
    QString ObjectNameHiHiLim() const;
    void setObjectNameHiHiLim(const QString &text);
    double LargeStep() const { return m_largeStep; }
    void setLargeStep(double step);
    double SmallStep() const { return m_smallStep; }
    void setSmallStep(double step);
    qint16 MaxDigits() const { return m_maxDigits; }
    void setMaxDigits(qint16 digits);
    qint16 DecimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(qint16 places);

    // What is shown now.
    std::optional<double> value() const;
    QString valueText() const;
    QString unitText() const;
    // The scale's ends: the display limits, 0 and 100 without them.
    double scaleStart() const;
    double scaleEnd() const;
    VexaScale::Limits limits() const;
    VexaScale::Ticks ticks() const;
    State state() const;
    bool connected() const { return m_connected; }

    // Colours of the drawing: the value's state, grey without a connection.
    QColor stateColour() const;
    QColor inkColour() const;
    static QColor bandColour(bool alarm);

Q_SIGNALS:
    // Something shown changed (a value, the unit, the connection).
    void displayChanged();

protected:
    explicit VexaMeterControl(QWidget *parent);

private:
    enum Limit
    {
        Min,
        Max,
        LoLim,
        HiLim,
        LoLoLim,
        HiHiLim,
        LimitCount
    };

    void refresh();

    VexaItemBinding *m_value;
    VexaItemBinding *m_unit;
    VexaItemBinding *m_connection;
    std::array<VexaLimitSource *, LimitCount> m_limits;
    QString m_valueName;
    QString m_unitName;
    double m_largeStep = 0.0;
    double m_smallStep = 0.0;
    qint16 m_maxDigits = 10;
    qint16 m_decimalPlaces = 2;
    bool m_registered = false;
    bool m_connected = false;
};
