#include "DatasetFile.h"

#include "DeviceDescription.h"
#include "HostTexts.h"
#include "ItemStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

const QLatin1String FormatName("vex-dataset");
constexpr qint64 ChunkSize = 4096;

DatasetFile::Result failure(const QString &path, const QString &what)
{
    DatasetFile::Result result;
    result.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), what);
    return result;
}

// Gives a save up: the previous file stays as it was.
DatasetFile::Result cancelled(QSaveFile &file, const QString &path, QString reason = {})
{
    if (reason.isEmpty() && file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (reason.isEmpty())
        reason = HostTexts::text(HostTexts::NotWrittenWhole);
    file.cancelWriting();
    return failure(path, reason);
}

// Some file systems (network, delayed allocation) refuse the bytes only when
// they are written out; one without sync (EINVAL) has nothing to refuse.
QString syncProblem(const QSaveFile &file)
{
    if (::fsync(file.handle()) == 0 || errno == EINVAL)
        return QString();
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray serialise(const ItemStore &store, const DeviceDescription &description)
{
    QJsonArray items;
    for (int i = 0; i < store.count(); ++i) {
        const ItemDefinition &d = store.definition(i);
        if (!d.dataset)
            continue;
        items.append(QJsonObject{{QStringLiteral("name"), d.name},
                                 {QStringLiteral("type"), DeviceDescription::typeName(d.type)},
                                 {QStringLiteral("value"), store.text(i, false)}});
    }
    const QJsonObject root{
        {QStringLiteral("format"), FormatName},
        {QStringLiteral("version"), DatasetFile::FormatVersion},
        {QStringLiteral("deviceType"), description.deviceType},
        {QStringLiteral("deviceRevision"), description.deviceRevision},
        {QStringLiteral("saved"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
        {QStringLiteral("items"), items}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

struct PendingValue
{
    int index;
    ItemValue value;
};

} // namespace

DatasetFile::Result DatasetFile::save(const QString &path, const ItemStore &store,
                                      const DeviceDescription &description, const SaveSeam &seam)
{
    const QByteArray bytes = serialise(store, description);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    for (qint64 at = 0; at < bytes.size(); at += ChunkSize) {
        const qint64 n = std::min(ChunkSize, bytes.size() - at);
        if (file.write(bytes.constData() + at, n) != n)
            return cancelled(file, path);
        if (seam.afterChunk)
            seam.afterChunk(at + n, bytes.size());
    }
    // A small dataset sits in the buffer until the flush, and commit() can
    // report success although that last write failed (a full disk): the old
    // file is replaced only when every byte is known to be on the disk.
    const bool flushed = seam.flush ? seam.flush(file) : file.flush();
    if (!flushed || file.error() != QFileDevice::NoError)
        return cancelled(file, path);
    if (const QString problem = syncProblem(file); !problem.isEmpty())
        return cancelled(file, path, problem);
    if (!file.commit())
        return failure(path, file.errorString());
    Result result;
    result.ok = true;
    return result;
}

DatasetFile::Result DatasetFile::load(const QString &path, ItemStore &store,
                                      const DeviceDescription &description)
{
    // A device, a pipe or a folder has no size to check and may never end
    // (or never open): only a regular file can be a dataset.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return failure(path, HostTexts::text(HostTexts::NotRegularFile));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(path, file.errorString());
    const QString tooLarge = HostTexts::text(HostTexts::TooLarge);
    if (file.size() > MaxFileSize)
        return failure(path, tooLarge);
    // The size a file claims may be wrong (files of /proc claim 0): read one
    // byte past the limit at most.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return failure(path, tooLarge);
    return loadBytes(bytes, path, store, description);
}

DatasetFile::Result DatasetFile::loadBytes(const QByteArray &bytes, const QString &path,
                                           ItemStore &store, const DeviceDescription &description)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failure(path, HostTexts::text(HostTexts::NotDatasetAt)
                                 .arg(parseError.errorString())
                                 .arg(parseError.offset));
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != FormatName)
        return failure(path, HostTexts::text(HostTexts::NotDataset));
    const int version = root.value(QLatin1String("version")).toInt(-1);
    if (version < 1)
        return failure(path, HostTexts::text(HostTexts::UnknownVersion));
    const QString deviceType = root.value(QLatin1String("deviceType")).toString();
    if (deviceType != description.deviceType)
        return failure(
            path,
            HostTexts::text(HostTexts::OtherDeviceType).arg(deviceType, description.deviceType));
    if (!root.value(QLatin1String("items")).isArray())
        return failure(path, HostTexts::text(HostTexts::NoValues));

    // Check everything first; the dataset changes only when the whole file is good.
    Result result;
    QList<PendingValue> pending;
    QList<int> seen;
    for (const QJsonValue &entry : root.value(QLatin1String("items")).toArray()) {
        const QJsonObject o = entry.toObject();
        const QString name = o.value(QLatin1String("name")).toString();
        const int index = store.indexOf(name);
        if (index < 0 || !store.definition(index).dataset) {
            result.skipped << name;
            continue;
        }
        const ItemDefinition &d = store.definition(index);
        if (o.value(QLatin1String("type")).toString() != DeviceDescription::typeName(d.type))
            return failure(path, HostTexts::text(HostTexts::WrongType)
                                     .arg(name, o.value(QLatin1String("type")).toString(),
                                          DeviceDescription::typeName(d.type)));
        if (!o.value(QLatin1String("value")).isString())
            return failure(path, HostTexts::text(HostTexts::NoValue).arg(name));
        const QString text = o.value(QLatin1String("value")).toString();
        ItemValue value = store.value(index, false);
        if (!value.parseExact(d, text))
            return failure(path, HostTexts::text(HostTexts::CannotHold).arg(name, text));
        if (const QString refusal = store.refusal(index, value); !refusal.isEmpty())
            return failure(path, refusal);
        if (seen.contains(index))
            return failure(path, HostTexts::text(HostTexts::Twice).arg(name));
        seen.append(index);
        pending.append({index, value});
    }
    for (const PendingValue &p : pending)
        store.takeOverDataset(p.index, p.value, true);
    result.ok = true;
    return result;
}
