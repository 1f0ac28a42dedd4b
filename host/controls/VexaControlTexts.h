#pragma once

#include <QString>

// The framework controls' own texts, in the program's language through its
// installed translations (context "VexaControlTexts"). The program's string
// table is not theirs to use: the host knows nothing of the program.
class VexaControlTexts
{
public:
    enum Id
    {
        InvalidEntryTitle,
        NotANumber, // %1 the text typed
        NotWholeNumber,
        OutOfRange,    // %1 lowest, %2 highest value
        BelowMinimum,  // %1 lowest value
        AboveMaximum,  // %1 highest value
        TooLong,       // %1 number of characters
        BadCharacters, // %1 the characters refused
        BadDate,       // %1 the date format expected
        BadOctets,
        NotInEnumeration, // %1 the text typed
        NotAccepted,
        ModifiedTooltip,
    };

    static QString text(Id id);
    static bool german();
};
