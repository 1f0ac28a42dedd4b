#include "VexaControlTexts.h"

#include <QCoreApplication>
#include <QLocale>

namespace {
// In the order of VexaControlTexts::Id.
const char *const Texts[] = {
    QT_TRANSLATE_NOOP("VexaControlTexts", "Invalid entry"),
    QT_TRANSLATE_NOOP("VexaControlTexts", "\"%1\" is not a number."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "Please enter a whole number."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "The value must lie between %1 and %2."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "The value must not be less than %1."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "The value must not be greater than %1."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "The text may hold at most %1 characters."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "The device cannot store these characters: %1"),
    QT_TRANSLATE_NOOP("VexaControlTexts", "Please enter a date in the form %1."),
    QT_TRANSLATE_NOOP("VexaControlTexts",
                      "Please enter bytes as pairs of hexadecimal digits, for example 0A 1F."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "\"%1\" is not one of the values offered."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "The value was not accepted."),
    QT_TRANSLATE_NOOP("VexaControlTexts", "Changed, not yet written to the device"),
};
static_assert(sizeof(Texts) / sizeof(Texts[0]) == VexaControlTexts::ModifiedTooltip + 1);
} // namespace

bool VexaControlTexts::german()
{
    return QLocale().language() == QLocale::German;
}

QString VexaControlTexts::text(Id id)
{
    return QCoreApplication::translate("VexaControlTexts", Texts[id]);
}
