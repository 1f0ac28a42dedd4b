#pragma once

#include "TrendSample.h"

#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <array>

// The recording of the trend as it comes, one file a day in a folder, so
// that a crash loses nothing and a recording longer than memory can still be
// exported. Each line is written and handed to the system at once; a line
// cut off by a crash is skipped when reading back.
//
// Lines (comma-separated, texts quoted):
//   C,<time>,<curve>,"<caption>","<unit>"   a curve shows this from now on
//   S,<time>,<curve>,<value>,<status>        a sample; no value for a gap
//   M,<time>,"<note>"                        a marker
// Times are ISO 8601 with milliseconds and the UTC offset.
class TrendRecordingFile
{
public:
    static constexpr int CurveCount = 4;

    struct CurveInfo
    {
        QString caption;
        QString unit;
    };

    struct Marker
    {
        qint64 timeMs = 0;
        QString note;
    };

    struct Contents
    {
        std::array<CurveInfo, CurveCount> curves; // as last defined in the range
        std::array<QList<TrendSample>, CurveCount> samples;
        QList<Marker> markers;
        int skippedLines = 0;
    };

    explicit TrendRecordingFile(const QString &folder);
    ~TrendRecordingFile();

    const QString &folder() const { return m_folder; }
    // The file of a day.
    QString fileName(const QDate &day) const;
    // The last write failed (a full disk, a folder that cannot be made).
    bool failed() const { return m_failed; }
    QString errorString() const { return m_error; }

    void writeCurve(qint64 timeMs, int curve, const CurveInfo &info);
    void writeSample(int curve, const TrendSample &sample);
    void writeMarker(const Marker &marker);

    // Everything recorded in [fromMs, toMs] from the day files of the range.
    static Contents read(const QString &folder, qint64 fromMs, qint64 toMs);
    // One line read back; false for a line that is not one of ours.
    static bool parseLine(const QString &line, Contents &into, qint64 fromMs, qint64 toMs);

    static QString isoTime(qint64 timeMs);
    static qint64 parseIsoTime(const QString &text, bool *ok);

private:
    void write(qint64 timeMs, const QString &line);
    bool openFor(const QDate &day, qint64 timeMs);

    QString m_folder;
    QFile m_file;
    QDate m_day;
    std::array<CurveInfo, CurveCount> m_curves;
    std::array<bool, CurveCount> m_defined{};
    bool m_failed = false;
    QString m_error;
};
