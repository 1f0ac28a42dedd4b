#include "VexaDisplayTexts.h"

#include <QCoreApplication>

namespace {
// In the order of the ids.
const char *const Texts[] = {
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Pause"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Resume"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Live"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Zoom in"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Zoom out"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Marker"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Note for the marker"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Export table..."),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Export picture..."),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Samples in memory"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Whole recording"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Between two markers..."),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Time"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "no value"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Export between markers"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "From"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "To"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Start of the recording"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Now"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Comma-separated values (*.csv)"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "PNG picture (*.png)"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "%1 could not be written: %2"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "The recording cannot be written: %1"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Click a curve's name to put its scale on the axis"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Points"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Input %"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Output %"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Add point"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Remove point"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "Linear"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "not connected"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "(click a name below or the axis for another curve)"),
    QT_TRANSLATE_NOOP(
        "VexaDisplayTexts",
        "Sets a marker with the note at the cursor (click in the plot to place it), without a "
        "cursor at the newest time"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "uncertain"),
    QT_TRANSLATE_NOOP("VexaDisplayTexts", "bad"),
};
static_assert(sizeof(Texts) / sizeof(Texts[0]) == VexaDisplayTexts::StatusBad + 1);
} // namespace

QString VexaDisplayTexts::text(Id id)
{
    return QCoreApplication::translate("VexaDisplayTexts", Texts[id]);
}
