#include "TrendRecorder.h"

#include <QSaveFile>

#include <algorithm>
#include <limits>
#include <utility>

namespace {
template <size_t... I>
std::array<TrendRing, sizeof...(I)> rings(int capacity, std::index_sequence<I...>)
{
    return {((void)I, TrendRing(capacity))...};
}
} // namespace

TrendRecorder::TrendRecorder(int capacity)
    : m_rings(rings(capacity, std::make_index_sequence<CurveCount>()))
{
}

TrendRecorder::~TrendRecorder() = default;

void TrendRecorder::setRecordingFolder(const QString &folder)
{
    m_file.reset();
    if (!folder.isEmpty())
        m_file = std::make_unique<TrendRecordingFile>(folder);
}

QString TrendRecorder::recordingFolder() const
{
    return m_file ? m_file->folder() : QString();
}

void TrendRecorder::setCurve(int curve, const CurveInfo &info, qint64 nowMs)
{
    if (curve < 0 || curve >= CurveCount)
        return;
    if (info.caption == m_curves[curve].caption && info.unit == m_curves[curve].unit)
        return;
    m_rings[curve].clear();
    m_curves[curve] = info;
    if (m_file)
        m_file->writeCurve(nowMs, curve, info);
}

bool TrendRecorder::append(int curve, const TrendSample &sample)
{
    if (curve < 0 || curve >= CurveCount)
        return false;
    TrendRing &ring = m_rings[curve];
    const int same = ring.lastAtOrBefore(sample.timeMs);
    if (same >= 0 && ring.timeAt(same) == sample.timeMs) {
        if (!ring.at(same).isGap() || sample.isGap())
            return false;
        ring.replace(same, sample);
    } else if (!ring.append(sample)) {
        return false;
    }
    // Read back, the later line of a time wins over a gap the same way.
    if (m_file)
        m_file->writeSample(curve, sample);
    return true;
}

void TrendRecorder::addMarker(qint64 timeMs, const QString &note)
{
    const auto later =
        std::upper_bound(m_markers.begin(), m_markers.end(), timeMs,
                         [](qint64 t, const Marker &marker) { return t < marker.timeMs; });
    const Marker &added = *m_markers.insert(later, {timeMs, note});
    if (m_file)
        m_file->writeMarker(added);
}

QList<TrendRecorder::Marker> TrendRecorder::markersIn(qint64 fromMs, qint64 toMs) const
{
    QList<Marker> in;
    for (const Marker &marker : m_markers) {
        if (marker.timeMs >= fromMs && marker.timeMs <= toMs)
            in.append(marker);
    }
    return in;
}

qint64 TrendRecorder::firstTime() const
{
    qint64 first = std::numeric_limits<qint64>::max();
    for (const TrendRing &ring : m_rings) {
        if (!ring.isEmpty())
            first = std::min(first, ring.timeAt(0));
    }
    return first == std::numeric_limits<qint64>::max() ? 0 : first;
}

qint64 TrendRecorder::lastTime() const
{
    qint64 last = 0;
    for (const TrendRing &ring : m_rings) {
        if (!ring.isEmpty())
            last = std::max(last, ring.timeAt(ring.size() - 1));
    }
    return last;
}

TrendCsvExport::Samples TrendRecorder::samplesInMemory(qint64 fromMs, qint64 toMs) const
{
    TrendCsvExport::Samples samples;
    for (int c = 0; c < CurveCount; ++c) {
        const TrendRing &ring = m_rings[c];
        const int end = ring.lowerBound(toMs + 1);
        for (int i = ring.lowerBound(fromMs); i < end; ++i)
            samples[c].append(ring.at(i));
    }
    return samples;
}

bool TrendRecorder::exportMemory(QIODevice &out, qint64 fromMs, qint64 toMs) const
{
    return TrendCsvExport::write(out, m_curves, samplesInMemory(fromMs, toMs),
                                 markersIn(fromMs, toMs));
}

bool TrendRecorder::exportRecording(QIODevice &out, qint64 fromMs, qint64 toMs) const
{
    if (!m_file)
        return exportMemory(out, fromMs, toMs);
    const TrendRecordingFile::Contents contents =
        TrendRecordingFile::read(m_file->folder(), fromMs, toMs);
    return TrendCsvExport::write(out, contents.curves, contents.samples, contents.markers);
}

size_t TrendRecorder::memoryBytes() const
{
    size_t bytes = sizeof(*this);
    for (const TrendRing &ring : m_rings)
        bytes += ring.memoryBytes();
    return bytes;
}

bool TrendRecorder::exportToFile(const QString &fileName, bool recording, qint64 fromMs,
                                 qint64 toMs, QString *error) const
{
    QSaveFile file(fileName);
    const auto failed = [&] {
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    const bool written =
        recording ? exportRecording(file, fromMs, toMs) : exportMemory(file, fromMs, toMs);
    if (!written) {
        failed();
        file.cancelWriting();
        return false;
    }
    return file.commit() || failed();
}
