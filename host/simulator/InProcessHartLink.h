#pragma once

#include "hart/HartLink.h"

#include <QPointer>
#include <QTimer>

class SimulatedTransmitter;

// A link to a simulated transmitter in the same process. Requests still travel
// as bytes both ways, and each outcome arrives after the time the bytes would
// take on a 1200 bit/s loop (11 bits a byte, a turnaround gap between request
// and response, the master's timeout when nothing comes back). At bit rate 0
// there is no wire time: outcomes come on the next turn of the event loop.
// A request that cannot be encoded (bad address, too much data) ends with a
// communication error carrying the "undefined" bit.
class InProcessHartLink : public HartLink
{
    Q_OBJECT

public:
    static constexpr int DefaultBitRate = 1200;
    static constexpr int BitsPerByte = 11;
    static constexpr int TurnaroundMs = 20;
    static constexpr int DefaultResponseTimeoutMs = 300;

    explicit InProcessHartLink(SimulatedTransmitter *device, QObject *parent = nullptr);

    void setBitRate(int bitsPerSecond);
    int bitRate() const { return m_bitRate; }
    void setRequestPreambles(int count) { m_preambles = count; }
    int requestPreambles() const { return m_preambles; }
    void setResponseTimeout(int ms) { m_timeoutMs = qMax(0, ms); }
    int responseTimeout() const { return m_timeoutMs; }
    static int wireTimeMs(qsizetype bytes, int bitsPerSecond);

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }

protected:
    void transmit(const HartFrame &request) override;

private:
    enum class Outcome
    {
        Response,
        Timeout,
        CommunicationError,
        ConnectionLost
    };

    struct Result
    {
        Outcome outcome = Outcome::Timeout;
        HartFrame response;
        quint8 errorByte = 0;
    };

    Result transact(const HartFrame &request, int &delayMs);
    static Result interpret(const HartFrame &request, const QByteArray &responseBytes);
    void deliver();
    void loseConnection();

    QPointer<SimulatedTransmitter> m_device;
    QTimer m_timer;
    Result m_result;
    QByteArray m_responseBytes; // as the device sent them, for the record
    bool m_open = false;
    int m_bitRate = DefaultBitRate;
    int m_preambles = 5;
    int m_timeoutMs = DefaultResponseTimeoutMs;
};
