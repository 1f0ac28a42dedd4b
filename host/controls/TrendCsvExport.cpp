#include "TrendCsvExport.h"

#include "TrendCsv.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int Count = TrendRecordingFile::CurveCount;
constexpr qint64 None = std::numeric_limits<qint64>::max();
} // namespace

QString TrendCsvExport::headerOf(const TrendRecordingFile::CurveInfo &curve)
{
    return curve.unit.isEmpty()
               ? curve.caption
               : curve.caption + QStringLiteral(" [") + curve.unit + QLatin1Char(']');
}

bool TrendCsvExport::write(QIODevice &out, const Curves &curves, Samples samples,
                           const Markers &markers)
{
    // Curves that show nothing and recorded nothing have no columns.
    QList<int> used;
    for (int c = 0; c < Count; ++c) {
        TrendSamples::normalise(samples[c]);
        if (!curves[c].caption.isEmpty() || !samples[c].isEmpty())
            used << c;
    }
    Markers notes = markers;
    std::stable_sort(notes.begin(), notes.end(),
                     [](const auto &a, const auto &b) { return a.timeMs < b.timeMs; });

    QStringList header{QStringLiteral("time")};
    for (int c : used) {
        header << TrendCsv::quoted(headerOf(curves[c]))
               << TrendCsv::quoted(curves[c].caption + QStringLiteral(" status"));
    }
    header << QStringLiteral("marker");
    bool ok = out.write((TrendCsv::join(header) + QLatin1Char('\n')).toUtf8()) >= 0;

    std::array<qsizetype, Count> next{};
    qsizetype nextNote = 0;
    while (ok) {
        // The earliest time still to write opens the next row.
        qint64 time = nextNote < notes.size() ? notes[nextNote].timeMs : None;
        for (int c : used) {
            if (next[c] < samples[c].size())
                time = std::min(time, samples[c][next[c]].timeMs);
        }
        if (time == None)
            break;
        QStringList row{TrendRecordingFile::isoTime(time)};
        for (int c : used) {
            if (next[c] < samples[c].size() && samples[c][next[c]].timeMs == time) {
                const TrendSample &s = samples[c][next[c]++];
                row << (s.isGap() ? QString() : TrendCsv::number(s.value))
                    << TrendStatusText::word(s.status);
            } else {
                row << QString() << QString();
            }
        }
        QStringList rowNotes;
        for (; nextNote < notes.size() && notes[nextNote].timeMs == time; ++nextNote)
            rowNotes << notes[nextNote].note;
        row << (rowNotes.isEmpty() ? QString()
                                   : TrendCsv::quoted(rowNotes.join(QStringLiteral("; "))));
        ok = out.write((TrendCsv::join(row) + QLatin1Char('\n')).toUtf8()) >= 0;
    }
    return ok;
}
