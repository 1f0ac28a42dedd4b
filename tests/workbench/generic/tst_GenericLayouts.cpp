#include "TestRegistry.h"
#include "generic/GenericTexts.h"
#include "hart/HartUnits.h"

#include "generic/CommonPracticeLayout.h"
#include "generic/GenericStatusBits.h"
#include "generic/UniversalLayout.h"

#include <QTest>
#include <cmath>

namespace U = UniversalLayout;
namespace C = CommonPracticeLayout;
using Bits = QList<GenericStatusBits::Bit>;

namespace {

// The data bytes after the two status bytes, written by hand from the
// published layouts: floats as IEEE 754 single precision, big-endian;
// texts in packed ASCII (four 6-bit characters in three bytes).
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// "PT-101" padded to eight characters.
constexpr const char *PackedTag = "414B71C31820";
// "OIL TANK 3" padded to sixteen.
constexpr const char *PackedDescriptor = "3C932050138B8338208208 20";
// 15 March 2024: day, month, year - 1900.
constexpr const char *Date = "0F037C";
// "HELLO" padded to thirty-two.
constexpr const char *PackedMessage = "20530C 3E0820 820820 820820 820820 820820 820820 820820";

bool same(float a, float b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

} // namespace

// The universal and common-practice layouts against bytes written by hand,
// not against our own encoder: each field where the protocol puts it, short
// answers refused, the fields a device may leave off taken as left off.
class TstGenericLayouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dynamicVariables_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("decoded");
        QTest::addColumn<QList<quint8>>("units");
        QTest::addColumn<QList<float>>("values");
        // 12 mA; 2.5 bar; 23.5 degC; 2.5 bar; 62.5 %.
        QTest::newRow("four variables")
            << hex("41400000 07 40200000 20 41BC0000 07 40200000 39 427A0000") << true
            << QList<quint8>{7, 32, 7, 57} << QList<float>{2.5f, 23.5f, 2.5f, 62.5f};
        // A device with one variable stops after it.
        QTest::newRow("primary only")
            << hex("41400000 0C BE800000") << true << QList<quint8>{12} << QList<float>{-0.25f};
        // A variable cut off is not one.
        QTest::newRow("cut in the second") << hex("41400000 0C BE800000 20 41BC") << true
                                           << QList<quint8>{12} << QList<float>{-0.25f};
        QTest::newRow("not used, NaN")
            << hex("41400000 07 40200000 FA 7FA00000") << true << QList<quint8>{7, 250}
            << QList<float>{2.5f, float(qQNaN())};
        QTest::newRow("current alone")
            << hex("41400000 07") << false << QList<quint8>{} << QList<float>{};
    }
    void dynamicVariables()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, decoded);
        QFETCH(QList<quint8>, units);
        QFETCH(QList<float>, values);
        const auto d = U::dynamicVariables(data);
        QCOMPARE(d.has_value(), decoded);
        if (!d)
            return;
        QCOMPARE(d->current, 12.0f);
        QCOMPARE(d->variables.size(), units.size());
        for (qsizetype i = 0; i < units.size(); ++i) {
            QCOMPARE(d->variables[i].unit, units[i]);
            QVERIFY2(same(d->variables[i].value, values[i]), qPrintable(QString::number(i)));
        }
    }

    void outputInformation_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("decoded");
        // Alarm low, square root, mbar, 500 / -100, 1.5 s, write protected.
        QTest::newRow("revision 5, distributor code")
            << hex("01 01 08 43FA0000 C2C80000 3FC00000 01 3C") << true;
        QTest::newRow("revision 7, analog channel flags")
            << hex("01 01 08 43FA0000 C2C80000 3FC00000 01 FA 00") << true;
        QTest::newRow("without write protect")
            << hex("01 01 08 43FA0000 C2C80000 3FC00000") << false;
    }
    void outputInformation()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, decoded);
        const auto o = U::outputInformation(data);
        QCOMPARE(o.has_value(), decoded);
        if (!o)
            return;
        QCOMPARE(o->alarmSelection, quint8(1));
        QCOMPARE(o->transferFunction, quint8(1));
        QCOMPARE(o->rangeUnit, quint8(8));
        QCOMPARE(o->upperRange, 500.0f);
        QCOMPARE(o->lowerRange, -100.0f);
        QCOMPARE(o->damping, 1.5f);
        QCOMPARE(o->writeProtect, quint8(1));
    }

    void texts()
    {
        const auto t = U::tagDescriptorDate(hex(PackedTag) + hex(PackedDescriptor) + hex(Date));
        QVERIFY(t);
        QCOMPARE(t->tag, QStringLiteral("PT-101"));
        QCOMPARE(t->descriptor, QStringLiteral("OIL TANK 3"));
        QCOMPARE(t->date, QDate(2024, 3, 15));
        QVERIFY(!U::tagDescriptorDate(hex(PackedTag) + hex(PackedDescriptor) + hex("0F03")));
        QCOMPARE(U::message(hex(PackedMessage)), QStringLiteral("HELLO"));
        QVERIFY(!U::message(hex(PackedMessage).chopped(1)));
        // ISO Latin-1, padded with NUL or with blanks.
        QByteArray latin = "Kessel \xDC"
                           "1";
        QCOMPARE(U::longTag(latin + QByteArray(32 - latin.size(), '\0')),
                 QStringLiteral("Kessel \u00DC1"));
        QCOMPARE(U::longTag(latin + QByteArray(32 - latin.size(), ' ')),
                 QStringLiteral("Kessel \u00DC1"));
        QVERIFY(!U::longTag(latin));
    }

    // Units from the one unit table; the codes that say there is none in words.
    void unitTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sameQuantity"); // how many units a change may pick from
        QTest::newRow("bar") << 7 << "bar" << 18;
        QTest::newRow("°C") << 32 << "°C" << 4;
        QTest::newRow("m³/h") << 19 << "m³/h" << 26;
        QTest::newRow("m³, named only") << 43 << "m³" << 7;
        QTest::newRow("m/s, named only") << 21 << "m/s" << 6;
        QTest::newRow("none") << 251 << "none" << 1;
        QTest::newRow("not named") << 200 << "unit code 200" << 1;
    }
    void unitTexts()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(int, sameQuantity);
        QCOMPARE(GenericTexts::unit(quint8(code)), text);
        const QList<quint8> choice = HartUnits::sameQuantity(quint8(code));
        QCOMPARE(choice.size(), sameQuantity);
        QVERIFY(choice.contains(quint8(code)));
    }
    void unitsNamedOnlyAreNotConverted()
    {
        for (const int code : {21, 43, 45, 61})
            QVERIFY(!HartUnits::quantity(code) && !HartUnits::toBase(code, 1.0));
        QCOMPARE(*HartUnits::toBase(49, 2.0), 2.0); // mm, converted as before
    }

    void smallAnswers()
    {
        const auto pv = U::primaryVariable(hex("07 40200000"));
        QVERIFY(pv && pv->unit == 7 && pv->value == 2.5f);
        QVERIFY(!U::primaryVariable(hex("07 402000")));
        const auto loop = U::currentAndPercent(hex("41400000 42480000"));
        QVERIFY(loop && loop->current == 12.0f && loop->percent == 50.0f);
        QVERIFY(!U::currentAndPercent(hex("41400000 4248")));
        // Serial 0x00A1B2, mbar, 2000 / -2000, 20.
        const auto sensor = U::sensorInformation(hex("00A1B2 08 44FA0000 C4FA0000 41A00000"));
        QVERIFY(sensor);
        QCOMPARE(sensor->serialNumber, quint32(0x00A1B2));
        QCOMPARE(sensor->unit, quint8(8));
        QCOMPARE(sensor->upperLimit, 2000.0f);
        QCOMPARE(sensor->lowerLimit, -2000.0f);
        QCOMPARE(sensor->minimumSpan, 20.0f);
        QCOMPARE(U::finalAssemblyNumber(hex("01E240")), quint32(123456));
        QVERIFY(!U::finalAssemblyNumber(hex("01E2")));
    }

    // Requests as a device reads them.
    void requests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("tag, descriptor, date")
            << *U::tagDescriptorDateRequest({"pt-101", "Oil tank 3", QDate(2024, 3, 15)})
            << hex(PackedTag) + hex(PackedDescriptor) + hex(Date);
        QTest::newRow("message") << U::messageRequest("hello") << hex(PackedMessage);
        QTest::newRow("long tag, NUL padded") << U::longTagRequest(QStringLiteral("Kessel \u00DC1"))
                                              << QByteArray("Kessel \xDC"
                                                            "1") +
                                                     QByteArray(23, '\0');
        // Upper range value first.
        QTest::newRow("range") << C::rangeRequest({7, 10.0f, -0.25f})
                               << hex("07 41200000 BE800000");
        QTest::newRow("damping") << C::dampingRequest(2.5) << hex("40200000");
        QTest::newRow("fixed current") << C::fixedCurrentRequest(12.0) << hex("41400000");
        QTest::newRow("leave fixed current") << C::fixedCurrentRequest(0.0) << hex("00000000");
        QTest::newRow("trim") << C::trimRequest(4.02) << hex("4080A3D7");
        QTest::newRow("unit") << C::unitRequest(12) << hex("0C");
    }
    void requests()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, expected);
        QCOMPARE(request.toHex(' '), expected.toHex(' '));
    }

    void writeRequestsRefuseWhatCannotTravel()
    {
        QVERIFY(!U::tagDescriptorDateRequest({"PT", "", QDate(1899, 12, 31)}));
        QVERIFY(!U::tagDescriptorDateRequest({"PT", "", QDate()}));
        QVERIFY(U::fitsPackedAscii(QStringLiteral("pt-101/a_b")));
        QVERIFY(!U::fitsPackedAscii(QStringLiteral("t\u00FCr")));
        QVERIFY(!U::fitsPackedAscii(QStringLiteral("a{b}")));
    }

    void echoes()
    {
        QCOMPARE(C::floatAnswer(hex("41400000")), 12.0f);
        QVERIFY(!C::floatAnswer(hex("414000")));
        const auto range = C::rangeAnswer(hex("08 43FA0000 C2C80000"));
        QVERIFY(range && range->unit == 8 && range->upper == 500.0f && range->lower == -100.0f);
        QVERIFY(!C::rangeAnswer(hex("08 43FA0000 C2C8")));
        QCOMPARE(C::unitAnswer(hex("20")), quint8(32));
        QVERIFY(!C::unitAnswer({}));
    }

    // Bytes 6 to 13 of command 48 mean the same on every device from
    // revision 7 on; before, all of them are the maker's.
    void additionalStatus()
    {
        const QByteArray data = hex("0102030405 06 21 00 81 04 01 02 18 01 AA");
        const auto seven = C::additionalStatus(data, 7);
        QVERIFY(seven);
        QCOMPARE(seven->extendedDeviceStatus(), quint8(0x21));
        QCOMPARE(seven->standardized0(), quint8(0x81));
        QCOMPARE(seven->standardized1(), quint8(0x04));
        QCOMPARE(seven->analogChannelSaturated(), quint8(0x01));
        QCOMPARE(seven->standardized2(), quint8(0x02));
        QCOMPARE(seven->standardized3(), quint8(0x18));
        QCOMPARE(seven->analogChannelFixed(), quint8(0x01));
        QCOMPARE(seven->deviceSpecific(), hex("0102030405 06 AA"));

        const auto five = C::additionalStatus(data, 5);
        QVERIFY(five && !five->extendedDeviceStatus() && !five->standardized0());
        QCOMPARE(five->deviceSpecific(), data);
        // A short answer has what it has.
        const auto shortSeven = C::additionalStatus(hex("000000000000 01 00 40"), 7);
        QCOMPARE(shortSeven->standardized0(), quint8(0x40));
        QVERIFY(!shortSeven->standardized1());
        QVERIFY(!C::additionalStatus({}, 7));
    }

    void statusBits_data()
    {
        using B = GenericStatusBits::Byte;
        QTest::addColumn<int>("byte");
        QTest::addColumn<quint8>("value");
        QTest::addColumn<Bits>("bits");
        QTest::newRow("none") << int(B::DeviceStatus) << quint8(0) << Bits{};
        // Loop current fixed and more status available.
        QTest::newRow("device status")
            << int(B::DeviceStatus) << quint8(0x18) << Bits{{3, 7743}, {4, 7744}};
        QTest::newRow("malfunction, PV out of limits")
            << int(B::DeviceStatus) << quint8(0x81) << Bits{{0, 7740}, {7, 7747}};
        QTest::newRow("maintenance, function check, reserved")
            << int(B::ExtendedDeviceStatus) << quint8(0x61) << Bits{{0, 7748}, {5, 7753}, {6, 0}};
        QTest::newRow("simulation, configuration locked")
            << int(B::Standardized0) << quint8(0x81) << Bits{{0, 7754}, {7, 7761}};
        QTest::newRow("event notification overflow")
            << int(B::Standardized1) << quint8(0x04) << Bits{{2, 7764}};
        QTest::newRow("stale data") << int(B::Standardized2) << quint8(0x10) << Bits{{4, 7769}};
        QTest::newRow("capacity denied, reserved bit 1")
            << int(B::Standardized3) << quint8(0x03) << Bits{{0, 7770}, {1, 0}};
    }
    void statusBits()
    {
        QFETCH(int, byte);
        QFETCH(quint8, value);
        QFETCH(Bits, bits);
        QCOMPARE(GenericStatusBits::setBits(GenericStatusBits::Byte(byte), value), bits);
    }
};

VEX_TEST(TstGenericLayouts)
#include "tst_GenericLayouts.moc"
