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
    <name>DeviceChangedNotice</name>
    <message>
        <source>Changed by another master at %1, read again</source>
        <translation>Um %1 von einem anderen Master geändert, neu gelesen</translation>
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
    <name>HistoryStatusText</name>
    <message>
        <source>History: %1</source>
        <translation>Historie: %1</translation>
    </message>
    <message>
        <source>History: %1, %2 waiting</source>
        <translation>Historie: %1, %2 wartend</translation>
    </message>
    <message>
        <source>History: %1, sending %2</source>
        <translation>Historie: %1, sende %2</translation>
    </message>
    <message>
        <source>History: local, %1 waiting for %2</source>
        <translation>Historie: lokal, %1 warten auf %2</translation>
    </message>
    <message>
        <source>History: local, %1 refused</source>
        <translation>Historie: lokal, %1 abgelehnt</translation>
    </message>
</context>
<context>
    <name>MainMenuTree</name>
    <message>
        <source>Fleet...</source>
        <translation>Gerätebestand...</translation>
    </message>
    <message>
        <source>History server...</source>
        <translation>Historie-Server...</translation>
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
    <name>frmFleet</name>
    <message>
        <source>passed</source>
        <translation>bestanden</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>nicht bestanden</translation>
    </message>
    <message>
        <source>Due within</source>
        <translation>Fällig innerhalb</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Fleet</source>
        <translation>Gerätebestand</translation>
    </message>
    <message>
        <source>Search by tag</source>
        <translation>Nach Messstellenbezeichnung suchen</translation>
    </message>
    <message>
        <source> days</source>
        <translation> Tage</translation>
    </message>
    <message>
        <source>Tag:</source>
        <translation>Messstelle:</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Messstelle</translation>
    </message>
    <message>
        <source>Maker</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Last seen</source>
        <translation>Zuletzt gesehen</translation>
    </message>
    <message>
        <source>By</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>Last check</source>
        <translation>Letzte Prüfung</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>Prüfer</translation>
    </message>
    <message>
        <source>As found</source>
        <translation>Vorgefunden</translation>
    </message>
    <message>
        <source>As left</source>
        <translation>Hinterlassen</translation>
    </message>
    <message>
        <source>Drift (% span)</source>
        <translation>Drift (% Spanne)</translation>
    </message>
    <message>
        <source>Next due</source>
        <translation>Nächste fällig</translation>
    </message>
    <message>
        <source>never</source>
        <translation>nie</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <source>%1 of %2 devices</source>
        <translation>%1 von %2 Geräten</translation>
    </message>
    <message>
        <source>the server cannot be read, this computer&apos;s history is shown: %1</source>
        <translation>der Server ist nicht lesbar, die Historie dieses Computers wird gezeigt: %1</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>The list could not be written to %1.</source>
        <translation>Die Liste konnte nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>frmHistoryServer</name>
    <message>
        <source>Keep the history on a team&apos;s server</source>
        <translation>Historie auf dem Server eines Teams führen</translation>
    </message>
    <message>
        <source>Test connection</source>
        <translation>Verbindung testen</translation>
    </message>
    <message>
        <source>Send this computer&apos;s history</source>
        <translation>Historie dieses Computers senden</translation>
    </message>
    <message>
        <source>History server</source>
        <translation>Historie-Server</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Rechner:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Database:</source>
        <translation>Datenbank:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>SSL mode:</source>
        <translation>SSL-Modus:</translation>
    </message>
    <message>
        <source>The password is read from ~/.pgpass or a PostgreSQL service file; the program keeps none.</source>
        <translation>Das Passwort wird aus ~/.pgpass oder einer PostgreSQL-Dienstdatei gelesen; das Programm speichert keines.</translation>
    </message>
    <message>
        <source>A change applies from the next start of the program.</source>
        <translation>Eine Änderung gilt ab dem nächsten Start des Programms.</translation>
    </message>
    <message>
        <source>Enter the server&apos;s host and database.</source>
        <translation>Geben Sie Rechner und Datenbank des Servers ein.</translation>
    </message>
    <message>
        <source>The server answers and keeps a history of this version.</source>
        <translation>Der Server antwortet und führt eine Historie dieser Version.</translation>
    </message>
    <message>
        <source>The server&apos;s history was made by a newer version (schema %1).</source>
        <translation>Die Historie des Servers stammt von einer neueren Version (Schema %1).</translation>
    </message>
    <message>
        <source>The server cannot be used: %1</source>
        <translation>Der Server ist nicht nutzbar: %1</translation>
    </message>
    <message>
        <source>Sending...</source>
        <translation>Senden...</translation>
    </message>
    <message>
        <source>This computer&apos;s history is on the server.</source>
        <translation>Die Historie dieses Computers ist auf dem Server.</translation>
    </message>
    <message>
        <source>%1 entries could not be sent: %2</source>
        <translation>%1 Einträge konnten nicht gesendet werden: %2</translation>
    </message>
    <message>
        <source>This location cannot be kept.</source>
        <translation>Diese Adresse kann nicht gespeichert werden.</translation>
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
