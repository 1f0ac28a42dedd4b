#include "HostLog.h"

Q_LOGGING_CATEGORY(lcHost, "vex.host", QtWarningMsg)
