#include "VexaDisplayTexts.h"

#include "VexaControlTexts.h"

namespace {
struct Entry
{
    const char *english;
    const char *german;
};

// In the order of the ids.
const Entry Texts[] = {
    {"Pause", "Anhalten"},
    {"Resume", "Weiter"},
    {"Live", "Aktuell"},
    {"Zoom in", "Vergrößern"},
    {"Zoom out", "Verkleinern"},
    {"Marker", "Marke"},
    {"Note for the marker", "Notiz zur Marke"},
    {"Export table...", "Tabelle exportieren..."},
    {"Export picture...", "Bild exportieren..."},
    {"Samples in memory", "Werte im Speicher"},
    {"Whole recording", "Ganze Aufzeichnung"},
    {"Between two markers...", "Zwischen zwei Marken..."},
    {"Time", "Zeit"},
    {"no value", "kein Wert"},
    {"Export between markers", "Export zwischen Marken"},
    {"From", "Von"},
    {"To", "Bis"},
    {"Start of the recording", "Beginn der Aufzeichnung"},
    {"Now", "Jetzt"},
    {"Comma-separated values (*.csv)", "Kommagetrennte Werte (*.csv)"},
    {"PNG picture (*.png)", "PNG-Bild (*.png)"},
    {"%1 could not be written: %2", "%1 konnte nicht geschrieben werden: %2"},
    {"The recording cannot be written: %1", "Die Aufzeichnung kann nicht geschrieben werden: %1"},
    {"Click a curve's name to put its scale on the axis",
     "Namen einer Kurve anklicken, um ihre Skala an der Achse zu zeigen"},
    {"Points", "Punkte"},
    {"Input %", "Eingang %"},
    {"Output %", "Ausgang %"},
    {"Add point", "Punkt einfügen"},
    {"Remove point", "Punkt entfernen"},
    {"Linear", "Linear"},
    {"not connected", "nicht verbunden"},
    {"(click a name below or the axis for another curve)",
     "(für eine andere Kurve unten einen Namen oder die Achse anklicken)"},
    {"Sets a marker with the note at the cursor (click in the plot to place it), without a "
     "cursor at the newest time",
     "Setzt eine Marke mit der Notiz am Cursor (zum Setzen in die Kurven klicken), ohne Cursor "
     "beim neuesten Wert"},
    {"uncertain", "unsicher"},
    {"bad", "gestört"},
};
} // namespace

QString VexaDisplayTexts::text(Id id)
{
    const Entry &e = Texts[id];
    return QString::fromUtf8(VexaControlTexts::german() ? e.german : e.english);
}
