#include "OtherMaster.h"

#include <QTest>

OtherMaster::OtherMaster(SimulatedDevice *device) : m_line(device)
{
    m_line.setBitRate(0);
}

int OtherMaster::send(quint8 command, const QByteArray &data)
{
    if (!m_line.isOpen() && !m_line.open())
        return -1;
    int code = -1;
    bool done = false;
    m_master.identify(0, [&](const HartMaster::Outcome &) {
        if (!m_master.isIdentified()) {
            done = true;
            return;
        }
        m_master.transact(command, data, [&](const HartMaster::Outcome &outcome) {
            if (outcome.kind == HartMaster::Outcome::Kind::Response)
                code = outcome.responseCode;
            done = true;
        });
    });
    return QTest::qWaitFor([&] { return done; }) ? code : -1;
}
