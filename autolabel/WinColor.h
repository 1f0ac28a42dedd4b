#pragma once

#include <QColor>

// Colours as the stored design data and the displays carry them: one
// number with red in the low byte, then green, then blue.
namespace WinColor {
constexpr qint32 Red = 255;
constexpr qint32 Yellow = 65535;
constexpr qint32 Green = 65280;
constexpr qint32 Grey = 0x808080;
constexpr qint32 Black = 0;

QColor toColor(qint32 colour);
qint32 fromColor(const QColor &colour);
} // namespace WinColor
