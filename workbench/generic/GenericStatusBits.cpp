#include "GenericStatusBits.h"

#include <array>

namespace GenericStatusBits {

namespace {

using Names = std::array<qint16, 8>; // text id by bit, lowest first; 0 reserved

constexpr Names DeviceStatusNames{7740, 7741, 7742, 7743, 7744, 7745, 7746, 7747};
constexpr Names ExtendedNames{7748, 7749, 7750, 7751, 7752, 7753, 0, 0};
constexpr Names Standardized0Names{7754, 7755, 7756, 7757, 7758, 7759, 7760, 7761};
constexpr Names Standardized1Names{7762, 7763, 7764, 0, 0, 0, 0, 0};
constexpr Names Standardized2Names{7765, 7766, 7767, 7768, 7769, 0, 0, 0};
constexpr Names Standardized3Names{7770, 0, 7771, 7772, 7773, 0, 0, 0};

const Names &namesOf(Byte byte)
{
    switch (byte) {
    case Byte::DeviceStatus:
        return DeviceStatusNames;
    case Byte::ExtendedDeviceStatus:
        return ExtendedNames;
    case Byte::Standardized0:
        return Standardized0Names;
    case Byte::Standardized1:
        return Standardized1Names;
    case Byte::Standardized2:
        return Standardized2Names;
    case Byte::Standardized3:
        break;
    }
    return Standardized3Names;
}

} // namespace

QList<Bit> setBits(Byte byte, quint8 value)
{
    const Names &names = namesOf(byte);
    QList<Bit> bits;
    for (int bit = 0; bit < 8; ++bit) {
        if (value & (1u << bit))
            bits.append({bit, names[bit]});
    }
    return bits;
}

} // namespace GenericStatusBits
