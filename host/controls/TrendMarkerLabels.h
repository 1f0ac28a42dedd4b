#pragma once

#include <vector>

// Where the markers' notes go along the top of the plot: beside their line
// on the side with room, shortened to fit the plot, and a row lower when
// they would cover another note; a note with no room left is not drawn
// (the pointer's tooltip still tells it).
struct TrendMarkerLabels
{
    static constexpr int Gap = 3;     // between a line and its note
    static constexpr int Spacing = 6; // between two notes in a row

    struct Label
    {
        int x = 0;     // the marker's line
        int width = 0; // the note's full width
    };
    struct Placed
    {
        int left = 0;
        int width = 0;
        int row = -1; // -1: not drawn
    };

    // Notes in the order given; [left, right) is the plot.
    static std::vector<Placed> place(const std::vector<Label> &labels, int left, int right,
                                     int rows, int maxWidth);
};
