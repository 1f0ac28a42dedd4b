#include "HistoryRecorder.h"

#include "ChangeLog.h"
#include "DatasetComparison.h"
#include "DeviceIdentity.h"
#include "ItemStore.h"
#include "SnapshotStore.h"
#include "VexAppletItemManager.h"

#include <QDateTime>

#include <pwd.h>
#include <unistd.h>

HistoryRecorder::HistoryRecorder(VexAppletItemManager &manager, ChangeLog &log,
                                 SnapshotStore &snapshots)
    : m_store(manager.store()), m_log(log), m_snapshots(snapshots), m_user(loginName()),
      m_connectIndex(manager.store().indexOf(QStringLiteral("&&private&&Connect"))),
      m_self(std::make_shared<HistoryRecorder *>(this))
{
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
        if (m_store.value(index, false).number() == 0)
            m_read.clear();
        if (m_connection)
            m_connection();
        return;
    }
    if (!m_store.definition(index).dataset)
        return;
    if (shadow)
        m_read.insert(index);
    if (m_value)
        m_value(index);
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

void HistoryRecorder::writesStarting(const QString &sequence)
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
    m_lastSnapshot = m_snapshots.store(snapshot);
    changed();
}

qint64 HistoryRecorder::writeStarting(const DeviceWrite &write)
{
    ChangeEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.user = m_user;
    entry.device = DeviceIdentity::fromDevice(m_store).key();
    entry.tag = DeviceIdentity::tagFromDevice(m_store);
    entry.command = write.command;
    entry.sequence = write.sequence;
    QList<ChangeEntry> entries;
    // A command that carries no value is logged under its record's name.
    if (write.values.isEmpty()) {
        entry.item = write.record;
        entries.append(entry);
    }
    for (const DeviceWrite::Value &value : write.values) {
        // What was never read from the device is not known to have been there.
        const int index = m_store.indexOf(value.item);
        const bool known = m_read.contains(index);
        // A value the request carries as the device has it changes nothing.
        if (known && DatasetComparison::equal(m_store.definition(index), value.before, value.after))
            continue;
        entry.item = value.item;
        entry.oldValue = known ? value.before : QString();
        entry.newValue = value.after;
        entries.append(entry);
    }
    const qint64 token = m_nextToken++;
    if (!entries.isEmpty()) {
        beforeStore();
        m_pending.insert(token, m_log.begin(entries));
    }
    changed();
    return token;
}

void HistoryRecorder::writeEnded(qint64 token, Outcome outcome, int responseCode)
{
    const QList<qint64> ids = m_pending.take(token);
    if (ids.isEmpty())
        return;
    const ChangeEntry::Outcome logged =
        outcome == Outcome::Accepted  ? ChangeEntry::Outcome::Accepted
        : outcome == Outcome::Refused ? ChangeEntry::Outcome::Refused
                                      : ChangeEntry::Outcome::Unknown;
    m_log.complete(ids, logged, responseCode);
    changed();
}
