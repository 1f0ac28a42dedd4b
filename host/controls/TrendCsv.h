#pragma once

#include <QString>
#include <QStringList>

// Comma-separated fields as the recording and the export write them: a
// field with a comma, a quote or a line break is quoted, quotes doubled;
// numbers in the C locale.
struct TrendCsv
{
    static QString quoted(const QString &text);
    static QString join(const QStringList &fields);
    // False when quotes do not close.
    static QStringList split(const QString &line, bool *ok);
    // A float with the digits it carries.
    static QString number(float value);
};
