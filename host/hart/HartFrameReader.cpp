#include "hart/HartFrameReader.h"

#include "hart/HartProtocol.h"

QList<HartFrame> HartFrameReader::feed(QByteArrayView bytes)
{
    m_buffer.append(bytes.data(), bytes.size());
    QList<HartFrame> frames;
    while (step(frames) == Step::Continue) {
    }
    return frames;
}

void HartFrameReader::reset()
{
    m_buffer.clear();
    m_discarded = 0;
    m_rejected = 0;
}

HartFrameReader::Step HartFrameReader::step(QList<HartFrame> &frames)
{
    qsizetype garbage = 0;
    while (garbage < m_buffer.size() && quint8(m_buffer[garbage]) != hart::Preamble)
        ++garbage;
    discard(garbage);

    qsizetype preambles = preambleRun();
    if (preambles == m_buffer.size()) {
        // Only preambles so far: a long run need not be kept whole.
        discard(qMax<qsizetype>(0, preambles - hart::MaxPreambles));
        return Step::NeedMore;
    }
    if (preambles < hart::MinPreambles) {
        discard(preambles);
        return Step::Continue;
    }
    if (preambles > hart::MaxPreambles) {
        discard(preambles - hart::MaxPreambles);
        preambles = hart::MaxPreambles;
    }

    const QByteArrayView body = QByteArrayView(m_buffer).sliced(preambles);
    const std::optional<qsizetype> size = HartFrame::bodySize(body);
    if (!size) {
        discard(preambles);
        return Step::Continue;
    }
    if (*size == 0 || body.size() < *size)
        return Step::NeedMore;

    const HartFrame::Decoded decoded = HartFrame::decodeBody(body.first(*size));
    if (decoded.ok()) {
        frames.append(*decoded.frame);
        m_buffer.remove(0, preambles + *size);
        return Step::Continue;
    }
    // A real frame may start inside the rejected one: search again just past its delimiter.
    ++m_rejected;
    discard(preambles + 1);
    return Step::Continue;
}

void HartFrameReader::discard(qsizetype count)
{
    if (count <= 0)
        return;
    m_buffer.remove(0, count);
    m_discarded += count;
}

qsizetype HartFrameReader::preambleRun() const
{
    qsizetype run = 0;
    while (run < m_buffer.size() && quint8(m_buffer[run]) == hart::Preamble)
        ++run;
    return run;
}
