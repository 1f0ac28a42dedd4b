#pragma once

#include "hart/HartLink.h"

#include <QHash>
#include <QObject>

// Records every outcome a link reports, by request, so tests can wait for one
// and check that no request ever got two.
class LinkProbe : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        None,
        Response,
        Timeout,
        CommunicationError,
        ConnectionLost
    };

    struct Outcome
    {
        Kind kind = Kind::None;
        HartFrame response;
        quint8 errorByte = 0;
        int count = 0;
    };

    explicit LinkProbe(HartLink *link);

    // Waits until the request has an outcome (or the wait gives up: Kind::None).
    Outcome waitFor(HartLink::RequestId id, int timeoutMs = 5000);
    Outcome outcome(HartLink::RequestId id) const { return m_outcomes.value(id); }
    int total() const { return m_total; }

signals:
    void recorded();

private:
    void record(quint64 id, Kind kind, const HartFrame &response = {}, quint8 errorByte = 0);

    QHash<quint64, Outcome> m_outcomes;
    int m_total = 0;
};
