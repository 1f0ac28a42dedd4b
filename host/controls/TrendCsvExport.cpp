#include "TrendCsvExport.h"

#include "TrendCsv.h"

#include <limits>

namespace {
constexpr int Count = TrendRecordingFile::CurveCount;
} // namespace

QString TrendCsvExport::headerOf(const TrendRecordingFile::CurveInfo &curve)
{
    return curve.unit.isEmpty()
               ? curve.caption
               : curve.caption + QStringLiteral(" [") + curve.unit + QLatin1Char(']');
}

bool TrendCsvExport::write(QIODevice &out, const Curves &curves, const Samples &samples)
{
    // Curves that show nothing and recorded nothing have no column.
    QList<int> used;
    for (int c = 0; c < Count; ++c) {
        if (!curves[c].caption.isEmpty() || !samples[c].isEmpty())
            used << c;
    }
    QStringList header{QStringLiteral("time")};
    for (int c : used)
        header << TrendCsv::quoted(headerOf(curves[c]));
    header << QStringLiteral("status");
    bool ok = out.write((TrendCsv::join(header) + QLatin1Char('\n')).toUtf8()) >= 0;

    std::array<qsizetype, Count> next{};
    while (ok) {
        // The earliest time still to write opens the next row.
        qint64 time = std::numeric_limits<qint64>::max();
        for (int c : used) {
            if (next[c] < samples[c].size())
                time = std::min(time, samples[c][next[c]].timeMs);
        }
        if (time == std::numeric_limits<qint64>::max())
            break;
        QStringList row{TrendRecordingFile::isoTime(time)};
        TrendStatus worst = TrendStatus::Good;
        for (int c : used) {
            if (next[c] < samples[c].size() && samples[c][next[c]].timeMs == time) {
                const TrendSample &s = samples[c][next[c]++];
                row << (s.isGap() ? QString() : TrendCsv::number(s.value));
                worst = TrendStatusText::worse(worst, s.status);
            } else {
                row << QString();
            }
        }
        row << TrendStatusText::word(worst);
        ok = out.write((TrendCsv::join(row) + QLatin1Char('\n')).toUtf8()) >= 0;
    }
    return ok;
}
