#pragma once

#include <QtGlobal>

// The host's own return codes (0 = success). The item core only tells zero
// from non-zero; the host's messages and tests tell them apart.
namespace HostResult {
constexpr qint32 Ok = 0;
constexpr qint32 SequenceBusy = qint32(0x804A0001);
constexpr qint32 UnknownSequence = qint32(0x804A0002);
constexpr qint32 UnknownItem = qint32(0x804A0010);
constexpr qint32 WrongType = qint32(0x804A0011);
constexpr qint32 BadValue = qint32(0x804A0012);
constexpr qint32 UnknownView = qint32(0x804A0013);
constexpr qint32 NotRegistered = qint32(0x804A0014);
constexpr qint32 NotConnected = qint32(0x804A0015);
constexpr qint32 Refused = qint32(0x804A0016);
constexpr qint32 UnknownProgId = qint32(0x804A0017);
} // namespace HostResult
