#pragma once

#include "DisplayLimitState.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class AppletItemManager;
class VexaAppItem;

// What the two digital displays share: the object-name properties that say
// which items to show, their own item controls bound from those names at
// registration, the limit check and the connection colour.
//
// A limit property holds an item name or a value as text ("3.6"): a value is
// used as it is, a name is bound and its value read at each check. An empty
// limit is not checked.
//
// While the device is not connected the text is grey; value and code stay.
class DigitalDisplayBase : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)
    Q_PROPERTY(QString ObjectNameValue READ ObjectNameValue WRITE setObjectNameValue)
    Q_PROPERTY(QString ObjectNameUnit READ ObjectNameUnit WRITE setObjectNameUnit)
    Q_PROPERTY(QString ObjectNameLoLim READ ObjectNameLoLim WRITE setObjectNameLoLim)
    Q_PROPERTY(QString ObjectNameHiLim READ ObjectNameHiLim WRITE setObjectNameHiLim)
    Q_PROPERTY(QString ObjectNameLoLoLim READ ObjectNameLoLoLim WRITE setObjectNameLoLoLim)
    Q_PROPERTY(QString ObjectNameHiHiLim READ ObjectNameHiHiLim WRITE setObjectNameHiHiLim)
    Q_PROPERTY(QString ObjectNameMin READ ObjectNameMin WRITE setObjectNameMin)
    Q_PROPERTY(QString ObjectNameMax READ ObjectNameMax WRITE setObjectNameMax)
    Q_PROPERTY(qint16 MaxDigits READ MaxDigits WRITE setMaxDigits)
    Q_PROPERTY(qint16 DecimalPlaces READ DecimalPlaces WRITE setDecimalPlaces)
    Q_PROPERTY(bool HasWarningLimit READ HasWarningLimit WRITE setHasWarningLimit)
    Q_PROPERTY(bool HasAlarmLimit READ HasAlarmLimit WRITE setHasAlarmLimit)

public:
    ~DigitalDisplayBase() override;

    // The two numbers are accepted for the callers' sake and not used.
    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef,
                              qint16 dummy1 = 0, qint16 dummy2 = 0);
    Q_INVOKABLE void UnRegister();
    bool isRegistered() const { return m_registered; }

    QString Typ() const { return QStringLiteral("VexaItem"); }
    QString ObjectNameValue() const { return m_names[Value]; }
    void setObjectNameValue(const QString &name) { setName(Value, name, "ObjectNameValue"); }
    QString ObjectNameUnit() const { return m_names[Unit]; }
    void setObjectNameUnit(const QString &name) { setName(Unit, name, "ObjectNameUnit"); }
    QString ObjectNameLoLim() const { return m_names[LoLim]; }
    void setObjectNameLoLim(const QString &name) { setName(LoLim, name, "ObjectNameLoLim"); }
    QString ObjectNameHiLim() const { return m_names[HiLim]; }
    void setObjectNameHiLim(const QString &name) { setName(HiLim, name, "ObjectNameHiLim"); }
    QString ObjectNameLoLoLim() const { return m_names[LoLoLim]; }
    void setObjectNameLoLoLim(const QString &name) { setName(LoLoLim, name, "ObjectNameLoLoLim"); }
    QString ObjectNameHiHiLim() const { return m_names[HiHiLim]; }
    void setObjectNameHiHiLim(const QString &name) { setName(HiHiLim, name, "ObjectNameHiHiLim"); }
    QString ObjectNameMin() const { return m_names[Min]; }
    void setObjectNameMin(const QString &name) { setName(Min, name, "ObjectNameMin"); }
    QString ObjectNameMax() const { return m_names[Max]; }
    void setObjectNameMax(const QString &name) { setName(Max, name, "ObjectNameMax"); }
    qint16 MaxDigits() const { return m_maxDigits; }
    void setMaxDigits(qint16 digits);
    qint16 DecimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(qint16 places);
    bool HasWarningLimit() const { return m_hasWarningLimit; }
    void setHasWarningLimit(bool has);
    bool HasAlarmLimit() const { return m_hasAlarmLimit; }
    void setHasAlarmLimit(bool has);

    // What the display shows now.
    const QString &limitCode() const { return m_state.code; }
    qint32 textColour() const { return m_textColour; }
    bool connected() const { return m_connected; }

    VexaAppItem *const appConnectionStatus;
    VexaAppItem *const appMeasValue;
    VexaAppItem *const appUnit;
    const std::array<VexaAppItem *, 2> appWarningLimit; // 0 lower, 1 upper
    const std::array<VexaAppItem *, 2> appAlarmLimit;   // 0 lower, 1 upper
    const std::array<VexaAppItem *, 2> appMinMax;       // 0 minimum, 1 maximum

Q_SIGNALS:
    // A design property was set (its name).
    void PropertyChanged(const QString &key);

protected:
    explicit DigitalDisplayBase(QWidget *parent);

    // The value changed: show it (the limit state is fresh).
    virtual void showValue() = 0;
    virtual void applyTextColour(qint32 colour) = 0;

    void resizeEvent(QResizeEvent *event) override;
    virtual void resizeValueLabel() = 0;

private:
    enum Name
    {
        Value,
        Unit,
        LoLim,
        HiLim,
        LoLoLim,
        HiHiLim,
        Min,
        Max,
        NameCount
    };

    void setName(Name which, const QString &name, const char *key);
    std::optional<double> limit(Name which, const VexaAppItem *control) const;
    QList<VexaAppItem *> itemControls() const;
    void appMeasValue_ValueChanged();
    void appConnectionStatus_ValueChanged();
    void refreshColour();

    std::array<QString, NameCount> m_names;
    qint16 m_maxDigits = 10;
    qint16 m_decimalPlaces = 10;
    bool m_hasWarningLimit = false;
    bool m_hasAlarmLimit = false;
    bool m_registered = false;
    bool m_resizing = false;
    bool m_connected = false;
    DisplayLimitState m_state;
    qint32 m_textColour;
};
