#include "hart/HartLinkTexts.h"

#include <QCoreApplication>

namespace {
// In the order of HartLinkTexts::Id.
const char *const Texts[] = {
    QT_TRANSLATE_NOOP("HartLinkTexts", "The serial port %1 cannot be opened: %2"),
    QT_TRANSLATE_NOOP("HartLinkTexts",
                      "The serial port %1 does not take 1200 bit/s, 8 data bits, odd parity: %2"),
    QT_TRANSLATE_NOOP("HartLinkTexts",
                      "The serial port %1 is gone (%2); is the modem still plugged in?"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "HART-IP connection to %1 port %2 failed: %3"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "The HART-IP server %1 closed the connection."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "The HART-IP server %1 sent a message that cannot be read."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "The HART-IP server %1 refused the session: %2."),
    QT_TRANSLATE_NOOP("HartLinkTexts",
                      "The HART-IP server answered the request with an error: %1."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "The HART-IP server %1 port %2 does not answer."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "The HART-IP server %1 stopped answering."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "success"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "invalid selection"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "too few data bytes"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "inactivity time set to the nearest possible value"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "protocol version not supported"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "all sessions of the server are in use"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "a session is already open"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "status %1"),
    QT_TRANSLATE_NOOP("HartLinkTexts", "This program cannot open a link of the kind \"%1\"."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "No HART modem with the device was found (tried %1)."),
    QT_TRANSLATE_NOOP("HartLinkTexts", "At %1 the device %2 answers, not %3."),
    QT_TRANSLATE_NOOP(
        "HartLinkTexts",
        "The traffic record %1 could not be written (%2) and was stopped; what it holds so far is "
        "kept."),
};
static_assert(sizeof(Texts) / sizeof(Texts[0]) == HartLinkTexts::CaptureFailed + 1);
} // namespace

QString HartLinkTexts::text(Id id)
{
    return QCoreApplication::translate("HartLinkTexts", Texts[id]);
}
