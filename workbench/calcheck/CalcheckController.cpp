#include "CalcheckController.h"

#include "CalcheckMath.h"
#include "VexException.h"
#include "WorkbenchLog.h"
#include "clsAppItem.h"
#include "clsChangeUnitValue.h"
#include "clsRecordItem.h"
#include "clsSequenceItem.h"
#include "enmRegMask.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QElapsedTimer>
#include <cmath>

namespace {

constexpr qint32 RecordReadResponse = 16;
constexpr qint32 SequenceAbort = 2;
constexpr int ErrorNotStable = 5700;
constexpr int ErrorRangeChanged = 5701;
constexpr int ErrorNoReading = 5702;
constexpr qint16 MillibarCode = 8;

std::unique_ptr<clsAppItem> item(const std::shared_ptr<AppletItemManager> &manager,
                                 const char *name, bool shadow)
{
    auto appItem = std::make_unique<clsAppItem>();
    appItem->Register(manager, QLatin1String(name), shadow);
    return appItem;
}

CalcheckController::Clock steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

CalcheckController::CalcheckController(std::shared_ptr<AppletItemManager> manager, QObject *parent)
    : QObject(parent), m_manager(std::move(manager)), m_clock(steadyClock())
{
    points = CalcheckMath::defaultPoints();
    tolerance = CalcheckMath::DefaultTolerance;
    m_runs[1].kind = CalcheckRun::Kind::AsLeft;

    m_sequence = std::make_unique<clsSequenceItem>();
    m_sequence->Register(m_manager, QLatin1String(ReadSequence), false, 0,
                         REGISTER_STATE | REGISTER_CONTROL);
    connect(m_sequence.get(), &clsSequenceItem::StatusChanged, this,
            [this](qint32 &status) { onSequenceStatus(status); });
    m_record = std::make_unique<clsRecordItem>();
    m_record->Register(m_manager, QStringLiteral("ReadDynamicVariables"), false, 0, REGISTER_STATE);
    connect(m_record.get(), &clsRecordItem::StatusChanged, this, [this](qint32 &status) {
        // A timeout or communication error leaves the old values in place.
        if (m_reading && (status == 0 || status == RecordReadResponse) && !m_stale)
            m_fresh = true;
        else if (m_reading)
            m_stale = true;
    });
    m_pv = item(m_manager, "primaryValue", true);
    m_current = item(m_manager, "actualOutputValue", true);
    m_unit = item(m_manager, "primaryValueUnit", true);
    m_lower = item(m_manager, "scaleInLoLim", true);
    m_upper = item(m_manager, "scaleInHiLim", true);
    m_datasetUnit = item(m_manager, "primaryValueUnit", false);
    m_datasetLower = item(m_manager, "scaleInLoLim", false);
    m_datasetUpper = item(m_manager, "scaleInHiLim", false);
    m_address = item(m_manager, "&&private_PM&&Address", false);

    m_poll.setSingleShot(true);
    m_poll.setInterval(DefaultPollMs);
    connect(&m_poll, &QTimer::timeout, this, &CalcheckController::poll);
    // The ammeter's reading moves while the source settles, also between points.
    m_ammeter.setInterval(AmmeterMs);
    connect(&m_ammeter, &QTimer::timeout, this, &CalcheckController::readAmmeter);
}

CalcheckController::~CalcheckController()
{
    stop();
}

bool CalcheckController::hasAmmeter() const
{
    const auto &source = m_source ? m_source : CalcheckSource::current();
    return source && source->current;
}

void CalcheckController::applyPressure()
{
    if (!m_active || m_index >= points.size())
        return;
    if (!m_source) {
        m_source = CalcheckSource::current();
        if (!m_source)
            return;
        if (m_source->attach)
            m_source->attach();
        if (m_source->current)
            m_ammeter.start();
    }
    // The source works in mbar whatever unit the device reports in.
    const CalcheckRun &run = activeRun();
    const double mbar = clsChangeUnitValue::fromBase(
        MillibarCode, clsChangeUnitValue::toBase(qint16(run.unitCode), nominalPressure()));
    if (m_source->apply)
        m_source->apply(mbar);
    readAmmeter();
}

void CalcheckController::releaseSource()
{
    m_ammeter.stop();
    m_sourceCurrent.reset();
    const auto source = std::exchange(m_source, std::nullopt);
    if (source && source->detach)
        source->detach();
}

void CalcheckController::readAmmeter()
{
    if (!m_source || !m_source->current)
        return;
    m_sourceCurrent = m_source->current();
    Q_EMIT sourceCurrentRead(*m_sourceCurrent);
}

const CalcheckRun &CalcheckController::run(CalcheckRun::Kind kind) const
{
    return m_runs[kind == CalcheckRun::Kind::AsFound ? 0 : 1];
}

CalcheckRun &CalcheckController::activeRun()
{
    return m_runs[*m_active == CalcheckRun::Kind::AsFound ? 0 : 1];
}

void CalcheckController::beginRun(CalcheckRun::Kind kind)
{
    cancel();
    m_active = kind;
    CalcheckRun &run = activeRun();
    run = CalcheckRun{};
    run.kind = kind;
    run.tolerance = tolerance;
    // The dataset holds what the device was last read or written with; the
    // first reading replaces it with what the device itself reports.
    run.unitCode = int(m_datasetUnit->UIntValue());
    run.unitText = m_datasetUnit->EnumValue();
    run.lowerRange = m_datasetLower->FloatValue();
    run.upperRange = m_datasetUpper->FloatValue();
    run.pollingAddress = int(m_address->UIntValue());
    m_index = 0;
    startRead();
}

double CalcheckController::nominalPressure() const
{
    if (!m_active || m_index >= points.size())
        return 0.0;
    const CalcheckRun &run = this->run(*m_active);
    return CalcheckMath::pressureAt(points.at(m_index).percent, run.lowerRange, run.upperRange);
}

QString CalcheckController::unitText() const
{
    return m_active ? run(*m_active).unitText : QString();
}

void CalcheckController::measure(double reference, std::optional<double> measuredCurrent)
{
    if (!m_active || m_measuring || m_index >= points.size())
        return;
    m_reference = reference;
    m_measuredCurrent = measuredCurrent;
    // Again, as it may have been detached since the point came up.
    if (hasSource())
        applyPressure();
    m_measuring = true;
    m_pointStartMs = m_clock();
    const CalcheckRun &run = activeRun();
    // The pressure is watched in % of span: its trend across the window
    // within a tenth of the tolerance, its noise within a fifth.
    m_watch = StabilityWatch(run.tolerance / 10.0, run.tolerance / 5.0);
    m_watch.restart(m_pointStartMs);
    Q_EMIT progressChanged(0);
    poll();
}

void CalcheckController::cancel()
{
    m_poll.stop();
    m_measuring = false;
}

void CalcheckController::stop()
{
    cancel();
    releaseSource();
    if (!m_reading)
        return;
    // The host sends no further record of an aborted sequence; the request
    // it has out still gets its answer.
    qint32 abort = SequenceAbort;
    try {
        m_sequence->DoAction(abort);
    } catch (const VexException &error) {
        qCInfo(lcWorkbench).noquote()
            << "calibration check read not aborted:" << error.description();
    }
}

void CalcheckController::poll()
{
    if (!m_measuring)
        return;
    if (m_clock() - m_pointStartMs >= m_timeoutMs) {
        fail(GetResText(ErrorNotStable));
        return;
    }
    if (m_reading || startRead())
        return;
    m_poll.start(); // another sequence holds the device: ask again
}

bool CalcheckController::startRead()
{
    if (m_reading)
        return true;
    try {
        m_fresh = false;
        m_stale = false;
        m_reading = true;
        m_sequence->Start();
        return true;
    } catch (const VexException &error) {
        m_reading = false;
        if (error.number() != SEQUENCE_BUSY && m_measuring)
            fail(GetResText(ErrorNoReading) + QLatin1Char('\n') + error.description());
        return false;
    }
}

void CalcheckController::takeRange()
{
    if (rangeMatches())
        return;
    CalcheckRun &run = activeRun();
    run.unitCode = int(m_unit->UIntValue());
    run.unitText = m_unit->EnumValue();
    run.lowerRange = m_lower->FloatValue();
    run.upperRange = m_upper->FloatValue();
}

void CalcheckController::onSequenceStatus(qint32 status)
{
    if (status != 0 || !m_reading)
        return;
    m_reading = false;
    if (m_fresh && m_active && activeRun().readings.isEmpty() && !m_measuring) {
        takeRange();
        // The source sets off for the first point while the user reads it.
        if (hasSource())
            applyPressure();
        Q_EMIT rangeRead();
    }
    if (!m_measuring)
        return;
    if (m_fresh)
        takeSample();
    if (m_measuring)
        m_poll.start();
}

bool CalcheckController::rangeMatches() const
{
    const CalcheckRun &run = this->run(*m_active);
    const auto same = [](double a, double b) {
        return std::abs(a - b) <= 1e-6 * std::max({1.0, std::abs(a), std::abs(b)});
    };
    return int(m_unit->UIntValue()) == run.unitCode &&
           same(m_lower->FloatValue(), run.lowerRange) &&
           same(m_upper->FloatValue(), run.upperRange);
}

void CalcheckController::takeSample()
{
    CalcheckRun &run = activeRun();
    if (run.readings.isEmpty()) {
        takeRange();
    } else if (!rangeMatches()) {
        fail(GetResText(ErrorRangeChanged));
        return;
    }
    const double pv = m_pv->FloatValue();
    readAmmeter(); // with the device's reading, so that both are of one moment
    const double span = std::abs(run.upperRange - run.lowerRange);
    const auto state = m_watch.add(m_clock(), span > 0 ? pv / span * 100.0 : pv);
    Q_EMIT progressChanged(m_watch.progress());
    if (state == StabilityWatch::State::Stable)
        record(pv, m_current->FloatValue());
    else if (state == StabilityWatch::State::TimedOut)
        fail(GetResText(ErrorNotStable));
}

void CalcheckController::record(double primaryValue, double deviceCurrent)
{
    m_measuring = false;
    CalcheckRun &run = activeRun();
    CalcheckReading reading;
    reading.point = points.at(m_index);
    reading.reference = m_reference;
    reading.primaryValue = primaryValue;
    reading.deviceCurrent = deviceCurrent;
    // A fixed current is nobody's measurement of the pressure.
    const std::optional<double> measured = run.multidrop()   ? std::nullopt
                                           : m_sourceCurrent ? m_sourceCurrent
                                                             : m_measuredCurrent;
    if (measured)
        reading.measuredCurrent = *measured;
    CalcheckMath::evaluate(reading, run.lowerRange, run.upperRange, run.tolerance, run.multidrop());
    run.readings.append(reading);
    const int index = m_index++;
    const CalcheckRun::Kind kind = *m_active;
    const bool finished = m_index >= points.size();
    if (finished) {
        run.complete = true;
        m_active.reset();
        // The check is over: the device goes back to its process.
        if (kind == CalcheckRun::Kind::AsLeft)
            releaseSource();
    } else if (m_source) {
        applyPressure();
    }
    Q_EMIT pointRecorded(index);
    if (finished)
        Q_EMIT runFinished(kind);
}

void CalcheckController::fail(const QString &message)
{
    m_measuring = false;
    m_poll.stop();
    qCInfo(lcWorkbench).noquote() << "calibration check point not recorded:" << message;
    Q_EMIT pointFailed(message);
}
