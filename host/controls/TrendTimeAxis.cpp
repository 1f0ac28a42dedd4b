#include "TrendTimeAxis.h"

#include <QDateTime>
#include <QLocale>
#include <iterator>

namespace {
constexpr qint64 Second = 1000;
constexpr qint64 Minute = 60 * Second;
constexpr qint64 Hour = 60 * Minute;
const qint64 Steps[] = {1 * Second, 2 * Second, 5 * Second, 10 * Second, 15 * Second, 30 * Second,
                        1 * Minute, 2 * Minute, 5 * Minute, 10 * Minute, 15 * Minute, 30 * Minute,
                        1 * Hour,   2 * Hour,   3 * Hour,   6 * Hour,    12 * Hour,   24 * Hour};
} // namespace

TrendTimeAxis TrendTimeAxis::make(qint64 fromMs, qint64 toMs, int widthPx, int minSpacingPx)
{
    TrendTimeAxis axis;
    if (toMs <= fromMs || widthPx <= 0)
        return axis;
    const double msPerPx = double(toMs - fromMs) / widthPx;
    axis.stepMs = Steps[std::size(Steps) - 1];
    for (qint64 step : Steps) {
        if (step / msPerPx >= minSpacingPx) {
            axis.stepMs = step;
            break;
        }
    }
    // Round in local time, so that hours fall on the hour where the user is.
    const qint64 offset = qint64(QDateTime::fromMSecsSinceEpoch(fromMs).offsetFromUtc()) * 1000;
    qint64 t = ((fromMs + offset) / axis.stepMs) * axis.stepMs - offset;
    if (t < fromMs)
        t += axis.stepMs;
    for (; t <= toMs && axis.ticks.size() < 1000; t += axis.stepMs)
        axis.ticks.append(t);
    return axis;
}

QString TrendTimeAxis::label(qint64 timeMs, qint64 stepMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(timeMs);
    if (stepMs >= Hour && local.time().hour() == 0 && local.time().minute() == 0)
        return QLocale().toString(local.date(), QLocale::ShortFormat);
    return local.toString(stepMs < Minute ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
}
