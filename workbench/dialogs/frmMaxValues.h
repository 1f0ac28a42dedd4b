#pragma once

#include "mainwin/clsVexaForm.h"

#include <array>

class QLabel;
class QPushButton;
class VexaAppItem;
class VexaSequenceItem;
class VexaText;

// The lowest and highest pressure and sensor temperature the device has
// measured, each pair with its unit and a reset.
class frmMaxValues : public clsVexaForm
{
    Q_OBJECT

public:
    // Reset k writes k to "resetPeakValues": 1 sensor temperature, 2 pressure.
    static constexpr int TemperatureReset = 1;
    static constexpr int PressureReset = 2;

    explicit frmMaxValues(QWidget *parent = nullptr);
    ~frmMaxValues() override;

    std::array<VexaAppItem *, 2> appUnit{};
    // What sets the places shown of each group: [group][0 lower, 1 upper]
    // end of the measuring range (pressure) and the sensor's limits.
    std::array<std::array<VexaAppItem *, 2>, 2> appSpan{};
    std::array<std::array<VexaAppItem *, 2>, 2> appSensorLimits{};
    std::array<QLabel *, 2> lblUnit{};
    // Minimum and maximum of the group: [group][0 min, 1 max].
    std::array<std::array<VexaText *, 2>, 2> txtPeak{};
    // Indexed by the reset selector: [1] temperature, [2] pressure.
    std::array<QPushButton *, 3> cmdReset{};
    VexaAppItem *appresetPeakValues;
    VexaSequenceItem *seqResetPeakValues;
    VexaAppItem *appConnectionStatus;

protected:
    void FormActivated() override;

private:
    void build();
    void showUnit(int group);
    void showDecimals(int group);
    void showConnection(const QString &value);
    void reset(int selector);
    void resetStatus(qint32 status);
};
