#pragma once

#include <QString>

class HistoryUplink;

// The status bar's word on a team's history: where it goes and how many
// entries wait for the server.
namespace HistoryStatusText {

QString text(const HistoryUplink &uplink);
// The server's own words when it cannot be used.
QString tip(const HistoryUplink &uplink);

} // namespace HistoryStatusText
