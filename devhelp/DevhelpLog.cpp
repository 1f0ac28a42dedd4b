#include "DevhelpLog.h"

Q_LOGGING_CATEGORY(lcDevhelp, "vex.devhelp", QtWarningMsg)
