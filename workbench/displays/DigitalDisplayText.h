#pragma once

#include <QString>

// The two-line text of the digital display: the value and its unit right-
// aligned in one field whose width changes only when the value's length
// leaves a band, so that a value flickering between 9.9 and 10.1 does not
// make the font jump.
struct DigitalDisplayText
{
    // The field width for a value of this length, given the current width
    // (0 before the first value): kept while current - 3 <= length <= current - 1,
    // else length + 2.
    static int maskLength(int current, int valueLength);
    // Right-aligned in the field; a longer text is shown whole.
    static QString rightAligned(const QString &text, int width);
    // Code, value, line break, unit.
    static QString compose(const QString &code, const QString &value, const QString &unit,
                           int width);
};
