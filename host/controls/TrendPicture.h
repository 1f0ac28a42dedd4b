#pragma once

#include <QImage>
#include <QStringList>

class QFont;
class QPalette;
class QPixmap;

// The trend as a picture to keep: what the window shows, under a heading
// (the window's title with the device's tag, then the span of time shown),
// so that a picture found later still says what it is.
namespace TrendPicture {

// The window's title with the tag, then the span shown (one date when the
// span lies within a day).
QStringList heading(const QString &title, const QString &tag, qint64 startMs, qint64 endMs);
QImage compose(const QPixmap &body, const QStringList &heading, const QFont &font,
               const QPalette &palette);

} // namespace TrendPicture
