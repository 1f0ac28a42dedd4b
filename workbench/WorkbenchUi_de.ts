<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CalcheckRecordStore</name>
    <message>
        <source>the check is incomplete</source>
        <translation>die Prüfung ist unvollständig</translation>
    </message>
</context>
<context>
    <name>DefaultDatasetDatabase</name>
    <message>
        <source>%1: cannot be written</source>
        <translation>%1: lässt sich nicht schreiben</translation>
    </message>
    <message>
        <source>%1: folder not found</source>
        <translation>%1: Ordner nicht gefunden</translation>
    </message>
</context>
<context>
    <name>HelpBrowser</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Type a keyword</source>
        <translation>Stichwort eingeben</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
</context>
<context>
    <name>ReadMe</name>
    <message>
        <source>%1: not found</source>
        <translation>%1: nicht gefunden</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Configuration of the absolute and differential pressure transmitters, 4 to 20 mA with HART.</source>
        <translation>Konfiguration der Absolut- und Differenzdruck-Messumformer, 4 bis 20 mA mit HART.</translation>
    </message>
    <message>
        <source>System information program not available at the moment.</source>
        <translation>Systeminformationsprogramm zur Zeit nicht verfügbar.</translation>
    </message>
</context>
<context>
    <name>frmBasicParameter</name>
    <message>
        <source>Current Limits</source>
        <translation>Stromgrenzen</translation>
    </message>
    <message>
        <source>Alarm Current</source>
        <translation>Alarmstrom</translation>
    </message>
</context>
<context>
    <name>frmEventCounter</name>
    <message>
        <source>Last Power On</source>
        <translation>Letztes Einschalten</translation>
    </message>
    <message>
        <source>Last Infringement</source>
        <translation>Letzte Verletzung</translation>
    </message>
    <message>
        <source>Total Working Hours</source>
        <translation>Betriebsstunden gesamt</translation>
    </message>
    <message>
        <source>Partial Working Hours</source>
        <translation>Betriebsstunden seit Rücksetzen</translation>
    </message>
    <message>
        <source>Working Hours</source>
        <translation>Betriebsstunden</translation>
    </message>
    <message>
        <source>Number Of Power On</source>
        <translation>Anzahl Einschaltungen</translation>
    </message>
    <message>
        <source>Number Of Infringement</source>
        <translation>Anzahl Verletzungen</translation>
    </message>
</context>
<context>
    <name>frmIdentification</name>
    <message>
        <source>Universal Commands</source>
        <translation>Universelle Kommandos</translation>
    </message>
    <message>
        <source>Transmitter Specific Commands</source>
        <translation>Gerätespezifische Kommandos</translation>
    </message>
</context>
<context>
    <name>frmSelectDefaultDataset</name>
    <message>
        <source>Create new device dataset</source>
        <translation>Neuen Gerätedatensatz anlegen</translation>
    </message>
    <message>
        <source>Device type</source>
        <translation>Gerätetyp</translation>
    </message>
    <message>
        <source>Designation</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Measurement Range</source>
        <translation>Messbereich</translation>
    </message>
    <message>
        <source>Pressure</source>
        <translation>Druck</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
</TS>
