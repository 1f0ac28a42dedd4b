#include "hart/HartFrameReader.h"

#include "hart/HartProtocol.h"

namespace {

quint8 errorBitsOf(HartFrame::DecodeError error)
{
    return hart::commerror::Flag |
           (error == HartFrame::DecodeError::ChecksumMismatch ? hart::commerror::Checksum
                                                              : hart::commerror::Framing);
}

} // namespace

QList<HartFrame> HartFrameReader::feed(QByteArrayView bytes)
{
    QList<HartFrame> frames;
    for (const Piece &piece : read(bytes)) {
        if (piece.frame)
            frames.append(*piece.frame);
    }
    return frames;
}

QList<HartFrameReader::Piece> HartFrameReader::read(QByteArrayView bytes)
{
    m_buffer.append(bytes.data(), bytes.size());
    QList<Piece> pieces;
    while (step(pieces) == Step::Continue) {
    }
    emitGarbage(pieces);
    return pieces;
}

std::optional<HartFrameReader::Piece> HartFrameReader::flush()
{
    if (m_buffer.isEmpty())
        return std::nullopt;
    Piece piece;
    const bool started = preambleRun() >= hart::MinPreambles && preambleRun() < m_buffer.size();
    piece.kind = started ? Piece::Kind::FailedFrame : Piece::Kind::Garbage;
    piece.errorBits = hart::commerror::Flag | hart::commerror::Framing;
    piece.bytes = m_buffer;
    m_discarded += m_buffer.size();
    m_buffer.clear();
    return piece;
}

void HartFrameReader::reset()
{
    m_buffer.clear();
    m_garbage.clear();
    m_discarded = 0;
    m_rejected = 0;
}

HartFrameReader::Step HartFrameReader::step(QList<Piece> &pieces)
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

    emitGarbage(pieces);
    const HartFrame::Decoded decoded = HartFrame::decodeBody(body.first(*size));
    Piece piece;
    if (decoded.ok()) {
        piece.kind = Piece::Kind::Frame;
        piece.frame = decoded.frame;
        piece.bytes = m_buffer.first(preambles + *size);
    } else {
        // A real frame may start inside the rejected one: it ends where that begins.
        ++m_rejected;
        const qsizetype end = innerFrameStart(preambles + 1, preambles + *size);
        piece.kind = Piece::Kind::FailedFrame;
        piece.errorBits = errorBitsOf(decoded.error);
        piece.bytes = m_buffer.first(end);
        m_discarded += end;
    }
    m_buffer.remove(0, piece.bytes.size());
    pieces.append(piece);
    return Step::Continue;
}

qsizetype HartFrameReader::innerFrameStart(qsizetype from, qsizetype end) const
{
    for (qsizetype i = from; i + 1 < end; ++i) {
        if (quint8(m_buffer[i]) == hart::Preamble && quint8(m_buffer[i + 1]) == hart::Preamble)
            return i;
    }
    return end;
}

void HartFrameReader::discard(qsizetype count)
{
    if (count <= 0)
        return;
    m_garbage += m_buffer.first(count);
    m_buffer.remove(0, count);
    m_discarded += count;
}

void HartFrameReader::emitGarbage(QList<Piece> &pieces)
{
    if (m_garbage.isEmpty())
        return;
    Piece piece;
    piece.kind = Piece::Kind::Garbage;
    piece.errorBits = hart::commerror::Flag | hart::commerror::Framing;
    piece.bytes = m_garbage;
    m_garbage.clear();
    pieces.append(piece);
}

qsizetype HartFrameReader::preambleRun() const
{
    qsizetype run = 0;
    while (run < m_buffer.size() && quint8(m_buffer[run]) == hart::Preamble)
        ++run;
    return run;
}
