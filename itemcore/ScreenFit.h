#pragma once

#include <QRect>

class QWidget;

// Keeps windows where a person can reach them: whole on a screen's
// available area (no title bar under a panel, no edge beyond the display).
namespace ScreenFit {

// The rectangle moved (and, when larger, shrunk) to lie inside available;
// one that already lies inside is returned as it is.
QRect inside(const QRect &wanted, const QRect &available);
// A rectangle of the size given (at most available's) centred in available.
QRect centred(const QSize &size, const QRect &available);
// The available area of the screen that shows most of rect, or of the
// primary screen when none does.
QRect availableAround(const QRect &rect);

// A top-level window about to be shown: whole on its screen, centred on it
// when centre is set, otherwise moved only as far as needed.
void fitOnScreen(QWidget *window, bool centre);

} // namespace ScreenFit
