#pragma once

#include "simulator/RangeRules.h"
#include "simulator/TransmitterDiagnosis.h"
#include "simulator/TransmitterHistory.h"
#include "simulator/TransmitterSettings.h"

#include <QList>
#include <array>
#include <optional>
#include <random>

// The physics and the memory of the simulated pressure transmitter, free of any
// protocol bytes: pressure in mbar, temperature in degC, current in mA. The
// operations that can be refused answer with the HART response code that says why.
class TransmitterModel
{
public:
    enum class SensorType : quint8
    {
        Absolute = 0,
        Differential = 1
    };

    struct MeasuringRange
    {
        double lowerMbar;
        double upperMbar;
        double minSpanMbar;
    };

    static constexpr quint8 ManufacturerId = 0x3C;
    static constexpr quint8 DeviceType = 0x9D;
    static constexpr quint8 UniversalRevision = 5;
    static constexpr quint8 DeviceRevision = 1;
    static constexpr quint8 HartSoftwareRevision = 3;
    static constexpr quint8 HardwareRevision = 2;
    static constexpr std::array<quint8, 3> SoftwareVersion{1, 5, 2};
    static constexpr double TemperatureLowerLimit = -40.0;
    static constexpr double TemperatureUpperLimit = 85.0;
    static constexpr double RangeSparePercent = 10.0;
    static constexpr double MaxDampingSeconds = 100.0;
    static constexpr double FixedCurrentMin = 3.5;
    static constexpr double FixedCurrentMax = 23.6;
    static constexpr qint64 RestartMs = 2000;

    static QList<MeasuringRange> measuringRanges(SensorType type);
    TransmitterModel(SensorType type, int rangeIndex);

    SensorType sensorType() const { return m_type; }
    int rangeIndex() const { return m_rangeIndex; }
    const MeasuringRange &range() const { return m_range; }
    quint32 deviceId() const;
    // Another transmitter of the same kind on a shared loop: its own polling
    // address (kept by a factory reset) and its own unique device id.
    void setLoopPosition(quint8 pollingAddress, quint32 serialOffset);
    quint32 electronicsSerialNumber() const;
    double staticPressureLimitMbar() const;
    // Range values may exceed the sensor limits by the spare, a share of the upper limit.
    double rangeLowerLimitMbar() const;
    double rangeUpperLimitMbar() const;

    const TransmitterSettings &settings() const { return m_settings; }
    // The way to write settings: it raises the configuration-changed flag.
    TransmitterSettings &changeSettings();
    bool configurationChanged() const { return m_configurationChanged; }
    void resetConfigurationChanged() { m_configurationChanged = false; }
    void restoreFactorySettings();
    // True once after each start; the next response carries the cold-start bit.
    bool takeColdStart();

    void setAppliedPressure(double mbar);
    double appliedPressure() const { return m_appliedMbar; }
    void setAppliedTemperature(double celsius);
    double appliedTemperature() const { return m_appliedCelsius; }
    void setStaticPressure(double mbar);
    double staticPressure() const { return m_staticMbar; }
    // A slow movement of the process around the applied pressure and
    // temperature, as a real one never stands still: sines of the given
    // amplitudes and period in the model's time. 0 holds the process still.
    void setProcessDrift(double pressureMbar, double temperatureCelsius, double periodSeconds);
    // A pressure source on the port, as on a calibration bench: while it is
    // attached the process holds still and the port follows the pressure the
    // source is set to (a quarter of the sensor span a second) and holds it
    // there, read with the sensor's noise. A source's own noise would be
    // below the sensor's and, at the sensor's end, trip its limit alarm. Detached, the process
    // comes back where it was and moves on. The applied pressure set meanwhile is the source's, at
    // once.
    void attachPressureSource();
    void setSourcePressure(double mbar);
    void detachPressureSource();
    bool isPressureSourceAttached() const { return m_sourceTargetMbar.has_value(); }
    void seedNoise(quint32 seed);
    // 1 is the normal noise of the sensor, 0 none.
    void setNoiseLevel(double level);
    // Draws the noise that the values of the next answer carry.
    void sample();

    double trimmedPressure() const;
    double primaryValue() const;
    double sensorTemperature() const;
    double percentOfRange() const;
    double scaledOutputValue() const;
    double loopCurrent() const;
    double analogOutputCurrent() const;
    bool isOutputSaturated() const;
    bool isOutputFixed() const;
    double fixedCurrent() const { return m_fixedCurrent; }
    // 0 leaves fixed-current mode.
    void setFixedCurrent(double mA) { m_fixedCurrent = mA; }
    TransmitterDiagnosis::Bytes diagnosisReport() const;
    quint8 deviceStatus() const;

    void advanceTime(qint64 ms);
    void beginRestart();
    bool isRestarting() const { return m_restartRemainingMs > 0; }

    TransmitterHistory &history() { return m_history; }
    const TransmitterHistory &history() const { return m_history; }
    TransmitterDiagnosis &diagnosis() { return m_diagnosis; }
    const TransmitterDiagnosis &diagnosis() const { return m_diagnosis; }
    bool resetPeaks(quint8 selector);

    void setWriteProtectSwitch(bool on) { m_writeProtectSwitch = on; }
    bool writeProtectSwitch() const { return m_writeProtectSwitch; }
    bool isWriteProtected() const;
    void setLocalOperationActive(bool active) { m_localOperation = active; }
    bool isLocalOperationActive() const { return m_localOperation; }

    quint8 setRange(double lowerMbar, double upperMbar);
    quint8 setUpperRangeFromApplied();
    quint8 setLowerRangeFromApplied();
    quint8 shiftRange(double percent);
    quint8 zeroPrimaryValue();
    quint8 setBalancePoint(bool upper, double referenceMbar);
    quint8 calibrateTemperature(double referenceCelsius);
    quint8 trimOutput(double nominal, double measured);
    void setDamping(double seconds);
    // Drift of an ageing device, which raises no configuration flag: an error
    // of the zero in mbar and one of the whole output current in mA.
    void driftZero(double mbar);
    void driftOutput(double mA);

private:
    TransmitterSettings factorySettings() const;
    RangeRules::Limits rangeLimits() const;
    double calibrate(double rawMbar) const;
    double pressureGain() const;
    double dampingTarget() const;
    double currentFromPercent(double percent) const;
    double unclampedCurrent() const;
    quint8 processBits() const;
    void observeProcess();
    void applyDrift();
    void settleSource(qint64 ms);
    void completeRestart();

    SensorType m_type;
    int m_rangeIndex;
    quint8 m_factoryPollingAddress = 0;
    quint32 m_serialOffset = 0;
    MeasuringRange m_range;
    TransmitterSettings m_settings;
    TransmitterHistory m_history;
    TransmitterDiagnosis m_diagnosis;
    bool m_configurationChanged = false;
    bool m_coldStart = true;
    bool m_writeProtectSwitch = false;
    bool m_localOperation = false;

    double m_appliedMbar = 0.0; // with the drift
    double m_appliedCelsius = 23.0;
    double m_baseMbar = 0.0; // as set
    double m_baseCelsius = 23.0;
    double m_driftMbar = 0.0;
    double m_driftCelsius = 0.0;
    double m_driftPeriodMs = 0.0;
    double m_driftTimeMs = 0.0;
    std::optional<double> m_sourceTargetMbar; // set while a source is attached
    double m_sourceMbar = 0.0;                // where the source has got to
    double m_staticMbar = 0.0;
    double m_noiseLevel = 1.0;
    double m_pressureNoise = 0.0;
    double m_temperatureNoise = 0.0;
    std::mt19937 m_random;

    double m_dampedMbar = 0.0;
    double m_fixedCurrent = 0.0;
    double m_lastNormalCurrent = 4.0;
    qint64 m_restartRemainingMs = 0;
};
