#include "TransferReport.h"

#include "Toolkit_LoadResource.h"
#include "VexaAppItem.h"

#include <QWidget>

namespace {

VexaAppItem *itemOn(QWidget *window, const QString &objectName, const QString &item)
{
    auto *control = new VexaAppItem(window);
    control->setObjectName(objectName);
    control->setAppItemName(item);
    return control;
}

// The host's sequence names are read without regard to case.
VexaAppItem *stateOf(QWidget *window, const char *sequence)
{
    return itemOn(window, QLatin1String("appState") + QLatin1String(sequence),
                  QLatin1String("&&Sequence_State&&") + QLatin1String(sequence));
}

VexaAppItem *progressOf(QWidget *window, const char *sequence)
{
    return itemOn(window, QLatin1String("appProgress") + QLatin1String(sequence),
                  QLatin1String("&&Sequence_Progress&&") + QLatin1String(sequence));
}

constexpr int CompletedProgress = 100;
constexpr int Connected = 2;

} // namespace

TransferReport::TransferReport(QWidget *window, VexaAppItem *abortSequences,
                               VexaAppItem *connection)
    : QObject(window), m_abort(abortSequences),
      m_connection(connection), m_upload{true, stateOf(window, "Upload"),
                                         progressOf(window, "Upload")},
      m_download{false, stateOf(window, "Download"), progressOf(window, "Download")}
{
    watch(m_upload);
    watch(m_download);
    // Cancel in the busy window asks the host to abort what runs; the host
    // puts the item back at once, so any notice of it while a transfer runs
    // tells of an abort.
    connect(abortSequences, &VexaAppItem::ValueChanged, this, [this](QString &) {
        for (Watch *transfer : {&m_upload, &m_download})
            transfer->cancelled = transfer->cancelled || transfer->running;
    });
}

void TransferReport::watch(Watch &transfer)
{
    connect(transfer.state, &VexaAppItem::ValueChanged, this,
            [this, &transfer](QString &value) { stateChanged(transfer, value); });
}

// Running while the state is not 0. A notice can come after the transfer
// already ended (the end was told inside it): the state as it is now decides
// whether it still runs.
void TransferReport::stateChanged(Watch &transfer, const QString &state)
{
    if (state.trimmed().toInt() != 0 && !transfer.running) {
        transfer.running = true;
        transfer.cancelled = false;
    }
    if (!transfer.running || qRound(transfer.state->UIntValue()) != 0)
        return;
    transfer.running = false;
    Q_EMIT ended(text(transfer.upload, outcome(transfer)));
}

// The progress the host leaves at the end is 100 for a transfer that
// finished. One that did not: failed where the link went down (the host
// then aborts too), cancelled where an abort was asked.
TransferReport::Outcome TransferReport::outcome(const Watch &transfer) const
{
    if (qRound(transfer.progress->UIntValue()) == CompletedProgress)
        return Outcome::Completed;
    if (qRound(m_connection->UIntValue()) != Connected)
        return Outcome::Failed;
    if (transfer.cancelled || qRound(m_abort->UIntValue()) == 1)
        return Outcome::Cancelled;
    return Outcome::Failed;
}

QString TransferReport::text(bool upload, Outcome outcome)
{
    const qint16 first = upload ? 3910 : 3913;
    return GetResText(qint16(first + int(outcome)));
}
