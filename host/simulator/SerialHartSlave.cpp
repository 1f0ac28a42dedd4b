#include "simulator/SerialHartSlave.h"

#include "hart/HartProtocol.h"

#include <QPointer>
#include <QSerialPort>

SerialHartSlave::SerialHartSlave(Responder responder, QObject *parent)
    : QObject(parent), m_responder(std::move(responder))
{
}

SerialHartSlave::~SerialHartSlave()
{
    close();
}

bool SerialHartSlave::open(const QString &portName, QString *error)
{
    close();
    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(portName);
    if (!m_port->open(QIODevice::ReadWrite)) {
        *error = m_port->errorString();
        m_port.reset();
        return false;
    }
    m_port->setBaudRate(1200);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::OddParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    connect(m_port.get(), &QSerialPort::readyRead, this, &SerialHartSlave::readBytes);
    connect(m_port.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) {
                if (e == QSerialPort::ResourceError) {
                    const QString reason = m_port->errorString();
                    close();
                    Q_EMIT portLost(reason);
                }
            });
    m_reader.reset();
    return true;
}

void SerialHartSlave::close()
{
    if (!m_port)
        return;
    m_port->disconnect(this);
    m_port->close();
    m_port.release()->deleteLater();
}

bool SerialHartSlave::isOpen() const
{
    return m_port && m_port->isOpen();
}

int SerialHartSlave::wireTimeMs(qsizetype bytes) const
{
    if (m_bitRate <= 0)
        return 0;
    return int((bytes * 11 * 1000 + m_bitRate - 1) / m_bitRate);
}

void SerialHartSlave::readBytes()
{
    const QList<HartFrame> frames = m_reader.feed(m_port->readAll());
    for (const HartFrame &frame : frames) {
        // Answers of other slaves on the same line are heard and left alone.
        if (frame.kind() != HartFrame::Kind::Request)
            continue;
        const QByteArray request = frame.encode(hart::DefaultPreambles);
        Q_EMIT requestServed(frame.command());
        const std::optional<QByteArray> answer = m_responder(request);
        if (!answer)
            continue;
        const int delay =
            m_bitRate > 0 ? wireTimeMs(request.size()) + TurnaroundMs + wireTimeMs(answer->size())
                          : 0;
        QPointer<QSerialPort> port = m_port.get();
        if (delay == 0) {
            port->write(*answer);
            continue;
        }
        QTimer::singleShot(delay, this, [port, bytes = *answer] {
            if (port && port->isOpen())
                port->write(bytes);
        });
    }
}
