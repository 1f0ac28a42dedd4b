#include "Module1.h"

void ReportError(qint32, const QString &, const QString &) {}
