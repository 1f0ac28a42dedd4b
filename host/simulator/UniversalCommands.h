#pragma once

#include "simulator/CommandTable.h"

class TransmitterModel;

// Commands 0 to 19 that every HART 5 device answers alike.
class UniversalCommands
{
public:
    explicit UniversalCommands(TransmitterModel &model);
    void registerInto(CommandTable &table);

    // The answer to command 0, also given to command 11.
    QByteArray identity() const;

private:
    hart::CommandReply readPrimaryVariable() const;
    hart::CommandReply readCurrentAndPercent() const;
    hart::CommandReply readDynamicVariables() const;
    hart::CommandReply writePollingAddress(QByteArrayView request);
    hart::CommandReply readTagDescriptorDate() const;
    hart::CommandReply readSensorInformation() const;
    hart::CommandReply readOutputInformation() const;
    hart::CommandReply writeTagDescriptorDate(QByteArrayView request);
    QByteArray pressureVariable(double mbar) const;

    TransmitterModel &m_model;
};
