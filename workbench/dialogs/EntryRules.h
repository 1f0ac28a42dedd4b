#pragma once

#include <QChar>
#include <QLocale>
#include <QString>
#include <optional>

// What the dialogs' own entry boxes accept and how they show numbers.
namespace EntryRules {

// A number typed in the user's format or with '.'; no group separators.
std::optional<double> toNumber(const QString &text, const QLocale &locale = QLocale());

// Range value boxes: backspace, '.', ',' and '-' always; any other key only
// when it is a digit and the text it makes is still a number.
bool acceptRangeKey(QChar typed, const QString &textAfter, const QLocale &locale = QLocale());
// Plain numeric boxes: digits, '.', ',' and backspace; '-' where allowed.
bool acceptNumericKey(QChar typed, bool allowMinus);

// A float shown as the device keeps it: single precision, up to 7 digits.
QString singleText(double value, const QLocale &locale = QLocale());

// Current simulation: the value clamped to 3.6 .. 23.6 mA, and the slider
// position in tenths of a milliampere (3.6 gives 36, not 35).
constexpr double SimulationMin = 3.6;
constexpr double SimulationMax = 23.6;
double clampSimulation(double milliamps);
int sliderPosition(double milliamps);

} // namespace EntryRules
