<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>HartDeviceScan</name>
    <message>
        <source>A scan is running already.</source>
        <translation>Es läuft bereits eine Suche.</translation>
    </message>
    <message>
        <source>There is no link to scan.</source>
        <translation>Es gibt keine Verbindung zum Durchsuchen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be sent as a tag.</source>
        <translation>„%1“ lässt sich nicht als Tag senden.</translation>
    </message>
    <message>
        <source>The link was lost during the scan.</source>
        <translation>Die Verbindung ist während der Suche abgerissen.</translation>
    </message>
</context>
<context>
    <name>HartLinkTexts</name>
    <message>
        <source>The serial port %1 cannot be opened: %2</source>
        <translation>Die serielle Schnittstelle %1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>The serial port %1 does not take 1200 bit/s, 8 data bits, odd parity: %2</source>
        <translation>Die serielle Schnittstelle %1 lässt sich nicht auf 1200 Bit/s, 8 Datenbits, ungerade Parität stellen: %2</translation>
    </message>
    <message>
        <source>The serial port %1 is gone (%2); is the modem still plugged in?</source>
        <translation>Die serielle Schnittstelle %1 ist fort (%2); steckt das Modem noch?</translation>
    </message>
    <message>
        <source>HART-IP connection to %1 port %2 failed: %3</source>
        <translation>HART-IP-Verbindung zu %1 Port %2 fehlgeschlagen: %3</translation>
    </message>
    <message>
        <source>The HART-IP server %1 closed the connection.</source>
        <translation>Der HART-IP-Server %1 hat die Verbindung beendet.</translation>
    </message>
    <message>
        <source>The HART-IP server %1 sent a message that cannot be read.</source>
        <translation>Der HART-IP-Server %1 hat eine unlesbare Nachricht gesendet.</translation>
    </message>
    <message>
        <source>The HART-IP server %1 refused the session: %2.</source>
        <translation>Der HART-IP-Server %1 hat die Sitzung abgelehnt: %2.</translation>
    </message>
    <message>
        <source>The HART-IP server answered the request with an error: %1.</source>
        <translation>Der HART-IP-Server hat die Anfrage mit einem Fehler beantwortet: %1.</translation>
    </message>
    <message>
        <source>The HART-IP server %1 port %2 does not answer.</source>
        <translation>Der HART-IP-Server %1 Port %2 antwortet nicht.</translation>
    </message>
    <message>
        <source>The HART-IP server %1 stopped answering.</source>
        <translation>Der HART-IP-Server %1 antwortet nicht mehr.</translation>
    </message>
    <message>
        <source>success</source>
        <translation>Erfolg</translation>
    </message>
    <message>
        <source>invalid selection</source>
        <translation>ungültige Auswahl</translation>
    </message>
    <message>
        <source>too few data bytes</source>
        <translation>zu wenige Datenbytes</translation>
    </message>
    <message>
        <source>inactivity time set to the nearest possible value</source>
        <translation>Inaktivitätszeit auf den nächstmöglichen Wert gesetzt</translation>
    </message>
    <message>
        <source>protocol version not supported</source>
        <translation>Protokollversion nicht unterstützt</translation>
    </message>
    <message>
        <source>all sessions of the server are in use</source>
        <translation>alle Sitzungen des Servers sind belegt</translation>
    </message>
    <message>
        <source>a session is already open</source>
        <translation>eine Sitzung ist bereits offen</translation>
    </message>
    <message>
        <source>status %1</source>
        <translation>Status %1</translation>
    </message>
    <message>
        <source>This program cannot open a link of the kind &quot;%1&quot;.</source>
        <translation>Dieses Programm kann keine Verbindung der Art „%1“ öffnen.</translation>
    </message>
    <message>
        <source>No HART modem with the device was found (tried %1).</source>
        <translation>Kein HART-Modem mit dem Gerät gefunden (versucht: %1).</translation>
    </message>
    <message>
        <source>At %1 the device %2 answers, not %3.</source>
        <translation>An %1 antwortet das Gerät %2, nicht %3.</translation>
    </message>
    <message>
        <source>The traffic record %1 could not be written (%2) and was stopped; what it holds so far is kept.</source>
        <translation>Die Aufzeichnung %1 konnte nicht geschrieben werden (%2) und wurde beendet; was sie bis dahin enthält, bleibt erhalten.</translation>
    </message>
</context>
</TS>
