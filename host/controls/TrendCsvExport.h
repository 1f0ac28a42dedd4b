#pragma once

#include "TrendRecordingFile.h"

#include <QIODevice>

// The recorded samples as a table: one row for each time a sample was taken
// or a marker set, in time order; the time in ISO 8601, then for each curve
// its value (with the unit in the header) and its status, then the notes of
// the markers at that time. A curve has a value only where its read
// succeeded; a failed read shows the status "no read" and no value, a curve
// not read at that time shows neither.
struct TrendCsvExport
{
    using Curves = std::array<TrendRecordingFile::CurveInfo, TrendRecordingFile::CurveCount>;
    using Samples = std::array<QList<TrendSample>, TrendRecordingFile::CurveCount>;
    using Markers = QList<TrendRecordingFile::Marker>;

    // False when the device could not take it all.
    static bool write(QIODevice &out, const Curves &curves, Samples samples,
                      const Markers &markers);
    static QString headerOf(const TrendRecordingFile::CurveInfo &curve);
};
