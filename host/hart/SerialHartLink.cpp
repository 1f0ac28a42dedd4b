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
    connect(&m_gapTimer, &QTimer::timeout, this, &SerialHartLink::startNext);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        if (m_open && m_inFlight)
            transmit();
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

HartLink::RequestId SerialHartLink::send(const HartFrame &request)
{
    const RequestId id = m_nextId++;
    m_queue.enqueue({id, request, 0});
    QMetaObject::invokeMethod(this, &SerialHartLink::startNext, Qt::QueuedConnection);
    return id;
}

void SerialHartLink::startNext()
{
    if (m_inFlight || m_gapTimer.isActive() || m_queue.isEmpty())
        return;
    if (!m_open) {
        while (!m_queue.isEmpty())
            Q_EMIT connectionLost(m_queue.dequeue().id);
        return;
    }
    m_inFlight = m_queue.dequeue();
    if (m_inFlight->request.encode(m_settings.preambles).isEmpty()) {
        const RequestId id = m_inFlight->id;
        m_inFlight.reset();
        Q_EMIT communicationError(id, hart::commerror::Flag | hart::commerror::Undefined);
        startNext();
        return;
    }
    transmit();
}

void SerialHartLink::transmit()
{
    const QByteArray wire = m_inFlight->request.encode(m_settings.preambles);
    ++m_inFlight->attempt;
    m_reader.reset();
    m_receiving = false;
    // Each call on the port may find it gone and close the link.
    if (m_settings.rtsKeying)
        m_port->setRequestToSend(true);
    if (!m_open)
        return;
    m_port->write(wire);
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
    if (!m_open || !m_inFlight)
        return; // gone, or answered already
    m_answerTimer.start(m_receiving                        ? characterTimeMs(GapCharacters)
                        : m_settings.responseTimeoutMs > 0 ? m_settings.responseTimeoutMs
                                                           : characterTimeMs(ResponseCharacters));
}

void SerialHartLink::readBytes()
{
    const QByteArray bytes = m_port->readAll();
    if (!m_inFlight)
        return; // nobody asked
    const qint64 rejectedBefore = m_reader.rejectedFrames();
    const QList<HartFrame> frames = m_reader.feed(bytes);
    for (const HartFrame &frame : frames) {
        const HartFrame &request = m_inFlight->request;
        // Frames of other masters and answers for another address are not ours.
        if (frame.kind() != HartFrame::Kind::Response || frame.command() != request.command() ||
            !frame.hasSameAddress(request))
            continue;
        const RequestId id = m_inFlight->id;
        finish();
        Q_EMIT responseReceived(id, frame);
        return;
    }
    if (m_reader.rejectedFrames() > rejectedBefore) {
        // A whole frame arrived but did not hold together: noise on the line.
        retryOrReport(true, hart::commerror::Flag | hart::commerror::Checksum);
        return;
    }
    // An answer under way: wait for the rest, but not for ever.
    m_receiving = m_reader.bufferedBytes() > 0;
    if (m_receiving && !m_keyTimer.isActive())
        m_answerTimer.start(characterTimeMs(GapCharacters));
}

void SerialHartLink::answerTimedOut()
{
    if (!m_inFlight)
        return;
    // Bytes that stopped in the middle of a frame are a garbled answer.
    const bool truncated = m_receiving && m_reader.bufferedBytes() > 0;
    retryOrReport(truncated, hart::commerror::Flag | hart::commerror::Framing);
}

void SerialHartLink::retryOrReport(bool garbled, quint8 errorBits)
{
    m_answerTimer.stop();
    if (m_inFlight->attempt <= m_settings.retries) {
        // The line is quiet for the retry gap before the request goes again.
        m_retryTimer.start(characterTimeMs(RetryGapCharacters));
        return;
    }
    const RequestId id = m_inFlight->id;
    finish();
    if (garbled)
        Q_EMIT communicationError(id, errorBits);
    else
        Q_EMIT requestTimedOut(id);
}

void SerialHartLink::finish()
{
    m_inFlight.reset();
    m_answerTimer.stop();
    m_receiving = false;
    m_gapTimer.start(characterTimeMs(RetryGapCharacters));
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
    if (m_port) {
        m_port->disconnect(this);
        if (m_port->isOpen()) {
            m_port->setRequestToSend(false);
            m_port->close();
        }
        m_port.release()->deleteLater();
    }
    QList<RequestId> lost;
    if (m_inFlight)
        lost << m_inFlight->id;
    m_inFlight.reset();
    while (!m_queue.isEmpty())
        lost << m_queue.dequeue().id;
    for (RequestId id : lost)
        Q_EMIT connectionLost(id);
    Q_EMIT openChanged(false);
}
