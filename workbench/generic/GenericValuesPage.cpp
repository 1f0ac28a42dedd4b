#include "GenericValuesPage.h"

#include "GenericDevice.h"
#include "GenericTexts.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

enum : qint16
{
    PrimaryLabel = 7797,
    CurrentLabel = 7798,
    PercentLabel = 7799,
    SecondaryLabel = 7803,
    TertiaryLabel = 7804,
    QuaternaryLabel = 7805,
    NotAvailable = 7806,
    ReadAt = 7807,
};

QLabel *valueLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

GenericValuesPage::GenericValuesPage(GenericDevice &device, QWidget *parent)
    : QWidget(parent), lblPrimary(valueLabel(this, QStringLiteral("lblPrimary"))),
      lblCurrent(valueLabel(this, QStringLiteral("lblCurrent"))),
      lblPercent(valueLabel(this, QStringLiteral("lblPercent"))),
      prgPercent(new QProgressBar(this)),
      lblVariable{valueLabel(this, QStringLiteral("lblSecondary")),
                  valueLabel(this, QStringLiteral("lblTertiary")),
                  valueLabel(this, QStringLiteral("lblQuaternary"))},
      lblReadAt(new QLabel(this)), m_device(device)
{
    setObjectName(QStringLiteral("GenericValuesPage"));
    QFont large = lblPrimary->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    lblPrimary->setFont(large);
    prgPercent->setObjectName(QStringLiteral("prgPercent"));
    prgPercent->setRange(0, 1000);
    prgPercent->setTextVisible(false);
    lblReadAt->setObjectName(QStringLiteral("lblReadAt"));

    auto *form = new QFormLayout;
    form->addRow(GetResText(PrimaryLabel), lblPrimary);
    form->addRow(GetResText(CurrentLabel), lblCurrent);
    form->addRow(GetResText(PercentLabel), lblPercent);
    form->addRow(QString(), prgPercent);
    form->addRow(GetResText(SecondaryLabel), lblVariable[0]);
    form->addRow(GetResText(TertiaryLabel), lblVariable[1]);
    form->addRow(GetResText(QuaternaryLabel), lblVariable[2]);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(lblReadAt);

    connect(&device, &GenericDevice::valuesChanged, this, &GenericValuesPage::refresh);
    refresh();
}

void GenericValuesPage::refresh()
{
    const GenericValues &v = m_device.values();
    const auto &dynamic = v.dynamic;
    lblPrimary->setText(
        dynamic && !dynamic->variables.isEmpty()
            ? GenericTexts::unitValue(dynamic->variables[0].value, dynamic->variables[0].unit)
            : QString());
    // Command 2 tells the current as command 3 does, and the percent beside it.
    const float current = v.loop ? v.loop->current : dynamic ? dynamic->current : qQNaN();
    lblCurrent->setText(v.loop || dynamic ? GenericTexts::value(current, QStringLiteral("mA"))
                                          : QString());
    lblPercent->setText(v.loop ? GenericTexts::value(v.loop->percent, QStringLiteral("%"))
                               : QString());
    const float percent = v.loop ? v.loop->percent : qQNaN();
    prgPercent->setValue(std::isnan(percent) ? 0 : qBound(0, int(std::lround(percent * 10)), 1000));
    for (int i = 0; i < int(lblVariable.size()); ++i) {
        const int slot = i + 1;
        if (dynamic && slot < dynamic->variables.size())
            lblVariable[i]->setText(GenericTexts::unitValue(dynamic->variables[slot].value,
                                                            dynamic->variables[slot].unit));
        else
            lblVariable[i]->setText(dynamic ? GetResText(NotAvailable) : QString());
    }
    lblReadAt->setText(
        v.liveTime.isValid()
            ? FormatResText(GetResText(ReadAt),
                            {QLocale().toString(v.liveTime.time(), QStringLiteral("HH:mm:ss"))})
            : QString());
}
