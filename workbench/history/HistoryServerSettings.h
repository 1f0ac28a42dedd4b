#pragma once

#include <QString>

// Where the history goes, as the user chose it under Device > History
// server: empty for the user's own file, else a team server's location
// ("postgresql://user@host:port/database?sslmode=require"). No password is
// ever kept: libpq finds it in ~/.pgpass or a service file.
class HistoryServerSettings
{
public:
    static QString location();
    // False (nothing kept) for a location that is not a server's or that
    // carries a password.
    static bool setLocation(const QString &location);
    // The --history option first, then the setting, then the user's file.
    static QString effective(const QString &option);
    // A server's location from its parts; empty without host or database.
    static QString compose(const QString &user, const QString &host, int port,
                           const QString &database, const QString &sslMode);
};
