#include "CommissionCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DatasetWriter.h"
#include "DeviceInstance.h"
#include "DeviceSession.h"
#include "HistoryService.h"
#include "Interruption.h"
#include "ReadCommand.h"
#include "VexAppletItemManager.h"
#include "WriteCommand.h"
#include "hart/HartDeviceScan.h"
#include "hart/ProfiledHartLink.h"

#include <QJsonArray>

ExitCode CommissionCommand::run(const CommandLine &line, DeviceSession &session, Console &console)
{
    if (line.arguments.size() != 1) {
        console.error(tr("commission takes one sheet (CSV)"));
        return ExitCode::BadInput;
    }
    QString error;
    const auto sheet = CommissionSheet::load(line.arguments.first(),
                                             session.instance().manager()->store(), &error);
    if (!sheet) {
        console.error(error);
        return ExitCode::BadInput;
    }
    const DatasetWriter::Consent consent = WriteCommand::consent(line);
    if (consent == DatasetWriter::Consent::Ask && !console.interactive()) {
        console.error(tr("nothing written: confirm with --yes when no one is at a terminal"));
        return ExitCode::BadInput;
    }

    QList<QStringList> summary;
    QJsonArray rows;
    int failed = 0;
    int linkFailures = 0;
    bool stopped = false;
    const int total = int(sheet->rows().size());
    for (int i = 0; i < total; ++i) {
        const CommissionSheet::Row &row = sheet->rows().at(i);
        const QString who = row.address >= 0 ? QString::number(row.address) : row.currentTag;
        QString state;
        QString message;
        QJsonObject json{{QStringLiteral("line"), row.line}};
        if (stopped || Interruption::instance().requested()) {
            state = tr("not done");
            json.insert(QStringLiteral("result"), QStringLiteral("skipped"));
        } else {
            console.progress(i, total, who);
            console.line(tr("--- line %1: %2").arg(row.line).arg(who));
            const Result result = commission(row, line, session, console);
            json = result.json;
            json.insert(QStringLiteral("line"), row.line);
            json.insert(QStringLiteral("address"), result.address);
            message = result.message;
            const bool ok = result.code == ExitCode::Done;
            state = ok ? (line.dryRun ? tr("checked") : tr("done")) : tr("failed");
            json.insert(QStringLiteral("result"),
                        ok ? QStringLiteral("ok") : QStringLiteral("failed"));
            if (!ok) {
                ++failed;
                linkFailures += result.code == ExitCode::LinkFailure;
                console.error(tr("line %1: %2").arg(row.line).arg(message));
                stopped = !line.continueOnError;
            }
        }
        json.insert(QStringLiteral("message"), message);
        json.insert(QStringLiteral("values"), QJsonArray::fromStringList(row.given));
        rows.append(json);
        summary << QStringList{QString::number(row.line), who, state, message};
    }
    console.endProgress();
    console.line(QString());
    console.line(Console::table({tr("Line"), tr("Device"), tr("Result"), tr("Reason")}, summary));
    console.line(tr("%1 of %2 devices failed.").arg(failed).arg(total));
    console.document().insert(QStringLiteral("rows"), rows);
    console.document().insert(QStringLiteral("failed"), failed);
    if (Interruption::instance().requested())
        return ExitCode::Interrupted;
    if (failed == 0)
        return ExitCode::Done;
    // Not one device reached: the loop, not the devices, is what failed.
    return linkFailures == total ? ExitCode::LinkFailure : ExitCode::DeviceRefused;
}

CommissionCommand::Result CommissionCommand::commission(const CommissionSheet::Row &row,
                                                        const CommandLine &line,
                                                        DeviceSession &session, Console &console)
{
    Result result;
    result.address = row.address;
    if (row.address < 0) {
        result.address = findByTag(row.currentTag, session, &result.message);
        if (result.address < 0) {
            result.code = ExitCode::DeviceRefused;
            return result;
        }
    }
    result.code = session.connect(result.address, &result.message);
    if (result.code != ExitCode::Done)
        return result;
    const QJsonObject identity = ReadCommand::identity(session, console);
    result.json.insert(QStringLiteral("identity"), identity);
    if (session.isForeign()) {
        result.code = ExitCode::DeviceRefused;
        result.message = session.connectionMessage();
    } else if (const QString wrong = checkExpected(row, result.address, identity);
               !wrong.isEmpty()) {
        result.code = ExitCode::DeviceRefused;
        result.message = wrong;
    } else {
        DatasetWriter writer(session, console);
        const DatasetWriter::Outcome outcome = writer.write(row.target, WriteCommand::consent(line),
                                                            QStringLiteral("hartctl commission"));
        result.code = outcome.code;
        result.message = outcome.message;
        result.json.insert(QStringLiteral("changes"), outcome.changes);
        result.json.insert(QStringLiteral("written"), outcome.written);
    }
    session.disconnect();
    return result;
}

QString CommissionCommand::checkExpected(const CommissionSheet::Row &row, int address,
                                         const QJsonObject &identity)
{
    // Read at this connection, not from a scan: what the device says now.
    const QString tag = identity.value(QStringLiteral("tag")).toString();
    if (!row.currentTag.isEmpty() && tag.compare(row.currentTag, Qt::CaseInsensitive) != 0)
        return tr("the device at address %1 carries the tag %2, not %3")
            .arg(address)
            .arg(tag, row.currentTag);
    const QString id = identity.value(QStringLiteral("uniqueId")).toString();
    if (!row.uniqueId.isEmpty() && id.compare(row.uniqueId, Qt::CaseInsensitive) != 0)
        return tr("the device is %1, not %2").arg(id, row.uniqueId);
    return {};
}

int CommissionCommand::findByTag(const QString &tag, DeviceSession &session, QString *error)
{
    session.disconnect();
    HartDeviceScan scan(&session.link());
    bool finished = false;
    QObject::connect(&scan, &HartDeviceScan::finished, &scan,
                     [&finished](bool) { finished = true; });
    if (!scan.start(tag)) {
        *error = scan.errorString();
        return -1;
    }
    DeviceSession::waitUntil([&finished] { return finished; }, 5 * 60 * 1000);
    for (const HartDeviceScan::Device &device : scan.devices()) {
        if (device.pollingAddress >= 0)
            return device.pollingAddress;
    }
    *error = tr("no device answers to the tag %1").arg(tag);
    return -1;
}
