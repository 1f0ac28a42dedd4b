#include "hart/HartCodec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

QByteArray HartCodec::fromFloat(float value)
{
    return writeUnsigned(std::bit_cast<quint32>(value), 4);
}

QByteArray HartCodec::fromReal(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isfinite(value))
        value = std::clamp(value, -largest, largest);
    return fromFloat(float(value));
}

float HartCodec::toFloat(QByteArrayView bytes, qsizetype at)
{
    if (!fits(bytes, at, 4))
        return std::numeric_limits<float>::quiet_NaN();
    return std::bit_cast<float>(readUnsigned(bytes, at, 4));
}

QByteArray HartCodec::fromUInt16(quint16 value)
{
    return writeUnsigned(value, 2);
}

quint16 HartCodec::toUInt16(QByteArrayView bytes, qsizetype at)
{
    return quint16(readUnsigned(bytes, at, 2));
}

QByteArray HartCodec::fromUInt24(quint32 value)
{
    return writeUnsigned(value & 0xFFFFFFu, 3);
}

quint32 HartCodec::toUInt24(QByteArrayView bytes, qsizetype at)
{
    return readUnsigned(bytes, at, 3);
}

QByteArray HartCodec::fromUInt32(quint32 value)
{
    return writeUnsigned(value, 4);
}

quint32 HartCodec::toUInt32(QByteArrayView bytes, qsizetype at)
{
    return readUnsigned(bytes, at, 4);
}

QByteArray HartCodec::packAscii(const QString &text, int bytes)
{
    const int groups = qMax(0, bytes) / 3;
    QByteArray packed;
    packed.reserve(groups * 3);
    for (int g = 0; g < groups; ++g) {
        quint32 bits = 0;
        for (int i = 0; i < 4; ++i) {
            const int index = g * 4 + i;
            const QChar c = index < text.size() ? text.at(index) : QChar(u' ');
            bits = (bits << 6) | packedCode(c);
        }
        packed += writeUnsigned(bits, 3);
    }
    return packed;
}

QString HartCodec::unpackAscii(QByteArrayView bytes)
{
    QString text;
    for (qsizetype at = 0; at + 3 <= bytes.size(); at += 3) {
        const quint32 bits = readUnsigned(bytes, at, 3);
        for (int shift = 18; shift >= 0; shift -= 6) {
            const quint8 code = (bits >> shift) & 0x3F;
            // Codes below 0x20 stand for '@'..'_', the others for ' '..'?'.
            text += QChar(code < 0x20 ? code + 0x40 : code);
        }
    }
    return text;
}

QByteArray HartCodec::fromDate(const QDate &date)
{
    if (!date.isValid() || date.year() < 1900 || date.year() > 1900 + 255)
        return {};
    QByteArray bytes(3, '\0');
    bytes[0] = char(date.day());
    bytes[1] = char(date.month());
    bytes[2] = char(date.year() - 1900);
    return bytes;
}

QDate HartCodec::toDate(QByteArrayView bytes, qsizetype at)
{
    if (!fits(bytes, at, 3))
        return {};
    const auto byte = [&](qsizetype i) { return int(quint8(bytes[at + i])); };
    return QDate(1900 + byte(2), byte(1), byte(0));
}

bool HartCodec::fits(QByteArrayView bytes, qsizetype at, qsizetype size)
{
    return at >= 0 && size >= 0 && at <= bytes.size() - size;
}

quint32 HartCodec::readUnsigned(QByteArrayView bytes, qsizetype at, int size)
{
    if (!fits(bytes, at, size))
        return 0;
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

QByteArray HartCodec::writeUnsigned(quint32 value, int size)
{
    QByteArray bytes(size, '\0');
    for (int i = size - 1; i >= 0; --i) {
        bytes[i] = char(value & 0xFF);
        value >>= 8;
    }
    return bytes;
}

quint8 HartCodec::packedCode(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u < 0x20 || u > 0x5F)
        return '?' & 0x3F;
    return quint8(u & 0x3F);
}
