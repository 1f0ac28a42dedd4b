#pragma once

#include <QWidget>

class GenericDevice;
class QLabel;
class QLineEdit;
class QPushButton;

// The loop test (a fixed current, command 40) and the trim of the loop
// current at 4 and 20 mA (commands 45 and 46), each after the user has
// agreed to take the loop out of automatic control. The window returns the
// loop to normal when it closes.
class GenericLoopPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr double ZeroCurrent = 4.0;
    static constexpr double GainCurrent = 20.0;

    GenericLoopPage(GenericDevice &device, QWidget *parent = nullptr);

    QLineEdit *txtLoopCurrent;
    QPushButton *cmdLoopStart;
    QPushButton *cmdLoopEnd;
    QLabel *lblLoopState;
    QPushButton *cmdTrimZeroSet;
    QLineEdit *txtTrimZero;
    QPushButton *cmdTrimZero;
    QPushButton *cmdTrimGainSet;
    QLineEdit *txtTrimGain;
    QPushButton *cmdTrimGain;

private:
    void refresh();
    // Fixes the loop at the current, asking first unless this view holds it already.
    void fix(double milliamperes);
    void startLoopTest();
    void trim(bool gain);
    bool holdsAt(double milliamperes) const;

    GenericDevice &m_device;
};
