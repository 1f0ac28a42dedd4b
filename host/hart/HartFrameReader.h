#pragma once

#include "hart/HartFrame.h"

#include <QByteArray>
#include <QList>
#include <optional>

// Cuts a byte stream into frames as the bytes arrive. Garbage, frames with a bad
// checksum and stray bytes are set apart and the reader looks for the next run
// of preambles; it buffers at most one frame, so endless noise cannot grow it.
// Every byte read comes out again in exactly one piece, in order, so that a
// traffic record holds the line as it was.
class HartFrameReader
{
public:
    struct Piece
    {
        enum class Kind
        {
            Frame,       // preambles and a frame that holds together
            FailedFrame, // a frame that failed its checksum or layout, or was cut short
            Garbage,     // bytes between frames
        };
        Kind kind = Kind::Garbage;
        QByteArray bytes; // as received, preambles and checksum included
        std::optional<HartFrame> frame;
        // The communication error bits (bit 7 set) a failed frame or garbage stands for.
        quint8 errorBits = 0;
    };

    // Complete frames found after adding `bytes`, in arrival order.
    QList<HartFrame> feed(QByteArrayView bytes);
    // Everything the bytes completed: frames, failed frames and garbage.
    QList<Piece> read(QByteArrayView bytes);
    // The bytes held back for a frame still incomplete, as a piece of their
    // own (the line went quiet); the reader starts afresh.
    std::optional<Piece> flush();
    void reset();

    qsizetype bufferedBytes() const { return m_buffer.size(); }
    // Bytes thrown away while looking for a frame start.
    qint64 discardedBytes() const { return m_discarded; }
    // Frames that were complete but failed the checksum or layout checks.
    qint64 rejectedFrames() const { return m_rejected; }

private:
    enum class Step
    {
        Continue,
        NeedMore
    };
    Step step(QList<Piece> &pieces);
    void discard(qsizetype count);
    void emitGarbage(QList<Piece> &pieces);
    qsizetype preambleRun() const;
    qsizetype innerFrameStart(qsizetype from, qsizetype end) const;

    QByteArray m_buffer;
    QByteArray m_garbage; // discarded, not yet handed out
    qint64 m_discarded = 0;
    qint64 m_rejected = 0;
};
