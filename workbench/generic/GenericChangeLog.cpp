#include "GenericChangeLog.h"

#include "ChangeNames.h"
#include "HistoryRecorder.h"
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

qint64 GenericChangeLog::begin(const HartDeviceIdentity &device, const QString &tag, quint8 command,
                               const QList<Value> &values, QString *problem)
{
    if (!m_journal.start)
        return 0;
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
    return entries.isEmpty() ? 0 : m_journal.start(entries, problem);
}

void GenericChangeLog::finish(qint64 token, DeviceWriteJournal::Outcome outcome, int responseCode)
{
    if (token != 0 && m_journal.end)
        m_journal.end(token, outcome, responseCode);
}

QString GenericChangeLog::number(double value)
{
    return QString::number(value, 'g', 7);
}
