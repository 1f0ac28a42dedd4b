#include "hart/HartLinkTexts.h"

#include <QLocale>

namespace {
struct Entry
{
    const char *english;
    const char *german;
};

// In the order of HartLinkTexts::Id.
const Entry Texts[] = {
    {"The serial port %1 cannot be opened: %2",
     "Die serielle Schnittstelle %1 lässt sich nicht öffnen: %2"},
    {"The serial port %1 does not take 1200 bit/s, 8 data bits, odd parity: %2",
     "Die serielle Schnittstelle %1 lässt sich nicht auf 1200 Bit/s, 8 Datenbits, ungerade "
     "Parität stellen: %2"},
    {"The serial port %1 is gone (%2); is the modem still plugged in?",
     "Die serielle Schnittstelle %1 ist fort (%2); steckt das Modem noch?"},
    {"HART-IP connection to %1 port %2 failed: %3",
     "HART-IP-Verbindung zu %1 Port %2 fehlgeschlagen: %3"},
    {"The HART-IP server %1 closed the connection.",
     "Der HART-IP-Server %1 hat die Verbindung beendet."},
    {"The HART-IP server %1 sent a message that cannot be read.",
     "Der HART-IP-Server %1 hat eine unlesbare Nachricht gesendet."},
    {"The HART-IP server %1 refused the session: %2.",
     "Der HART-IP-Server %1 hat die Sitzung abgelehnt: %2."},
    {"The HART-IP server answered the request with an error: %1.",
     "Der HART-IP-Server hat die Anfrage mit einem Fehler beantwortet: %1."},
    {"The HART-IP server %1 port %2 does not answer.",
     "Der HART-IP-Server %1 Port %2 antwortet nicht."},
    {"The HART-IP server %1 stopped answering.", "Der HART-IP-Server %1 antwortet nicht mehr."},
    {"success", "Erfolg"},
    {"invalid selection", "ungültige Auswahl"},
    {"too few data bytes", "zu wenige Datenbytes"},
    {"inactivity time set to the nearest possible value",
     "Inaktivitätszeit auf den nächstmöglichen Wert gesetzt"},
    {"protocol version not supported", "Protokollversion nicht unterstützt"},
    {"all sessions of the server are in use", "alle Sitzungen des Servers sind belegt"},
    {"a session is already open", "eine Sitzung ist bereits offen"},
    {"status %1", "Status %1"},
    {"This program cannot open a link of the kind \"%1\".",
     "Dieses Programm kann keine Verbindung der Art „%1“ öffnen."},
    {"No HART modem with the device was found (tried %1).",
     "Kein HART-Modem mit dem Gerät gefunden (versucht: %1)."},
    {"At %1 the device %2 answers, not %3.", "An %1 antwortet das Gerät %2, nicht %3."},
    {"The traffic record %1 could not be written (%2) and was stopped; what it holds so far is "
     "kept.",
     "Die Aufzeichnung %1 konnte nicht geschrieben werden (%2) und wurde beendet; was sie bis "
     "dahin enthält, bleibt erhalten."},
};
static_assert(sizeof(Texts) / sizeof(Texts[0]) == HartLinkTexts::CaptureFailed + 1);
} // namespace

QString HartLinkTexts::text(Id id)
{
    const Entry &entry = Texts[id];
    return QString::fromUtf8(QLocale().language() == QLocale::German ? entry.german
                                                                     : entry.english);
}
