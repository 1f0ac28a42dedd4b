#include "ItemcoreLog.h"

Q_LOGGING_CATEGORY(lcItemcore, "vex.itemcore", QtWarningMsg)
