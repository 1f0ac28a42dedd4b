#include "MainMenuTree.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

enum Flag : unsigned
{
    Separator = 1,
    Hidden = 2,
    Disabled = 4,
    Checked = 8,
    Submenu = 16,
};

struct Entry
{
    int level;
    const char *name;
    int id;
    const char *design; // shown when the id cannot be resolved
    const char *key;
    int help;
    unsigned flags;
};

// The design data of the menu bar; level 0 entries are the menus themselves.
constexpr Entry Tree[] = {
    {0, "mnuFile", 1000, "&File", "", 0, 0},
    {1, "mnuFileNew", 1001, "&New", "Ctrl+N", 49, 0},
    {1, "mnuFileOpen", 1002, "&Open...", "Ctrl+O", 50, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuFileSave", 1004, "&Save", "", 60, 0},
    {1, "mnuFileSaveAs", 1005, "Save &As...", "", 61, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuFilePrintPreview", 1008, "Print Pre&view", "", 56, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuFileMRU1", 0, "", "", 0, Hidden},
    {1, "mnuFileMRU2", 0, "", "", 0, Hidden},
    {1, "mnuFileMRU3", 0, "", "", 0, Hidden},
    {1, "mnuFileMRU4", 0, "", "", 0, Hidden},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuFileExit", 1011, "E&xit", "", 9, 0},
    {0, "mnuEdit", 1012, "&Edit", "", 0, 0},
    {1, "mnuEditCopy", 1015, "&Copy", "Ctrl+C", 42, 0},
    {1, "mnuEditPaste", 1016, "&Paste", "Ctrl+V", 22, 0},
    {0, "mnuDevice", 1021, "Device", "", 16, 0},
    {1, "mnuDeviceConnect", 1022, "Connect", "", 70, 0},
    {1, "mnuDeviceDisconnect", 1023, "Disconnect", "", 70, 0},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuDeviceLoadFromDevice", 1024, "Load from device", "", 14, 0},
    {1, "mnuDeviceSaveToDevice", 1025, "Save to device", "", 13, 0},
    {1, "mnuDeviceReset", 2145, "Reset", "", 17, Submenu},
    {2, "mnuDeviceResetLoadDefault", 1102, "Reset to factory default", "", 17, 0},
    {2, "mnuDeviceResetWarmStart", 1103, "Warm Start", "", 17, 0},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuDeviceIdentification", 1026, "Identification", "", 37, 0},
    {0, "mnuView", 1027, "&View", "", 4, Hidden | Disabled},
    {1, "mnuViewTable", 1028, "Table", "", 0, 0},
    {1, "mnuViewTree", 1029, "Tree", "", 0, 0},
    {1, "mnuViewTabstrib", 1030, "Tabstrip", "", 0, 0},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuViewToolbar", 1031, "&Toolbar", "", 0, Checked},
    {1, "mnuViewStatusBar", 1032, "Status&Bar", "", 0, Checked},
    {0, "mnuDisplay", 1033, "Display", "", 19, 0},
    {1, "mnuDisplayBar", 1034, "Bar", "", 3, 0},
    {1, "mnuDisplayDigital", 1035, "Digital", "", 4, 0},
    {1, "mnuDisplayGauge", 1036, "Gauge", "", 0, Hidden},
    {1, "mnuDisplayTrend", 1037, "Trend", "", 5, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuDisplayMeasuredValues", 2566, "Meas. Value Overview", "", 6, 0},
    {0, "mnuDiagnostics", 1042, "Diagnostics", "", 20, 0},
    {1, "mnuDiagnosticsStatus", 2206, "Status", "", 7, 0},
    {1, "mnuDiagnosticsMaxValues", 1045, "Min/Max. Values", "", 8, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuDiagnosticsSelftest", 1046, "Refresh", "", 0, Hidden | Disabled},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuDiagnosticsSimulate", 2184, "Simulate", "", 58, Submenu},
    {2, "mnuDiagnosticsSimulateCurrent", 2250, "Current output", "", 21, 0},
    {2, "mnuDiagnosticsSimulateStatus", 3502, "Device status", "", 10, 0},
    {0, "mnuConfigure", 1048, "Configure", "", 0, 0},
    {1, "mnuConfigurePrimaryMeasurement", 2053, "Pressure Measurement", "", 0, 0},
    {1, "mnuConfigureDiagnosis", 2052, "Diagnostics", "", 0, Hidden},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuConfigureBasicParameter", 1050, "Basic Parameter", "", 23, 0},
    {0, "mnuCalibrate", 1055, "Calibrate", "", 24, 0},
    {1, "mnuCalibratePressure", 1056, "Pressure Measurement", "", 17, 0},
    {1, "mnuCalibrateCurrent", 2169, "Current", "", 18, 0},
    {0, "mnuWindow", 1064, "&Window", "", 0, 0},
    {1, "mnuWindowMainWindow", 1065, "Project Manager", "", 0, Hidden | Disabled},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuWindowCascade", 1066, "Overlapped", "", 0, 0},
    {1, "mnuWindowTileHorizontal", 1067, "&Tiled", "", 0, 0},
    {1, "mnuWindowTileVertical", 1068, "Cascade", "", 0, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {0, "mnuHelp", 1069, "&?", "", 0, 0},
    {1, "mnuHelpContents", 1070, "&Contents", "", 0, 0},
    {1, "mnuHelpSearchForHelpOn", 1071, "&Find in help...", "", 0, 0},
    {1, "", 0, "", "", 0, Separator | Hidden},
    {1, "mnuHelpReadme", 1072, "Read Me", "", 0, 0},
    {1, "", 0, "", "", 0, Separator},
    {1, "mnuHelpAbout", 1073, "Inf&o ", "", 0, 0},
};

void designState(QAction *action, const Entry &e)
{
    const QString name = QLatin1String(e.name);
    action->setObjectName(name);
    if (e.help > 0)
        action->setProperty("HelpContextID", e.help);
    if (e.flags & Hidden)
        action->setVisible(false);
    if (e.flags & Disabled)
        action->setEnabled(false);
    if (e.flags & Checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

} // namespace

MainMenuTree::MainMenuTree(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QMenu *parents[3] = {};
    for (const Entry &e : Tree) {
        const QString name = QLatin1String(e.name);
        const QString design = QString::fromUtf8(e.design);
        QMenu *parent = e.level > 0 ? parents[e.level - 1] : nullptr;
        if (e.flags & Separator) {
            parent->addSeparator()->setVisible(!(e.flags & Hidden));
            continue;
        }
        if (e.level == 0 || (e.flags & Submenu)) {
            auto *menu = new QMenu(design, parent ? static_cast<QWidget *>(parent) : bar);
            menu->setObjectName(name);
            menu->setProperty("Tag", e.id);
            // Unavailable entries say why in their tooltip.
            menu->setToolTipsVisible(true);
            if (parent)
                parent->addMenu(menu);
            else
                bar->addMenu(menu);
            designState(menu->menuAction(), e);
            m_menus.insert(name, menu);
            m_entries.insert(name, menu->menuAction());
            parents[e.level] = menu;
            continue;
        }
        auto *action = new QAction(design, parent);
        if (e.id > 0)
            action->setProperty("Tag", e.id);
        if (*e.key)
            action->setShortcut(QKeySequence(QLatin1String(e.key)));
        designState(action, e);
        parent->addAction(action);
        m_entries.insert(name, action);
    }
}

QList<QAction *> MainMenuTree::commands() const
{
    QList<QAction *> result;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!m_menus.contains(it.key()))
            result.append(it.value());
    }
    return result;
}
