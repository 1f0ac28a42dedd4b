#pragma once

#include <QList>
#include <QtGlobal>

// The standard meanings of the status bits every device reports: the device
// status byte of each response and, from revision 7 on, the standard bytes
// of command 48. Each set bit with its text (an id of the program's string
// table); a bit the standard keeps reserved has none.
namespace GenericStatusBits {

enum class Byte
{
    DeviceStatus,
    ExtendedDeviceStatus,
    Standardized0,
    Standardized1,
    Standardized2,
    Standardized3,
};

struct Bit
{
    int bit = 0;
    qint16 textId = 0; // 0: reserved

    bool operator==(const Bit &other) const = default;
};

// The bits set in value, lowest first.
QList<Bit> setBits(Byte byte, quint8 value);

} // namespace GenericStatusBits
