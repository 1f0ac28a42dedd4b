#pragma once

#include "simulator/CommandTable.h"

class TransmitterModel;

// Commands 128 to 151: what this transmitter family adds to the common set for
// calibration, output and local settings, diagnosis, history and identification.
class DeviceSpecificCommands
{
public:
    explicit DeviceSpecificCommands(TransmitterModel &model);
    void registerInto(CommandTable &table);

private:
    void registerCalibration(CommandTable &table);
    void registerSettings(CommandTable &table);
    void registerDiagnosis(CommandTable &table);
    void registerHistory(CommandTable &table);

    hart::CommandReply readSensorInformation() const;
    hart::CommandReply readConstruction() const;
    hart::CommandReply readCalibration() const;
    hart::CommandReply setBalancePoint(QByteArrayView request, bool upper);
    hart::CommandReply calibrateTemperature(QByteArrayView request);
    hart::CommandReply readOutputSettings() const;
    hart::CommandReply writeOutputSettings(QByteArrayView request);
    hart::CommandReply readLocalSettings() const;
    hart::CommandReply writeLocalSettings(QByteArrayView request);
    hart::CommandReply writeWriteProtection(QByteArrayView request);
    hart::CommandReply readDiagnosisConfiguration() const;
    hart::CommandReply writeDiagnosisConfiguration(QByteArrayView request);
    hart::CommandReply readDiagnosisSimulation() const;
    hart::CommandReply writeDiagnosisSimulation(QByteArrayView request);
    hart::CommandReply readEventCounters() const;
    hart::CommandReply resetEventCounter(QByteArrayView request);
    hart::CommandReply readPeakValues() const;
    hart::CommandReply resetPeakValues(QByteArrayView request);
    hart::CommandReply readIdentification() const;
    hart::CommandReply shiftRange(QByteArrayView request);
    hart::CommandReply resetToFactoryData();
    hart::CommandReply readOutputScaling() const;
    hart::CommandReply writeOutputScaling(QByteArrayView request);

    QByteArray pressure(double mbar) const;
    QByteArray temperature(double celsius) const;

    TransmitterModel &m_model;
};
