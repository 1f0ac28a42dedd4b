#pragma once

#include "ItemDefinition.h"

#include <QByteArray>
#include <QString>

// The value of one item in its type: numbers as double (UInt, Int, BCD,
// Float), byte strings for Octets, PCA (the characters) and HartDate, text
// for String. Converts to and from the host's string form.
class ItemValue
{
public:
    ItemValue() = default;

    static ItemValue initial(const ItemDefinition &definition);

    double number() const { return m_number; }
    const QByteArray &bytes() const { return m_bytes; }
    const QString &text() const { return m_text; }

    void setNumber(double number) { m_number = number; }
    void setBytes(const QByteArray &bytes) { m_bytes = bytes; }
    void setText(const QString &text) { m_text = text; }

    // The string form: integers in decimal, floats in their shortest exact
    // form with a '.', octets as hex pairs, dates as yyyy-MM-dd.
    QString toString(const ItemDefinition &definition) const;

    // Parses the string form (floats also in the user's number format, UInt
    // items with an enumeration also by text). Returns false for text the
    // type cannot hold; the value is then unchanged.
    bool parse(const ItemDefinition &definition, const QString &text,
               const QList<EnumerationEntry> *enumeration = nullptr);
    // Only the string form itself (as files hold it): no user number format,
    // no enumeration texts.
    bool parseExact(const ItemDefinition &definition, const QString &text);

    // Checks and normalises a value before it is stored; false if the type
    // cannot hold it.
    static bool acceptNumber(ItemType type, double number);
    static bool acceptBytes(const ItemDefinition &definition, QByteArray &bytes);

    bool operator==(const ItemValue &other) const
    {
        return m_number == other.m_number && m_bytes == other.m_bytes && m_text == other.m_text;
    }
    bool operator!=(const ItemValue &other) const { return !(*this == other); }

    static QString floatToString(float value);

private:
    bool parseWith(const ItemDefinition &definition, const QString &text,
                   const QList<EnumerationEntry> *enumeration, bool userFormat);

    double m_number = 0;
    QByteArray m_bytes;
    QString m_text;
};
