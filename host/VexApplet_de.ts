<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>HostTexts</name>
    <message>
        <source>Open dataset</source>
        <translation>Datensatz öffnen</translation>
    </message>
    <message>
        <source>Save dataset as</source>
        <translation>Datensatz speichern unter</translation>
    </message>
    <message>
        <source>Save dataset</source>
        <translation>Datensatz speichern</translation>
    </message>
    <message>
        <source>Datasets (*.vexds);;All files (*)</source>
        <translation>Datensätze (*.vexds);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The dataset was not loaded.
%1</source>
        <translation>Der Datensatz wurde nicht geladen.
%1</translation>
    </message>
    <message>
        <source>The file was written by a newer device description. These values were left out:
%1</source>
        <translation>Die Datei stammt von einer neueren Gerätebeschreibung. Diese Werte wurden ausgelassen:
%1</translation>
    </message>
    <message>
        <source>and %1 more (%2 in all)</source>
        <translation>und %1 weitere (%2 insgesamt)</translation>
    </message>
    <message>
        <source>The dataset was not saved.
%1</source>
        <translation>Der Datensatz wurde nicht gespeichert.
%1</translation>
    </message>
    <message>
        <source>The HART link cannot be opened.</source>
        <translation>Die HART-Verbindung lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>No device answers at the polling address.</source>
        <translation>Unter der Polling-Adresse antwortet kein Gerät.</translation>
    </message>
    <message>
        <source>not a dataset file (not a regular file)</source>
        <translation>keine Datensatzdatei (keine gewöhnliche Datei)</translation>
    </message>
    <message>
        <source>the file is too large to be a dataset</source>
        <translation>die Datei ist zu groß für einen Datensatz</translation>
    </message>
    <message>
        <source>not a dataset file (%1 at byte %2)</source>
        <translation>keine Datensatzdatei (%1 bei Byte %2)</translation>
    </message>
    <message>
        <source>not a dataset file</source>
        <translation>keine Datensatzdatei</translation>
    </message>
    <message>
        <source>unknown dataset file version</source>
        <translation>unbekannte Version der Datensatzdatei</translation>
    </message>
    <message>
        <source>the dataset is for the device type &quot;%1&quot;, not &quot;%2&quot;</source>
        <translation>der Datensatz gehört zum Gerätetyp „%1“, nicht zu „%2“</translation>
    </message>
    <message>
        <source>the file holds no dataset values</source>
        <translation>die Datei enthält keine Datensatzwerte</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has the type &quot;%2&quot;, expected &quot;%3&quot;</source>
        <translation>„%1“ hat den Typ „%2“, erwartet „%3“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no value</source>
        <translation>„%1“ hat keinen Wert</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot hold the value &quot;%2&quot;</source>
        <translation>„%1“ kann den Wert „%2“ nicht aufnehmen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; appears twice</source>
        <translation>„%1“ kommt zweimal vor</translation>
    </message>
    <message>
        <source>the file could not be written whole</source>
        <translation>die Datei ließ sich nicht vollständig schreiben</translation>
    </message>
    <message>
        <source>the value %1 of &quot;%2&quot; is not a finite number</source>
        <translation>der Wert %1 von „%2“ ist keine endliche Zahl</translation>
    </message>
    <message>
        <source>the value %1 of &quot;%2&quot; is outside %3 to %4</source>
        <translation>der Wert %1 von „%2“ liegt außerhalb %3 bis %4</translation>
    </message>
    <message>
        <source>the value %1 of &quot;%2&quot; is not one of its codes (table &quot;%3&quot;)</source>
        <translation>der Wert %1 von „%2“ ist keiner seiner Codes (Tabelle „%3“)</translation>
    </message>
    <message>
        <source>the value %1 of &quot;%2&quot; does not fit its field in the record &quot;%3&quot;</source>
        <translation>der Wert %1 von „%2“ passt nicht in sein Feld von Kommando „%3“</translation>
    </message>
    <message>
        <source>%1: cannot create the folder</source>
        <translation>%1: der Ordner lässt sich nicht anlegen</translation>
    </message>
    <message>
        <source>%1: cannot write the file</source>
        <translation>%1: die Datei lässt sich nicht schreiben</translation>
    </message>
    <message>
        <source>The link to the device was lost.</source>
        <translation>Die Verbindung zum Gerät ist abgerissen.</translation>
    </message>
    <message>
        <source>%1
Next attempt to reconnect in %2 s (attempt %3).</source>
        <translation>%1
Nächster Versuch, die Verbindung wiederherzustellen, in %2 s (Versuch %3).</translation>
    </message>
    <message>
        <source>The device does not answer (time-out); the link itself is there.</source>
        <translation>Das Gerät antwortet nicht (Zeitüberschreitung); die Verbindung selbst besteht.</translation>
    </message>
    <message>
        <source>Write to the device</source>
        <translation>In das Gerät schreiben</translation>
    </message>
    <message>
        <source>After the link came back, another device answers: %1 instead of %2.
Nothing was written. Disconnect and connect again to work with this device.</source>
        <translation>Nach dem Wiederverbinden antwortet ein anderes Gerät: %1 statt %2.
Es wurde nichts geschrieben. Trennen und neu verbinden, um mit diesem Gerät zu arbeiten.</translation>
    </message>
    <message>
        <source>After the link came back, the device %1 did not confirm who it is.
Nothing was written.</source>
        <translation>Nach dem Wiederverbinden hat das Gerät %1 seine Identität nicht bestätigt.
Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The history cannot keep this change: %1

Write to the device all the same? The change will then be missing from the history.</source>
        <translation>Der Verlauf kann diese Änderung nicht festhalten: %1

Trotzdem in das Gerät schreiben? Die Änderung fehlt dann im Verlauf.</translation>
    </message>
    <message>
        <source>the disk of the history file %1 is full.</source>
        <translation>der Datenträger der Verlaufsdatei %1 ist voll.</translation>
    </message>
    <message>
        <source>the history file %1 is read-only.</source>
        <translation>die Verlaufsdatei %1 ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>the history file %1 cannot be written (%2).</source>
        <translation>die Verlaufsdatei %1 lässt sich nicht schreiben (%2).</translation>
    </message>
    <message>
        <source>The history file %1 was deleted or replaced while the program ran. A new one was made: the changes recorded before are not in it.</source>
        <translation>Die Verlaufsdatei %1 wurde während des Betriebs gelöscht oder ersetzt. Eine neue wurde angelegt: die zuvor festgehaltenen Änderungen sind nicht darin.</translation>
    </message>
    <message>
        <source>Manufacturer: %1
Device type: %2
HART revision: %3, device revision: %4
Unique id: %5
Tag: %6</source>
        <translation>Hersteller: %1
Gerätetyp: %2
HART-Revision: %3, Geräterevision: %4
Eindeutige Kennung: %5
Tag: %6</translation>
    </message>
    <message>
        <source>(not read)</source>
        <translation>(nicht gelesen)</translation>
    </message>
    <message>
        <source>A device of another maker or type answers at polling address %1:
%2</source>
        <translation>Unter der Polling-Adresse %1 antwortet ein Gerät eines anderen Herstellers oder Typs:
%2</translation>
    </message>
    <message>
        <source>The link is back, but another device answers at polling address %1:
%2

The device expected:
%3</source>
        <translation>Die Verbindung besteht wieder, doch unter der Polling-Adresse %1 antwortet ein anderes Gerät:
%2

Das erwartete Gerät:
%3</translation>
    </message>
</context>
<context>
    <name>TrendRecordingFile</name>
    <message>
        <source>the folder %1 cannot be created</source>
        <translation>der Ordner %1 lässt sich nicht anlegen</translation>
    </message>
</context>
<context>
    <name>VexaControlTexts</name>
    <message>
        <source>Invalid entry</source>
        <translation>Ungültige Eingabe</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number.</source>
        <translation>„%1“ ist keine Zahl.</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>Bitte eine ganze Zahl eingeben.</translation>
    </message>
    <message>
        <source>The value must lie between %1 and %2.</source>
        <translation>Der Wert muss zwischen %1 und %2 liegen.</translation>
    </message>
    <message>
        <source>The value must not be less than %1.</source>
        <translation>Der Wert darf nicht kleiner als %1 sein.</translation>
    </message>
    <message>
        <source>The value must not be greater than %1.</source>
        <translation>Der Wert darf nicht größer als %1 sein.</translation>
    </message>
    <message>
        <source>The text may hold at most %1 characters.</source>
        <translation>Der Text darf höchstens %1 Zeichen lang sein.</translation>
    </message>
    <message>
        <source>The device cannot store these characters: %1</source>
        <translation>Diese Zeichen kann das Gerät nicht speichern: %1</translation>
    </message>
    <message>
        <source>Please enter a date in the form %1.</source>
        <translation>Bitte ein Datum in der Form %1 eingeben.</translation>
    </message>
    <message>
        <source>Please enter bytes as pairs of hexadecimal digits, for example 0A 1F.</source>
        <translation>Bitte Bytes als Paare von Hexadezimalziffern eingeben, zum Beispiel 0A 1F.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not one of the values offered.</source>
        <translation>„%1“ ist keiner der angebotenen Werte.</translation>
    </message>
    <message>
        <source>The value was not accepted.</source>
        <translation>Der Wert wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>Changed, not yet written to the device</source>
        <translation>Geändert, noch nicht ins Gerät geschrieben</translation>
    </message>
</context>
<context>
    <name>VexaDisplayTexts</name>
    <message>
        <source>Pause</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Aktuell</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Marker</source>
        <translation>Marke</translation>
    </message>
    <message>
        <source>Note for the marker</source>
        <translation>Notiz zur Marke</translation>
    </message>
    <message>
        <source>Export table...</source>
        <translation>Tabelle exportieren...</translation>
    </message>
    <message>
        <source>Export picture...</source>
        <translation>Bild exportieren...</translation>
    </message>
    <message>
        <source>Samples in memory</source>
        <translation>Werte im Speicher</translation>
    </message>
    <message>
        <source>Whole recording</source>
        <translation>Ganze Aufzeichnung</translation>
    </message>
    <message>
        <source>Between two markers...</source>
        <translation>Zwischen zwei Marken...</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>no value</source>
        <translation>kein Wert</translation>
    </message>
    <message>
        <source>Export between markers</source>
        <translation>Export zwischen Marken</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Start of the recording</source>
        <translation>Beginn der Aufzeichnung</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>Comma-separated values (*.csv)</source>
        <translation>Kommagetrennte Werte (*.csv)</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The recording cannot be written: %1</source>
        <translation>Die Aufzeichnung kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Click a curve&apos;s name to put its scale on the axis</source>
        <translation>Namen einer Kurve anklicken, um ihre Skala an der Achse zu zeigen</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Input %</source>
        <translation>Eingang %</translation>
    </message>
    <message>
        <source>Output %</source>
        <translation>Ausgang %</translation>
    </message>
    <message>
        <source>Add point</source>
        <translation>Punkt einfügen</translation>
    </message>
    <message>
        <source>Remove point</source>
        <translation>Punkt entfernen</translation>
    </message>
    <message>
        <source>Linear</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
    <message>
        <source>(click a name below or the axis for another curve)</source>
        <translation>(für eine andere Kurve unten einen Namen oder die Achse anklicken)</translation>
    </message>
    <message>
        <source>Sets a marker with the note at the cursor (click in the plot to place it), without a cursor at the newest time</source>
        <translation>Setzt eine Marke mit der Notiz am Cursor (zum Setzen in die Kurven klicken), ohne Cursor beim neuesten Wert</translation>
    </message>
    <message>
        <source>uncertain</source>
        <translation>unsicher</translation>
    </message>
    <message>
        <source>bad</source>
        <translation>gestört</translation>
    </message>
</context>
<context>
    <name>clsHTMLPrintView</name>
    <message>
        <source>There is no report file: %1</source>
        <translation>Es gibt keine Berichtsdatei: %1</translation>
    </message>
</context>
<context>
    <name>clsHTMLPrintWindow</name>
    <message>
        <source>Device report</source>
        <translation>Gerätebericht</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>PDF exportieren...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF exportieren</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>The PDF file cannot be written: %1</source>
        <translation>Die PDF-Datei kann nicht geschrieben werden: %1</translation>
    </message>
</context>
</TS>
