#include "HistoryRecorder.h"

#include "ChangeLog.h"
#include "ChangeNames.h"
#include "DatasetComparison.h"
#include "DeviceDescription.h"
#include "DeviceIdentity.h"
#include "HistoryLog.h"
#include "ItemStore.h"
#include "SnapshotStore.h"
#include "VexAppletItemManager.h"

#include <QDateTime>

#include <pwd.h>
#include <unistd.h>

namespace {
// HART's unit code for the user's own unit, whose text the device keeps apart.
constexpr int FreeUnitCode = 253;
const QString FreeUnitText = QStringLiteral("freeUnitText");

// The host decodes the data of these answers only: success and the two
// warnings that carry data.
bool dataValid(quint8 responseCode)
{
    return responseCode == 0 || responseCode == 8 || responseCode == 14;
}
} // namespace

HistoryRecorder::HistoryRecorder(VexAppletItemManager &manager,
                                 const DeviceDescription &description, ChangeLog &log,
                                 SnapshotStore &snapshots)
    : m_store(manager.store()), m_log(log), m_snapshots(snapshots), m_user(loginName()),
      m_connectIndex(manager.store().indexOf(QStringLiteral("&&private&&Connect"))),
      m_self(std::make_shared<HistoryRecorder *>(this))
{
    for (const RecordDefinition &record : description.records) {
        const int response = m_store.indexOf(QStringLiteral("&&Record_Response&&") + record.name);
        QList<ResponseField> fields;
        int end = 0;
        for (const FieldDefinition &field : record.response) {
            end += field.size;
            const int item = field.item.isEmpty() ? -1 : m_store.indexOf(field.item);
            if (item >= 0 && !field.isConstant && !m_store.definition(item).dataset)
                fields.append({item, end});
        }
        if (response >= 0 && !fields.isEmpty())
            m_responses.insert(response, fields);
    }
    // The manager keeps its observers for its whole life.
    std::weak_ptr<HistoryRecorder *> self = m_self;
    manager.addObserver([self](int index, bool shadow, qint32) {
        if (const auto recorder = self.lock())
            (*recorder)->itemChanged(index, shadow);
    });
}

HistoryRecorder::~HistoryRecorder() = default;

QString HistoryRecorder::loginName()
{
    for (const char *variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    // A session without them (a service, a container) still has an account.
    if (const passwd *account = getpwuid(getuid()); account && account->pw_name)
        return QString::fromLocal8Bit(account->pw_name);
    return QStringLiteral("?");
}

void HistoryRecorder::itemChanged(int index, bool shadow)
{
    if (index == m_connectIndex) {
        if (m_store.value(index, false).number() == 0) {
            m_read.clear();
            m_deviceValues.clear();
        }
        if (m_connection)
            m_connection();
        return;
    }
    if (const auto response = m_responses.constFind(index); response != m_responses.constEnd()) {
        // Heard on both copies: once is enough.
        if (shadow)
            responseArrived(*response, index);
        return;
    }
    if (!m_store.definition(index).dataset)
        return;
    if (shadow)
        m_read.insert(index);
    if (m_value)
        m_value(index);
}

// The response item is written after the values it carries were decoded:
// they are the device's now, as far as its bytes reached.
void HistoryRecorder::responseArrived(const QList<ResponseField> &fields, int responseIndex)
{
    const QByteArray &response = m_store.value(responseIndex, true).bytes();
    // Command number, response code, device status, then the data.
    if (response.size() < 3 || !dataValid(quint8(response[1])))
        return;
    const qsizetype data = response.size() - 3;
    for (const ResponseField &field : fields) {
        if (field.end <= data)
            m_deviceValues.insert(field.item, m_store.text(field.item, false));
    }
}

std::optional<QString> HistoryRecorder::deviceValue(int index, const QString &before) const
{
    if (index < 0)
        return std::nullopt;
    if (m_store.definition(index).dataset)
        return m_read.contains(index) ? std::optional<QString>(before) : std::nullopt;
    const auto known = m_deviceValues.constFind(index);
    return known == m_deviceValues.constEnd() ? std::nullopt : std::optional<QString>(*known);
}

// The unit of a value as written: a fixed one, or the unit item's value on
// the same side of the same request, else the device's (the dataset's when
// the device's was not read).
QString HistoryRecorder::unitOf(const QString &item, const DeviceWrite &write, bool before) const
{
    const auto name = ChangeNames::item(item);
    if (!name || !name->fixedUnit.isEmpty() || name->unitItem.isEmpty())
        return name ? name->fixedUnit : QString();
    const auto valueOf = [&](const QString &unitItem) {
        for (const DeviceWrite::Value &v : write.values) {
            if (v.item.compare(unitItem, Qt::CaseInsensitive) == 0)
                return before ? v.before : v.after;
        }
        const int index = m_store.indexOf(unitItem);
        return index < 0 ? QString() : m_store.text(index, m_read.contains(index));
    };
    const int unitIndex = m_store.indexOf(name->unitItem);
    const QList<EnumerationEntry> *units = unitIndex < 0 ? nullptr : m_store.enumeration(unitIndex);
    if (!units)
        return QString();
    bool ok = false;
    const int code = valueOf(name->unitItem).toInt(&ok);
    if (ok && code == FreeUnitCode && m_store.indexOf(FreeUnitText) >= 0)
        return valueOf(FreeUnitText).trimmed();
    for (const EnumerationEntry &unit : *units) {
        if (ok && unit.value == code)
            return unit.text;
    }
    return QString();
}

void HistoryRecorder::addValue(QList<ChangeEntry> &entries, ChangeEntry entry, const QString &item,
                               const std::optional<QString> &before, const QString &after,
                               const DeviceWrite &write) const
{
    const int index = m_store.indexOf(item);
    if (index >= 0) {
        const ItemDefinition &definition = m_store.definition(index);
        // A setting the request carries as the device has it changes nothing;
        // an action (a trim, a balance point, a fixed current) is done again
        // each time it is sent.
        if (before && definition.dataset && DatasetComparison::equal(definition, *before, after))
            return;
        entry.item = definition.name;
    } else {
        entry.item = item;
    }
    entry.oldValue = before;
    entry.newValue = after;
    entry.oldUnit = before ? unitOf(item, write, true) : QString();
    entry.newUnit = unitOf(item, write, false);
    entries.append(entry);
}

void HistoryRecorder::beforeStore() const
{
    if (m_beforeStore)
        m_beforeStore();
}

void HistoryRecorder::changed() const
{
    if (m_changed)
        m_changed();
}

QString HistoryRecorder::writesStarting(const QString &sequence)
{
    const QString reason = m_nextReason.isEmpty() ? sequence : m_nextReason;
    m_nextReason.clear();
    beforeStore();
    Snapshot snapshot;
    snapshot.device = DeviceIdentity::fromDevice(m_store).key();
    snapshot.tag = DeviceIdentity::tagFromDevice(m_store);
    snapshot.taken = QDateTime::currentDateTimeUtc();
    snapshot.user = m_user;
    snapshot.reason = reason;
    for (int index : m_read)
        snapshot.values.insert(m_store.definition(index).name, m_store.text(index, true));
    // What waits goes first, so that the history keeps its order.
    const qint64 id = storeWaiting() ? m_snapshots.store(snapshot) : 0;
    QString problem;
    if (id != 0) {
        m_lastSnapshot = id;
    } else {
        m_waitingSnapshots.append(snapshot);
        problem = problemText();
    }
    changed();
    return problem;
}

qint64 HistoryRecorder::writeStarting(const DeviceWrite &write, QString *problem)
{
    ChangeEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.user = m_user;
    entry.device = DeviceIdentity::fromDevice(m_store).key();
    entry.tag = DeviceIdentity::tagFromDevice(m_store);
    entry.command = write.command;
    entry.sequence = write.sequence;
    QList<ChangeEntry> entries;
    if (write.values.isEmpty()) {
        // A command that sets an item to a value of its own is logged as
        // that value; any other one that carries no value under its record.
        if (const auto fixed = ChangeNames::fixedWrite(write.record)) {
            const QString item = QLatin1String(fixed->item);
            const int index = m_store.indexOf(item);
            const QString shadow = index < 0 ? QString() : m_store.text(index, true);
            addValue(entries, entry, item, deviceValue(index, shadow), QLatin1String(fixed->value),
                     write);
        } else {
            entry.item = write.record;
            entries.append(entry);
        }
    }
    for (const DeviceWrite::Value &value : write.values) {
        // What was never read from the device is not known to have been there.
        addValue(entries, entry, value.item, deviceValue(m_store.indexOf(value.item), value.before),
                 value.after, write);
    }
    return entriesStarting(entries, problem);
}

qint64 HistoryRecorder::entriesStarting(const QList<ChangeEntry> &entries, QString *problem)
{
    const qint64 token = m_nextToken++;
    if (!entries.isEmpty()) {
        beforeStore();
        const QList<qint64> ids = storeWaiting() ? m_log.begin(entries) : QList<qint64>();
        if (!ids.isEmpty()) {
            m_pending.insert(token, ids);
        } else {
            m_waitingEntries.append({token, entries, std::nullopt, -1});
            if (problem)
                *problem = problemText();
        }
    }
    changed();
    return token;
}

namespace {
ChangeEntry::Outcome logged(DeviceWriteJournal::Outcome outcome)
{
    switch (outcome) {
    case DeviceWriteJournal::Outcome::Accepted:
        return ChangeEntry::Outcome::Accepted;
    case DeviceWriteJournal::Outcome::Refused:
        return ChangeEntry::Outcome::Refused;
    case DeviceWriteJournal::Outcome::NotSent:
        return ChangeEntry::Outcome::NotSent;
    case DeviceWriteJournal::Outcome::Unknown:
        break;
    }
    return ChangeEntry::Outcome::Unknown;
}
} // namespace

void HistoryRecorder::writeEnded(qint64 token, Outcome outcome, int responseCode)
{
    for (WaitingEntries &waiting : m_waitingEntries) {
        if (waiting.token == token) {
            waiting.outcome = outcome;
            waiting.responseCode = responseCode;
            storeWaiting();
            return;
        }
    }
    const QList<qint64> ids = m_pending.take(token);
    if (ids.isEmpty())
        return;
    if (!m_log.complete(ids, logged(outcome), responseCode)) {
        // The entries are there; their outcome is told once the database takes it.
        qCInfo(lcHistory) << "outcome of a device write not stored yet; tried again later";
        m_pending.insert(token, ids);
        m_lateOutcomes.insert(token, {outcome, responseCode});
    }
    changed();
}

bool HistoryRecorder::storeWaiting()
{
    while (!m_waitingSnapshots.isEmpty()) {
        const qint64 id = m_snapshots.store(m_waitingSnapshots.first());
        if (id == 0)
            return false;
        m_lastSnapshot = id;
        m_waitingSnapshots.removeFirst();
    }
    while (!m_waitingEntries.isEmpty()) {
        const WaitingEntries &waiting = m_waitingEntries.first();
        const QList<qint64> ids = m_log.begin(waiting.entries);
        if (ids.isEmpty())
            return false;
        if (waiting.outcome)
            m_log.complete(ids, logged(*waiting.outcome), waiting.responseCode);
        else
            m_pending.insert(waiting.token, ids);
        m_waitingEntries.removeFirst();
    }
    for (auto it = m_lateOutcomes.begin(); it != m_lateOutcomes.end();) {
        const QList<qint64> ids = m_pending.value(it.key());
        if (!m_log.complete(ids, logged(it->first), it->second))
            return false;
        m_pending.remove(it.key());
        it = m_lateOutcomes.erase(it);
    }
    changed();
    return true;
}

QString HistoryRecorder::problemText() const
{
    return m_problem ? m_problem() : QString();
}
