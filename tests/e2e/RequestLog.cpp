#include "RequestLog.h"

namespace {

// The command byte of a token-passing frame from its delimiter on: after a
// one-byte short address or a five-byte unique address, and the expansion
// bytes the delimiter announces; -1 when the bytes are no request frame.
int commandOfFrame(const QByteArray &frame)
{
    if (frame.isEmpty())
        return -1;
    const quint8 delimiter = quint8(frame[0]);
    if ((delimiter & 0x07) != 0x02) // 2: master to device
        return -1;
    const int address = (delimiter & 0x80) ? 5 : 1;
    const int expansion = (delimiter >> 5) & 0x03;
    const int at = 1 + address + expansion;
    return at < frame.size() ? quint8(frame[at]) : -1;
}

} // namespace

void RequestLog::take(const HartTraffic &traffic)
{
    if (traffic.direction != HartTraffic::Direction::ToDevice)
        return;
    const QByteArray &bytes = traffic.bytes;
    int command = -1;
    if (traffic.medium == HartTraffic::Medium::HartIp) {
        // The 8-byte header: version, message type (0 request), message id
        // (3 token-passing PDU; session initiate, close and keep-alive are
        // no requests to the device), status, sequence and byte count.
        if (bytes.size() < 8 || bytes[1] != 0)
            return;
        if (bytes[2] != 3)
            return;
        command = commandOfFrame(bytes.mid(8));
    } else {
        qsizetype start = 0;
        while (start < bytes.size() && quint8(bytes[start]) == 0xFF)
            ++start;
        command = commandOfFrame(bytes.mid(start));
    }
    if (command < 0)
        ++m_unreadable;
    else
        m_commands.append(command);
}
