#include "simulator/InProcessHartLink.h"

#include "hart/HartProtocol.h"
#include "simulator/SimulatedTransmitter.h"

InProcessHartLink::InProcessHartLink(SimulatedTransmitter *device, QObject *parent)
    : HartLink(parent), m_device(device)
{
    m_timer.setSingleShot(true);
    // Coarse timers may fire 5 % early, shorter than the bytes take on the wire.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &InProcessHartLink::deliver);
    if (device) {
        connect(device, &SimulatedTransmitter::connectionChanged, this, [this](bool connected) {
            if (!connected)
                loseConnection();
        });
    }
}

void InProcessHartLink::setBitRate(int bitsPerSecond)
{
    m_bitRate = qMax(0, bitsPerSecond);
}

int InProcessHartLink::wireTimeMs(qsizetype bytes, int bitsPerSecond)
{
    if (bitsPerSecond <= 0 || bytes <= 0)
        return 0;
    const qint64 bits = qint64(bytes) * BitsPerByte * 1000;
    return int((bits + bitsPerSecond - 1) / bitsPerSecond);
}

bool InProcessHartLink::open()
{
    if (!m_device || !m_device->isConnected())
        return false;
    if (!m_open) {
        m_open = true;
        emit openChanged(true);
    }
    return true;
}

void InProcessHartLink::close()
{
    loseConnection();
}

void InProcessHartLink::transmit(const HartFrame &request)
{
    int delayMs = 0;
    m_result = transact(request, delayMs);
    m_timer.start(delayMs);
}

InProcessHartLink::Result InProcessHartLink::transact(const HartFrame &request, int &delayMs)
{
    delayMs = 0;
    m_responseBytes.clear();
    if (!m_open || !m_device || !m_device->isConnected())
        return {Outcome::ConnectionLost, {}, 0};
    const QByteArray bytes = request.encode(m_preambles);
    if (bytes.isEmpty())
        return {
            Outcome::CommunicationError, {}, hart::commerror::Flag | hart::commerror::Undefined};
    const int requestMs = wireTimeMs(bytes.size(), m_bitRate);
    HartTraffic sent;
    sent.medium = HartTraffic::Medium::Serial;
    sent.bytes = bytes;
    record(sent);
    const std::optional<QByteArray> response = m_device->respond(bytes);
    if (!response) {
        delayMs = m_bitRate > 0 ? requestMs + m_timeoutMs : 0;
        return {Outcome::Timeout, {}, 0};
    }
    if (m_bitRate > 0)
        delayMs = requestMs + TurnaroundMs + wireTimeMs(response->size(), m_bitRate);
    m_responseBytes = *response;
    return interpret(request, *response);
}

InProcessHartLink::Result InProcessHartLink::interpret(const HartFrame &request,
                                                       const QByteArray &responseBytes)
{
    const HartFrame::Decoded decoded = HartFrame::decode(responseBytes);
    if (!decoded.ok()) {
        const quint8 bit = decoded.error == HartFrame::DecodeError::ChecksumMismatch
                               ? hart::commerror::Checksum
                               : hart::commerror::Framing;
        return {Outcome::CommunicationError, {}, quint8(hart::commerror::Flag | bit)};
    }
    const HartFrame &frame = *decoded.frame;
    // A master ignores frames that do not answer its request and waits on.
    if (frame.kind() != HartFrame::Kind::Response || frame.command() != request.command() ||
        !frame.hasSameAddress(request))
        return {Outcome::Timeout, {}, 0};
    // A device that found our request garbled answers with its communication
    // error bits: that is a response, for the master to show and retry.
    return {Outcome::Response, frame, 0};
}

void InProcessHartLink::deliver()
{
    if (!hasRequestInFlight())
        return;
    const Result result = m_result;
    if (!m_responseBytes.isEmpty()) {
        // The answer arrives now, when its last byte would have.
        HartTraffic received;
        received.direction = HartTraffic::Direction::FromDevice;
        received.medium = HartTraffic::Medium::Serial;
        received.bytes = m_responseBytes;
        if (result.outcome == Outcome::CommunicationError) {
            received.shape = HartTraffic::Shape::FailedFrame;
            received.errorBits = result.errorByte;
        }
        record(received);
    }
    switch (result.outcome) {
    case Outcome::Response:
        finishWithResponse(result.response);
        break;
    case Outcome::Timeout:
        finishWithTimeout();
        break;
    case Outcome::CommunicationError:
        finishWithCommunicationError(result.errorByte);
        break;
    case Outcome::ConnectionLost:
        finishWithConnectionLost();
        break;
    }
}

void InProcessHartLink::loseConnection()
{
    if (hasRequestInFlight()) {
        // The answer on its way is lost with the line.
        m_result = {Outcome::ConnectionLost, {}, 0};
        m_responseBytes.clear();
        m_timer.start(0);
    }
    if (m_open) {
        m_open = false;
        emit openChanged(false);
    }
}
