#include "TrendMarkerLabels.h"

#include <algorithm>

std::vector<TrendMarkerLabels::Placed> TrendMarkerLabels::place(const std::vector<Label> &labels,
                                                                int left, int right, int rows,
                                                                int maxWidth)
{
    std::vector<Placed> placed(labels.size());
    std::vector<std::vector<Placed>> taken(size_t(std::max(0, rows)));
    const auto free = [&](int row, int from, int width) {
        return std::none_of(
            taken[size_t(row)].begin(), taken[size_t(row)].end(), [&](const Placed &p) {
                return from < p.left + p.width + Spacing && p.left < from + width + Spacing;
            });
    };
    for (size_t i = 0; i < labels.size(); ++i) {
        const Label &label = labels[i];
        const int width = std::max(0, std::min({label.width, maxWidth, right - left}));
        // Right of the line, else left of it, else as near as the plot allows.
        std::vector<int> sides;
        if (label.x + Gap + width <= right)
            sides.push_back(label.x + Gap);
        if (label.x - Gap - width >= left)
            sides.push_back(label.x - Gap - width);
        if (sides.empty())
            sides.push_back(std::clamp(label.x + Gap, left, std::max(left, right - width)));
        for (int row = 0; row < rows && placed[i].row < 0; ++row) {
            for (int from : sides) {
                if (free(row, from, width)) {
                    placed[i] = {from, width, row};
                    taken[size_t(row)].push_back(placed[i]);
                    break;
                }
            }
        }
    }
    return placed;
}
