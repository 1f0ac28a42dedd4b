#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where child windows go in the document area, without widgets: a new window
// one step down and right of the last one, a window kept where its title bar
// and close button can be reached, and tiles no smaller than a window needs.
namespace ChildWindowPlacement {

// The place of the n-th window opened (0 first): a cascade that starts again
// at the top left when the window would leave the area.
QPoint cascadePosition(int n, QSize window, QSize area, int step);

// The frame moved back so that its title bar lies inside the area with its
// right end, where the close button is; a frame wider than the area keeps
// that end in sight and lets its left side go.
QRect keepInside(QRect frame, QSize area, int titleHeight);

// Side by side (Qt::Horizontal) or one above the other (Qt::Vertical), in as
// few rows or columns as give every window at least its minimum size. Empty
// when not even a grid leaves each window its minimum: then the caller
// cascades instead of squashing the windows' texts.
QList<QRect> tile(QSize area, const QList<QSize> &minimums, Qt::Orientation orientation);

} // namespace ChildWindowPlacement
