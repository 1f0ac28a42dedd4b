#pragma once

#include "TrendCsvExport.h"
#include "TrendRecordingFile.h"
#include "TrendRing.h"

#include <QList>
#include <array>
#include <memory>

// The trend's record, apart from any drawing: four curves, each with its
// caption and unit and its samples in a ring of bounded size, the markers
// set by the user, and, when a folder is given, the recording to day files
// as the samples come.
class TrendRecorder
{
public:
    static constexpr int CurveCount = TrendRecordingFile::CurveCount;
    // A day and an hour at one sample a second.
    static constexpr int DefaultCapacity = 25 * 3600;

    using CurveInfo = TrendRecordingFile::CurveInfo;
    using Marker = TrendRecordingFile::Marker;

    explicit TrendRecorder(int capacity = DefaultCapacity);
    ~TrendRecorder();

    // Records to day files in the folder from now on; empty: memory only.
    void setRecordingFolder(const QString &folder);
    QString recordingFolder() const;
    const TrendRecordingFile *recordingFile() const { return m_file.get(); }

    // A curve that shows another quantity starts afresh in memory (the
    // recording keeps what it showed before).
    void setCurve(int curve, const CurveInfo &info, qint64 nowMs);
    const CurveInfo &curve(int curve) const { return m_curves[curve]; }
    const TrendRing &ring(int curve) const { return m_rings[curve]; }
    // One sample a time a curve: a second one at the same time (another
    // record of the same read) only replaces a gap. False when not kept.
    bool append(int curve, const TrendSample &sample);

    void addMarker(qint64 timeMs, const QString &note);
    // In time order.
    const QList<Marker> &markers() const { return m_markers; }
    QList<Marker> markersIn(qint64 fromMs, qint64 toMs) const;

    // Oldest and newest time in memory over all curves (0 when empty).
    qint64 firstTime() const;
    qint64 lastTime() const;

    TrendCsvExport::Samples samplesInMemory(qint64 fromMs, qint64 toMs) const;
    bool exportMemory(QIODevice &out, qint64 fromMs, qint64 toMs) const;
    // From the recording files: also what the ring no longer holds.
    bool exportRecording(QIODevice &out, qint64 fromMs, qint64 toMs) const;
    // Either of them into a file that is whole or not there: false, and why
    // in error, when it could not be written.
    bool exportToFile(const QString &fileName, bool recording, qint64 fromMs, qint64 toMs,
                      QString *error) const;

    size_t memoryBytes() const;

private:
    std::array<CurveInfo, CurveCount> m_curves;
    std::array<TrendRing, CurveCount> m_rings;
    QList<Marker> m_markers;
    std::unique_ptr<TrendRecordingFile> m_file;
};
