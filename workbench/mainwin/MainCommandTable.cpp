#include "MainCommandTable.h"

#include <QCoreApplication>
#include <QHash>

namespace {

using S = ConnectionState;
using E = MainMenuEntry;

constexpr ConnectionStates WhileNotConnected{S::NotConnected};
constexpr ConnectionStates WhileConnected{S::Connected};

constexpr CommandRules Always{};
constexpr CommandRules NotConnectedOnly{WhileNotConnected};
constexpr CommandRules ConnectedOnly{WhileConnected};
constexpr CommandRules Copies{ConnectionStates::any(), ConnectionStates::any(),
                              CommandGate::CopiesText};
constexpr CommandRules Pastes{ConnectionStates::any(), ConnectionStates::any(),
                              CommandGate::PastesText};

// The menu bar in its design state with the rules of each entry.
constexpr MainMenuEntry Menu[] = {
    {0, "mnuFile", 1000, "&File", "", 0, E::Plain, Always},
    {1, "mnuFileNew", 1001, "&New", "Ctrl+N", 49, E::Plain, NotConnectedOnly},
    {1, "mnuFileOpen", 1002, "&Open...", "Ctrl+O", 50, E::Plain, NotConnectedOnly},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuFileSave", 1004, "&Save", "", 60, E::Plain, Always},
    {1, "mnuFileSaveAs", 1005, "Save &As...", "", 61, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuFilePrintPreview", 1008, "Print Pre&view", "", 56, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuFileMRU1", 0, "", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "mnuFileMRU2", 0, "", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "mnuFileMRU3", 0, "", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "mnuFileMRU4", 0, "", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuFileExit", 1011, "E&xit", "", 9, E::Plain, Always},
    {0, "mnuEdit", 1012, "&Edit", "", 0, E::Plain, Always},
    {1, "mnuEditCopy", 1015, "&Copy", "Ctrl+C", 42, E::Plain, Copies},
    {1, "mnuEditPaste", 1016, "&Paste", "Ctrl+V", 22, E::Plain, Pastes},
    {0, "mnuDevice", 1021, "Device", "", 16, E::Plain, Always},
    // Which of the two is shown follows the connection; whether it can be
    // chosen is the engineering context's to decide.
    {1,
     "mnuDeviceConnect",
     1022,
     "Connect",
     "",
     70,
     E::Plain,
     {ConnectionStates::any(), WhileNotConnected, CommandGate::Connects}},
    {1,
     "mnuDeviceDisconnect",
     1023,
     "Disconnect",
     "",
     70,
     E::Plain,
     {ConnectionStates::any(), WhileConnected, CommandGate::Disconnects}},
    {1, "mnuDeviceConnectionSettings", 6100, "Connection settings...", "", 0, E::Plain, Always},
    // Checked while a record is on.
    {1, "mnuDeviceTrafficRecord", 6101, "Traffic record...", "", 0, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuDeviceLoadFromDevice", 1024, "Load from device", "", 14, E::Plain, ConnectedOnly},
    {1,
     "mnuDeviceSaveToDevice",
     1025,
     "Save to device",
     "",
     13,
     E::Plain,
     {WhileConnected, ConnectionStates::any(), CommandGate::WritesDataset}},
    {1, "mnuDeviceReset", 2145, "Reset", "", 17, E::Submenu, ConnectedOnly},
    {2, "mnuDeviceResetLoadDefault", 1102, "Reset to factory default", "", 17, E::Plain, Always},
    {2, "mnuDeviceResetWarmStart", 1103, "Warm Start", "", 17, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuDeviceCompare", 4700, "Compare with Dataset", "", 0, E::Plain, ConnectedOnly},
    {1, "mnuDeviceHistory", 4701, "History", "", 0, E::Plain, Always},
    // Without a text id: the program's own catalogue translates these.
    {1, "mnuDeviceFleet", 0, QT_TRANSLATE_NOOP("MainMenuTree", "Fleet..."), "", 0, E::Plain,
     Always},
    {1, "mnuDeviceHistoryServer", 0, QT_TRANSLATE_NOOP("MainMenuTree", "History server..."), "", 0,
     E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuDeviceIdentification", 1026, "Identification", "", 37, E::Plain, Always},
    // Any device that answers command 0; it finds the device itself while not connected.
    {1, "mnuDeviceGenericView", 7700, "Generic HART View", "", 0, E::Plain, Always},
    // Shown, so that Toolbar, Status Bar and the device summary can be switched; the three views
    // have no command and stay out of sight.
    {0, "mnuView", 1027, "&View", "", 4, E::Plain, Always},
    {1, "mnuViewTable", 1028, "Table", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "mnuViewTree", 1029, "Tree", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "mnuViewTabstrib", 1030, "Tabstrip", "", 0, E::Hidden | E::NoCommand, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuViewToolbar", 1031, "&Toolbar", "", 0, E::Checked, Always},
    {1, "mnuViewStatusBar", 1032, "Status&Bar", "", 0, E::Checked, Always},
    {1, "mnuViewDeviceSummary", 3867, "Device &Summary", "", 0, E::Checked, Always},
    {0, "mnuDisplay", 1033, "Display", "", 19, E::Plain, ConnectedOnly},
    {1, "mnuDisplayBar", 1034, "Bar", "", 3, E::Plain, Always},
    {1, "mnuDisplayDigital", 1035, "Digital", "", 4, E::Plain, Always},
    // Shown: the gauge window is there to be opened.
    {1, "mnuDisplayGauge", 1036, "Gauge", "", 0, E::Plain, Always},
    {1, "mnuDisplayTrend", 1037, "Trend", "", 5, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuDisplayMeasuredValues", 2566, "Meas. Value Overview", "", 6, E::Plain, Always},
    {0, "mnuDiagnostics", 1042, "Diagnostics", "", 20, E::Plain, ConnectedOnly},
    {1, "mnuDiagnosticsStatus", 2206, "Status", "", 7, E::Plain, Always},
    {1, "mnuDiagnosticsMaxValues", 1045, "Min/Max. Values", "", 8, E::Plain, Always},
    // The event counters have no entry of their own in the design; without
    // one they could not be opened.
    {1, "mnuDiagnosticsEventCounter", 2087, "Limit Value Infringements", "", 8, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuDiagnosticsSelftest", 1046, "Refresh", "", 0, E::Hidden | E::Disabled | E::NoCommand,
     Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuDiagnosticsSimulate", 2184, "Simulate", "", 58, E::Submenu, Always},
    {2,
     "mnuDiagnosticsSimulateCurrent",
     2250,
     "Current output",
     "",
     21,
     E::Plain,
     {ConnectionStates::any(), ConnectionStates::any(), CommandGate::NeedsCurrentLoop}},
    {2, "mnuDiagnosticsSimulateStatus", 3502, "Device status", "", 10, E::Plain, Always},
    {0, "mnuConfigure", 1048, "Configure", "", 0, E::Plain, Always},
    {1, "mnuConfigurePrimaryMeasurement", 2053, "Pressure Measurement", "", 0, E::Plain, Always},
    // Shown: the diagnosis configuration can be opened from nowhere else.
    {1, "mnuConfigureDiagnosis", 2052, "Diagnostics", "", 0, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuConfigureBasicParameter", 1050, "Basic Parameter", "", 23, E::Plain, Always},
    {0, "mnuCalibrate", 1055, "Calibrate", "", 24, E::Plain, ConnectedOnly},
    {1, "mnuCalibratePressure", 1056, "Pressure Measurement", "", 17, E::Plain, Always},
    {1,
     "mnuCalibrateCurrent",
     2169,
     "Current",
     "",
     18,
     E::Plain,
     {ConnectionStates::any(), ConnectionStates::any(), CommandGate::NeedsCurrentLoop}},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuCalibrateCheck", 5710, "Calibration check", "", 0, E::Plain, Always},
    {0, "mnuWindow", 1064, "&Window", "", 0, E::Plain, Always},
    {1, "mnuWindowMainWindow", 1065, "Project Manager", "", 0,
     E::Hidden | E::Disabled | E::NoCommand, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuWindowCascade", 1066, "&Cascade", "", 0, E::Plain, Always},
    {1, "mnuWindowTileHorizontal", 1067, "Tile &side by side", "", 0, E::Plain, Always},
    {1, "mnuWindowTileVertical", 1068, "Tile &one above the other", "", 0, E::Plain, Always},
    {1, "mnuWindowClose", 7400, "C&lose window", "Ctrl+F4", 0, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {0, "mnuHelp", 1069, "&?", "", 0, E::Plain, Always},
    {1, "mnuHelpContents", 1070, "&Contents", "", 0, E::Plain, Always},
    {1, "mnuHelpSearchForHelpOn", 1071, "&Find in help...", "", 0, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator | E::Hidden, Always},
    {1, "mnuHelpReadme", 1072, "Read Me", "", 0, E::Plain, Always},
    {1, "", 0, "", "", 0, E::Separator, Always},
    {1, "mnuHelpAbout", 1073, "Inf&o ", "", 0, E::Plain, Always},
};

// The toolbar, left to right, with the rules of each button.
constexpr MainToolbarButton Toolbar[] = {
    {"tbNew", "New", "TOOLBAR_FILE_NEW", 1001, "mnuFileNew", NotConnectedOnly},
    {"tbopen", "Open", "TOOLBAR_FILE_OPEN", 1002, "mnuFileOpen", NotConnectedOnly},
    {"tbSave", "Save", "TOOLBAR_FILE_SAVE", 1004, "mnuFileSave", Always},
    {"", "", "", 0, "", Always},
    {"tbCopy", "Copy", "TOOLBAR_COPY", 1015, "mnuEditCopy", Copies},
    {"tbPaste", "Paste", "TOOLBAR_PASTE", 1016, "mnuEditPaste", Pastes},
    {"", "", "", 0, "", Always},
    {"tbConnect",
     "Connect",
     "TOOLBAR_CONNECT",
     1022,
     "mnuDeviceConnect",
     {WhileNotConnected, ConnectionStates::any(), CommandGate::Connects}},
    {"tbDisconnect",
     "Disconnect",
     "TOOLBAR_DISCONNECT",
     1023,
     "mnuDeviceDisconnect",
     {WhileConnected, ConnectionStates::any(), CommandGate::Disconnects}},
    {"", "", "", 0, "", Always},
    {"tbReadFromDevice", "ReadFromDevice", "TOOLBAR_READ_FROM_DEVICE", 1024,
     "mnuDeviceLoadFromDevice", ConnectedOnly},
    {"tbWriteToDevice",
     "WriteToDevice",
     "TOOLBAR_WRITE_TO_DEVICE",
     1025,
     "mnuDeviceSaveToDevice",
     {WhileConnected, ConnectionStates::any(), CommandGate::WritesDataset}},
    {"tbCompare", "Compare", "TOOLBAR_COMPARE", 4700, "mnuDeviceCompare", ConnectedOnly},
    {"", "", "", 0, "", Always},
    {"tbDiagnostics", "Diagnostics", "TOOLBAR_DIAGNOSTICS", 1046, "mnuDiagnosticsStatus",
     ConnectedOnly},
};

QHash<QString, MainCommand> &registered()
{
    static QHash<QString, MainCommand> commands;
    return commands;
}

} // namespace

std::span<const MainMenuEntry> MainCommandTable::entries()
{
    return Menu;
}

std::span<const MainToolbarButton> MainCommandTable::buttons()
{
    return Toolbar;
}

const MainMenuEntry *MainCommandTable::entry(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (const MainMenuEntry &e : Menu) {
        if (name == QLatin1String(e.name))
            return &e;
    }
    return nullptr;
}

const MainToolbarButton *MainCommandTable::button(const QString &key)
{
    if (key.isEmpty())
        return nullptr;
    for (const MainToolbarButton &b : Toolbar) {
        if (key == QLatin1String(b.key))
            return &b;
    }
    return nullptr;
}

QString MainCommandTable::commandEntry(const QString &element)
{
    if (const MainToolbarButton *b = button(element))
        return QLatin1String(b->entry);
    return element;
}

const CommandRules *MainCommandTable::rules(const QString &element)
{
    if (const MainMenuEntry *e = entry(element))
        return &e->rules;
    if (const MainToolbarButton *b = button(element))
        return &b->rules;
    return nullptr;
}

MainCommand MainCommandTable::command(const QString &entryName)
{
    return registered().value(entryName);
}

bool MainCommandTable::commandMissing(const QString &entryName)
{
    const MainMenuEntry *e = entry(entryName);
    if (!e || e->opensMenu() || e->is(MainMenuEntry::NoCommand))
        return false;
    return !registered().contains(entryName);
}

MainCommandTable::Registration::Registration(const char *entryName, MainCommand command)
    : m_entry(QLatin1String(entryName))
{
    const MainMenuEntry *e = entry(m_entry);
    if (!e || e->opensMenu() || !command) {
        qWarning("main window: no command can be registered for \"%s\"", entryName);
        return;
    }
    m_previous = registered().value(m_entry);
    registered().insert(m_entry, std::move(command));
    m_registered = true;
}

MainCommandTable::Registration::~Registration()
{
    if (!m_registered)
        return;
    if (m_previous)
        registered().insert(m_entry, std::move(m_previous));
    else
        registered().remove(m_entry);
}
