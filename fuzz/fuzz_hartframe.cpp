// Feeds arbitrary bytes to every place that reads bytes from the wire.
#include "hart/HartFrame.h"
#include "hart/HartFrameReader.h"
#include "simulator/SimulatedTransmitter.h"

#include <cstdint>
#include <cstdlib>

namespace {
void checkDecoder(QByteArrayView bytes)
{
    const HartFrame::Decoded decoded = HartFrame::decode(bytes);
    if (!decoded.ok())
        return;
    // Whatever decodes must encode back to a frame that decodes the same.
    const HartFrame::Decoded again = HartFrame::decode(decoded.frame->encode(5));
    if (!again.ok() || !(*again.frame == *decoded.frame))
        std::abort();
}

void checkReader(QByteArrayView bytes)
{
    // The first byte picks the chunk size, so frames get split at every place.
    const qsizetype chunk = bytes.isEmpty() ? 1 : 1 + quint8(bytes[0]) % 16;
    HartFrameReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += chunk)
        reader.feed(bytes.sliced(at, qMin(chunk, bytes.size() - at)));
    if (reader.bufferedBytes() > 300)
        std::abort();
}

void checkTransmitter(QByteArrayView bytes)
{
    SimulatedTransmitter device;
    device.setRealTimeClock(false);
    device.respond(bytes);
    if (bytes.isEmpty())
        return;
    // Also as the data of a well-formed request, so every command handler sees it.
    const HartFrame request = HartFrame::longFrame(
        HartFrame::Kind::Request, device.manufacturerId(), device.deviceType(), device.deviceId(),
        quint8(bytes[0]),
        bytes.sliced(1).first(qMin<qsizetype>(bytes.size() - 1, 255)).toByteArray());
    const std::optional<QByteArray> response = device.respond(request.encode());
    if (response && !HartFrame::decode(*response).ok())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkDecoder(bytes);
    checkReader(bytes);
    checkTransmitter(bytes);
    return 0;
}
