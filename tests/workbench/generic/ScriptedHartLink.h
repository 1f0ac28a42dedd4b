#pragma once

#include "hart/HartLink.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// A device of any maker, as a table: each command answers with the response
// code, device status and data the test wrote down (by hand, from the
// published layouts), or stays silent. Outcomes come on the next turn of the
// event loop, as on a real link.
class ScriptedHartLink : public HartLink
{
    Q_OBJECT

public:
    struct Answer
    {
        quint8 code = 0;
        quint8 status = 0;
        QByteArray data;
    };
    struct Request
    {
        quint8 command;
        QByteArray data;
    };

    void answer(quint8 command, const QByteArray &data, quint8 code = 0, quint8 status = 0)
    {
        m_answers.insert(command, {code, status, data});
    }
    // An answer that echoes the request's data (writes).
    void echo(quint8 command) { m_echoes.append(command); }
    void silence(quint8 command) { m_answers.remove(command); }
    // The status byte of every answer from now on.
    void setStatus(quint8 status) { m_status = status; }

    QList<Request> requests;
    QList<quint8> commands() const;

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }

protected:
    void transmit(const HartFrame &request) override;

private:
    QHash<quint8, Answer> m_answers;
    QList<quint8> m_echoes;
    quint8 m_status = 0;
    bool m_open = false;
    quint64 m_transmitted = 0; // tells a late outcome from the current request's
};
