#pragma once

#include "ChangeLog.h"

#include <QStringList>
#include <functional>

class QIODevice;

// The change log as CSV for a spreadsheet: UTF-8, a header row, times in
// ISO 8601 (UTC), every field quoted where it must be.
namespace ChangeLogCsv {

// header: the column titles in the user's language; cells: an entry's
// columns after its time, as the user reads them.
using Cells = std::function<QStringList(const ChangeEntry &)>;
bool write(QIODevice &out, const QStringList &header, const QList<ChangeEntry> &entries,
           const Cells &cells);

// One field as CSV: quoted when it holds a separator, a quote or a line
// break, or could be taken for a formula.
QString field(const QString &text);

} // namespace ChangeLogCsv
