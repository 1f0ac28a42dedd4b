#pragma once

#include <QString>

// The language the program runs in: --lang de or en, otherwise the user's.
// Sets the default locale (our string tables, numbers, dates follow it),
// installs the translations of the program's own code and loads Qt's own
// for it (standard buttons, file and print dialogs), so that nothing of the
// user interface stays in another language.
class ProgramLanguage
{
public:
    // Returns false when Qt has no translations for a non-English language.
    static bool apply(const QString &option);
};
