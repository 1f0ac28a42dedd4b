#include "DatasetFileService.h"

#include "DatasetFile.h"
#include "FileChooser.h"
#include "HostResult.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "MessageBoxSeam.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString FileNameItem = QStringLiteral("&&private_PM&&FileName");
const QString SourceItem = QStringLiteral("&&private&&CurrentSource");
const QString TagItem = QStringLiteral("&&private_PM&&TagName");
constexpr qint32 Cancelled = HostResult::Refused;
} // namespace

DatasetFileService::DatasetFileService(std::shared_ptr<const DeviceDescription> description,
                                       ItemStore &store, QObject *parent)
    : QObject(parent), m_description(std::move(description)), m_store(store)
{
}

QString DatasetFileService::fileName() const
{
    const int index = m_store.indexOf(FileNameItem);
    return index < 0 ? QString() : m_store.text(index, false);
}

void DatasetFileService::setText(const QString &item, const QString &value)
{
    const int index = m_store.indexOf(item);
    if (index < 0)
        return;
    ItemValue v = m_store.value(index, false);
    if (v.parse(m_store.definition(index), value))
        m_store.writeShadow(index, v);
}

qint32 DatasetFileService::loadFromFile()
{
    const QString path =
        FileChooser::current().openFileName(nullptr, HostTexts::text(HostTexts::OpenDatasetTitle),
                                            HostTexts::text(HostTexts::DatasetFilter));
    return path.isEmpty() ? Cancelled : loadFile(path);
}

qint32 DatasetFileService::loadFile(const QString &path)
{
    const DatasetFile::Result result = DatasetFile::load(path, m_store, *m_description);
    if (!result.ok) {
        MessageBoxSeam::show(nullptr, QMessageBox::Critical,
                             HostTexts::text(HostTexts::OpenDatasetTitle),
                             HostTexts::text(HostTexts::NotLoaded).arg(result.error));
        return HostResult::Refused;
    }
    if (!result.skipped.isEmpty())
        MessageBoxSeam::show(
            nullptr, QMessageBox::Information, HostTexts::text(HostTexts::OpenDatasetTitle),
            HostTexts::text(HostTexts::NewerDescription).arg(skippedSummary(result.skipped)));
    setText(FileNameItem, path);
    setText(SourceItem, QStringLiteral("1"));
    return HostResult::Ok;
}

QString DatasetFileService::skippedSummary(const QStringList &names)
{
    // A file may hold any number of unknown names of any length: the user
    // reads the count and a few of them.
    constexpr int Shown = 5;
    constexpr int NameLength = 60;
    QStringList lines;
    for (const QString &name : names.mid(0, Shown)) {
        const QString shown =
            name.size() > NameLength ? name.left(NameLength - 1) + QChar(0x2026) : name;
        lines << QStringLiteral("\"%1\"").arg(shown);
    }
    if (names.size() > Shown)
        lines
            << HostTexts::text(HostTexts::MoreLeftOut).arg(names.size() - Shown).arg(names.size());
    return lines.join(QLatin1Char('\n'));
}

qint32 DatasetFileService::save()
{
    const QString current = fileName();
    return current.isEmpty() ? saveAs() : saveFile(current);
}

qint32 DatasetFileService::saveAs()
{
    const QString current = fileName();
    const QString path = FileChooser::current().saveFileName(
        nullptr, HostTexts::text(HostTexts::SaveDatasetAsTitle),
        current.isEmpty() ? suggestedName() : current, HostTexts::text(HostTexts::DatasetFilter));
    return path.isEmpty() ? Cancelled : saveFile(path);
}

// A dataset without a file is offered under its tag, as a file name can hold it.
QString DatasetFileService::suggestedName() const
{
    const int index = m_store.indexOf(TagItem);
    QString tag = index < 0 ? QString() : m_store.text(index, false).trimmed();
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    tag.replace(unsafe, QStringLiteral("_"));
    while (tag.startsWith(QLatin1Char('.')))
        tag.remove(0, 1);
    return tag.isEmpty() ? QString() : tag + QStringLiteral(".vexds");
}

qint32 DatasetFileService::saveFile(const QString &path)
{
    const DatasetFile::Result result = DatasetFile::save(path, m_store, *m_description);
    if (!result.ok) {
        MessageBoxSeam::show(nullptr, QMessageBox::Critical,
                             HostTexts::text(HostTexts::SaveDatasetTitle),
                             HostTexts::text(HostTexts::NotSaved).arg(result.error));
        return HostResult::Refused;
    }
    setText(FileNameItem, path);
    return HostResult::Ok;
}
