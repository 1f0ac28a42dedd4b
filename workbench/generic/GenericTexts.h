#pragma once

#include "GenericDevice.h"

#include <QString>

struct HartDeviceIdentity;

// How the generic view reads for the user, from the program's string table,
// with numbers in the user's format.
namespace GenericTexts {

// A value as the device keeps it (single precision), "—" for NaN; with the
// unit's symbol when one is given.
QString value(float value, const QString &unit = QString());
QString unitValue(float value, quint8 unit);
// The unit's symbol from the one unit table; in words for the codes that
// say there is none (250 to 253) and for a code the table does not name.
QString unit(quint8 code);
// Manufacturer (by name where it is known), device type as the device's
// revision states it, and device id in hex.
QString identity(const HartDeviceIdentity &identity);
// The revisions: universal commands, device, software, hardware.
QString revisions(const HartDeviceIdentity &identity);

// The connection as the view has it.
QString state(const GenericDevice &device);
// How an action ended: done, refused with the code and its meaning, or what
// kept the answer from coming.
QString result(const GenericDevice::Result &result);

// The code tables of command 15.
QString transferFunction(quint8 code);
QString alarmSelection(quint8 code);
QString writeProtect(quint8 code);

} // namespace GenericTexts
