#pragma once

#include "mainwin/clsVexaForm.h"

#include <array>

class QLabel;
class QPushButton;
class VexaAppItem;
class VexaLabel;
class VexaSequenceItem;

// What the device counted: power-ons, violations of the sensor's pressure,
// static pressure and temperature limits, each with the working time it last
// began at, and the working hours; every counter but the power-ons resets.
class frmEventCounter : public clsVexaForm
{
    Q_OBJECT

public:
    static constexpr int Times = 6;
    static constexpr int Resets = 4;

    explicit frmEventCounter(QWidget *parent = nullptr);
    ~frmEventCounter() override;

    std::array<VexaAppItem *, Times> appDuration{};
    std::array<QLabel *, Times> lblTime{};
    std::array<VexaLabel *, 4> lblCount{};
    std::array<VexaSequenceItem *, Resets> seqResetEventCounter{};
    std::array<QPushButton *, Resets> cmdReset{};
    VexaAppItem *appConnectionStatus;
    VexaAppItem *appMultivariableFunction;
    VexaAppItem *appSensorTypeFF;

protected:
    void FormActivated() override;

private:
    void build();
    void showTime(int index);
    void showConnection(const QString &value);
    void reset(int index);
    void resetStatus(int index, qint32 status);
};
