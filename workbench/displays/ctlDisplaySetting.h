#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>

class AppletItemManager;
class QComboBox;
class VexaAppItem;

// The table of measured values a display can show, and the binding of a
// display to one of them. Init fills a selection list; ChangeDisplayedValue
// hands the chosen entry's items, limits, scale steps and number format to
// the display control and binds it again. Limits reach the display as the
// values they are ("3.6"); when a limit item changes, every display this
// control serves is applied again with its own entry.
//
// The display control is any widget with the object-name properties of the
// displays (ObjectNameValue, ObjectNameUnit, ObjectNameMin, ...), LargeStep,
// SmallStep, MaxDigits, DecimalPlaces and Q_INVOKABLE Register(manager) and
// UnRegister(). A list whose "Index" property is set (0 and up) is one curve
// of a multi-curve display: the curve's properties are set through
// Q_INVOKABLE setObjectNameMin(int, QString), setObjectNameMax,
// setObjectNameUnit, setObjectNameValue and setObjectCaption.
//
// Placed on a dialog, its item handler registers it (Typ "VexaItem"); Init
// needs it registered.
class ctlDisplaySetting : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Typ READ Typ)

public:
    static constexpr int MaxEntries = 7;
    static constexpr qint16 EntryMaxDigits = 8;

    // The measured values, in the order of the list.
    enum Entry
    {
        CurrentOutput,
        PercentRange,
        PressureDamped,
        PressureTrimmed,
        SensorTemperature,
        HartOutput,
        EntryCount
    };

    struct Setting
    {
        bool valid = false;
        // Meaning for the displays: warning limits, alarm limits, display limits.
        std::array<bool, 3> flags{};
        qint16 textId = 0;
        QString upperAlarm;
        QString lowerAlarm;
        QString maximum;
        QString minimum;
        QString unitItem;
        QString valueItem;
        qint16 decimalPlaces = 0;
        qint16 maxDigits = EntryMaxDigits;
        double largeStep = 0.0;
        double smallStep = 0.0;
    };

    struct Scale
    {
        double span = 0.0;
        qint16 decimalPlaces = 0;
        double largeStep = 0.0;
        double smallStep = 0.0;
    };

    explicit ctlDisplaySetting(QWidget *parent = nullptr);
    ~ctlDisplaySetting() override;

    QString Typ() const { return QStringLiteral("VexaItem"); }
    Q_INVOKABLE void Register(std::shared_ptr<AppletItemManager> AppletItemManagerRef);
    Q_INVOKABLE void UnRegister();
    bool isRegistered() const { return m_registered; }

    // Serves this display from now on (besides those served before) with
    // the list; builds the table and fills the list, keeping its selection.
    void Init(QObject *displayCtrl, QComboBox *cmbMeasValue);
    // Applies the list's selected entry to the display of the last Init.
    void ChangeDisplayedValue();

    const QList<Setting> &settings() const { return m_settings; }
    // The entry a display shows, -1 for none.
    int entryOf(const QObject *displayCtrl) const;

    // Decimal places and scale steps for a display between these limits
    // (texts as the host gives them); a reversed range has the same steps.
    static Scale scaleOf(const QString &upper, const QString &lower);

    std::array<VexaAppItem *, 10> appValueLimits;
    VexaAppItem *const appUserLevel;
    VexaAppItem *const appCountryCode;

private:
    struct Target
    {
        QPointer<QObject> display;
        QPointer<QComboBox> list;
        int entry = -1;
    };

    void buildTable();
    void fillList(QComboBox *list) const;
    void apply(const Target &target);
    void appValueLimits_ValueChanged(int slot);
    QString limitText(int slot) const;

    QList<Setting> m_settings;
    QList<Target> m_targets;
    int m_current = -1;
    std::array<QString, 21> m_limitTexts;
    std::shared_ptr<AppletItemManager> m_manager;
    bool m_initializing = false;
    bool m_registered = false;
};
