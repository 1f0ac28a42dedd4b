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

void TransmitterDiagnosis::runSelfTest()
{
    const bool hardwareFault =
        m_faults[Measurement] || m_faults[Electronics] || m_faults[Extensions];
    m_selfTest = hardwareFault ? SelfTest::Failed : SelfTest::Passed;
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
