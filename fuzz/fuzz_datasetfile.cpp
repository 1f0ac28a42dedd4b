// Feeds arbitrary bytes to the dataset file loader. A file that is refused
// must leave every dataset value as it was; one that is taken must hold only
// values the items can carry.

#include "DatasetFile.h"
#include "DeviceDescription.h"
#include "ItemStore.h"

#include <QCoreApplication>
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

QStringList snapshot(const ItemStore &store)
{
    QStringList texts;
    for (int i = 0; i < store.count(); ++i)
        texts << store.text(i, false);
    return texts;
}

// One store for every input (building one takes longer than a run), with
// its initial values put back before each input.
ItemStore &itemStore()
{
    static ItemStore store(description());
    return store;
}

void restore(ItemStore &store)
{
    static const QStringList initial = snapshot(store);
    for (int i = 0; i < store.count(); ++i) {
        if (store.text(i, false) != initial[i])
            store.takeOverDataset(i, ItemValue::initial(store.definition(i)), false);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    restore(itemStore());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ItemStore &store = itemStore();
    restore(store);
    const QStringList before = snapshot(store);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DatasetFile::Result result =
        DatasetFile::loadBytes(bytes, QStringLiteral("fuzz.vexds"), store, description());
    if (!result.ok && snapshot(store) != before)
        std::abort();
    if (result.ok) {
        // Every value now in the dataset reads back as itself.
        for (int i = 0; i < store.count(); ++i) {
            ItemValue again;
            if (!again.parseExact(store.definition(i), store.text(i, false)))
                std::abort();
        }
    }
    return 0;
}
