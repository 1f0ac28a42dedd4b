#pragma once

#include <QString>

// The item core's error hook. Failures that must not interrupt the caller go
// here; this build keeps no error log, so a report has no effect.
void ReportError(qint32 number, const QString &source, const QString &description);
