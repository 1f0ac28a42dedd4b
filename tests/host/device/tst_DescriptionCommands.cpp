// The device description and the simulated transmitter are written apart
// (the simulator stands in for a real device and never reads the
// description); this walks every record of the description through the
// simulator so that the two cannot drift.

#include "DeviceBench.h"
#include "DeviceDescription.h"
#include "ItemStore.h"
#include "RecordCodec.h"
#include "TestHost.h"
#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

#include <QTest>
#include <cmath>

namespace rc = hart::response;

namespace {

const DeviceDescription &description()
{
    static const DeviceDescription d = testhost::builtInDescription();
    return d;
}

int width(const QList<FieldDefinition> &fields)
{
    int bytes = 0;
    for (const FieldDefinition &field : fields)
        bytes += field.size;
    return bytes;
}

// What a command needs of the device before a default request can succeed:
// the trims the output fixed at their point, the balance points a reference
// near the applied pressure, the zero and the range shift a pressure that
// keeps the range within its limits.
void prepare(DeviceBench &bench, int command, const QByteArray &request)
{
    switch (command) {
    case 45:
    case 46:
        bench.command(40, HartCodec::fromFloat(command == 45 ? 4.0f : 20.0f));
        break;
    case 131:
    case 132:
        bench.device.setAppliedPressure(HartCodec::toFloat(request, 1)); // the default unit is mbar
        break;
    case 43:
    case 148:
        bench.device.setAppliedPressure(0.0);
        break;
    default:
        break;
    }
}

} // namespace

class TstDescriptionCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyRecordAgreesWithTheDevice_data()
    {
        QTest::addColumn<QString>("record");
        for (const RecordDefinition &record : description().records)
            QTest::newRow(qPrintable(record.name)) << record.name;
    }
    void everyRecordAgreesWithTheDevice()
    {
        QFETCH(QString, record);
        const RecordDefinition &r = *description().findRecord(record);
        DeviceBench bench;
        ItemStore store(description());

        const std::optional<int> needed = bench.device.minimumRequestBytes(quint8(r.command));
        QVERIFY2(needed,
                 qPrintable(QStringLiteral("command %1 is not implemented").arg(r.command)));
        QString error;
        const std::optional<QByteArray> request = RecordCodec::encodeRequest(r, store, &error);
        QVERIFY2(request, qPrintable(error));
        QCOMPARE(request->size(), width(r.request));
        QVERIFY2(request->size() >= *needed,
                 qPrintable(QStringLiteral("%1 request bytes, the device needs %2")
                                .arg(request->size())
                                .arg(*needed)));

        prepare(bench, r.command, *request);
        const LinkProbe::Outcome outcome = bench.command(quint8(r.command), *request);
        QCOMPARE(outcome.kind, LinkProbe::Kind::Response);
        const int code = outcome.response.responseCode();
        QVERIFY2(code == rc::Success || code == rc::SetToNearest || code == rc::SpanTooSmall,
                 qPrintable(QStringLiteral("response code %1 to the default request").arg(code)));
        const QByteArray data = outcome.response.data();
        QVERIFY2(data.size() >= width(r.response),
                 qPrintable(QStringLiteral("%1 response bytes, the record reads %2")
                                .arg(data.size())
                                .arg(width(r.response))));

        // Every field lands in its item, and a coded field holds a code of its table.
        QList<int> expected;
        for (const FieldDefinition &field : r.response) {
            if (!field.item.isEmpty())
                expected << store.indexOf(field.item);
        }
        QCOMPARE(RecordCodec::decodeResponse(r, data, store), expected);
        for (const int index : expected) {
            const QList<EnumerationEntry> *table = store.enumeration(index);
            if (!table)
                continue;
            const double value = store.value(index, true).number();
            const bool known = std::any_of(table->begin(), table->end(),
                                           [value](const auto &e) { return e.value == value; });
            QVERIFY2(known, qPrintable(QStringLiteral("%1 = %2 is not in its table")
                                           .arg(store.definition(index).name)
                                           .arg(value)));
        }
    }

    // A real device may answer what the simulator never does. Whatever a
    // float field carries, the item's string form (what dataset files hold)
    // reads back as the same value.
    void floatsFromTheWireReadBackAsThemselves_data()
    {
        QTest::addColumn<QByteArray>("bits");
        QTest::newRow("NaN") << QByteArray::fromHex("7FC00000");
        QTest::newRow("NaN with the sign bit") << QByteArray::fromHex("FFFFFFFF");
        QTest::newRow("infinite") << QByteArray::fromHex("7F800000");
        QTest::newRow("minus infinite") << QByteArray::fromHex("FF800000");
        QTest::newRow("smallest denormal") << QByteArray::fromHex("00000001");
        QTest::newRow("largest") << QByteArray::fromHex("7F7FFFFF");
    }
    void floatsFromTheWireReadBackAsThemselves()
    {
        QFETCH(QByteArray, bits);
        ItemStore store(description());
        const RecordDefinition &record = *description().findRecord(QStringLiteral("WriteDamping"));
        const int index = store.indexOf(QStringLiteral("filterTime"));
        QCOMPARE(RecordCodec::decodeResponse(record, bits, store), QList<int>{index});
        ItemValue again;
        QVERIFY2(again.parseExact(store.definition(index), store.text(index, true)),
                 qPrintable(store.text(index, true)));
        const double read = store.value(index, true).number();
        QVERIFY(again.number() == read || (std::isnan(again.number()) && std::isnan(read)));
    }
};

VEX_TEST(TstDescriptionCommands)
#include "tst_DescriptionCommands.moc"
