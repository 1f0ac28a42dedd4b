#pragma once

#include <QStringList>

class QMenuBar;

// Every entry of a menu reachable from the keyboard: an entry whose text has
// no access key ("&") gets the first letter of its text that no other entry
// of the same menu uses, word starts first. The string table gives access
// keys in one language and not the other; this fills the gaps in both.
namespace MenuAccessKeys {

// The texts of one menu's entries with an access key in each where a free
// letter is left; texts that have one keep it.
QStringList assign(const QStringList &texts);

// The menu bar's titles and, menu by menu, their entries.
void assign(QMenuBar *bar);

} // namespace MenuAccessKeys
