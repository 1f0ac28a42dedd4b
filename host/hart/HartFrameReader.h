#pragma once

#include "hart/HartFrame.h"

#include <QByteArray>
#include <QList>

// Cuts a byte stream into frames as the bytes arrive. Garbage, frames with a bad
// checksum and stray bytes are dropped and the reader looks for the next run of
// preambles; it buffers at most one frame, so endless noise cannot grow it.
class HartFrameReader
{
public:
    // Complete frames found after adding `bytes`, in arrival order.
    QList<HartFrame> feed(QByteArrayView bytes);
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
    Step step(QList<HartFrame> &frames);
    void discard(qsizetype count);
    qsizetype preambleRun() const;

    QByteArray m_buffer;
    qint64 m_discarded = 0;
    qint64 m_rejected = 0;
};
