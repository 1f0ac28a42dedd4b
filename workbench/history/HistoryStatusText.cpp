#include "HistoryStatusText.h"

#include "HistoryUplink.h"

#include <QCoreApplication>
#include <QLocale>

namespace HistoryStatusText {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("HistoryStatusText", text);
}
} // namespace

QString text(const HistoryUplink &uplink)
{
    const QString server = uplink.serverName();
    const QString waiting = QLocale().toString(uplink.waiting());
    switch (uplink.state()) {
    case HistoryUplink::State::Connected:
        return uplink.waiting() == 0 ? tr("History: %1").arg(server)
                                     : tr("History: %1, %2 waiting").arg(server, waiting);
    case HistoryUplink::State::Sending:
        return tr("History: %1, sending %2").arg(server, waiting);
    case HistoryUplink::State::Unreachable:
        return tr("History: local, %1 waiting for %2").arg(waiting, server);
    case HistoryUplink::State::Refused:
        return tr("History: local, %1 refused").arg(server);
    }
    return QString();
}

QString tip(const HistoryUplink &uplink)
{
    return uplink.detail();
}

} // namespace HistoryStatusText
