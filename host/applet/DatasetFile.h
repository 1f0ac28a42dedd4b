#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class DeviceDescription;
class ItemStore;

// Dataset files: every dataset value of a device instance with its item name
// and type, and the device type and revision, as versioned JSON. A save
// replaces the file only once it is written whole; a load checks the whole
// file before it changes a single value.
class DatasetFile
{
public:
    static constexpr int FormatVersion = 1;

    struct Result
    {
        bool ok = false;
        QString error;        // names the file and what is wrong
        QStringList warnings; // items skipped on load
    };

    // Called after each chunk written while saving (tests stop a save half-way).
    using ChunkHook = std::function<void(qint64 written, qint64 total)>;

    static Result save(const QString &path, const ItemStore &store,
                       const DeviceDescription &description, const ChunkHook &hook = {});
    static Result load(const QString &path, ItemStore &store, const DeviceDescription &description);
    // The same for the bytes of a file; path only names it in messages.
    static Result loadBytes(const QByteArray &bytes, const QString &path, ItemStore &store,
                            const DeviceDescription &description);
};
