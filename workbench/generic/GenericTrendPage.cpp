#include "GenericTrendPage.h"

#include "GenericDevice.h"
#include "GenericTexts.h"
#include "TrendCanvas.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QVBoxLayout>
#include <cmath>

namespace {

enum : qint16
{
    PrimaryLabel = 7797,
    SecondaryLabel = 7803,
    TertiaryLabel = 7804,
    QuaternaryLabel = 7805,
    AxisHint = 7860,
};

constexpr qint64 TwoMinutesMs = 2 * 60 * 1000;
constexpr qint16 Captions[] = {PrimaryLabel, SecondaryLabel, TertiaryLabel, QuaternaryLabel};
const QColor Colours[] = {QColor(0, 90, 180), QColor(200, 60, 40), QColor(30, 140, 60),
                          QColor(140, 70, 160)};

} // namespace

GenericTrendPage::GenericTrendPage(GenericDevice &device, QWidget *parent)
    : QWidget(parent), m_device(device), m_recorder(), m_canvas(new TrendCanvas(m_recorder, this))
{
    setObjectName(QStringLiteral("GenericTrendPage"));
    m_canvas->setObjectName(QStringLiteral("cnvTrend"));
    m_canvas->setAxisHint(GetResText(AxisHint));
    // Two minutes at first: the samples come once a second.
    TrendView view = m_canvas->view();
    view.spanMs = TwoMinutesMs;
    m_canvas->setView(view);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_canvas, 1);
    connect(&device, &GenericDevice::valuesChanged, this, &GenericTrendPage::sample);
    connect(m_canvas, &TrendCanvas::axisClicked, this, &GenericTrendPage::nextAxisCurve);
}

// One sample a curve for each round of live values.
void GenericTrendPage::sample()
{
    const GenericValues &v = m_device.values();
    if (!v.dynamic || !v.liveTime.isValid() || v.liveTime == m_lastSample)
        return;
    m_lastSample = v.liveTime;
    const qint64 now = v.liveTime.toMSecsSinceEpoch();
    const TrendStatus status = TrendStatusText::fromDeviceStatus(v.deviceStatus.value_or(0));
    for (int c = 0; c < TrendRecorder::CurveCount; ++c) {
        if (c >= v.dynamic->variables.size())
            continue;
        const UniversalLayout::Variable &variable = v.dynamic->variables[c];
        const QString unit = GenericTexts::unit(variable.unit);
        // Another quantity (a new unit) starts its curve afresh.
        if (unit != m_units[c]) {
            m_units[c] = unit;
            m_spans[c] = Span();
            m_recorder.setCurve(c, {GetResText(Captions[c]), unit}, now);
        }
        const bool value = !std::isnan(variable.value);
        m_recorder.append(c, {now, variable.value, value ? status : TrendStatus::NoRead});
        if (value) {
            Span &span = m_spans[c];
            span.minimum =
                span.seen ? std::min(span.minimum, double(variable.value)) : variable.value;
            span.maximum =
                span.seen ? std::max(span.maximum, double(variable.value)) : variable.value;
            span.seen = true;
        }
        restyle(c);
    }
    m_canvas->follow(now);
    m_canvas->update();
}

void GenericTrendPage::restyle(int curve)
{
    TrendCanvas::CurveStyle style;
    style.colour = Colours[curve];
    style.shown = true;
    style.caption = GetResText(Captions[curve]);
    style.unit = m_units[curve];
    const auto &output = m_device.values().output;
    const Span &span = m_spans[curve];
    if (curve == 0 && output && output->upperRange != output->lowerRange &&
        GenericTexts::unit(output->rangeUnit) == m_units[0]) {
        style.minimum = std::min(output->lowerRange, output->upperRange);
        style.maximum = std::max(output->lowerRange, output->upperRange);
    } else {
        // A tenth of the span beside the values seen, and some room when they stood still.
        const double margin = std::max((span.maximum - span.minimum) / 10.0,
                                       std::max(std::abs(span.maximum) / 100.0, 0.5));
        style.minimum = span.minimum - margin;
        style.maximum = span.maximum + margin;
    }
    m_canvas->setCurveStyle(curve, style);
}

void GenericTrendPage::nextAxisCurve()
{
    for (int step = 1; step <= TrendRecorder::CurveCount; ++step) {
        const int curve = (m_canvas->axisCurve() + step) % TrendRecorder::CurveCount;
        if (m_canvas->curveStyle(curve).shown) {
            m_canvas->setAxisCurve(curve);
            return;
        }
    }
}
