#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

// The user characteristic: output against input, both in percent of the range.
// Only the first `points` pairs are used; the device keeps the rest as written.
struct UserCurve
{
    static constexpr int MaxPoints = 21;
    static constexpr int MinPoints = 2;
    int points = MinPoints;
    std::array<float, MaxPoints> x{0.0f, 100.0f};
    std::array<float, MaxPoints> y{0.0f, 100.0f};
};

// Everything that a reset to factory data puts back. Pressures are in mbar,
// temperatures in degC, currents in mA, whatever unit the device reports in.
struct TransmitterSettings
{
    // Identification, as the protocol carries it (packed ASCII and HART date bytes).
    QByteArray tag;
    QByteArray descriptor;
    QByteArray message;
    QByteArray date;
    quint32 finalAssemblyNumber = 0;
    quint32 sensorSerialNumber = 0;
    quint8 pollingAddress = 0;
    quint8 responsePreambles = 5;

    // Measurement.
    quint8 pressureUnit = 8;
    quint8 temperatureUnit = 32;
    double lowerRangeMbar = 0.0;
    double upperRangeMbar = 0.0;
    double dampingSeconds = 0.0;
    quint8 transferFunction = 0; // codes in TransferFunction
    double lowFlowCutOffPercent = 5.0;
    double linearToSquareRootPercent = 10.0;
    UserCurve userCurve;
    double integrationTimeMs = 100.0;

    // Current output.
    quint8 alarmSelection = 1; // 0 high, 1 low, 239 hold last value
    double alarmLowCurrent = 3.6;
    double alarmHighCurrent = 21.0;
    double outputLowerLimit = 3.8;
    double outputUpperLimit = 20.5;

    // Scaled HART output ("HART Output" value).
    quint8 outputScaleUnit = 57;
    double outputScaleLower = 0.0;
    double outputScaleUpper = 100.0;
    QByteArray freeUnitText = QByteArray(8, ' ');

    // Local settings.
    bool softwareWriteLock = false;
    quint8 keyFunction = 0;
    quint8 displayView = 0;
    quint8 displayLanguage = 0;
    quint8 displayBargraph = 1;
    quint8 installationAngle = 0;

    // Which diagnosis bits of categories 0..3 put the device into failure.
    std::array<quint8, 4> failureConfiguration{0x0F, 0x02, 0x13, 0x00};

    // Calibration: two balance points (reference against raw sensor reading),
    // the zero shift, the temperature offset and the output converter trim.
    double lowerBalanceReference = 0.0;
    double lowerBalanceRaw = 0.0;
    double upperBalanceReference = 0.0;
    double upperBalanceRaw = 0.0;
    double zeroOffsetMbar = 0.0;
    double temperatureOffset = 0.0;
    double temperatureCalibration = 23.0;
    double dacGain = 1.0;
    double dacOffset = 0.0;
};
