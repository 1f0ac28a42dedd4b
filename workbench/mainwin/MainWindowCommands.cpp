#include "MainWindowCommands.h"

// The one place where the program's windows and procedures are plugged into
// the main window's commands.
MainWindowCommands MainWindowCommands::program()
{
    MainWindowCommands commands;
    return commands;
}
