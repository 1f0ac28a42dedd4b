#include "VexaControlLayout.h"

#include <algorithm>

VexaRowGeometry VexaControlLayout::arrange(const VexaRowDesign &design)
{
    VexaRowGeometry row;
    const bool label = design.showLabel && design.labelWidth > 0;
    const bool unit = design.showUnit && design.unitWidth > 0;
    if (label)
        row.label = QRect(design.leftSpace, 0, design.labelWidth, design.height);

    // The design position holds unless the caption needs more room.
    const int fieldX =
        std::max(design.fieldLeft,
                 label ? design.leftSpace + design.labelWidth + design.gap : design.leftSpace);
    const int right = design.width - design.rightSpace;
    const int unitRoom = unit ? design.gap + design.unitWidth : 0;
    const int fieldWidth =
        std::max(design.minFieldWidth,
                 design.fieldWidth > 0 ? design.fieldWidth : right - unitRoom - fieldX);
    row.field = QRect(fieldX, 0, fieldWidth, design.height);

    if (unit) {
        const int unitX = fieldX + fieldWidth + design.gap;
        row.unit = QRect(unitX, 0, std::max(design.unitWidth, right - unitX), design.height);
    }
    const int fieldNeed = std::max(design.fieldWidth, design.minFieldWidth);
    row.neededWidth = fieldX + fieldNeed + unitRoom + design.rightSpace;
    return row;
}
