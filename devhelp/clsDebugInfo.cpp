#include "clsDebugInfo.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString clsDebugInfo::switchFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("vexDebug.txt"));
}

QVariant clsDebugInfo::InDebugMode() const
{
    QFile file(switchFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QVariant();
    file.close();
    return true;
}
