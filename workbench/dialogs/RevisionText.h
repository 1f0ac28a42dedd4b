#pragma once

#include <QByteArray>
#include <QString>

// Revision numbers as the identification shows them.
class RevisionText
{
public:
    // At least two digits: 7 is "07", 12 is "12".
    static QString twoDigits(const QString &value);
    // The three octets of a software version as major.minor.patch (01 05 00
    // is "1.5.0"); missing octets read 0.
    static QString dotted(const QByteArray &octets);
};
