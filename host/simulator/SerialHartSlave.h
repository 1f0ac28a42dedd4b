#pragma once

#include "hart/HartFrameReader.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QSerialPort;

// Serves a HART device (or a loop of them) as a slave on a serial line
// (1200 bit/s, 8 data bits, odd parity, 1 stop bit). A pseudo-terminal carries
// bytes at once, so the line's own time can be modelled: the answer then goes
// out when the request, the turnaround and the answer would have taken.
class SerialHartSlave : public QObject
{
    Q_OBJECT

public:
    using Responder = std::function<std::optional<QByteArray>(QByteArrayView request)>;
    static constexpr int TurnaroundMs = 20;

    explicit SerialHartSlave(Responder responder, QObject *parent = nullptr);
    ~SerialHartSlave() override;

    bool open(const QString &portName, QString *error);
    void close();
    bool isOpen() const;
    // 0: answer at once; 1200: as the bytes take on a HART loop.
    void setModelledBitRate(int bitsPerSecond) { m_bitRate = bitsPerSecond; }

Q_SIGNALS:
    void requestServed(quint8 command);
    void portLost(const QString &reason);

private:
    void readBytes();
    int wireTimeMs(qsizetype bytes) const;

    Responder m_responder;
    std::unique_ptr<QSerialPort> m_port;
    HartFrameReader m_reader;
    int m_bitRate = 0;
};
