#pragma once

#include "ConnectionStates.h"

#include <QString>
#include <functional>
#include <span>

class frmMain;

// What a menu entry runs. Registered by the entry's design name, so that a
// window plugs itself into the main window from its own file (see
// MainCommandTable::Registration).
using MainCommand = std::function<void(frmMain &main)>;

// Besides the connection state, what decides whether an element is available.
enum class CommandGate
{
    None,
    // The engineering context must allow changing the connection: these
    // connect, those disconnect.
    Connects,
    Disconnects,
    // Writes the dataset to the device: barred while the dataset does not fit it.
    WritesDataset,
    // Drives the analogue output, which only a device at polling address 0 has.
    NeedsCurrentLoop,
    // The clipboard commands: a control with a text to copy has the focus,
    // or one that takes the clipboard's text.
    CopiesText,
    PastesText,
};

// When an element is available and shown. The connection sets both when it
// settles (not connected or connected); on its way in between it leaves them.
struct CommandRules
{
    ConnectionStates enabledIn = ConnectionStates::any();
    ConnectionStates shownIn = ConnectionStates::any();
    CommandGate gate = CommandGate::None;
};

// One row of the menu bar, in its design state. Level 0 rows are the menus of
// the bar; a submenu's entries follow it one level deeper.
struct MainMenuEntry
{
    enum Design : unsigned
    {
        Plain = 0,
        Separator = 1,
        Hidden = 2,
        Disabled = 4,
        Checked = 8,
        Submenu = 16,
        // Does nothing when chosen, by design: never "not available".
        NoCommand = 32,
    };

    int level;
    const char *name; // design name; empty for a separator
    qint16 textId;    // string-table id of the text; 0 for none
    const char *designText;
    const char *shortcut;
    int helpContext;
    unsigned design;
    CommandRules rules;

    bool is(Design d) const { return (design & d) != 0; }
    bool opensMenu() const { return level == 0 || is(Submenu); }
};

// One button of the toolbar, in order; a button runs its menu entry's command.
struct MainToolbarButton
{
    const char *key; // empty for a separator
    const char *imageKey;
    const char *picture; // resource name of the picture
    qint16 tooltipId;
    const char *entry; // the menu entry whose command it runs
    CommandRules rules;
};

// The main window's commands: every menu entry and toolbar button with its
// design state and the rules that make it available, and what each entry
// runs. The menu bar, the toolbar and the availability rules all read it.
//
// A window plugs in its entry from its own .cpp file; the entry's toolbar
// button, if it has one, runs the same command:
//   namespace {
//   const MainCommandTable::Registration registration(
//       "mnuDisplayBar", MainChildWindows::opener<frmDisplayBar>({.readRangeValues = true}));
//   }
class MainCommandTable
{
public:
    static std::span<const MainMenuEntry> entries();
    static std::span<const MainToolbarButton> buttons();

    // By design name or key; null when there is none.
    static const MainMenuEntry *entry(const QString &name);
    static const MainToolbarButton *button(const QString &key);
    // The menu entry whose command an element runs: itself, or a button's entry.
    static QString commandEntry(const QString &element);
    // The rules of a menu entry or a button; null for an unknown name.
    static const CommandRules *rules(const QString &element);

    // What an entry runs: empty until a window or procedure registered it.
    static MainCommand command(const QString &entryName);
    // Whether the entry needs a command and has none yet.
    static bool commandMissing(const QString &entryName);

    // Registers what an entry runs for as long as it lives (a static object in
    // the file of the window it opens); a second registration for the same
    // entry stands in for the first until it goes.
    class Registration
    {
    public:
        Registration(const char *entryName, MainCommand command);
        ~Registration();
        Registration(const Registration &) = delete;
        Registration &operator=(const Registration &) = delete;

    private:
        QString m_entry;
        MainCommand m_previous;
        bool m_registered = false;
    };
};
