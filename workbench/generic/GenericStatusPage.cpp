#include "GenericStatusPage.h"

#include "GenericDevice.h"
#include "GenericStatusBits.h"
#include "hart/HartProtocol.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using Byte = GenericStatusBits::Byte;

enum : qint16
{
    ReservedBit = 7774,
    ChannelSaturated = 7775,
    ChannelFixed = 7776,
    NoBitSet = 7777,
    DeviceStatus = 7778,
    ExtendedStatus = 7779,
    NotSupported = 7795,
    StandardizedStatus = 7855,
    AnalogChannels = 7856,
    MakersBytes = 7857,
    ReadStatusText = 7858,
    AdditionalStatus = 7859,
    NotRead = 4715,
};

QTreeWidgetItem *add(QTreeWidgetItem *parent, const QString &text)
{
    return new QTreeWidgetItem(parent, {text});
}

void addBits(QTreeWidgetItem *parent, Byte byte, quint8 value)
{
    const QList<GenericStatusBits::Bit> bits = GenericStatusBits::setBits(byte, value);
    if (bits.isEmpty())
        add(parent, GetResText(NoBitSet));
    for (const GenericStatusBits::Bit &bit : bits)
        add(parent, bit.textId != 0
                        ? GetResText(bit.textId)
                        : FormatResText(GetResText(ReservedBit), {QString::number(bit.bit)}));
}

void addChannels(QTreeWidgetItem *parent, qint16 textId, quint8 value)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (value & (1u << bit))
            add(parent, FormatResText(GetResText(textId), {QString::number(bit)}));
    }
}

void addDescendants(const QTreeWidgetItem *item, QStringList &lines)
{
    for (int i = 0; i < item->childCount(); ++i) {
        lines << item->child(i)->text(0);
        addDescendants(item->child(i), lines);
    }
}

} // namespace

GenericStatusPage::GenericStatusPage(GenericDevice &device, QWidget *parent)
    : QWidget(parent), tvwStatus(new QTreeWidget(this)),
      cmdReadStatus(new QPushButton(GetResText(ReadStatusText), this)), m_device(device)
{
    setObjectName(QStringLiteral("GenericStatusPage"));
    tvwStatus->setObjectName(QStringLiteral("tvwStatus"));
    tvwStatus->setHeaderHidden(true);
    tvwStatus->setUniformRowHeights(true);
    cmdReadStatus->setObjectName(QStringLiteral("cmdReadStatus"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdReadStatus);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tvwStatus, 1);
    layout->addLayout(buttons);

    connect(&device, &GenericDevice::valuesChanged, this, &GenericStatusPage::refresh);
    connect(&device, &GenericDevice::stateChanged, this, &GenericStatusPage::refreshButtons);
    connect(&device, &GenericDevice::busyChanged, this, &GenericStatusPage::refreshButtons);
    connect(cmdReadStatus, &QPushButton::clicked, this, [this] { m_device.readStatus(); });
    refresh();
}

QStringList GenericStatusPage::lines(int section) const
{
    QStringList lines;
    if (const QTreeWidgetItem *top = tvwStatus->topLevelItem(section))
        addDescendants(top, lines);
    return lines;
}

void GenericStatusPage::refresh()
{
    const GenericValues &v = m_device.values();
    // Rebuilt only when something changed: the live reads come every second.
    QByteArray shown = v.deviceStatus ? QByteArray(1, char(*v.deviceStatus)) : QByteArray("-");
    shown += v.additional
                 ? v.additional->bytes.toHex()
                 : QByteArray(v.answersNot(hart::command::ReadAdditionalStatus) ? "n" : "-");
    if (m_shown == shown && tvwStatus->topLevelItemCount() > 0)
        return;
    m_shown = shown;
    tvwStatus->clear();
    auto *status = new QTreeWidgetItem(tvwStatus, {GetResText(DeviceStatus)});
    if (v.deviceStatus)
        addBits(status, Byte::DeviceStatus, *v.deviceStatus);
    else
        add(status, GetResText(NotRead));

    auto *more = new QTreeWidgetItem(tvwStatus, {GetResText(AdditionalStatus)});
    if (const auto &a = v.additional) {
        if (const auto extended = a->extendedDeviceStatus())
            addBits(add(more, GetResText(ExtendedStatus)), Byte::ExtendedDeviceStatus, *extended);
        const std::pair<std::optional<quint8>, Byte> standardized[] = {
            {a->standardized0(), Byte::Standardized0},
            {a->standardized1(), Byte::Standardized1},
            {a->standardized2(), Byte::Standardized2},
            {a->standardized3(), Byte::Standardized3}};
        int number = 0;
        for (const auto &[value, byte] : standardized) {
            if (value)
                addBits(add(more, FormatResText(GetResText(StandardizedStatus),
                                                {QString::number(number)})),
                        byte, *value);
            ++number;
        }
        const auto saturated = a->analogChannelSaturated();
        const auto fixed = a->analogChannelFixed();
        if (saturated || fixed) {
            QTreeWidgetItem *channels = add(more, GetResText(AnalogChannels));
            addChannels(channels, ChannelSaturated, saturated.value_or(0));
            addChannels(channels, ChannelFixed, fixed.value_or(0));
            if (channels->childCount() == 0)
                add(channels, GetResText(NoBitSet));
        }
        const QByteArray makers = a->deviceSpecific();
        if (!makers.isEmpty())
            add(more, GetResText(MakersBytes) + QStringLiteral(": ") +
                          QString::fromLatin1(makers.toHex(' ').toUpper()));
    } else {
        add(more,
            GetResText(v.answersNot(hart::command::ReadAdditionalStatus) ? NotSupported : NotRead));
    }
    tvwStatus->expandAll();
    refreshButtons();
}

void GenericStatusPage::refreshButtons()
{
    cmdReadStatus->setEnabled(m_device.state() == GenericDevice::State::Ready &&
                              !m_device.isBusy());
}
