#pragma once

#include "UniversalLayout.h"

#include <QWidget>
#include <optional>

class GenericDevice;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// How the primary variable drives the loop (command 15) and its sensor's
// limits (command 14); writes the range, the damping and the unit, and sets
// the primary variable's zero.
class GenericConfigurationPage : public QWidget
{
    Q_OBJECT

public:
    GenericConfigurationPage(GenericDevice &device, QWidget *parent = nullptr);

    QComboBox *cmbUnit;
    QPushButton *cmdWriteUnit;
    QLineEdit *txtLowerRange;
    QLabel *lblLowerRangeUnit;
    QLineEdit *txtUpperRange;
    QLabel *lblRangeUnit;
    QPushButton *cmdWriteRange;
    QLineEdit *txtDamping;
    QPushButton *cmdWriteDamping;
    QLabel *lblTransferFunction;
    QLabel *lblAlarmSelection;
    QLabel *lblWriteProtect;
    QLabel *lblLowerLimit;
    QLabel *lblUpperLimit;
    QLabel *lblMinimumSpan;
    QPushButton *cmdZero;

private:
    void refresh();
    void fillUnits(quint8 unit);
    void refreshButtons();
    void writeUnit();
    void writeRange();
    void writeDamping();
    void setZero();
    // The number in a field; nothing (and the field marked) when it is none.
    std::optional<double> numberIn(QLineEdit *field);

    GenericDevice &m_device;
    // What the fields were last filled from (see GenericIdentificationPage).
    std::optional<UniversalLayout::OutputInformation> m_shown;
};
