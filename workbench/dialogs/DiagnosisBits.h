#pragma once

#include <QList>
#include <QString>

// The diagnosis bits as the dialogs address them: check box n stands for bit
// n % 10 of category n / 10, and each category has an 8-bit value.
class DiagnosisBits
{
public:
    static constexpr int Categories = 5;
    // Categories whose failure the user may configure (operation is derived).
    static constexpr int ConfigurableCategories = 4;

    static int category(int box) { return box / 10; }
    static int bit(int box) { return box % 10; }
    static qint16 categoryTextId(int category) { return qint16(2269 + category); }

    // The boxes of the status simulation and of the diagnosis configuration.
    static const QList<int> &simulationBoxes();
    static const QList<int> &configurationBoxes();

    // An item's unsigned value as the 32-bit number the bits are taken from.
    static quint32 toBits(double value);
    static bool isSet(double value, int bit);
    static double withBit(double value, int bit, bool on);
    // Whether the configuration mask (byte c for category c) lets box be chosen.
    static bool selectable(double mask, int box);

    // The text of a bit; bits without their own text get a generic one.
    static QString text(int category, int bit);
};
