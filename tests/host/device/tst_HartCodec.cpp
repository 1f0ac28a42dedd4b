#include "TestRegistry.h"
#include "hart/HartCodec.h"

#include <QTest>
#include <cmath>

class tst_HartCodec : public QObject
{
    Q_OBJECT

private slots:
    void floatBytes_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one") << 1.0f << QByteArray::fromHex("3F800000");
        QTest::newRow("negative") << -2.5f << QByteArray::fromHex("C0200000");
        QTest::newRow("zero") << 0.0f << QByteArray::fromHex("00000000");
        QTest::newRow("twenty mA") << 20.0f << QByteArray::fromHex("41A00000");
        QTest::newRow("small") << 1.0e-6f << QByteArray::fromHex("358637BD");
    }
    void floatBytes()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, bytes);
        QCOMPARE(HartCodec::fromFloat(value), bytes);
        QCOMPARE(HartCodec::toFloat(bytes), value);
        QCOMPARE(HartCodec::toFloat(QByteArray("xx") + bytes, 2), value);
    }

    void realsBeyondTheFloatRangeStopAtItsEnd_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("expected");
        QTest::newRow("ordinary") << 12.5 << 12.5f;
        QTest::newRow("too large") << 1e300 << std::numeric_limits<float>::max();
        QTest::newRow("too negative") << -1e300 << -std::numeric_limits<float>::max();
        QTest::newRow("infinite") << double(INFINITY) << std::numeric_limits<float>::infinity();
    }
    void realsBeyondTheFloatRangeStopAtItsEnd()
    {
        QFETCH(double, value);
        QFETCH(float, expected);
        QCOMPARE(HartCodec::toFloat(HartCodec::fromReal(value)), expected);
    }

    void readersStayInsideTheBuffer_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("at");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("one short") << QByteArray::fromHex("010203") << 0;
        QTest::newRow("offset past end") << QByteArray::fromHex("01020304") << 1;
        QTest::newRow("negative offset") << QByteArray::fromHex("01020304") << -1;
    }
    void readersStayInsideTheBuffer()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, at);
        QVERIFY(std::isnan(HartCodec::toFloat(bytes, at)));
        QCOMPARE(HartCodec::toUInt32(bytes, at), 0u);
    }

    void integers()
    {
        QCOMPARE(HartCodec::fromUInt16(0x1234), QByteArray::fromHex("1234"));
        QCOMPARE(HartCodec::toUInt16(QByteArray::fromHex("ABCD")), quint16(0xABCD));
        QCOMPARE(HartCodec::fromUInt24(0x12345678), QByteArray::fromHex("345678"));
        QCOMPARE(HartCodec::toUInt24(QByteArray::fromHex("00FFFFFF"), 1), 0xFFFFFFu);
        QCOMPARE(HartCodec::fromUInt32(0xDEADBEEF), QByteArray::fromHex("DEADBEEF"));
        QCOMPARE(HartCodec::toUInt24(QByteArray::fromHex("FFFF"), 0), 0u);
    }

    void packedAscii_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QString>("unpacked");
        // 'A'=0x01, 'B'=0x02, 'C'=0x03, 'D'=0x04 in six bits each.
        QTest::newRow("four letters") << "ABCD" << 3 << QByteArray::fromHex("0420C4") << "ABCD";
        QTest::newRow("lower case is raised")
            << "abcd" << 3 << QByteArray::fromHex("0420C4") << "ABCD";
        QTest::newRow("padded with blanks")
            << "PT" << 6 << QByteArray::fromHex("414820820820") << "PT      ";
        QTest::newRow("cut to length")
            << "ABCDEFGH" << 3 << QByteArray::fromHex("0420C4") << "ABCD";
        QTest::newRow("outside the set") << "a~b" << 3 << QByteArray::fromHex("07F0A0") << "A?B ";
        QTest::newRow("digits and signs") << "1-2." << 3 << QByteArray::fromHex("C6DCAE") << "1-2.";
    }
    void packedAscii()
    {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QFETCH(QByteArray, packed);
        QFETCH(QString, unpacked);
        QCOMPARE(HartCodec::packAscii(text, bytes).toHex(), packed.toHex());
        QCOMPARE(HartCodec::unpackAscii(packed), unpacked);
    }

    void unpackIgnoresAPartialGroup()
    {
        QCOMPARE(HartCodec::unpackAscii(QByteArray::fromHex("0420C404")), QStringLiteral("ABCD"));
        QCOMPARE(HartCodec::unpackAscii(QByteArray::fromHex("04")), QString());
    }

    void dates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ordinary") << QDate(2024, 3, 17) << QByteArray::fromHex("11037C");
        QTest::newRow("first year") << QDate(1900, 1, 1) << QByteArray::fromHex("010100");
        QTest::newRow("last year") << QDate(2155, 12, 31) << QByteArray::fromHex("1F0CFF");
        QTest::newRow("before 1900") << QDate(1899, 12, 31) << QByteArray();
        QTest::newRow("after 2155") << QDate(2156, 1, 1) << QByteArray();
        QTest::newRow("invalid") << QDate() << QByteArray();
    }
    void dates()
    {
        QFETCH(QDate, date);
        QFETCH(QByteArray, bytes);
        QCOMPARE(HartCodec::fromDate(date), bytes);
        if (!bytes.isEmpty())
            QCOMPARE(HartCodec::toDate(bytes), date);
    }

    void impossibleDateReadsInvalid()
    {
        QVERIFY(!HartCodec::toDate(QByteArray::fromHex("1E027C")).isValid()); // 30 February
        QVERIFY(!HartCodec::toDate(QByteArray::fromHex("000000")).isValid());
        QVERIFY(!HartCodec::toDate(QByteArray::fromHex("0102"), 0).isValid());
        QVERIFY(!HartCodec::toDate(QByteArray::fromHex("01027C"), -1).isValid());
    }
};

VEX_TEST(tst_HartCodec)
#include "tst_HartCodec.moc"
