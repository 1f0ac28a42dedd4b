#include "DeviceSummaryDock.h"

#include "ConnectionController.h"
#include "VexaAppItem.h"
#include "WinColor.h"
#include "clsGetDecimalPlaces.h"
#include "ctlDeviceStatus.h"
#include "ctlFixedDigitalDisplay.h"
#include "history/HistoryTexts.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/MainWindowParts.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QAction>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const QString SettingsKey = QStringLiteral("Settings/DeviceSummary");

QString resText(qint16 id)
{
    return GetResTextOr(id, QString::number(id));
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
        auto *cell = new QWidget(m_body);
        auto *cellLayout = new QHBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        auto *display = new ctlFixedDigitalDisplay(cell);
        display->setObjectName(QStringLiteral("displayCtrl"));
        display->setProperty("Index", int(i));
        display->setObjectNameValue(QLatin1String(live[i].value));
        display->setObjectNameUnit(QLatin1String(live[i].unit));
        display->setMaxDigits(8);
        display->setFont(digits);
        display->setMinimumHeight(QFontMetrics(digits).height() + 4);
        m_displays[i] = display;
        // Nothing live without a device: a dash, not a value nobody read.
        auto *none = new QLabel(QStringLiteral("–"), cell);
        m_noValues[i] = none;
        cellLayout->addWidget(display, 1);
        cellLayout->addWidget(none, 1);
        auto *key = new QLabel(m_body);
        key->setProperty("Tag", int(live[i].id));
        m_keys.insert(QStringLiteral("live%1").arg(i), key);
        form->addRow(key, cell);
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
    m_values["dataset"]->setWordWrap(true);
    m_values["file"]->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(6, 6, 6, 6);
    m_stale->setWordWrap(true);
    m_stale->setObjectName(QStringLiteral("heading"));
    layout->addWidget(m_stale);
    layout->addLayout(form);
    layout->addStretch(1);
    setWidget(m_body);

    // The dataset's values, and what the device answered (its shadow values).
    for (const char *name :
         {"&&private_PM&&TagName", "&&private_PM&&Descriptor", "_mfrDeviceTypeHART",
          "_univCmdRevHART", "_transSpecRevHART", "softwareRevision", "_hardwareRev",
          "scaleInLoLim", "scaleInHiLim", "primaryValueUnit", "&&private&&CurrentSource",
          "&&private_PM&&FileName", "&&private&&Connect", "&&private_PM&&Address",
          "&&private&&ForeignDevice", "&&private&&LinkCondition", "&&private&&LinkMessage"})
        item(name, name);
    for (const char *name :
         {"_tagHART", "descriptor", "_mfrDeviceTypeHART", "_univCmdRevHART", "_transSpecRevHART",
          "softwareRevision", "_hardwareRev", "scaleInLoLim", "scaleInHiLim", "primaryValueUnit"})
        item(name, name, true);
    connect(m_status, &ctlDeviceStatus::changed, this, &DeviceSummaryDock::refresh);
    connect(this, &QDockWidget::visibilityChanged, this, [this] { savePlacement(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { savePlacement(); });
    applyTexts();
    refresh();
}

VexaAppItem *DeviceSummaryDock::item(const char *name, const char *itemName, bool device)
{
    auto *control = new VexaAppItem(m_body);
    control->setObjectName(QLatin1String(name));
    control->setAppItemName(QLatin1String(itemName));
    control->setRegisterOnShadow(device);
    connect(control, &VexaAppItem::ValueChanged, this, [this](QString &) { refresh(); });
    m_items.insert(device ? QLatin1String(name) + QLatin1Char('@') : QLatin1String(name), control);
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
    if (key == QLatin1String("heading"))
        return m_stale->text();
    const QLabel *label = m_values.value(key);
    return label ? label->text() : QString();
}

bool DeviceSummaryDock::showsLiveValues() const
{
    return !m_displays[0]->isHidden();
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

// Connected, every line is what the device answered since it connected
// ("…" until it has); without a device, the dataset's values under a heading
// that says so, and nothing live.
void DeviceSummaryDock::refresh()
{
    // The verdict follows every value that reaches the summary, not only the
    // dataset check's second.
    if (!m_refreshing) {
        m_refreshing = true;
        m_status->checkDataset();
        m_refreshing = false;
    }
    m_connected = m_items.value(QStringLiteral("&&private&&Connect"))->StringValue().trimmed() ==
                  QLatin1String("2");
    m_foreign =
        m_connected &&
        m_items.value(QStringLiteral("&&private&&ForeignDevice"))->StringValue().trimmed() ==
            QLatin1String("1");
    // The message names the device while nothing else is wrong with the link.
    if (m_items.value(QStringLiteral("&&private&&LinkCondition"))->StringValue().trimmed() ==
        QString::number(int(ConnectionController::LinkCondition::ForeignDevice)))
        m_foreignText = m_items.value(QStringLiteral("&&private&&LinkMessage"))->StringValue();
    if (m_foreign) {
        showForeignDevice();
        return;
    }
    const QString waiting = QStringLiteral("…");
    const auto control = [this](const QString &name, bool device) {
        return m_items.value(device ? name + QLatin1Char('@') : name);
    };
    const auto known = [this](std::initializer_list<const char *> names) {
        return std::all_of(names.begin(), names.end(), [this](const char *name) {
            return m_status->readFromDevice(QLatin1String(name));
        });
    };
    // The text of an item: the device's when connected, the dataset's otherwise.
    const auto text = [&](const char *device, const char *dataset) {
        if (!m_connected)
            return control(QLatin1String(dataset), false)->StringValue().trimmed();
        return known({device}) ? control(QLatin1String(device), true)->StringValue().trimmed()
                               : waiting;
    };
    const auto enumText = [&](const char *name) {
        if (m_connected && !known({name}))
            return waiting;
        return control(QLatin1String(name), m_connected)->EnumValue();
    };
    m_values["tag"]->setText(text("_tagHART", "&&private_PM&&TagName"));
    m_values["descriptor"]->setText(text("descriptor", "&&private_PM&&Descriptor"));
    m_values["type"]->setText(enumText("_mfrDeviceTypeHART"));
    if (m_connected &&
        !known({"_univCmdRevHART", "_transSpecRevHART", "softwareRevision", "_hardwareRev"})) {
        m_values["revisions"]->setText(waiting);
    } else {
        const auto revision = [&](const char *name) {
            return control(QLatin1String(name), m_connected)->StringValue().trimmed();
        };
        m_values["revisions"]->setText(
            QStringLiteral("HART %1, Dev %2, SW %3, HW %4")
                .arg(revision("_univCmdRevHART"), revision("_transSpecRevHART"),
                     version(revision("softwareRevision")), revision("_hardwareRev")));
    }
    showRange(waiting);
    showHealth();
    showDataset();
    showSource();
    const QString file = control(QStringLiteral("&&private_PM&&FileName"), false)->StringValue();
    m_values["file"]->setText(file.trimmed().isEmpty() ? QStringLiteral("–") : file);

    m_stale->setText(
        m_connected
            ? resText(7411).arg(
                  control(QStringLiteral("&&private_PM&&Address"), false)->StringValue().trimmed())
            : resText(7410));
    for (size_t i = 0; i < m_displays.size(); ++i) {
        m_displays[i]->setVisible(m_connected);
        m_noValues[i]->setVisible(!m_connected);
    }
}

void DeviceSummaryDock::showForeignDevice()
{
    for (const char *key : {"tag", "descriptor", "type", "revisions", "range", "dataset"})
        m_values[key]->setText(QStringLiteral("–"));
    QLabel *status = m_values["status"];
    status->setText(QStringLiteral("● ") + resText(7606));
    status->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;")
                              .arg(WinColor::toColor(WinColor::Grey).name()));
    showSource();
    const QString file = m_items.value(QStringLiteral("&&private_PM&&FileName"))->StringValue();
    m_values["file"]->setText(file.trimmed().isEmpty() ? QStringLiteral("–") : file);
    // Who it is, line by line, without the message's opening sentence: the
    // status line below says what it is.
    m_stale->setText(m_foreignText.section(QLatin1Char('\n'), 1) + QStringLiteral("\n") +
                     resText(7605));
    for (size_t i = 0; i < m_displays.size(); ++i) {
        m_displays[i]->setVisible(false);
        m_noValues[i]->setVisible(true);
    }
}

void DeviceSummaryDock::showRange(const QString &waiting)
{
    const bool device = m_connected;
    if (device && !(m_status->readFromDevice(QStringLiteral("scaleInLoLim")) &&
                    m_status->readFromDevice(QStringLiteral("scaleInHiLim")) &&
                    m_status->readFromDevice(QStringLiteral("primaryValueUnit")))) {
        m_values["range"]->setText(waiting);
        return;
    }
    const auto control = [&](const char *name) {
        return m_items.value(device ? QLatin1String(name) + QLatin1Char('@') : QLatin1String(name));
    };
    const QString lowText = control("scaleInLoLim")->StringValue().trimmed();
    const QString highText = control("scaleInHiLim")->StringValue().trimmed();
    const double low = QLocale::c().toDouble(lowText);
    const double high = QLocale::c().toDouble(highText);
    const int decimals = clsGetDecimalPlaces().GetDecimalPlaces(high - low);
    m_values["range"]->setText(QStringLiteral("%1 … %2 %3")
                                   .arg(number(lowText, decimals), number(highText, decimals),
                                        control("primaryValueUnit")->EnumValue()));
    m_displays[0]->setDecimalPlaces(decimals);
}

void DeviceSummaryDock::showHealth()
{
    static const struct
    {
        qint16 id;
        qint32 colour;
    } health[] = {{3868, WinColor::Grey},
                  {3860, WinColor::Green},
                  {3861, WinColor::Yellow},
                  {3862, WinColor::Red}};
    QLabel *status = m_values["status"];
    if (!m_connected) {
        status->setText(QStringLiteral("● ") + resText(7408));
        status->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;")
                                  .arg(WinColor::toColor(WinColor::Grey).name()));
        return;
    }
    const auto &h = health[int(m_status->health())];
    status->setText(QStringLiteral("● ") + resText(h.id));
    const QColor colour =
        WinColor::toColor(h.colour).darker(h.colour == WinColor::Yellow ? 130 : 110);
    status->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(colour.name()));
}

void DeviceSummaryDock::showDataset()
{
    m_values["dataset"]->setText(HistoryTexts::datasetMatch(m_status->datasetMatch()));
}

// Where the dataset came from, in the user's language.
void DeviceSummaryDock::showSource()
{
    static const QHash<QString, qint16> sources{
        {QStringLiteral("0"), 7415}, {QStringLiteral("1"), 7414}, {QStringLiteral("2"), 7416}};
    const QString source =
        m_items.value(QStringLiteral("&&private&&CurrentSource"))->StringValue().trimmed();
    m_values["source"]->setText(sources.contains(source) ? resText(sources.value(source))
                                                         : QStringLiteral("–"));
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
