#pragma once

#include <QString>

// The offscreen platform has no window manager to pass some requests on to
// and says so as a warning; that is no warning about our code.
inline bool isPlatformNoise(const QString &message)
{
    return message.startsWith(QLatin1String("This plugin does not support"));
}
