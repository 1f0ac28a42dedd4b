#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <optional>

// One HART 5 frame as it travels between master and field device. For responses
// and burst frames the two status bytes (response code, device status) are held
// apart from the data; on the wire they open the data field.
class HartFrame
{
public:
    enum class Kind : quint8
    {
        Request,
        Response,
        Burst
    };

    enum class DecodeError
    {
        None,
        TooFewPreambles,
        TooManyPreambles,
        BadDelimiter,
        BadAddress,
        Truncated,
        ByteCountBeyondBuffer,
        TrailingBytes,
        ChecksumMismatch,
        MissingStatusBytes,
    };

    struct Decoded;

    HartFrame() = default;
    static HartFrame shortFrame(Kind kind, quint8 pollingAddress, quint8 command,
                                const QByteArray &data = {});
    static HartFrame longFrame(Kind kind, quint8 manufacturerId, quint8 deviceType,
                               quint32 deviceId, quint8 command, const QByteArray &data = {});

    Kind kind() const { return m_kind; }
    void setKind(Kind kind) { m_kind = kind; }

    bool isLongAddress() const { return m_long; }
    void setShortAddress(quint8 pollingAddress);
    void setLongAddress(quint8 manufacturerId, quint8 deviceType, quint32 deviceId);
    quint8 pollingAddress() const { return m_pollingAddress; }
    // Only the low six bits of the manufacturer id travel in a long address.
    quint8 manufacturerId() const { return m_manufacturerId; }
    quint8 deviceType() const { return m_deviceType; }
    quint32 deviceId() const { return m_deviceId; }
    bool isBroadcast() const;
    bool hasSameAddress(const HartFrame &other) const;

    bool isPrimaryMaster() const { return m_primaryMaster; }
    void setPrimaryMaster(bool primary) { m_primaryMaster = primary; }
    bool isBurstMode() const { return m_burstMode; }
    void setBurstMode(bool burst) { m_burstMode = burst; }

    quint8 command() const { return m_command; }
    void setCommand(quint8 command) { m_command = command; }
    quint8 responseCode() const { return m_responseCode; }
    quint8 deviceStatus() const { return m_deviceStatus; }
    void setStatus(quint8 responseCode, quint8 deviceStatus);
    bool isCommunicationError() const { return (m_responseCode & 0x80) != 0; }
    const QByteArray &data() const { return m_data; }
    void setData(const QByteArray &data) { m_data = data; }

    // Why the frame cannot go on the wire, or an empty string.
    QString encodeProblem(int preambles = 5) const;
    // The frame with `preambles` leading 0xFF bytes; empty when encodeProblem() says why.
    QByteArray encode(int preambles = 5) const;

    // Strict: the buffer must hold exactly one frame, preambles included.
    static Decoded decode(QByteArrayView wire);
    // The same for a buffer that starts at the delimiter (no preambles).
    static Decoded decodeBody(QByteArrayView body);
    // Size of the frame that starts at body[0]: 0 while more bytes are needed to
    // tell, nullopt when body[0] is no delimiter.
    static std::optional<qsizetype> bodySize(QByteArrayView body);
    static QString errorText(DecodeError error);

    bool operator==(const HartFrame &other) const = default;

private:
    static std::optional<Kind> kindOf(quint8 delimiter);
    static quint8 checksum(QByteArrayView bytes);
    quint8 delimiter() const;
    QByteArray addressBytes() const;
    bool readAddress(QByteArrayView address);

    Kind m_kind = Kind::Request;
    bool m_long = false;
    bool m_primaryMaster = true;
    bool m_burstMode = false;
    quint8 m_pollingAddress = 0;
    quint8 m_manufacturerId = 0;
    quint8 m_deviceType = 0;
    quint32 m_deviceId = 0;
    quint8 m_command = 0;
    quint8 m_responseCode = 0;
    quint8 m_deviceStatus = 0;
    QByteArray m_data;
};

// Outcome of decoding: the frame, or why there is none.
struct HartFrame::Decoded
{
    std::optional<HartFrame> frame;
    DecodeError error = DecodeError::None;
    bool ok() const { return frame.has_value(); }
};

Q_DECLARE_METATYPE(HartFrame)
