#include "GenericLoopPage.h"

#include "GenericDevice.h"
#include "GenericTexts.h"
#include "MessageBoxSeam.h"
#include "dialogs/EntryKeyFilter.h"
#include "dialogs/EntryRules.h"
#include "hart/HartProtocol.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

namespace {

enum : qint16
{
    LoopGroup = 7820,
    CurrentLabel = 2103,
    MilliAmpere = 2015,
    StartText = 7822,
    EndText = 7823,
    FollowsProcess = 7824,
    HeldAt = 7825,
    HeldAndLost = 7826,
    TakeOutOfControl = 7827,
    TrimGroup = 7828,
    TrimHelp = 7829,
    SetOutputTo = 7834,
    Measured = 7835,
    TrimText = 7836,
    FixedElsewhere = 7838,
    NotANumber = 7819,
};

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit *currentField(QWidget *parent, const char *name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setMaximumWidth(90);
    new EntryKeyFilter(field, [](QChar typed, const QString &) {
        return EntryRules::acceptNumericKey(typed, false);
    });
    return field;
}

QString milliamperes(double value)
{
    return GenericTexts::value(float(value), GetResText(MilliAmpere));
}

} // namespace

GenericLoopPage::GenericLoopPage(GenericDevice &device, QWidget *parent)
    : QWidget(parent), m_device(device)
{
    setObjectName(QStringLiteral("GenericLoopPage"));
    auto *loop = new QGroupBox(GetResText(LoopGroup), this);
    txtLoopCurrent = currentField(loop, "txtLoopCurrent");
    txtLoopCurrent->setText(QLocale().toString(12.0, 'f', 3));
    cmdLoopStart = button(loop, "cmdLoopStart", GetResText(StartText));
    cmdLoopEnd = button(loop, "cmdLoopEnd", GetResText(EndText));
    lblLoopState = new QLabel(loop);
    lblLoopState->setObjectName(QStringLiteral("lblLoopState"));
    lblLoopState->setWordWrap(true);
    auto *entry = new QHBoxLayout;
    entry->addWidget(new QLabel(GetResText(CurrentLabel), loop));
    entry->addWidget(txtLoopCurrent);
    entry->addWidget(new QLabel(GetResText(MilliAmpere), loop));
    entry->addStretch(1);
    entry->addWidget(cmdLoopStart);
    entry->addWidget(cmdLoopEnd);
    auto *loopLayout = new QVBoxLayout(loop);
    loopLayout->addLayout(entry);
    loopLayout->addWidget(lblLoopState);

    auto *trimBox = new QGroupBox(GetResText(TrimGroup), this);
    const QString zero = milliamperes(ZeroCurrent);
    const QString gain = milliamperes(GainCurrent);
    cmdTrimZeroSet =
        button(trimBox, "cmdTrimZeroSet", FormatResText(GetResText(SetOutputTo), {zero}));
    cmdTrimGainSet =
        button(trimBox, "cmdTrimGainSet", FormatResText(GetResText(SetOutputTo), {gain}));
    txtTrimZero = currentField(trimBox, "txtTrimZero");
    txtTrimGain = currentField(trimBox, "txtTrimGain");
    cmdTrimZero = button(trimBox, "cmdTrimZero", FormatResText(GetResText(TrimText), {zero}));
    cmdTrimGain = button(trimBox, "cmdTrimGain", FormatResText(GetResText(TrimText), {gain}));
    auto *help = new QLabel(GetResText(TrimHelp), trimBox);
    help->setWordWrap(true);
    auto *grid = new QGridLayout(trimBox);
    grid->addWidget(help, 0, 0, 1, 5);
    int row = 1;
    for (const auto &[set, field, action] :
         {std::tuple{cmdTrimZeroSet, txtTrimZero, cmdTrimZero},
          std::tuple{cmdTrimGainSet, txtTrimGain, cmdTrimGain}}) {
        grid->addWidget(set, row, 0);
        grid->addWidget(new QLabel(GetResText(Measured), trimBox), row, 1, Qt::AlignRight);
        grid->addWidget(field, row, 2);
        grid->addWidget(new QLabel(GetResText(MilliAmpere), trimBox), row, 3);
        grid->addWidget(action, row, 4);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(loop);
    layout->addWidget(trimBox);
    layout->addStretch(1);

    connect(&device, &GenericDevice::valuesChanged, this, &GenericLoopPage::refresh);
    connect(&device, &GenericDevice::stateChanged, this, &GenericLoopPage::refresh);
    connect(&device, &GenericDevice::busyChanged, this, &GenericLoopPage::refresh);
    connect(cmdLoopStart, &QPushButton::clicked, this, &GenericLoopPage::startLoopTest);
    connect(cmdLoopEnd, &QPushButton::clicked, this, [this] { m_device.releaseCurrent(); });
    connect(cmdTrimZeroSet, &QPushButton::clicked, this, [this] { fix(ZeroCurrent); });
    connect(cmdTrimGainSet, &QPushButton::clicked, this, [this] { fix(GainCurrent); });
    connect(cmdTrimZero, &QPushButton::clicked, this, [this] { trim(false); });
    connect(cmdTrimGain, &QPushButton::clicked, this, [this] { trim(true); });
    refresh();
}

bool GenericLoopPage::holdsAt(double milliamperes) const
{
    return m_device.heldCurrent() && qFuzzyCompare(*m_device.heldCurrent(), float(milliamperes));
}

void GenericLoopPage::refresh()
{
    const bool ready = m_device.state() == GenericDevice::State::Ready && !m_device.isBusy();
    const auto held = m_device.heldCurrent();
    cmdLoopStart->setEnabled(ready);
    cmdLoopEnd->setEnabled(ready && held);
    cmdTrimZeroSet->setEnabled(ready);
    cmdTrimGainSet->setEnabled(ready);
    cmdTrimZero->setEnabled(ready && holdsAt(ZeroCurrent));
    cmdTrimGain->setEnabled(ready && holdsAt(GainCurrent));
    txtTrimZero->setEnabled(holdsAt(ZeroCurrent));
    txtTrimGain->setEnabled(holdsAt(GainCurrent));
    const auto status = m_device.values().deviceStatus;
    if (held && m_device.releaseWhenBack())
        lblLoopState->setText(FormatResText(GetResText(HeldAndLost), {milliamperes(*held)}));
    else if (held)
        lblLoopState->setText(FormatResText(GetResText(HeldAt), {milliamperes(*held)}));
    else if (status && (*status & hart::status::OutputFixed))
        lblLoopState->setText(GetResText(FixedElsewhere));
    else if (m_device.state() == GenericDevice::State::Ready)
        lblLoopState->setText(GetResText(FollowsProcess));
    else
        lblLoopState->clear();
}

void GenericLoopPage::fix(double milliamperes)
{
    // Once out of automatic control, the user knows: a new value is not asked again.
    if (!m_device.heldCurrent() &&
        MessageBoxSeam::show(this, QMessageBox::Warning, GetResText(LoopGroup),
                             GetResText(TakeOutOfControl),
                             QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_device.fixCurrent(milliamperes);
}

void GenericLoopPage::startLoopTest()
{
    const auto value = EntryRules::toNumber(txtLoopCurrent->text());
    if (!value) {
        MessageBoxSeam::show(this, QMessageBox::Information, window()->windowTitle(),
                             GetResText(NotANumber));
        txtLoopCurrent->setFocus();
        return;
    }
    // The limits of this family's simulation: a current the loop can carry.
    const double clamped = EntryRules::clampSimulation(*value);
    if (clamped != *value)
        txtLoopCurrent->setText(QLocale().toString(clamped));
    fix(clamped);
}

void GenericLoopPage::trim(bool gain)
{
    QLineEdit *field = gain ? txtTrimGain : txtTrimZero;
    const auto measured = EntryRules::toNumber(field->text());
    if (!measured) {
        MessageBoxSeam::show(this, QMessageBox::Information, window()->windowTitle(),
                             GetResText(NotANumber));
        field->setFocus();
        return;
    }
    m_device.trim(gain, *measured);
}
