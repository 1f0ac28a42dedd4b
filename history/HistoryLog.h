#pragma once

#include <QLoggingCategory>

// The history's log ("vex.history"): what could not be kept, and why.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
