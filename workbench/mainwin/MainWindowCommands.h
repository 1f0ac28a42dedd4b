#pragma once

#include <functional>
#include <memory>

class AppletItemManager;
class IViewEx;
class QWidget;

// The windows and device procedures that the main window's own commands open
// but that live in their own classes: plugged in at one place (program()), so
// the main window only knows these signatures; tests put recorders in their
// place. An empty entry makes its command do nothing. (The main window's own
// commands are registered in MainWindowCommands.cpp; device dialogs and
// display windows register theirs in their own files, see MainCommandTable.)
struct MainWindowCommands
{
    enum class Reset
    {
        FactoryData, // "Reset to factory default"
        WarmStart,   // "Warm Start"
    };

    // File New: the default dataset selection, modal over the main window.
    std::function<void(QWidget *mainWindow, IViewEx *view)> selectDefaultDataset;
    // Save to device: shows first what it will change and calls save() when
    // the user goes on; empty writes at once.
    std::function<void(QWidget *mainWindow, IViewEx *view, std::function<void()> save)>
        previewSaveToDevice;
    // Device Reset: creates and registers the reset procedure and starts it;
    // the main window keeps what it returns alive until the next reset or
    // until it closes (the procedure waits for the reconnect).
    std::function<std::shared_ptr<void>(std::shared_ptr<AppletItemManager> manager, Reset kind)>
        deviceReset;
    std::function<void(QWidget *mainWindow)> helpContents;
    std::function<void(QWidget *mainWindow)> helpIndex;
    std::function<void(QWidget *mainWindow)> readMe;
    std::function<void(QWidget *mainWindow)> about;
    // Closes every help window (the main window is closing).
    std::function<void()> closeHelp;
    // The splash window, shown while the main window loads; null for none.
    std::function<std::unique_ptr<QWidget>()> splash;

    // The program's commands.
    static MainWindowCommands program();
};
