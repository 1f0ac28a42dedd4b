#pragma once

#include "simulator/CommandTable.h"

class TransmitterModel;

// Common-practice commands (33 to 59) in their HART 5 layouts.
class CommonPracticeCommands
{
public:
    // Transmitter variable codes of command 33 and of the dynamic variable assignment.
    static constexpr quint8 PressureVariable = 0;
    static constexpr quint8 TemperatureVariable = 1;
    static constexpr quint8 TrimmedPressureVariable = 2;
    static constexpr quint8 ScaledOutputVariable = 3;

    explicit CommonPracticeCommands(TransmitterModel &model);
    void registerInto(CommandTable &table);

private:
    hart::CommandReply readTransmitterVariables(QByteArrayView request) const;
    hart::CommandReply writeDamping(QByteArrayView request);
    hart::CommandReply writeRangeValues(QByteArrayView request);
    hart::CommandReply setFixedCurrent(QByteArrayView request);
    hart::CommandReply writePressureUnit(QByteArrayView request);
    hart::CommandReply trimOutput(QByteArrayView request, double nominal);
    hart::CommandReply writeTransferFunction(QByteArrayView request);
    hart::CommandReply readAdditionalStatus() const;
    hart::CommandReply writeVariableUnit(QByteArrayView request);
    hart::CommandReply writeResponsePreambles(QByteArrayView request);
    std::optional<QByteArray> variable(quint8 code) const;

    TransmitterModel &m_model;
};
