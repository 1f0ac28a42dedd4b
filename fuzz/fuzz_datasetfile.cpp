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

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    description();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ItemStore store(description());
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
