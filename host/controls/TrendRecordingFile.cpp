#include "TrendRecordingFile.h"

#include "TrendCsv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {
const QString Header = QStringLiteral("# trend recording 1");

QDate localDay(qint64 timeMs)
{
    return QDateTime::fromMSecsSinceEpoch(timeMs).date();
}
} // namespace

TrendRecordingFile::TrendRecordingFile(const QString &folder) : m_folder(folder) {}

TrendRecordingFile::~TrendRecordingFile() = default;

QString TrendRecordingFile::fileName(const QDate &day) const
{
    return QDir(m_folder).filePath(QStringLiteral("trend-%1.csv").arg(day.toString(Qt::ISODate)));
}

QString TrendRecordingFile::isoTime(qint64 timeMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(timeMs);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

qint64 TrendRecordingFile::parseIsoTime(const QString &text, bool *ok)
{
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    *ok = time.isValid();
    return time.isValid() ? time.toMSecsSinceEpoch() : 0;
}

bool TrendRecordingFile::openFor(const QDate &day, qint64 timeMs)
{
    if (m_file.isOpen() && day == m_day)
        return true;
    m_file.close();
    m_day = day;
    if (!QDir().mkpath(m_folder)) {
        m_failed = true;
        m_error =
            QCoreApplication::translate("TrendRecordingFile", "the folder %1 cannot be created")
                .arg(m_folder);
        return false;
    }
    m_file.setFileName(fileName(day));
    const bool fresh = !m_file.exists() || m_file.size() == 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    if (fresh)
        m_file.write((Header + QLatin1Char('\n')).toUtf8());
    else if (m_file.size() > 0)
        // A line cut off by a crash must not swallow the next one.
        m_file.write("\n");
    // Each day's file tells which curve is which on its own.
    for (int c = 0; c < CurveCount; ++c) {
        if (m_defined[c])
            m_file.write((TrendCsv::join({QStringLiteral("C"), isoTime(timeMs), QString::number(c),
                                          TrendCsv::quoted(m_curves[c].caption),
                                          TrendCsv::quoted(m_curves[c].unit)}) +
                          QLatin1Char('\n'))
                             .toUtf8());
    }
    return true;
}

void TrendRecordingFile::write(qint64 timeMs, const QString &line)
{
    if (!openFor(localDay(timeMs), timeMs))
        return;
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    // Handed to the system at once: a crash of the program loses nothing.
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        m_failed = true;
        m_error = m_file.errorString();
        return;
    }
    m_failed = false;
}

void TrendRecordingFile::writeCurve(qint64 timeMs, int curve, const CurveInfo &info)
{
    if (curve < 0 || curve >= CurveCount)
        return;
    m_curves[curve] = info;
    m_defined[curve] = true;
    write(timeMs, TrendCsv::join({QStringLiteral("C"), isoTime(timeMs), QString::number(curve),
                                  TrendCsv::quoted(info.caption), TrendCsv::quoted(info.unit)}));
}

void TrendRecordingFile::writeSample(int curve, const TrendSample &sample)
{
    if (curve < 0 || curve >= CurveCount)
        return;
    const QString value = sample.isGap() ? QString() : TrendCsv::number(sample.value);
    write(sample.timeMs,
          TrendCsv::join({QStringLiteral("S"), isoTime(sample.timeMs), QString::number(curve),
                          value, TrendStatusText::word(sample.status)}));
}

void TrendRecordingFile::writeMarker(const Marker &marker)
{
    write(marker.timeMs, TrendCsv::join({QStringLiteral("M"), isoTime(marker.timeMs),
                                         TrendCsv::quoted(marker.note)}));
}

bool TrendRecordingFile::parseLine(const QString &line, Contents &into, qint64 fromMs, qint64 toMs)
{
    bool ok = false;
    const QStringList f = TrendCsv::split(line, &ok);
    if (!ok || f.size() < 3)
        return false;
    const qint64 time = parseIsoTime(f[1], &ok);
    if (!ok)
        return false;
    const QString &kind = f[0];
    if (kind == QLatin1String("M") && f.size() == 3) {
        if (time >= fromMs && time <= toMs)
            into.markers.append({time, f[2]});
        return true;
    }
    const int curve = f[2].toInt(&ok);
    if (!ok || curve < 0 || curve >= CurveCount)
        return false;
    if (kind == QLatin1String("C") && f.size() == 5) {
        // The curve as it was when the range began, or changed inside it.
        if (time <= toMs)
            into.curves[curve] = {f[3], f[4]};
        return true;
    }
    if (kind != QLatin1String("S") || f.size() != 5)
        return false;
    const TrendStatus status = TrendStatusText::fromWord(f[4], &ok);
    if (!ok)
        return false;
    TrendSample sample{time, 0.0f, status};
    if (!sample.isGap()) {
        sample.value = QLocale::c().toFloat(f[3], &ok);
        if (!ok)
            return false;
    } else if (!f[3].isEmpty()) {
        return false;
    }
    if (time >= fromMs && time <= toMs)
        into.samples[curve].append(sample);
    return true;
}

TrendRecordingFile::Contents TrendRecordingFile::read(const QString &folder, qint64 fromMs,
                                                      qint64 toMs)
{
    Contents contents;
    TrendRecordingFile names(folder);
    // Each day file begins with the curves as they were at its first line.
    for (QDate day = localDay(fromMs); day <= localDay(toMs); day = day.addDays(1)) {
        QFile file(names.fileName(day));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            if (!parseLine(line, contents, fromMs, toMs))
                ++contents.skippedLines;
        }
    }
    // A read that ended after a later gap, a second record of one read, a
    // marker set at an earlier time: lines in the order they came, not in time.
    for (QList<TrendSample> &samples : contents.samples)
        TrendSamples::normalise(samples);
    std::stable_sort(contents.markers.begin(), contents.markers.end(),
                     [](const Marker &a, const Marker &b) { return a.timeMs < b.timeMs; });
    return contents;
}
