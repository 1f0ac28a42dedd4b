#include "frmDeviceScan.h"

#include "hart/HartManufacturers.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

} // namespace

frmDeviceScan::frmDeviceScan(HartLink *link, QString tag, QWidget *parent)
    : QDialog(parent), prgScan(new QProgressBar(this)), lblState(new QLabel(this)),
      lvwDevices(new QTreeWidget(this)), cmdCancel(new QPushButton(GetResText(6136), this)),
      cmdUse(new QPushButton(GetResText(6135), this)),
      cmdClose(new QPushButton(GetResText(6137), this)), m_scan(link), m_tag(std::move(tag))
{
    setObjectName(QStringLiteral("frmDeviceScan"));
    setWindowTitle(GetResText(6125));
    prgScan->setObjectName(QStringLiteral("prgScan"));
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);
    lvwDevices->setObjectName(QStringLiteral("lvwDevices"));
    lvwDevices->setRootIsDecorated(false);
    lvwDevices->setUniformRowHeights(true);
    lvwDevices->setHeaderLabels(
        {GetResText(6126), GetResText(6127), GetResText(6128), GetResText(6129), GetResText(6130)});
    lvwDevices->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvwDevices->header()->setStretchLastSection(true);
    cmdUse->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);
    buttons->addWidget(cmdUse);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prgScan);
    layout->addWidget(lblState);
    layout->addWidget(lvwDevices, 1);
    layout->addLayout(buttons);
    resize(620, 340);

    connect(&m_scan, &HartDeviceScan::progress, this, &frmDeviceScan::showProgress);
    connect(&m_scan, &HartDeviceScan::deviceFound, this, &frmDeviceScan::addRow);
    connect(&m_scan, &HartDeviceScan::finished, this, &frmDeviceScan::ended);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (m_scan.isRunning())
            m_scan.cancel();
        else
            startScan();
    });
    connect(cmdUse, &QPushButton::clicked, this, &frmDeviceScan::use);
    connect(cmdClose, &QPushButton::clicked, this, &frmDeviceScan::reject);
    connect(lvwDevices, &QTreeWidget::itemSelectionChanged, this, &frmDeviceScan::refreshButtons);
    connect(lvwDevices, &QTreeWidget::itemDoubleClicked, this, &frmDeviceScan::use);
    refreshButtons();
}

frmDeviceScan::~frmDeviceScan()
{
    m_scan.disconnect(this);
}

void frmDeviceScan::startScan()
{
    lvwDevices->clear();
    m_rows.clear();
    prgScan->setValue(0);
    lblState->setText(
        m_tag.isEmpty() ? QString() : FormatResText(GetResText(6144), {m_tag.trimmed().toUpper()}));
    if (!m_scan.start(m_tag)) {
        lblState->setText(FormatResText(GetResText(6134), {m_scan.errorString()}));
        refreshButtons();
        return;
    }
    cmdCancel->setText(GetResText(6136));
    refreshButtons();
}

void frmDeviceScan::showProgress(int done, int total)
{
    prgScan->setMaximum(total);
    prgScan->setValue(done);
    if (m_scan.isRunning() && m_tag.isEmpty() && done < total)
        lblState->setText(FormatResText(GetResText(6131), {QString::number(done)}));
}

void frmDeviceScan::addRow(const HartDeviceScan::Device &device)
{
    auto *row = new QTreeWidgetItem(lvwDevices);
    row->setText(0, device.pollingAddress < 0 ? GetResText(6150)
                                              : QString::number(device.pollingAddress));
    // From HART 7 on, bytes 1 and 2 are one expanded device type: the maker
    // is told by its own field, the type as the device's revision states it.
    row->setText(1, HartManufacturers::describe(device.identity.manufacturerCode()));
    row->setText(2, device.identity.deviceTypeText());
    row->setText(3, device.tag);
    row->setText(4, device.uniqueId());
    m_rows.append(device);
    // The first device found is the likely choice.
    if (m_rows.size() == 1)
        lvwDevices->setCurrentItem(row);
    refreshButtons();
}

void frmDeviceScan::ended(bool completed)
{
    if (completed) {
        lblState->setText(m_rows.isEmpty()
                              ? GetResText(6148)
                              : FormatResText(GetResText(6132), {QString::number(m_rows.size())}));
    } else if (!m_scan.errorString().isEmpty()) {
        lblState->setText(FormatResText(GetResText(6134), {m_scan.errorString()}));
    } else {
        lblState->setText(GetResText(6133));
    }
    cmdCancel->setText(GetResText(6145));
    refreshButtons();
}

const HartDeviceScan::Device *frmDeviceScan::selected() const
{
    const int row = lvwDevices->indexOfTopLevelItem(lvwDevices->currentItem());
    return row >= 0 && row < m_rows.size() ? &m_rows[row] : nullptr;
}

void frmDeviceScan::refreshButtons()
{
    const HartDeviceScan::Device *device = selected();
    cmdUse->setEnabled(device && device->pollingAddress >= 0);
}

void frmDeviceScan::use()
{
    const HartDeviceScan::Device *device = selected();
    if (!device || device->pollingAddress < 0)
        return;
    m_chosen = *device;
    m_scan.cancel();
    accept();
}

void frmDeviceScan::reject()
{
    m_scan.cancel();
    QDialog::reject();
}
