#include "ResponseWatch.h"

#include "VexaAppItem.h"

ResponseWatch::ResponseWatch(VexaAppItem *responseCode, VexaAppItem *recordState, QObject *parent)
    : QObject(parent)
{
    connect(responseCode, &VexaAppItem::ValueChanged, this,
            [this](QString &) { onResponseCode(); });
    connect(recordState, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { onRecordState(value); });
}

void ResponseWatch::onResponseCode()
{
    m_heard = true;
    Q_EMIT ResponseArrived();
}

void ResponseWatch::onRecordState(const QString &value)
{
    if (value.toDouble() != 0) {
        m_inRecord = true;
        m_heard = false;
        return;
    }
    const bool repeated = m_inRecord && !m_heard;
    m_inRecord = false;
    if (repeated)
        Q_EMIT ResponseArrived();
}
