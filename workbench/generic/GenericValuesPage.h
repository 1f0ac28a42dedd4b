#pragma once

#include <QWidget>
#include <array>

class GenericDevice;
class QLabel;
class QProgressBar;

// The live values: the primary variable with its unit, the loop current and
// the percent of range, and the other dynamic variables, as fresh as the
// controller reads them.
class GenericValuesPage : public QWidget
{
    Q_OBJECT

public:
    GenericValuesPage(GenericDevice &device, QWidget *parent = nullptr);

    QLabel *lblPrimary;
    QLabel *lblCurrent;
    QLabel *lblPercent;
    QProgressBar *prgPercent;
    // Secondary, tertiary and quaternary variable.
    std::array<QLabel *, 3> lblVariable;
    QLabel *lblReadAt;

private:
    void refresh();

    GenericDevice &m_device;
};
