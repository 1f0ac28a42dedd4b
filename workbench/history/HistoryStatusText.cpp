#include "HistoryStatusText.h"

#include "HistoryUplink.h"

#include <QCoreApplication>
#include <QLocale>

namespace HistoryStatusText {

QString text(const HistoryUplink &uplink)
{
    const QString server = uplink.serverName();
    const QString waiting = QLocale().toString(uplink.waiting());
    switch (uplink.state()) {
    case HistoryUplink::State::Connected:
        return uplink.waiting() == 0
                   ? QCoreApplication::translate("HistoryStatusText", "History: %1").arg(server)
                   : QCoreApplication::translate("HistoryStatusText", "History: %1, %2 waiting")
                         .arg(server, waiting);
    case HistoryUplink::State::Sending:
        return QCoreApplication::translate("HistoryStatusText", "History: %1, sending %2")
            .arg(server, waiting);
    case HistoryUplink::State::Unreachable:
        return QCoreApplication::translate("HistoryStatusText", "History: local, %1 waiting for %2")
            .arg(waiting, server);
    case HistoryUplink::State::Refused:
        return QCoreApplication::translate("HistoryStatusText", "History: local, %1 refused")
            .arg(server);
    }
    return QString();
}

QString tip(const HistoryUplink &uplink)
{
    return uplink.detail();
}

} // namespace HistoryStatusText
