#pragma once

#include "CalcheckRecord.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

// The error plot of a check: error in % of span against the test point, the
// tolerance band shaded, as found and as left as two series.
class CalcheckPlot
{
public:
    struct Scale
    {
        double limit = 0.5; // the error axis runs from -limit to +limit
        double step = 0.25; // between grid lines
    };

    // Room for the tolerance band and every error, in steps of 1, 2 or 5.
    static Scale scaleFor(const CalcheckRecord &record);
    // Where a point lies in the plot area; x runs over -10..110 % of range.
    static QPointF map(double percent, double error, const Scale &scale, const QRectF &area);

    struct Texts
    {
        QString xAxis, yAxis, asFound, asLeft, tolerance, rising, falling;
    };
    static QImage render(const CalcheckRecord &record, const Texts &texts,
                         QSize size = QSize(900, 480));
};
