#pragma once

#include <QString>

// The item core's error hook. Failures that must not interrupt the caller go
// here; each is logged in the category "vex.itemcore" at info level, so it
// shows with QT_LOGGING_RULES="vex.*.info=true".
void ReportError(qint32 number, const QString &source, const QString &description);

// The exception being handled, as one line for a log: number, description and
// source of a VexException, what() of any other. Call it inside a catch block.
QString CurrentErrorText();
