#include "DynamicLabelSizing.h"

#include <algorithm>

namespace {
const QString Break = QStringLiteral("\r\n");

// 1-based position of the next break at or after the 1-based start, 0 for none.
int nextBreak(const QString &caption, int start)
{
    return int(caption.indexOf(Break, start - 1)) + 1;
}
} // namespace

DynamicLabelSizing DynamicLabelSizing::compute(const QString &caption, double widthTwips)
{
    DynamicLabelSizing size;
    const int length = int(caption.size());
    int previous = nextBreak(caption, 1);
    int longest = previous != 0 ? previous : length;
    int lines = 1;
    while (previous != 0) {
        if (lines > MaxLineBreaks)
            return DynamicLabelSizing();
        const int position = nextBreak(caption, previous + 1);
        ++lines;
        longest = std::max(longest, position != 0 ? position - previous : length - previous);
        previous = position;
    }
    if (longest <= 0)
        return DynamicLabelSizing();
    size.valid = true;
    size.lines = lines;
    size.longest = longest;
    size.fontSize = widthTwips / TwipsPerPointAndChar / longest;
    size.heightTwips = size.fontSize * TwipsPerPointAndLine * lines;
    return size;
}
