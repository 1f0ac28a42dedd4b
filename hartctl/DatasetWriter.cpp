#include "DatasetWriter.h"

#include "Console.h"
#include "DeviceInstance.h"
#include "DeviceSession.h"
#include "HistoryService.h"
#include "Interruption.h"
#include "RangeCheck.h"
#include "RangeUnits.h"
#include "VexAppletItemManager.h"
#include "history/HistoryTexts.h"

#include <QJsonObject>
#include <QSet>

DatasetWriter::DatasetWriter(DeviceSession &session, Console &console)
    : m_session(session), m_console(console)
{
}

QList<DatasetComparison::Row>
DatasetWriter::differences(const DatasetComparison::Values &target) const
{
    const QList<DatasetComparison::Row> all = m_session.compare(target);
    // A value given with a new unit is meant in that unit: 400 with bar is
    // 400 bar, though the device's 400 mbar has the same number.
    QSet<QString> unitsChanging;
    for (const DatasetComparison::Row &row : all) {
        if (row.differs && row.otherKnown)
            unitsChanging.insert(row.name.toLower());
    }
    QList<DatasetComparison::Row> rows;
    for (DatasetComparison::Row row : all) {
        const QString unit =
            row.item ? QString::fromLatin1(row.item->unitItem).toLower() : QString();
        if (row.otherKnown && !unit.isEmpty() && unitsChanging.contains(unit))
            row.differs = true;
        if (row.differs && row.otherKnown)
            rows << row;
    }
    return rows;
}

void DatasetWriter::show(const QList<DatasetComparison::Row> &rows, Outcome &outcome) const
{
    QList<QStringList> lines;
    for (const DatasetComparison::Row &row : rows) {
        const QString label = HistoryTexts::itemLabel(row.name);
        const QString device = row.deviceKnown ? row.deviceShown : tr("not read");
        lines << QStringList{label, device, row.otherShown};
        outcome.changes.append(QJsonObject{{QStringLiteral("item"), row.name},
                                           {QStringLiteral("label"), label},
                                           {QStringLiteral("device"), row.device},
                                           {QStringLiteral("value"), row.other}});
    }
    if (rows.isEmpty()) {
        m_console.line(tr("The device holds these values already."));
        return;
    }
    m_console.line(Console::table({tr("Value"), tr("Device"), tr("New")}, lines));
}

DatasetWriter::Outcome DatasetWriter::write(DatasetComparison::Values target, Consent consent,
                                            const QString &reason)
{
    Outcome outcome;
    QString error;
    if (!m_session.readDataset(&error)) {
        outcome.code = ExitCode::LinkFailure;
        outcome.message = tr("reading the device: %1").arg(error);
        return outcome;
    }
    target = RangeUnits::keepPressures(target, m_session.history().deviceValues());
    const QList<DatasetComparison::Row> rows = differences(target);
    show(rows, outcome);
    if (target.contains(QStringLiteral("scaleInLoLim")) ||
        target.contains(QStringLiteral("scaleInHiLim")))
        m_session.readSensorLimits();
    const QString range = RangeCheck::refusal(m_session.instance().manager()->store(),
                                              m_session.history().deviceValues(), target);
    if (!range.isEmpty()) {
        outcome.code = ExitCode::BadInput;
        outcome.message = tr("nothing written: %1").arg(range);
        return outcome;
    }
    if (rows.isEmpty() || consent == Consent::Preview)
        return outcome;
    if (consent == Consent::Ask) {
        if (!m_console.interactive()) {
            outcome.code = ExitCode::BadInput;
            outcome.message =
                tr("nothing written: confirm with --yes when no one is at a terminal");
            return outcome;
        }
        if (!m_console.confirm(tr("Write %n value(s) to the device?", nullptr, int(rows.size())))) {
            outcome.code = ExitCode::BadInput;
            outcome.message = tr("nothing written");
            return outcome;
        }
    }
    if (Interruption::instance().requested()) {
        outcome.code = ExitCode::Interrupted;
        outcome.message = tr("interrupted: nothing written");
        return outcome;
    }
    // The host writes a new unit before the range values given in it.
    QHash<QString, QString> values;
    for (const DatasetComparison::Row &row : rows)
        values.insert(row.name, row.other);
    outcome.written = true;
    if (!values.isEmpty() && !m_session.write(values, reason, &error)) {
        outcome.code = ExitCode::DeviceRefused;
        outcome.message = error;
        return outcome;
    }
    // What the device keeps, not what it was sent: it may round or refuse quietly.
    if (!m_session.readDataset(&error)) {
        outcome.code = ExitCode::LinkFailure;
        outcome.message = tr("reading back: %1").arg(error);
        return outcome;
    }
    const QStringList differing = notKept(target);
    if (!differing.isEmpty()) {
        outcome.code = ExitCode::DeviceRefused;
        outcome.message = tr("the device holds other values after the write: %1")
                              .arg(differing.join(QStringLiteral(", ")));
    }
    return outcome;
}

QStringList DatasetWriter::notKept(const DatasetComparison::Values &target) const
{
    QStringList labels;
    for (const DatasetComparison::Row &row : differences(target))
        labels << HistoryTexts::itemLabel(row.name);
    return labels;
}
