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
    virtual bool isConnected() const { return m_connected; }
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
    virtual void injectNoAnswer(int requests) { m_noAnswer = requests; }
    virtual void injectCommunicationError(quint8 errorBits, int requests = 1);
    virtual void injectBusy(int requests) { m_busy = qMax(0, requests); }
    virtual void injectCorruptResponse(int requests) { m_corrupt = qMax(0, requests); }
    virtual void clearFaults() { m_noAnswer = m_communicationErrors = m_busy = m_corrupt = 0; }
    virtual void setWriteProtected(bool on) = 0;
    virtual void dropConnection();
    virtual void restoreConnection();

signals:
    void connectionChanged(bool connected);

protected:
    // Whether this request gets one of the faults injected, counting it off.
    bool takeNoAnswer() { return consume(m_noAnswer); }
    bool takeCorruptResponse() { return consume(m_corrupt); }
    bool takeCommunicationError() { return consume(m_communicationErrors); }
    bool takeBusy() { return consume(m_busy); }
    quint8 communicationErrorBits() const { return m_communicationErrorBits; }
    // The response's checksum spoilt, as a line disturbance would.
    static void corrupt(QByteArray &wire);

private:
    // A negative count never runs out.
    static bool consume(int &count);

    bool m_connected = true;
    int m_noAnswer = 0;
    int m_communicationErrors = 0;
    quint8 m_communicationErrorBits = 0;
    int m_busy = 0;
    int m_corrupt = 0;
};
