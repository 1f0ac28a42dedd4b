#include "VexaControlLayout.h"

#include <algorithm>

VexaRowGeometry VexaControlLayout::arrange(const VexaRowSpec &spec)
{
    VexaRowGeometry row;
    const bool label = spec.showLabel && spec.labelWidth > 0;
    const bool unit = spec.showUnit && spec.unitWidth > 0;
    if (label)
        row.label = QRect(spec.leftSpace, 0, spec.labelWidth, spec.height);

    // The design position holds unless the caption needs more room.
    const int fieldX = std::max(spec.fieldLeft, label ? spec.leftSpace + spec.labelWidth + spec.gap
                                                      : spec.leftSpace);
    const int right = spec.width - spec.rightSpace;
    const int unitRoom = unit ? spec.gap + spec.unitWidth : 0;
    const int fieldWidth = std::max(
        spec.minFieldWidth, spec.fieldWidth > 0 ? spec.fieldWidth : right - unitRoom - fieldX);
    row.field = QRect(fieldX, 0, fieldWidth, spec.height);

    if (unit) {
        const int unitX = fieldX + fieldWidth + spec.gap;
        row.unit = QRect(unitX, 0, std::max(spec.unitWidth, right - unitX), spec.height);
    }
    const int fieldNeed = std::max(spec.fieldWidth, spec.minFieldWidth);
    row.neededWidth = fieldX + fieldNeed + unitRoom + spec.rightSpace;
    return row;
}
