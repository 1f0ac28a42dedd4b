#include "hart/SerialHartLink.h"

#include "hart/HartLinkTexts.h"
#include "hart/HartProtocol.h"

#include <QSerialPort>

SerialHartLink::SerialHartLink(Settings settings, QObject *parent)
    : HartLink(parent), m_settings(std::move(settings))
{
    for (QTimer *t : {&m_keyTimer, &m_answerTimer, &m_gapTimer, &m_retryTimer}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_keyTimer, &QTimer::timeout, this, &SerialHartLink::transmitted);
    connect(&m_answerTimer, &QTimer::timeout, this, &SerialHartLink::answerTimedOut);
    connect(&m_gapTimer, &QTimer::timeout, this, &SerialHartLink::resume);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        if (m_open && hasRequestInFlight())
            sendAttempt();
    });
}

SerialHartLink::~SerialHartLink()
{
    if (m_port)
        m_port->disconnect(this);
}

int SerialHartLink::characterTimeMs(int characters)
{
    return (characters * BitsPerCharacter * 1000 + BitRate - 1) / BitRate;
}

bool SerialHartLink::isOpen() const
{
    return m_open;
}

bool SerialHartLink::open()
{
    if (m_open)
        return true;
    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(m_settings.portName);
    if (!m_port->open(QIODevice::ReadWrite)) {
        setErrorString(HartLinkTexts::text(HartLinkTexts::SerialCannotOpen)
                           .arg(m_settings.portName, m_port->errorString()));
        m_port.reset();
        return false;
    }
    const bool configured =
        m_port->setBaudRate(BitRate) && m_port->setDataBits(QSerialPort::Data8) &&
        m_port->setParity(QSerialPort::OddParity) && m_port->setStopBits(QSerialPort::OneStop) &&
        m_port->setFlowControl(QSerialPort::NoFlowControl);
    // Set explicitly: drivers leave RTS and DTR as the last program did.
    // DTR powers most modems; RTS low keeps the carrier off until we talk.
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(!m_settings.rtsKeying);
    if (!configured) {
        setErrorString(HartLinkTexts::text(HartLinkTexts::SerialWrongSettings)
                           .arg(m_settings.portName, m_port->errorString()));
        m_port.reset();
        return false;
    }
    connect(m_port.get(), &QSerialPort::readyRead, this, &SerialHartLink::readBytes);
    connect(m_port.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) {
                if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError ||
                    e == QSerialPort::DeviceNotFoundError)
                    portFailed();
            });
    setErrorString({});
    m_reader.reset();
    m_open = true;
    Q_EMIT openChanged(true);
    return true;
}

void SerialHartLink::close()
{
    if (m_open)
        shutDown();
}

bool SerialHartLink::readyToTransmit() const
{
    // The line rests between an answer (or a time-out) and the next request.
    return m_open && !m_gapTimer.isActive();
}

void SerialHartLink::transmit(const HartFrame &)
{
    m_attempt = 0;
    sendAttempt();
}

void SerialHartLink::sendAttempt()
{
    const QByteArray wire = requestInFlight().encode(m_settings.preambles);
    if (wire.isEmpty()) {
        finishWithCommunicationError(hart::commerror::Flag | hart::commerror::Undefined);
        return;
    }
    ++m_attempt;
    // What is left of an earlier answer goes to the record, not into this one.
    flushReader();
    m_receiving = false;
    // Each call on the port may find it gone and close the link.
    if (m_settings.rtsKeying)
        m_port->setRequestToSend(true);
    if (!m_open)
        return;
    m_port->write(wire);
    HartTraffic sent;
    sent.direction = HartTraffic::Direction::ToDevice;
    sent.medium = HartTraffic::Medium::Serial;
    sent.bytes = wire;
    record(sent);
    if (!m_open)
        return;
    // The carrier stays keyed until the last bit has left at 1200 bit/s.
    m_keyTimer.start(characterTimeMs(int(wire.size())));
}

void SerialHartLink::transmitted()
{
    if (!m_open)
        return;
    if (m_settings.rtsKeying)
        m_port->setRequestToSend(false);
    if (!m_open || !hasRequestInFlight())
        return; // gone, or answered already
    m_answerTimer.start(m_receiving                        ? characterTimeMs(GapCharacters)
                        : m_settings.responseTimeoutMs > 0 ? m_settings.responseTimeoutMs
                                                           : characterTimeMs(ResponseCharacters));
}

void SerialHartLink::readBytes()
{
    const QList<HartFrameReader::Piece> pieces = m_reader.read(m_port->readAll());
    std::optional<HartFrame> answer;
    std::optional<quint8> garbled;
    for (const HartFrameReader::Piece &piece : pieces) {
        // Every piece travelled, whoever it was meant for.
        recordPiece(piece);
        if (!hasRequestInFlight() || answer)
            continue;
        if (piece.kind == HartFrameReader::Piece::Kind::FailedFrame)
            garbled = piece.errorBits;
        if (!piece.frame)
            continue;
        const HartFrame &request = requestInFlight();
        // Frames of other masters and answers for another address are not ours.
        if (piece.frame->kind() == HartFrame::Kind::Response &&
            piece.frame->command() == request.command() && piece.frame->hasSameAddress(request))
            answer = piece.frame;
    }
    if (!hasRequestInFlight())
        return; // nobody asked
    if (answer) {
        pauseLine();
        finishWithResponse(*answer);
        return;
    }
    if (garbled) {
        // A whole frame arrived but did not hold together: noise on the line.
        retryOrReport(true, *garbled);
        return;
    }
    // An answer under way: wait for the rest, but not for ever.
    m_receiving = m_reader.bufferedBytes() > 0;
    if (m_receiving && !m_keyTimer.isActive())
        m_answerTimer.start(characterTimeMs(GapCharacters));
}

void SerialHartLink::answerTimedOut()
{
    if (!hasRequestInFlight())
        return;
    // Bytes that stopped in the middle of a frame are a garbled answer.
    const bool truncated = m_receiving && m_reader.bufferedBytes() > 0;
    flushReader();
    retryOrReport(truncated, hart::commerror::Flag | hart::commerror::Framing);
}

void SerialHartLink::retryOrReport(bool garbled, quint8 errorBits)
{
    m_answerTimer.stop();
    if (m_attempt <= m_settings.retries) {
        // The line is quiet for the retry gap before the request goes again.
        m_retryTimer.start(characterTimeMs(RetryGapCharacters));
        return;
    }
    pauseLine();
    if (garbled)
        finishWithCommunicationError(errorBits);
    else
        finishWithTimeout();
}

void SerialHartLink::pauseLine()
{
    m_answerTimer.stop();
    m_receiving = false;
    m_gapTimer.start(characterTimeMs(RetryGapCharacters));
}

void SerialHartLink::recordPiece(const HartFrameReader::Piece &piece)
{
    using Kind = HartFrameReader::Piece::Kind;
    HartTraffic received;
    received.direction = HartTraffic::Direction::FromDevice;
    received.medium = HartTraffic::Medium::Serial;
    received.shape = piece.kind == Kind::Frame         ? HartTraffic::Shape::Frame
                     : piece.kind == Kind::FailedFrame ? HartTraffic::Shape::FailedFrame
                                                       : HartTraffic::Shape::Garbage;
    received.errorBits = piece.errorBits;
    received.bytes = piece.bytes;
    record(received);
}

void SerialHartLink::flushReader()
{
    if (const std::optional<HartFrameReader::Piece> rest = m_reader.flush())
        recordPiece(*rest);
}

void SerialHartLink::portFailed()
{
    if (!m_open)
        return;
    setErrorString(HartLinkTexts::text(HartLinkTexts::SerialGone)
                       .arg(m_settings.portName, m_port->errorString()));
    shutDown();
}

void SerialHartLink::shutDown()
{
    m_open = false;
    m_keyTimer.stop();
    m_answerTimer.stop();
    m_gapTimer.stop();
    m_retryTimer.stop();
    flushReader();
    if (m_port) {
        m_port->disconnect(this);
        if (m_port->isOpen()) {
            m_port->setRequestToSend(false);
            m_port->close();
        }
        m_port.release()->deleteLater();
    }
    loseRequests();
    Q_EMIT openChanged(false);
}
