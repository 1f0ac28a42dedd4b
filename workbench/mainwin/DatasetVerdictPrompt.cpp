#include "DatasetVerdictPrompt.h"

#include "ConnectionStates.h"
#include "MainCommandBar.h"
#include "MainCommandStates.h"
#include "MainWindowLog.h"
#include "MessageBoxSeam.h"
#include "VexaAppItem.h"
#include "frmMain.h"

namespace {

enum Verdict : qint32
{
    DeviceDataPreferred = 3, // the device's dataset may take the place of this one
    Unusable = 4,
};

constexpr qint16 LoadFromDeviceQuestion = 2227;

} // namespace

DatasetVerdictPrompt::DatasetVerdictPrompt(frmMain &main) : QObject(&main), m_main(main)
{
    connect(main.appInCompatibleDataset, &VexaAppItem::ValueChanged, this,
            [this](QString &) { guarded("dataset check", [this] { verdictChanged(); }); });
}

void DatasetVerdictPrompt::verdictChanged()
{
    if (!m_main.isLoaded())
        return;
    const VexaAppItem *item = m_main.appInCompatibleDataset;
    const qint32 verdict = qRound(item->UIntValue());
    const bool connected =
        qRound(m_main.appConnectionStatus->UIntValue()) == int(ConnectionState::Connected);
    if (verdict == DeviceDataPreferred && connected) {
        const QString text =
            item->EnumValue() + QLatin1Char('\n') + resText(LoadFromDeviceQuestion);
        if (MessageBoxSeam::show(&m_main, QMessageBox::Question, m_main.windowTitle(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            m_main.runMenuCommand(QStringLiteral("mnuDeviceLoadFromDevice"));
            return;
        }
    } else if (verdict == Unusable && !m_main.disconnectRequested()) {
        MessageBoxSeam::show(&m_main, QMessageBox::Warning, m_main.windowTitle(),
                             item->EnumValue());
    }
    refresh();
}

void DatasetVerdictPrompt::refresh()
{
    const bool connected = m_main.appConnectionStatus->StringValue() == QLatin1String("2");
    m_main.commandBar().states().datasetVerdictChanged(m_main.appInCompatibleDataset->StringValue(),
                                                       connected ? ConnectionState::Connected
                                                                 : ConnectionState::NotConnected);
}
