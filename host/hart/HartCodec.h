#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>

// Byte layouts of HART data fields. Every field is big-endian. Readers take an
// offset and never read past the buffer: a field that does not fit reads as 0
// (integers), NaN (floats) or an invalid date, so callers check lengths first
// when a short buffer must be reported rather than tolerated.
class HartCodec
{
public:
    static QByteArray fromFloat(float value);
    // A double as a float field; beyond the float range it stops at the largest
    // float instead of overflowing, which C++ leaves undefined.
    static QByteArray fromReal(double value);
    static float toFloat(QByteArrayView bytes, qsizetype at = 0);

    static QByteArray fromUInt16(quint16 value);
    static quint16 toUInt16(QByteArrayView bytes, qsizetype at = 0);
    // Values above 0xFFFFFF are cut to their low 24 bits.
    static QByteArray fromUInt24(quint32 value);
    static quint32 toUInt24(QByteArrayView bytes, qsizetype at = 0);
    static QByteArray fromUInt32(quint32 value);
    static quint32 toUInt32(QByteArrayView bytes, qsizetype at = 0);

    // Packed ASCII: four 6-bit characters in three bytes. The text is upper-cased,
    // cut or padded with blanks to fill `bytes` (a multiple of 3); characters the
    // 6-bit set cannot hold become '?'.
    static QByteArray packAscii(const QString &text, int bytes);
    // Unpacks every whole group of three bytes; padding blanks are kept.
    static QString unpackAscii(QByteArrayView bytes);

    // Day, month, year - 1900. Dates outside 1900..2155 give an empty array.
    static QByteArray fromDate(const QDate &date);
    static QDate toDate(QByteArrayView bytes, qsizetype at = 0);

private:
    static bool fits(QByteArrayView bytes, qsizetype at, qsizetype size);
    static quint32 readUnsigned(QByteArrayView bytes, qsizetype at, int size);
    static QByteArray writeUnsigned(quint32 value, int size);
    static quint8 packedCode(QChar c);
};
