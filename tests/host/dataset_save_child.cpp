// Starts saving a large dataset to the file named by argv[1] and stops for
// good half-way, so that a test can kill it in the middle of the save.

#include "DatasetFile.h"
#include "DeviceDescription.h"
#include "ItemStore.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    DeviceDescription description;
    description.deviceType = QStringLiteral("test");
    for (int i = 0; i < 2000; ++i) {
        ItemDefinition item;
        item.name = QStringLiteral("value%1").arg(i);
        item.type = ItemType::Float;
        item.defaultValue = i * 1.5;
        description.items.append(item);
    }
    ItemStore store(description);
    DatasetFile::SaveSeam seam;
    seam.afterChunk = [](qint64 written, qint64 total) {
        if (written * 2 >= total) {
            std::puts("half");
            std::fflush(stdout);
            for (;;)
                QThread::sleep(60);
        }
    };
    DatasetFile::save(QString::fromLocal8Bit(argv[1]), store, description, seam);
    return 0;
}
