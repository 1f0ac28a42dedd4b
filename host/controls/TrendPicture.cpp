#include "TrendPicture.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <cmath>

namespace TrendPicture {

QStringList heading(const QString &title, const QString &tag, qint64 startMs, qint64 endMs)
{
    QString name = title;
    if (!tag.isEmpty())
        name = name.isEmpty() ? tag : name + QStringLiteral(": ") + tag;
    const QLocale locale;
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(startMs);
    const QDateTime end = QDateTime::fromMSecsSinceEpoch(endMs);
    const auto dateTime = [&locale](const QDateTime &t) {
        return locale.toString(t.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               t.toString(QStringLiteral("HH:mm:ss"));
    };
    const QString span =
        dateTime(start) + QStringLiteral(" \u2013 ") +
        (start.date() == end.date() ? end.toString(QStringLiteral("HH:mm:ss")) : dateTime(end));
    return name.isEmpty() ? QStringList{span} : QStringList{name, span};
}

QImage compose(const QPixmap &body, const QStringList &heading, const QFont &font,
               const QPalette &palette)
{
    QFont bold = font;
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics(font);
    constexpr int Pad = 6;
    const int headingHeight =
        Pad + boldMetrics.height() + int(heading.size() - 1) * metrics.height() + Pad;
    const qreal ratio = body.devicePixelRatio();
    const int width = int(body.width() / ratio);
    QImage image(body.width(), body.height() + int(std::ceil(headingHeight * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(palette.color(QPalette::Window));
    QPainter p(&image);
    p.setPen(palette.color(QPalette::WindowText));
    int baseline = Pad + boldMetrics.ascent();
    for (qsizetype i = 0; i < heading.size(); ++i) {
        const QFontMetrics &m = i == 0 ? boldMetrics : metrics;
        p.setFont(i == 0 ? bold : font);
        p.drawText(QPointF(Pad, baseline),
                   m.elidedText(heading[i], Qt::ElideRight, width - 2 * Pad));
        baseline += i == 0 ? boldMetrics.descent() + metrics.ascent() : metrics.height();
    }
    p.drawPixmap(QPointF(0, headingHeight), body);
    return image;
}

} // namespace TrendPicture
