#pragma once

#include "hart/HartDeviceScan.h"

#include <QDialog>
#include <optional>

class HartLink;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The device scan: asks the polling addresses one after the other (or for a
// tag), lists each device that answers with its codes, tag and unique id,
// and lets the user pick one. Cancel stops the scan; closing the window too.
class frmDeviceScan : public QDialog
{
    Q_OBJECT

public:
    frmDeviceScan(HartLink *link, QString tag, QWidget *parent = nullptr);
    ~frmDeviceScan() override;

    // Starts (or starts again); a link that cannot be opened is told in the window.
    void startScan();
    HartDeviceScan &scan() { return m_scan; }
    // The device picked with Use; nothing before.
    std::optional<HartDeviceScan::Device> chosen() const { return m_chosen; }

    QProgressBar *prgScan;
    QLabel *lblState;
    QTreeWidget *lvwDevices;
    QPushButton *cmdCancel; // "Scan again" once the scan has ended
    QPushButton *cmdUse;
    QPushButton *cmdClose;

    void reject() override;

private:
    void addRow(const HartDeviceScan::Device &device);
    void showProgress(int done, int total);
    void ended(bool completed);
    void use();
    void refreshButtons();
    const HartDeviceScan::Device *selected() const;

    HartDeviceScan m_scan;
    QList<HartDeviceScan::Device> m_rows;
    std::optional<HartDeviceScan::Device> m_chosen;
    QString m_tag;
};
