#pragma once

#include <QString>

// The label's sizing arithmetic in twips and points, free of any widget: the
// longest line (counted with the break characters, as the line-break
// positions give it) fills the width at 12.5 twips per point and character;
// each line is 24 twips per point high.
struct DynamicLabelSizing
{
    static constexpr double TwipsPerPointAndChar = 12.5;
    static constexpr double TwipsPerPointAndLine = 24.0;
    // Line-break positions the sizing keeps: at most 20 lines.
    static constexpr int MaxLineBreaks = 19;

    // False for a caption the sizing cannot measure (empty, or more than
    // MaxLineBreaks breaks); the other fields are then 0.
    bool valid = false;
    int lines = 0;
    int longest = 0;
    double fontSize = 0.0;
    double heightTwips = 0.0;

    static DynamicLabelSizing compute(const QString &caption, double widthTwips);
};
