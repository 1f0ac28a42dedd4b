#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

class HartFrame;
class SimulatedTransmitter;

// Several simulated transmitters on one two-wire loop, each at its own polling
// address with its own unique id. A request goes to all of them and the one it
// is meant for answers. Faults of the line itself (answers lost, a byte hit by
// noise) sit here; faults of one device stay with that device.
class TransmitterLoop : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxPollingAddress = 15;

    explicit TransmitterLoop(QObject *parent = nullptr);
    ~TransmitterLoop() override;

    // A new transmitter at the polling address; nothing when the address is
    // outside 0 to 15 or taken.
    SimulatedTransmitter *add(quint8 pollingAddress);
    QList<SimulatedTransmitter *> devices() const { return m_devices; }
    // The device now at that polling address, or nothing.
    SimulatedTransmitter *device(quint8 pollingAddress) const;

    std::optional<QByteArray> respond(QByteArrayView request);
    // Whether a device on the loop takes the request, whether it answers or not.
    bool takes(const HartFrame &request) const;

    // The next `count` answers are lost on the line (a negative count: until clearFaults()).
    void dropResponses(int count) { m_drop = count; }
    // One byte inside each of the next `count` answers is hit by noise.
    void garbleResponses(int count) { m_garble = count; }
    void clearFaults();
    qint64 requestCount() const { return m_requests; }

private:
    QList<SimulatedTransmitter *> m_devices;
    int m_drop = 0;
    int m_garble = 0;
    qint64 m_requests = 0;
};
