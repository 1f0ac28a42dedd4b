#pragma once

#include <QLocale>

// The translations of the program's own code (tr() and the texts tables of
// each library), built into every library under :/i18n/<library>_<lang>.qm.
// install() puts those of one language in place of the ones installed before,
// so a switch of language at run time is seen by the next text looked up.
// English is the source language: it installs nothing.
class ProgramTranslations
{
public:
    // Returns the number of catalogues installed.
    static int install(const QLocale &locale = QLocale());
};
