<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CommandLine</name>
    <message>
        <source>--address takes a polling address from 0 to 15, not %1</source>
        <translation>--address verlangt eine Polling-Adresse von 0 bis 15, nicht %1</translation>
    </message>
    <message>
        <source>--link-speed takes bit/s (0: no wire time), not %1</source>
        <translation>--link-speed verlangt Bit/s (0: ohne Leitungszeit), nicht %1</translation>
    </message>
    <message>
        <source>--hold takes seconds from 0 to 3600, not %1</source>
        <translation>--hold verlangt Sekunden von 0 bis 3600, nicht %1</translation>
    </message>
    <message>
        <source>--lang takes de or en, not %1</source>
        <translation>--lang verlangt de oder en, nicht %1</translation>
    </message>
    <message>
        <source>unknown option --%1</source>
        <translation>unbekannte Option --%1</translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation>--%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--%1 does not go with %2</source>
        <translation>--%1 passt nicht zu %2</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>unbekannter Befehl %1</translation>
    </message>
    <message>
        <source>%1 needs --link</source>
        <translation>%1 braucht --link</translation>
    </message>
    <message>
        <source>%1 needs --address</source>
        <translation>%1 braucht --address</translation>
    </message>
    <message>
        <source>--address does not go with %1</source>
        <translation>--address passt nicht zu %1</translation>
    </message>
    <message>
        <source>hartctl --help lists the commands and options.</source>
        <translation>hartctl --help listet die Befehle und Optionen auf.</translation>
    </message>
    <message>
        <source>Usage: hartctl COMMAND --link LINK [options] [arguments]

Commands:
  scan [--tag TAG]                  the devices on the loop
  identify --address N              who answers at the polling address
  read --address N [--out FILE]     the dataset (or a device&apos;s universal values)
  write --address N FILE.vexds      writes a dataset file (--dry-run, --yes)
  set --address N NAME=VALUE...     writes single values: tag, descriptor,
                                    message, lrv, urv, unit, damping, transfer
  commission SHEET.csv              one row a device (--continue-on-error)
  loop-test --address N MA...       fixed currents (--hold SECONDS or Enter)
  report --address N --pdf FILE     the printed report

Options:
  --link sim|serial:DEV|hartip:HOST[:PORT][/udp]
  --json              machine-readable output
  --yes               write without asking
  --history FILE      the history database (default: the user&apos;s)
  --capture FILE      a traffic record (pcap) of everything sent and received
  --lang de|en        the language of the output
  --link-speed BIT/S  wire time of the built-in simulated transmitter

Exit codes: 0 done, 1 a device refused or differed, 2 bad input,
3 link failure, 130 interrupted (Ctrl+C; a fixed loop current is released).
</source>
        <translation>Aufruf: hartctl BEFEHL --link VERBINDUNG [Optionen] [Argumente]

Befehle:
  scan [--tag TAG]                  die Geräte in der Schleife
  identify --address N              wer an der Polling-Adresse antwortet
  read --address N [--out DATEI]    der Datensatz (oder die universellen Werte eines Geräts)
  write --address N DATEI.vexds     schreibt eine Datensatzdatei (--dry-run, --yes)
  set --address N NAME=WERT...      schreibt einzelne Werte: tag, descriptor,
                                    message, lrv, urv, unit, damping, transfer
  commission TABELLE.csv            eine Zeile je Gerät (--continue-on-error)
  loop-test --address N MA...       feste Ströme (--hold SEKUNDEN oder Eingabetaste)
  report --address N --pdf DATEI    der gedruckte Bericht

Optionen:
  --link sim|serial:GERÄT|hartip:HOST[:PORT][/udp]
  --json              maschinenlesbare Ausgabe
  --yes               schreiben ohne Rückfrage
  --history DATEI     die Historiendatenbank (Vorgabe: die des Benutzers)
  --capture DATEI     eine Verkehrsaufzeichnung (pcap) von allem Gesendeten und Empfangenen
  --lang de|en        die Sprache der Ausgabe
  --link-speed BIT/S  Leitungszeit des eingebauten simulierten Transmitters

Rückgabewerte: 0 erledigt, 1 ein Gerät hat abgelehnt oder weicht ab, 2 ungültige Eingabe,
3 Verbindungsfehler, 130 abgebrochen (Strg+C; ein fester Schleifenstrom wird freigegeben).
</translation>
    </message>
</context>
<context>
    <name>CommissionCommand</name>
    <message>
        <source>commission takes one sheet (CSV)</source>
        <translation>commission verlangt eine Tabelle (CSV)</translation>
    </message>
    <message>
        <source>nothing written: confirm with --yes when no one is at a terminal</source>
        <translation>nichts geschrieben: ohne jemanden am Terminal mit --yes bestätigen</translation>
    </message>
    <message>
        <source>not done</source>
        <translation>nicht ausgeführt</translation>
    </message>
    <message>
        <source>--- line %1: %2</source>
        <translation>--- Zeile %1: %2</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>geprüft</translation>
    </message>
    <message>
        <source>done</source>
        <translation>erledigt</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>%1 of %2 devices failed.</source>
        <translation>%1 von %2 Geräten fehlgeschlagen.</translation>
    </message>
    <message>
        <source>the device at address %1 carries the tag %2, not %3</source>
        <translation>das Gerät an Adresse %1 trägt die Messstellenbezeichnung %2, nicht %3</translation>
    </message>
    <message>
        <source>the device is %1, not %2</source>
        <translation>das Gerät ist %1, nicht %2</translation>
    </message>
    <message>
        <source>no device answers to the tag %1</source>
        <translation>kein Gerät antwortet auf die Messstellenbezeichnung %1</translation>
    </message>
</context>
<context>
    <name>CommissionSheet</name>
    <message>
        <source>%1: no such file</source>
        <translation>%1: Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>%1: too large for a commissioning sheet</source>
        <translation>%1: zu groß für eine Inbetriebnahmetabelle</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: the sheet is empty</source>
        <translation>%1: die Tabelle ist leer</translation>
    </message>
    <message>
        <source>%1, line %2: column &quot;%3&quot; %4 (columns: %5)</source>
        <translation>%1, Zeile %2: Spalte &quot;%3&quot; %4 (Spalten: %5)</translation>
    </message>
    <message>
        <source>appears twice</source>
        <translation>kommt zweimal vor</translation>
    </message>
    <message>
        <source>is unknown</source>
        <translation>ist unbekannt</translation>
    </message>
    <message>
        <source>%1: the sheet needs a column address or current_tag</source>
        <translation>%1: die Tabelle braucht eine Spalte address oder current_tag</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, Zeile %2</translation>
    </message>
    <message>
        <source>%1: %2 fields, the header has %3</source>
        <translation>%1: %2 Felder, die Kopfzeile hat %3</translation>
    </message>
    <message>
        <source>%1: address %2 is no polling address 0 to 15</source>
        <translation>%1: Adresse %2 ist keine Polling-Adresse von 0 bis 15</translation>
    </message>
    <message>
        <source>%1: current_tag %2 is no tag a device can carry</source>
        <translation>%1: current_tag %2 ist keine Messstellenbezeichnung, die ein Gerät tragen kann</translation>
    </message>
    <message>
        <source>%1: neither address nor current_tag</source>
        <translation>%1: weder address noch current_tag</translation>
    </message>
    <message>
        <source>%1: no device in the sheet</source>
        <translation>%1: kein Gerät in der Tabelle</translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>[y/N]</source>
        <translation>[j/N]</translation>
    </message>
    <message>
        <source>y</source>
        <translation>j</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
</context>
<context>
    <name>DatasetWriter</name>
    <message>
        <source>not read</source>
        <translation>nicht gelesen</translation>
    </message>
    <message>
        <source>The device holds these values already.</source>
        <translation>Das Gerät enthält diese Werte bereits.</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>reading the device: %1</source>
        <translation>Lesen des Geräts: %1</translation>
    </message>
    <message>
        <source>nothing written: %1</source>
        <translation>nichts geschrieben: %1</translation>
    </message>
    <message>
        <source>nothing written: confirm with --yes when no one is at a terminal</source>
        <translation>nichts geschrieben: ohne jemanden am Terminal mit --yes bestätigen</translation>
    </message>
    <message numerus="yes">
        <source>Write %n value(s) to the device?</source>
        <translation>
            <numerusform>%n Wert in das Gerät schreiben?</numerusform>
            <numerusform>%n Werte in das Gerät schreiben?</numerusform>
        </translation>
    </message>
    <message>
        <source>nothing written</source>
        <translation>nichts geschrieben</translation>
    </message>
    <message>
        <source>interrupted: nothing written</source>
        <translation>abgebrochen: nichts geschrieben</translation>
    </message>
    <message>
        <source>reading back: %1</source>
        <translation>Zurücklesen: %1</translation>
    </message>
    <message>
        <source>the device holds other values after the write: %1</source>
        <translation>das Gerät enthält nach dem Schreiben andere Werte: %1</translation>
    </message>
</context>
<context>
    <name>DeviceSession</name>
    <message>
        <source>no device answers at polling address %1</source>
        <translation>kein Gerät antwortet an Polling-Adresse %1</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>the device cannot be read now</source>
        <translation>das Gerät kann jetzt nicht gelesen werden</translation>
    </message>
    <message>
        <source>the device did not answer every read</source>
        <translation>das Gerät hat nicht auf jedes Lesen geantwortet</translation>
    </message>
    <message>
        <source>the values cannot be written (host code 0x%1)</source>
        <translation>die Werte können nicht geschrieben werden (Host-Code 0x%1)</translation>
    </message>
    <message>
        <source>the device did not take every value</source>
        <translation>das Gerät hat nicht jeden Wert übernommen</translation>
    </message>
    <message>
        <source>reading</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>writing</source>
        <translation>Schreiben</translation>
    </message>
</context>
<context>
    <name>LoopTestCommand</name>
    <message>
        <source>loop-test takes the currents to fix in mA, e.g. 4 12 20</source>
        <translation>loop-test verlangt die festzulegenden Ströme in mA, z. B. 4 12 20</translation>
    </message>
    <message>
        <source>%1: a current from %2 to %3 mA</source>
        <translation>%1: ein Strom von %2 bis %3 mA</translation>
    </message>
    <message>
        <source>without a terminal to press Enter on, give --hold SECONDS</source>
        <translation>ohne Terminal für die Eingabetaste bitte --hold SEKUNDEN angeben</translation>
    </message>
    <message>
        <source>The loop current leaves automatic control: alarms and control may react. Go on?</source>
        <translation>Der Schleifenstrom verlässt die automatische Regelung: Alarme und Regelung können reagieren. Fortfahren?</translation>
    </message>
    <message>
        <source>nothing done: confirm with --yes when no one is at a terminal</source>
        <translation>nichts ausgeführt: ohne jemanden am Terminal mit --yes bestätigen</translation>
    </message>
    <message>
        <source>the device did not answer</source>
        <translation>das Gerät hat nicht geantwortet</translation>
    </message>
    <message>
        <source>the device is busy</source>
        <translation>das Gerät ist beschäftigt</translation>
    </message>
    <message>
        <source>Loop current fixed at %1 mA: read the meter.</source>
        <translation>Schleifenstrom fest auf %1 mA: Messgerät ablesen.</translation>
    </message>
    <message>
        <source>Enter: next step</source>
        <translation>Eingabetaste: nächster Schritt</translation>
    </message>
    <message>
        <source>loop current back under automatic control</source>
        <translation>Schleifenstrom wieder unter automatischer Regelung</translation>
    </message>
    <message>
        <source>the loop current could not be given back: the device may still hold a fixed current; check it</source>
        <translation>der Schleifenstrom konnte nicht zurückgegeben werden: das Gerät hält vielleicht noch einen festen Strom; bitte prüfen</translation>
    </message>
</context>
<context>
    <name>RangeCheck</name>
    <message>
        <source>the sensor measures from %1 to %2 %3</source>
        <translation>der Sensor misst von %1 bis %2 %3</translation>
    </message>
    <message>
        <source>lrv: outside the sensor&apos;s limits (%1)</source>
        <translation>lrv: außerhalb der Sensorgrenzen (%1)</translation>
    </message>
    <message>
        <source>urv: outside the sensor&apos;s limits (%1)</source>
        <translation>urv: außerhalb der Sensorgrenzen (%1)</translation>
    </message>
    <message>
        <source>the span from lrv to urv is smaller than the sensor&apos;s smallest span (%1 %2)</source>
        <translation>die Spanne von lrv bis urv ist kleiner als die kleinste Spanne des Sensors (%1 %2)</translation>
    </message>
</context>
<context>
    <name>ReadCommand</name>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Device type</source>
        <translation>Gerätetyp</translation>
    </message>
    <message>
        <source>Revisions</source>
        <translation>Revisionen</translation>
    </message>
    <message>
        <source>Unique id</source>
        <translation>Eindeutige Kennung</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Messstelle</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>another kind of device: universal values only</source>
        <translation>ein Gerät anderer Art: nur universelle Werte</translation>
    </message>
    <message>
        <source>Identity</source>
        <translation>Identität</translation>
    </message>
    <message>
        <source>--out %1: a folder, not a file</source>
        <translation>--out %1: ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>--out: a dataset file holds a dataset of this family&apos;s transmitters; this device has universal values only</source>
        <translation>--out: eine Datensatzdatei enthält einen Datensatz der Transmitter dieser Familie; dieses Gerät hat nur universelle Werte</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>dataset written to %1</source>
        <translation>Datensatz nach %1 geschrieben</translation>
    </message>
    <message>
        <source>the device did not answer</source>
        <translation>das Gerät hat nicht geantwortet</translation>
    </message>
    <message>
        <source>Descriptor</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Long tag</source>
        <translation>Lange Messstellenbezeichnung</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Primary variable</source>
        <translation>Primärvariable</translation>
    </message>
    <message>
        <source>Loop current</source>
        <translation>Schleifenstrom</translation>
    </message>
    <message>
        <source>Percent of range</source>
        <translation>Prozent des Messbereichs</translation>
    </message>
    <message>
        <source>Lower range value</source>
        <translation>Messanfang</translation>
    </message>
    <message>
        <source>Upper range value</source>
        <translation>Messende</translation>
    </message>
    <message>
        <source>Damping</source>
        <translation>Dämpfung</translation>
    </message>
    <message>
        <source>Transfer function</source>
        <translation>Übertragungsfunktion</translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>report needs --pdf FILE</source>
        <translation>report braucht --pdf DATEI</translation>
    </message>
    <message>
        <source>--pdf %1: cannot be written there</source>
        <translation>--pdf %1: kann dort nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the report cannot be made</source>
        <translation>der Bericht kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>report written to %1</source>
        <translation>Bericht nach %1 geschrieben</translation>
    </message>
    <message>
        <source>%1: the PDF file cannot be written</source>
        <translation>%1: die PDF-Datei kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>ScanCommand</name>
    <message>
        <source>--tag %1: a tag has at most eight characters from blank to underscore</source>
        <translation>--tag %1: eine Messstellenbezeichnung hat höchstens acht Zeichen von Leerzeichen bis Unterstrich</translation>
    </message>
    <message>
        <source>scanning</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>No device answers on this loop.</source>
        <translation>Kein Gerät antwortet in dieser Schleife.</translation>
    </message>
    <message>
        <source>No device answers to the tag %1.</source>
        <translation>Kein Gerät antwortet auf die Messstellenbezeichnung %1.</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Revisions</source>
        <translation>Revisionen</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Messstelle</translation>
    </message>
    <message>
        <source>Unique id</source>
        <translation>Eindeutige Kennung</translation>
    </message>
    <message>
        <source>the scan did not end</source>
        <translation>die Suche wurde nicht beendet</translation>
    </message>
</context>
<context>
    <name>ValueNames</name>
    <message>
        <source>%1: no such value (values: %2)</source>
        <translation>%1: kein solcher Wert (Werte: %2)</translation>
    </message>
    <message>
        <source>%1=%2: the device cannot take this (it takes: %3)</source>
        <translation>%1=%2: das Gerät kann das nicht übernehmen (es nimmt: %3)</translation>
    </message>
    <message>
        <source>%1=%2: not a value of this kind</source>
        <translation>%1=%2: kein Wert dieser Art</translation>
    </message>
    <message>
        <source>%1=%2: %3</source>
        <translation>%1=%2: %3</translation>
    </message>
</context>
<context>
    <name>WriteCommand</name>
    <message>
        <source>not written: %1</source>
        <translation>nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>dry run: nothing written</source>
        <translation>Probelauf: nichts geschrieben</translation>
    </message>
    <message>
        <source>written and read back</source>
        <translation>geschrieben und zurückgelesen</translation>
    </message>
    <message>
        <source>write takes one dataset file</source>
        <translation>write verlangt eine Datensatzdatei</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>left out, unknown to this device: %1</source>
        <translation>ausgelassen, diesem Gerät unbekannt: %1</translation>
    </message>
    <message>
        <source>set takes NAME=VALUE, one or more (names: %1)</source>
        <translation>set verlangt NAME=WERT, einmal oder öfter (Namen: %1)</translation>
    </message>
    <message>
        <source>%1: not NAME=VALUE</source>
        <translation>%1: nicht NAME=WERT</translation>
    </message>
</context>
</TS>
