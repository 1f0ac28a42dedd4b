#include "GenericChangeLog.h"

#include "ChangeNames.h"
#include "HistoryRecorder.h"
#include "WorkbenchLog.h"
#include "hart/HartDeviceIdentity.h"

#include <QDateTime>

namespace {

// A setting the device holds already is no change; an action is one each time.
bool isAction(const QString &item)
{
    using namespace ChangeNames::universal;
    for (const char *action : {Zero, FixedCurrent, TrimZero, TrimGain}) {
        if (item == QLatin1String(action))
            return true;
    }
    return false;
}

} // namespace

void GenericChangeLog::setLog(ChangeLog *log, std::function<void()> changed)
{
    m_log = log;
    m_changed = std::move(changed);
}

QList<qint64> GenericChangeLog::begin(const HartDeviceIdentity &device, const QString &tag,
                                      quint8 command, const QList<Value> &values)
{
    if (!m_log)
        return {};
    ChangeEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.user = HistoryRecorder::loginName();
    entry.device = device.key();
    entry.tag = tag;
    entry.command = command;
    QList<ChangeEntry> entries;
    for (const Value &value : values) {
        if (!isAction(value.item) && value.before == value.after &&
            value.unitBefore == value.unitAfter)
            continue;
        entry.item = value.item;
        entry.oldValue = value.before;
        entry.newValue = value.after;
        entry.oldUnit = value.before ? value.unitBefore : QString();
        entry.newUnit = value.unitAfter;
        entries.append(entry);
    }
    if (entries.isEmpty())
        return {};
    const QList<qint64> ids = m_log->begin(entries);
    if (ids.isEmpty())
        qCInfo(lcWorkbench) << "change log: the write of command" << command << "to" << device.key()
                            << "was not stored";
    if (m_changed)
        m_changed();
    return ids;
}

void GenericChangeLog::finish(const QList<qint64> &ids, ChangeEntry::Outcome outcome,
                              int responseCode)
{
    if (!m_log || ids.isEmpty())
        return;
    if (!m_log->complete(ids, outcome, responseCode))
        qCInfo(lcWorkbench) << "change log: the outcome of entries" << ids << "was not stored";
    if (m_changed)
        m_changed();
}

QString GenericChangeLog::number(double value)
{
    return QString::number(value, 'g', 7);
}
