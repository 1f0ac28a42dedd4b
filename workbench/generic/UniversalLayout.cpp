#include "UniversalLayout.h"

#include "hart/HartCodec.h"

namespace UniversalLayout {

namespace {

constexpr int VariableBytes = 5; // unit code and float

Variable variableAt(const QByteArray &data, qsizetype at)
{
    return {quint8(data[at]), HartCodec::toFloat(data, at + 1)};
}

QString unpacked(const QByteArray &data, qsizetype at, int bytes)
{
    // The device pads with blanks; what the user typed ends before them.
    QString text = HartCodec::unpackAscii(QByteArrayView(data).sliced(at, bytes));
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace

std::optional<Variable> primaryVariable(const QByteArray &data)
{
    if (data.size() < VariableBytes)
        return std::nullopt;
    return variableAt(data, 0);
}

std::optional<CurrentAndPercent> currentAndPercent(const QByteArray &data)
{
    if (data.size() < 8)
        return std::nullopt;
    return CurrentAndPercent{HartCodec::toFloat(data, 0), HartCodec::toFloat(data, 4)};
}

std::optional<DynamicVariables> dynamicVariables(const QByteArray &data)
{
    // The loop current and at least the primary variable.
    if (data.size() < 4 + VariableBytes)
        return std::nullopt;
    DynamicVariables values;
    values.current = HartCodec::toFloat(data, 0);
    for (qsizetype at = 4; at + VariableBytes <= data.size() && values.variables.size() < 4;
         at += VariableBytes)
        values.variables.append(variableAt(data, at));
    return values;
}

std::optional<QString> message(const QByteArray &data)
{
    if (data.size() < MessageBytes)
        return std::nullopt;
    return unpacked(data, 0, MessageBytes);
}

std::optional<TagDescriptorDate> tagDescriptorDate(const QByteArray &data)
{
    if (data.size() < TagBytes + DescriptorBytes + 3)
        return std::nullopt;
    return TagDescriptorDate{unpacked(data, 0, TagBytes), unpacked(data, TagBytes, DescriptorBytes),
                             HartCodec::toDate(data, TagBytes + DescriptorBytes)};
}

std::optional<SensorInformation> sensorInformation(const QByteArray &data)
{
    if (data.size() < 16)
        return std::nullopt;
    return SensorInformation{HartCodec::toUInt24(data, 0), quint8(data[3]),
                             HartCodec::toFloat(data, 4), HartCodec::toFloat(data, 8),
                             HartCodec::toFloat(data, 12)};
}

std::optional<OutputInformation> outputInformation(const QByteArray &data)
{
    // Revision 5 adds a distributor code, later ones the analog channel
    // flags: neither is shown.
    if (data.size() < 16)
        return std::nullopt;
    OutputInformation info;
    info.alarmSelection = quint8(data[0]);
    info.transferFunction = quint8(data[1]);
    info.rangeUnit = quint8(data[2]);
    info.upperRange = HartCodec::toFloat(data, 3);
    info.lowerRange = HartCodec::toFloat(data, 7);
    info.damping = HartCodec::toFloat(data, 11);
    info.writeProtect = quint8(data[15]);
    return info;
}

std::optional<quint32> finalAssemblyNumber(const QByteArray &data)
{
    if (data.size() < 3)
        return std::nullopt;
    return HartCodec::toUInt24(data, 0);
}

std::optional<QString> longTag(const QByteArray &data)
{
    if (data.size() < LongTagBytes)
        return std::nullopt;
    QString text = QString::fromLatin1(data.first(LongTagBytes));
    while (text.endsWith(QChar(0)) || text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QByteArray messageRequest(const QString &message)
{
    return HartCodec::packAscii(message.toUpper(), MessageBytes);
}

std::optional<QByteArray> tagDescriptorDateRequest(const TagDescriptorDate &values)
{
    const QByteArray date = HartCodec::fromDate(values.date);
    if (date.isEmpty())
        return std::nullopt;
    return HartCodec::packAscii(values.tag.toUpper(), TagBytes) +
           HartCodec::packAscii(values.descriptor.toUpper(), DescriptorBytes) + date;
}

QByteArray longTagRequest(const QString &tag)
{
    QByteArray bytes = tag.left(LongTagBytes).toLatin1();
    bytes.append(LongTagBytes - bytes.size(), '\0');
    return bytes;
}

bool fitsPackedAscii(const QString &text)
{
    for (const QChar c : text.toUpper()) {
        if (c.unicode() < 0x20 || c.unicode() > 0x5F)
            return false;
    }
    return true;
}

} // namespace UniversalLayout
