#include "simulator/TransmitterModel.h"

#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"
#include "simulator/RangeRules.h"
#include "simulator/TransferFunction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// The output converter's own error; the factory trim cancels it exactly.
constexpr double ConverterGain = 1.0012;
constexpr double ConverterOffset = -0.008;
constexpr double PressureNoiseShare = 0.0002;    // of the sensor span, at noise level 1
constexpr double ReferenceIntegrationMs = 100.0; // the integration time that noise is for
constexpr double TemperatureNoise = 0.05;        // degC, at noise level 1
constexpr double SourceRateShare = 0.25;     // of the sensor span a second, a bench source's slew
constexpr double MaxCalibrationShare = 0.10; // balance points may correct this share of the span
constexpr double MaxZeroShare = 0.05;        // zero shift may correct this share of the span
constexpr double MaxTemperatureCorrection = 10.0;
constexpr double MaxOutputTrim = 0.5;
constexpr double GainTolerance = 0.10;
constexpr double DifferentialStaticLimitMbar = 160000.0;
constexpr quint8 AlarmHigh = 0;
constexpr quint8 AlarmLow = 1;
} // namespace

QList<TransmitterModel::MeasuringRange> TransmitterModel::measuringRanges(SensorType type)
{
    if (type == SensorType::Absolute)
        return {{0.0, 1300.0, 13.0},
                {0.0, 6000.0, 60.0},
                {0.0, 25000.0, 250.0},
                {0.0, 100000.0, 1000.0}};
    return {{-60.0, 60.0, 1.2},
            {-400.0, 400.0, 4.0},
            {-2500.0, 2500.0, 25.0},
            {-16000.0, 16000.0, 160.0}};
}

TransmitterModel::TransmitterModel(SensorType type, int rangeIndex) : m_type(type)
{
    const QList<MeasuringRange> ranges = measuringRanges(type);
    m_rangeIndex = std::clamp(rangeIndex, 0, int(ranges.size()) - 1);
    m_range = ranges[m_rangeIndex];
    m_settings = factorySettings();
    m_appliedMbar = type == SensorType::Absolute ? std::min(1013.25, m_range.upperMbar * 0.8)
                                                 : m_range.upperMbar * 0.3;
    m_staticMbar = type == SensorType::Differential ? 5000.0 : 0.0;
    m_baseMbar = m_appliedMbar;
    m_baseCelsius = m_appliedCelsius;
    m_dampedMbar = dampingTarget();
    m_history.powerOn();
    resetPeaks(TransmitterHistory::PeakBoth);
    observeProcess();
    sample();
}

quint32 TransmitterModel::deviceId() const
{
    return 0x01E240 + (m_type == SensorType::Differential ? 0x1000 : 0) + quint32(m_rangeIndex) +
           m_serialOffset;
}

void TransmitterModel::setLoopPosition(quint8 pollingAddress, quint32 serialOffset)
{
    m_factoryPollingAddress = pollingAddress;
    m_serialOffset = serialOffset;
    m_settings.pollingAddress = pollingAddress;
    m_settings.finalAssemblyNumber = factorySettings().finalAssemblyNumber;
    m_settings.sensorSerialNumber = factorySettings().sensorSerialNumber;
}

quint32 TransmitterModel::electronicsSerialNumber() const
{
    return 0x300000 + deviceId();
}

double TransmitterModel::staticPressureLimitMbar() const
{
    return m_type == SensorType::Differential ? DifferentialStaticLimitMbar : 0.0;
}

double TransmitterModel::rangeLowerLimitMbar() const
{
    return m_range.lowerMbar - RangeSparePercent / 100.0 * std::abs(m_range.upperMbar);
}

double TransmitterModel::rangeUpperLimitMbar() const
{
    return m_range.upperMbar + RangeSparePercent / 100.0 * std::abs(m_range.upperMbar);
}

TransmitterSettings &TransmitterModel::changeSettings()
{
    m_configurationChanged = true;
    return m_settings;
}

void TransmitterModel::restoreFactorySettings()
{
    m_settings = factorySettings();
    m_configurationChanged = true;
    m_fixedCurrent = 0.0;
    m_dampedMbar = dampingTarget();
}

bool TransmitterModel::takeColdStart()
{
    return std::exchange(m_coldStart, false);
}

void TransmitterModel::setAppliedPressure(double mbar)
{
    if (m_sourceTargetMbar)
        m_sourceTargetMbar = m_sourceMbar = mbar;
    else
        m_baseMbar = mbar;
    applyDrift();
    if (m_settings.dampingSeconds <= 0.0)
        m_dampedMbar = dampingTarget();
    observeProcess();
}

void TransmitterModel::setAppliedTemperature(double celsius)
{
    m_baseCelsius = celsius;
    applyDrift();
    observeProcess();
}

void TransmitterModel::setStaticPressure(double mbar)
{
    m_staticMbar = mbar;
    observeProcess();
}

void TransmitterModel::setProcessDrift(double pressureMbar, double temperatureCelsius,
                                       double periodSeconds)
{
    const bool moves = periodSeconds > 0.0 && std::isfinite(periodSeconds);
    m_driftMbar = moves && std::isfinite(pressureMbar) ? pressureMbar : 0.0;
    m_driftCelsius = moves && std::isfinite(temperatureCelsius) ? temperatureCelsius : 0.0;
    m_driftPeriodMs = moves ? periodSeconds * 1000.0 : 0.0;
    applyDrift();
    observeProcess();
}

void TransmitterModel::attachPressureSource()
{
    if (m_sourceTargetMbar)
        return;
    // The source takes the port over at the pressure it has.
    m_sourceTargetMbar = m_sourceMbar = m_appliedMbar;
}

void TransmitterModel::setSourcePressure(double mbar)
{
    if (m_sourceTargetMbar && std::isfinite(mbar))
        m_sourceTargetMbar = mbar;
}

void TransmitterModel::detachPressureSource()
{
    if (!m_sourceTargetMbar)
        return;
    m_sourceTargetMbar.reset();
    applyDrift();
    observeProcess();
}

// The process as it is at the model's time: the set values plus the drift.
// Pressure moves with a slower second wave, so that it does not look drawn
// with a ruler; the temperature follows more slowly still. A source on the
// port stands in for the process pressure.
void TransmitterModel::applyDrift()
{
    m_appliedMbar = m_sourceTargetMbar ? m_sourceMbar : m_baseMbar;
    m_appliedCelsius = m_baseCelsius;
    if (m_driftPeriodMs <= 0.0)
        return;
    const double phase = 2.0 * std::numbers::pi * m_driftTimeMs / m_driftPeriodMs;
    if (!m_sourceTargetMbar)
        m_appliedMbar += m_driftMbar * (0.8 * std::sin(phase) + 0.2 * std::sin(phase / 3.7 + 1.0));
    m_appliedCelsius += m_driftCelsius * std::sin(phase / 2.3);
}

// The source's controller moves the pressure at its rate and then holds it
// where it was asked to, so a point is read at its pressure, not on the way.
void TransmitterModel::settleSource(qint64 ms)
{
    const double step = SourceRateShare * (m_range.upperMbar - m_range.lowerMbar) * ms / 1000.0;
    m_sourceMbar += std::clamp(*m_sourceTargetMbar - m_sourceMbar, -step, step);
}

void TransmitterModel::seedNoise(quint32 seed)
{
    m_random.seed(seed);
}

void TransmitterModel::setNoiseLevel(double level)
{
    m_noiseLevel = std::max(0.0, level);
}

void TransmitterModel::sample()
{
    // mt19937 output is the same everywhere; the distributions of <random> are not.
    const auto symmetric = [this] { return double(m_random()) / 4294967295.0 * 2.0 - 1.0; };
    const double span = m_range.upperMbar - m_range.lowerMbar;
    // A longer integration averages more of the noise away.
    const double integration = std::sqrt(ReferenceIntegrationMs / m_settings.integrationTimeMs);
    m_pressureNoise = m_noiseLevel * PressureNoiseShare * span * integration * symmetric();
    m_temperatureNoise = m_noiseLevel * TemperatureNoise * symmetric();
    if (!isOutputFixed() && !TransmitterDiagnosis::isFailure(diagnosisReport()))
        m_lastNormalCurrent = loopCurrent();
}

double TransmitterModel::trimmedPressure() const
{
    return calibrate(m_appliedMbar + m_pressureNoise);
}

double TransmitterModel::primaryValue() const
{
    if (m_settings.dampingSeconds <= 0.0)
        return trimmedPressure();
    return m_dampedMbar + pressureGain() * m_pressureNoise;
}

double TransmitterModel::sensorTemperature() const
{
    return m_appliedCelsius + m_temperatureNoise + m_settings.temperatureOffset;
}

double TransmitterModel::percentOfRange() const
{
    const double span = m_settings.upperRangeMbar - m_settings.lowerRangeMbar;
    if (span == 0.0)
        return 0.0;
    return (primaryValue() - m_settings.lowerRangeMbar) / span * 100.0;
}

double TransmitterModel::scaledOutputValue() const
{
    const double span = m_settings.outputScaleUpper - m_settings.outputScaleLower;
    return m_settings.outputScaleLower + percentOfRange() / 100.0 * span;
}

double TransmitterModel::loopCurrent() const
{
    if (m_fixedCurrent > 0.0)
        return m_fixedCurrent;
    if (m_settings.pollingAddress != 0)
        return 4.0; // multidrop: the loop only powers the device
    if (TransmitterDiagnosis::isFailure(diagnosisReport())) {
        if (m_settings.alarmSelection == AlarmHigh)
            return m_settings.alarmHighCurrent;
        if (m_settings.alarmSelection == AlarmLow)
            return m_settings.alarmLowCurrent;
        return m_lastNormalCurrent;
    }
    return std::clamp(unclampedCurrent(), m_settings.outputLowerLimit, m_settings.outputUpperLimit);
}

double TransmitterModel::analogOutputCurrent() const
{
    return ConverterGain * (m_settings.dacGain * loopCurrent() + m_settings.dacOffset) +
           ConverterOffset;
}

bool TransmitterModel::isOutputSaturated() const
{
    if (isOutputFixed() || TransmitterDiagnosis::isFailure(diagnosisReport()))
        return false;
    const double current = unclampedCurrent();
    return current <= m_settings.outputLowerLimit || current >= m_settings.outputUpperLimit;
}

bool TransmitterModel::isOutputFixed() const
{
    return m_fixedCurrent > 0.0 || m_settings.pollingAddress != 0;
}

TransmitterDiagnosis::Bytes TransmitterModel::diagnosisReport() const
{
    return m_diagnosis.report(processBits(), m_settings.failureConfiguration, m_localOperation);
}

quint8 TransmitterModel::deviceStatus() const
{
    using namespace hart::status;
    using D = TransmitterDiagnosis;
    const D::Bytes report = diagnosisReport();
    quint8 bits = 0;
    if (D::isFailure(report))
        bits |= DeviceMalfunction;
    if (m_configurationChanged)
        bits |= ConfigurationChanged;
    if (report[D::Measurement] || report[D::Process] || report[D::Electronics] ||
        report[D::Extensions] || (report[D::Operation] & (D::Failure | D::Warning)))
        bits |= MoreStatusAvailable;
    if (isOutputFixed())
        bits |= OutputFixed;
    if (isOutputSaturated())
        bits |= OutputSaturated;
    if (report[D::Process] & D::TemperatureOutOfLimits)
        bits |= NonPrimaryOutOfLimits;
    if (report[D::Process] & D::PressureOutOfSensorLimits)
        bits |= PrimaryOutOfLimits;
    return bits;
}

void TransmitterModel::advanceTime(qint64 ms)
{
    if (ms <= 0)
        return;
    m_history.advance(ms);
    m_diagnosis.advance(ms);
    // On the bench the process stands still until the source goes.
    if (m_sourceTargetMbar) {
        settleSource(ms);
        applyDrift();
        observeProcess();
    } else if (m_driftPeriodMs > 0.0) {
        m_driftTimeMs += double(ms);
        applyDrift();
        observeProcess();
    }
    const double tau = m_settings.dampingSeconds;
    const double target = dampingTarget();
    m_dampedMbar = tau <= 0.0
                       ? target
                       : m_dampedMbar + (target - m_dampedMbar) * -std::expm1(-ms / 1000.0 / tau);
    if (isRestarting()) {
        m_restartRemainingMs -= ms;
        if (m_restartRemainingMs <= 0)
            completeRestart();
    }
}

void TransmitterModel::beginRestart()
{
    m_restartRemainingMs = RestartMs;
}

bool TransmitterModel::resetPeaks(quint8 selector)
{
    return m_history.resetPeaks(selector, dampingTarget(),
                                m_appliedCelsius + m_settings.temperatureOffset);
}

bool TransmitterModel::isWriteProtected() const
{
    return m_writeProtectSwitch || m_settings.softwareWriteLock;
}

quint8 TransmitterModel::setRange(double lowerMbar, double upperMbar)
{
    const quint8 code = RangeRules::checkRange(rangeLimits(), lowerMbar, upperMbar);
    if (code == hart::response::Success || code == hart::response::SpanTooSmall) {
        TransmitterSettings &settings = changeSettings();
        settings.lowerRangeMbar = lowerMbar;
        settings.upperRangeMbar = upperMbar;
    }
    return code;
}

quint8 TransmitterModel::setUpperRangeFromApplied()
{
    const double applied = trimmedPressure();
    if (const quint8 code = RangeRules::checkApplied(rangeLimits(), applied))
        return code;
    return setRange(m_settings.lowerRangeMbar, applied);
}

quint8 TransmitterModel::setLowerRangeFromApplied()
{
    const double applied = trimmedPressure();
    if (const quint8 code = RangeRules::checkApplied(rangeLimits(), applied))
        return code;
    // The span is kept; where that pushes the upper value past its limit it stops there.
    const double wanted = m_settings.upperRangeMbar + (applied - m_settings.lowerRangeMbar);
    const double upper = std::clamp(wanted, rangeLowerLimitMbar(), rangeUpperLimitMbar());
    const quint8 code = setRange(applied, upper);
    if (code == hart::response::Success && upper != wanted)
        return hart::response::SpanTooSmall;
    return code;
}

quint8 TransmitterModel::shiftRange(double percent)
{
    const double span = m_settings.upperRangeMbar - m_settings.lowerRangeMbar;
    const double lower = trimmedPressure() - percent / 100.0 * span;
    return setRange(lower, lower + span);
}

quint8 TransmitterModel::zeroPrimaryValue()
{
    const double offset = m_settings.zeroOffsetMbar - trimmedPressure();
    const double limit = MaxZeroShare * (m_range.upperMbar - m_range.lowerMbar);
    if (offset < -limit)
        return hart::response::LowerRangeTooHigh; // applied pressure too high
    if (offset > limit)
        return hart::response::LowerRangeTooLow; // applied pressure too low
    changeSettings().zeroOffsetMbar = offset;
    m_dampedMbar = dampingTarget();
    return hart::response::Success;
}

quint8 TransmitterModel::setBalancePoint(bool upper, double referenceMbar)
{
    const double raw = m_appliedMbar + m_pressureNoise;
    const double correction = referenceMbar - raw;
    const double limit = MaxCalibrationShare * (m_range.upperMbar - m_range.lowerMbar);
    if (correction > limit)
        return hart::response::TooLarge;
    if (correction < -limit)
        return hart::response::TooSmall;
    TransmitterSettings next = m_settings;
    (upper ? next.upperBalanceReference : next.lowerBalanceReference) = referenceMbar;
    (upper ? next.upperBalanceRaw : next.lowerBalanceRaw) = raw;
    // Points closer than the minimum span would make the slope meaningless.
    const double rawSpan = next.upperBalanceRaw - next.lowerBalanceRaw;
    if (rawSpan < m_range.minSpanMbar)
        return hart::response::DeviceSpecificError;
    const double gain = (next.upperBalanceReference - next.lowerBalanceReference) / rawSpan;
    if (std::abs(gain - 1.0) > GainTolerance)
        return hart::response::DeviceSpecificError;
    changeSettings() = next;
    m_dampedMbar = dampingTarget();
    return hart::response::Success;
}

quint8 TransmitterModel::calibrateTemperature(double referenceCelsius)
{
    const double offset = referenceCelsius - (m_appliedCelsius + m_temperatureNoise);
    if (offset > MaxTemperatureCorrection)
        return hart::response::TooLarge;
    if (offset < -MaxTemperatureCorrection)
        return hart::response::TooSmall;
    TransmitterSettings &settings = changeSettings();
    settings.temperatureOffset = offset;
    settings.temperatureCalibration = referenceCelsius;
    return hart::response::Success;
}

void TransmitterModel::driftZero(double mbar)
{
    m_settings.zeroOffsetMbar += mbar;
    m_dampedMbar = dampingTarget();
}

void TransmitterModel::driftOutput(double mA)
{
    m_settings.dacOffset += mA / ConverterGain;
}

quint8 TransmitterModel::trimOutput(double nominal, double measured)
{
    if (m_settings.pollingAddress != 0)
        return hart::response::UpperRangeTooHigh; // in multidrop mode
    if (m_fixedCurrent != nominal)
        return hart::response::LowerRangeTooHigh; // wrong current mode or value
    const double error = measured - nominal;
    if (error > MaxOutputTrim)
        return hart::response::TooLarge;
    if (error < -MaxOutputTrim)
        return hart::response::TooSmall;
    TransmitterSettings &settings = changeSettings();
    if (nominal < 12.0) {
        settings.dacOffset -= error;
        return hart::response::Success;
    }
    // Correct the slope about the 4 mA point, which the zero trim has fixed.
    const double gain = settings.dacGain * 16.0 / (measured - 4.0);
    settings.dacOffset += (settings.dacGain - gain) * 4.0;
    settings.dacGain = gain;
    return hart::response::Success;
}

void TransmitterModel::setDamping(double seconds)
{
    if (m_settings.dampingSeconds <= 0.0)
        m_dampedMbar = dampingTarget();
    changeSettings().dampingSeconds = seconds;
}

TransmitterSettings TransmitterModel::factorySettings() const
{
    TransmitterSettings s;
    s.tag = HartCodec::packAscii(QStringLiteral("PT-1"), 6);
    s.descriptor = HartCodec::packAscii(QStringLiteral("PRESSURE"), 12);
    s.message = HartCodec::packAscii(QString(), 24);
    s.date = HartCodec::fromDate(QDate(2024, 1, 15));
    s.finalAssemblyNumber = 500000 + deviceId() % 100000;
    s.sensorSerialNumber = 0x0A0000 + deviceId() % 0x10000;
    s.pollingAddress = m_factoryPollingAddress;
    s.lowerRangeMbar = m_type == SensorType::Absolute ? m_range.lowerMbar : 0.0;
    s.upperRangeMbar = m_range.upperMbar;
    s.lowerBalanceReference = s.lowerBalanceRaw = m_range.lowerMbar;
    s.upperBalanceReference = s.upperBalanceRaw = m_range.upperMbar;
    s.dacGain = 1.0 / ConverterGain;
    s.dacOffset = -ConverterOffset / ConverterGain;
    return s;
}

RangeRules::Limits TransmitterModel::rangeLimits() const
{
    return {rangeLowerLimitMbar(), rangeUpperLimitMbar(), m_range.minSpanMbar};
}

double TransmitterModel::calibrate(double rawMbar) const
{
    return m_settings.lowerBalanceReference +
           pressureGain() * (rawMbar - m_settings.lowerBalanceRaw) + m_settings.zeroOffsetMbar;
}

double TransmitterModel::pressureGain() const
{
    const double rawSpan = m_settings.upperBalanceRaw - m_settings.lowerBalanceRaw;
    if (rawSpan == 0.0)
        return 1.0;
    return (m_settings.upperBalanceReference - m_settings.lowerBalanceReference) / rawSpan;
}

double TransmitterModel::dampingTarget() const
{
    return calibrate(m_appliedMbar);
}

double TransmitterModel::currentFromPercent(double percent) const
{
    return 4.0 + 16.0 * TransferFunction::apply(m_settings, percent) / 100.0;
}

double TransmitterModel::unclampedCurrent() const
{
    return currentFromPercent(percentOfRange());
}

quint8 TransmitterModel::processBits() const
{
    using D = TransmitterDiagnosis;
    const double pressure = dampingTarget();
    const auto [low, high] = std::minmax(m_settings.lowerRangeMbar, m_settings.upperRangeMbar);
    quint8 bits = 0;
    if (pressure < low || pressure > high)
        bits |= D::PressureOutOfSpan;
    if (m_appliedMbar < m_range.lowerMbar || m_appliedMbar > m_range.upperMbar)
        bits |= D::PressureOutOfSensorLimits;
    if (m_appliedCelsius < TemperatureLowerLimit || m_appliedCelsius > TemperatureUpperLimit)
        bits |= D::TemperatureOutOfLimits;
    return bits;
}

void TransmitterModel::observeProcess()
{
    using E = TransmitterHistory::Event;
    m_history.observe(E::OverRange,
                      m_appliedMbar < m_range.lowerMbar || m_appliedMbar > m_range.upperMbar);
    m_history.observe(E::OverTemperature, m_appliedCelsius < TemperatureLowerLimit ||
                                              m_appliedCelsius > TemperatureUpperLimit);
    m_history.observe(E::OverStaticPressure, m_type == SensorType::Differential &&
                                                 m_staticMbar > staticPressureLimitMbar());
    m_history.observePeaks(dampingTarget(), m_appliedCelsius + m_settings.temperatureOffset);
}

void TransmitterModel::completeRestart()
{
    m_restartRemainingMs = 0;
    m_history.powerOn();
    m_coldStart = true;
    m_fixedCurrent = 0.0;
    m_diagnosis.setSimulation(false, {});
    m_diagnosis.clearSelfTest();
    m_dampedMbar = dampingTarget();
}
