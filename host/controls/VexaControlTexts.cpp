#include "VexaControlTexts.h"

#include <QLocale>

namespace {
struct Entry
{
    const char *english;
    const char *german;
};

// In the order of VexaControlTexts::Id.
const Entry Texts[] = {
    {"Invalid entry", "Ungültige Eingabe"},
    {"\"%1\" is not a number.", "„%1“ ist keine Zahl."},
    {"Please enter a whole number.", "Bitte eine ganze Zahl eingeben."},
    {"The value must lie between %1 and %2.", "Der Wert muss zwischen %1 und %2 liegen."},
    {"The value must not be less than %1.", "Der Wert darf nicht kleiner als %1 sein."},
    {"The value must not be greater than %1.", "Der Wert darf nicht größer als %1 sein."},
    {"The text may hold at most %1 characters.", "Der Text darf höchstens %1 Zeichen lang sein."},
    {"The device cannot store these characters: %1",
     "Diese Zeichen kann das Gerät nicht speichern: %1"},
    {"Please enter a date in the form %1.", "Bitte ein Datum in der Form %1 eingeben."},
    {"Please enter bytes as pairs of hexadecimal digits, for example 0A 1F.",
     "Bitte Bytes als Paare von Hexadezimalziffern eingeben, zum Beispiel 0A 1F."},
    {"\"%1\" is not one of the values offered.", "„%1“ ist keiner der angebotenen Werte."},
    {"The value was not accepted.", "Der Wert wurde nicht übernommen."},
    {"Changed, not yet written to the device", "Geändert, noch nicht ins Gerät geschrieben"},
};
} // namespace

bool VexaControlTexts::german()
{
    return QLocale().language() == QLocale::German;
}

QString VexaControlTexts::text(Id id)
{
    const Entry &entry = Texts[id];
    return QString::fromUtf8(german() ? entry.german : entry.english);
}
