#pragma once

#include "ChangeLog.h"
#include "DeviceWriteJournal.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct HartDeviceIdentity;

// The generic view's writes in the program's change log, as the host's
// writes are: one entry per value, given before the request goes out and
// ended with the device's answer, filed under the device's unique identity.
// Where they go is the journal's to say (the program's history); without one
// nothing is kept.
class GenericChangeLog
{
public:
    struct Value
    {
        QString item; // a ChangeNames::universal name
        // The device's value before, as read from it; nothing when it was not read.
        std::optional<QString> before;
        QString after;
        QString unitBefore = {};
        QString unitAfter = {};
    };

    struct Journal
    {
        // Takes the entries of one request; a token for end(), and in
        // problem why they cannot be kept (empty when they are).
        std::function<qint64(const QList<ChangeEntry> &entries, QString *problem)> start;
        std::function<void(qint64 token, DeviceWriteJournal::Outcome outcome, int responseCode)>
            end;
    };

    void setJournal(Journal journal) { m_journal = std::move(journal); }

    // The entries of one request, in the order given; 0 when there are none.
    // A value the device holds already is left out unless it is an action
    // (a trim, a fixed current, a zero), which is done again each time.
    qint64 begin(const HartDeviceIdentity &device, const QString &tag, quint8 command,
                 const QList<Value> &values, QString *problem);
    void finish(qint64 token, DeviceWriteJournal::Outcome outcome, int responseCode);

    // How numbers are logged: '.' and as many digits as a float holds.
    static QString number(double value);

private:
    Journal m_journal;
};
