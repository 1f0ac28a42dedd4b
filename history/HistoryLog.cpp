#include "HistoryLog.h"

Q_LOGGING_CATEGORY(lcHistory, "vex.history")
