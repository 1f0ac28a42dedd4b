#include "ItemctlLog.h"

Q_LOGGING_CATEGORY(lcItemctl, "vex.itemctl", QtWarningMsg)
