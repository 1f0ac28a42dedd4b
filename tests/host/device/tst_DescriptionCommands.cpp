// The device description and the simulated transmitter are written apart
// (the simulator stands in for a real device and never reads the
// description); this walks every record of the description through the
// simulator so that the two cannot drift.

#include "DeviceBench.h"
#include "DeviceDescription.h"
#include "ItemStore.h"
#include "RecordCodec.h"
#include "TestRegistry.h"
#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

#include <QTest>

namespace rc = hart::response;

namespace {

const DeviceDescription &description()
{
    static const DeviceDescription d = [] {
        QString error;
        auto loaded =
            DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
        if (!loaded)
            qFatal("%s", qPrintable(error));
        return *loaded;
    }();
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
};

VEX_TEST(TstDescriptionCommands)
#include "tst_DescriptionCommands.moc"
