#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <optional>

class HartFrame;

// One simulated field device on the wire, whatever it is: request bytes in,
// response bytes out (or silence), a place on the loop, and the faults of
// its communication that the control side injects.
class SimulatedDevice : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The bytes of one response, or nothing when the device stays silent
    // (not addressed, restarting, broken line).
    virtual std::optional<QByteArray> respond(QByteArrayView requestBytes) = 0;
    virtual bool isConnected() const = 0;
    // Whether the request is meant for this device (its address, or its tag
    // for a search by tag).
    virtual bool isAddressedToMe(const HartFrame &request) const = 0;

    virtual quint8 pollingAddress() const = 0;
    virtual quint32 deviceId() const = 0;
    // Places the device on a loop shared with others: its polling address and
    // a unique id of its own (the offset is added to the id of its kind).
    virtual void setLoopPosition(quint8 pollingAddress, quint32 serialOffset) = 0;
    // The profile it stands for, as hartsim's --device names it.
    virtual QString profileName() const = 0;

    // A negative count of missing answers lasts until clearFaults().
    virtual void injectNoAnswer(int requests) = 0;
    virtual void injectCommunicationError(quint8 errorBits, int requests = 1) = 0;
    virtual void injectBusy(int requests) = 0;
    virtual void injectCorruptResponse(int requests) = 0;
    virtual void clearFaults() = 0;
    virtual void setWriteProtected(bool on) = 0;
    virtual void dropConnection() = 0;
    virtual void restoreConnection() = 0;

signals:
    void connectionChanged(bool connected);
};
