#pragma once

#include <QLoggingCategory>

// The applet host's log ("vex.host"). What was caught where a user
// action or a host call enters and did not happen goes out at info level,
// shown with QT_LOGGING_RULES="vex.*.info=true"; warnings are for faults that
// must never occur (the tests fail on them).
Q_DECLARE_LOGGING_CATEGORY(lcHost)
