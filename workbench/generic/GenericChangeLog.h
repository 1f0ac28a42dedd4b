#pragma once

#include "ChangeLog.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct HartDeviceIdentity;

// The generic view's writes in the program's change log, as the host's
// writes are: one entry per value, stored before the request goes out and
// completed with the device's answer, filed under the device's unique
// identity. Without a log (no history database) nothing is kept.
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

    // changed: told after each entry stored or completed.
    void setLog(ChangeLog *log, std::function<void()> changed);
    bool isKept() const { return m_log != nullptr; }

    // The entries of one request, in the order given; their ids for finish().
    // A value the device holds already is left out unless it is an action
    // (a trim, a fixed current, a zero), which is done again each time.
    QList<qint64> begin(const HartDeviceIdentity &device, const QString &tag, quint8 command,
                        const QList<Value> &values);
    // The answer: accepted (success or a warning), refused with its code, or
    // none (-1: no answer came, the outcome is not known).
    void finish(const QList<qint64> &ids, ChangeEntry::Outcome outcome, int responseCode);

    // How numbers are logged: '.' and as many digits as a float holds.
    static QString number(double value);

private:
    ChangeLog *m_log = nullptr;
    std::function<void()> m_changed;
};
