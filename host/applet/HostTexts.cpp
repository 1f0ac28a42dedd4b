#include "HostTexts.h"

#include <QCoreApplication>

namespace {
// In the order of HostTexts::Id.
const char *const Texts[] = {
    QT_TRANSLATE_NOOP("HostTexts", "Open dataset"),
    QT_TRANSLATE_NOOP("HostTexts", "Save dataset as"),
    QT_TRANSLATE_NOOP("HostTexts", "Save dataset"),
    QT_TRANSLATE_NOOP("HostTexts", "Datasets (*.vexds);;All files (*)"),
    QT_TRANSLATE_NOOP("HostTexts", "The dataset was not loaded.\n%1"),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "The file was written by a newer device description. These values were left out:\n%1"),
    QT_TRANSLATE_NOOP("HostTexts", "and %1 more (%2 in all)"),
    QT_TRANSLATE_NOOP("HostTexts", "The dataset was not saved.\n%1"),
    QT_TRANSLATE_NOOP("HostTexts", "The HART link cannot be opened."),
    QT_TRANSLATE_NOOP("HostTexts", "No device answers at the polling address."),
    QT_TRANSLATE_NOOP("HostTexts", "not a dataset file (not a regular file)"),
    QT_TRANSLATE_NOOP("HostTexts", "the file is too large to be a dataset"),
    QT_TRANSLATE_NOOP("HostTexts", "not a dataset file (%1 at byte %2)"),
    QT_TRANSLATE_NOOP("HostTexts", "not a dataset file"),
    QT_TRANSLATE_NOOP("HostTexts", "unknown dataset file version"),
    QT_TRANSLATE_NOOP("HostTexts", "the dataset is for the device type \"%1\", not \"%2\""),
    QT_TRANSLATE_NOOP("HostTexts", "the file holds no dataset values"),
    QT_TRANSLATE_NOOP("HostTexts", "\"%1\" has the type \"%2\", expected \"%3\""),
    QT_TRANSLATE_NOOP("HostTexts", "\"%1\" has no value"),
    QT_TRANSLATE_NOOP("HostTexts", "\"%1\" cannot hold the value \"%2\""),
    QT_TRANSLATE_NOOP("HostTexts", "\"%1\" appears twice"),
    QT_TRANSLATE_NOOP("HostTexts", "the file could not be written whole"),
    QT_TRANSLATE_NOOP("HostTexts", "the value %1 of \"%2\" is not a finite number"),
    QT_TRANSLATE_NOOP("HostTexts", "the value %1 of \"%2\" is outside %3 to %4"),
    QT_TRANSLATE_NOOP("HostTexts", "the value %1 of \"%2\" is not one of its codes (table \"%3\")"),
    QT_TRANSLATE_NOOP("HostTexts",
                      "the value %1 of \"%2\" does not fit its field in the record \"%3\""),
    QT_TRANSLATE_NOOP("HostTexts", "%1: cannot create the folder"),
    QT_TRANSLATE_NOOP("HostTexts", "%1: cannot write the file"),
    QT_TRANSLATE_NOOP("HostTexts", "The link to the device was lost."),
    QT_TRANSLATE_NOOP("HostTexts", "%1\nNext attempt to reconnect in %2 s (attempt %3)."),
    QT_TRANSLATE_NOOP("HostTexts",
                      "The device does not answer (time-out); the link itself is there."),
    QT_TRANSLATE_NOOP("HostTexts", "Write to the device"),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "After the link came back, another device answers: %1 instead of %2.\nNothing was "
        "written. Disconnect and connect again to work with this device."),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "After the link came back, the device %1 did not confirm who it is.\nNothing was "
        "written."),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "The history cannot keep this change: %1\n\nWrite to the device all the same? The "
        "change will then be missing from the history."),
    QT_TRANSLATE_NOOP("HostTexts", "the disk of the history file %1 is full."),
    QT_TRANSLATE_NOOP("HostTexts", "the history file %1 is read-only."),
    QT_TRANSLATE_NOOP("HostTexts", "the history file %1 cannot be written (%2)."),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "The history file %1 was deleted or replaced while the program ran. A new one was made: "
        "the changes recorded before are not in it."),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "Manufacturer: %1\nDevice type: %2\nHART revision: %3, device revision: %4\nUnique id: "
        "%5\nTag: %6"),
    QT_TRANSLATE_NOOP("HostTexts", "(not read)"),
    QT_TRANSLATE_NOOP("HostTexts",
                      "A device of another maker or type answers at polling address %1:\n%2"),
    QT_TRANSLATE_NOOP(
        "HostTexts",
        "The link is back, but another device answers at polling address %1:\n%2\n\nThe device "
        "expected:\n%3"),
};
static_assert(sizeof(Texts) / sizeof(Texts[0]) == HostTexts::OtherDeviceReconnect + 1);
} // namespace

QString HostTexts::text(Id id)
{
    return QCoreApplication::translate("HostTexts", Texts[id]);
}
