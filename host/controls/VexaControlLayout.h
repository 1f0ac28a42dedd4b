#pragma once

#include <QRect>

// The row of a framework control: caption label, field, unit, from left to
// right, placed by the design properties but never so that a text is cut or
// two parts overlap. Pure arithmetic, in pixels.
struct VexaRowDesign
{
    int width = 0;
    int height = 0;
    int leftSpace = 0;  // "leftspace": room before the caption
    int rightSpace = 0; // "rightspace": room after the unit
    int fieldLeft = 0;  // "lefttext" / "leftcombo": where the field starts, 0 = after the caption
    int fieldWidth = 0; // "widthtext" / "widthcombo": 0 = the room that is left
    int labelWidth = 0; // the caption's text width
    int unitWidth = 0;  // the unit's text width
    int minFieldWidth = 40; // what the field needs to show its text (a selection's longest entry)
    int gap = 6;
    bool showLabel = true;
    bool showUnit = true;
};

struct VexaRowGeometry
{
    QRect label;
    QRect field;
    QRect unit;
    int neededWidth = 0; // the narrowest width that shows everything
};

class VexaControlLayout
{
public:
    static VexaRowGeometry arrange(const VexaRowDesign &design);
};
