#pragma once

#include <QString>
#include <QVariant>

// The debug switch: the file "vexDebug.txt" in the user's configuration folder.
class clsDebugInfo
{
public:
    // true when the switch file can be opened; an empty value otherwise.
    QVariant InDebugMode() const;

    static QString switchFilePath();
};
