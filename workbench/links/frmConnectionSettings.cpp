#include "frmConnectionSettings.h"

#include "LinkSettingsController.h"
#include "frmDeviceScan.h"
#include "hart/HartDeviceScan.h"
#include "hart/HartProtocol.h"
#include "hart/ProfiledHartLink.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

using Kind = HartLinkProfile::Kind;

template <class T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QSpinBox *spinBox(QWidget *parent, const char *name, int low, int high)
{
    auto *box = named(new QSpinBox(parent), name);
    box->setRange(low, high);
    return box;
}

} // namespace

frmConnectionSettings::frmConnectionSettings(LinkSettingsController &controller, bool connected,
                                             QWidget *parent)
    : QDialog(parent), cmbKind(named(new QComboBox(this), "cmbKind")),
      lblNote(named(new QLabel(this), "lblNote")), m_controller(controller), m_connected(connected)
{
    setObjectName(QStringLiteral("frmConnectionSettings"));
    setWindowTitle(GetResText(6103));
    cmbKind->addItem(GetResText(6105), int(Kind::Simulator));
    cmbKind->addItem(GetResText(6106), int(Kind::Serial));
    cmbKind->addItem(GetResText(6107), int(Kind::HartIp));
    lblNote->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    cmdOk = named(buttons->addButton(GetResText(6143), QDialogButtonBox::AcceptRole), "cmdOk");
    cmdCancel =
        named(buttons->addButton(GetResText(6136), QDialogButtonBox::RejectRole), "cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &frmConnectionSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmConnectionSettings::reject);

    auto *kindRow = new QFormLayout;
    kindRow->addRow(GetResText(6104), cmbKind);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(serialGroup());
    layout->addWidget(hartIpGroup());
    layout->addWidget(deviceGroup());
    layout->addWidget(lblNote);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(cmbKind, &QComboBox::currentIndexChanged, this, &frmConnectionSettings::kindChanged);
    connect(cmdScan, &QPushButton::clicked, this, &frmConnectionSettings::scan);
    showProfile(controller.profile());
    // Changing the link under a live connection would end it: the choice waits.
    if (m_connected || controller.hasPending())
        lblNote->setText(GetResText(6121));
    cmdScan->setEnabled(!m_connected);
    if (m_connected)
        cmdScan->setToolTip(GetResText(6122));
}

QGroupBox *frmConnectionSettings::serialGroup()
{
    grpSerial = named(new QGroupBox(GetResText(6106), this), "grpSerial");
    cmbPort = named(new QComboBox(grpSerial), "cmbPort");
    cmbPort->setEditable(true);
    cmbPort->setMinimumContentsLength(24);
    spnPreambles = spinBox(grpSerial, "spnPreambles", hart::DefaultPreambles, hart::MaxPreambles);
    spnRetries = spinBox(grpSerial, "spnRetries", 0, HartLinkProfile::MaxRetries);
    chkRts = named(new QCheckBox(GetResText(6111), grpSerial), "chkRts");
    auto *form = new QFormLayout(grpSerial);
    form->addRow(GetResText(6108), cmbPort);
    form->addRow(GetResText(6109), spnPreambles);
    form->addRow(GetResText(6110), spnRetries);
    form->addRow(QString(), chkRts);
    return grpSerial;
}

QGroupBox *frmConnectionSettings::hartIpGroup()
{
    grpHartIp = named(new QGroupBox(GetResText(6107), this), "grpHartIp");
    txtHost = named(new QLineEdit(grpHartIp), "txtHost");
    spnPort = spinBox(grpHartIp, "spnPort", 1, 65535);
    cmbTransport = named(new QComboBox(grpHartIp), "cmbTransport");
    cmbTransport->addItem(GetResText(6115));
    cmbTransport->addItem(GetResText(6116));
    auto *form = new QFormLayout(grpHartIp);
    form->addRow(GetResText(6112), txtHost);
    form->addRow(GetResText(6113), spnPort);
    form->addRow(GetResText(6114), cmbTransport);
    return grpHartIp;
}

QGroupBox *frmConnectionSettings::deviceGroup()
{
    auto *group = named(new QGroupBox(GetResText(6117), this), "grpDevice");
    spnAddress = spinBox(group, "spnAddress", 0, HartDeviceScan::PollingAddresses - 1);
    txtTag = named(new QLineEdit(group), "txtTag");
    txtTag->setMaxLength(HartDeviceScan::TagCharacters);
    cmdScan = named(new QPushButton(GetResText(6119), group), "cmdScan");
    auto *address = new QHBoxLayout;
    address->addWidget(spnAddress);
    address->addStretch(1);
    address->addWidget(cmdScan);
    auto *form = new QFormLayout(group);
    form->addRow(GetResText(6118), address);
    form->addRow(GetResText(6120), txtTag);
    return group;
}

// The system's serial ports, and whatever was typed or saved before even
// when it is not there now (a modem not yet plugged in).
void frmConnectionSettings::fillPorts(const QString &current)
{
    cmbPort->clear();
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        const QString description = port.description().trimmed();
        cmbPort->addItem(port.systemLocation());
        if (!description.isEmpty())
            cmbPort->setItemData(cmbPort->count() - 1, description, Qt::ToolTipRole);
    }
    if (!current.isEmpty() && cmbPort->findText(current) < 0)
        cmbPort->insertItem(0, current);
    cmbPort->setCurrentText(current);
}

void frmConnectionSettings::showProfile(const HartLinkProfile &p)
{
    cmbKind->setCurrentIndex(cmbKind->findData(int(p.kind)));
    fillPorts(p.serialPort);
    spnPreambles->setValue(p.preambles);
    spnRetries->setValue(p.retries);
    chkRts->setChecked(p.rtsKeying);
    txtHost->setText(p.host);
    spnPort->setValue(p.port);
    cmbTransport->setCurrentIndex(p.udp ? 1 : 0);
    spnAddress->setValue(p.pollingAddress);
    kindChanged();
}

HartLinkProfile frmConnectionSettings::enteredProfile() const
{
    HartLinkProfile p;
    p.kind = Kind(cmbKind->currentData().toInt());
    p.serialPort = cmbPort->currentText().trimmed();
    p.preambles = spnPreambles->value();
    p.retries = spnRetries->value();
    p.rtsKeying = chkRts->isChecked();
    p.host = txtHost->text().trimmed();
    p.port = quint16(spnPort->value());
    p.udp = cmbTransport->currentIndex() == 1;
    p.pollingAddress = spnAddress->value();
    return p;
}

void frmConnectionSettings::kindChanged()
{
    const Kind kind = Kind(cmbKind->currentData().toInt());
    grpSerial->setEnabled(kind == Kind::Serial);
    grpHartIp->setEnabled(kind == Kind::HartIp);
}

void frmConnectionSettings::showProblem(qint16 textId)
{
    lblNote->setText(GetResText(textId));
    if (textId == 6123)
        cmbPort->setFocus();
    else if (textId == 6124)
        txtHost->setFocus();
}

void frmConnectionSettings::scan()
{
    const HartLinkProfile profile = enteredProfile();
    if (const qint16 problem = LinkSettingsController::problem(profile)) {
        showProblem(problem);
        return;
    }
    if (!HartDeviceScan::canSendTag(txtTag->text().trimmed())) {
        lblNote->setText(GetResText(6151));
        txtTag->setFocus();
        return;
    }
    // The scan runs on the link as entered; Cancel here puts the old one back.
    m_controller.tryOut(profile);
    m_scanWindow = new frmDeviceScan(m_controller.link(), txtTag->text().trimmed(), this);
    m_scanWindow->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_scanWindow, &QDialog::accepted, this, [this] {
        if (m_scanWindow && m_scanWindow->chosen())
            spnAddress->setValue(m_scanWindow->chosen()->pollingAddress);
    });
    m_scanWindow->open();
    m_scanWindow->startScan();
}

void frmConnectionSettings::accept()
{
    const HartLinkProfile profile = enteredProfile();
    if (const qint16 problem = LinkSettingsController::problem(profile)) {
        showProblem(problem);
        return;
    }
    m_controller.apply(profile, m_connected);
    QDialog::accept();
}

void frmConnectionSettings::reject()
{
    m_controller.restore();
    QDialog::reject();
}
