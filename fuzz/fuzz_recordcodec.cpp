// Feeds arbitrary response bytes to the record codec, for a record the first
// byte picks from the built-in description. Whatever a device answers, the
// shadow values it fills must be values their items can carry, and a record
// whose request is built from them must come out at its field width.

#include "DeviceDescription.h"
#include "ItemStore.h"
#include "RecordCodec.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

namespace {

const DeviceDescription &description()
{
    static const DeviceDescription d = [] {
        QString error;
        auto loaded =
            DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
        if (!loaded)
            std::abort();
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

// One store for every input (building one takes longer than a run), put back
// after each input.
ItemStore &itemStore()
{
    static ItemStore store(description());
    return store;
}

void restore(ItemStore &store, const QList<int> &items)
{
    for (const int index : items) {
        const ItemValue initial = ItemValue::initial(store.definition(index));
        store.writeShadow(index, initial);
        store.takeOverDataset(index, initial, false);
    }
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    itemStore();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QList<RecordDefinition> &records = description().records;
    const RecordDefinition &record = records[data[0] % records.size()];
    const QByteArrayView response(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    ItemStore &store = itemStore();
    const QList<int> written = RecordCodec::decodeResponse(record, response, store);

    // Only fields whose bytes all arrived are written, in field order.
    int offset = 0;
    qsizetype next = 0;
    for (const FieldDefinition &field : record.response) {
        offset += field.size;
        if (field.item.isEmpty() || offset > response.size())
            continue;
        const int index = store.indexOf(field.item);
        if (!written.contains(index))
            continue; // a value the item refuses is left alone
        check(next < written.size());
        ++next;
    }
    check(next == written.size());

    // Every value taken reads back as itself and can go out again.
    for (const int index : written) {
        ItemValue again;
        check(again.parseExact(store.definition(index), store.text(index, true)));
        store.adjust(index);
    }
    for (const RecordDefinition &other : records) {
        QString error;
        const std::optional<QByteArray> request = RecordCodec::encodeRequest(other, store, &error);
        check(!request || request->size() == width(other.request));
        check(request || !error.isEmpty());
    }
    restore(store, written);
    return 0;
}
