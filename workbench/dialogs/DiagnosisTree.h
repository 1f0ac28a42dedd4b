#pragma once

#include <QByteArray>
#include <QList>
#include <array>
#include <optional>

// What the status dialog shows of the device's diagnosis value: one byte per
// category, the self-test result after them. Remembers the categories last
// shown, so that an unchanged diagnosis leaves the tree alone.
class DiagnosisTree
{
public:
    static constexpr int Categories = 5;
    // Electronics bit 3: the sensor module does not answer; the categories
    // from the first one with messages on show no messages.
    static constexpr quint8 ModuleDisconnected = 0x08;
    static constexpr quint8 MessageBits = 0x7F;

    struct Category
    {
        int index = 0;
        bool attention = false;
        QList<int> bits; // set bits, 0 to 7, when attention
    };

    // The categories to show anew, in order; nullopt when none changed. The
    // list stops early where the disconnected module hides the rest (those
    // keep their symbols). The last byte is the self-test result, never a
    // category, and at most five categories are examined.
    std::optional<QList<Category>> refresh(const QByteArray &value);
    void forget() { m_last.fill(0); }

    // The self-test byte, when the value carries one.
    static std::optional<quint8> selfTestResult(const QByteArray &value);

private:
    std::array<quint8, Categories> m_last{};
};
