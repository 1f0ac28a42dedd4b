#pragma once

#include <QList>
#include <QString>

// The engineering unit codes of the protocol's common table as the generic
// view shows and offers them. The device's own description is not at hand
// for a device of another maker; this table is what every device shares.
namespace GenericUnits {

// The unit's symbol ("bar", "°C", "m³/h"); the code in words when the table
// does not know it.
QString symbol(quint8 code);
// Whether the table knows the code.
bool isKnown(quint8 code);
// The units of the same quantity (pressure, temperature, flow, ...) in table
// order, the code itself among them; only the code when its quantity is not
// known. A primary variable's unit is changed within its quantity.
QList<quint8> sameQuantity(quint8 code);

} // namespace GenericUnits
