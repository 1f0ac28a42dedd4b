#include "HistoryService.h"

#include "ChangeNames.h"
#include "ConnectionController.h"
#include "DescriptionTexts.h"
#include "DeviceInstance.h"
#include "HistoryLog.h"
#include "HistoryRecorder.h"
#include "HistoryUplink.h"
#include "HostResult.h"
#include "HostTexts.h"
#include "ItemStore.h"
#include "MessageBoxSeam.h"
#include "RangeUnits.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"

#include <QDir>
#include <QLocale>

namespace {

// A value written past the device's items (by the generic view), in the
// user's format as the dialogs show theirs.
QString shownForm(ChangeNames::Item::Form form, const QString &value)
{
    const QLocale locale;
    switch (form) {
    case ChangeNames::Item::Form::Number: {
        bool number = false;
        value.toDouble(&number);
        return number ? QString(value).replace(QLatin1Char('.'), locale.decimalPoint()) : value;
    }
    case ChangeNames::Item::Form::Date: {
        const QDate date = QDate::fromString(value, Qt::ISODate);
        return date.isValid() ? locale.toString(date, QLocale::ShortFormat) : value;
    }
    case ChangeNames::Item::Form::Text:
        break;
    }
    return value;
}

} // namespace

HistoryService::HistoryService(DeviceInstance &instance, const QString &databasePath,
                               QObject *parent)
    : QObject(parent), m_instance(&instance),
      m_database(HistoryDatabase::isServerLocation(databasePath) ? HistoryDatabase::defaultPath()
                                                                 : databasePath)
{
    if (HistoryDatabase::isServerLocation(databasePath)) {
        m_database.setQueueForServer(true);
        m_uplink = std::make_unique<HistoryUplink>(m_database.path(), databasePath);
    }
    m_recorder = std::make_unique<HistoryRecorder>(*instance.manager(), instance.description(),
                                                   m_log, m_snapshots);
    m_recorder->setStoreHandler([this] { openDatabase(); });
    m_recorder->setChangedHandler([this] { stored(); });
    m_recorder->setProblemText([this] { return problemText(); });
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { m_recorder->storeWaiting(); });
    m_recorder->setConnectionHandler([this] { Q_EMIT connectionChanged(); });
    // Only the compared items concern the windows (measured values change
    // every second).
    const ItemStore &store = instance.manager()->store();
    for (const CompareItem &item : CompareItems::all()) {
        if (const int index = store.indexOf(QLatin1String(item.item)); index >= 0)
            m_compared.insert(index);
    }
    m_recorder->setValueHandler([this](int index) {
        if (m_compared.contains(index))
            Q_EMIT valuesChanged();
    });
    instance.engine().setWriteJournal(m_recorder.get());
    connect(&instance.engine(), &SequenceEngine::sequenceEnded, this,
            &HistoryService::sequenceEnded);
}

HistoryService::~HistoryService()
{
    if (m_instance)
        m_instance->engine().setWriteJournal(nullptr);
}

// Opened once: a file that was refused stays refused for this run.
void HistoryService::openDatabase()
{
    if (m_database.status() != HistoryDatabase::Status::Closed)
        return;
    if (m_database.open() != HistoryDatabase::Status::Open)
        qCInfo(lcHistory) << "history not kept:" << m_database.path() << m_database.detail();
}

// After each store: what waits is tried again until it is in, and a file made
// anew (the old one deleted or replaced) is told.
void HistoryService::stored()
{
    if (m_uplink)
        m_uplink->sendSoon();
    if (m_recorder->hasWaiting()) {
        if (!m_retry.isActive())
            m_retry.start();
    } else {
        m_retry.stop();
    }
    if (m_database.takeRecreated())
        MessageBoxSeam::show(nullptr, QMessageBox::Warning, QString(),
                             HostTexts::text(HostTexts::HistoryRecreated).arg(m_database.path()));
    Q_EMIT historyChanged();
}

// Why the history cannot keep what it was given; nothing for a database that
// another program holds (what waits is stored a moment later).
QString HistoryService::problemText() const
{
    const QString path = QDir::toNativeSeparators(m_database.path());
    if (m_database.status() == HistoryDatabase::Status::ReadOnly)
        return HostTexts::text(HostTexts::HistoryReadOnly).arg(path);
    switch (m_database.lastFailure()) {
    case HistoryDatabase::Failure::Busy:
        return QString();
    case HistoryDatabase::Failure::Full:
        return HostTexts::text(HostTexts::HistoryDiskFull).arg(path);
    case HistoryDatabase::Failure::ReadOnly:
        return HostTexts::text(HostTexts::HistoryReadOnly).arg(path);
    case HistoryDatabase::Failure::None:
    case HistoryDatabase::Failure::Unreachable:
    case HistoryDatabase::Failure::Other:
        break;
    }
    return HostTexts::text(HostTexts::HistoryNotWritten).arg(path, m_database.detail());
}

HistoryDatabase &HistoryService::database()
{
    openDatabase();
    return m_database;
}

ChangeLog &HistoryService::changeLog()
{
    openDatabase();
    return m_log;
}

SnapshotStore &HistoryService::snapshots()
{
    openDatabase();
    return m_snapshots;
}

DeviceIdentity HistoryService::identity() const
{
    return DeviceIdentity::fromDevice(m_instance->manager()->store());
}

QString HistoryService::tag() const
{
    return DeviceIdentity::tagFromDevice(m_instance->manager()->store());
}

bool HistoryService::isConnected() const
{
    return m_instance->connection().status() == ConnectionController::Connected;
}

DatasetMatch HistoryService::datasetMatch() const
{
    return DatasetMatch::of(m_instance->manager()->store(), isConnected());
}

QString HistoryService::sensorLimitsVerdict() const
{
    const ItemStore &store = m_instance->manager()->store();
    const QString item = QStringLiteral("InCompatibleDataset");
    const int index = store.indexOf(item);
    return index < 0 ? QString() : shownValue(item, store.text(index, false));
}

bool HistoryService::deviceReadComplete() const
{
    const ItemStore &store = m_instance->manager()->store();
    for (const CompareItem &item : CompareItems::all()) {
        const int index = store.indexOf(QLatin1String(item.item));
        if (index >= 0 && !m_recorder->readItems().contains(index))
            return false;
    }
    return true;
}

DatasetComparison::Values HistoryService::deviceValues() const
{
    const ItemStore &store = m_instance->manager()->store();
    DatasetComparison::Values values;
    for (int index : m_recorder->readItems())
        values.insert(store.definition(index).name, store.text(index, true));
    return values;
}

DatasetComparison::Values HistoryService::datasetValues() const
{
    const ItemStore &store = m_instance->manager()->store();
    DatasetComparison::Values values;
    for (int index = 0; index < store.count(); ++index) {
        if (store.definition(index).dataset)
            values.insert(store.definition(index).name, store.text(index, false));
    }
    return values;
}

QList<DatasetComparison::Row> HistoryService::compareWithDataset() const
{
    return DatasetComparison::compare(m_instance->manager()->store(), deviceValues(),
                                      datasetValues());
}

std::optional<QList<DatasetComparison::Row>> HistoryService::compareWithSnapshot(qint64 id)
{
    const auto snapshot = snapshots().load(id);
    if (!snapshot)
        return std::nullopt;
    DatasetComparison::Values values;
    for (auto it = snapshot->values.begin(); it != snapshot->values.end(); ++it)
        values.insert(it.key(), it.value());
    return DatasetComparison::compare(m_instance->manager()->store(), deviceValues(), values);
}

qint32 HistoryService::readDevice()
{
    return m_instance->engine().start(QLatin1String(ReadSequence));
}

qint32 HistoryService::writeValues(const QHash<QString, QString> &values, const QString &reason)
{
    const ItemStore &store = m_instance->manager()->store();
    // A range value written with a new unit takes the record's other range
    // value along: it must keep its pressure, not its number.
    const DatasetComparison::Values complete = RangeUnits::keepPressures(values, deviceValues());
    QHash<int, ItemValue> parsed;
    for (auto it = complete.begin(); it != complete.end(); ++it) {
        const int index = store.indexOf(it.key());
        if (index < 0)
            return HostResult::UnknownItem;
        ItemValue value = store.value(index, false);
        if (!value.parseExact(store.definition(index), it.value()) ||
            !store.refusal(index, value).isEmpty())
            return HostResult::BadValue;
        parsed.insert(index, value);
    }
    m_recorder->setNextReason(reason);
    const qint32 rc = m_instance->engine().startWrite(QLatin1String(WriteSequence),
                                                      QLatin1String(DownloadSequence), parsed);
    if (rc != HostResult::Ok)
        m_recorder->setNextReason(QString());
    return rc;
}

void HistoryService::takeIntoDataset(const QStringList &items)
{
    ItemStore &store = m_instance->manager()->store();
    for (const QString &item : items) {
        const int index = store.indexOf(item);
        if (index >= 0 && m_recorder->readItems().contains(index))
            store.adjust(index);
    }
}

QString HistoryService::shownValue(const QString &item, const QString &value,
                                   const QString &unit) const
{
    const ItemStore &store = m_instance->manager()->store();
    const int index = store.indexOf(item);
    const ChangeNames::Item name = ChangeNames::item(item).value_or(ChangeNames::Item());
    const QString text =
        index < 0 || value.isEmpty()
            ? shownForm(name.form, value.trimmed())
            : DatasetComparison::shownValue(store, index, value, name.hex, QLocale());
    const QString shownUnit = DescriptionTexts::translated(unit);
    return shownUnit.isEmpty() || text.isEmpty() ? text : text + QLatin1Char(' ') + shownUnit;
}

qint64 HistoryService::changesStarting(const QList<ChangeEntry> &entries, QString *problem)
{
    return m_recorder->entriesStarting(entries, problem);
}

void HistoryService::changesEnded(qint64 token, DeviceWriteJournal::Outcome outcome,
                                  int responseCode)
{
    m_recorder->writeEnded(token, outcome, responseCode);
}

bool HistoryService::isItem(const QString &name) const
{
    return m_instance->manager()->store().indexOf(name) >= 0;
}

qint64 HistoryService::lastSnapshot() const
{
    return m_recorder->lastSnapshot();
}

void HistoryService::sequenceEnded(const QString &name, bool completed)
{
    if (name.compare(QLatin1String(ReadSequence), Qt::CaseInsensitive) == 0)
        Q_EMIT deviceRead(completed);
    else if (name.compare(QLatin1String(WriteSequence), Qt::CaseInsensitive) == 0)
        Q_EMIT writeFinished(completed);
}
