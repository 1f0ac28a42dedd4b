#pragma once

#include <QList>

class VexaFieldControl;

// Rows of framework controls one above the other: their fields start in one
// column after the widest caption, all of one width, the units after them.
class FieldColumn
{
public:
    // Returns where the fields start, for other rows to line up with them.
    static int align(const QList<VexaFieldControl *> &rows, int fieldWidth);
};
