#include "SampleDialog.h"

#include "VexaAppItem.h"
#include "VexaSequenceItem.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const char *const SampleDialog::Strings = "1000\t&File\t&Datei\n"
                                          "1001\tMeasuring range\tMessbereich\n"
                                          "1002\tOnly in English\t\n"
                                          "1010\tPrimary measurement\tPrimärer Messwert\n"
                                          "1011\tLower range value\tMessanfang\n"
                                          "1012\tDevice message\tGerätenachricht\n"
                                          "1013\tSet from applied pressure\tAus anliegendem Druck\n"
                                          "1014\tSave to device\tZum Gerät schreiben\n"
                                          "2123\t%1 Close\t%1 schließen\n";

namespace {

QLabel *label(int textId, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("(design)"), parent);
    label->setProperty("Tag", textId);
    return label;
}

QPushButton *button(int textId, QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("(design)"), parent);
    button->setProperty("Tag", textId);
    return button;
}

} // namespace

SampleDialog::SampleDialog(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmSample"));
    setProperty("Tag", 1010);
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));
    frame->setProperty("Tag", 1001);

    appLowerRange = new VexaAppItem(frame);
    appLowerRange->setAppItemName(QStringLiteral("scaleInLoLim"));
    appLowerRange->setMaxDigits(8);
    appLowerRange->setDecimalPlaces(3);
    appMessage = new VexaAppItem(frame);
    appMessage->setAppItemName(QStringLiteral("message"));
    seqSetLowerRange = new VexaSequenceItem(frame);
    seqSetLowerRange->setAppItemName(QStringLiteral("PerformTransmitterSelfTest"));

    txtLowerRange = new QLineEdit(frame);
    txtLowerRange->setReadOnly(true);
    txtMessage = new QLineEdit(frame);
    cmdSetLowerRange = button(1013, frame);
    cmdSaveToDevice = button(1014, frame);
    cmdSaveToDevice->setEnabled(false);

    auto *fields = new QFormLayout;
    fields->addRow(label(1011, frame), txtLowerRange);
    fields->addRow(label(1012, frame), txtMessage);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSetLowerRange);
    buttons->addStretch();
    buttons->addWidget(cmdSaveToDevice);
    auto *inner = new QVBoxLayout(frame);
    inner->addLayout(fields);
    inner->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    // Reactions: show the values as they come.
    connect(appLowerRange, &VexaAppItem::ValueChanged, this,
            [this](QString &) { txtLowerRange->setText(appLowerRange->FloatValueFormatted()); });
    connect(appMessage, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { txtMessage->setText(value); });
    connect(cmdSetLowerRange, &QPushButton::clicked, this, [this] { seqSetLowerRange->Start(); });
}
