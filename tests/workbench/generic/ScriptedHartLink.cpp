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
    loseRequests();
    Q_EMIT openChanged(false);
}

void ScriptedHartLink::transmit(const HartFrame &request)
{
    const quint64 number = ++m_transmitted;
    requests.append({request.command(), request.data()});
    HartFrame response = request;
    response.setKind(HartFrame::Kind::Response);
    const bool echoes = m_echoes.contains(request.command());
    const Answer answer = m_answers.value(request.command());
    const bool silent = !echoes && !m_answers.contains(request.command());
    response.setStatus(answer.code, m_status | answer.status);
    response.setData(echoes ? request.data() : answer.data);
    QTimer::singleShot(0, this, [this, number, response, silent] {
        if (number != m_transmitted || !hasRequestInFlight())
            return; // lost with the connection
        if (silent)
            finishWithTimeout();
        else
            finishWithResponse(response);
    });
}
