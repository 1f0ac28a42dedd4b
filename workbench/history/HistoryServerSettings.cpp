#include "HistoryServerSettings.h"

#include "HistoryDatabase.h"

#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

namespace {
const QString Key = QStringLiteral("History/Server");
}

QString HistoryServerSettings::location()
{
    return QSettings().value(Key).toString();
}

bool HistoryServerSettings::setLocation(const QString &location)
{
    QSettings settings;
    if (location.isEmpty()) {
        settings.remove(Key);
        return true;
    }
    if (!HistoryDatabase::isServerLocation(location) || !QUrl(location).password().isEmpty() ||
        QUrlQuery(QUrl(location)).hasQueryItem(QStringLiteral("password")))
        return false;
    settings.setValue(Key, location);
    return true;
}

QString HistoryServerSettings::effective(const QString &option)
{
    if (!option.isEmpty())
        return option;
    const QString server = location();
    return server.isEmpty() ? HistoryDatabase::defaultPath() : server;
}

QString HistoryServerSettings::compose(const QString &user, const QString &host, int port,
                                       const QString &database, const QString &sslMode)
{
    if (host.trimmed().isEmpty() || database.trimmed().isEmpty())
        return QString();
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(host.trimmed());
    if (port > 0)
        url.setPort(port);
    url.setUserName(user.trimmed());
    url.setPath(QLatin1Char('/') + database.trimmed());
    if (!sslMode.isEmpty()) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("sslmode"), sslMode);
        url.setQuery(query);
    }
    return url.toString();
}
