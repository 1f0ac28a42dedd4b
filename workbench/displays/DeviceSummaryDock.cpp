#include "DeviceSummaryDock.h"

#include "VexaAppItem.h"
#include "WinColor.h"
#include "clsGetDecimalPlaces.h"
#include "ctlDeviceStatus.h"
#include "ctlFixedDigitalDisplay.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/MainWindowParts.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QAction>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const QString SettingsKey = QStringLiteral("Settings/DeviceSummary");

QString resText(qint16 id)
{
    try {
        return GetResText(id);
    } catch (...) {
        return QString::number(id);
    }
}

QString number(const QString &hostText, int decimals)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(hostText, &ok);
    if (!ok)
        return hostText;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

// "01 05 02" -> "1.5.2"
QString version(const QString &octets)
{
    QStringList parts;
    for (const QString &pair : octets.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parts << QString::number(pair.toUInt(nullptr, 16));
    return parts.join(QLatin1Char('.'));
}

} // namespace

DeviceSummaryDock::DeviceSummaryDock(QWidget *mainWindow)
    : QDockWidget(mainWindow), m_body(new QWidget(this)), m_status(new ctlDeviceStatus(m_body)),
      m_stale(new QLabel(m_body))
{
    setObjectName(QStringLiteral("DeviceSummaryDock"));
    // Not floatable: a floating dock is a window of its own, whose items the
    // main window's handler would not bind.
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto line = [&](const QString &key, qint16 id) {
        QLabel *value = addLine(key, id);
        form->addRow(m_keys[key], value);
    };
    line("tag", 3851);
    line("descriptor", 3852);
    line("type", 3853);
    line("revisions", 2260);
    line("range", 3855);
    const struct
    {
        qint16 id;
        const char *value;
        const char *unit;
    } live[] = {{2096, "primaryValue", "primaryValueUnit"},
                {3857, "actualOutputValue", "Unit_mA"},
                {3858, "percentRangeValue", "Unit_Percent"}};
    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setStyleHint(QFont::TypeWriter);
    digits.setBold(true);
    digits.setPointSizeF(font().pointSizeF() * 1.25);
    for (size_t i = 0; i < m_displays.size(); ++i) {
        auto *display = new ctlFixedDigitalDisplay(m_body);
        display->setObjectName(QStringLiteral("displayCtrl"));
        display->setProperty("Index", int(i));
        display->setObjectNameValue(QLatin1String(live[i].value));
        display->setObjectNameUnit(QLatin1String(live[i].unit));
        display->setMaxDigits(8);
        display->setFont(digits);
        display->setMinimumHeight(QFontMetrics(digits).height() + 4);
        m_displays[i] = display;
        auto *key = new QLabel(m_body);
        key->setProperty("Tag", int(live[i].id));
        m_keys.insert(QStringLiteral("live%1").arg(i), key);
        form->addRow(key, display);
    }
    // The loop current against the alarm currents: red when the device alarms.
    m_displays[1]->setObjectNameLoLoLim(QStringLiteral("alarmLowValue"));
    m_displays[1]->setObjectNameHiHiLim(QStringLiteral("alarmHighValue"));
    m_displays[1]->setDecimalPlaces(2);
    m_displays[2]->setDecimalPlaces(1);
    line("status", 3859);
    line("source", 3869);
    line("file", 3870);
    line("dataset", 3863);
    m_values["file"]->setWordWrap(true);
    m_values["file"]->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(form);
    m_stale->setWordWrap(true);
    layout->addWidget(m_stale);
    layout->addStretch(1);
    setWidget(m_body);

    for (const char *name :
         {"&&private_PM&&TagName", "&&private_PM&&Descriptor", "_mfrDeviceTypeHART",
          "_univCmdRevHART", "_transSpecRevHART", "softwareRevision", "_hardwareRev",
          "scaleInLoLim", "scaleInHiLim", "primaryValueUnit", "&&private&&CurrentSource",
          "&&private_PM&&FileName", "&&private&&Connect"})
        item(name, name);
    connect(m_status, &ctlDeviceStatus::changed, this, &DeviceSummaryDock::refresh);
    connect(this, &QDockWidget::visibilityChanged, this, [this] { savePlacement(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { savePlacement(); });
    applyTexts();
    refresh();
}

VexaAppItem *DeviceSummaryDock::item(const char *name, const char *itemName)
{
    auto *control = new VexaAppItem(m_body);
    control->setObjectName(QLatin1String(name));
    control->setAppItemName(QLatin1String(itemName));
    connect(control, &VexaAppItem::ValueChanged, this, [this](QString &) { refresh(); });
    m_items.insert(QLatin1String(name), control);
    return control;
}

QLabel *DeviceSummaryDock::addLine(const QString &key, qint16 textId)
{
    auto *label = new QLabel(m_body);
    label->setProperty("Tag", int(textId));
    auto *value = new QLabel(m_body);
    value->setObjectName(key);
    m_keys.insert(key, label);
    m_values.insert(key, value);
    return value;
}

QString DeviceSummaryDock::lineText(const QString &key) const
{
    const QLabel *label = m_values.value(key);
    return label ? label->text() : QString();
}

void DeviceSummaryDock::applyTexts()
{
    setWindowTitle(resText(3850));
    for (QLabel *key : std::as_const(m_keys))
        key->setText(resText(qint16(key->property("Tag").toInt())));
    refresh();
}

void DeviceSummaryDock::changeEvent(QEvent *event)
{
    QDockWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        applyTexts();
}

void DeviceSummaryDock::refresh()
{
    const auto text = [this](const char *name) {
        return m_items.value(QLatin1String(name))->StringValue().trimmed();
    };
    const auto enumText = [this](const char *name) {
        return m_items.value(QLatin1String(name))->EnumValue();
    };
    m_connected = text("&&private&&Connect") == QLatin1String("2");
    m_values["tag"]->setText(text("&&private_PM&&TagName"));
    m_values["descriptor"]->setText(text("&&private_PM&&Descriptor"));
    m_values["type"]->setText(enumText("_mfrDeviceTypeHART"));
    m_values["revisions"]->setText(QStringLiteral("HART %1, Dev %2, SW %3, HW %4")
                                       .arg(text("_univCmdRevHART"), text("_transSpecRevHART"),
                                            version(text("softwareRevision")),
                                            text("_hardwareRev")));
    const double low = QLocale::c().toDouble(text("scaleInLoLim"));
    const double high = QLocale::c().toDouble(text("scaleInHiLim"));
    const int decimals = clsGetDecimalPlaces().GetDecimalPlaces(high - low);
    m_values["range"]->setText(QStringLiteral("%1 … %2 %3")
                                   .arg(number(text("scaleInLoLim"), decimals),
                                        number(text("scaleInHiLim"), decimals),
                                        enumText("primaryValueUnit")));
    m_displays[0]->setDecimalPlaces(decimals);

    static const struct
    {
        qint16 id;
        qint32 colour;
    } health[] = {{3868, WinColor::Grey},
                  {3860, WinColor::Green},
                  {3861, WinColor::Yellow},
                  {3862, WinColor::Red}};
    const auto &h = health[int(m_status->health())];
    QLabel *status = m_values["status"];
    status->setText(QStringLiteral("● ") + resText(h.id));
    const QColor colour =
        m_connected ? WinColor::toColor(h.colour).darker(h.colour == WinColor::Yellow ? 130 : 110)
                    : WinColor::toColor(WinColor::Grey);
    status->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(colour.name()));

    m_values["source"]->setText(enumText("&&private&&CurrentSource"));
    const QString file = text("&&private_PM&&FileName");
    m_values["file"]->setText(file.isEmpty() ? QStringLiteral("–") : file);
    m_values["dataset"]->setText(resText(m_status->datasetDiffers() ? 3864 : 3865));

    // Without a connection every value is the last one known: say so.
    m_stale->setText(m_connected ? QString() : resText(3866));
    m_stale->setVisible(!m_connected);
    for (QLabel *value : std::as_const(m_values)) {
        if (value != status)
            value->setEnabled(m_connected);
    }
}

void DeviceSummaryDock::restorePlacement()
{
    auto *main = qobject_cast<QMainWindow *>(parentWidget());
    if (!main)
        return;
    m_restoring = true;
    QSettings settings;
    const auto area = Qt::DockWidgetArea(
        settings.value(SettingsKey + QStringLiteral("Area"), int(Qt::RightDockWidgetArea)).toInt());
    main->addDockWidget(
        area == Qt::LeftDockWidgetArea ? Qt::LeftDockWidgetArea : Qt::RightDockWidgetArea, this);
    setVisible(settings.value(SettingsKey + QStringLiteral("Visible"), true).toBool());
    m_restoring = false;
}

void DeviceSummaryDock::savePlacement() const
{
    const auto *main = qobject_cast<QMainWindow *>(parentWidget());
    // Hiding along with a closing main window is not the user's choice.
    if (m_restoring || !main || !main->isVisible())
        return;
    QSettings settings;
    settings.setValue(SettingsKey + QStringLiteral("Area"),
                      int(main->dockWidgetArea(const_cast<DeviceSummaryDock *>(this))));
    settings.setValue(SettingsKey + QStringLiteral("Visible"), !isHidden());
}

namespace {

// Shown by default, on the main window's right; View switches it.
const MainWindowParts::Registration part([](frmMain &main) {
    auto *dock = new DeviceSummaryDock(&main);
    dock->restorePlacement();
    if (QAction *entry = main.menuEntry(QStringLiteral("mnuViewDeviceSummary")))
        entry->setChecked(!dock->isHidden());
    QObject::connect(dock, &QDockWidget::visibilityChanged, &main, [&main, dock] {
        if (QAction *entry = main.menuEntry(QStringLiteral("mnuViewDeviceSummary")))
            entry->setChecked(!dock->isHidden());
    });
});

const MainCommandTable::Registration command("mnuViewDeviceSummary", [](frmMain &main) {
    if (auto *dock = main.findChild<DeviceSummaryDock *>()) {
        dock->setVisible(dock->isHidden());
        main.menuEntry(QStringLiteral("mnuViewDeviceSummary"))->setChecked(!dock->isHidden());
        dock->savePlacement();
    }
});

} // namespace
