#pragma once

#include "TrendRecordingFile.h"

#include <QIODevice>

// The recorded samples as a table: the time in ISO 8601, one column per
// curve with its unit in the header, and a status column (the worst of the
// row). Samples of several curves taken at the same time share a row; a gap
// is an empty cell with the status "no read".
struct TrendCsvExport
{
    using Curves = std::array<TrendRecordingFile::CurveInfo, TrendRecordingFile::CurveCount>;
    using Samples = std::array<QList<TrendSample>, TrendRecordingFile::CurveCount>;

    // False when the device could not take it all.
    static bool write(QIODevice &out, const Curves &curves, const Samples &samples);
    static QString headerOf(const TrendRecordingFile::CurveInfo &curve);
};
