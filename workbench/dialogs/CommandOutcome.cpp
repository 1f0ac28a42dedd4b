#include "CommandOutcome.h"

#include "ResponseWatch.h"
#include "VexaAppItem.h"

namespace {
// The value was set to the nearest one possible, or the span is small: both
// are done.
constexpr int Rounded = 8;
constexpr int SpanTooSmall = 14;
} // namespace

CommandOutcome::CommandOutcome(VexaAppItem *responseCode, ResponseWatch *responses, QObject *parent)
    : QObject(parent), m_responseCode(responseCode)
{
    connect(responses, &ResponseWatch::ResponseArrived, this, [this] { onResponse(); });
}

void CommandOutcome::expect(quint8 command)
{
    m_command = command;
    m_code = -1;
    m_armed = true;
}

bool CommandOutcome::carriedOut() const
{
    return m_armed && (m_code == 0 || m_code == Rounded || m_code == SpanTooSmall);
}

void CommandOutcome::onResponse()
{
    if (!m_armed || !m_responseCode)
        return;
    const QByteArray response = m_responseCode->OctetValue().toByteArray();
    if (response.size() >= 2 && quint8(response[0]) == m_command)
        m_code = quint8(response[1]);
}
