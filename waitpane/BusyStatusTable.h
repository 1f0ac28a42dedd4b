#pragma once

#include <QString>

// What the busy window shows for a running sequence: the id of its status
// text in the busy window's string table (0: leave the text as it is) and
// whether Cancel may abort it.
struct BusyStatus
{
    qint16 textId = 0;
    bool cancelEnabled = true;
};

class BusyStatusTable
{
public:
    // Names are compared exactly, with case.
    static BusyStatus lookup(const QString &sequenceName);
};
