#pragma once

#include "ChangeLog.h"
#include "CompareItems.h"
#include "DatasetMatch.h"

#include <QString>

class HistoryService;
class IViewEx;

// How the history reads for the user, from the program's string table.
namespace HistoryTexts {

QString groupLabel(CompareItem::Group group);
// The label of a logged item or command, as the dialogs name it; the name
// itself when none is known.
QString itemLabel(const QString &item);
// The device's value before the write ("not read" when it was not) and the
// value written, as the user reads them, with units.
QString oldValue(HistoryService *service, const ChangeEntry &entry);
QString newValue(HistoryService *service, const ChangeEntry &entry);
// A change log entry as the History window shows it: time, user, device,
// tag, item, old value, new value, outcome.
QStringList logRow(HistoryService *service, const ChangeEntry &entry);
// Accepted; refused with the response code and its text; unknown.
QString outcome(const ChangeEntry &entry);
// What a write response code means.
QString responseText(int command, int code);
// Why a snapshot was taken: Save to device, a restore, the Compare window,
// or the dialog action that wrote.
QString reason(const QString &reason);
// Why no history is kept; empty when it is.
QString databaseProblem(HistoryService *service);
QString time(const QDateTime &utc);
// Whether the dataset matches the device connected, as a sentence that names
// the values that differ.
QString datasetMatch(const DatasetMatch &match);

} // namespace HistoryTexts

// The history of the device instance behind the view; null without one.
HistoryService *historyServiceOf(IViewEx *view);
