#include "CommonPracticeLayout.h"

#include "hart/HartCodec.h"

namespace CommonPracticeLayout {

namespace {
constexpr int FirstStandardByte = 6;
constexpr int LastStandardByte = 13;
} // namespace

QByteArray dampingRequest(double seconds)
{
    return HartCodec::fromReal(seconds);
}

QByteArray rangeRequest(const RangeValues &range)
{
    return QByteArray(1, char(range.unit)) + HartCodec::fromFloat(range.upper) +
           HartCodec::fromFloat(range.lower);
}

QByteArray fixedCurrentRequest(double milliamperes)
{
    return HartCodec::fromReal(milliamperes);
}

QByteArray unitRequest(quint8 unit)
{
    return QByteArray(1, char(unit));
}

QByteArray trimRequest(double measuredMilliamperes)
{
    return HartCodec::fromReal(measuredMilliamperes);
}

std::optional<float> floatAnswer(const QByteArray &data)
{
    if (data.size() < 4)
        return std::nullopt;
    return HartCodec::toFloat(data, 0);
}

std::optional<RangeValues> rangeAnswer(const QByteArray &data)
{
    if (data.size() < 9)
        return std::nullopt;
    return RangeValues{quint8(data[0]), HartCodec::toFloat(data, 1), HartCodec::toFloat(data, 5)};
}

std::optional<quint8> unitAnswer(const QByteArray &data)
{
    if (data.isEmpty())
        return std::nullopt;
    return quint8(data[0]);
}

std::optional<quint8> AdditionalStatus::byteAt(int index) const
{
    if (index < 0 || index >= bytes.size())
        return std::nullopt;
    return quint8(bytes[index]);
}

QByteArray AdditionalStatus::deviceSpecific() const
{
    if (!standardLayout)
        return bytes;
    return bytes.first(qMin<qsizetype>(bytes.size(), FirstStandardByte)) +
           bytes.mid(LastStandardByte + 1);
}

std::optional<AdditionalStatus> additionalStatus(const QByteArray &data, quint8 universalRevision)
{
    // Fewer bytes than the first maker's byte is no status at all.
    if (data.isEmpty())
        return std::nullopt;
    return AdditionalStatus{data, universalRevision >= StandardStatusRevision};
}

} // namespace CommonPracticeLayout
