#include "ScanCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DeviceSession.h"
#include "Interruption.h"
#include "hart/HartDeviceScan.h"
#include "hart/HartManufacturers.h"
#include "hart/ProfiledHartLink.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QString revisions(const HartDeviceIdentity &id)
{
    return QStringLiteral("%1/%2/%3")
        .arg(id.universalRevision)
        .arg(id.deviceRevision)
        .arg(id.softwareRevision);
}

} // namespace

ExitCode ScanCommand::run(const CommandLine &line, DeviceSession &session, Console &console)
{
    if (!line.tag.isEmpty() && !HartDeviceScan::canSendTag(line.tag)) {
        console.error(tr("--tag %1: a tag has at most eight characters from blank to underscore")
                          .arg(line.tag));
        return ExitCode::BadInput;
    }
    HartDeviceScan scan(&session.link());
    QObject::connect(&scan, &HartDeviceScan::progress, &scan, [&console](int done, int total) {
        console.progress(done, total, tr("scanning"));
    });
    QObject::connect(&Interruption::instance(), &Interruption::interrupted, &scan,
                     [&scan] { scan.cancel(); });
    bool finished = false;
    bool completed = false;
    QObject::connect(&scan, &HartDeviceScan::finished, &scan, [&](bool all) {
        finished = true;
        completed = all;
    });
    if (!scan.start(line.tag)) {
        console.error(scan.errorString());
        return ExitCode::LinkFailure;
    }
    DeviceSession::waitUntil([&finished] { return finished; }, 10 * 60 * 1000);
    console.endProgress();
    if (!finished)
        scan.cancel();

    QJsonArray devices;
    QList<QStringList> rows;
    for (const HartDeviceScan::Device &device : scan.devices()) {
        const HartDeviceIdentity &id = device.identity;
        const QString maker = HartManufacturers::describe(id.manufacturerCode());
        const QString address = device.pollingAddress < 0 ? QStringLiteral("-")
                                                          : QString::number(device.pollingAddress);
        rows << QStringList{address,       maker,      id.deviceTypeText(),
                            revisions(id), device.tag, device.uniqueId()};
        devices.append(QJsonObject{
            {QStringLiteral("address"), device.pollingAddress},
            {QStringLiteral("manufacturer"), HartManufacturers::name(id.manufacturerCode())},
            {QStringLiteral("manufacturerCode"), int(id.manufacturerCode())},
            {QStringLiteral("deviceType"), id.deviceTypeText()},
            {QStringLiteral("hartRevision"), int(id.universalRevision)},
            {QStringLiteral("deviceRevision"), int(id.deviceRevision)},
            {QStringLiteral("softwareRevision"), int(id.softwareRevision)},
            {QStringLiteral("tag"), device.tag},
            {QStringLiteral("uniqueId"), device.uniqueId()},
        });
    }
    if (rows.isEmpty())
        console.line(line.tag.isEmpty() ? tr("No device answers on this loop.")
                                        : tr("No device answers to the tag %1.").arg(line.tag));
    else
        console.line(Console::table({tr("Address"), tr("Manufacturer"), tr("Type"), tr("Revisions"),
                                     tr("Tag"), tr("Unique id")},
                                    rows));
    console.document().insert(QStringLiteral("devices"), devices);
    console.document().insert(QStringLiteral("complete"), completed);
    if (!finished || !completed) {
        console.error(scan.errorString().isEmpty() ? tr("the scan did not end")
                                                   : scan.errorString());
        return ExitCode::LinkFailure;
    }
    return ExitCode::Done;
}
