#include "ReadCommand.h"

#include "CommandLine.h"
#include "CompareItems.h"
#include "ConnectionController.h"
#include "Console.h"
#include "DatasetFile.h"
#include "DeviceInstance.h"
#include "DeviceSession.h"
#include "HistoryService.h"
#include "VexAppletItemManager.h"
#include "generic/GenericDevice.h"
#include "generic/GenericTexts.h"
#include "hart/HartManufacturers.h"
#include "hart/HartMaster.h"
#include "history/HistoryTexts.h"

#include <QFileInfo>
#include <QJsonArray>

namespace {

void addRow(QList<QStringList> &rows, QJsonObject &json, const QString &key, const QString &label,
            const QString &shown, const QJsonValue &value)
{
    rows << QStringList{label, shown};
    json.insert(key, value);
}

} // namespace

QJsonObject ReadCommand::identity(DeviceSession &session, Console &console)
{
    const HartDeviceIdentity &id = session.identity();
    const QString tag = session.readTag();
    QJsonObject json{
        {QStringLiteral("manufacturer"), HartManufacturers::name(id.manufacturerCode())},
        {QStringLiteral("manufacturerCode"), int(id.manufacturerCode())},
        {QStringLiteral("deviceType"), id.deviceTypeText()},
        {QStringLiteral("hartRevision"), int(id.universalRevision)},
        {QStringLiteral("deviceRevision"), int(id.deviceRevision)},
        {QStringLiteral("softwareRevision"), int(id.softwareRevision)},
        {QStringLiteral("uniqueId"), id.key()},
        {QStringLiteral("family"), !session.isForeign()},
    };
    QList<QStringList> rows{
        {tr("Manufacturer"), HartManufacturers::describe(id.manufacturerCode())},
        {tr("Device type"), id.deviceTypeText()},
        {tr("Revisions"), GenericTexts::revisions(id)},
        {tr("Unique id"), id.key()},
    };
    if (!tag.isEmpty()) {
        rows << QStringList{tr("Tag"), tag};
        json.insert(QStringLiteral("tag"), tag);
    }
    if (session.isForeign())
        rows << QStringList{tr("Kind"), tr("another kind of device: universal values only")};
    console.line(Console::table({tr("Identity"), QString()}, rows));
    return json;
}

ExitCode ReadCommand::identify(const CommandLine &line, DeviceSession &session, Console &console)
{
    QString error;
    const ExitCode connected = session.connect(line.address, &error);
    if (connected != ExitCode::Done) {
        console.error(error);
        return connected;
    }
    QJsonObject json = identity(session, console);
    json.insert(QStringLiteral("address"), line.address);
    console.document().insert(QStringLiteral("identity"), json);
    return ExitCode::Done;
}

ExitCode ReadCommand::read(const CommandLine &line, DeviceSession &session, Console &console)
{
    if (!line.outFile.isEmpty() && QFileInfo(line.outFile).isDir()) {
        console.error(tr("--out %1: a folder, not a file").arg(line.outFile));
        return ExitCode::BadInput;
    }
    const ExitCode identified = identify(line, session, console);
    if (identified != ExitCode::Done)
        return identified;
    if (session.isForeign()) {
        if (!line.outFile.isEmpty()) {
            console.error(tr("--out: a dataset file holds a dataset of this family's transmitters; "
                             "this device has universal values only"));
            return ExitCode::BadInput;
        }
        return readUniversal(session, console);
    }
    return readDataset(line, session, console);
}

ExitCode ReadCommand::readDataset(const CommandLine &line, DeviceSession &session, Console &console)
{
    QString error;
    if (!session.readDataset(&error)) {
        console.error(error);
        return ExitCode::LinkFailure;
    }
    QList<QStringList> rows;
    QJsonObject json;
    for (const DatasetComparison::Row &row : session.compare({})) {
        if (!row.deviceKnown)
            continue;
        rows << QStringList{HistoryTexts::itemLabel(row.name), row.deviceShown};
        json.insert(row.name, row.device);
    }
    console.line(Console::table({tr("Value"), tr("Device")}, rows));
    console.document().insert(QStringLiteral("values"), json);
    return line.outFile.isEmpty() ? ExitCode::Done : save(line.outFile, session, console);
}

ExitCode ReadCommand::save(const QString &file, DeviceSession &session, Console &console)
{
    QStringList all;
    for (const CompareItem &item : CompareItems::all())
        all << QLatin1String(item.item);
    session.history().takeIntoDataset(all);
    DeviceInstance &instance = session.instance();
    // The file appears only once it is written whole (DatasetFile replaces it then).
    const DatasetFile::Result saved =
        DatasetFile::save(file, instance.manager()->store(), instance.description());
    if (!saved.ok) {
        console.error(saved.error);
        return ExitCode::BadInput;
    }
    console.message(tr("dataset written to %1").arg(file));
    console.document().insert(QStringLiteral("file"), QFileInfo(file).absoluteFilePath());
    return ExitCode::Done;
}

ExitCode ReadCommand::readUniversal(DeviceSession &session, Console &console)
{
    GenericDevice device(&session.instance().master());
    ConnectionController &connection = session.instance().connection();
    device.setHostStatus([&connection] { return connection.status(); });
    std::optional<GenericDevice::Result> result;
    QObject::connect(&device, &GenericDevice::finished, &device,
                     [&result](const GenericDevice::Result &r) {
                         if (r.action == GenericDevice::Action::Read)
                             result = r;
                     });
    device.start();
    DeviceSession::waitUntil([&result] { return result.has_value(); },
                             DeviceSession::SequenceTimeoutMs);
    bool stopped = false;
    device.stop([&stopped](const auto &) { stopped = true; });
    DeviceSession::waitUntil([&stopped] { return stopped; }, 10000);
    if (!result || !result->accepted()) {
        console.error(result ? GenericTexts::result(*result) : tr("the device did not answer"));
        return ExitCode::LinkFailure;
    }
    const GenericValues &v = device.values();
    QList<QStringList> rows;
    QJsonObject json;
    if (v.tagDescriptorDate) {
        addRow(rows, json, QStringLiteral("tag"), tr("Tag"), v.tagDescriptorDate->tag,
               v.tagDescriptorDate->tag);
        addRow(rows, json, QStringLiteral("descriptor"), tr("Descriptor"),
               v.tagDescriptorDate->descriptor, v.tagDescriptorDate->descriptor);
    }
    if (v.longTag)
        addRow(rows, json, QStringLiteral("longTag"), tr("Long tag"), *v.longTag, *v.longTag);
    if (v.message)
        addRow(rows, json, QStringLiteral("message"), tr("Message"), *v.message, *v.message);
    if (v.dynamic && !v.dynamic->variables.isEmpty()) {
        const auto &pv = v.dynamic->variables.first();
        addRow(rows, json, QStringLiteral("pv"), tr("Primary variable"),
               GenericTexts::unitValue(pv.value, pv.unit), double(pv.value));
        json.insert(QStringLiteral("pvUnit"), GenericTexts::unit(pv.unit));
    }
    if (v.loop) {
        addRow(rows, json, QStringLiteral("current"), tr("Loop current"),
               GenericTexts::value(v.loop->current, QStringLiteral("mA")), double(v.loop->current));
        addRow(rows, json, QStringLiteral("percent"), tr("Percent of range"),
               GenericTexts::value(v.loop->percent, QStringLiteral("%")), double(v.loop->percent));
    }
    if (v.output) {
        addRow(rows, json, QStringLiteral("lrv"), tr("Lower range value"),
               GenericTexts::unitValue(v.output->lowerRange, v.output->rangeUnit),
               double(v.output->lowerRange));
        addRow(rows, json, QStringLiteral("urv"), tr("Upper range value"),
               GenericTexts::unitValue(v.output->upperRange, v.output->rangeUnit),
               double(v.output->upperRange));
        json.insert(QStringLiteral("unit"), GenericTexts::unit(v.output->rangeUnit));
        addRow(rows, json, QStringLiteral("damping"), tr("Damping"),
               GenericTexts::value(v.output->damping, QStringLiteral("s")),
               double(v.output->damping));
        addRow(rows, json, QStringLiteral("transfer"), tr("Transfer function"),
               GenericTexts::transferFunction(v.output->transferFunction),
               int(v.output->transferFunction));
    }
    console.line(Console::table({tr("Value"), tr("Device")}, rows));
    console.document().insert(QStringLiteral("values"), json);
    return ExitCode::Done;
}
