#include "simulator/TransmitterDiagnosis.h"

void TransmitterDiagnosis::setFaults(Category category, quint8 bits)
{
    // Process and operation bits follow from the measurement; they cannot be injected.
    if (category == Process || category == Operation)
        return;
    m_faults[category] = bits & DefinedBits[category];
}

void TransmitterDiagnosis::clearFaults()
{
    m_faults = {};
}

void TransmitterDiagnosis::setSimulation(bool active, const Bytes &bits)
{
    m_simulationActive = active;
    for (int c = 0; c < Categories; ++c)
        m_simulated[c] = bits[c] & DefinedBits[c];
}

void TransmitterDiagnosis::startSelfTest()
{
    m_selfTest = SelfTest::Running;
    m_selfTestRemainingMs = SelfTestMs;
}

void TransmitterDiagnosis::advance(qint64 ms)
{
    if (m_selfTest != SelfTest::Running || ms <= 0)
        return;
    m_selfTestRemainingMs -= ms;
    if (m_selfTestRemainingMs > 0)
        return;
    // Only real faults count: a simulated diagnosis is no hardware fault.
    const bool hardwareFault =
        m_faults[Measurement] || m_faults[Electronics] || m_faults[Extensions];
    m_selfTest = hardwareFault ? SelfTest::Failed : SelfTest::Passed;
    m_selfTestRemainingMs = 0;
}

void TransmitterDiagnosis::clearSelfTest()
{
    m_selfTest = SelfTest::NotRun;
    m_selfTestRemainingMs = 0;
}

TransmitterDiagnosis::Bytes
TransmitterDiagnosis::report(quint8 processBits, const std::array<quint8, 4> &failureConfiguration,
                             bool localControl) const
{
    Bytes bytes = m_simulationActive ? m_simulated : m_faults;
    if (!m_simulationActive) {
        bytes[Process] = processBits & DefinedBits[Process];
        bytes[Operation] = 0;
    }
    quint8 operation = bytes[Operation];
    bool failure = (bytes[Electronics] & SensorModuleDisconnected) != 0;
    bool warning = false;
    for (int c = 0; c < 4; ++c) {
        failure |= (bytes[c] & failureConfiguration[c]) != 0;
        warning |= (bytes[c] & ~failureConfiguration[c]) != 0;
    }
    if (failure)
        operation |= Failure;
    if (warning)
        operation |= Warning;
    if (bytes[Process])
        operation |= OutOfWorkingRange;
    if (m_simulationActive)
        operation |= OutputSimulated | SimulationActive;
    if (localControl)
        operation |= LocalControl;
    bytes[Operation] = operation;
    return bytes;
}
