#pragma once

#include <QLocale>
#include <QString>

// The device description's own texts (its enumeration entries) in the
// user's language. The description is written in English; its German texts
// lie beside it (transmitter.de.tsv), so that a German user reads "Silikonöl"
// where the device says "Silicone oil". Names and symbols (makers, units)
// have no entry and stay as they are.
class DescriptionTexts
{
public:
    static QString translated(const QString &english, const QLocale &locale = QLocale());
    // Whether the German table has an entry for the text (also one that reads
    // the same in German).
    static bool hasGerman(const QString &english);
};
