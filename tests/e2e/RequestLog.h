#pragma once

#include "hart/HartTraffic.h"

#include <QList>

// Every request a real link carried to the device, by its command number,
// read from the bytes as they travelled (HART-IP messages, or serial frames
// with their preambles): what the device was sent, whoever sent it.
class RequestLog : public HartTrafficSink
{
public:
    void take(const HartTraffic &traffic) override;

    const QList<int> &commands() const { return m_commands; }
    void clear() { m_commands.clear(); }
    // Bytes that went to the device and were no request frame.
    int unreadable() const { return m_unreadable; }

private:
    QList<int> m_commands;
    int m_unreadable = 0;
};
