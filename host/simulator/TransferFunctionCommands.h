#pragma once

#include "simulator/CommandTable.h"

class TransmitterModel;

// Commands 152 to 157: the user characteristic, the square-root settings and
// the integration time of the pressure digitisation.
class TransferFunctionCommands
{
public:
    // Count, 21 inputs, 21 outputs.
    static constexpr int UserCurveBytes = 1 + 2 * 4 * 21;
    static constexpr double MinIntegrationMs = 10.0;
    static constexpr double MaxIntegrationMs = 1000.0;

    explicit TransferFunctionCommands(TransmitterModel &model);
    void registerInto(CommandTable &table);

private:
    hart::CommandReply readUserCurve() const;
    hart::CommandReply writeUserCurve(QByteArrayView request);
    hart::CommandReply readSquareRootSettings() const;
    hart::CommandReply writeSquareRootSettings(QByteArrayView request);
    hart::CommandReply readIntegrationTime() const;
    hart::CommandReply writeIntegrationTime(QByteArrayView request);
    QByteArray userCurveBytes() const;

    TransmitterModel &m_model;
};
