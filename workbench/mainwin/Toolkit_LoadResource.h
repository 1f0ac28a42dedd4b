#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QWidget;
class ResStringTable;

// The program's texts: every caption and message of the user interface is
// looked up by its id in the user's language.

// Text of id: the user's language, then 1033, then neutral (English). An id
// in no table raises VexException 326.
QString GetResText(qint16 id);
// The same for a caller that must show something: an id in no table is a
// fault of the program, logged, and the fallback is shown in its place.
QString GetResTextOr(qint16 id, const QString &fallback);
// One entry of exactly one language of a string table (module); false when missing.
bool LoadStringForLanguage(const ResStringTable &module, qint16 id, qint32 languageId,
                           QString &text);
// Applies the texts to the window and all its controls (see ResTextLoader);
// an unresolved id keeps the design text.
void LoadResStrings(QWidget *window);
// Fills "%1", "%2", ... with the arguments in order; an inserted argument is
// not searched again, placeholders without an argument stay.
QString FormatResText(const QString &text, const QStringList &args);

// The program's table, ":/strings/strings.tsv" unless another was installed.
const ResStringTable &ProgramStringTable();
// Puts another table in place of the program's (tests); null restores it.
void InstallProgramStringTable(std::shared_ptr<const ResStringTable> table);
