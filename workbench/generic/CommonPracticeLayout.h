#pragma once

#include <QByteArray>
#include <optional>

// The data of the common-practice commands the generic view sends, laid out
// as the protocol publishes them: requests and the answers that echo what the
// device took. Most devices answer them; one that does not says so with
// response code 64.
namespace CommonPracticeLayout {

// Revision 7 of the universal commands gave bytes 6 to 13 of command 48
// their standard meanings.
constexpr quint8 StandardStatusRevision = 7;

// Command 35: the upper range value comes first on the wire.
struct RangeValues
{
    quint8 unit = 0;
    float upper = 0.0f;
    float lower = 0.0f;
};

QByteArray dampingRequest(double seconds);
QByteArray rangeRequest(const RangeValues &range);
// 0 mA leaves fixed-current mode.
QByteArray fixedCurrentRequest(double milliamperes);
QByteArray unitRequest(quint8 unit);
// The current the reference meter shows while the loop is fixed at 4 or 20 mA.
QByteArray trimRequest(double measuredMilliamperes);

// The float the device echoes (damping, fixed current, trimmed current).
std::optional<float> floatAnswer(const QByteArray &data);
std::optional<RangeValues> rangeAnswer(const QByteArray &data);
std::optional<quint8> unitAnswer(const QByteArray &data);

// Command 48. Bytes 0 to 5 and 14 on are the maker's own; for revision 7
// and later the bytes between have standard meanings. A device sends as
// many bytes as it has.
struct AdditionalStatus
{
    QByteArray bytes;
    bool standardLayout = false;

    std::optional<quint8> byteAt(int index) const;
    // Only with the standard layout, and only when the device sent the byte.
    std::optional<quint8> extendedDeviceStatus() const { return standard(6); }
    std::optional<quint8> standardized0() const { return standard(8); }
    std::optional<quint8> standardized1() const { return standard(9); }
    std::optional<quint8> analogChannelSaturated() const { return standard(10); }
    std::optional<quint8> standardized2() const { return standard(11); }
    std::optional<quint8> standardized3() const { return standard(12); }
    std::optional<quint8> analogChannelFixed() const { return standard(13); }
    // The maker's bytes: all of them without the standard layout.
    QByteArray deviceSpecific() const;

private:
    std::optional<quint8> standard(int index) const
    {
        return standardLayout ? byteAt(index) : std::nullopt;
    }
};

std::optional<AdditionalStatus> additionalStatus(const QByteArray &data, quint8 universalRevision);

} // namespace CommonPracticeLayout
