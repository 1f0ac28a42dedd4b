#pragma once

#include <QFileDevice>
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
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    struct Result
    {
        bool ok = false;
        QString error;       // names the file and what is wrong
        QStringList skipped; // names of unknown items left out on load
    };

    // Where tests step into a save: after each chunk written (to stop a save
    // half-way) and in place of the final flush (to fail it as a full disk does).
    struct SaveSeam
    {
        std::function<void(qint64 written, qint64 total)> afterChunk;
        std::function<bool(QFileDevice &file)> flush;
    };

    static Result save(const QString &path, const ItemStore &store,
                       const DeviceDescription &description, const SaveSeam &seam = {});
    static Result load(const QString &path, ItemStore &store, const DeviceDescription &description);
    // The same for the bytes of a file; path only names it in messages.
    static Result loadBytes(const QByteArray &bytes, const QString &path, ItemStore &store,
                            const DeviceDescription &description);
};
