#include "ChildWindowPlacement.h"

#include <algorithm>

namespace ChildWindowPlacement {

QPoint cascadePosition(int n, QSize window, QSize area, int step)
{
    if (step <= 0)
        return {0, 0};
    // How many steps fit before the window would leave the area.
    const int roomX = std::max(0, area.width() - window.width()) / step;
    const int roomY = std::max(0, area.height() - window.height()) / step;
    const int steps = std::max(1, std::min(roomX, roomY) + 1);
    const int k = n % steps;
    return {k * step, k * step};
}

QRect keepInside(QRect frame, QSize area, int titleHeight)
{
    QPoint at = frame.topLeft();
    // The close button sits at the right end of the title bar.
    if (frame.width() <= area.width())
        at.setX(std::clamp(at.x(), 0, area.width() - frame.width()));
    else
        at.setX(area.width() - frame.width());
    at.setY(std::clamp(at.y(), 0, std::max(0, area.height() - titleHeight)));
    frame.moveTopLeft(at);
    return frame;
}

namespace {

// Cells in lines (rows when side by side, columns when stacked): the window
// i lies in line i / perLine, the last line's windows share it evenly.
QList<QRect> cells(QSize area, int count, int lines, Qt::Orientation orientation)
{
    const bool sideBySide = orientation == Qt::Horizontal;
    const int perLine = (count + lines - 1) / lines;
    const int across = sideBySide ? area.height() : area.width();
    const int along = sideBySide ? area.width() : area.height();
    QList<QRect> result;
    for (int i = 0; i < count; ++i) {
        const int line = i / perLine;
        const int inLine = std::min(perLine, count - line * perLine);
        const int pos = i % perLine;
        const int a0 = line * across / lines, a1 = (line + 1) * across / lines;
        const int b0 = pos * along / inLine, b1 = (pos + 1) * along / inLine;
        result << (sideBySide ? QRect(QPoint(b0, a0), QPoint(b1 - 1, a1 - 1))
                              : QRect(QPoint(a0, b0), QPoint(a1 - 1, b1 - 1)));
    }
    return result;
}

} // namespace

QList<QRect> tile(QSize area, const QList<QSize> &minimums, Qt::Orientation orientation)
{
    const int count = int(minimums.size());
    for (int lines = 1; lines <= count; ++lines) {
        const QList<QRect> candidate = cells(area, count, lines, orientation);
        bool fits = true;
        for (int i = 0; i < count && fits; ++i)
            fits = candidate[i].width() >= minimums[i].width() &&
                   candidate[i].height() >= minimums[i].height();
        if (fits)
            return candidate;
    }
    return {};
}

} // namespace ChildWindowPlacement
