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
    ItemValue(const ItemValue &) = default;
    ItemValue(ItemValue &&) noexcept = default;
    ItemValue &operator=(ItemValue &&) noexcept = default;
    // Parts already shared are left alone: a number item's empty texts,
    // a string item's empty bytes cost nothing on the store's write path.
    ItemValue &operator=(const ItemValue &other)
    {
        m_number = other.m_number;
        // Copy and swap: the containers' inline copy, not their out-of-line assignment.
        if (!sameData(m_bytes, other.m_bytes))
            QByteArray(other.m_bytes).swap(m_bytes);
        if (!sameData(m_text, other.m_text))
            QString(other.m_text).swap(m_text);
        return *this;
    }

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
        // Most values have no bytes: two empty ones need no call to compare.
        return m_number == other.m_number &&
               ((m_bytes.isEmpty() && other.m_bytes.isEmpty()) || m_bytes == other.m_bytes) &&
               m_text == other.m_text;
    }
    bool operator!=(const ItemValue &other) const { return !(*this == other); }

    static QString floatToString(float value);

private:
    // The same characters of the same shared block: assigning them changes nothing.
    static bool sameData(const QByteArray &a, const QByteArray &b) { return a.isSharedWith(b); }
    static bool sameData(const QString &a, const QString &b)
    {
        return a.isSharedWith(b) && a.constData() == b.constData() && a.size() == b.size();
    }
    bool parseWith(const ItemDefinition &definition, const QString &text,
                   const QList<EnumerationEntry> *enumeration, bool userFormat);

    double m_number = 0;
    QByteArray m_bytes;
    QString m_text;
};
