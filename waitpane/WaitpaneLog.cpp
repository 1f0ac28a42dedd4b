#include "WaitpaneLog.h"

Q_LOGGING_CATEGORY(lcWaitpane, "vex.waitpane", QtWarningMsg)
