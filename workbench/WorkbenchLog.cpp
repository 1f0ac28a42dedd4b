#include "WorkbenchLog.h"

Q_LOGGING_CATEGORY(lcWorkbench, "vex.workbench", QtWarningMsg)
