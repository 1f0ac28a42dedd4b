#include "CalcheckPlot.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr double FirstPercent = -10.0;
constexpr double LastPercent = 110.0;

double largestError(const CalcheckRun &run)
{
    double largest = 0.0;
    for (const CalcheckReading &reading : run.readings)
        largest = std::max(largest, std::abs(reading.pvError));
    return largest;
}

void drawSeries(QPainter &painter, const CalcheckRun &run, const CalcheckPlot::Scale &scale,
                const QRectF &area, const QColor &colour)
{
    if (run.readings.isEmpty())
        return;
    QPainterPath line;
    for (int i = 0; i < run.readings.size(); ++i) {
        const CalcheckReading &reading = run.readings.at(i);
        const QPointF at = CalcheckPlot::map(reading.point.percent, reading.pvError, scale, area);
        i == 0 ? line.moveTo(at) : line.lineTo(at);
    }
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    // Rising points filled, falling ones as a larger ring, so both show where they meet.
    painter.setBrush(Qt::NoBrush);
    for (const CalcheckReading &reading : run.readings) {
        if (!reading.point.rising)
            painter.drawEllipse(
                CalcheckPlot::map(reading.point.percent, reading.pvError, scale, area), 9, 9);
    }
    painter.setBrush(colour);
    for (const CalcheckReading &reading : run.readings) {
        if (reading.point.rising)
            painter.drawEllipse(
                CalcheckPlot::map(reading.point.percent, reading.pvError, scale, area), 5, 5);
    }
}

} // namespace

CalcheckPlot::Scale CalcheckPlot::scaleFor(const CalcheckRecord &record)
{
    const double needed = std::max({2.0 * record.tolerance, largestError(record.asFound) * 1.1,
                                    largestError(record.asLeft) * 1.1, 0.01});
    // Four grid steps either side, each 1, 2 or 5 times a power of ten.
    const double rough = needed / 4.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10.0;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    return {std::ceil(needed / step - 1e-9) * step, step};
}

QPointF CalcheckPlot::map(double percent, double error, const Scale &scale, const QRectF &area)
{
    const double x =
        area.left() + (percent - FirstPercent) / (LastPercent - FirstPercent) * area.width();
    const double clamped = std::clamp(error, -scale.limit, scale.limit);
    const double y = area.center().y() - clamped / scale.limit * area.height() / 2.0;
    return {x, y};
}

namespace {

void drawGrid(QPainter &painter, const CalcheckPlot::Scale &scale, const QRectF &area,
              const CalcheckPlot::Texts &texts)
{
    const QLocale locale;
    for (double e = -scale.limit; e <= scale.limit + scale.step / 2; e += scale.step) {
        const double y = CalcheckPlot::map(0, e, scale, area).y();
        painter.setPen(QPen(std::abs(e) < scale.step / 2 ? Qt::black : QColor(200, 200, 200), 1));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(30, y - 12, area.left() - 38, 24),
                         Qt::AlignRight | Qt::AlignVCenter,
                         locale.toString(std::abs(e) < 1e-12 ? 0.0 : e, 'g', 3));
    }
    for (int percent = 0; percent <= 100; percent += 25) {
        const double x = CalcheckPlot::map(percent, 0, scale, area).x();
        painter.setPen(QPen(QColor(200, 200, 200), 1));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - 30, area.bottom() + 4, 60, 24), Qt::AlignCenter,
                         locale.toString(percent));
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.drawText(QRectF(area.left(), area.bottom() + 32, area.width(), 24), Qt::AlignCenter,
                     texts.xAxis);
    painter.save();
    painter.translate(16, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -12, area.height(), 24), Qt::AlignCenter,
                     texts.yAxis);
    painter.restore();
}

// The legend above the plot: a mark and a text an entry, left to right.
class Legend
{
public:
    enum Mark
    {
        Line,
        Band,
        Dot,
        Ring
    };
    Legend(QPainter &painter, double left) : m_painter(painter), m_x(left) {}
    void add(const QColor &colour, const QString &text, Mark mark)
    {
        QPainter &p = m_painter;
        p.setPen(QPen(colour, 2));
        p.setBrush(mark == Dot ? QBrush(colour) : QBrush(Qt::NoBrush));
        if (mark == Band)
            p.fillRect(QRectF(m_x, 14, 24, 12), ToleranceColour);
        else if (mark == Line)
            p.drawLine(QPointF(m_x, 20), QPointF(m_x + 24, 20));
        else
            p.drawEllipse(QPointF(m_x + 12, 20), mark == Dot ? 5 : 9, mark == Dot ? 5 : 9);
        p.setPen(Qt::black);
        p.drawText(QPointF(m_x + 30, 26), text);
        m_x += 30 + p.fontMetrics().horizontalAdvance(text) + 24;
    }
    static inline const QColor ToleranceColour{200, 235, 200};

private:
    QPainter &m_painter;
    double m_x;
};

} // namespace

QImage CalcheckPlot::render(const CalcheckRecord &record, const Texts &texts, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(17);
    painter.setFont(font);
    const QRectF area(90, 44, size.width() - 120, size.height() - 116);
    const Scale scale = scaleFor(record);

    // The tolerance band under everything.
    const QPointF bandTop = map(FirstPercent, record.tolerance, scale, area);
    const QPointF bandBottom = map(LastPercent, -record.tolerance, scale, area);
    painter.fillRect(QRectF(bandTop, bandBottom), Legend::ToleranceColour);
    drawGrid(painter, scale, area, texts);

    const QColor found(214, 96, 0);
    const QColor left(0, 90, 180);
    drawSeries(painter, record.asFound, scale, area, found);
    drawSeries(painter, record.asLeft, scale, area, left);

    Legend legend(painter, area.left());
    legend.add(found, texts.asFound, Legend::Line);
    legend.add(left, texts.asLeft, Legend::Line);
    legend.add(QColor(), texts.tolerance, Legend::Band);
    legend.add(Qt::darkGray, texts.rising, Legend::Dot);
    legend.add(Qt::darkGray, texts.falling, Legend::Ring);
    return image;
}
