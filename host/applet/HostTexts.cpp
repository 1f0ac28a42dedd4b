#include "HostTexts.h"

#include <QLocale>

namespace {
struct Entry
{
    const char *english;
    const char *german;
};

// In the order of HostTexts::Id.
const Entry Texts[] = {
    {"Open dataset", "Datensatz öffnen"},
    {"Save dataset as", "Datensatz speichern unter"},
    {"Save dataset", "Datensatz speichern"},
    {"Datasets (*.vexds);;All files (*)", "Datensätze (*.vexds);;Alle Dateien (*)"},
    {"The dataset was not loaded.\n%1", "Der Datensatz wurde nicht geladen.\n%1"},
    {"The file was written by a newer device description. These values were left out:\n%1",
     "Die Datei stammt von einer neueren Gerätebeschreibung. Diese Werte wurden "
     "ausgelassen:\n%1"},
    {"and %1 more (%2 in all)", "und %1 weitere (%2 insgesamt)"},
    {"The dataset was not saved.\n%1", "Der Datensatz wurde nicht gespeichert.\n%1"},
    {"The HART link cannot be opened.", "Die HART-Verbindung lässt sich nicht öffnen."},
    {"No device answers at the polling address.",
     "Unter der Polling-Adresse antwortet kein Gerät."},
    {"not a dataset file (not a regular file)", "keine Datensatzdatei (keine gewöhnliche Datei)"},
    {"the file is too large to be a dataset", "die Datei ist zu groß für einen Datensatz"},
    {"not a dataset file (%1 at byte %2)", "keine Datensatzdatei (%1 bei Byte %2)"},
    {"not a dataset file", "keine Datensatzdatei"},
    {"unknown dataset file version", "unbekannte Version der Datensatzdatei"},
    {"the dataset is for the device type \"%1\", not \"%2\"",
     "der Datensatz gehört zum Gerätetyp „%1“, nicht zu „%2“"},
    {"the file holds no dataset values", "die Datei enthält keine Datensatzwerte"},
    {"\"%1\" has the type \"%2\", expected \"%3\"", "„%1“ hat den Typ „%2“, erwartet „%3“"},
    {"\"%1\" has no value", "„%1“ hat keinen Wert"},
    {"\"%1\" cannot hold the value \"%2\"", "„%1“ kann den Wert „%2“ nicht aufnehmen"},
    {"\"%1\" appears twice", "„%1“ kommt zweimal vor"},
    {"the file could not be written whole", "die Datei ließ sich nicht vollständig schreiben"},
    {"the value %1 of \"%2\" is not a finite number",
     "der Wert %1 von „%2“ ist keine endliche Zahl"},
    {"the value %1 of \"%2\" is outside %3 to %4",
     "der Wert %1 von „%2“ liegt außerhalb %3 bis %4"},
    {"the value %1 of \"%2\" is not one of its codes (table \"%3\")",
     "der Wert %1 von „%2“ ist keiner seiner Codes (Tabelle „%3“)"},
    {"the value %1 of \"%2\" does not fit its field in the record \"%3\"",
     "der Wert %1 von „%2“ passt nicht in sein Feld von Kommando „%3“"},
    {"%1: cannot create the folder", "%1: der Ordner lässt sich nicht anlegen"},
    {"%1: cannot write the file", "%1: die Datei lässt sich nicht schreiben"},
    {"The link to the device was lost.", "Die Verbindung zum Gerät ist abgerissen."},
    {"%1\nNext attempt to reconnect in %2 s (attempt %3).",
     "%1\nNächster Versuch, die Verbindung wiederherzustellen, in %2 s (Versuch %3)."},
    {"The device does not answer (time-out); the link itself is there.",
     "Das Gerät antwortet nicht (Zeitüberschreitung); die Verbindung selbst besteht."},
    {"Write to the device", "In das Gerät schreiben"},
    {"After the link came back, another device answers: %1 instead of %2.\nNothing was "
     "written. Disconnect and connect again to work with this device.",
     "Nach dem Wiederverbinden antwortet ein anderes Gerät: %1 statt %2.\nEs wurde nichts "
     "geschrieben. Trennen und neu verbinden, um mit diesem Gerät zu arbeiten."},
    {"After the link came back, the device %1 did not confirm who it is.\nNothing was "
     "written.",
     "Nach dem Wiederverbinden hat das Gerät %1 seine Identität nicht bestätigt.\nEs wurde "
     "nichts geschrieben."},
    {"The history cannot keep this change: %1\n\nWrite to the device all the same? The "
     "change will then be missing from the history.",
     "Der Verlauf kann diese Änderung nicht festhalten: %1\n\nTrotzdem in das Gerät "
     "schreiben? Die Änderung fehlt dann im Verlauf."},
    {"the disk of the history file %1 is full.", "der Datenträger der Verlaufsdatei %1 ist voll."},
    {"the history file %1 is read-only.", "die Verlaufsdatei %1 ist schreibgeschützt."},
    {"the history file %1 cannot be written (%2).",
     "die Verlaufsdatei %1 lässt sich nicht schreiben (%2)."},
    {"The history file %1 was deleted or replaced while the program ran. A new one was made: "
     "the changes recorded before are not in it.",
     "Die Verlaufsdatei %1 wurde während des Betriebs gelöscht oder ersetzt. Eine neue wurde "
     "angelegt: die zuvor festgehaltenen Änderungen sind nicht darin."},
};
static_assert(sizeof(Texts) / sizeof(Texts[0]) == HostTexts::HistoryRecreated + 1);
} // namespace

QString HostTexts::text(Id id)
{
    const Entry &entry = Texts[id];
    return QString::fromUtf8(QLocale().language() == QLocale::German ? entry.german
                                                                     : entry.english);
}
