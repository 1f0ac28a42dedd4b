#pragma once

#include "ChangeLog.h"
#include "CompareItems.h"

#include <QString>

class HistoryService;
class IViewEx;

// How the history reads for the user, from the program's string table.
namespace HistoryTexts {

QString groupLabel(CompareItem::Group group);
// The item's label, or its name when it is not one of the compared items.
QString itemLabel(const QString &item);
// Accepted; refused with the response code and its text; unknown.
QString outcome(const ChangeEntry &entry);
// What a write response code means.
QString responseText(int command, int code);
// Why a snapshot was taken: Save to device, a restore, the Compare window,
// or the dialog sequence that wrote.
QString reason(const QString &reason);
// Why no history is kept; empty when it is.
QString databaseProblem(HistoryService *service);
QString time(const QDateTime &utc);

} // namespace HistoryTexts

// The history of the device instance behind the view; null without one.
HistoryService *historyServiceOf(IViewEx *view);
