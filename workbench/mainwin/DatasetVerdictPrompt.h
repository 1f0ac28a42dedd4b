#pragma once

#include <QObject>

class frmMain;

// What the main window does with the host's verdict on the dataset against
// the device ("IncompatibleDataset"): a dataset that may be replaced by the
// device's is offered to be, one that cannot be used is said so, and either
// stays barred from being written to the device.
class DatasetVerdictPrompt : public QObject
{
    Q_OBJECT

public:
    explicit DatasetVerdictPrompt(frmMain &main);

    // Bars or frees Save to Device after the verdict and the connection now.
    void refresh();

private:
    void verdictChanged();

    frmMain &m_main;
};
