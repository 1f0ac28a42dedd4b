#include "ResidentLog.h"

Q_LOGGING_CATEGORY(lcResident, "vex.resident", QtWarningMsg)
