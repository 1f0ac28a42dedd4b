#pragma once

#include <QList>
#include <QString>

// One write request on its way to the device: the record, and each value it
// carries with the value last read from the device for that item.
struct DeviceWrite
{
    struct Value
    {
        QString item;
        QString before; // as last read from the device (host string form)
        QString after;  // as the request carries it
    };

    QString sequence;
    QString record;
    int command = -1;
    QList<Value> values;
};

// Told of every write the host sends to the device, so that what changed on
// the device can be known afterwards. A write is announced before its request
// goes out and ended when its answer comes; one that never ends (the link
// dropped, the program stopped) has an unknown outcome.
class DeviceWriteJournal
{
public:
    enum class Outcome
    {
        Accepted, // a response whose data is valid (success or a warning)
        Refused,  // a response with an error code: the device did not take it
        Unknown,  // no answer or an answer that could not be read
        NotSent,  // the user chose not to write what could not be recorded
    };

    virtual ~DeviceWriteJournal() = default;

    // A sequence is about to send its first write: the device still holds
    // what was last read from it. Returns why what it holds cannot be kept
    // (empty when it is kept, also when only for a later try).
    virtual QString writesStarting(const QString &sequence) = 0;
    // Returns a token that writeEnded() gets back; problem says why the
    // write's record cannot be kept (empty when it is).
    virtual qint64 writeStarting(const DeviceWrite &write, QString *problem) = 0;
    virtual void writeEnded(qint64 token, Outcome outcome, int responseCode) = 0;
};
