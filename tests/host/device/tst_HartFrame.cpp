#include "TestRegistry.h"
#include "hart/HartFrame.h"
#include "hart/HartFrameReader.h"

#include <QTest>

namespace {
// Adds the checksum and the preambles to a frame body.
QByteArray wire(const QByteArray &bodyWithoutChecksum, int preambles = 5)
{
    char sum = 0;
    for (const char b : bodyWithoutChecksum)
        sum ^= b;
    return QByteArray(preambles, char(0xFF)) + bodyWithoutChecksum + sum;
}

HartFrame response(quint8 command, quint8 code, quint8 status, const QByteArray &data)
{
    HartFrame frame =
        HartFrame::longFrame(HartFrame::Kind::Response, 0x3C, 0x9D, 0x01E240, command, data);
    frame.setStatus(code, status);
    return frame;
}
} // namespace

class tst_HartFrame : public QObject
{
    Q_OBJECT

private slots:
    void encodesTheKnownCommandZeroRequest()
    {
        const HartFrame frame = HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0);
        QCOMPARE(frame.encode().toHex(), QByteArray("ffffffffff02800000"
                                                    "82"));
        QCOMPARE(frame.encode(2).toHex(), QByteArray("ffff02800000"
                                                     "82"));
    }

    void encodesLongAddressAndStatusBytes()
    {
        const HartFrame frame = response(1, 0, 0x40, QByteArray::fromHex("073F800000"));
        // 86, address 3C 9D 01 E2 40 (master bit set), command 1, count 7, status 00 40, data.
        QCOMPARE(frame.encode(2).left(15).toHex(), QByteArray("ffff86bc9d01e2400107004007"
                                                              "3f80"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<HartFrame>("frame");
        QTest::addColumn<int>("preambles");
        HartFrame secondary = HartFrame::shortFrame(HartFrame::Kind::Request, 15, 6, "\x03");
        secondary.setPrimaryMaster(false);
        HartFrame burst = response(3, 0, 0x08, QByteArray(24, 'x'));
        burst.setKind(HartFrame::Kind::Burst);
        burst.setBurstMode(true);
        QTest::newRow("short request")
            << HartFrame::shortFrame(HartFrame::Kind::Request, 3, 0) << 5;
        QTest::newRow("secondary master") << secondary << 2;
        QTest::newRow("long request with data")
            << HartFrame::longFrame(HartFrame::Kind::Request, 0x3C, 0x9D, 0xABCDEF, 35,
                                    QByteArray::fromHex("0742C8000000000000"))
            << 20;
        QTest::newRow("broadcast")
            << HartFrame::longFrame(HartFrame::Kind::Request, 0, 0, 0, 11, QByteArray(6, '\x20'))
            << 5;
        QTest::newRow("response") << response(48, 0, 0x10, QByteArray::fromHex("000400000000"))
                                  << 5;
        QTest::newRow("communication error") << response(1, 0x88, 0, {}) << 5;
        QTest::newRow("burst") << burst << 3;
        QTest::newRow("largest request")
            << HartFrame::shortFrame(HartFrame::Kind::Request, 0, 200, QByteArray(255, '\xFF'))
            << 5;
        QTest::newRow("largest response") << response(200, 0, 0, QByteArray(253, '\x00')) << 5;
    }
    void roundTrip()
    {
        QFETCH(HartFrame, frame);
        QFETCH(int, preambles);
        const QByteArray bytes = frame.encode(preambles);
        QVERIFY(!bytes.isEmpty());
        const HartFrame::Decoded decoded = HartFrame::decode(bytes);
        QCOMPARE(decoded.error, HartFrame::DecodeError::None);
        QVERIFY(decoded.ok());
        QVERIFY(*decoded.frame == frame);
    }

    void refusesToEncodeWhatTheWireCannotCarry_data()
    {
        QTest::addColumn<HartFrame>("frame");
        QTest::addColumn<int>("preambles");
        QTest::newRow("polling address 16")
            << HartFrame::shortFrame(HartFrame::Kind::Request, 16, 0) << 5;
        QTest::newRow("request of 256 bytes")
            << HartFrame::shortFrame(HartFrame::Kind::Request, 0, 1, QByteArray(256, 'a')) << 5;
        QTest::newRow("response of 254 bytes") << response(1, 0, 0, QByteArray(254, 'a')) << 5;
        QTest::newRow("one preamble") << HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0) << 1;
        QTest::newRow("21 preambles")
            << HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0) << 21;
    }
    void refusesToEncodeWhatTheWireCannotCarry()
    {
        QFETCH(HartFrame, frame);
        QFETCH(int, preambles);
        QVERIFY(!frame.encodeProblem(preambles).isEmpty());
        QVERIFY(frame.encode(preambles).isEmpty());
    }

    void decodeRejects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<HartFrame::DecodeError>("error");
        using E = HartFrame::DecodeError;
        const QByteArray good = wire(QByteArray::fromHex("02800000"));
        QByteArray badSum = good;
        badSum[badSum.size() - 1] = char(badSum.back() ^ 0x01);
        QTest::newRow("empty") << QByteArray() << E::TooFewPreambles;
        QTest::newRow("one preamble")
            << wire(QByteArray::fromHex("02800000"), 1) << E::TooFewPreambles;
        QTest::newRow("garbage") << QByteArray("hello world") << E::TooFewPreambles;
        QTest::newRow("21 preambles")
            << wire(QByteArray::fromHex("02800000"), 21) << E::TooManyPreambles;
        QTest::newRow("only preambles") << QByteArray(8, char(0xFF)) << E::Truncated;
        QTest::newRow("unknown frame type")
            << wire(QByteArray::fromHex("03800000")) << E::BadDelimiter;
        QTest::newRow("expansion bytes")
            << wire(QByteArray::fromHex("22800000")) << E::BadDelimiter;
        QTest::newRow("header cut off") << QByteArray::fromHex("ffff82bc9d01") << E::Truncated;
        QTest::newRow("count past the end")
            << wire(QByteArray::fromHex("02800005")).left(9) << E::ByteCountBeyondBuffer;
        QTest::newRow("count 255 on a short buffer")
            << wire(QByteArray::fromHex("028000ff0102")) << E::ByteCountBeyondBuffer;
        QTest::newRow("bytes after the checksum") << good + '\0' << E::TrailingBytes;
        QTest::newRow("checksum") << badSum << E::ChecksumMismatch;
        QTest::newRow("response without status")
            << wire(QByteArray::fromHex("0680000100")) << E::MissingStatusBytes;
        QTest::newRow("polling address bits 4 and 5")
            << wire(QByteArray::fromHex("02b00000")) << E::BadAddress;
    }
    void decodeRejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(HartFrame::DecodeError, error);
        const HartFrame::Decoded decoded = HartFrame::decode(bytes);
        QVERIFY(!decoded.ok());
        QCOMPARE(decoded.error, error);
        QVERIFY(!HartFrame::errorText(error).isEmpty());
    }

    void readerAssemblesFramesByteByByte()
    {
        const HartFrame first = HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0);
        const HartFrame second = response(3, 0, 0x20, QByteArray(24, '\x01'));
        const QByteArray stream = first.encode() + second.encode(7);
        HartFrameReader reader;
        QList<HartFrame> frames;
        for (const char b : stream)
            frames += reader.feed(QByteArrayView(&b, 1));
        QCOMPARE(frames.size(), 2);
        QVERIFY(frames[0] == first);
        QVERIFY(frames[1] == second);
        QCOMPARE(reader.bufferedBytes(), 0);
        QCOMPARE(reader.discardedBytes(), 0);
    }

    // Noise before two good frames: both are found, and every byte read comes
    // out in exactly one piece, in order, the noise marked as what it was.
    void readerResynchronises_data()
    {
        using Kind = HartFrameReader::Piece::Kind;
        QTest::addColumn<QByteArray>("noise");
        QTest::addColumn<QList<int>>("noiseKinds");
        QByteArray badSum = HartFrame::shortFrame(HartFrame::Kind::Request, 1, 1).encode();
        badSum[badSum.size() - 1] = char(badSum.back() ^ 0x40);
        const int garbage = int(Kind::Garbage);
        const int failed = int(Kind::FailedFrame);
        QTest::newRow("plain garbage") << QByteArray("\x00\x12\x34 noise", 10) << QList{garbage};
        QTest::newRow("single preamble bytes")
            << QByteArray::fromHex("ff00ff01ff") << QList{garbage};
        QTest::newRow("preambles before a bad delimiter")
            << QByteArray::fromHex("ffffff33") << QList{garbage};
        QTest::newRow("frame with bad checksum") << badSum << QList{failed};
        QTest::newRow("frame cut short")
            << QByteArray::fromHex("ffffff0280000a0102") << QList{failed};
        QTest::newRow("long preamble run") << QByteArray(100, char(0xFF)) << QList{garbage};
    }
    void readerResynchronises()
    {
        QFETCH(QByteArray, noise);
        QFETCH(QList<int>, noiseKinds);
        const HartFrame frame = response(1, 0, 0, QByteArray::fromHex("073f800000"));
        const QByteArray stream = noise + frame.encode() + frame.encode();
        HartFrameReader reader;
        const QList<HartFrameReader::Piece> pieces = reader.read(stream);
        QByteArray joined;
        QList<int> kinds;
        QList<HartFrame> frames;
        for (const HartFrameReader::Piece &piece : pieces) {
            joined += piece.bytes;
            kinds << int(piece.kind);
            if (piece.frame)
                frames << *piece.frame;
        }
        QCOMPARE(joined, stream);
        QCOMPARE(kinds, noiseKinds + QList<int>(2, 0));
        QCOMPARE(frames.size(), 2);
        QVERIFY(frames[0] == frame);
        QVERIFY(frames[1] == frame);
        QCOMPARE(reader.bufferedBytes(), 0);
    }

    void readerCountsRejectedFrames()
    {
        QByteArray bad = HartFrame::shortFrame(HartFrame::Kind::Request, 1, 1).encode();
        bad[bad.size() - 1] = char(bad.back() ^ 0x01);
        HartFrameReader reader;
        QVERIFY(reader.feed(bad).isEmpty());
        QCOMPARE(reader.rejectedFrames(), 1);
    }

    void readerBufferStaysBoundedUnderNoise()
    {
        HartFrameReader reader;
        QVERIFY(reader.feed(QByteArray(100000, char(0xFF))).isEmpty());
        QVERIFY(reader.bufferedBytes() <= 20);
        QVERIFY(reader.feed(QByteArray(100000, '\x55')).isEmpty());
        QCOMPARE(reader.bufferedBytes(), 0);
    }
};

VEX_TEST(tst_HartFrame)
#include "tst_HartFrame.moc"
