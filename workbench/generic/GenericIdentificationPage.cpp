#include "GenericIdentificationPage.h"

#include "GenericDevice.h"
#include "dialogs/EntryKeyFilter.h"
#include "hart/HartDeviceIdentity.h"
#include "hart/HartProtocol.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum : qint16
{
    TagLabel = 4730,
    DescriptorLabel = 4731,
    MessageLabel = 4732,
    DateLabel = 4733,
    LongTagLabel = 7800,
    FinalAssemblyLabel = 7785,
    KeyLabel = 7786,
    WriteTagText = 7787,
    WriteMessageText = 7788,
    WriteLongTagText = 7789,
    NotSupported = 7795,
    FromHart6 = 7796,
};

const QDate NoDate(1900, 1, 1);

QLineEdit *packedField(QWidget *parent, const char *name, int chars)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(chars);
    // The device keeps these in a 6-bit set: what it cannot hold is not typed.
    new EntryKeyFilter(
        field, [](QChar, const QString &after) { return UniversalLayout::fitsPackedAscii(after); });
    return field;
}

QPushButton *button(QWidget *parent, const char *name, qint16 textId)
{
    auto *b = new QPushButton(GetResText(textId), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// Fills a field when the device's value is new to it.
template <class T, class Apply>
void fill(std::optional<T> &shown, const std::optional<T> &now, Apply apply)
{
    if (!now || shown == now)
        return;
    shown = now;
    apply(*now);
}

} // namespace

GenericIdentificationPage::GenericIdentificationPage(GenericDevice &device, QWidget *parent)
    : QWidget(parent), txtTag(packedField(this, "txtTag", UniversalLayout::TagChars)),
      txtDescriptor(packedField(this, "txtDescriptor", UniversalLayout::DescriptorChars)),
      dtpDate(new QDateEdit(this)), cmdWriteTag(button(this, "cmdWriteTag", WriteTagText)),
      txtMessage(packedField(this, "txtMessage", UniversalLayout::MessageChars)),
      cmdWriteMessage(button(this, "cmdWriteMessage", WriteMessageText)),
      txtLongTag(new QLineEdit(this)),
      cmdWriteLongTag(button(this, "cmdWriteLongTag", WriteLongTagText)),
      lblLongTagNote(new QLabel(this)), lblFinalAssembly(new QLabel(this)),
      lblKey(new QLabel(this)), m_device(device)
{
    setObjectName(QStringLiteral("GenericIdentificationPage"));
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setDateRange(NoDate, QDate(2155, 12, 31));
    dtpDate->setSpecialValueText(QStringLiteral("\u2014"));
    dtpDate->setDate(NoDate);
    txtLongTag->setObjectName(QStringLiteral("txtLongTag"));
    txtLongTag->setMaxLength(UniversalLayout::LongTagBytes);
    lblLongTagNote->setObjectName(QStringLiteral("lblLongTagNote"));
    lblFinalAssembly->setObjectName(QStringLiteral("lblFinalAssembly"));
    lblKey->setObjectName(QStringLiteral("lblKey"));
    lblKey->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *form = new QFormLayout;
    form->addRow(GetResText(TagLabel), txtTag);
    form->addRow(GetResText(DescriptorLabel), txtDescriptor);
    form->addRow(GetResText(DateLabel), dtpDate);
    form->addRow(QString(), cmdWriteTag);
    form->addRow(GetResText(MessageLabel), txtMessage);
    form->addRow(QString(), cmdWriteMessage);
    auto *longTag = new QHBoxLayout;
    longTag->addWidget(cmdWriteLongTag);
    longTag->addWidget(lblLongTagNote, 1);
    form->addRow(GetResText(LongTagLabel), txtLongTag);
    form->addRow(QString(), longTag);
    form->addRow(GetResText(FinalAssemblyLabel), lblFinalAssembly);
    form->addRow(GetResText(KeyLabel), lblKey);
    // As wide as what they hold.
    txtTag->setMaximumWidth(140);
    txtDescriptor->setMaximumWidth(240);
    dtpDate->setMaximumWidth(140);
    for (QPushButton *b : {cmdWriteTag, cmdWriteMessage, cmdWriteLongTag})
        b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);

    connect(&device, &GenericDevice::valuesChanged, this, &GenericIdentificationPage::refresh);
    connect(&device, &GenericDevice::stateChanged, this, &GenericIdentificationPage::refresh);
    connect(&device, &GenericDevice::busyChanged, this, &GenericIdentificationPage::refreshButtons);
    connect(cmdWriteTag, &QPushButton::clicked, this, &GenericIdentificationPage::writeTag);
    connect(cmdWriteMessage, &QPushButton::clicked, this,
            [this] { m_device.writeMessage(txtMessage->text()); });
    connect(cmdWriteLongTag, &QPushButton::clicked, this,
            [this] { m_device.writeLongTag(txtLongTag->text()); });
    refresh();
}

bool GenericIdentificationPage::longTagOffered() const
{
    const auto &identity = m_device.identity();
    return identity && identity->universalRevision >= UniversalLayout::LongTagRevision &&
           !m_device.values().answersNot(UniversalLayout::ReadLongTag);
}

void GenericIdentificationPage::refresh()
{
    const GenericValues &v = m_device.values();
    if (!m_device.identity()) {
        // Another device or none: every field is filled afresh.
        m_tag.reset();
        m_descriptor.reset();
        m_date.reset();
        m_message.reset();
        m_longTag.reset();
    }
    if (const auto &t = v.tagDescriptorDate) {
        fill(m_tag, std::optional<QString>(t->tag),
             [this](const QString &s) { txtTag->setText(s); });
        fill(m_descriptor, std::optional<QString>(t->descriptor),
             [this](const QString &s) { txtDescriptor->setText(s); });
        fill(m_date, std::optional<QDate>(t->date.isValid() ? t->date : NoDate),
             [this](const QDate &d) { dtpDate->setDate(d); });
    }
    fill(m_message, v.message, [this](const QString &s) { txtMessage->setText(s); });
    fill(m_longTag, v.longTag, [this](const QString &s) { txtLongTag->setText(s); });
    const auto &identity = m_device.identity();
    lblFinalAssembly->setText(v.finalAssemblyNumber ? QString::number(*v.finalAssemblyNumber)
                              : v.answersNot(hart::command::ReadFinalAssemblyNumber)
                                  ? GetResText(NotSupported)
                                  : QString());
    lblKey->setText(identity ? identity->key() : QString());
    if (identity && identity->universalRevision < UniversalLayout::LongTagRevision)
        lblLongTagNote->setText(GetResText(FromHart6));
    else if (v.answersNot(UniversalLayout::ReadLongTag))
        lblLongTagNote->setText(GetResText(NotSupported));
    else
        lblLongTagNote->clear();
    refreshButtons();
}

void GenericIdentificationPage::refreshButtons()
{
    const bool ready = m_device.state() == GenericDevice::State::Ready && !m_device.isBusy();
    cmdWriteTag->setEnabled(ready);
    cmdWriteMessage->setEnabled(ready);
    txtLongTag->setEnabled(longTagOffered());
    cmdWriteLongTag->setEnabled(ready && longTagOffered());
}

void GenericIdentificationPage::writeTag()
{
    m_device.writeTagDescriptorDate({txtTag->text(), txtDescriptor->text(), dtpDate->date()});
}
