#pragma once

#include "hart/HartFrameReader.h"
#include "hart/HartLink.h"

#include <QTimer>
#include <memory>

class QSerialPort;

// HART over a serial modem: 1200 bit/s, 8 data bits, odd parity, 1 stop bit.
// RTS keys the modem's carrier around each request (switchable) and DTR
// powers it; both are set explicitly after opening, never left to the driver.
// The response time-out, the gap before a retry and the retries follow the
// data-link layer's timing for a primary master; an answer that cannot be
// read or none at all is tried again before it is reported. A port that
// disappears (a USB modem pulled) closes the link with connectionLost. The
// traffic record gets the line as it was: each request as written, each
// frame as received (good or failed) and the garbage between frames.
class SerialHartLink : public HartLink
{
    Q_OBJECT

public:
    static constexpr int BitRate = 1200;
    static constexpr int BitsPerCharacter = 11;
    // A primary master waits 41 character times for the start of an answer
    // and leaves 8 between an answer (or the time-out) and its next request.
    static constexpr int ResponseCharacters = 41;
    static constexpr int RetryGapCharacters = 8;
    // Inside a frame the characters follow each other; a longer gap ends it.
    static constexpr int GapCharacters = 4;

    struct Settings
    {
        QString portName;
        int preambles = 5;
        int retries = 3;
        bool rtsKeying = true;
        int responseTimeoutMs = 0; // 0: the data-link layer's time-out
    };

    explicit SerialHartLink(Settings settings, QObject *parent = nullptr);
    ~SerialHartLink() override;

    const Settings &settings() const { return m_settings; }
    static int characterTimeMs(int characters);

    bool open() override;
    void close() override;
    bool isOpen() const override;

protected:
    void transmit(const HartFrame &request) override;
    bool readyToTransmit() const override;

private:
    void sendAttempt();
    void transmitted();
    void readBytes();
    void answerTimedOut();
    void retryOrReport(bool garbled, quint8 errorBits);
    void pauseLine();
    void recordPiece(const HartFrameReader::Piece &piece);
    void flushReader();
    void portFailed();
    void shutDown();

    Settings m_settings;
    std::unique_ptr<QSerialPort> m_port;
    HartFrameReader m_reader;
    QTimer m_keyTimer;    // while our request is on the wire
    QTimer m_answerTimer; // waiting for the answer to start or go on
    QTimer m_gapTimer;    // the pause before the next request
    QTimer m_retryTimer;  // the pause before a request goes again
    int m_attempt = 0;    // of the request in flight
    bool m_receiving = false;
    bool m_open = false;
};
