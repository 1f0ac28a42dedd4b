#pragma once

#include <QString>

// The HART manufacturer identification codes and the names published for
// them, so that a device of any maker can be named to the user. A code the
// table does not hold is shown as itself in hex.
class HartManufacturers
{
public:
    // The published name; empty for a code the table does not hold.
    static QString name(quint16 code);
    // "0x2A" (two digits up to 0xFF, four above).
    static QString codeText(quint16 code);
    // "Siemens (0x2A)", or "0x1234" for an unknown code.
    static QString describe(quint16 code);
};
