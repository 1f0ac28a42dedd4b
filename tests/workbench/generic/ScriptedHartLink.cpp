#include "ScriptedHartLink.h"

#include "hart/HartFrame.h"

#include <QTimer>

QList<quint8> ScriptedHartLink::commands() const
{
    QList<quint8> sent;
    for (const Request &r : requests)
        sent.append(r.command);
    return sent;
}

bool ScriptedHartLink::open()
{
    if (!m_open) {
        m_open = true;
        Q_EMIT openChanged(true);
    }
    return true;
}

void ScriptedHartLink::close()
{
    if (!m_open)
        return;
    m_open = false;
    for (const RequestId id : std::exchange(m_pending, {}))
        Q_EMIT connectionLost(id);
    Q_EMIT openChanged(false);
}

HartLink::RequestId ScriptedHartLink::send(const HartFrame &request)
{
    const RequestId id = m_next++;
    requests.append({request.command(), request.data()});
    m_pending.append(id);
    HartFrame response = request;
    response.setKind(HartFrame::Kind::Response);
    const bool echoes = m_echoes.contains(request.command());
    const Answer answer = m_answers.value(request.command());
    const bool silent = !echoes && !m_answers.contains(request.command());
    response.setStatus(answer.code, m_status | answer.status);
    response.setData(echoes ? request.data() : answer.data);
    QTimer::singleShot(0, this, [this, id, response, silent] {
        if (!m_pending.removeOne(id))
            return; // lost with the connection
        if (!m_open)
            Q_EMIT connectionLost(id);
        else if (silent)
            Q_EMIT requestTimedOut(id);
        else
            Q_EMIT responseReceived(id, response);
    });
    return id;
}
