#pragma once

#include <QtGlobal>
#include <array>

// The diagnosis bits of the transmitter, one byte per category, the failure
// configuration that decides which of them are a failure, the status simulation
// that replaces them for commissioning tests, and the self-test result.
class TransmitterDiagnosis
{
public:
    enum Category
    {
        Measurement = 0,
        Process = 1,
        Electronics = 2,
        Extensions = 3,
        Operation = 4
    };
    static constexpr int Categories = 5;
    using Bytes = std::array<quint8, Categories>;

    // Process bits, derived from the measured values.
    static constexpr quint8 PressureOutOfSpan = 0x01;
    static constexpr quint8 PressureOutOfSensorLimits = 0x02;
    static constexpr quint8 TemperatureOutOfLimits = 0x04;
    // Electronics bit 3: the sensor module does not answer; always a failure.
    static constexpr quint8 SensorModuleDisconnected = 0x08;
    // Operation bits, derived from the others.
    static constexpr quint8 Failure = 0x01;
    static constexpr quint8 Warning = 0x02;
    static constexpr quint8 OutputSimulated = 0x04;
    static constexpr quint8 OutOfWorkingRange = 0x08;
    static constexpr quint8 SimulationActive = 0x10;
    static constexpr quint8 LocalControl = 0x20;

    // Bits that exist per category, and those the failure configuration may choose.
    static constexpr Bytes DefinedBits{0x0F, 0x07, 0x7F, 0x01, 0x3F};
    static constexpr std::array<quint8, 4> ConfigurableBits{0x0F, 0x07, 0x17, 0x01};

    enum class SelfTest : quint8
    {
        NotRun = 0,
        Passed = 1,
        Failed = 2,
        Running = 3
    };
    // How long the self test checks sensor and electronics before it reports.
    static constexpr qint64 SelfTestMs = 1500;

    void setFaults(Category category, quint8 bits);
    quint8 faults(Category category) const { return m_faults[category]; }
    void clearFaults();

    void setSimulation(bool active, const Bytes &bits);
    bool isSimulationActive() const { return m_simulationActive; }
    const Bytes &simulatedBits() const { return m_simulated; }

    // Starts the self test (again, when it runs); its verdict comes once the
    // device's time has advanced by SelfTestMs.
    void startSelfTest();
    void advance(qint64 ms);
    SelfTest selfTestResult() const { return m_selfTest; }
    void clearSelfTest();

    // The categories as reported, the operation byte included.
    Bytes report(quint8 processBits, const std::array<quint8, 4> &failureConfiguration,
                 bool localControl) const;
    static bool isFailure(const Bytes &report) { return report[Operation] & Failure; }

private:
    Bytes m_faults{};
    Bytes m_simulated{};
    bool m_simulationActive = false;
    SelfTest m_selfTest = SelfTest::NotRun;
    qint64 m_selfTestRemainingMs = 0;
};
