#pragma once

#include "frmDeviceScan.h"
#include "hart/HartLinkProfile.h"

#include <QDialog>
#include <QPointer>

class LinkSettingsController;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Connection settings under the Device menu: the kind of link (the
// simulated transmitter, a HART modem on a serial port, a HART-IP server)
// with its settings, and the device's polling address, typed in or found by
// a scan. OK keeps the choice for the next start and hands it to the link;
// while a device is connected it waits until that connection has ended.
class frmConnectionSettings : public QDialog
{
    Q_OBJECT

public:
    frmConnectionSettings(LinkSettingsController &controller, bool connected,
                          QWidget *parent = nullptr);

    // What the fields say now.
    HartLinkProfile enteredProfile() const;
    void showProfile(const HartLinkProfile &profile);
    // The scan window while it is open.
    frmDeviceScan *scanWindow() const { return m_scanWindow; }

    QComboBox *cmbKind;
    QGroupBox *grpSerial;
    QComboBox *cmbPort;
    QSpinBox *spnPreambles;
    QSpinBox *spnRetries;
    QCheckBox *chkRts;
    QGroupBox *grpHartIp;
    QLineEdit *txtHost;
    QSpinBox *spnPort;
    QComboBox *cmbTransport;
    QSpinBox *spnAddress;
    QLineEdit *txtTag;
    QPushButton *cmdScan;
    QLabel *lblNote;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;

    void accept() override;
    void reject() override;

private:
    QGroupBox *serialGroup();
    QGroupBox *hartIpGroup();
    QGroupBox *deviceGroup();
    void fillPorts(const QString &current);
    void kindChanged();
    void scan();
    void showProblem(qint16 textId);

    LinkSettingsController &m_controller;
    QPointer<frmDeviceScan> m_scanWindow;
    bool m_connected;
};
