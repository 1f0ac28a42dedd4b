#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ScreenFit {

QRect inside(const QRect &wanted, const QRect &available)
{
    if (available.isEmpty())
        return wanted;
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

QRect centred(const QSize &size, const QRect &available)
{
    QRect placed(QPoint(), size.boundedTo(available.size()));
    placed.moveCenter(available.center());
    return placed;
}

QRect availableAround(const QRect &rect)
{
    const QScreen *best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (!best)
        best = QGuiApplication::primaryScreen();
    return best ? best->availableGeometry() : QRect();
}

void fitOnScreen(QWidget *window, bool centre)
{
    if (!window)
        return;
    // The frame a window manager adds is known once the window was shown;
    // before that only the client area counts.
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect available = availableAround(frame);
    const QRect placed = centre ? centred(frame.size(), available) : inside(frame, available);
    if (placed == frame)
        return;
    window->resize(placed.size().shrunkBy(margins));
    window->move(placed.topLeft());
}

} // namespace ScreenFit
