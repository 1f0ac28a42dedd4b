#include "MainWindowLog.h"

Q_LOGGING_CATEGORY(lcMainWindow, "vex.workbench.mainwin", QtWarningMsg)
